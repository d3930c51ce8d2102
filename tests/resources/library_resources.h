// Reading the library's own resources back from the built DLL.
#ifndef TESTS_RESOURCES_LIBRARY_RESOURCES_H
#define TESTS_RESOURCES_LIBRARY_RESOURCES_H

#include <windows.h>

#include <vector>

#include "dialog_driver.h"

constexpr WORD kUsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// These test programs call no export, so nothing loads the library for them: each test
// loads it here and frees it again when it ends.
class LoadedLibrary {
public:
    LoadedLibrary() : module_(LoadLibraryW(besideTest(L"printdialogs.dll").c_str())) {}
    ~LoadedLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    HMODULE module() const { return module_; }

private:
    HMODULE module_;
};

struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

// The bytes of one resource under US English; empty when there is none. Loaded resource
// data belongs to the module image and lives as long as it, so there is nothing to free.
inline ResourceBytes findResourceBytes(HMODULE module, LPCWSTR type, WORD id)
{
    ResourceBytes bytes;
    HRSRC info = FindResourceExW(module, type, MAKEINTRESOURCEW(id), kUsEnglish);
    if (!info)
        return bytes;
    HGLOBAL loaded = LoadResource(module, info);
    if (!loaded)
        return bytes;
    bytes.data = static_cast<const BYTE*>(LockResource(loaded));
    bytes.size = bytes.data ? SizeofResource(module, info) : 0;
    return bytes;
}

namespace resource_enumeration {

// A resource named by a string rather than an integer is collected as 0, which no
// integer id can be, so that it shows up as a difference.
inline WORD idOf(LPCWSTR name)
{
    return IS_INTRESOURCE(name) ? LOWORD(reinterpret_cast<ULONG_PTR>(name)) : 0;
}

inline BOOL CALLBACK collectType(HMODULE, LPWSTR type, LONG_PTR ids)
{
    reinterpret_cast<std::vector<WORD>*>(ids)->push_back(idOf(type));
    return TRUE;
}

inline BOOL CALLBACK collectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids)
{
    reinterpret_cast<std::vector<WORD>*>(ids)->push_back(idOf(name));
    return TRUE;
}

inline BOOL CALLBACK collectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages)
{
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

} // namespace resource_enumeration

// Resource type ids, names and languages in the order the module's directory holds them.
inline std::vector<WORD> resourceTypes(HMODULE module)
{
    std::vector<WORD> types;
    EnumResourceTypesW(module, resource_enumeration::collectType, reinterpret_cast<LONG_PTR>(&types));
    return types;
}

inline std::vector<WORD> resourceIds(HMODULE module, LPCWSTR type)
{
    std::vector<WORD> ids;
    EnumResourceNamesW(module, type, resource_enumeration::collectName, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

inline std::vector<WORD> resourceLanguages(HMODULE module, LPCWSTR type, WORD id)
{
    std::vector<WORD> languages;
    EnumResourceLanguagesW(module, type, MAKEINTRESOURCEW(id), resource_enumeration::collectLanguage,
        reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

#endif
