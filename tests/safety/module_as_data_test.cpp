// String modules that a load as a program image cannot read: a 32-bit module in this
// 64-bit process, and one whose entry point would fault and whose import is missing.
// The library maps them as data, so the warning shows their strings.
#include <gtest/gtest.h>

#include <string>

#include "warning_support.h"

namespace {

struct ShownTexts {
    INT32 result = 0;
    std::wstring caption, ok, cancel;
};

ShownTexts warningWithModule(const wchar_t* module)
{
    WarningRequest request = warningRequest();
    wcsncpy(request.resourceModulePath, besideTest(module).c_str(), 255);
    ShownTexts shown;
    shown.result = showWarning(request, [&](HWND dialog) {
        shown.caption = windowText(dialog);
        shown.ok = itemText(dialog, IDOK);
        shown.cancel = itemText(dialog, IDCANCEL);
        pressButton(dialog, IDOK);
    });
    return shown;
}

} // namespace

TEST(ModuleAsData, A32BitModuleGivesItsStrings)
{
    // What a load as a program image makes of it here.
    const std::wstring path = besideTest(L"strings_pe32.dll");
    EXPECT_EQ(nullptr, LoadLibraryExW(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES));
    EXPECT_EQ(static_cast<DWORD>(ERROR_BAD_EXE_FORMAT), GetLastError());

    const ShownTexts shown = warningWithModule(L"strings_pe32.dll");
    EXPECT_EQ(1, shown.result);
    EXPECT_EQ(L"Paper jam, read as data", shown.caption);
    EXPECT_EQ(L"Retry as data", shown.ok);
    EXPECT_EQ(L"Stop as data", shown.cancel);
}

TEST(ModuleAsData, A32BitModuleServesTheLanguageFallback)
{
    UserLanguage german(0x0407);  // the module has English (United States) only
    const ShownTexts shown = warningWithModule(L"strings_pe32.dll");
    EXPECT_EQ(L"Paper jam, read as data", shown.caption);
    EXPECT_EQ(L"Retry as data", shown.ok);
}

TEST(ModuleAsData, AModuleWhoseEntryPointWouldFaultGivesItsStrings)
{
    const ShownTexts shown = warningWithModule(L"faulting_entry.dll");
    EXPECT_EQ(1, shown.result) << "the process is still here";
    EXPECT_EQ(L"Paper jam, read as data", shown.caption);
    EXPECT_EQ(L"Retry as data", shown.ok);
}
