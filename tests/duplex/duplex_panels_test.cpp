#include <gtest/gtest.h>

#include <map>
#include <set>

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
        {0, 0, 155, 100, {0, 0, 0, 0}},
        {155, 100, 0, 100, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const PictureFit fit = fitPicture(c.frameWidth, c.frameHeight, c.pictureWidth, c.pictureHeight);
        EXPECT_TRUE(fit.x == c.fit.x && fit.y == c.fit.y && fit.width == c.fit.width && fit.height == c.fit.height)
            << "frame " << c.frameWidth << " x " << c.frameHeight << ", picture " << c.pictureWidth << " x "
            << c.pictureHeight << ": at " << fit.x << ", " << fit.y << ", " << fit.width << " x " << fit.height;
    }
}

TEST(DuplexPanels, AButtonLabelLosesItsAccessKey)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C&ontinue", L"Continue"}, {L"\u7d9a\u884c(&C)", L"\u7d9a\u884c"}, {L"\u7d9a\u884c (&C)", L"\u7d9a\u884c"},
        {L"Print && go", L"Print & go"}, {L"&", L""}, {L"(&&)", L"(&)"}, {L"", L""},
    };
    for (const auto& c : cases) {
        wchar_t label[32];
        lstrcpynW(label, c.first.c_str(), 32);
        removeMnemonic(label);
        EXPECT_EQ(c.second, std::wstring(label));
    }
}

namespace {

BOOL CALLBACK hideAllButFrame(HWND control, LPARAM frame)
{
    if (control != reinterpret_cast<HWND>(frame))
        ShowWindow(control, SW_HIDE);
    return TRUE;
}

// Resizes step 1's frame to `width` x `height` pixels in the open dialog, with the other
// controls hidden so that none overlaps it, repaints, and reads it back once it shows
// its picture (or after two seconds).
struct Resized {
    PictureCheck check;
    int unlikeMargin = 0;  // pixels around the picture unlike the first of them
};

Resized afterResizing(HWND dialog, int id, int width, int height, Mirroring mirroring)
{
    HWND frame = GetDlgItem(dialog, kFrames[0]);
    EnumChildWindows(dialog, hideAllButFrame, reinterpret_cast<LPARAM>(frame));
    SetWindowPos(frame, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const Pixels bitmap = bitmapPixels(libraryModule(), id);
    const RECT skip = id == 122 ? kFace122 : RECT{};
    Resized resized;
    Pixels shown;
    for (int tries = 0; tries < 100 && !resized.check.shown(); ++tries) {
        // The resized frame may still erase itself after the dialog has painted it, on
        // the dialog's thread: paint the dialog again until the picture stays. Erased,
        // as an uncovered frame is, so that nothing of the earlier size stays around it.
        if (tries % 10 == 0)
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Sleep(20);
        shown = screenPixels(frame);
        resized.check = checkPicture(shown, bitmap, mirroring, skip);
    }
    const RECT placed = placedPicture(shown.width, shown.height, bitmap, mirroring.dialog);
    const uint32_t* margin = nullptr;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (!PtInRect(&placed, POINT{x, y})) {
                margin = margin ? margin : &shown.values[static_cast<size_t>(y) * shown.width + x];
                resized.unlikeMargin += shown.at(x, y) != *margin;
            }
    return resized;
}

} // namespace

TEST(DuplexPanels, APictureKeepsItsShapeInAFrameOfAnySize)
{
    struct Case {
        int id, width, height;
    };
    const Case cases[] = {
        {105, 120, 80},   // smaller: shrunk
        {105, 170, 110},  // larger within an eighth: as made, in the leading corner
        {105, 260, 140},  // 1.4 times: grown and centred
        {154, 400, 140},  // wider than tall
        {153, 100, 140},  // taller than wide
        {122, 260, 140},  // words: never mirrored
    };
    UserLanguage language(0x0409);
    ASSERT_TRUE(language.applied());
    for (LANGID direction : {0x0409, 0x040D})
        for (const Case& c : cases) {
            language.set(direction);
            const Mirroring mirroring = mirroringOf(c.id, direction != 0x0409);
            Resized resized;
            showDuplex(pictureRequest(c.id, 106, 107), [&](HWND dialog) {
                resized = afterResizing(dialog, c.id, c.width, c.height, mirroring);
            });
            EXPECT_TRUE(resized.check.shown())
                << "picture " << c.id << " in a " << c.width << " x " << c.height << " frame, "
                << (mirroring.dialog ? "mirrored" : "left to right") << ": distance " << resized.check.distance;
            EXPECT_EQ(0, resized.unlikeMargin) << "picture " << c.id << ": plain frame around it";
        }
}

namespace {

std::atomic<int> gBitmapLoads{0};
decltype(&LoadBitmapW) gRealLoadBitmap = nullptr;
HBITMAP WINAPI countingLoadBitmap(HINSTANCE instance, LPCWSTR name)
{
    ++gBitmapLoads;
    return gRealLoadBitmap(instance, name);
}

} // namespace

TEST(DuplexPanels, EveryPaintDrawsThePicturesAgainFromThoseKept)
{
    ImportPatch loads(libraryModule(), "LoadBitmapW", reinterpret_cast<void*>(countingLoadBitmap));
    ASSERT_TRUE(loads.applied());
    gRealLoadBitmap = loads.originalAs<decltype(&LoadBitmapW)>();
    const Pixels picture = bitmapPixels(libraryModule(), 106);

    PictureCheck before, blackened, after;
    int loadsBefore = 0, loadsAfter = 0;
    showDuplex(pictureRequest(105, 106, 107), [&](HWND dialog) {
        HWND frame = GetDlgItem(dialog, IDC_DUPLEX_STEP2_PICTURE);
        before = waitForPicture(frame, picture, {});
        loadsBefore = gBitmapLoads;

        // Scribble over the picture without telling the window, then invalidate the
        // dialog as an uncovering does (Wine keeps each window's pixels and repaints
        // nothing when a covering window goes away, so the test invalidates itself).
        HDC dc = GetDC(frame);
        RECT client = {};
        GetClientRect(frame, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(frame, dc);
        for (int tries = 0; tries < 50 && (tries == 0 || blackened.shown()); ++tries) {
            ForegroundWindow::pumpMessages();  // lets Wine put the scribble on screen
            Sleep(20);
            blackened = checkPicture(screenPixels(frame), picture, {});
        }
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        after = waitForPicture(frame, picture, {});
        loadsAfter = gBitmapLoads;
    });
    EXPECT_TRUE(before.shown());
    EXPECT_FALSE(blackened.shown()) << "the scribble reached the screen";
    EXPECT_TRUE(after.shown()) << "the invalidated frame shows its picture again";
    EXPECT_EQ(0, loadsAfter - loadsBefore) << "the pictures made at the first paint are kept";
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
    };
    const Case cases[] = {
        {L"duplex_strings.dll", 0x0409, L"Module continue"},
        {nullptr, 0x0409, L"Continue"},
        {L"duplex_strings.dll", 0x040D, L"Module continue"},
        {L"duplex_long_continue.dll", 0x0409, L"Continue printing the second sides of every sheet"},
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
        EXPECT_EQ(c.language != 0x0409, (gDrawn[0].format & DT_RTLREADING) != 0) << "read in the module's direction";
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
