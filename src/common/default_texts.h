// Built-in English texts that more than one dialog, or more than one part of a dialog,
// shows when the caller's resource module lacks their strings.
#ifndef PRINTDIALOGS_DEFAULT_TEXTS_H
#define PRINTDIALOGS_DEFAULT_TEXTS_H

#include <windows.h>

constexpr WCHAR kDefaultOkButton[] = L"&OK";
constexpr WCHAR kDefaultHelpButton[] = L"&Help";
constexpr WCHAR kDefaultContinueButton[] = L"C&ontinue";
constexpr WCHAR kDefaultDoNotShowAgain[] = L"In the future, do not show this information.";

#endif
