#include <gtest/gtest.h>

#include <map>
#include <set>

#include "common/access_key.h"
#include "duplex/picture_fit.h"
#include "duplex_harness.h"
#include "duplex_pixels.h"
#include "import_ledger.h"
#include "import_patch.h"

namespace {

const int kFrames[3] = {IDC_DUPLEX_STEP1_PICTURE, IDC_DUPLEX_STEP2_PICTURE, IDC_DUPLEX_STEP3_PICTURE};

// The button face of picture 122, which the library labels: tools/bitmaps leaves it empty.
constexpr RECT kFace122 = {18, 40, 137, 69};

// How a picture appears in a dialog of that direction: only pictures with words keep theirs.
Mirroring mirroringOf(int id, bool rightToLeft)
{
    return {rightToLeft, rightToLeft && id != 122};
}

DuplexRequest pictureRequest(UINT32 step1, UINT32 step2, UINT32 step3)
{
    DuplexRequest request = duplexRequest(nullptr, 0);
    request.step1BitmapId = step1;
    request.step2BitmapId = step2;
    request.step3BitmapId = step3;
    return request;
}

// Checks each frame against the picture it should show once the dialog is up.
std::vector<PictureCheck> framesAgainst(const DuplexRequest& request, const int (&ids)[3], bool rightToLeft)
{
    std::vector<PictureCheck> checks;
    showDuplex(request, [&](HWND dialog) {
        for (int i = 0; i < 3; ++i)
            checks.push_back(waitForPicture(GetDlgItem(dialog, kFrames[i]), bitmapPixels(libraryModule(), ids[i]),
                                            mirroringOf(ids[i], rightToLeft), ids[i] == 122 ? kFace122 : RECT{}));
    });
    return checks;
}

void expectWholePicture(const PictureCheck& check, int id, const char* what)
{
    EXPECT_TRUE(check.shown()) << what << ": picture " << id << " at distance " << check.distance
                               << ", allowed " << check.allowed;
}

} // namespace

TEST(DuplexPanels, EachFrameShowsItsPictureInEveryFormat)
{
    // 8 bits with the common colour table, 24 bits at 152 x 98, 4 bits with its own.
    const int ids[3] = {105, 154, 147};
    const std::vector<PictureCheck> checks = framesAgainst(pictureRequest(105, 154, 147), ids, false);
    ASSERT_EQ(3u, checks.size());
    for (int i = 0; i < 3; ++i)
        expectWholePicture(checks[i], ids[i], "left to right");
}

TEST(DuplexPanels, OnlyTheLowSixteenBitsOfAnIdNameThePicture)
{
    const int ids[3] = {153, 105, 122};
    const std::vector<PictureCheck> checks = framesAgainst(pictureRequest(153, 0x10069, 122), ids, false);
    ASSERT_EQ(3u, checks.size());
    expectWholePicture(checks[1], 105, "step 2 names 0x10069");
}

TEST(DuplexPanels, AnAbsentPictureLeavesOnlyItsFrameEmpty)
{
    Pixels empty;
    std::vector<PictureCheck> others;
    showDuplex(pictureRequest(110, 124, 151), [&](HWND dialog) {
        others.push_back(waitForPicture(GetDlgItem(dialog, kFrames[0]), bitmapPixels(libraryModule(), 110), {}));
        others.push_back(waitForPicture(GetDlgItem(dialog, kFrames[2]), bitmapPixels(libraryModule(), 151), {}));
        empty = screenPixels(GetDlgItem(dialog, kFrames[1]));
    });
    ASSERT_EQ(2u, others.size());
    expectWholePicture(others[0], 110, "step 1 beside an absent picture");
    expectWholePicture(others[1], 151, "step 3 beside an absent picture");
    ASSERT_FALSE(empty.values.empty());
    int unlike = 0;
    for (uint32_t value : empty.values)
        unlike += value != empty.values[0];
    EXPECT_EQ(0, unlike) << "frame of picture 124 is one plain colour, first pixel "
                         << std::hex << empty.values[0];
}

