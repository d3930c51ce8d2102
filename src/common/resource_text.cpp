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

// Yiddish has a primary language but no name for it in the headers.
constexpr WORD kLanguageYiddish = 0x3D;

constexpr WORD kRightToLeftLanguages[] = {
    LANG_ARABIC, LANG_HEBREW, LANG_PERSIAN, LANG_URDU, LANG_PASHTO, LANG_UIGHUR,
    LANG_SYRIAC, LANG_DIVEHI, LANG_CENTRAL_KURDISH, LANG_DARI, kLanguageYiddish,
};

// Reading layout 1 of the locale data: right to left (0 is left to right, 2 and 3 vertical).
constexpr DWORD kReadingLayoutRightToLeft = 1;

// The locale data's word on `language`: 1 right to left, 0 not, -1 unknown to the system.
int localeReadsRightToLeft(LANGID language)
{
    // A neutral primary language names no language: LCID 0x0400 and 0x0800 would
    // stand for the user's or the system's locale, not for the interface language.
    if (PRIMARYLANGID(language) == LANG_NEUTRAL)
        return -1;
    WCHAR name[LOCALE_NAME_MAX_LENGTH] = {};
    if (!LCIDToLocaleName(MAKELCID(language, SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0))
        return -1;
    DWORD layout = 0;
    if (!GetLocaleInfoEx(name, LOCALE_IREADINGLAYOUT | LOCALE_RETURN_NUMBER,
                         reinterpret_cast<LPWSTR>(&layout), sizeof layout / sizeof(WCHAR)))
        return -1;
    return layout == kReadingLayoutRightToLeft ? 1 : 0;
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

bool listedRightToLeft(LANGID language)
{
    const WORD primary = PRIMARYLANGID(language);
    // Sindhi and Punjabi read right to left only in their Arabic script (Pakistan).
    if (primary == LANG_SINDHI)
        return SUBLANGID(language) == SUBLANG_SINDHI_PAKISTAN;
    if (primary == LANG_PUNJABI)
        return SUBLANGID(language) == SUBLANG_PUNJABI_PAKISTAN;
    for (const WORD listed : kRightToLeftLanguages) {
        if (primary == listed)
            return true;
    }
    return false;
}

bool interfaceReadsRightToLeft(LANGID language)
{
    const int fromLocale = localeReadsRightToLeft(language);
    return fromLocale < 0 ? listedRightToLeft(language) : fromLocale == 1;
}

ResourceText::ResourceText()
{
    StringLanguage = GetUserDefaultUILanguage();
    rightToLeft_ = interfaceReadsRightToLeft(GetUserDefaultUILanguage()) ? 1 : 0;
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
