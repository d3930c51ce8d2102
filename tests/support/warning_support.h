// Showing the warning from a test and reading it back.
#ifndef TESTS_WARNING_SUPPORT_H
#define TESTS_WARNING_SUPPORT_H

#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <string>

#include "dialog_driver.h"
#include "platform_doubles.h"
#include "import_patch.h"
#include "printdialogs.h"
#include "resource.h"

// Ids of warning_strings.dll.
enum {
    kCaptionPaperJam = 4000,
    kLabelRetry = 4001,
    kLabelStop = 4002,
    kLabelDetails = 4003,
    kCaption300Units = 4010
};

// A warning to be shown with every button, the check box and the caller's texts.
inline WarningRequest warningRequest(const std::wstring& message = L"The paper tray is empty.")
{
    WarningRequest request = {};
    request.showDialog = 1;
    request.captionId = kCaptionPaperJam;
    request.okButtonTextId = kLabelRetry;
    request.cancelButtonTextId = kLabelStop;
    request.thirdButtonTextId = kLabelDetails;
    request.showCheckBox = 1;
    wcsncpy(request.messageText, message.c_str(), 1023);
    wcsncpy(request.resourceModulePath, besideTest(L"warning_strings.dll").c_str(), 255);
    return request;
}

// The last resort of a test whose dialog did not end as it should: fails the test and
// ends the dialog from outside (its own procedure may be what is broken).
inline void endIfStillOpen(HWND dialog)
{
    if (!waitUntilGone(dialog, 2000)) {
        ADD_FAILURE() << "the dialog was still open";
        EndDialog(dialog, -2);
    }
}

// Calls the export (the Ex one when `checkBoxChecked` is given); `onDialog` gets the
// dialog on a thread of its own and is to end it. Whatever it leaves open is closed, so
// that a failing test cannot hang the run.
inline INT32 showWarning(const WarningRequest& request, const std::function<void(HWND)>& onDialog,
                         int* checkBoxChecked = nullptr)
{
    INT32 result = 0;
    bool shown = false;
    {
        DialogWatcher watcher([&](HWND dialog) {
            onDialog(dialog);
            endIfStillOpen(dialog);
        });
        result = checkBoxChecked ? IShowWarningDialogEx(&request, checkBoxChecked)
                                 : IShowWarningDialog(&request);
        shown = watcher.sawDialog();
    }
    EXPECT_TRUE(shown) << "no warning appeared";
    return result;
}

// Calls the export where no dialog is to appear. One that does is closed again, so that
// the test fails rather than waits for a user.
inline INT32 showNoWarning(const WarningRequest& request, int* checkBoxChecked = nullptr)
{
    DialogWatcher watcher([](HWND dialog) {
        ADD_FAILURE() << "a warning appeared";
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }, 500);
    return checkBoxChecked ? IShowWarningDialogEx(&request, checkBoxChecked) : IShowWarningDialog(&request);
}

// The id of the first control the dialog's thread gives the keyboard focus, as a screen
// reader would announce it first; 0 when none has it within a second.
inline int firstFocusedId(HWND dialog)
{
    GUITHREADINFO info = {};
    for (int tries = 0; tries < 100; ++tries) {
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) && info.hwndFocus &&
            GetParent(info.hwndFocus) == dialog)
            return GetDlgCtrlID(info.hwndFocus);
        Sleep(10);
    }
    return 0;
}

// A key as the keyboard delivers it: to the window with the focus, through the dialog's
// own message loop; with Shift held, as the dialog's thread reads the keyboard's state.
inline void pressKey(HWND dialog, WPARAM key, bool shift = false)
{
    const DWORD dialogThread = GetWindowThreadProcessId(dialog, nullptr);
    GUITHREADINFO info = {sizeof info};
    GetGUIThreadInfo(dialogThread, &info);
    const bool attached = shift && AttachThreadInput(GetCurrentThreadId(), dialogThread, TRUE);
    BYTE keys[256] = {};
    if (attached) {
        GetKeyboardState(keys);
        keys[VK_SHIFT] = 0x80;
        SetKeyboardState(keys);
    }
    PostMessageW(info.hwndFocus ? info.hwndFocus : dialog, WM_KEYDOWN, key, 0);
    if (attached) {
        Sleep(200);  // the dialog reads Shift while it handles the key
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        AttachThreadInput(GetCurrentThreadId(), dialogThread, FALSE);
    }
}

// Puts the focus on `from`, presses the arrow `key` and returns where the focus went,
// waiting up to a second for `expected`.
inline int focusAfterArrow(HWND dialog, int from, WPARAM key, int expected)
{
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, from)), TRUE);
    focusedId(dialog, from);
    pressKey(dialog, key);
    if (expected == from)
        Sleep(100);  // a stay is seen only once the key has been handled
    return focusedId(dialog, expected);
}

// The warning's windows as the user sees them: controls in client coordinates, the dialog
// in screen coordinates.
struct WarningGeometry {
    RECT message, checkBox, okButton, cancelButton, thirdButton, dialog;
};

inline WarningGeometry readGeometry(HWND dialog)
{
    WarningGeometry geometry = {};
    geometry.message = itemRect(dialog, IDC_WARNING_MESSAGE);
    geometry.checkBox = itemRect(dialog, IDC_WARNING_CHECK);
    geometry.okButton = itemRect(dialog, IDOK);
    geometry.cancelButton = itemRect(dialog, IDCANCEL);
    geometry.thirdButton = itemRect(dialog, IDC_WARNING_THIRD);
    GetWindowRect(dialog, &geometry.dialog);
    return geometry;
}

// Opens the warning for `request`, reads its geometry and closes it.
inline WarningGeometry geometryOf(const WarningRequest& request)
{
    WarningGeometry geometry = {};
    showWarning(request, [&](HWND dialog) {
        geometry = readGeometry(dialog);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    return geometry;
}

#endif
