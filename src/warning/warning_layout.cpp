#include "warning/warning_layout.h"

#include <cwchar>

#include "common/int_range.h"

namespace {

// Measurements come from windows and may be absurd: the edges are summed in long long and
// brought back saturated.
ControlRect placed(int32_t left, int32_t top, int32_t width, int32_t height)
{
    return {left, top, saturatedInt(static_cast<long long>(left) + width),
            saturatedInt(static_cast<long long>(top) + height), width, height};
}

// Tops are formed in single precision and cut toward zero; exact for any coordinate a
// screen can have. Saturating keeps absurd measurements from overflowing the cut.
int32_t cutTowardZero(float value)
{
    if (value >= 2147483647.0f)
        return INT32_MAX;
    if (value <= -2147483648.0f)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t grown(int32_t height)
{
    return saturatedInt(static_cast<long long>(height) + kMessageGrowth);
}

// Same left edge and size, new top.
ControlRect movedTo(const ControlRect& measured, float top)
{
    return placed(measured.left, cutTowardZero(top), measured.width, measured.height);
}

} // namespace

size_t messageUnits(const wchar_t* text, size_t capacity)
{
    return wcsnlen(text, capacity);
}

bool growthTargets(size_t units, const WarningRects& measured, WarningRects& targets)
{
    if (units <= kLongMessageUnits)
        return false;
    const ControlRect& message = measured.message;
    const ControlRect& dialog = measured.dialog;
    const float checkBoxTop = static_cast<float>(message.bottom) + static_cast<float>(kMessageGrowth);
    // Below the check box's height even when it is hidden: that space stays empty.
    const float buttonTop = checkBoxTop + static_cast<float>(measured.checkBox.height);

    targets.message = placed(message.left, message.top, message.width, grown(message.height));
    targets.dialog = placed(dialog.left, dialog.top, dialog.width, grown(dialog.height));
    targets.checkBox = movedTo(measured.checkBox, checkBoxTop);
    targets.okButton = movedTo(measured.okButton, buttonTop);
    targets.cancelButton = movedTo(measured.cancelButton, buttonTop);
    targets.thirdButton = movedTo(measured.thirdButton, buttonTop);
    return true;
}

void measureControl(HWND parent, HWND window, ControlRect& record)
{
    if (!window)
        return;
    RECT rect = {};
    GetWindowRect(window, &rect);
    // Two points make one rectangle: under a mirrored parent left and right are swapped
    // back, so left stays the smaller edge.
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    record.left = rect.left;
    record.top = rect.top;
    record.right = rect.right;
    record.bottom = rect.bottom;
    record.width = rect.right - rect.left;
    record.height = rect.bottom - rect.top;
}

void moveControl(HWND window, const ControlRect& target)
{
    if (!window)
        return;
    SetWindowPos(window, HWND_BOTTOM, target.left, target.top, target.width, target.height,
                 SWP_NOZORDER | SWP_NOCOPYBITS | SWP_NOACTIVATE);
}

void measureWarningLayout(const WarningWindows& windows, WarningRects& rects)
{
    measureControl(windows.dialog, windows.message, rects.message);
    measureControl(windows.dialog, windows.thirdButton, rects.thirdButton);
    measureControl(windows.dialog, windows.checkBox, rects.checkBox);
    measureControl(windows.dialog, windows.okButton, rects.okButton);
    measureControl(windows.dialog, windows.cancelButton, rects.cancelButton);
    measureControl(nullptr, windows.dialog, rects.dialog);
}

void growForLongMessage(const WarningWindows& windows, const WarningRects& rects,
                        const WarningRequest& request)
{
    WarningRects targets = rects;
    const size_t units = messageUnits(request.messageText, sizeof request.messageText / sizeof(WCHAR));
    if (!growthTargets(units, rects, targets))
        return;
    // The dialog grows downward from where its template centred it; it is not centred again.
    moveControl(windows.message, targets.message);
    moveControl(windows.dialog, targets.dialog);
    moveControl(windows.checkBox, targets.checkBox);
    moveControl(windows.okButton, targets.okButton);
    moveControl(windows.cancelButton, targets.cancelButton);
    moveControl(windows.thirdButton, targets.thirdButton);
}