TEST(DuplexPanels, MirroredTemplateMirrorsThePicturesButNotTheirWords)
{
    UserLanguage language(0x0409);
    ASSERT_TRUE(language.applied());
    for (LANGID rightToLeft : {0x0401, 0x040D}) {
        language.set(rightToLeft);
        const int ids[3] = {105, 154, 122};
        const std::vector<PictureCheck> checks = framesAgainst(pictureRequest(105, 154, 122), ids, true);
        ASSERT_EQ(3u, checks.size());
        for (int i = 0; i < 3; ++i)
            expectWholePicture(checks[i], ids[i], rightToLeft == 0x0401 ? "Arabic" : "Hebrew");
    }
}

TEST(DuplexPanels, APictureFitsItsFrameAtOneScale)
{
    struct Case {
        int frameWidth, frameHeight, pictureWidth, pictureHeight;
        PictureFit fit;
    };
    const Case cases[] = {
        {155, 100, 155, 100, {0, 0, 155, 100}},   // the same size
        {184, 101, 155, 100, {0, 0, 155, 100}},   // a mirrored 100 % frame: x 1.19, y 1.01
        {158, 101, 152, 98, {0, 0, 152, 98}},     // picture 154 in a 100 % frame
        {174, 112, 155, 100, {0, 0, 155, 100}},   // 1.12: within an eighth
        {175, 113, 155, 100, {0, 0, 175, 113}},   // 1.129: beyond, grown to fill
        {158, 93, 155, 100, {7, 0, 144, 93}},     // too low by 7 rows: shrunk, never cut
        {236, 132, 155, 100, {15, 0, 205, 132}},  // a 150 % frame: x 1.52, y 1.32
        {400, 150, 155, 100, {83, 0, 233, 150}},  // wider than tall
        {130, 300, 155, 100, {0, 108, 130, 84}},  // taller than wide
        {144, 90, 128, 80, {0, 0, 128, 80}},     // exactly 1 1/8: still as made
        {0, 0, 155, 100, {0, 0, 0, 0}},
        {155, 100, 0, 100, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const PictureFit fit = fitPicture(c.frameWidth, c.frameHeight, c.pictureWidth, c.pictureHeight);
        EXPECT_TRUE(fit.x == c.fit.x && fit.y == c.fit.y && fit.width == c.fit.width && fit.height == c.fit.height)
            << "frame " << c.frameWidth << " x " << c.frameHeight << ", picture " << c.pictureWidth << " x "
            << c.pictureHeight << ": at " << fit.x << ", " << fit.y << ", " << fit.width << " x " << fit.height;
    }
    // Picture 122's face in a centred fit: from the fitted picture's own left, not the frame's.
    const PictureRect face = scaleToFit({18, 40, 137, 69}, 155, 100, {15, 0, 205, 132});
    EXPECT_TRUE(face.left == 24 && face.top == 53 && face.right == 181 && face.bottom == 91)
        << "face at " << face.left << ", " << face.top << " to " << face.right << ", " << face.bottom;
}

TEST(DuplexPanels, ALabelShrinksToItsFaceButNoFurtherThanTheFloor)
{
    struct Case {
        int height, neededWidth, neededHeight, roomWidth, roomHeight, floor, fitted;
    };
    const Case cases[] = {
        {-11, 100, 13, 119, 29, 8, -11},  // fits: unchanged
        {-11, 238, 13, 119, 29, 8, -8},   // twice too wide: half, held at the floor
        {-22, 180, 26, 120, 29, 8, -14},  // too wide: two thirds
        {-40, 100, 48, 119, 29, 40, -24}, // too high: by the height; the floor no taller than the face
        {-11, 5000, 13, 119, 29, 8, -8},  // far too long: the floor, then cut
        {0, 500, 16, 119, 29, 8, -8},     // the default size is no smallest size
        {12, 240, 14, 120, 29, 8, 8},     // a cell height stays positive
        {-6, 300, 8, 119, 29, 8, -6},     // already below the floor: never grown
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fitted, labelFontHeight(c.height, c.neededWidth, c.neededHeight, c.roomWidth, c.roomHeight,
                                            c.floor))
            << "height " << c.height << ", " << c.neededWidth << " x " << c.neededHeight << " into " << c.roomWidth
            << " x " << c.roomHeight;
}

TEST(DuplexPanels, OneParserReadsEveryAccessKey)
{
    struct Case {
        const wchar_t* label;
        BracketedKey bracketed;
        const wchar_t* shown;
        wchar_t key;
    };
    const Case cases[] = {
        {L"C&ontinue", BracketedKey::Dropped, L"Continue", L'o'},
        {L"\u7d9a\u884c(&C)", BracketedKey::Dropped, L"\u7d9a\u884c", L'C'},
        {L"\u7d9a\u884c (&C)", BracketedKey::Dropped, L"\u7d9a\u884c", L'C'},
        {L"\u7d9a\u884c(&C)", BracketedKey::Drawn, L"\u7d9a\u884c(C)", L'C'},
        {L"Print && go", BracketedKey::Dropped, L"Print & go", 0},
        {L"&&&x", BracketedKey::Drawn, L"&x", L'x'},
        {L"R&D &Go", BracketedKey::Drawn, L"RD Go", L'D'},
        {L"&", BracketedKey::Dropped, L"", 0},
        {L"(&&)", BracketedKey::Dropped, L"(&)", 0},
        {L"", BracketedKey::Drawn, L"", 0},
    };
    for (const Case& c : cases) {
        wchar_t shown[32];
        const wchar_t key = parseAccessKey(c.label, shown, 32, c.bracketed);
        EXPECT_EQ(std::wstring(c.shown), std::wstring(shown)) << testing::PrintToString(std::wstring(c.label));
        EXPECT_EQ(c.key, key) << testing::PrintToString(std::wstring(c.label));
    }
    wchar_t cut[4];
    parseAccessKey(L"&Continue", cut, 4, BracketedKey::Drawn);
    EXPECT_EQ(std::wstring(L"Con"), std::wstring(cut)) << "cut to its buffer";
}

namespace {

std::atomic<int> gBitmapLoads{0};
decltype(&LoadBitmapW) gRealLoadBitmap = nullptr;
HBITMAP WINAPI countingLoadBitmap(HINSTANCE instance, LPCWSTR name)
{
    ++gBitmapLoads;
    return gRealLoadBitmap(instance, name);
}


BOOL CALLBACK hideAllButFrames(HWND control, LPARAM)
{
    const int id = GetDlgCtrlID(control);
    if (id != kFrames[0] && id != kFrames[1] && id != kFrames[2])
        ShowWindow(control, SW_HIDE);
    return TRUE;
}

// What a frame drew against the picture placed by the rule: whole, a plain margin around
// it, and for picture 122 a label on its face.
struct FrameCheck {
    PictureCheck picture;
    int unlikeMargin = 0;  // margin pixels unlike the dialog's colour
    int labelInk = -1;     // face pixels unlike the face's grey; -1 when not 122
};

FrameCheck checkFrame(HWND frame, int id, bool rightToLeft)
{
    FrameCheck result;
    const Pixels shown = drawnPixels(frame);
    const Pixels bitmap = bitmapPixels(libraryModule(), id);
    result.picture = checkPicture(shown, bitmap, mirroringOf(id, rightToLeft), id == 122 ? kFace122 : RECT{});
    const RECT placed = placedPicture(shown.width, shown.height, bitmap, rightToLeft);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const uint32_t plain = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    // A frame wider than the dialog shows only its leading part.
    const int from = rightToLeft ? std::max(0, shown.width - 500) : 0, to = std::min(shown.width, from + 500);
    for (int y = 0; y < shown.height; ++y)
        for (int x = from; x < to; ++x)
            if (!PtInRect(&placed, POINT{x, y}))
                result.unlikeMargin += shown.at(x, y) != plain;
    if (id == 122 && placed.right > placed.left) {
        const PictureFit fit = fitPicture(shown.width, shown.height, bitmap.width, bitmap.height);
        const PictureRect at = scaleToFit({kFace122.left, kFace122.top, kFace122.right, kFace122.bottom},
                                          bitmap.width, bitmap.height, fit);
        result.labelInk = 0;
        for (int y = placed.top + at.top + 2; y < placed.top + at.bottom - 2; ++y)
            for (int x = placed.left + at.left + 2; x < placed.left + at.right - 2; ++x)
                result.labelInk += shown.at(x, y) != bitmap.at(kFace122.left + 1, kFace122.top + 1);
    }
    return result;
}

// Blackens what a frame shows without telling it: whatever its next paint leaves out
// stays black.
void scribble(HWND frame)
{
    HDC dc = GetDC(frame);
    RECT client = {};
    GetClientRect(frame, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(frame, dc);
}

// WM_DPICHANGED as the system sends it: the new DPI twice, and the dialog's rectangle
// scaled to it from `dpiNow`, growing away from step 1 (a mirrored dialog keeps its
// controls' distance from its right edge).
RECT sendDpiChange(HWND dialog, int dpi, bool rightToLeft, int& dpiNow)
{
    RECT now = {};
    GetWindowRect(dialog, &now);
    const int width = MulDiv(now.right - now.left, dpi, dpiNow), height = MulDiv(now.bottom - now.top, dpi, dpiNow);
    dpiNow = dpi;
    const RECT suggested = rightToLeft ? RECT{now.right - width, now.top, now.right, now.top + height}
                                       : RECT{now.left, now.top, now.left + width, now.top + height};
    SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    return suggested;
}

void resizeFirstFrame(HWND dialog, int width, int height)
{
    ShowWindow(GetDlgItem(dialog, kFrames[1]), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, kFrames[2]), SW_HIDE);
    // At the client's leading corner, where most of it shows.
    SetWindowPos(GetDlgItem(dialog, kFrames[0]), nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Runs work on the dialog's own thread, where the system delivers every event, and
// returns once it is done.
constexpr UINT kRunOnDialogThread = WM_APP + 41;
WNDPROC gDialogProc = nullptr;

LRESULT CALLBACK runningDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunOnDialogThread) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    return CallWindowProcW(gDialogProc, dialog, message, wParam, lParam);
}

void onDialogThread(HWND dialog, const std::function<void()>& work)
{
    SendMessageW(dialog, kRunOnDialogThread, 0, reinterpret_cast<LPARAM>(&work));
}

} // namespace

TEST(DuplexPanels, EveryFrameDrawsItsPictureAfterAnyInvalidation)
{
    struct Row {
        const char* event;
        std::function<void(HWND dialog)> fire;
        int frames;     // how many frames, from step 1, stay to be checked
        bool pictures;  // false: too small or too wide to show one, the frame plainly empty
        bool kept;      // drawn from the kept pictures, nothing loaded
    };
    const auto eachFrame = [](HWND dialog, const std::function<void(HWND)>& act) {
        for (int id : kFrames)
            act(GetDlgItem(dialog, id));
    };
    RECT suggested = {}, taken = {};
    bool rightToLeft = false;
    int dpiNow = 96;
    const auto dpiTo = [&](int dpi) {
        return [&, dpi](HWND d) {
            suggested = sendDpiChange(d, dpi, rightToLeft, dpiNow);
            GetWindowRect(d, &taken);
        };
    };
    const Row rows[] = {
        {"the frame alone", [&](HWND d) { eachFrame(d, [](HWND f) { InvalidateRect(f, nullptr, TRUE); }); }, 3, true, true},
        {"the dialog", [](HWND d) { RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN); }, 3,
         true, true},
        {"WM_THEMECHANGED",
         [&](HWND d) {
             SendMessageW(d, WM_THEMECHANGED, 0, 0);
             eachFrame(d, [](HWND f) { SendMessageW(f, WM_THEMECHANGED, 0, 0); });
         },
         3, true, false},
        {"WM_SYSCOLORCHANGE", [](HWND d) { SendMessageW(d, WM_SYSCOLORCHANGE, 0, 0); }, 3, true, false},
        {"WM_DPICHANGED to 144", dpiTo(144), 3, true, false},
        {"WM_DPICHANGED to 480", dpiTo(480), 3, true, false},
        {"WM_DPICHANGED back to 96", dpiTo(96), 3, true, false},
        {"named and enabled for a screen reader",
         [&](HWND d) {
             eachFrame(d, [](HWND f) {
                 SetWindowTextW(f, L"Step picture");
                 EnableWindow(f, TRUE);
             });
         },
         3, true, true},
        {"grown 1.4 times", [](HWND d) { resizeFirstFrame(d, 260, 140); }, 1, true, false},
        {"shrunk", [](HWND d) { resizeFirstFrame(d, 120, 80); }, 1, true, false},
        {"wider than tall", [](HWND d) { resizeFirstFrame(d, 400, 140); }, 1, true, false},
        {"taller than wide", [](HWND d) { resizeFirstFrame(d, 100, 200); }, 1, true, false},
        {"0 x 0", [](HWND d) { resizeFirstFrame(d, 0, 0); }, 1, false, false},
        {"20000 px wide", [](HWND d) { resizeFirstFrame(d, 20000, 120); }, 1, false, false},
    };
    ImportPatch loads(libraryModule(), "LoadBitmapW", reinterpret_cast<void*>(countingLoadBitmap));
    ASSERT_TRUE(loads.applied());
    gRealLoadBitmap = loads.originalAs<decltype(&LoadBitmapW)>();
    // Step 1 is 105 in 8 bits, step 2 is 154 in 24 bits, step 3 is 122 with the longest label.
    const int ids[3] = {105, 154, 122};
    DuplexRequest request = duplexRequest(L"duplex_long_continue.dll", 1);
    request.step1BitmapId = ids[0];
    request.step2BitmapId = ids[1];
    request.step3BitmapId = ids[2];
    UserLanguage language(0x0409);
    ASSERT_TRUE(language.applied());
    for (LANGID direction : {0x0409, 0x040D}) {
        language.set(direction);
        rightToLeft = direction != 0x0409;
        dpiNow = 96;
        const char* reading = rightToLeft ? "mirrored" : "left to right";
        showDuplex(request, [&](HWND dialog) {
            gDialogProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(runningDialogProc)));
            // The dialog's first paints, before any event.
            onDialogThread(dialog, [&] {
                EnumChildWindows(dialog, hideAllButFrames, 0);
                RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            });
            for (const Row& row : rows) {
                suggested = taken = RECT{};
                const int loadsBefore = gBitmapLoads;
                onDialogThread(dialog, [&] {
                    eachFrame(dialog, scribble);
                    row.fire(dialog);
                    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // the one repaint
                });
                EXPECT_TRUE(EqualRect(&suggested, &taken)) << row.event << ": the suggested rectangle taken";
                EXPECT_TRUE(!row.kept || gBitmapLoads == loadsBefore) << row.event << ": drawn from the kept pictures";
                for (int step = 0; step < row.frames; ++step) {
                    const FrameCheck check = checkFrame(GetDlgItem(dialog, kFrames[step]), ids[step], rightToLeft);
                    EXPECT_EQ(0, check.unlikeMargin) << row.event << ", " << reading << ": margin of " << ids[step];
                    if (!row.pictures)
                        continue;
                    EXPECT_TRUE(check.picture.shown()) << row.event << ", " << reading << ": picture " << ids[step]
                                                       << " at distance " << check.picture.distance << ", allowed "
                                                       << check.picture.allowed;
                    EXPECT_NE(0, check.labelInk) << row.event << ", " << reading << ": the label on the face";
                }
            }
            SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gDialogProc));
        });
    }
}


