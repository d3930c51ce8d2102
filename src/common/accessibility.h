// What a keyboard user and a screen reader meet in the dialogs: arrows that stay on the
// buttons, and a name on every control a reader reaches. The templates stay as they are;
// all of it is set at run time, before the dialog first shows.
#ifndef PRINTDIALOGS_ACCESSIBILITY_H
#define PRINTDIALOGS_ACCESSIBILITY_H

#include <windows.h>

// Makes the button row, first to last in z-order, a group of its own: the arrow keys
// then move among its buttons only, never onto a text that cannot show the focus.
void groupButtonRow(HWND firstButton, HWND lastButton);

// Marks the control as the start of a group (WS_GROUP).
void startGroup(HWND control);

// Gives a group box a name for screen readers that it never draws.
void nameGroupBox(HWND groupBox, const WCHAR* name);

// Gives a picture frame a name that it never draws, and enables it, so that a reader does
// not announce a picture as unavailable. The frame draws nothing of its own.
void namePictureFrame(HWND frame, const WCHAR* name);

// A label-less edit takes its name from the static before it in z-order: a hidden one
// holding the edit's own text names it by that text.
void nameEditByItsText(HWND dialog, HWND edit);

// Hides a text that holds nothing, so that a reader does not stop on it.
void hideWhileEmpty(HWND text);

#endif
