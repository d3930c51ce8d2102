#include "activation.h"
#include "import_patch.h"
#include "import_profile.h"
#include "measurements.h"
#include "resource.h"

namespace {

enum class PaintMode { Library, Preloaded };

constexpr UINT kPaintRunMessage = WM_APP + 17;

// The three frames and the pictures the benchmark's request puts in them.
struct Frame {
    int controlId;
    UINT bitmapId;
};

// Paints are switched between the two ways in blocks of this many, so that both meet
// the same background load.
constexpr int kPaintBlock = 50;

// The state of the one paint run, on the dialog's thread: the subclass finds it here.
struct PaintRun {
    WNDPROC original = nullptr;
    PaintMode mode = PaintMode::Library;
    Frame frames[3] = {};
    HWND frameWindows[3] = {};
    WNDPROC frameOriginal[3] = {};
    HDC preloadedDc[3] = {};
    HBITMAP preloaded[3] = {};
    HGDIOBJ previous[3] = {};
    LONGLONG paintStart = 0;
    LONGLONG paintTicks = -1;  // the last WM_PAINT; -1 until one came
    int paints = 0;
    ImportProfiler* profiler = nullptr;
    std::vector<Span> profiledPaints;
    PaintResults* results = nullptr;
};

PaintRun gRun;

// The limit: the same frame, the same paint steps, but the bitmap loaded beforehand.
void blitPreloaded(HWND control, int index)
{
    RECT frame = {};
    GetWindowRect(control, &frame);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(control, &paint);
    POINT topLeft = {frame.left, frame.top};
    POINT bottomRight = {frame.right, frame.bottom};
    ScreenToClient(control, &topLeft);
    ScreenToClient(control, &bottomRight);
    BitBlt(dc, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y, gRun.preloadedDc[index], topLeft.x, topLeft.y,
           SRCCOPY);
    EndPaint(control, &paint);
}

// Each frame's and the dialog's own WM_PAINT count towards the paint of one repaint.
void addPaintTicks(LONGLONG start, LONGLONG end)
{
    gRun.paintTicks = (gRun.paintTicks < 0 ? 0 : gRun.paintTicks) + (end - start);
    if (gRun.profiler)
        gRun.profiledPaints.push_back({GetCurrentThreadId(), start, end});
}

void preload()
{
    for (int index = 0; index < 3; ++index) {
        gRun.preloadedDc[index] = CreateCompatibleDC(nullptr);
        gRun.preloaded[index] = LoadBitmapW(libraryModule(), MAKEINTRESOURCEW(gRun.frames[index].bitmapId));
        gRun.previous[index] = SelectObject(gRun.preloadedDc[index], gRun.preloaded[index]);
    }
}

void releasePreloaded()
{
    for (int index = 0; index < 3; ++index) {
        SelectObject(gRun.preloadedDc[index], gRun.previous[index]);
        DeleteObject(gRun.preloaded[index]);
        DeleteDC(gRun.preloadedDc[index]);
    }
}

// One forced repaint of the whole dialog, as uncovering it would cause.
void repaint(HWND dialog, PaintMode mode, Measurement* paint, Measurement* whole)
{
    gRun.mode = mode;
    gRun.paintTicks = -1;
    const LONGLONG start = ticksNow();
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const LONGLONG wholeTicks = ticksNow() - start;
    if (gRun.paintTicks < 0) {
        ++paint->failures;
        ++whole->failures;
        return;
    }
    paint->samples.push_back(ticksToMicroseconds(gRun.paintTicks));
    whole->samples.push_back(ticksToMicroseconds(wholeTicks));
}

// Runs on the dialog's thread, inside its modal loop.
void runPaints(HWND dialog)
{
    PaintResults& results = *gRun.results;
    preload();
    for (int done = 0; done < gRun.paints; done += kPaintBlock) {
        const int block = std::min(kPaintBlock, gRun.paints - done);
        for (int index = 0; index < block; ++index)
            repaint(dialog, PaintMode::Library, &results.libraryPaint, &results.libraryRepaint);
        for (int index = 0; index < block; ++index)
            repaint(dialog, PaintMode::Preloaded, &results.preloadedPaint, &results.preloadedRepaint);
    }
    releasePreloaded();

    // The profile, apart: its timing of every call weighs on the paint it watches.
    {
        ImportProfiler profiler(libraryModule());
        gRun.profiler = &profiler;
        Measurement paint, whole;
        for (int index = 0; index < gRun.paints; ++index)
            repaint(dialog, PaintMode::Library, &paint, &whole);
        gRun.profiler = nullptr;

        results.profile = profileOf(profiler, gRun.profiledPaints);
    }
}

// The frames draw their own pictures: the library's way, or the limit's blit.
LRESULT CALLBACK framePaintSubclass(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    int index = 0;
    while (index < 2 && gRun.frameWindows[index] != frame)
        ++index;
    if (message != WM_PAINT)
        return CallWindowProcW(gRun.frameOriginal[index], frame, message, wParam, lParam);
    const LONGLONG start = ticksNow();
    LRESULT result = 0;
    if (gRun.mode == PaintMode::Preloaded)
        blitPreloaded(frame, index);
    else
        result = CallWindowProcW(gRun.frameOriginal[index], frame, message, wParam, lParam);
    addPaintTicks(start, ticksNow());
    return result;
}

LRESULT CALLBACK paintSubclass(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        const LONGLONG start = ticksNow();
        const LRESULT result = CallWindowProcW(gRun.original, dialog, message, wParam, lParam);
        addPaintTicks(start, ticksNow());
        return result;
    }
    case kPaintRunMessage: {
        runPaints(dialog);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        return 0;
    }
    default:
        return CallWindowProcW(gRun.original, dialog, message, wParam, lParam);
    }
}

