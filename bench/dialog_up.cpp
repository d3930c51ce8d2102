#include "activation.h"
#include "import_patch.h"
#include "import_profile.h"
#include "measurements.h"

namespace {

enum UpCase {
    Warning, MessageBox, TaskDialog, TaskDialogFromModule, JobStorage, DuplexThreaded,
    DuplexBlocking, kUpCases
};

const char* const kUpIds[kUpCases] = {
    "up.warning", "up.messagebox", "up.taskdialog", "up.taskdialog_module", "up.jobstorage",
    "up.duplex_threaded", "up.duplex_blocking"};
const char* const kUpLabels[kUpCases] = {
    "IShowWarningDialog", "MessageBoxW", "TaskDialogIndirect",
    "TaskDialogIndirect, texts read from the module at each call",
    "VJobStorageDialog (notice)", "VDisplayDialog threaded", "VDisplayDialog blocking"};

// The first rounds load fonts, the common controls and the sample module into the
// process; a driver's process has been through that by its second dialog.
constexpr int kWarmUpRounds = 3;

bool timeUp(UpCase which, const BenchRequests& requests, const DriverWindow& driver, UpTimes& times)
{
    switch (which) {
    case Warning:
        return timeBlockingUp([&] { IShowWarningDialog(&requests.warning); }, times);
    case MessageBox:
        return timeBlockingUp([&] { showMessageBox(driver.window(), requests.texts); }, times);
    case TaskDialog:
        return timeBlockingUp([&] { showTaskDialog(driver.window(), requests.texts); }, times);
    case TaskDialogFromModule:
        return timeBlockingUp([&] { showTaskDialogFromModule(driver.window(), requests.modulePath); },
                              times);
    case DuplexBlocking:
        return timeBlockingUp([&] { VDisplayDialog(&requests.duplexBlocking); }, times);
    case JobStorage: {
        const ThreadedRun run = timeThreaded([&] { return VJobStorageDialog(&requests.jobStorage); }, true);
        times = run.times;
        return run.up;
    }
    case DuplexThreaded: {
        const ThreadedRun run = timeThreaded(
            [&] { return reinterpret_cast<HANDLE>(VDisplayDialog(&requests.duplexThreaded)); }, true);
        times = run.times;
        return run.up;
    }
    default:
        return false;
    }
}

void closeDialogsOfThread(DWORD threadId)
{
    if (HWND dialog = visibleDialogOfThread(threadId))
        PostMessageW(dialog, WM_CLOSE, 0, 0);
}

} // namespace

UpTimes upTimes(const ActivationWatch& watch, LONGLONG start)
{
    UpTimes times;
    times.upMs = ticksToMicroseconds(watch.upAt() - start) / 1000.0;
    times.activationMs = ticksToMicroseconds(watch.activatedAt() - start) / 1000.0;
    times.visibleAtActivation = watch.visibleAtActivation();
    return times;
}

bool timeBlockingUp(const std::function<void()>& call, UpTimes& times)
{
    ActivationWatch watch(GetCurrentThreadId());
    if (!watch.hooked())
        return false;
    const LONGLONG start = ticksNow();
    call();
    if (!watch.up())
        return false;
    times = upTimes(watch, start);
    return true;
}

ThreadedRun timeThreaded(const std::function<HANDLE()>& call, bool dialogExpected)
{
    ThreadedRun run;
    const LONGLONG start = ticksNow();
    HANDLE returned = call();
    run.returnUs = ticksToMicroseconds(ticksNow() - start);
    if (!returned)
        return run;
    run.started = true;

    // The library closes the handle it returned at some later thread exit: wait on a
    // handle of our own, taken at once.
    HANDLE thread = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), returned, GetCurrentProcess(), &thread,
                         SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION, FALSE, 0))
        return run;
    const DWORD threadId = GetThreadId(thread);
    if (dialogExpected) {
        ActivationWatch watch(threadId);
        // A dialog already on screen was activated before the hook was in place: that
        // run gives no figure.
        const bool tooLate = !watch.activated() && visibleDialogOfThread(threadId);
        if (watch.hooked() && !tooLate && watch.waitUntilUp(kDialogTimeoutMs)) {
            run.up = true;
            run.times = upTimes(watch, start);
        }
    }
    // Whatever the watch did not close is closed here, so that the run goes on.
    while (!waitPumping(thread, 500) && dialogExpected)
        closeDialogsOfThread(threadId);
    CloseHandle(thread);
    return run;
}

std::vector<Measurement> measureDialogsUp(const BenchRequests& requests, const DriverWindow& driver,
                                          int rounds)
{
    std::vector<Measurement> results(kUpCases);
    for (int which = 0; which < kUpCases; ++which)
        results[which] = {kUpIds[which], kUpLabels[which], "ms"};
    // The cases take turns at coming first, as in measureExportReturns.
    for (int round = -kWarmUpRounds; round < rounds; ++round) {
        for (int turn = 0; turn < kUpCases; ++turn) {
            const int which = (round + kWarmUpRounds + turn) % kUpCases;
            driver.bringToFront();
            UpTimes times;
            const bool up = timeUp(static_cast<UpCase>(which), requests, driver, times);
            if (round < 0)
                continue;
            if (up) {
                results[which].samples.push_back(times.upMs);
                results[which].activationSamples.push_back(times.activationMs);
                results[which].hiddenAtActivation += times.visibleAtActivation ? 0 : 1;
            } else {
                ++results[which].failures;
            }
        }
    }
    return results;
}

