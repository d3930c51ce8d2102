#include "duplex/duplex_panels.h"

#include <cstdint>
#include <utility>

#include "common/default_texts.h"
#include "common/string_block.h"
#include "module.h"
#include "printdialogs.h"

namespace {

// The pictures that carry letters or digits. They are never mirrored, so that their
// words read forwards in a mirrored dialog too. A face is where a picture shows the
// dialog's Continue button: tools/bitmaps leaves it empty and the label is written on it
// here, in the dialog's words. Picture pixels, right and bottom exclusive.
struct WordPicture {
    UINT id;
    PictureRect face;
};
constexpr WordPicture kWordPictures[] = {
    {122, {18, 40, 137, 69}},
};

const WordPicture* wordPicture(UINT id)
{
    for (const WordPicture& picture : kWordPictures)
        if (picture.id == id)
            return &picture;
    return nullptr;
}

void loadButtonWord(ResourceText& text, WCHAR* word)
{
    if (!text.loadString(kStringContinueButton, word))
        copyTextCut(kDefaultContinueButton, word, kTextUnits);
    removeMnemonic(word);
}

// HALFTONE averages the pixels it merges, so thin lines survive shrinking and edges stay
// smooth when grown; it wants the brush origin set after the mode.
void drawFitted(HDC target, const PictureFit& fit, HDC source, const BITMAP& shape)
{
    if (fit.width == shape.bmWidth && fit.height == shape.bmHeight) {
        BitBlt(target, 0, 0, fit.width, fit.height, source, 0, 0, SRCCOPY);
        return;
    }
    SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr);
    StretchBlt(target, 0, 0, fit.width, fit.height, source, 0, 0, shape.bmWidth, shape.bmHeight, SRCCOPY);
}

// The button's label as the dialog's button shows it, without its access key, in the
// dialog's font, made smaller where the face is too narrow for it.
void drawLabel(HDC target, HWND dialog, ResourceText& text, const PictureRect& face)
{
    WCHAR label[kTextUnits];
    loadButtonWord(text, label);

    RECT box = {face.left, face.top, face.right, face.bottom};
    const UINT format = DT_SINGLELINE | DT_NOPREFIX | (text.rightToLeft() ? DT_RTLREADING : 0);
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    HGDIOBJ previousFont = dialogFont ? SelectObject(target, dialogFont) : nullptr;
    HFONT smaller = nullptr;
    RECT measured = box;
    DrawTextW(target, label, -1, &measured, format | DT_CALCRECT);
    const LONG needed = measured.right - measured.left, room = box.right - box.left;
    LOGFONTW font = {};
    if (needed > room && dialogFont && GetObjectW(dialogFont, sizeof font, &font)) {
        font.lfHeight = MulDiv(font.lfHeight, room, needed);
        font.lfWidth = 0;
        smaller = CreateFontIndirectW(&font);
    }
    HGDIOBJ displaced = smaller ? SelectObject(target, smaller) : nullptr;
    SetBkMode(target, TRANSPARENT);
    SetTextColor(target, RGB(0, 0, 0));
    DrawTextW(target, label, -1, &box, format | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
    if (displaced)
        SelectObject(target, displaced);
    if (previousFont)
        SelectObject(target, previousFont);
    if (smaller)
        DeleteObject(smaller);
}

// Turns each row of a 32-bit top-down picture around.
void mirrorRows(uint32_t* pixels, int width, int height)
{
    for (int y = 0; y < height; ++y) {
        uint32_t* row = pixels + static_cast<size_t>(y) * width;
        for (int left = 0, right = width - 1; left < right; ++left, --right)
            std::swap(row[left], row[right]);
    }
}

HBITMAP createPicture(HDC dc, int width, int height, void** pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, pixels, nullptr, 0);
}

