// Where a dialog's time goes: the library's calls into the system, timed by patching the
// loaded library's import table, and the time between them, which is the library's own
// code and whatever the system does on its behalf (messages, window creation).
#ifndef BENCH_IMPORT_PROFILE_H
#define BENCH_IMPORT_PROFILE_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

struct ImportCall {
    int function;  // index into the profiler's function names
    DWORD thread;
    LONGLONG start, end;
};

// A stretch of time on one thread whose calls are to be accounted for.
struct Span {
    DWORD thread;
    LONGLONG start, end;
};

struct ProfileShare {
    int function;  // -1: time inside the spans spent in no timed call
    LONGLONG ticks = 0;
    long calls = 0;
};

// Splits the spans' time among the timed calls, each call counted without the calls made
// inside it (DialogBoxParamW holds the whole dialog procedure), and the rest. Calls are
// cut at the spans' edges. Pure arithmetic: `calls` in any order; the shares come in
// function order, the rest last.
std::vector<ProfileShare> attributeCalls(const std::vector<ImportCall>& calls,
                                         const std::vector<Span>& spans, int functions);

// While it lives, every call of the library's to the functions it knows is logged with
// its times. Construct and destroy it only while no dialog of the library is open.
class ImportProfiler {
public:
    explicit ImportProfiler(HMODULE library);
    ~ImportProfiler();
    ImportProfiler(const ImportProfiler&) = delete;
    ImportProfiler& operator=(const ImportProfiler&) = delete;

    static int functionCount();
    static const char* functionName(int function);

    void clear();
    std::vector<ImportCall> calls() const;
    // Calls of one function logged so far.
    long count(const char* functionName) const;

private:
    struct Patches;
    std::unique_ptr<Patches> patches_;
};

struct Profile;

// The profile of the spans from what the profiler logged: rows with the calls and time
// per span, the time between calls last.
Profile profileOf(const ImportProfiler& profiler, const std::vector<Span>& spans);

#endif
