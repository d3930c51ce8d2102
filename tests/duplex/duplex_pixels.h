// Reading the pictures back: from the screen, and from the library's own bitmaps.
#ifndef TESTS_DUPLEX_PIXELS_H
#define TESTS_DUPLEX_PIXELS_H

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "duplex/picture_fit.h"

// Pixels as 0x00RRGGBB, row by row from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> values;

    uint32_t at(int x, int y) const { return values[static_cast<size_t>(y) * width + x]; }
};

inline Pixels readPixels(HDC source, int x, int y, int width, int height)
{
    Pixels pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC memory = CreateCompatibleDC(source);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib) {
        HGDIOBJ previous = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
        GdiFlush();
        pixels.width = width;
        pixels.height = height;
        const auto* first = static_cast<const uint32_t*>(bits);
        pixels.values.assign(first, first + static_cast<size_t>(width) * height);
        for (uint32_t& value : pixels.values)
            value &= 0xFFFFFF;
        SelectObject(memory, previous);
        DeleteObject(dib);
    }
    DeleteDC(memory);
    return pixels;
}

// What a window has drawn, read from its own DC in screen order, with nothing waiting
// for the screen to catch up.
inline Pixels drawnPixels(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    SetLayout(dc, 0);
    Pixels pixels = readPixels(dc, 0, 0, client.right, client.bottom);
    ReleaseDC(window, dc);
    return pixels;
}

// What the screen shows inside a window's rectangle.
inline Pixels screenPixels(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    HDC screen = GetDC(nullptr);
    Pixels pixels = readPixels(screen, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// One of the library's pictures, as the screen would show it.
inline Pixels bitmapPixels(HMODULE library, int id)
{
    Pixels pixels;
    HBITMAP bitmap = LoadBitmapW(library, MAKEINTRESOURCEW(id));
    if (!bitmap)
        return pixels;
    BITMAP shape = {};
    GetObjectW(bitmap, sizeof(shape), &shape);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    pixels = readPixels(memory, 0, 0, shape.bmWidth, shape.bmHeight);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return pixels;
}

// Where the library puts a picture in a frame of the screen, in screen-direction pixels:
// at the leading corner or centred, mirrored dialogs leading from the right.
inline RECT placedPicture(int frameWidth, int frameHeight, const Pixels& bitmap, bool fromRight)
{
    const PictureFit fit = fitPicture(frameWidth, frameHeight, bitmap.width, bitmap.height);
    const int left = fromRight ? frameWidth - fit.x - fit.width : fit.x;
    return {left, fit.y, left + fit.width, fit.y + fit.height};
}

// How far the picture a frame shows is from the bitmap placed there by the rule, as the
// largest difference of one colour channel (0 to 255; -1 when nothing is there to
// compare). Drawn as made, every pixel must match. Scaled, both are cut into the same
// grid of cells and the cell averages compared, which lets the scaling's smoothing pass
// while a squashed, shifted, cut or wrongly mirrored picture stands out. In a mirrored
// dialog the picture is placed from the right and, unless it carries words, turned
// round. Bitmap pixels inside `skip` count on neither side.
struct Mirroring {
    bool dialog = false;
    bool picture = false;
};

inline int pictureDistance(const Pixels& frame, const Pixels& bitmap, Mirroring mirroring, RECT skip = {})
{
    if (frame.values.empty() || bitmap.values.empty())
        return -1;
    const bool mirrored = mirroring.picture;
    const RECT placed = placedPicture(frame.width, frame.height, bitmap, mirroring.dialog);
    const int width = placed.right - placed.left, height = placed.bottom - placed.top;
    if (width <= 0 || height <= 0 || placed.left < 0 || placed.top < 0 || placed.right > frame.width ||
        placed.bottom > frame.height)
        return -1;  // a picture placed beyond its frame shows nowhere whole
    // The bitmap pixel that frame pixel (x, y) of the placed picture shows.
    const auto source = [&](int x, int y) {
        const int across = mirrored ? placed.right - 1 - x : x - placed.left;
        return POINT{across * bitmap.width / width, (y - placed.top) * bitmap.height / height};
    };
    const auto skipped = [&](POINT p) { return PtInRect(&skip, p) != FALSE; };
    const auto channelGap = [](uint32_t a, uint32_t b) {
        int worst = 0;
        for (int channel = 0; channel < 3; ++channel) {
            const int gap = std::abs(static_cast<int>((a >> (8 * channel)) & 0xFF) -
                                     static_cast<int>((b >> (8 * channel)) & 0xFF));
            worst = gap > worst ? gap : worst;
        }
        return worst;
    };
    int worst = 0;
    if (width == bitmap.width && height == bitmap.height) {
        for (int y = placed.top; y < placed.bottom; ++y)
            for (int x = placed.left; x < placed.right; ++x) {
                const POINT p = source(x, y);
                if (!skipped(p)) {
                    const int gap = channelGap(frame.at(x, y), bitmap.at(p.x, p.y));
                    worst = gap > worst ? gap : worst;
                }
            }
        return worst;
    }
    constexpr int kColumns = 6, kRows = 4;
    long long sums[2][kRows][kColumns][4] = {};  // [frame, bitmap][row][column][channels, count]
    const auto add = [&](int side, POINT cellOf, uint32_t value) {
        const int column = cellOf.x * kColumns / bitmap.width, row = cellOf.y * kRows / bitmap.height;
        for (int channel = 0; channel < 3; ++channel)
            sums[side][row][column][channel] += (value >> (8 * channel)) & 0xFF;
        ++sums[side][row][column][3];
    };
    for (int y = placed.top; y < placed.bottom; ++y)
        for (int x = placed.left; x < placed.right; ++x)
            if (!skipped(source(x, y)))
                add(0, source(x, y), frame.at(x, y));
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            if (!skipped({x, y}))
                add(1, {x, y}, bitmap.at(x, y));
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column) {
            const long long* shown = sums[0][row][column];
            const long long* made = sums[1][row][column];
            if (!shown[3] || !made[3])
                continue;
            for (int channel = 0; channel < 3; ++channel) {
                const int gap = static_cast<int>(std::llabs(shown[channel] / shown[3] - made[channel] / made[3]));
                worst = gap > worst ? gap : worst;
            }
        }
    return worst;
}

// A frame against its picture: the distance, and how far it may be: nothing when the
// picture is drawn as made, a few levels of cell average when scaled.
struct PictureCheck {
    int distance = -1;
    int allowed = 0;
    bool shown() const { return distance >= 0 && distance <= allowed; }
};

inline PictureCheck checkPicture(const Pixels& frame, const Pixels& bitmap, Mirroring mirrored, RECT skip = {})
{
    const PictureFit fit = fitPicture(frame.width, frame.height, bitmap.width, bitmap.height);
    const bool asMade = fit.width == bitmap.width && fit.height == bitmap.height;
    return {pictureDistance(frame, bitmap, mirrored, skip), asMade ? 0 : 16};
}

// Waits for the frame to show the picture; the last check on time-out.
inline PictureCheck waitForPicture(HWND frame, const Pixels& bitmap, Mirroring mirrored, RECT skip = {},
                                   DWORD timeoutMs = 2000)
{
    // The frame's pending paint first: the screen may still show an earlier dialog there.
    RedrawWindow(GetParent(frame), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const DWORD start = GetTickCount();
    PictureCheck check;
    do {
        check = checkPicture(screenPixels(frame), bitmap, mirrored, skip);
        if (check.shown())
            break;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return check;
}

#endif
