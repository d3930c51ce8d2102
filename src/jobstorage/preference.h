// The show-again preference of the job storage notice, under
// HKEY_CURRENT_USER\Software\Norvale\<key name>. Written, never read, by the library;
// printdialogs-prefs reads it to list and reset the choices.
#ifndef PRINTDIALOGS_PREFERENCE_H
#define PRINTDIALOGS_PREFERENCE_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

// The notice's choice: this value, REG_BINARY, one byte. 0x00 asks the driver not to
// show the notice again, 0x01 to show it.
constexpr WCHAR kPreferenceValueName[] = L"ShowJobStorageDlg";
constexpr BYTE kDoNotShowAgain = 0x00;
constexpr BYTE kShowAgain = 0x01;

// MAX_PATH, terminating NUL included.
constexpr size_t kKeyPathUnits = 260;

// The key path: the base path followed directly by `keyName`. A name that does not fit
// is dropped whole, never cut, so the value lands under the base key rather than under
// some other key that happens to share its first letters. A null name means the base.
void buildPreferenceKeyPath(const wchar_t* keyName, wchar_t (&path)[kKeyPathUnits]);

// Sets `valueName` to `size` bytes of REG_BINARY `data` under the key of `keyName`,
// creating the key and any missing key above it. Returns 1 when the value was set.
int storePreference(const WCHAR* keyName, const WCHAR* valueName, const BYTE* data, DWORD size);

// Stores `choice` (kShowAgain or kDoNotShowAgain) for `keyName`, exactly as OK on the
// notice does. Returns 1 when it was stored.
int storeShowAgain(const WCHAR* keyName, BYTE choice);

#endif
