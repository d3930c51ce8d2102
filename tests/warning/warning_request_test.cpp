#include <gtest/gtest.h>

#include <cstring>

#include "warning/warning_dialog.h"
#include "warning_support.h"

namespace {

int gAllocations = 0;
int gReleases = 0;
decltype(&LocalAlloc) gRealLocalAlloc = nullptr;
decltype(&LocalFree) gRealLocalFree = nullptr;

HLOCAL WINAPI countingLocalAlloc(UINT flags, SIZE_T bytes)
{
    ++gAllocations;
    return gRealLocalAlloc(flags, bytes);
}

HLOCAL WINAPI countingLocalFree(HLOCAL block)
{
    ++gReleases;
    return gRealLocalFree(block);
}

// Counts the library's LocalAlloc and LocalFree calls while it lives.
class CopyCounter {
public:
    CopyCounter()
    {
        gAllocations = gReleases = 0;
        gRealLocalAlloc = alloc_.originalAs<decltype(&LocalAlloc)>();
        gRealLocalFree = free_.originalAs<decltype(&LocalFree)>();
        EXPECT_TRUE(alloc_.applied() && free_.applied());
    }

private:
    ImportPatch alloc_{libraryModule(), "LocalAlloc", reinterpret_cast<void*>(countingLocalAlloc)};
    ImportPatch free_{libraryModule(), "LocalFree", reinterpret_cast<void*>(countingLocalFree)};
};

// Fails the allocation of a warning instance only: the C++ runtime's own bookkeeping
// (raising and catching bad_alloc inside the nothrow new) still gets its memory.
decltype(&malloc) gRealMalloc = nullptr;
void* __cdecl mallocWithoutInstances(size_t bytes)
{
    return bytes == sizeof(WarningInstance) ? nullptr : gRealMalloc(bytes);
}

decltype(&DialogBoxParamW) gRealDialogBox = nullptr;
INT_PTR WINAPI dialogBoxWithoutTemplate(HINSTANCE instance, LPCWSTR, HWND owner, DLGPROC proc, LPARAM param)
{
    return gRealDialogBox(instance, MAKEINTRESOURCEW(9999), owner, proc, param);
}

} // namespace

TEST(WarningRequestHandling, CopyAndModuleAreReleasedOnEveryPath)
{
    {
        CopyCounter counter;
        WarningRequest notShown = warningRequest();
        notShown.showDialog = 0;
        EXPECT_EQ(0, showNoWarning(notShown));
        EXPECT_EQ(1, gAllocations);
        EXPECT_EQ(1, gReleases) << "copy released when nothing is shown";
    }
    {
        CopyCounter counter;
        EXPECT_EQ(1, showWarning(warningRequest(), [](HWND dialog) {
            EXPECT_TRUE(isMapped(L"warning_strings.dll")) << "held while on screen";
            pressButton(dialog, IDOK);
        }));
        EXPECT_EQ(1, gAllocations);
        EXPECT_EQ(1, gReleases) << "copy released after the dialog";
        EXPECT_FALSE(isMapped(L"warning_strings.dll")) << "module freed after the dialog";
    }
}

TEST(WarningRequestHandling, NoInstanceMemoryShowsNothing)
{
    CopyCounter counter;
    ImportPatch noMemory(libraryModule(), "malloc", reinterpret_cast<void*>(mallocWithoutInstances));
    ASSERT_TRUE(noMemory.applied());
    gRealMalloc = noMemory.originalAs<decltype(&malloc)>();
    EXPECT_EQ(0, showNoWarning(warningRequest()));
    EXPECT_EQ(1, gAllocations);
    EXPECT_EQ(1, gReleases) << "copy released when the instance cannot be made";
}

TEST(WarningRequestHandling, DialogThatCannotBeCreatedGivesMinus1)
{
    CopyCounter counter;
    ImportPatch dialogBox(libraryModule(), "DialogBoxParamW", reinterpret_cast<void*>(dialogBoxWithoutTemplate));
    ASSERT_TRUE(dialogBox.applied());
    gRealDialogBox = dialogBox.originalAs<decltype(&DialogBoxParamW)>();
    const WarningRequest request = warningRequest();
    EXPECT_EQ(-1, IShowWarningDialog(&request));
    EXPECT_EQ(1, gReleases) << "copy released after the failure";
}

TEST(WarningRequestHandling, CallersRecordIsLeftByteForByte)
{
    WarningRequest request;
    std::memset(&request, 0x5A, sizeof request);  // no NUL in any text field, every field set
    request.showDialog = 1;
    WarningRequest before;
    std::memcpy(&before, &request, sizeof request);
    EXPECT_EQ(2, showWarning(request, [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }));
    EXPECT_EQ(0, std::memcmp(&before, &request, sizeof request)) << "the caller's record was written";
}

// A caller may fill a text field to its end: the copy's field ends one unit short, so
// nothing is read from beyond it.
TEST(WarningRequestHandling, UnterminatedFieldsAreCutInsideTheCopy)
{
    WarningRequest request = warningRequest();
    for (WCHAR& unit : request.messageText)
        unit = L'm';
    const INT32 result = showWarning(request, [](HWND dialog) {
        const std::wstring message = itemText(dialog, IDC_WARNING_MESSAGE);
        EXPECT_EQ(1023u, message.size()) << "the last unit gives way to the NUL";
        EXPECT_EQ(std::wstring(1023, L'm'), message);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(2, result);

    // A 255-unit path to the module plus one more unit in place of the NUL: cut at 255,
    // the module loads.
    const std::wstring folder = besideTest(L"");
    const std::wstring parent = folder.substr(0, folder.size() - 1);
    const std::wstring lastFolder = parent.substr(parent.find_last_of(L"\\/") + 1) + L"\\";
    std::wstring path = folder;
    const size_t name = std::wstring(L"warning_strings.dll").size();
    if ((255 - path.size() - name) % 2 != 0)
        path += L"..\\" + lastFolder;  // odd length: one step out and back in
    while (path.size() + name < 255)
        path += L".\\";
    path += L"warning_strings.dll";
    ASSERT_EQ(255u, path.size()) << "folder name length " << lastFolder.size();
    path += L'x';
    WarningRequest longPath = warningRequest();
    std::memcpy(longPath.resourceModulePath, path.data(), sizeof longPath.resourceModulePath);
    showWarning(longPath, [](HWND dialog) {
        EXPECT_EQ(L"Paper Jam", windowText(dialog)) << "module loaded from the first 255 units";
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
}
