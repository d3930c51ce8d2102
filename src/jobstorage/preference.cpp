#include "jobstorage/preference.h"

#include <cwchar>

#include "common/string_block.h"

namespace {

const wchar_t kPreferenceBasePath[] = L"Software\\Norvale\\";

} // namespace

void buildPreferenceKeyPath(const wchar_t* keyName, wchar_t (&path)[kKeyPathUnits])
{
    copyTextCut(kPreferenceBasePath, path, kKeyPathUnits);
    if (!keyName)
        return;
    const size_t baseLength = std::wcslen(path);
    const size_t nameLength = std::wcslen(keyName);
    if ((nameLength + 1) + (baseLength + 1) > kKeyPathUnits)
        return;
    copyTextCut(keyName, path + baseLength, kKeyPathUnits - baseLength);
}

int storePreference(const WCHAR* keyName, const WCHAR* valueName, const BYTE* data, DWORD size)
{
    WCHAR path[kKeyPathUnits];
    buildPreferenceKeyPath(keyName, path);

    HKEY key = nullptr;
    DWORD disposition = 0;
    // Only the right to set values: a key where the user may set values but not change
    // its permissions or delete it still takes the choice.
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return 0;
    const int stored =
        RegSetValueExW(key, valueName, 0, REG_BINARY, data, size) == ERROR_SUCCESS ? 1 : 0;
    RegCloseKey(key);
    return stored;
}

int storeShowAgain(const WCHAR* keyName, BYTE choice)
{
    return storePreference(keyName, kPreferenceValueName, &choice, 1);
}
