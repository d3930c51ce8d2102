#include <utility>

#include "duplex/duplex_dialog.h"
#include "duplex/picture_fit.h"
#include "module.h"

namespace {

// HALFTONE averages the pixels it merges, so thin lines survive shrinking and edges stay
// smooth when grown; it wants the brush origin set after the mode. The paint DC gets both
// back as it had them.
void drawScaled(HDC dc, const RECT& target, HDC memory, const BITMAP& picture)
{
    const int previousMode = SetStretchBltMode(dc, HALFTONE);
    POINT previousOrigin = {};
    SetBrushOrgEx(dc, 0, 0, &previousOrigin);
    StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
               memory, 0, 0, picture.bmWidth, picture.bmHeight, SRCCOPY);
    SetBrushOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
    SetStretchBltMode(dc, previousMode);
}

} // namespace

void paintPanel(HWND dialog, int controlId, UINT bitmapId, int rightToLeft)
{
    HWND control = GetDlgItem(dialog, controlId);
    RECT frame = {};
    GetWindowRect(control, &frame);

    PAINTSTRUCT paint;
    HDC dc = BeginPaint(control, &paint);
    POINT topLeft = {frame.left, frame.top};
    POINT bottomRight = {frame.right, frame.bottom};
    ScreenToClient(control, &topLeft);
    ScreenToClient(control, &bottomRight);
    // A mirrored control's x-axis runs from its right-hand edge: its left screen edge
    // comes out as the larger x.
    if (rightToLeft)
        std::swap(topLeft.x, bottomRight.x);

    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = LoadBitmapW(moduleInstance(), MAKEINTRESOURCEW(LOWORD(bitmapId)));
    // Without a picture of that id, or without it in the memory DC, the frame stays empty
    // rather than showing whatever the memory DC's stock bitmap holds.
    HGDIOBJ previous = bitmap ? SelectObject(memory, bitmap) : nullptr;
    if (previous) {
        BITMAP picture = {};
        GetObjectW(bitmap, sizeof(picture), &picture);
        if (pictureScalesToFrame(bottomRight.x - topLeft.x, bottomRight.y - topLeft.y,
                                 picture.bmWidth, picture.bmHeight))
            drawScaled(dc, {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}, memory, picture);
        else
            BitBlt(dc, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y, memory, topLeft.x,
                   topLeft.y, SRCCOPY);
    }
    EndPaint(control, &paint);

    if (previous)
        SelectObject(memory, previous);
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
}
