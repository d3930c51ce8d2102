// The benchmark's measurements. Each runs its cases round-robin, so that whatever else
// the machine does at the time weighs on all of them alike.
#ifndef BENCH_MEASUREMENTS_H
#define BENCH_MEASUREMENTS_H

#include <functional>
#include <string>
#include <vector>

#include "bench.h"
#include "requests.h"

// From a call to its dialog being up (shown and active), and to its activation alone, in
// milliseconds.
struct UpTimes {
    double upMs = 0;
    double activationMs = 0;
    bool visibleAtActivation = true;
};

// One call of a blocking dialog (it returns once the dialog has gone); false when no
// dialog came up.
bool timeBlockingUp(const std::function<void()>& call, UpTimes& times);

// One call that starts a dialog thread and returns its handle: how long the call took,
// and from the call to the dialog's activation. The dialog is closed at once and its
// thread waited for. Without `dialogExpected` only the thread is waited for.
struct ThreadedRun {
    bool started = false;  // the call returned a thread
    double returnUs = 0;
    bool up = false;
    UpTimes times;
};
ThreadedRun timeThreaded(const std::function<HANDLE()>& call, bool dialogExpected);

// Call to up (shown and active) of the three warnings and of the library's other dialogs.
std::vector<Measurement> measureDialogsUp(const BenchRequests& requests, const DriverWindow& driver,
                                          int rounds);

// Time spent in each function the library imports, over some calls of it.
struct ProfileRow {
    std::string function;
    double callsPerRun = 0;
    double microsecondsPerRun = 0;
};

// Where the time goes from the warning's call to its activation, and from a threaded
// export's call to its return (the notice's; the duplex export's is the same path).
struct Profile {
    std::vector<ProfileRow> rows;
    double meanUs = 0;  // of the runs profiled, each with every call timed
};
Profile profileWarningUp(const BenchRequests& requests, const DriverWindow& driver, int runs);
Profile profileExportReturn(const BenchRequests& requests, const DriverWindow& driver, int calls);

// The stages of a warning coming up, as means in microseconds: from the call to the
// DialogBox call, to the dialog window's existence (its procedure's first message), to
// WM_INITDIALOG (the controls of the template made), the handling of WM_INITDIALOG, and
// from there until the dialog is shown and active.
struct UpPhases {
    std::string label;
    int runs = 0;
    double toDialogBoxUs = 0, toWindowUs = 0, toInitUs = 0, initUs = 0, toUpUs = 0;
    double wholeUs() const { return toDialogBoxUs + toWindowUs + toInitUs + initUs + toUpUs; }
};
std::vector<UpPhases> measureUpPhases(const BenchRequests& requests, const DriverWindow& driver,
                                      int runs);

// Call to return of the threaded exports and of a bare CreateThread.
std::vector<Measurement> measureExportReturns(const BenchRequests& requests,
                                              const DriverWindow& driver, int calls);

struct PaintResults {
    int dpi = 0;                  // the screen's, as the dialog was painted
    Measurement libraryPaint;     // the dialog's WM_PAINT, pictures drawn by the library
    Measurement preloadedPaint;   // the same WM_PAINT, blitting bitmaps loaded beforehand
    Measurement libraryRepaint;   // the whole forced repaint (dialog and controls)
    Measurement preloadedRepaint;
    Profile profile;              // the library's WM_PAINT
};

// Forced repaints of the duplex dialog, against blitting already-loaded bitmaps, at the
// screen's resolution.
PaintResults measureDuplexPaint(const BenchRequests& requests, const DriverWindow& driver,
                                int paints);

// The paint figures of a run at another resolution, handed from that run to this one in
// a file: written by one process, read by the next (Wine takes the resolution once per
// process). The ids read back start with "dpiN.", N the resolution of that run. False
// when the file cannot be written or read whole.
bool writePaintSamples(const PaintResults& paint, const std::wstring& path);
bool readPaintSamples(const std::wstring& path, PaintResults& paint);

// Memory, handles, windows and the library's GDI objects held per open dialog.
struct Footprint {
    std::string label;
    int dialogs = 0;            // opened at once
    int opened = 0;             // seen open
    double privateKiB = 0;      // per dialog, while open
    double workingSetKiB = 0;
    double handles = 0;
    double windows = 0;         // the dialog and its controls
    double gdiObjects = -1;     // the library's own, from its imports; -1: not countable
    double privateKiBAfter = 0; // per dialog, once all were closed again
    double handlesAfter = 0;
};

std::vector<Footprint> measureFootprints(const BenchRequests& requests, const DriverWindow& driver,
                                         int dialogs);

#endif
