// What the parts of the benchmark share: the clock, the driver's window, waiting while
// the window stays responsive, and the record of one measurement.
#ifndef BENCH_BENCH_H
#define BENCH_BENCH_H

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

constexpr DWORD kDialogTimeoutMs = 5000;

// QueryPerformanceCounter ticks: comparable across the threads of the process.
inline LONGLONG ticksNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double ticksToMicroseconds(LONGLONG ticks);

// One timed quantity: its samples, in `unit`, and the runs that gave none.
struct Measurement {
    std::string id;     // key in the JSON file, e.g. "up.warning"
    std::string label;  // what the table shows
    std::string unit;   // "ms" or "us"
    std::vector<double> samples;
    int failures = 0;
    // Dialogs coming up: the time to activation alone, and how many dialogs were activated
    // before they were shown.
    std::vector<double> activationSamples;
    int hiddenAtActivation = 0;

    Measurement() = default;
    Measurement(std::string id, std::string label, std::string unit)
        : id(std::move(id)), label(std::move(label)), unit(std::move(unit)) {}
};

// The top-level window a driver's application would be printing from: in the foreground
// at every call, so that the dialogs get the owner and placement they get in real use.
class DriverWindow {
public:
    DriverWindow();
    ~DriverWindow();
    DriverWindow(const DriverWindow&) = delete;
    DriverWindow& operator=(const DriverWindow&) = delete;

    HWND window() const { return window_; }
    // Makes it the foreground window again and handles what is queued for it.
    void bringToFront() const;

private:
    HWND window_ = nullptr;
};

// Handles this thread's messages until `object` is signalled; false on time-out. The
// driver's window must answer while other threads' dialogs activate and close.
bool waitPumping(HANDLE object, DWORD timeoutMs = kDialogTimeoutMs);
void pumpMessages();

// Path of a file beside the benchmark program.
std::wstring besideProgram(const wchar_t* fileName);

#endif
