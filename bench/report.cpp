#include "report.h"

#include <cstdio>
#include <sstream>

#include "statistics.h"

namespace {

constexpr double kWarningGoal = 0.8;     // of TaskDialogIndirect's time to come up
constexpr double kReturnGoalUs = 100;    // median return of a threaded export
constexpr double kPaintGoal = 1.2;       // times the preloaded blits
constexpr double kScaledPaintGoal = 1.2; // the same, where the pictures are scaled

std::string format(double value, int decimals)
{
    char text[64];
    snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string jsonString(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        if (static_cast<unsigned char>(c) < 0x20)
            quoted += ' ';
        else
            quoted += c;
    }
    return quoted + "\"";
}

// Every paint run: this run's, then those at other resolutions.
std::vector<const PaintResults*> paintRuns(const Results& results)
{
    std::vector<const PaintResults*> runs = {&results.paint};
    for (const PaintResults& other : results.paintAt)
        runs.push_back(&other);
    return runs;
}

std::vector<const Measurement*> paintMeasurements(const Results& results)
{
    std::vector<const Measurement*> all;
    for (const PaintResults* run : paintRuns(results))
        for (const Measurement* measurement : {&run->libraryPaint, &run->preloadedPaint, &run->libraryRepaint,
                                               &run->preloadedRepaint})
            all.push_back(measurement);
    return all;
}

const Measurement* find(const Results& results, const std::string& id)
{
    for (const std::vector<Measurement>* group : {&results.up, &results.returns})
        for (const Measurement& measurement : *group)
            if (measurement.id == id)
                return &measurement;
    for (const Measurement* measurement : paintMeasurements(results))
        if (measurement->id == id)
            return measurement;
    return nullptr;
}

std::vector<const Measurement*> allMeasurements(const Results& results)
{
    std::vector<const Measurement*> all;
    for (const Measurement& measurement : results.up)
        all.push_back(&measurement);
    for (const Measurement& measurement : results.returns)
        all.push_back(&measurement);
    for (const Measurement* measurement : paintMeasurements(results))
        all.push_back(measurement);
    return all;
}

double median(const Results& results, const std::string& id)
{
    const Measurement* measurement = find(results, id);
    return measurement ? summarise(measurement->samples).median : 0;
}

double p90(const Results& results, const std::string& id)
{
    const Measurement* measurement = find(results, id);
    return measurement ? summarise(measurement->samples).p90 : 0;
}

double ratio(double numerator, double denominator)
{
    return denominator > 0 ? numerator / denominator : 0;
}

struct Goal {
    std::string id, text, figure;
    double value, limit;
    bool met() const { return value > 0 && value <= limit; }
};

std::vector<Goal> goals(const Results& results)
{
    std::vector<Goal> all = {
        {"warning_up_vs_taskdialog", "Warning up (shown and active): at most 0.8 of TaskDialogIndirect's (median)",
         "ratio", ratio(median(results, "up.warning"), median(results, "up.taskdialog")), kWarningGoal},
        {"jobstorage_return", "VJobStorageDialog returns: median at most 100 µs", "µs",
         median(results, "return.jobstorage"), kReturnGoalUs},
        {"duplex_threaded_return", "VDisplayDialog threaded returns: median at most 100 µs", "µs",
         median(results, "return.duplex_threaded"), kReturnGoalUs},
        {"duplex_paint_vs_preloaded", "Duplex paint: at most 1.2 times the preloaded blits (median)",
         "ratio", ratio(median(results, "paint.library"), median(results, "paint.preloaded")), kPaintGoal},
    };
    for (const PaintResults& other : results.paintAt) {
        const std::string dpi = std::to_string(other.dpi);
        all.push_back({"duplex_paint_" + dpi + "dpi_vs_preloaded",
                       "Duplex paint at " + dpi + " DPI: at most 1.2 times the preloaded blits (median)", "ratio",
                       ratio(median(results, other.libraryPaint.id), median(results, other.preloadedPaint.id)),
                       kScaledPaintGoal});
    }
    return all;
}

std::string unitText(const std::string& unit)
{
    return unit == "us" ? "µs" : unit;
}

int decimalsFor(const std::string& unit)
{
    return unit == "us" ? 1 : 2;
}

// ---- JSON -----------------------------------------------------------------------------

std::string jsonSummary(const Measurement& measurement)
{
    const Summary summary = summarise(measurement.samples);
    std::ostringstream out;
    out << "{\"label\": " << jsonString(measurement.label) << ", \"unit\": " << jsonString(measurement.unit)
        << ", \"runs\": " << summary.count << ", \"failed_runs\": " << measurement.failures
        << ", \"activated_before_shown\": " << measurement.hiddenAtActivation
        << ", \"median\": " << format(summary.median, 3) << ", \"p90\": " << format(summary.p90, 3)
        << ", \"p10\": " << format(summary.p10, 3) << ", \"p25\": " << format(summary.p25, 3)
        << ", \"p75\": " << format(summary.p75, 3) << ", \"min\": " << format(summary.min, 3)
        << ", \"max\": " << format(summary.max, 3) << ", \"mean\": " << format(summary.mean, 3);
    if (!measurement.activationSamples.empty()) {
        const Summary activation = summarise(measurement.activationSamples);
        out << ", \"to_activation_median\": " << format(activation.median, 3)
            << ", \"to_activation_p90\": " << format(activation.p90, 3);
    }
    out << "}";
    return out.str();
}

std::string jsonProfile(const Profile& profile)
{
    std::ostringstream out;
    out << "{\"mean_us\": " << format(profile.meanUs, 2) << ", \"rows\": [";
    for (size_t index = 0; index < profile.rows.size(); ++index) {
        const ProfileRow& row = profile.rows[index];
        out << (index ? ", " : "") << "{\"function\": " << jsonString(row.function)
            << ", \"calls_per_run\": " << format(row.callsPerRun, 2)
            << ", \"us_per_run\": " << format(row.microsecondsPerRun, 2) << "}";
    }
    out << "]}";
    return out.str();
}

std::string json(const Results& results)
{
    std::ostringstream out;
    out << "{\n  \"environment\": {";
    for (size_t index = 0; index < results.environment.size(); ++index)
        out << (index ? ", " : "") << jsonString(results.environment[index].first) << ": "
            << jsonString(results.environment[index].second);
    out << "},\n  \"settings\": {\"dialog_up_runs\": " << results.upRuns
        << ", \"export_calls\": " << results.calls << ", \"paints\": " << results.paints
        << ", \"footprint_dialogs\": " << results.footprintDialogs
        << ", \"paint_dpi\": " << results.paint.dpi << ", \"run_seconds\": " << format(results.seconds, 1) << "},\n  \"measurements\": {";
    const std::vector<const Measurement*> all = allMeasurements(results);
    for (size_t index = 0; index < all.size(); ++index)
        out << (index ? "," : "") << "\n    " << jsonString(all[index]->id) << ": " << jsonSummary(*all[index]);
    out << "\n  },\n  \"ratios\": {"
        << "\"warning_to_messagebox_median\": " << format(ratio(median(results, "up.warning"), median(results, "up.messagebox")), 3)
        << ", \"warning_to_messagebox_p90\": " << format(ratio(p90(results, "up.warning"), p90(results, "up.messagebox")), 3)
        << ", \"warning_to_taskdialog_median\": " << format(ratio(median(results, "up.warning"), median(results, "up.taskdialog")), 3)
        << ", \"warning_to_taskdialog_p90\": " << format(ratio(p90(results, "up.warning"), p90(results, "up.taskdialog")), 3)
        << ", \"paint_to_preloaded_median\": " << format(ratio(median(results, "paint.library"), median(results, "paint.preloaded")), 3)
        << ", \"paint_to_preloaded_p90\": " << format(ratio(p90(results, "paint.library"), p90(results, "paint.preloaded")), 3);
    for (const PaintResults& other : results.paintAt) {
        const std::string dpi = std::to_string(other.dpi);
        out << ", \"paint_to_preloaded_median_" << dpi << "dpi\": "
            << format(ratio(median(results, other.libraryPaint.id), median(results, other.preloadedPaint.id)), 3)
            << ", \"paint_to_preloaded_p90_" << dpi << "dpi\": "
            << format(ratio(p90(results, other.libraryPaint.id), p90(results, other.preloadedPaint.id)), 3);
    }
    out << "},\n  \"goals\": [";
    const std::vector<Goal> all_goals = goals(results);
    for (size_t index = 0; index < all_goals.size(); ++index) {
        const Goal& goal = all_goals[index];
        out << (index ? "," : "") << "\n    {\"id\": " << jsonString(goal.id) << ", \"goal\": " << jsonString(goal.text)
            << ", \"value\": " << format(goal.value, 3) << ", \"limit\": " << format(goal.limit, 3)
            << ", \"met\": " << (goal.met() ? "true" : "false") << "}";
    }
    out << "\n  ],\n  \"profiles\": {\n    \"warning_up\": " << jsonProfile(results.warningProfile)
        << ",\n    \"jobstorage_return\": " << jsonProfile(results.returnProfile)
        << ",\n    \"duplex_paint\": " << jsonProfile(results.paint.profile) << "\n  },\n  \"warning_up_stages\": [";
    for (size_t index = 0; index < results.upPhases.size(); ++index) {
        const UpPhases& phase = results.upPhases[index];
        out << (index ? "," : "") << "\n    {\"dialog\": " << jsonString(phase.label) << ", \"runs\": " << phase.runs
            << ", \"to_dialogbox_us\": " << format(phase.toDialogBoxUs, 1)
            << ", \"dialog_window_us\": " << format(phase.toWindowUs, 1)
            << ", \"controls_us\": " << format(phase.toInitUs, 1) << ", \"initdialog_us\": " << format(phase.initUs, 1)
            << ", \"to_up_us\": " << format(phase.toUpUs, 1) << "}";
    }
    out << "\n  ],\n  \"footprint\": [";
    for (size_t index = 0; index < results.footprints.size(); ++index) {
        const Footprint& f = results.footprints[index];
        out << (index ? "," : "") << "\n    {\"dialog\": " << jsonString(f.label) << ", \"opened\": " << f.opened
            << ", \"private_kib\": " << format(f.privateKiB, 1) << ", \"working_set_kib\": " << format(f.workingSetKiB, 1)
            << ", \"handles\": " << format(f.handles, 2) << ", \"windows\": " << format(f.windows, 2)
            << ", \"library_gdi_objects\": " << (f.gdiObjects < 0 ? "null" : format(f.gdiObjects, 2))
            << ", \"private_kib_after_close\": " << format(f.privateKiBAfter, 1)
            << ", \"handles_after_close\": " << format(f.handlesAfter, 2) << "}";
    }
    out << "\n  ]\n}\n";
    return out.str();
}

// ---- Markdown -------------------------------------------------------------------------

std::string row(const Measurement& measurement, const std::string& comparedWith = {},
                double medianRatio = 0, double p90Ratio = 0)
{
    const Summary summary = summarise(measurement.samples);
    const int decimals = decimalsFor(measurement.unit);
    const std::string unit = " " + unitText(measurement.unit);
    std::string line = "| " + measurement.label + " | " + std::to_string(summary.count);
    if (measurement.failures)
        line += " (" + std::to_string(measurement.failures) + " without a figure)";
    line += " | " + format(summary.median, decimals) + unit + " | " + format(summary.p90, decimals) + unit;
    if (!comparedWith.empty())
        line += " | " + format(medianRatio, 2) + " / " + format(p90Ratio, 2) + " |";
    else
        line += " | |";
    return line + "\n";
}

// A dialog coming up: the figures of row(), then the time to activation alone and how
// often the dialog was activated before it was shown.
std::string upRow(const Measurement& measurement, const std::string& comparedWith = {},
                  double medianRatio = 0, double p90Ratio = 0)
{
    std::string line = row(measurement, comparedWith, medianRatio, p90Ratio);
    line.resize(line.size() - 1);  // the line feed
    const Summary activation = summarise(measurement.activationSamples);
    return line + " " + format(activation.median, 2) + " ms | " +
           std::to_string(measurement.hiddenAtActivation) + " of " +
           std::to_string(measurement.samples.size()) + " |\n";
}

std::string ratioRow(const Results& results, const std::string& id, const std::string& limitId,
                     const std::string& limitLabel)
{
    const Measurement* measurement = find(results, id);
    if (!measurement)
        return {};
    return row(*measurement, limitLabel, ratio(median(results, id), median(results, limitId)),
               ratio(p90(results, id), p90(results, limitId)));
}

std::string profileTable(const Profile& profile, double shownShare)
{
    std::ostringstream out;
    out << "| Where | Calls per run | µs per run | Share |\n|---|---:|---:|---:|\n";
    double others = 0;
    int otherFunctions = 0;
    for (const ProfileRow& row : profile.rows) {
        const double share = profile.meanUs > 0 ? row.microsecondsPerRun / profile.meanUs : 0;
        const bool between = row.function == "(between calls)";
        if (!between && share < shownShare) {
            others += row.microsecondsPerRun;
            ++otherFunctions;
            continue;
        }
        out << "| " << (between ? std::string("between the timed calls") : "`" + row.function + "`") << " | "
            << (between ? std::string("") : format(row.callsPerRun, 1)) << " | "
            << format(row.microsecondsPerRun, 1) << " | " << format(share * 100, 0) << " % |\n";
    }
    if (otherFunctions)
        out << "| " << otherFunctions << " other functions | | " << format(others, 1) << " | "
            << format(profile.meanUs > 0 ? others / profile.meanUs * 100 : 0, 0) << " % |\n";
    out << "| **whole, with every call timed** | | **" << format(profile.meanUs, 1) << "** | |\n";
    return out.str();
}

std::string markdown(const Results& results)
{
    std::ostringstream out;
    out << "### Goals\n\n| Goal | Measured | Met |\n|---|---:|---|\n";
    for (const Goal& goal : goals(results))
        out << "| " << goal.text << " | " << format(goal.value, goal.figure == "ratio" ? 2 : 1)
            << (goal.figure == "ratio" ? "" : " " + goal.figure) << " | " << (goal.met() ? "yes" : "**no**") << " |\n";

    const std::string header = "| Measurement | Runs | Median | 90th percentile | Ratio, median / 90th |\n"
                               "|---|---:|---:|---:|---:|\n";
    const std::string upHeader =
        "| Measurement | Runs | Median | 90th percentile | Ratio, median / 90th "
        "| Median to activation alone | Activated before shown |\n|---|---:|---:|---:|---:|---:|---:|\n";
    out << "\n### 1. Warning up: from the call until the dialog is shown and active\n\n"
        << "Ratios are IShowWarningDialog's time over the other dialog's.\n\n" << upHeader;
    out << upRow(*find(results, "up.warning"));
    for (const char* id : {"up.messagebox", "up.taskdialog", "up.taskdialog_module"}) {
        const Measurement* other = find(results, id);
        out << upRow(*other, "x", ratio(median(results, "up.warning"), median(results, id)),
                     ratio(p90(results, "up.warning"), p90(results, id)));
    }

    out << "\n### 2. Threaded exports: from the call to its return\n\n"
        << "Ratios are to the bare CreateThread.\n\n" << header
        << row(*find(results, "return.createthread"))
        << ratioRow(results, "return.jobstorage", "return.createthread", "x")
        << ratioRow(results, "return.duplex_threaded", "return.createthread", "x");

    out << "\n### 3. Duplex paint: one WM_PAINT of the dialog with its three pictures\n\n"
        << "Forced repaints of the open dialog at each screen resolution (96 DPI is 100 %, 144 "
           "DPI 150 %); ratios are to the same paint with the bitmaps loaded beforehand.\n\n" << header;
    for (const PaintResults* run : paintRuns(results))
        out << ratioRow(results, run->libraryPaint.id, run->preloadedPaint.id, "x")
            << row(run->preloadedPaint)
            << ratioRow(results, run->libraryRepaint.id, run->preloadedRepaint.id, "x")
            << row(run->preloadedRepaint);

    out << "\n### 4. The other dialogs up: from the call until the dialog is shown and active\n\n"
        << upHeader;
    for (const char* id : {"up.jobstorage", "up.duplex_threaded", "up.duplex_blocking"})
        out << upRow(*find(results, id));

    out << "\n### 5. Held per open dialog\n\n"
        << results.footprintDialogs << " dialogs of each kind open at once, against none, per dialog; "
           "each on a thread of its own (the library's threads for the threaded exports, the "
           "benchmark's for the blocking calls), so every line includes what the first line shows "
           "for a thread alone. Private bytes are the process's commit charge; handles are counted "
           "by probing the handle table; the library's GDI objects are its creations less its "
           "deletions, counted at its imports. The last two columns are taken after all were "
           "closed again.\n\n"
        << "| Dialog | Open | Private bytes | Working set | Handles | Windows | Library's GDI objects "
           "| Private bytes after closing | Handles after closing |\n"
        << "|---|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    for (const Footprint& f : results.footprints)
        out << "| " << f.label << " | " << f.opened << " | " << format(f.privateKiB, 0) << " KiB | "
            << format(f.workingSetKiB, 0) << " KiB | " << format(f.handles, 1) << " | "
            << format(f.windows, 0) << " | " << (f.gdiObjects < 0 ? std::string("n/a") : format(f.gdiObjects, 1))
            << " | " << format(f.privateKiBAfter, 0) << " KiB | " << format(f.handlesAfter, 1) << " |\n";

    out << "\n### Profiles: where the time goes\n\n"
        << "Every call the library makes into the system, timed through its import table in "
           "separate runs (the timing itself adds a little). Calls inside another timed call "
           "count only there: `DialogBoxParamW` keeps the time the system spends building the "
           "dialog and its messages, without the library's calls made from them.\n\n"
        << "**The warnings coming up, stage by stage** (means over " << results.upRuns
        << " runs each; the dialog procedure wrapped through the DialogBox import of the library "
           "and of the common controls; MessageBoxW builds its dialog inside user32, out of reach):\n\n"
        << "| Dialog | Call to DialogBox | Dialog window made | Controls made (to WM_INITDIALOG) "
           "| WM_INITDIALOG | Then until shown and active | Whole |\n"
        << "|---|---:|---:|---:|---:|---:|---:|\n";
    for (const UpPhases& phase : results.upPhases)
        out << "| " << phase.label << " | " << format(phase.toDialogBoxUs, 0) << " µs | "
            << format(phase.toWindowUs, 0) << " µs | " << format(phase.toInitUs, 0) << " µs | "
            << format(phase.initUs, 0) << " µs | " << format(phase.toUpUs, 0) << " µs | "
            << format(phase.wholeUs(), 0) << " µs |\n";
    out << "\n**Warning, from the call until shown and active** (" << results.upRuns << " runs):\n\n"
        << profileTable(results.warningProfile, 0.02)
        << "\n**VJobStorageDialog, from the call to its return** (" << results.upRuns << " calls):\n\n"
        << profileTable(results.returnProfile, 0.02)
        << "\n**Duplex WM_PAINT at " << results.paint.dpi << " DPI** (" << results.paints << " paints):\n\n"
        << profileTable(results.paint.profile, 0.02);
    return out.str();
}

// ---- Chart data -----------------------------------------------------------------------

std::string chartData(const Results& results)
{
    std::vector<std::vector<std::string>> panels = {
        {"up.warning", "up.messagebox", "up.taskdialog", "up.taskdialog_module", "up.jobstorage",
         "up.duplex_threaded", "up.duplex_blocking"},
        {"return.createthread", "return.jobstorage", "return.duplex_threaded"},
        {},
    };
    std::vector<std::vector<std::string>> names = {
        {"IShowWarningDialog", "MessageBoxW", "TaskDialogIndirect", "TaskDialog + module",
         "VJobStorageDialog", "VDisplayDialog thr.", "VDisplayDialog block."},
        {"CreateThread (limit)", "VJobStorageDialog", "VDisplayDialog thr."},
        {},
    };
    for (const PaintResults* run : paintRuns(results)) {
        const std::string dpi = std::to_string(run->dpi) + " DPI";
        for (const Measurement* measurement : {&run->libraryPaint, &run->preloadedPaint})
            panels[2].push_back(measurement->id);
        names[2].push_back("WM_PAINT " + dpi + ", library");
        names[2].push_back("WM_PAINT " + dpi + ", preloaded");
    }
    std::ostringstream out;
    out << "# position label p10 p25 median p75 p90 (ms, then µs, then µs)\n";
    for (size_t panel = 0; panel < panels.size(); ++panel) {
        if (panel)
            out << "\n\n";
        for (size_t index = 0; index < panels[panel].size(); ++index) {
            const Measurement* measurement = find(results, panels[panel][index]);
            const Summary s = measurement ? summarise(measurement->samples) : Summary{};
            out << index << " \"" << names[panel][index] << "\" " << format(s.p10, 3) << " "
                << format(s.p25, 3) << " " << format(s.median, 3) << " " << format(s.p75, 3) << " "
                << format(s.p90, 3) << "\n";
        }
    }
    return out.str();
}

bool writeFile(const std::wstring& path, const std::string& content)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    const bool written = fwrite(content.data(), 1, content.size(), file) == content.size();
    return fclose(file) == 0 && written;
}

} // namespace

bool writeReport(const Results& results, const std::wstring& folder)
{
    const std::wstring base = folder.empty() || folder.back() == L'\\' || folder.back() == L'/'
        ? folder : folder + L"\\";
    return writeFile(base + L"performance.json", json(results)) &&
           writeFile(base + L"results.md", markdown(results)) &&
           writeFile(base + L"chart.dat", chartData(results));
}
