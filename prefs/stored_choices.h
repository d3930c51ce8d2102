// The show-again choices stored for the current user, read the way a driver reads them.
#ifndef PRINTDIALOGS_PREFS_STORED_CHOICES_H
#define PRINTDIALOGS_PREFS_STORED_CHOICES_H

#include <windows.h>

#include <string>
#include <vector>

#include "printdialogs.h"

// As many units as the notice's request holds: the notice uses no more of a longer name.
constexpr size_t kLongestKeyName = sizeof(JobStorageRequest::preferenceKeyName) / sizeof(WCHAR) - 1;

// How the base key's own choice, stored by a notice given an empty key name, is shown;
// an empty argument ("" in a shell) names it.
constexpr wchar_t kBaseKeyShown[] = L"\"\"";

// `keyName` as `list` shows it.
std::wstring shownName(const std::wstring& keyName);

// Why no notice could name the key `keyName`, or empty when one could.
std::wstring keyNameProblem(const std::wstring& keyName);

// HKEY_CURRENT_USER\Software\Norvale\<keyName>, for messages.
std::wstring choiceKeyPath(const std::wstring& keyName);

// "shown", "hidden", or "unreadable (...)" with the type and bytes that were found.
std::wstring describeChoice(DWORD type, const BYTE* data, DWORD size);

// Reads the choice under `keyName` into `state` (as describeChoice words it). Returns
// ERROR_SUCCESS, ERROR_FILE_NOT_FOUND when the key or its value is absent, or the
// registry's error.
LSTATUS readChoice(const std::wstring& keyName, std::wstring& state);

struct StoredChoice {
    std::wstring keyName;  // the path below the base, "Dept\Office3"; empty for the base
    std::wstring state;
};

// A key whose subkeys could not be enumerated: choices below it may have gone unseen.
struct UnlistedKey {
    std::wstring keyName;
    LSTATUS status;
};

// Every choice a notice could have stored: the base key's own and that of every key below
// it, at any depth, whose path a notice's key name can hold. Sorted by path as the
// registry compares names (ignoring case), the base first. An absent base key means no
// choices.
void listStoredChoices(std::vector<StoredChoice>& choices, std::vector<UnlistedKey>& unlisted);

#endif
