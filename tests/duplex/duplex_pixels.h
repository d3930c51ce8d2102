// Reading the pictures back: from the screen, and from the library's own bitmaps.
#ifndef TESTS_DUPLEX_PIXELS_H
#define TESTS_DUPLEX_PIXELS_H

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

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

// How the picture in a frame compares with the bitmap: over the part they share, how many
// pixels differ. Unmirrored, the picture starts at the frame's top-left corner. Mirrored,
// it is flipped left to right; where the flipped block lands when the frame is wider than
// the picture depends on how the system clips a mirrored blit to its source (Wine keeps
// it at the frame's left edge), so both edges are tried and the better one counts.
struct PictureMatch {
    int comparedWidth = 0;
    int comparedHeight = 0;
    int differing = 0;
};

inline PictureMatch matchPicture(const Pixels& frame, const Pixels& bitmap, bool mirrored)
{
    PictureMatch best;
    best.comparedWidth = frame.width < bitmap.width ? frame.width : bitmap.width;
    best.comparedHeight = frame.height < bitmap.height ? frame.height : bitmap.height;
    best.differing = -1;
    const int rightmost[2] = {frame.width - 1, best.comparedWidth - 1};
    for (int edge = 0; edge < (mirrored ? 2 : 1); ++edge) {
        int differing = 0;
        for (int y = 0; y < best.comparedHeight; ++y)
            for (int x = 0; x < best.comparedWidth; ++x) {
                const int frameX = mirrored ? rightmost[edge] - x : x;
                if (frame.at(frameX, y) != bitmap.at(x, y))
                    ++differing;
            }
        if (best.differing < 0 || differing < best.differing)
            best.differing = differing;
    }
    if (frame.values.empty() || bitmap.values.empty())
        best.differing = -1;
    return best;
}

// How far a frame's picture is from the bitmap scaled to the whole frame: both are cut
// into the same grid of cells, each cell averaged, and the largest difference of one
// colour channel between matching cells is the result (-1 when either is empty). Cell
// averages let any smoothing the scaling does pass, while a picture left unscaled in a
// corner, or not mirrored where it should be, stands out.
inline int scaledPictureDistance(const Pixels& frame, const Pixels& bitmap, bool mirrored)
{
    constexpr int kColumns = 6, kRows = 4;
    if (frame.values.empty() || bitmap.values.empty())
        return -1;
    const auto average = [](const Pixels& pixels, int column, int row, int channel) {
        const int left = column * pixels.width / kColumns, right = (column + 1) * pixels.width / kColumns;
        const int top = row * pixels.height / kRows, bottom = (row + 1) * pixels.height / kRows;
        long long sum = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                sum += (pixels.at(x, y) >> (8 * channel)) & 0xFF;
        const long long count = static_cast<long long>(right - left) * (bottom - top);
        return count ? static_cast<int>(sum / count) : 0;
    };
    int worst = 0;
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            for (int channel = 0; channel < 3; ++channel) {
                const int shown = average(frame, mirrored ? kColumns - 1 - column : column, row, channel);
                const int difference = std::abs(shown - average(bitmap, column, row, channel));
                worst = difference > worst ? difference : worst;
            }
    return worst;
}

// Waits for the frame to show the picture; the last comparison on time-out.
inline PictureMatch waitForPicture(HWND frame, const Pixels& bitmap, bool mirrored,
                                   DWORD timeoutMs = 2000)
{
    const DWORD start = GetTickCount();
    PictureMatch match;
    do {
        match = matchPicture(screenPixels(frame), bitmap, mirrored);
        if (match.differing == 0)
            break;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return match;
}

#endif
