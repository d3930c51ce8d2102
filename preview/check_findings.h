// What the translator's check works with and reports, as plain values: which string ids
// a request puts into which window, the findings, and their lines and JSON.
#ifndef PREVIEW_CHECK_FINDINGS_H
#define PREVIEW_CHECK_FINDINGS_H

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

struct Finding {
    int controlId = 0;         // 0: the caption
    std::vector<UINT> stringIds;  // empty for the caller's own data (names, location lines)
    std::wstring problem;      // does-not-fit, missing-glyph, no-font, unshaped, too-large, access-key, missing-string, too-long
    int amount = 0;            // how much, in `unit`
    std::wstring unit;         // px, lines, characters, controls, units
    std::wstring detail;
};

// Which string ids the request built from `options` puts into which window.
std::vector<TextSource> requestedTexts(const PreviewOptions& options);

// Where the check runs: the user's interface language as a tag, the screen's DPI.
struct CheckSetting {
    std::wstring language;
    int dpi = 96;
    std::wstring dialogName;
};

// One line for people, one JSON object (on one line) for tools.
std::wstring findingLine(const CheckSetting& setting, const Finding& finding);
std::wstring findingJson(const CheckSetting& setting, const Finding& finding);

#endif