Profile profileWarningUp(const BenchRequests& requests, const DriverWindow& driver, int runs)
{
    ImportProfiler profiler(libraryModule());
    std::vector<Span> spans;
    for (int run = 0; run < runs; ++run) {
        driver.bringToFront();
        ActivationWatch watch(GetCurrentThreadId());
        const LONGLONG start = ticksNow();
        IShowWarningDialog(&requests.warning);
        if (watch.up())
            spans.push_back({GetCurrentThreadId(), start, watch.upAt()});
    }
    return profileOf(profiler, spans);
}

Profile profileExportReturn(const BenchRequests& requests, const DriverWindow& driver, int calls)
{
    ImportProfiler profiler(libraryModule());
    std::vector<Span> spans;
    for (int call = 0; call < calls; ++call) {
        driver.bringToFront();
        LONGLONG start = 0, returned = 0;
        const ThreadedRun run = timeThreaded([&] {
            start = ticksNow();
            HANDLE thread = VJobStorageDialog(&requests.jobStorage);
            returned = ticksNow();
            return thread;
        }, true);
        if (run.started)
            spans.push_back({GetCurrentThreadId(), start, returned});
    }
    return profileOf(profiler, spans);
}

namespace {

// Stage marks of the one dialog being built on the measuring thread, set by a wrapper of
// its dialog procedure that the patched DialogBox call puts in place.
struct StageMarks {
    LONGLONG dialogBox = 0;     // DialogBoxParamW / DialogBoxIndirectParamW entered
    LONGLONG firstMessage = 0;  // the dialog window exists: its procedure's first message
    LONGLONG initStart = 0, initEnd = 0;
    DLGPROC procedure = nullptr;
};

StageMarks gMarks;
decltype(&DialogBoxParamW) gDialogBoxParam = nullptr;
decltype(&DialogBoxIndirectParamW) gDialogBoxIndirectParam = nullptr;

INT_PTR CALLBACK markingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LONGLONG now = ticksNow();
    if (!gMarks.firstMessage)
        gMarks.firstMessage = now;
    if (message != WM_INITDIALOG || gMarks.initStart)
        return gMarks.procedure(dialog, message, wParam, lParam);
    gMarks.initStart = now;
    const INT_PTR result = gMarks.procedure(dialog, message, wParam, lParam);
    gMarks.initEnd = ticksNow();
    return result;
}

INT_PTR WINAPI markingDialogBoxParam(HINSTANCE instance, LPCWSTR name, HWND owner, DLGPROC procedure,
                                     LPARAM param)
{
    gMarks.dialogBox = ticksNow();
    gMarks.procedure = procedure;
    return gDialogBoxParam(instance, name, owner, markingDialogProc, param);
}

INT_PTR WINAPI markingDialogBoxIndirectParam(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate,
                                             HWND owner, DLGPROC procedure, LPARAM param)
{
    gMarks.dialogBox = ticksNow();
    gMarks.procedure = procedure;
    return gDialogBoxIndirectParam(instance, dialogTemplate, owner, markingDialogProc, param);
}

} // namespace

std::vector<UpPhases> measureUpPhases(const BenchRequests& requests, const DriverWindow& driver,
                                      int runs)
{
    // The task dialog is built by the common controls from a template made in memory;
    // MessageBoxW builds its dialog inside user32, where no import can be patched.
    ImportPatch library(libraryModule(), "DialogBoxParamW", reinterpret_cast<void*>(markingDialogBoxParam));
    gDialogBoxParam = library.originalAs<decltype(&DialogBoxParamW)>();
    ImportPatch controls(GetModuleHandleW(L"comctl32.dll"), "DialogBoxIndirectParamW",
                         reinterpret_cast<void*>(markingDialogBoxIndirectParam));
    gDialogBoxIndirectParam = controls.originalAs<decltype(&DialogBoxIndirectParamW)>();

    const std::pair<const char*, std::function<void()>> calls[] = {
        {"IShowWarningDialog", [&] { IShowWarningDialog(&requests.warning); }},
        {"TaskDialogIndirect", [&] { showTaskDialog(driver.window(), requests.texts); }},
    };
    std::vector<UpPhases> phases;
    for (const auto& call : calls)
        phases.push_back({call.first, 0, 0, 0, 0, 0, 0});
    for (int run = 0; run < runs; ++run) {
        for (size_t which = 0; which < phases.size(); ++which) {
            driver.bringToFront();
            gMarks = {};
            ActivationWatch watch(GetCurrentThreadId());
            const LONGLONG start = ticksNow();
            calls[which].second();
            if (!watch.up() || !gMarks.dialogBox || !gMarks.firstMessage || !gMarks.initEnd)
                continue;
            const LONGLONG initEnd = gMarks.initEnd;
            UpPhases& phase = phases[which];
            ++phase.runs;
            phase.toDialogBoxUs += ticksToMicroseconds(gMarks.dialogBox - start);
            phase.toWindowUs += ticksToMicroseconds(gMarks.firstMessage - gMarks.dialogBox);
            phase.toInitUs += ticksToMicroseconds(gMarks.initStart - gMarks.firstMessage);
            phase.initUs += ticksToMicroseconds(initEnd - gMarks.initStart);
            phase.toUpUs += ticksToMicroseconds(watch.upAt() - initEnd);
        }
    }
    for (UpPhases& phase : phases) {
        if (!phase.runs)
            continue;
        for (double* stage : {&phase.toDialogBoxUs, &phase.toWindowUs, &phase.toInitUs, &phase.initUs,
                              &phase.toUpUs})
            *stage /= phase.runs;
    }
    return phases;
}
