#include "warning/warning_dialog.h"

#include "common/accessibility.h"
#include "common/default_texts.h"
#include "common/reading_direction.h"
#include "resource.h"

namespace {

void bindControls(HWND dialog, WarningWindows& windows)
{
    windows.dialog = dialog;
    windows.thirdButton = GetDlgItem(dialog, IDC_WARNING_THIRD);
    windows.checkBox = GetDlgItem(dialog, IDC_WARNING_CHECK);
    windows.message = GetDlgItem(dialog, IDC_WARNING_MESSAGE);
    windows.okButton = GetDlgItem(dialog, IDOK);
    windows.cancelButton = GetDlgItem(dialog, IDCANCEL);
}

void showWhen(HWND control, UINT32 field)
{
    EnableWindow(control, field != 0);
    ShowWindow(control, field != 0 ? SW_SHOW : SW_HIDE);
}

// Everything happens before the dialog first shows; the user slot is set last and marks
// the set-up as complete.
void initWarningDialog(HWND dialog, WarningInstance* instance)
{
    if (!instance || !instance->request) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    const WarningRequest& request = *instance->request;
    instance->text.openResourceModule(request.resourceModulePath);
    bindControls(dialog, instance->windows);
    setWarningTexts(*instance);
    applyReadingDirections(dialog, instance->text.rightToLeft());
    applyButtonSet(instance->windows, request);
    measureWarningLayout(instance->windows, instance->rects);
    growForLongMessage(instance->windows, instance->rects, request);
    setKeyboardOrder(instance->windows, request);
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(instance));
}

// Keeps the check box's state for the caller as the dialog ends, however it ends.
void endWarning(HWND dialog, INT_PTR result)
{
    auto* instance = reinterpret_cast<WarningInstance*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (instance && instance->request->showCheckBox)
        instance->checkBoxTicked =
            SendMessageW(instance->windows.checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    EndDialog(dialog, result);
}

void onWarningCommand(HWND dialog, WPARAM wParam)
{
    if (!GetWindowLongPtrW(dialog, DWLP_USER)) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    if (HIWORD(wParam) != 0)
        return;
    // Visibility is not looked at: whoever sends one of the three ids gets it back.
    // The check box's clicks (475) only toggle it.
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL:
    case IDC_WARNING_THIRD:
        endWarning(dialog, LOWORD(wParam));
        break;
    default:
        break;
    }
}

} // namespace

void setWarningTexts(WarningInstance& instance)
{
    const WarningRequest& request = *instance.request;
    const WarningWindows& windows = instance.windows;
    ResourceText& text = instance.text;
    text.setItemText(request.captionId, windows.dialog, kWarningCaptionDefault);
    SetWindowTextW(windows.message, request.messageText);
    text.setItemText(request.okButtonTextId, windows.okButton, kWarningOkDefault);
    text.setItemText(request.cancelButtonTextId, windows.cancelButton, kWarningCancelDefault);
    text.setItemText(request.thirdButtonTextId, windows.thirdButton, kWarningThirdDefault);
    text.setItemText(kStringDoNotShowAgain, windows.checkBox, kDefaultDoNotShowAgain);
}

void applyButtonSet(const WarningWindows& windows, const WarningRequest& request)
{
    showWhen(windows.okButton, request.okButtonTextId);
    showWhen(windows.cancelButton, request.cancelButtonTextId);
    showWhen(windows.thirdButton, request.thirdButtonTextId);
    showWhen(windows.checkBox, request.showCheckBox);
}

int firstShownButton(const WarningRequest& request)
{
    if (request.okButtonTextId)
        return IDOK;
    if (request.cancelButtonTextId)
        return IDCANCEL;
    return request.thirdButtonTextId ? IDC_WARNING_THIRD : 0;
}

void setKeyboardOrder(const WarningWindows& windows, const WarningRequest& request)
{
    // Tab follows the z-order; mirrored, the same order reads from right to left.
    HWND after = HWND_TOP;
    const HWND order[] = {windows.checkBox, windows.okButton, windows.cancelButton,
                          windows.thirdButton};
    for (HWND control : order) {
        SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = control;
    }
    // A screen reader reads in z-order: the message first, as the eye does. Tab and the
    // arrows pass the texts by; the arrows stay on the buttons, or on the check box.
    SetWindowPos(windows.message, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    hideWhileEmpty(GetDlgItem(windows.dialog, IDC_WARNING_SPARE));
    startGroup(windows.checkBox);
    groupButtonRow(windows.okButton, windows.thirdButton);
    const int first = firstShownButton(request);
    // With no button shown the default is the hidden, disabled IDOK: Enter then does
    // nothing, where the dialog manager would otherwise send IDOK anyway.
    SendMessageW(windows.dialog, DM_SETDEFID, first ? first : IDOK, 0);
}

bool focusFirstButton(WarningInstance& instance)
{
    // Focus set before the dialog shows is replaced as it activates, and a move posted
    // before it shows lands while it is still hidden and leaves it inactive: the first
    // activation puts the focus itself, in place of the dialog manager's first tab stop.
    const int first = firstShownButton(*instance.request);
    if (instance.focusPlaced || !first)
        return false;
    instance.focusPlaced = true;
    SendMessageW(instance.windows.dialog, WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(GetDlgItem(instance.windows.dialog, first)), TRUE);
    return true;
}

// Every message but WM_INITDIALOG may come before the instance is in the user slot
// (WM_SETFONT does): those find the slot empty and do nothing.
INT_PTR CALLBACK warningDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        initWarningDialog(dialog, reinterpret_cast<WarningInstance*>(lParam));
        return FALSE;
    }
    case WM_COMMAND: {
        onWarningCommand(dialog, wParam);
        return FALSE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        keepReadingOrder(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
        return FALSE;  // the dialog's own colours
    }
    case WM_ACTIVATE: {
        auto* instance = reinterpret_cast<WarningInstance*>(GetWindowLongPtrW(dialog, DWLP_USER));
        // TRUE: the focus is placed, the dialog manager keeps its own restore for later.
        return instance && LOWORD(wParam) != WA_INACTIVE && focusFirstButton(*instance);
    }
    case WM_CLOSE: {
        endWarning(dialog, IDCANCEL);
        return FALSE;
    }
    default:
        return FALSE;
    }
}
