// The translator's check: once a dialog has set itself up, measures every visible control
// with text in place and reports what the user would not see as meant.
#ifndef PREVIEW_TEXT_CHECK_H
#define PREVIEW_TEXT_CHECK_H

#include <windows.h>

#include <string>
#include <vector>

#include "check_findings.h"

// Examines the dialog in place. `module` is the resource module the request names.
std::vector<Finding> checkDialog(HWND dialog, const std::vector<TextSource>& sources,
                                 const std::wstring& module);

// The user's interface language and the screen's DPI, now.
CheckSetting currentSetting(const std::wstring& dialogName);

#endif
