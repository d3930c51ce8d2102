#include "module_languages.h"

#include <algorithm>
#include <cstdio>

namespace {

BOOL CALLBACK addLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found)
{
    auto& languages = *reinterpret_cast<std::vector<LANGID>*>(found);
    if (std::find(languages.begin(), languages.end(), language) == languages.end())
        languages.push_back(language);
    return TRUE;
}

BOOL CALLBACK addBlockLanguages(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR found)
{
    EnumResourceLanguagesW(module, type, name, addLanguage, found);
    return TRUE;
}

} // namespace

bool moduleLanguages(const std::wstring& path, std::vector<LANGID>& languages)
{
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return false;
    EnumResourceNamesW(module, RT_STRING, addBlockLanguages, reinterpret_cast<LONG_PTR>(&languages));
    FreeLibrary(module);
    return true;
}

std::wstring languageTag(LANGID language)
{
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (LCIDToLocaleName(MAKELCID(language, SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) > 1)
        return name;
    wchar_t number[8];
    swprintf(number, 8, L"0x%04x", language);
    return number;
}
