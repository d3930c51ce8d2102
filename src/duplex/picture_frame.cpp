#include "duplex/picture_frame.h"

#include <cstdint>
#include <new>
#include <utility>

#include "common/access_key.h"
#include "common/default_texts.h"
#include "common/placement.h"
#include "common/reading_direction.h"
#include "common/string_block.h"
#include "duplex/picture_fit.h"
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

// The smallest label worth drawing, in pixels of character height at 96 DPI (6 points).
constexpr int kLabelFloorAt96 = 8;

const WordPicture* wordPicture(UINT id)
{
    for (const WordPicture& picture : kWordPictures)
        if (picture.id == id)
            return &picture;
    return nullptr;
}

// The picture as the frame shows it: scaled, labelled and mirrored for `size`.
struct KeptPicture {
    bool made = false;  // also when no picture has the id: the frame stays empty
    SIZE size = {};
    bool mirrored = false;
    PictureFit fit = {};
    HDC dc = nullptr;  // holds `bitmap` while it is kept
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    HBRUSH around = nullptr;  // the dialog's, for the margin; not ours to delete
};

struct FrameState {
    WNDPROC original = nullptr;
    UINT bitmapId = 0;
    WCHAR label[kTextUnits] = {};
    bool labelRightToLeft = false;
    int fontDpi = 96;  // the DPI the frame's font was made for
    int dpi = 96;
    KeptPicture kept;
};

