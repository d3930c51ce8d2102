// Writing the results: performance.json, the Markdown tables of the report and the data
// of its chart.
#ifndef BENCH_REPORT_H
#define BENCH_REPORT_H

#include <string>
#include <utility>
#include <vector>

#include "measurements.h"

struct Results {
    std::vector<std::pair<std::string, std::string>> environment;  // from the command line
    int upRuns = 0, calls = 0, paints = 0, footprintDialogs = 0;
    std::vector<Measurement> up;
    std::vector<Measurement> returns;
    PaintResults paint;
    std::vector<PaintResults> paintAt;  // the same paint at other screen resolutions
    std::vector<UpPhases> upPhases;
    Profile warningProfile;
    Profile returnProfile;
    std::vector<Footprint> footprints;
    double seconds = 0;  // the whole run
};

// Writes performance.json, results.md and chart.dat into `folder`; false when a file
// cannot be written.
bool writeReport(const Results& results, const std::wstring& folder);

#endif
