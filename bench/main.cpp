// printdialogs-bench: how fast each dialog of the library comes up, paints and goes, side
// by side with the system's own dialogs, in one run on one machine. It writes its results
// and never fails on a time.
//   printdialogs-bench --out FOLDER [--runs 40] [--calls 1000] [--paints 1000]
//                      [--dialogs 8] [--env KEY=VALUE ...] [--paint-at FILE ...]
//   printdialogs-bench --paint-only FILE [--paints 1000]
// --paint-only measures the duplex paint alone and writes it to FILE; --paint-at puts
// such a file, from a run at another screen resolution, beside this run's paint.
#include "measurements.h"
#include "report.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>

namespace {

struct Options {
    std::wstring out;
    int runs = 40;
    int calls = 1000;
    int paints = 1000;
    int dialogs = 8;
    std::vector<std::pair<std::string, std::string>> environment;
    std::wstring paintOnly;
    std::vector<std::wstring> paintAt;
};

std::string narrow(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    return result;
}

bool parseCount(const wchar_t* text, int& count)
{
    wchar_t* end = nullptr;
    const long value = wcstol(text, &end, 10);
    if (!*text || *end || value < 1 || value > 100000)
        return false;
    count = static_cast<int>(value);
    return true;
}

bool parseOptions(int argc, wchar_t** argv, Options& options)
{
    for (int index = 1; index < argc; ++index) {
        const std::wstring name = argv[index];
        if (index + 1 >= argc)
            return false;
        const wchar_t* value = argv[++index];
        if (name == L"--out") {
            options.out = value;
        } else if (name == L"--paint-only") {
            options.paintOnly = value;
        } else if (name == L"--paint-at") {
            options.paintAt.push_back(value);
        } else if (name == L"--env") {
            const std::wstring pair = value;
            const size_t equals = pair.find(L'=');
            if (equals == std::wstring::npos)
                return false;
            options.environment.emplace_back(narrow(pair.substr(0, equals)), narrow(pair.substr(equals + 1)));
        } else if (!((name == L"--runs" && parseCount(value, options.runs)) ||
                     (name == L"--calls" && parseCount(value, options.calls)) ||
                     (name == L"--paints" && parseCount(value, options.paints)) ||
                     (name == L"--dialogs" && parseCount(value, options.dialogs)))) {
            return false;
        }
    }
    return !options.out.empty() || !options.paintOnly.empty();
}

void progress(const char* step, LONGLONG since)
{
    printf("%-44s %6.1f s\n", step, ticksToMicroseconds(ticksNow() - since) / 1e6);
    fflush(stdout);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    Options options;
    if (!parseOptions(argc, argv, options)) {
        fputs("usage: printdialogs-bench --out FOLDER [--runs N] [--calls N] [--paints N] "
              "[--dialogs N] [--env KEY=VALUE ...] [--paint-at FILE ...]\n"
              "       printdialogs-bench --paint-only FILE [--paints N]\n", stderr);
        return 2;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    BenchRequests requests;
    if (!makeRequests(requests)) {
        fputs("printdialogs-bench: sample_strings.dll is missing beside the program\n", stderr);
        return 1;
    }
    DriverWindow driver;

    if (!options.paintOnly.empty()) {
        const PaintResults paint = measureDuplexPaint(requests, driver, options.paints);
        if (!writePaintSamples(paint, options.paintOnly)) {
            fputs("printdialogs-bench: the paint figures could not be written\n", stderr);
            return 1;
        }
        return 0;
    }

    Results results;
    for (const std::wstring& path : options.paintAt) {
        PaintResults other;
        if (!readPaintSamples(path, other)) {
            fputs("printdialogs-bench: a --paint-at file could not be read\n", stderr);
            return 1;
        }
        results.paintAt.push_back(other);
    }
    results.environment = options.environment;
    results.upRuns = options.runs;
    results.calls = options.calls;
    results.paints = options.paints;
    results.footprintDialogs = options.dialogs;
    const LONGLONG start = ticksNow();

    results.up = measureDialogsUp(requests, driver, options.runs);
    progress("dialogs up", start);
    results.returns = measureExportReturns(requests, driver, options.calls);
    progress("threaded exports return", start);
    results.paint = measureDuplexPaint(requests, driver, options.paints);
    progress("duplex paint", start);
    results.upPhases = measureUpPhases(requests, driver, options.runs);
    results.warningProfile = profileWarningUp(requests, driver, options.runs);
    results.returnProfile = profileExportReturn(requests, driver, options.runs);
    progress("profiles", start);
    results.footprints = measureFootprints(requests, driver, options.dialogs);
    progress("held per open dialog", start);
    results.seconds = ticksToMicroseconds(ticksNow() - start) / 1e6;

    if (!writeReport(results, options.out)) {
        fputs("printdialogs-bench: the results could not be written\n", stderr);
        return 1;
    }
    return 0;
}
