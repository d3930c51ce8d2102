// The Help buttons' context popup: compiled HTML help (.chm) through the HTML Help viewer,
// every other file through WinHelp.
#ifndef PRINTDIALOGS_CONTEXT_HELP_H
#define PRINTDIALOGS_CONTEXT_HELP_H

#include <windows.h>

#include <cstddef>

// One per dialog: the HTML Help viewer, loaded at its first use, and the last window it
// opened for this dialog. Both go when the dialog closes (closeContextHelp).
struct ContextHelp {
    HMODULE viewer = nullptr;
    HWND window = nullptr;
};

// Whether the path, read up to its NUL within `capacity` units, ends in ".chm" in any case.
bool isCompiledHtmlHelp(const WCHAR* path, size_t capacity);

// Opens the popup for `contextId` from `helpFile` next to the Help button. When no viewer
// shows anything, the system's error beep says so and the dialog carries on.
void showContextHelp(ContextHelp& help, HWND helpButton, DWORD controlId, DWORD contextId,
                     const WCHAR* helpFile, size_t capacity);

// At WM_DESTROY: closes the viewer window this dialog opened and releases the viewer.
void closeContextHelp(ContextHelp& help);

#endif
