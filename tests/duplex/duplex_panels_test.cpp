#include <gtest/gtest.h>

#include <map>
#include <set>

#include "duplex/picture_fit.h"
#include "duplex_harness.h"
#include "duplex_pixels.h"
#include "import_patch.h"

namespace {

const int kFrames[3] = {IDC_DUPLEX_STEP1_PICTURE, IDC_DUPLEX_STEP2_PICTURE, IDC_DUPLEX_STEP3_PICTURE};


DuplexRequest pictureRequest(UINT32 step1, UINT32 step2, UINT32 step3)
{
    DuplexRequest request = duplexRequest(nullptr, 0);
    request.step1BitmapId = step1;
    request.step2BitmapId = step2;
    request.step3BitmapId = step3;
    return request;
}

// Compares each frame with the picture it should show (0: none) once the dialog is up.
std::vector<PictureMatch> framesAgainst(const DuplexRequest& request, const int (&ids)[3], bool mirrored)
{
    std::vector<PictureMatch> matches;
    showDuplex(request, [&](HWND dialog) {
        for (int i = 0; i < 3; ++i)
            matches.push_back(waitForPicture(GetDlgItem(dialog, kFrames[i]),
                                             bitmapPixels(libraryModule(), ids[i]), mirrored));
    });
    return matches;
}

void expectWholePicture(const PictureMatch& match, int id, const char* what)
{
    EXPECT_EQ(0, match.differing) << what << ": picture " << id << " over " << match.comparedWidth
                                  << " x " << match.comparedHeight << " pixels";
    // A frame of 105 x 62 dialog units holds nearly all of a 155 x 100 picture.
    EXPECT_GE(match.comparedWidth, 140) << what << ": picture " << id;
    EXPECT_GE(match.comparedHeight, 90) << what << ": picture " << id;
}

} // namespace

TEST(DuplexPanels, EachFrameShowsItsPictureUnscaledInEveryFormat)
{
    // 8 bits with the common colour table, 24 bits at 152 x 98, 4 bits with its own.
    const int ids[3] = {105, 154, 147};
    const std::vector<PictureMatch> matches = framesAgainst(pictureRequest(105, 154, 147), ids, false);
    ASSERT_EQ(3u, matches.size());
    for (int i = 0; i < 3; ++i)
        expectWholePicture(matches[i], ids[i], "left to right");
}

TEST(DuplexPanels, OnlyTheLowSixteenBitsOfAnIdNameThePicture)
{
    const int ids[3] = {153, 105, 122};
    const std::vector<PictureMatch> matches = framesAgainst(pictureRequest(153, 0x10069, 122), ids, false);
    ASSERT_EQ(3u, matches.size());
    expectWholePicture(matches[1], 105, "step 2 names 0x10069");
}

