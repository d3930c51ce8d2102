#include "screenshot.h"

bool captureWindow(HWND window, RgbImage& image)
{
    // Painting happens on the dialog's own thread; UPDATENOW waits for it.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    Sleep(200);

    RECT rect = {};
    if (!GetWindowRect(window, &rect))
        return false;
    image.width = rect.right - rect.left;
    image.height = rect.bottom - rect.top;
    if (image.width <= 0 || image.height <= 0)
        return false;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (memory && bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, image.width, image.height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        SelectObject(memory, previous);
    }
    if (copied) {
        const auto* bgra = static_cast<const uint8_t*>(bits);
        image.pixels.resize(static_cast<size_t>(image.width) * image.height * 3);
        for (size_t i = 0, count = static_cast<size_t>(image.width) * image.height; i < count; ++i) {
            image.pixels[i * 3] = bgra[i * 4 + 2];
            image.pixels[i * 3 + 1] = bgra[i * 4 + 1];
            image.pixels[i * 3 + 2] = bgra[i * 4];
        }
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return copied;
}
