// Placement over the user's window and the owner taken from it, shared by the dialogs.
#ifndef PRINTDIALOGS_PLACEMENT_H
#define PRINTDIALOGS_PLACEMENT_H

#include <windows.h>

#include "common/centring.h"

// Moves the dialog (not resizing it) over the centre of the foreground window, kept on
// that window's monitor, and shows it. The job storage variant leaves the dialog where it
// is when a rectangle cannot be read; the duplex variant goes on with what it has.
void centreOverForeground(HWND dialog, PlacementVariant variant);

// The foreground window when it belongs to this process, else null. A modal dialog
// disables its owner: another program's window must never be disabled by us, nor hang us
// when that program stops responding.
HWND foregroundWindowOfThisProcess();

// The DPI a window draws at now (96 when the screen does not say).
int screenDpiOf(HWND window);

// At WM_DPICHANGED: the dialog takes the rectangle the system suggests for the new DPI.
void takeSuggestedRectangle(HWND dialog, const RECT* suggested);

#endif
