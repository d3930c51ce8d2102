// Placement over the user's window and context help, shared by the duplex
// instructions and the job storage notice.
#ifndef PRINTDIALOGS_PLACEMENT_H
#define PRINTDIALOGS_PLACEMENT_H

#include <windows.h>

#include "common/centring.h"

// Moves the dialog (not resizing it) over the centre of the foreground window, kept on
// the desktop, and shows it. The job storage variant leaves the dialog where it is when
// a rectangle cannot be read; the duplex variant goes on with what it has.
void centreOverForeground(HWND dialog, PlacementVariant variant);

// Opens the help file's popup for `contextId` next to the Help button.
BOOL showContextHelp(HWND helpButton, DWORD controlId, DWORD contextId, const WCHAR* helpFile);

#endif