void release(KeptPicture& kept)
{
    if (kept.dc) {
        SelectObject(kept.dc, kept.previous);
        DeleteDC(kept.dc);
    }
    if (kept.bitmap)
        DeleteObject(kept.bitmap);
    kept = KeptPicture();
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

// `face` at another height; the caller deletes it.
HFONT fontAt(const LOGFONTW& face, int height)
{
    LOGFONTW font = face;
    font.lfHeight = height;
    font.lfWidth = 0;
    return CreateFontIndirectW(&font);
}

// The button's label as the dialog's button shows it, without its access key, in the
// dialog's font, smaller where the face is too small for it, never below the floor, and
// cut with an ellipsis inside the face when still too long.
void drawLabel(HDC target, HWND frame, const FrameState& state, const PictureRect& face)
{
    RECT box = {face.left, face.top, face.right, face.bottom};
    const UINT format = DT_SINGLELINE | DT_NOPREFIX | (state.labelRightToLeft ? DT_RTLREADING : 0);
    HFONT frameFont = reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0));
    LOGFONTW dialogFont = {};
    if (!GetObjectW(frameFont ? frameFont : GetStockObject(DEFAULT_GUI_FONT), sizeof dialogFont, &dialogFont))
        return;
    // The dialog's font was made for the DPI the frame was attached at.
    const int height = MulDiv(dialogFont.lfHeight, state.dpi, state.fontDpi);
    HFONT scaled = height != dialogFont.lfHeight || !frameFont ? fontAt(dialogFont, height) : nullptr;
    HGDIOBJ previousFont = SelectObject(target, scaled ? scaled : frameFont);
    RECT measured = box;
    DrawTextW(target, state.label, -1, &measured, format | DT_CALCRECT);
    const int fitted =
        labelFontHeight(height, measured.right - measured.left, measured.bottom - measured.top,
                        box.right - box.left, box.bottom - box.top, MulDiv(kLabelFloorAt96, state.dpi, 96));
    HFONT smaller = fitted != height ? fontAt(dialogFont, fitted) : nullptr;
    HGDIOBJ displaced = smaller ? SelectObject(target, smaller) : nullptr;
    SetBkMode(target, TRANSPARENT);
    SetTextColor(target, RGB(0, 0, 0));
    DrawTextW(target, state.label, -1, &box, format | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
    if (displaced)
        SelectObject(target, displaced);
    SelectObject(target, previousFont);
    if (smaller)
        DeleteObject(smaller);
    if (scaled)
        DeleteObject(scaled);
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

// Draws the frame's picture for kept.size into a picture of its own, which kept then
// holds. Both memory DCs are set left to right: a system may hand a compatible DC the
// paint DC's mirrored layout, and the picture is turned round here alone, by mirrorRows.
void makePicture(HDC dc, HWND frame, FrameState& state)
{
    KeptPicture& kept = state.kept;
    kept.made = true;
    HBITMAP source = LoadBitmapW(moduleInstance(), MAKEINTRESOURCEW(LOWORD(state.bitmapId)));
    if (!source)
        return;
    BITMAP shape = {};
    GetObjectW(source, sizeof(shape), &shape);
    const PictureFit fit = fitPicture(kept.size.cx, kept.size.cy, shape.bmWidth, shape.bmHeight);

    void* pixels = nullptr;
    HBITMAP picture = fit.width > 0 ? createPicture(dc, fit.width, fit.height, &pixels) : nullptr;
    HDC memory = picture ? CreateCompatibleDC(dc) : nullptr;
    HDC sourceDc = memory ? CreateCompatibleDC(dc) : nullptr;
    HGDIOBJ previous = sourceDc ? SelectObject(memory, picture) : nullptr;
    HGDIOBJ previousSource = previous ? SelectObject(sourceDc, source) : nullptr;
    if (previousSource) {
        SetLayout(memory, 0);
        SetLayout(sourceDc, 0);
        drawFitted(memory, fit, sourceDc, shape);
        SelectObject(sourceDc, previousSource);
        const WordPicture* words = wordPicture(LOWORD(state.bitmapId));
        if (words && words->face.right > words->face.left)
            drawLabel(memory, frame, state, scaleToFit(words->face, shape.bmWidth, shape.bmHeight, fit));
        GdiFlush();
        if (kept.mirrored && !words)
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

// The dialog's colour for static controls, asked once per picture made: it changes only
// with the colours or the theme, which make the picture again.
HBRUSH marginBrush(HDC dc, HWND frame)
{
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(frame), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(frame)));
    return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

// Paints the frame around the picture (all of it when there is none): the frame paints
// every one of its pixels itself.
void fillAround(HDC dc, HBRUSH brush, SIZE size, const RECT& picture)
{
    const RECT bands[4] = {{0, 0, size.cx, picture.top},
                           {0, picture.bottom, size.cx, size.cy},
                           {0, picture.top, picture.left, picture.bottom},
                           {picture.right, picture.top, size.cx, picture.bottom}};
    for (const RECT& band : bands)
        if (band.right > band.left && band.bottom > band.top)
            FillRect(dc, &band, brush);
}

void drawFrame(HWND frame, HDC dc, FrameState& state)
{
    RECT client = {};
    GetClientRect(frame, &client);
    const SIZE size = {client.right, client.bottom};
    const DWORD layout = GetLayout(dc);
    const bool mirrored = layout != GDI_ERROR && (layout & LAYOUT_RTL);
    KeptPicture& kept = state.kept;
    if (!kept.made || kept.size.cx != size.cx || kept.size.cy != size.cy || kept.mirrored != mirrored) {
        release(kept);
        kept.size = size;
        kept.mirrored = mirrored;
        makePicture(dc, frame, state);
        kept.around = marginBrush(dc, frame);
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
    fillAround(dc, kept.around, size, picture);
    if (mirrored)
        SetLayout(dc, layout);
}

// What changes the picture: it is made again at the next paint, which covers the frame.
void remake(HWND frame, FrameState& state)
{
    release(state.kept);
    InvalidateRect(frame, nullptr, FALSE);
}

// The frame's state lives in its user data: a static control leaves that slot to its
// owner, and reading it costs no trip to the window server, unlike a property, at every
// message.
FrameState* stateOf(HWND frame)
{
    return reinterpret_cast<FrameState*>(GetWindowLongPtrW(frame, GWLP_USERDATA));
}

LRESULT CALLBACK pictureFrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    FrameState* state = stateOf(frame);
    if (!state)
        return DefWindowProcW(frame, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (HDC dc = BeginPaint(frame, &paint)) {
            drawFrame(frame, dc, *state);
            EndPaint(frame, &paint);
        }
        return 0;
    }
    case WM_PRINTCLIENT: {
        drawFrame(frame, reinterpret_cast<HDC>(wParam), *state);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_UPDATEUISTATE: {
        // A static draws its text on these at once, outside any paint: the text is kept
        // for whoever reads it (a screen reader names the picture by it), never drawn.
        const LRESULT result = DefWindowProcW(frame, message, wParam, lParam);
        InvalidateRect(frame, nullptr, FALSE);
        return result;
    }
    case WM_SIZE:
    case WM_SETFONT:
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE: {
        remake(frame, *state);
        return CallWindowProcW(state->original, frame, message, wParam, lParam);
    }
    case WM_NCDESTROY: {
        const WNDPROC original = state->original;
        SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrW(frame, GWLP_USERDATA, 0);
        release(state->kept);
        delete state;
        return CallWindowProcW(original, frame, message, wParam, lParam);
    }
    default:
        return CallWindowProcW(state->original, frame, message, wParam, lParam);
    }
}

} // namespace

bool pictureWord(ResourceText& text, UINT bitmapId, WCHAR* word)
{
    if (!wordPicture(LOWORD(bitmapId)))
        return false;
    if (!text.loadString(kStringContinueButton, word))
        copyTextCut(kDefaultContinueButton, word, kTextUnits);
    parseAccessKey(word, word, kTextUnits, BracketedKey::Dropped);
    return true;
}

bool attachPicture(HWND frame, const FramePicture& picture)
{
    if (!frame || stateOf(frame))
        return false;
    auto* state = new (std::nothrow) FrameState;
    if (!state)
        return false;
    state->bitmapId = picture.bitmapId;
    if (picture.label)
        copyTextCut(picture.label, state->label, kTextUnits);
    state->labelRightToLeft = readsRightToLeft(state->label, kTextUnits, picture.rightToLeftLayout);
    state->fontDpi = state->dpi = screenDpiOf(frame);
    SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    state->original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pictureFrameProc)));
    if (!state->original) {
        SetWindowLongPtrW(frame, GWLP_USERDATA, 0);
        delete state;
        return false;
    }
    InvalidateRect(frame, nullptr, FALSE);
    return true;
}

void changePictureDpi(HWND frame, int dpi)
{
    FrameState* state = stateOf(frame);
    if (!state || dpi <= 0)
        return;
    state->dpi = dpi;
    remake(frame, *state);
}