namespace {

struct DrawnText {
    std::wstring text;
    UINT format;
};
std::mutex gDrawnMutex;
std::vector<DrawnText> gDrawn;
decltype(&DrawTextW) gRealDrawText = nullptr;

int WINAPI recordingDrawText(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format)
{
    if (!(format & DT_CALCRECT)) {
        std::lock_guard<std::mutex> lock(gDrawnMutex);
        gDrawn.push_back({count < 0 ? std::wstring(text) : std::wstring(text, count), format});
    }
    return gRealDrawText(dc, text, count, rect, format);
}

} // namespace

TEST(DuplexPanels, TheButtonInPicture122ReadsAsTheDialogsOwnButton)
{
    struct Case {
        const wchar_t* module;
        LANGID language;
        const wchar_t* label;
        bool readsRightToLeft;  // by its own first strong letter, as every text
    };
    const Case cases[] = {
        {L"duplex_strings.dll", 0x0409, L"Module continue", false},
        {nullptr, 0x0409, L"Continue", false},
        {L"duplex_strings.dll", 0x040D, L"Module continue", false},
        {L"duplex_long_continue.dll", 0x0409, L"Continue printing the second sides of every sheet", false},
        {L"duplex_long_continue.dll", 0x040D,
         L"\u05D4\u05DE\u05E9\u05DA \u05DC\u05D4\u05D3\u05E4\u05D9\u05E1 \u05D0\u05EA \u05D4\u05E6\u05D3 "
         L"\u05D4\u05E9\u05E0\u05D9 \u05E9\u05DC \u05DB\u05DC \u05D2\u05D9\u05DC\u05D9\u05D5\u05DF",
         true},
    };
    ImportPatch draw(libraryModule(), "DrawTextW", reinterpret_cast<void*>(recordingDrawText));
    ASSERT_TRUE(draw.applied());
    gRealDrawText = draw.originalAs<decltype(&DrawTextW)>();
    UserLanguage language(0x0409);
    const Pixels bitmap = bitmapPixels(libraryModule(), 122);
    for (const Case& c : cases) {
        language.set(c.language);
        gDrawn.clear();
        DuplexRequest request = duplexRequest(c.module, 1);
        request.step3BitmapId = 122;
        int inked = 0;
        showDuplex(request, [&](HWND dialog) {
            HWND frame = GetDlgItem(dialog, kFrames[2]);
            waitForPicture(frame, bitmap, mirroringOf(122, c.language != 0x0409), kFace122);
            // The left half of the face, where the pointer never reaches: the bitmap
            // has only the face's grey there.
            const Pixels shown = screenPixels(frame);
            const RECT at = placedPicture(shown.width, shown.height, bitmap, c.language != 0x0409);
            const int width = at.right - at.left, height = at.bottom - at.top;
            for (int y = at.top + (kFace122.top + 2) * height / bitmap.height;
                 y < at.top + (kFace122.bottom - 2) * height / bitmap.height; ++y)
                for (int x = at.left + (kFace122.left + 2) * width / bitmap.width; x < at.left + 77 * width / bitmap.width; ++x)
                    inked += shown.at(x, y) != bitmap.at(kFace122.left + 1, kFace122.top + 1);
        });
        std::lock_guard<std::mutex> lock(gDrawnMutex);
        ASSERT_EQ(1u, gDrawn.size()) << "the label is drawn once, onto the kept picture";
        EXPECT_EQ(c.label, gDrawn[0].text);
        EXPECT_EQ(c.readsRightToLeft, (gDrawn[0].format & DT_RTLREADING) != 0) << "read in its own direction";
        EXPECT_GT(inked, 20) << "the label's pixels on the face";
    }
}

