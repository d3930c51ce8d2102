#include "common/resource_text.h"

#include <atomic>
#include <cwchar>

#include "common/string_block.h"

namespace {

constexpr WORD kEnglishUnitedStates = 0x0409;
constexpr WORD kPrimaryLanguageMask = 0x3FF;

// The language string blocks are looked up in; shared by all dialogs on all threads.
// Each construction resets it and a fallback on any thread rewrites it.
std::atomic<WORD> StringLanguage{kEnglishUnitedStates};

bool isRightToLeft(LANGID language)
{
    const WORD primary = language & kPrimaryLanguageMask;
    return primary == LANG_ARABIC || primary == LANG_HEBREW;
}

// The fallback looks only at the module's first string block: the first of its languages
// that shares the wanted primary language wins; failing that, English (United States).
BOOL CALLBACK takeMatchingLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR wanted)
{
    if (((language ^ static_cast<WORD>(wanted)) & kPrimaryLanguageMask) == 0) {
        StringLanguage = language;
        return FALSE;
    }
    StringLanguage = kEnglishUnitedStates;
    return TRUE;
}

BOOL CALLBACK examineFirstBlock(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR wanted)
{
    EnumResourceLanguagesW(module, type, name, takeMatchingLanguage, wanted);
    return FALSE;
}

BOOL CALLBACK findStringType(HMODULE module, LPWSTR type, LONG_PTR wanted)
{
    const bool isStringType = IS_INTRESOURCE(type)
        ? reinterpret_cast<ULONG_PTR>(type) == reinterpret_cast<ULONG_PTR>(RT_STRING)
        : _wcsicmp(type, L"RT_STRING") == 0;
    if (!isStringType)
        return TRUE;
    EnumResourceNamesW(module, type, examineFirstBlock, wanted);
    return FALSE;
}

void fallBackLanguage(HMODULE module)
{
    EnumResourceTypesW(module, findStringType, StringLanguage.load());
}

} // namespace

ResourceText::ResourceText()
{
    StringLanguage = GetUserDefaultUILanguage();
    rightToLeft_ = isRightToLeft(GetUserDefaultUILanguage()) ? 1 : 0;
}

ResourceText::~ResourceText()
{
    if (module_) {
        FreeLibrary(module_);
        module_ = nullptr;
    }
}

void ResourceText::openResourceModule(const WCHAR* path)
{
    // Mapped as data, never as a program image of this process: a 32-bit module serves
    // as well as a 64-bit one, and its entry point and imports are never touched.
    if (!module_)
        module_ = LoadLibraryExW(path, nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

int ResourceText::loadString(UINT id, WCHAR* buffer)
{
    // Without a module of the caller's, a null handle would search the printing
    // application's own executable and show whatever strings it carries.
    if (!module_)
        return 0;

    const WORD id16 = static_cast<WORD>(id);
    const LPCWSTR blockName = MAKEINTRESOURCEW(stringBlockName(id16));
    HRSRC found = FindResourceExW(module_, RT_STRING, blockName, StringLanguage.load());
    if (!found) {
        if (GetLastError() != ERROR_RESOURCE_LANG_NOT_FOUND)
            return 0;
        fallBackLanguage(module_);
        found = FindResourceExW(module_, RT_STRING, blockName, StringLanguage.load());
        if (!found)
            return 0;
    }
    HGLOBAL loaded = LoadResource(module_, found);
    const void* block = loaded ? LockResource(loaded) : nullptr;
    if (!block)
        return 0;

    const size_t blockUnits = SizeofResource(module_, found) / sizeof(WCHAR);
    return findStringInBlock(static_cast<const WCHAR*>(block), blockUnits, stringBlockIndex(id16),
                             buffer, kTextUnits) != 0;
}

BOOL ResourceText::setItemText(UINT id, HWND window, const WCHAR* defaultText)
{
    WCHAR buffer[kTextUnits];
    if (!loadString(id, buffer))
        copyTextCut(defaultText, buffer, kTextUnits);
    return SetWindowTextW(window, buffer);
}