// Draws picture `bitmapId` for a frame of kept.frame's size into a picture of its own,
// which `kept` then holds.
void makePanelPicture(HDC dc, HWND dialog, UINT bitmapId, ResourceText& text, bool mirrored,
                      PanelPicture& kept)
{
    kept.made = true;
    HBITMAP source = LoadBitmapW(moduleInstance(), MAKEINTRESOURCEW(LOWORD(bitmapId)));
    if (!source)
        return;
    BITMAP shape = {};
    GetObjectW(source, sizeof(shape), &shape);
    const PictureFit fit = fitPicture(kept.frame.cx, kept.frame.cy, shape.bmWidth, shape.bmHeight);

    void* pixels = nullptr;
    HBITMAP picture = fit.width > 0 ? createPicture(dc, fit.width, fit.height, &pixels) : nullptr;
    HDC memory = picture ? CreateCompatibleDC(dc) : nullptr;
    HDC sourceDc = memory ? CreateCompatibleDC(dc) : nullptr;
    HGDIOBJ previous = sourceDc ? SelectObject(memory, picture) : nullptr;
    HGDIOBJ previousSource = previous ? SelectObject(sourceDc, source) : nullptr;
    if (previousSource) {
        SetLayout(memory, 0);
        drawFitted(memory, fit, sourceDc, shape);
        SelectObject(sourceDc, previousSource);
        const WordPicture* words = wordPicture(LOWORD(bitmapId));
        if (words && words->face.right > words->face.left)
            drawLabel(memory, dialog, text, scaleToFit(words->face, shape.bmWidth, shape.bmHeight, fit));
        GdiFlush();
        if (mirrored && !words)
            mirrorRows(static_cast<uint32_t*>(pixels), fit.width, fit.height);
        kept.fit = fit;
        kept.dc = memory;
        kept.bitmap = picture;
        kept.previous = previous;
    } else {
        if (previous)
            SelectObject(memory, previous);
        if (memory)
            DeleteDC(memory);
        if (picture)
            DeleteObject(picture);
    }
    if (sourceDc)
        DeleteDC(sourceDc);
    DeleteObject(source);
}

// Paints the frame around the picture (all of it when there is none) as the frame itself
// would: the dialog paints the frames, so nothing else does, and an uncovered margin
// would otherwise keep whatever lay over it.
void fillAround(HDC dc, HWND dialog, HWND control, SIZE frame, const RECT& picture)
{
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(dialog, WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(control)));
    if (!brush)
        brush = GetSysColorBrush(COLOR_BTNFACE);
    const RECT bands[4] = {{0, 0, frame.cx, picture.top},
                           {0, picture.bottom, frame.cx, frame.cy},
                           {0, picture.top, picture.left, picture.bottom},
                           {picture.right, picture.top, frame.cx, picture.bottom}};
    for (const RECT& band : bands)
        if (band.right > band.left && band.bottom > band.top)
            FillRect(dc, &band, brush);
}

} // namespace

void paintPanel(HWND dialog, int controlId, UINT bitmapId, ResourceText& text, PanelPicture& kept)
{
    HWND control = GetDlgItem(dialog, controlId);
    RECT frame = {};
    GetWindowRect(control, &frame);
    const SIZE size = {frame.right - frame.left, frame.bottom - frame.top};

    PAINTSTRUCT paint;
    HDC dc = BeginPaint(control, &paint);
    const DWORD layout = GetLayout(dc);
    const bool mirrored = layout != GDI_ERROR && (layout & LAYOUT_RTL);
    if (!kept.made || kept.frame.cx != size.cx || kept.frame.cy != size.cy) {
        releasePanelPicture(kept);
        kept.frame = size;
        makePanelPicture(dc, dialog, bitmapId, text, mirrored, kept);
    }
    // The kept picture is already as the screen shows it: with the mirrored layout off
    // for the blit, the system neither turns it round nor moves it.
    if (mirrored)
        SetLayout(dc, 0);
    RECT picture = {};
    if (kept.dc) {
        picture.left = mirrored ? size.cx - kept.fit.x - kept.fit.width : kept.fit.x;
        picture.top = kept.fit.y;
        picture.right = picture.left + kept.fit.width;
        picture.bottom = picture.top + kept.fit.height;
        BitBlt(dc, picture.left, picture.top, kept.fit.width, kept.fit.height, kept.dc, 0, 0, SRCCOPY);
    }
    fillAround(dc, dialog, control, size, picture);
    if (mirrored)
        SetLayout(dc, layout);
    EndPaint(control, &paint);
}

bool pictureWord(ResourceText& text, UINT bitmapId, WCHAR* word)
{
    if (!wordPicture(LOWORD(bitmapId)))
        return false;
    loadButtonWord(text, word);
    return true;
}

void releasePanelPicture(PanelPicture& kept)
{
    if (kept.dc) {
        SelectObject(kept.dc, kept.previous);
        DeleteDC(kept.dc);
    }
    if (kept.bitmap)
        DeleteObject(kept.bitmap);
    kept = PanelPicture();
}
