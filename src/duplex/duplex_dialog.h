// The manual duplex instructions: its instance, runner, dialog procedure and steps.
#ifndef PRINTDIALOGS_DUPLEX_DIALOG_H
#define PRINTDIALOGS_DUPLEX_DIALOG_H

#include <windows.h>

#include "common/context_help.h"
#include "common/resource_text.h"
#include "printdialogs.h"

// One per dialog, built and deleted by the runner. The request copy is the runner's to
// free; the instance only points at it.
struct DuplexInstance {
    DuplexRequest* request = nullptr;
    ResourceText text;
    ContextHelp help;  // closed when the dialog window goes
};

// Runs the dialog over the request copy, which it owns and frees: called directly in
// blocking mode and as the dialog thread's body in threaded mode. 0 when no dialog could
// be built, 1 once the dialog has run.
DWORD runDuplexDialog(void* copy);

INT_PTR CALLBACK duplexDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Caption, introduction, step numbers and texts, and button labels, from the resource
// module or their defaults.
void setDuplexTexts(ResourceText& text, HWND dialog, const DuplexRequest& request);

// Names each step's group box by its number and its picture by its number, text and the
// picture's own word, for screen readers; the dialog shows neither name.
void nameDuplexSteps(ResourceText& text, HWND dialog, const DuplexRequest& request);

#endif
