// The warning's taller layout for a long message: measuring the six windows once, the
// arithmetic of where they go, and moving them there.
#ifndef PRINTDIALOGS_WARNING_LAYOUT_H
#define PRINTDIALOGS_WARNING_LAYOUT_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "printdialogs.h"

// A window's rectangle: a control's in the dialog's client coordinates, the dialog's own
// in screen coordinates.
struct ControlRect {
    int32_t left, top, right, bottom;
    int32_t width, height;
};

// The windows the layout works on, all null until the dialog binds them.
struct WarningWindows {
    HWND dialog, thirdButton, checkBox, message, okButton, cancelButton;
};

// Their rectangles as measured once at set-up (or, from the arithmetic, as they end up).
struct WarningRects {
    ControlRect message, dialog, thirdButton, checkBox, okButton, cancelButton;
};

// Messages longer than this many UTF-16 units get the taller layout.
constexpr size_t kLongMessageUnits = 150;
// What the message and the dialog grow by, in pixels; the only growth step there is.
constexpr int32_t kMessageGrowth = 100;

// Units before the first NUL, at most `capacity`.
size_t messageUnits(const wchar_t* text, size_t capacity);

// Where the six windows go for a message of `units` units. False when the message is
// short and nothing moves (then `targets` is left as it was). The message and the dialog
// grow downward; the check box goes to the grown message's bottom edge and the buttons to
// the check box's bottom edge. Nothing moves sideways or changes width.
bool growthTargets(size_t units, const WarningRects& measured, WarningRects& targets);

// The window's rectangle in `parent`'s client coordinates (screen ones for a null parent).
// A null window leaves the record as it was.
void measureControl(HWND parent, HWND window, ControlRect& record);

// Puts the window at the target's position and size, z-order untouched.
void moveControl(HWND window, const ControlRect& target);

// Measures message, third button, check box, IDOK, IDCANCEL, then the dialog itself.
void measureWarningLayout(const WarningWindows& windows, WarningRects& rects);

// Grows the message and the dialog and moves the check box and the buttons down when the
// message is long; leaves everything where the template put it otherwise.
void growForLongMessage(const WarningWindows& windows, const WarningRects& rects,
                        const WarningRequest& request);

#endif
