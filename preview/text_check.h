// The translator's check: once a dialog has set itself up, measures every visible control
// with text in place and reports what the user would not see as meant.
#ifndef PREVIEW_TEXT_CHECK_H
#define PREVIEW_TEXT_CHECK_H

#include <windows.h>

#include <string>
#include <vector>

#include "preview_options.h"

// The window a request fills from the module (0 for the dialog's caption) and the string
// ids it shows. `readByDialog`: the dialog loads them itself, into a buffer of 256 units.
struct TextSource {
    int controlId = 0;
    std::vector<UINT> stringIds;
    bool readByDialog = true;
};

// Which string ids the request built from `options` puts into which window.
std::vector<TextSource> requestedTexts(const PreviewOptions& options);

struct Finding {
    int controlId = 0;         // 0: the caption
    std::vector<UINT> stringIds;  // empty for the caller's own data (names, location lines)
    std::wstring problem;      // does-not-fit, missing-glyph, access-key, missing-string, too-long
    int amount = 0;            // how much, in `unit`
    std::wstring unit;         // px, lines, characters, controls, units
    std::wstring detail;
};

// Examines the dialog in place. `module` is the resource module the request names.
std::vector<Finding> checkDialog(HWND dialog, const std::vector<TextSource>& sources,
                                 const std::wstring& module);

// Where the check runs: the user's interface language as a tag, the screen's DPI.
struct CheckSetting {
    std::wstring language;
    int dpi = 96;
    std::wstring dialogName;
};
CheckSetting currentSetting(const std::wstring& dialogName);

// One line for people, one JSON object (on one line) for tools.
std::wstring findingLine(const CheckSetting& setting, const Finding& finding);
std::wstring findingJson(const CheckSetting& setting, const Finding& finding);

#endif