namespace {

// Where paints begin, and what is loaded outside them, on top of the ledger's accounts.
struct PaintWatch {
    std::mutex mutex;
    int open = 0;
    std::set<HWND> windows;
    std::vector<std::string> faults;
} gWatch;

decltype(&BeginPaint) gLedgerBeginPaint = nullptr;
decltype(&EndPaint) gLedgerEndPaint = nullptr;
decltype(&LoadBitmapW) gLedgerLoadBitmap = nullptr;

HDC WINAPI watchedBeginPaint(HWND window, PAINTSTRUCT* paint)
{
    {
        std::lock_guard<std::mutex> lock(gWatch.mutex);
        if (gWatch.open++)
            gWatch.faults.push_back("a paint began inside another");
        gWatch.windows.insert(window);
    }
    return gLedgerBeginPaint(window, paint);
}

BOOL WINAPI watchedEndPaint(HWND window, const PAINTSTRUCT* paint)
{
    {
        std::lock_guard<std::mutex> lock(gWatch.mutex);
        --gWatch.open;
    }
    return gLedgerEndPaint(window, paint);
}

HBITMAP WINAPI watchedLoadBitmap(HINSTANCE instance, LPCWSTR name)
{
    {
        std::lock_guard<std::mutex> lock(gWatch.mutex);
        if (!gWatch.open)
            gWatch.faults.push_back("a picture was loaded outside a paint");
    }
    return gLedgerLoadBitmap(instance, name);
}

} // namespace

