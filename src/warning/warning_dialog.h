// The warning dialog: its instance, procedure, texts and button set, and its runner.
#ifndef PRINTDIALOGS_WARNING_DIALOG_H
#define PRINTDIALOGS_WARNING_DIALOG_H

#include <windows.h>

#include "common/resource_text.h"
#include "printdialogs.h"
#include "warning/warning_layout.h"

// Shown when the resource module lacks the caption or a shown button's label: the
// templates' own texts are empty, and an empty caption or button tells the user nothing.
constexpr const WCHAR* kWarningCaptionDefault = L"Warning";
constexpr const WCHAR* kWarningOkDefault = L"OK";
constexpr const WCHAR* kWarningCancelDefault = L"Cancel";
constexpr const WCHAR* kWarningThirdDefault = L"Other";

// One per warning on screen, owned by its runner for exactly as long as the dialog runs.
struct WarningInstance {
    explicit WarningInstance(WarningRequest* copy) : request(copy) {}

    WarningRequest* request;
    ResourceText text;
    WarningWindows windows = {};
    WarningRects rects = {};
    int checkBoxTicked = 0;  // 1 when the check box was shown and ticked as the dialog closed
    bool focusPlaced = false;  // the first button has been given the focus once
};

// Shows the warning for `copy` modally on this thread and returns the id that ended it
// (1, 2 or 285), 0 when the instance cannot be made, or -1 when the dialog cannot be
// created; `checkBoxTicked` gets 1 when the check box was shown and ticked as it closed,
// else 0. Takes ownership of the LocalAlloc'd copy and frees it on every path.
INT32 runWarningDialog(WarningRequest* copy, int& checkBoxTicked);

INT_PTR CALLBACK warningDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Caption, message, button labels and check box label.
void setWarningTexts(WarningInstance& instance);

// Shows and enables each button and the check box whose field is non-zero; hides and
// disables the rest, leaving them where they stand.
void applyButtonSet(const WarningWindows& windows, const WarningRequest& request);

// The first button shown in reading order (IDOK, IDCANCEL, the third), 0 when none is.
int firstShownButton(const WarningRequest& request);

// Tab visits the check box, then the buttons as the eye reads them; the first button
// shown is the default, so Enter presses what the focus shows. A reader meets the message
// first; the empty spare text is hidden.
void setKeyboardOrder(const WarningWindows& windows, const WarningRequest& request);

// At the dialog's first activation: the first button shown takes the focus. False when
// it was placed before or no button is shown, and the dialog manager's own focus holds.
bool focusFirstButton(WarningInstance& instance);

#endif
