// The check's rules over measured values: whether a text fits the control that shows it,
// which characters to look for in the font, which access keys clash. Pure, so that the
// rules can be tested without a window; the measuring happens in text_check.cpp.
#ifndef PREVIEW_FIT_RULES_H
#define PREVIEW_FIT_RULES_H

#include <windows.h>

#include <string>
#include <vector>

struct Extent {
    int width = 0;
    int height = 0;
};

// By how many pixels a text runs past its room each way; zero where it fits.
struct Overflow {
    int width = 0;
    int height = 0;
    bool fits() const { return width == 0 && height == 0; }
};

Overflow overflowOf(Extent room, Extent needed);

// By how many pixels the drawn pixels `ink` run past the area `shown` each way, the
// farther side counting; an empty `ink` (nothing drawn) fits. A line's first letter may
// reach a pixel (at 100 %, two at 150 %) before the area's left edge, as the bar of a "t"
// or the hook of a "J" does: Windows lays out every line from that edge and clips those
// pixels for any text starting so, which no rewording can help. Past the far edge or the
// bottom, every pixel counts.
Overflow inkOverflow(RECT shown, RECT ink, int dpi);

// Where a push button draws its label: inside its edges.
RECT pushButtonArea(Extent client, int edge);

// Where a check box draws its label: to the right of the box and a gap of half the width
// of a digit of the label's font.
RECT checkBoxArea(Extent client, int boxWidth, int digitWidth);

// The box's width on a screen of `dpi`.
int checkBoxWidth(int dpi);

// A single-line edit shows its text between its left and right margins.
Overflow editOverflow(Extent client, Extent oneLine, int leftMargin, int rightMargin);

// The DrawText flags a static control of `style` and extended style `exStyle` draws its
// text with; 0 for the kinds that draw no text (pictures, frames, owner-drawn).
UINT staticDrawFlags(DWORD style, DWORD exStyle = 0);

// How many units of a string stored with `length` units a dialog's 256-unit buffer cuts.
unsigned unitsCut(unsigned length);

// Which of the texts joined line under line into one control the drawn pixels first leave
// the control in: `inks` are each part's ink where it stands in the control. -1 when all fit.
int partLeaving(RECT shown, const std::vector<RECT>& inks, int dpi);

// The script a character belongs to, as a translator names it ("Han", "Cyrillic"), for a
// character no installed font draws.
const wchar_t* scriptName(wchar_t c);

// Whether this Wine draws `c` unshaped in a control: Khmer always (its vowels and subscripts
// stand as stored), Arabic, Thai and the Indic scripts when the control's font lacks them
// and a linked font draws them glyph by glyph. `fontHasIt`: the control's own font has `c`.
bool drawnUnshaped(wchar_t c, bool fontHasIt);

// Characters as a finding shows them: each with its code point, "ꀀ (U+A000)".
std::wstring quotedCharacters(const std::wstring& characters);

// How many lines of `lineHeight` pixels an overflow of `height` pixels hides (a line cut
// anywhere counts).
int hiddenLines(int height, int lineHeight);

// The access key a label gives ("&Print" gives 'P', "&&" is a plain ampersand), in upper
// case; 0 when there is none.
wchar_t accessKey(const std::wstring& label);

// A control's label as the check sees it.
struct Label {
    int controlId = 0;
    std::wstring text;
};

// Each later control whose access key an earlier one already has, with that earlier one.
struct KeyClash {
    wchar_t key = 0;
    int firstControlId = 0;
    int controlId = 0;
};
std::vector<KeyClash> accessKeyClashes(const std::vector<Label>& labels);

// The characters of `text` that the font must draw, each once: without line breaks, tabs
// and the invisible direction and joining marks, and, when `prefixes` is set, without
// the ampersands that only mark the access key. Surrogate pairs are left out: the glyph
// look-up cannot tell about them.
std::wstring drawnCharacters(const std::wstring& text, bool prefixes);

#endif