TEST(DuplexPanels, ThePicturesAreMadeOnceAndReleasedWithTheDialog)
{
    ImportLedger ledger;
    ASSERT_TRUE(ledger.unpatched().empty());
    HMODULE library = libraryModule();
    ImportPatch begin(library, "BeginPaint", reinterpret_cast<void*>(watchedBeginPaint));
    ImportPatch end(library, "EndPaint", reinterpret_cast<void*>(watchedEndPaint));
    ImportPatch load(library, "LoadBitmapW", reinterpret_cast<void*>(watchedLoadBitmap));
    ASSERT_TRUE(begin.applied() && end.applied() && load.applied());
    gLedgerBeginPaint = begin.originalAs<decltype(&BeginPaint)>();
    gLedgerEndPaint = end.originalAs<decltype(&EndPaint)>();
    gLedgerLoadBitmap = load.originalAs<decltype(&LoadBitmapW)>();

    std::set<HWND> frames;
    HeldCount keptWhileOpen;
    // 124 names no picture: its frame must release what it took all the same. 122 has
    // its label drawn, in a smaller font: the module's word is long.
    DuplexRequest request = duplexRequest(L"duplex_long_continue.dll", 1);
    request.step1BitmapId = 105;
    request.step2BitmapId = 124;
    request.step3BitmapId = 122;
    showDuplex(request, [&](HWND dialog) {
        for (int id : kFrames)
            frames.insert(GetDlgItem(dialog, id));
        waitForPicture(GetDlgItem(dialog, kFrames[0]), bitmapPixels(libraryModule(), 105), {});
        // UPDATENOW waits until the dialog's thread has painted again.
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        keptWhileOpen = ledger.count(Held::Bitmap);
    });

    std::lock_guard<std::mutex> lock(gWatch.mutex);
    for (const std::string& fault : gWatch.faults)
        ADD_FAILURE() << fault;
    EXPECT_GE(ledger.count(Held::Paint).acquired, 6) << "two paints of three frames each";
    EXPECT_EQ(3, ledger.calls(Fallible::LoadBitmapW)) << "each picture loaded once, at the first paint";
    EXPECT_EQ(2, keptWhileOpen.acquired - keptWhileOpen.released) << "two pictures kept while the dialog is open";
    EXPECT_EQ(1, ledger.count(Held::Font).acquired) << "the smaller font for the long label";
    EXPECT_EQ(frames, gWatch.windows) << "painting begins on the three frames, nowhere else";
    for (const std::string& imbalance : ledger.imbalances())
        ADD_FAILURE() << imbalance;
}
