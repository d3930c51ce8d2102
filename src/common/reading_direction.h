// Which way each text reads: by its own first strong character, as the Unicode
// paragraph rule has it, so a Latin job name reads left to right in a mirrored dialog
// and a Hebrew label reads right to left.
#ifndef PRINTDIALOGS_READING_DIRECTION_H
#define PRINTDIALOGS_READING_DIRECTION_H

#include <windows.h>

#include <cstddef>

enum class ReadingDirection { Neutral, LeftToRight, RightToLeft };

// The direction class of one code point: strong left-to-right, strong right-to-left
// (Hebrew, Arabic and the other right-to-left scripts) or neutral (digits, punctuation,
// spaces, symbols, combining marks, controls).
ReadingDirection directionOfCodePoint(char32_t codePoint);

// The direction of the first strong character among the first `capacity` units of
// `text` (up to its NUL); Neutral when there is none. Surrogate pairs count as one
// character, a lone surrogate as neutral; isolated runs (LRI, RLI or FSI to PDI) are
// passed over.
ReadingDirection firstStrongDirection(const wchar_t* text, size_t capacity);

// Whether the text is to read right to left: its first strong character decides; a text
// without one (empty, "1.", "(1-99)") follows the dialog's layout.
bool readsRightToLeft(const wchar_t* text, size_t capacity, int rightToLeftLayout);

// Sets or clears WS_EX_RTLREADING on the dialog (its caption) and on each of its
// controls by the text it holds now; an edit box holding a left-to-right text also loses
// its mirroring. Called once every text is in place, before the dialog first shows.
void applyReadingDirections(HWND dialog, int rightToLeftLayout);

// For WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: a static text or button marked to read right
// to left gets a paint DC that reads right to left. Some systems' controls (Wine's) draw
// every paragraph left to right whatever their style; the DC's reading order they follow.
void keepReadingOrder(HWND control, HDC paint);

#endif
