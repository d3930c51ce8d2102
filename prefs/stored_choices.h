// The show-again choices stored for the current user, read the way a driver reads them.
#ifndef PRINTDIALOGS_PREFS_STORED_CHOICES_H
#define PRINTDIALOGS_PREFS_STORED_CHOICES_H

#include <windows.h>

#include <string>
#include <vector>

#include "printdialogs.h"

// As many units as the notice's request holds: a longer name never reaches the registry.
constexpr size_t kLongestKeyName = sizeof(JobStorageRequest::preferenceKeyName) / sizeof(WCHAR) - 1;

// Why `keyName` cannot name a choice, or empty when it can.
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
    std::wstring keyName;
    std::wstring state;
};

// Every key directly below the base that a notice could name and that holds the value,
// sorted by name as the registry compares names (ignoring case). An absent base key
// means no choices.
LSTATUS listStoredChoices(std::vector<StoredChoice>& choices);

#endif
