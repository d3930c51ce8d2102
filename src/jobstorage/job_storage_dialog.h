// The job storage notice: its instance, the thread's runner and the dialog procedure.
#ifndef PRINTDIALOGS_JOB_STORAGE_DIALOG_H
#define PRINTDIALOGS_JOB_STORAGE_DIALOG_H

#include <windows.h>

#include "common/context_help.h"
#include "common/resource_text.h"
#include "printdialogs.h"

// One per notice, owned by the notice's thread from before the dialog opens until after
// it has closed.
struct JobStorageInstance {
    JobStorageRequest request;  // the notice's own copy; the caller's record is never read again
    ResourceText text;
    HFONT boldFont = nullptr;   // made at initialisation, deleted when the dialog has closed
    ContextHelp help;           // closed when the dialog window goes
    LOGFONTW boldFace = {};     // what boldFont was made from, at fontDpi
    int fontDpi = 0;
};

// Ends every text field of the copy within its field, so that a caller's field filled to
// its last unit without a NUL reads as its first units instead of running past the copy.
void terminateJobStorageTexts(JobStorageRequest& request);

// The notice thread's work: takes over and frees the LocalAlloc block holding the request
// copy, shows the notice modally and releases everything once it has closed. Returns 0.
DWORD runJobStorageDialog(void* block);

INT_PTR CALLBACK jobStorageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Makes the bold font for the three emphasised boxes and sets the caption and the fixed
// labels from the resource module or their defaults.
void setJobStorageTexts(JobStorageInstance* instance, HWND dialog);

#endif
