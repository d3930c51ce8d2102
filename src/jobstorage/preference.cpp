#include "jobstorage/preference.h"

#include <string>

#include "common/string_block.h"

namespace {

const uint16_t kPreferenceBasePath[] = {'S', 'o', 'f', 't', 'w', 'a', 'r', 'e', '\\',
                                        'N', 'o', 'r', 'v', 'a', 'l', 'e', '\\', 0};

size_t textLength(const uint16_t* text)
{
    return std::char_traits<char16_t>::length(reinterpret_cast<const char16_t*>(text));
}

} // namespace

void buildPreferenceKeyPath(const uint16_t* keyName, uint16_t (&path)[kKeyPathUnits])
{
    copyTextCut(kPreferenceBasePath, path, kKeyPathUnits);
    if (!keyName)
        return;
    const size_t baseLength = textLength(path);
    const size_t nameLength = textLength(keyName);
    if ((nameLength + 1) + (baseLength + 1) > kKeyPathUnits)
        return;
    copyTextCut(keyName, path + baseLength, kKeyPathUnits - baseLength);
}

int storePreference(const WCHAR* keyName, const WCHAR* valueName, const BYTE* data, DWORD size)
{
    uint16_t path[kKeyPathUnits];
    buildPreferenceKeyPath(reinterpret_cast<const uint16_t*>(keyName), path);

    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const WCHAR*>(path), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
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
