#include "common/accessibility.h"

#include "common/resource_text.h"

void startGroup(HWND control)
{
    if (control)
        SetWindowLongPtrW(control, GWL_STYLE, GetWindowLongPtrW(control, GWL_STYLE) | WS_GROUP);
}

void groupButtonRow(HWND firstButton, HWND lastButton)
{
    // The row ends where the next group starts. At the last control the dialog manager
    // wraps round to the first one, so that one then starts a group.
    startGroup(firstButton);
    if (!lastButton)
        return;
    const HWND next = GetWindow(lastButton, GW_HWNDNEXT);
    startGroup(next ? next : GetWindow(lastButton, GW_HWNDFIRST));
}

void nameGroupBox(HWND groupBox, const WCHAR* name)
{
    if (!groupBox)
        return;
    // A group box with BS_BITMAP draws its image, not its text, in the gap of its frame;
    // with no image it draws the plain frame it drew before.
    SetWindowLongPtrW(groupBox, GWL_STYLE, GetWindowLongPtrW(groupBox, GWL_STYLE) | BS_BITMAP);
    SetWindowTextW(groupBox, name);
}

void namePictureFrame(HWND frame, const WCHAR* name)
{
    if (!frame)
        return;
    // Owner-drawn, the static leaves its text undrawn: the dialog paints the picture. No
    // letter of the name is an access key.
    const LONG_PTR style = GetWindowLongPtrW(frame, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
    SetWindowLongPtrW(frame, GWL_STYLE, style | SS_OWNERDRAW | SS_NOPREFIX);
    SetWindowTextW(frame, name);
    EnableWindow(frame, TRUE);
}

void nameEditByItsText(HWND dialog, HWND edit)
{
    WCHAR text[kTextUnits] = {};
    if (!edit || !GetWindowTextW(edit, text, kTextUnits))
        return;
    // Never shown: a child window, it goes with the dialog.
    HWND label = CreateWindowExW(0, L"STATIC", text, WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), nullptr, nullptr);
    const HWND before = GetWindow(edit, GW_HWNDPREV);
    if (label)
        SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void hideWhileEmpty(HWND text)
{
    if (text && GetWindowTextLengthW(text) == 0)
        ShowWindow(text, SW_HIDE);
}