// The paint run starts from the dialog's own queue, once the dialog has come up and been
// painted the first time.
LRESULT CALLBACK subclassAtActivation(int code, WPARAM wParam, LPARAM lParam);

} // namespace

int screenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

PaintResults measureDuplexPaint(const BenchRequests& requests, const DriverWindow& driver,
                                int paints)
{
    PaintResults results;
    results.dpi = screenDpi();
    const std::string at = " at " + std::to_string(results.dpi) + " DPI";
    results.libraryPaint = {"paint.library", "Duplex WM_PAINT" + at + ", library", "us"};
    results.preloadedPaint = {"paint.preloaded", "Same WM_PAINT" + at + ", three bitmaps loaded beforehand (limit)", "us"};
    results.libraryRepaint = {"repaint.library", "Whole forced repaint" + at + ", library", "us"};
    results.preloadedRepaint = {"repaint.preloaded", "Whole forced repaint" + at + ", preloaded bitmaps", "us"};

    const DuplexRequest& request = requests.duplexBlocking;
    gRun = {};
    gRun.frames[0] = {IDC_DUPLEX_STEP1_PICTURE, LOWORD(request.step1BitmapId)};
    gRun.frames[1] = {IDC_DUPLEX_STEP2_PICTURE, LOWORD(request.step2BitmapId)};
    gRun.frames[2] = {IDC_DUPLEX_STEP3_PICTURE, LOWORD(request.step3BitmapId)};
    gRun.paints = paints;
    gRun.results = &results;

    driver.bringToFront();
    HHOOK hook = SetWindowsHookExW(WH_CBT, subclassAtActivation, nullptr, GetCurrentThreadId());
    VDisplayDialog(&request);
    UnhookWindowsHookEx(hook);
    gRun = {};
    return results;
}

namespace {

LRESULT CALLBACK subclassAtActivation(int code, WPARAM wParam, LPARAM lParam)
{
    HWND dialog = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && !gRun.original && isDialogWindow(dialog)) {
        gRun.original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(paintSubclass)));
        for (int index = 0; index < 3; ++index) {
            gRun.frameWindows[index] = GetDlgItem(dialog, gRun.frames[index].controlId);
            gRun.frameOriginal[index] = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                gRun.frameWindows[index], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(framePaintSubclass)));
        }
        PostMessageW(dialog, kPaintRunMessage, 0, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

// One line "dpi N", then one line per measurement: id, label, unit, failures and the
// samples, separated by tabs.
bool writePaintSamples(const PaintResults& paint, const std::wstring& path)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    bool written = fprintf(file, "dpi\t%d\n", paint.dpi) > 0;
    for (const Measurement* measurement : {&paint.libraryPaint, &paint.preloadedPaint, &paint.libraryRepaint,
                                           &paint.preloadedRepaint}) {
        written = written && fprintf(file, "%s\t%s\t%s\t%d", measurement->id.c_str(), measurement->label.c_str(),
                                     measurement->unit.c_str(), measurement->failures) > 0;
        for (double sample : measurement->samples)
            written = written && fprintf(file, "\t%.3f", sample) > 0;
        written = written && fputc('\n', file) != EOF;
    }
    return fclose(file) == 0 && written;
}

bool readPaintSamples(const std::wstring& path, PaintResults& paint)
{
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return false;
    std::string text;
    char chunk[4096];
    for (size_t read; (read = fread(chunk, 1, sizeof chunk, file)) > 0;)
        text.append(chunk, read);
    fclose(file);

    std::vector<std::vector<std::string>> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::vector<std::string> fields;
        for (size_t field = start; field <= end;) {
            const size_t tab = std::min(text.find('\t', field), end);
            fields.push_back(text.substr(field, tab - field));
            field = tab + 1;
        }
        lines.push_back(fields);
        start = end + 1;
    }
    if (lines.size() != 5 || lines[0].size() != 2 || lines[0][0] != "dpi")
        return false;
    paint.dpi = atoi(lines[0][1].c_str());
    Measurement* measurements[4] = {&paint.libraryPaint, &paint.preloadedPaint, &paint.libraryRepaint,
                                    &paint.preloadedRepaint};
    for (int index = 0; index < 4; ++index) {
        const std::vector<std::string>& fields = lines[index + 1];
        if (fields.size() < 4)
            return false;
        Measurement& measurement = *measurements[index];
        measurement = {"dpi" + std::to_string(paint.dpi) + "." + fields[0], fields[1], fields[2]};
        measurement.failures = atoi(fields[3].c_str());
        for (size_t field = 4; field < fields.size(); ++field)
            measurement.samples.push_back(atof(fields[field].c_str()));
    }
    return true;
}
