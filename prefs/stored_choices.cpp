#include "stored_choices.h"

#include <algorithm>
#include <cstdio>

#include "jobstorage/preference.h"

namespace {

// The registry's longest key name, terminating NUL included.
constexpr DWORD kKeyNameUnits = 256;
// An unreadable value shows this many of its bytes.
constexpr DWORD kBytesShown = 8;

std::wstring keyPath(const wchar_t* keyName)
{
    wchar_t path[kKeyPathUnits];
    buildPreferenceKeyPath(keyName, path);
    return path;
}

std::wstring typeName(DWORD type)
{
    switch (type) {
    case REG_NONE: return L"REG_NONE";
    case REG_SZ: return L"REG_SZ";
    case REG_EXPAND_SZ: return L"REG_EXPAND_SZ";
    case REG_BINARY: return L"REG_BINARY";
    case REG_DWORD: return L"REG_DWORD";
    case REG_MULTI_SZ: return L"REG_MULTI_SZ";
    case REG_QWORD: return L"REG_QWORD";
    default: return L"type " + std::to_wstring(type);
    }
}

bool nameBefore(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
}

} // namespace

std::wstring shownName(const std::wstring& keyName)
{
    return keyName.empty() ? kBaseKeyShown : keyName;
}

// Any name the request can hold is one the notice stores under, the empty one and names
// with \ (nested keys) included; whether the registry takes it is the registry's answer.
std::wstring keyNameProblem(const std::wstring& keyName)
{
    if (keyName.size() > kLongestKeyName)
        return L"the key name \"" + keyName + L"\" has " + std::to_wstring(keyName.size()) +
               L" units; the notice keeps at most " + std::to_wstring(kLongestKeyName);
    return L"";
}

std::wstring choiceKeyPath(const std::wstring& keyName)
{
    return L"HKEY_CURRENT_USER\\" + keyPath(keyName.c_str());
}

std::wstring describeChoice(DWORD type, const BYTE* data, DWORD size)
{
    if (type == REG_BINARY && size == 1 && data[0] == kShowAgain)
        return L"shown";
    if (type == REG_BINARY && size == 1 && data[0] == kDoNotShowAgain)
        return L"hidden";
    std::wstring found = L"unreadable (" + typeName(type) + L", " + std::to_wstring(size) +
                         (size == 1 ? L" byte" : L" bytes");
    for (DWORD i = 0; i < size && i < kBytesShown; ++i) {
        wchar_t hex[4];
        swprintf(hex, 4, L"%02X", data[i]);
        found += (i == 0 ? L": " : L" ") + std::wstring(hex);
    }
    return found + (size > kBytesShown ? L" ...)" : L")");
}

LSTATUS readChoice(const std::wstring& keyName, std::wstring& state)
{
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, keyPath(keyName.c_str()).c_str(), 0,
                                   KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS)
        return status;
    DWORD type = REG_NONE;
    DWORD size = 0;
    std::vector<BYTE> data;
    // The value may grow between asking its size and reading it.
    do {
        data.resize(size);
        size = static_cast<DWORD>(data.size());
        status = RegQueryValueExW(key, kPreferenceValueName, nullptr, &type,
                                  data.empty() ? nullptr : data.data(), &size);
    } while (status == ERROR_MORE_DATA || (status == ERROR_SUCCESS && size > data.size()));
    RegCloseKey(key);
    if (status == ERROR_SUCCESS)
        state = describeChoice(type, data.data(), size);
    return status;
}

namespace {

// The choice of `keyName` itself, then those below it, depth first.
void collectChoices(const std::wstring& keyName, std::vector<StoredChoice>& choices,
                    std::vector<UnlistedKey>& unlisted)
{
    StoredChoice choice{keyName, L""};
    const LSTATUS read = readChoice(keyName, choice.state);
    if (read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND)
        choice.state = L"unreadable (error " + std::to_wstring(read) + L")";
    if (read != ERROR_FILE_NOT_FOUND)
        choices.push_back(choice);

    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, keyPath(keyName.c_str()).c_str(), 0,
                                   KEY_ENUMERATE_SUB_KEYS, &key);
    for (DWORD index = 0; status == ERROR_SUCCESS; ++index) {
        wchar_t name[kKeyNameUnits];
        DWORD units = kKeyNameUnits;
        status = RegEnumKeyExW(key, index, name, &units, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS)
            break;
        const std::wstring below =
            keyName.empty() ? std::wstring(name, units) : keyName + L"\\" + std::wstring(name, units);
        // No notice can name it, nor any key below it.
        if (!keyNameProblem(below).empty())
            continue;
        collectChoices(below, choices, unlisted);
    }
    if (key)
        RegCloseKey(key);
    if (status != ERROR_SUCCESS && status != ERROR_NO_MORE_ITEMS && status != ERROR_FILE_NOT_FOUND)
        unlisted.push_back({keyName, status});
}

} // namespace

void listStoredChoices(std::vector<StoredChoice>& choices, std::vector<UnlistedKey>& unlisted)
{
    collectChoices(L"", choices, unlisted);
    std::sort(choices.begin(), choices.end(),
              [](const StoredChoice& a, const StoredChoice& b) { return nameBefore(a.keyName, b.keyName); });
}
