#include <utility>

#include "duplex/duplex_dialog.h"
#include "module.h"

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
    if (previous)
        BitBlt(dc, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y, memory, topLeft.x,
               topLeft.y, SRCCOPY);
    EndPaint(control, &paint);

    if (previous)
        SelectObject(memory, previous);
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
}