TEST(DuplexPanels, AnAbsentPictureLeavesOnlyItsFrameEmpty)
{
    Pixels empty;
    std::vector<PictureMatch> others;
    showDuplex(pictureRequest(110, 124, 151), [&](HWND dialog) {
        others.push_back(waitForPicture(GetDlgItem(dialog, kFrames[0]), bitmapPixels(libraryModule(), 110), false));
        others.push_back(waitForPicture(GetDlgItem(dialog, kFrames[2]), bitmapPixels(libraryModule(), 151), false));
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

TEST(DuplexPanels, MirroredTemplateMirrorsThePictures)
{
    UserLanguage language(0x0409);
    ASSERT_TRUE(language.applied());
    for (LANGID rightToLeft : {0x0401, 0x040D}) {
        language.set(rightToLeft);
        const int ids[3] = {105, 154, 155};
        const std::vector<PictureMatch> matches = framesAgainst(pictureRequest(105, 154, 155), ids, true);
        ASSERT_EQ(3u, matches.size());
        for (int i = 0; i < 3; ++i)
            expectWholePicture(matches[i], ids[i], rightToLeft == 0x0401 ? "Arabic" : "Hebrew");
    }
}

TEST(DuplexPanels, PictureScalesOnlyWhenItsFrameIsAnotherSize)
{
    struct Case {
        int frameWidth, frameHeight, pictureWidth, pictureHeight;
        bool scales;
    };
    const Case cases[] = {
        {155, 100, 155, 100, false},  // the same size
        {158, 101, 155, 100, false},  // a 100 % frame: a few pixels larger
        {158, 101, 152, 98, false},   // picture 154 in a 100 % frame
        {174, 112, 155, 100, false},  // 19 and 12 pixels: within an eighth
        {175, 100, 155, 100, true},   // 20 pixels wider: beyond an eighth
        {155, 113, 155, 100, true},   // 13 pixels higher
        {136, 88, 155, 100, false},   // smaller, within an eighth
        {135, 100, 155, 100, true},   // 20 pixels narrower
        {236, 155, 155, 100, true},   // a 150 % frame
        {0, 0, 155, 100, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.scales, pictureScalesToFrame(c.frameWidth, c.frameHeight, c.pictureWidth,
                                                 c.pictureHeight))
            << "frame " << c.frameWidth << " x " << c.frameHeight << ", picture " << c.pictureWidth
            << " x " << c.pictureHeight;
}

namespace {

BOOL CALLBACK hideAllButFrame(HWND control, LPARAM frame)
{
    if (control != reinterpret_cast<HWND>(frame))
        ShowWindow(control, SW_HIDE);
    return TRUE;
}

// Resizes step 1's frame to `width` x `height` pixels in the open dialog, with the other
// controls hidden so that none overlaps it, repaints, and says how far its picture is
// from `id` scaled to the new size: the first close distance within two seconds, else
// the last one.
int distanceAfterResizing(HWND dialog, int id, int width, int height, bool mirrored)
{
    HWND frame = GetDlgItem(dialog, kFrames[0]);
    EnumChildWindows(dialog, hideAllButFrame, reinterpret_cast<LPARAM>(frame));
    SetWindowPos(frame, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const Pixels bitmap = bitmapPixels(libraryModule(), id);
    int distance = -1;
    for (int tries = 0; tries < 100; ++tries) {
        // The resized frame may still erase itself after the dialog has painted it, on
        // the dialog's thread: paint the dialog again until the picture stays.
        if (tries % 10 == 0)
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Sleep(20);
        distance = scaledPictureDistance(screenPixels(frame), bitmap, mirrored);
        if (distance >= 0 && distance <= 16)
            break;
    }
    return distance;
}

} // namespace

TEST(DuplexPanels, APictureFillsAFrameOfAnotherSizeAndStaysMirrored)
{
    struct Case {
        LANGID language;
        int id, width, height;
    };
    // Half as large again as at 100 %, as at 150 % scale; and smaller than the picture.
    const Case cases[] = {
        {0x0409, 105, 233, 150},
        {0x040D, 105, 233, 150},
        {0x0409, 154, 228, 147},
        {0x0409, 122, 110, 70},
        {0x0401, 153, 110, 70},
    };
    UserLanguage language(0x0409);
    ASSERT_TRUE(language.applied());
    for (const Case& c : cases) {
        language.set(c.language);
        const bool mirrored = c.language != 0x0409;
        int distance = -1;
        showDuplex(pictureRequest(c.id, 106, 107), [&](HWND dialog) {
            distance = distanceAfterResizing(dialog, c.id, c.width, c.height, mirrored);
        });
        // Cell averages of a well scaled picture lie within a few levels of the bitmap's.
        EXPECT_GE(distance, 0) << "picture " << c.id << " read back";
        EXPECT_LE(distance, 16) << "picture " << c.id << " in a " << c.width << " x " << c.height
                                << " frame, " << (mirrored ? "mirrored" : "left to right");
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

TEST(DuplexPanels, EveryPaintDrawsThePicturesAgainFromTheResource)
{
    ImportPatch loads(libraryModule(), "LoadBitmapW", reinterpret_cast<void*>(countingLoadBitmap));
    ASSERT_TRUE(loads.applied());
    gRealLoadBitmap = loads.originalAs<decltype(&LoadBitmapW)>();
    const Pixels picture = bitmapPixels(libraryModule(), 106);

    PictureMatch before, blackened, after;
    int loadsBefore = 0, loadsAfter = 0;
    showDuplex(pictureRequest(105, 106, 107), [&](HWND dialog) {
        HWND frame = GetDlgItem(dialog, IDC_DUPLEX_STEP2_PICTURE);
        before = waitForPicture(frame, picture, false);
        loadsBefore = gBitmapLoads;

        // Scribble over the picture without telling the window, then invalidate the
        // dialog as an uncovering does (Wine keeps each window's pixels and repaints
        // nothing when a covering window goes away, so the test invalidates itself).
        HDC dc = GetDC(frame);
        RECT client = {};
        GetClientRect(frame, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(frame, dc);
        for (int tries = 0; tries < 50 && blackened.differing <= 0; ++tries) {
            ForegroundWindow::pumpMessages();  // lets Wine put the scribble on screen
            Sleep(20);
            blackened = matchPicture(screenPixels(frame), picture, false);
        }
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        after = waitForPicture(frame, picture, false);
        loadsAfter = gBitmapLoads;
    });
    EXPECT_EQ(0, before.differing);
    EXPECT_GT(blackened.differing, 0) << "the scribble reached the screen";
    EXPECT_EQ(0, after.differing) << "the invalidated frame shows its picture again";
    EXPECT_GE(loadsAfter - loadsBefore, 3) << "every paint loads all three pictures afresh";
}

namespace {

// What the paint code acquires and releases, in order, from whichever thread paints.
struct GdiLog {
    std::mutex mutex;
    int paintsBegun = 0;
    int paintsEnded = 0;
    int loads = 0;
    std::set<HWND> paintedWindows;
    std::set<HDC> liveMemoryDcs;
    std::set<HGDIOBJ> liveBitmaps;
    std::map<HDC, HGDIOBJ> selected;
    std::vector<std::string> faults;
} gGdi;

decltype(&BeginPaint) gRealBeginPaint = nullptr;
decltype(&EndPaint) gRealEndPaint = nullptr;
decltype(&CreateCompatibleDC) gRealCreateCompatibleDC = nullptr;
decltype(&DeleteDC) gRealDeleteDC = nullptr;
decltype(&SelectObject) gRealSelectObject = nullptr;
decltype(&DeleteObject) gRealDeleteObject = nullptr;
decltype(&LoadBitmapW) gRealLoadBitmapForLog = nullptr;

HDC WINAPI loggingBeginPaint(HWND window, PAINTSTRUCT* paint)
{
    std::lock_guard<std::mutex> lock(gGdi.mutex);
    if (!gGdi.liveMemoryDcs.empty() || !gGdi.liveBitmaps.empty())
        gGdi.faults.push_back("a paint began while an earlier one still held a DC or bitmap");
    if (gGdi.paintsBegun != gGdi.paintsEnded)
        gGdi.faults.push_back("a paint began inside another");
    ++gGdi.paintsBegun;
    gGdi.paintedWindows.insert(window);
    return gRealBeginPaint(window, paint);
}

BOOL WINAPI loggingEndPaint(HWND window, const PAINTSTRUCT* paint)
{
    std::lock_guard<std::mutex> lock(gGdi.mutex);
    ++gGdi.paintsEnded;
    return gRealEndPaint(window, paint);
}

HDC WINAPI loggingCreateCompatibleDC(HDC dc)
{
    std::lock_guard<std::mutex> lock(gGdi.mutex);
    HDC memory = gRealCreateCompatibleDC(dc);
    gGdi.liveMemoryDcs.insert(memory);
    return memory;
}

BOOL WINAPI loggingDeleteDC(HDC dc)
{
    std::lock_guard<std::mutex> lock(gGdi.mutex);
    if (gGdi.liveBitmaps.count(gGdi.selected[dc]))
        gGdi.faults.push_back("a memory DC was deleted with a picture still selected");
    gGdi.selected.erase(dc);
    gGdi.liveMemoryDcs.erase(dc);
    return gRealDeleteDC(dc);
}

HGDIOBJ WINAPI loggingSelectObject(HDC dc, HGDIOBJ object)
{
    std::lock_guard<std::mutex> lock(gGdi.mutex);
    HGDIOBJ previous = gRealSelectObject(dc, object);
    if (previous)
        gGdi.selected[dc] = object;
    return previous;
}

BOOL WINAPI loggingDeleteObject(HGDIOBJ object)
{
    std::lock_guard<std::mutex> lock(gGdi.mutex);
    for (const auto& entry : gGdi.selected)
        if (entry.second == object && gGdi.liveMemoryDcs.count(entry.first))
            gGdi.faults.push_back("a picture was deleted while still selected");
    gGdi.liveBitmaps.erase(object);
    return gRealDeleteObject(object);
}

HBITMAP WINAPI loggingLoadBitmap(HINSTANCE instance, LPCWSTR name)
{
    std::lock_guard<std::mutex> lock(gGdi.mutex);
    if (gGdi.paintsBegun == gGdi.paintsEnded)
        gGdi.faults.push_back("a picture was loaded outside a paint");
    ++gGdi.loads;
    HBITMAP bitmap = gRealLoadBitmapForLog(instance, name);
    if (bitmap)
        gGdi.liveBitmaps.insert(bitmap);
    return bitmap;
}

template <class Function>
void remember(const ImportPatch& patch, Function& original)
{
    original = patch.originalAs<Function>();
}

} // namespace

TEST(DuplexPanels, EachPaintReleasesEverythingItAcquired)
{
    HMODULE library = libraryModule();
    ImportPatch begin(library, "BeginPaint", reinterpret_cast<void*>(loggingBeginPaint));
    ImportPatch end(library, "EndPaint", reinterpret_cast<void*>(loggingEndPaint));
    ImportPatch create(library, "CreateCompatibleDC", reinterpret_cast<void*>(loggingCreateCompatibleDC));
    ImportPatch deleteDc(library, "DeleteDC", reinterpret_cast<void*>(loggingDeleteDC));
    ImportPatch select(library, "SelectObject", reinterpret_cast<void*>(loggingSelectObject));
    ImportPatch deleteObject(library, "DeleteObject", reinterpret_cast<void*>(loggingDeleteObject));
    ImportPatch load(library, "LoadBitmapW", reinterpret_cast<void*>(loggingLoadBitmap));
    for (const ImportPatch* patch : {&begin, &end, &create, &deleteDc, &select, &deleteObject, &load})
        ASSERT_TRUE(patch->applied());
    remember(begin, gRealBeginPaint);
    remember(end, gRealEndPaint);
    remember(create, gRealCreateCompatibleDC);
    remember(deleteDc, gRealDeleteDC);
    remember(select, gRealSelectObject);
    remember(deleteObject, gRealDeleteObject);
    remember(load, gRealLoadBitmapForLog);

    std::set<HWND> frames;
    // 124 names no picture: its frame must release what it took all the same.
    showDuplex(pictureRequest(105, 124, 107), [&](HWND dialog) {
        for (int id : kFrames)
            frames.insert(GetDlgItem(dialog, id));
        waitForPicture(GetDlgItem(dialog, kFrames[0]), bitmapPixels(libraryModule(), 105), false);
        // UPDATENOW waits until the dialog's thread has painted again.
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });

    std::lock_guard<std::mutex> lock(gGdi.mutex);
    for (const std::string& fault : gGdi.faults)
        ADD_FAILURE() << fault;
    EXPECT_GE(gGdi.paintsBegun, 6) << "two paints of three frames each";
    EXPECT_EQ(gGdi.paintsBegun, gGdi.paintsEnded) << "every BeginPaint has its EndPaint";
    EXPECT_EQ(gGdi.paintsBegun, gGdi.loads) << "one picture loaded per frame painted";
    EXPECT_EQ(frames, gGdi.paintedWindows) << "painting begins on the three frames, nowhere else";
    EXPECT_TRUE(gGdi.liveMemoryDcs.empty()) << gGdi.liveMemoryDcs.size() << " memory DCs left";
    EXPECT_TRUE(gGdi.liveBitmaps.empty()) << gGdi.liveBitmaps.size() << " pictures left";
}
