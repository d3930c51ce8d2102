// Running each export under the import ledger, with its dialogs closed as they appear.
#ifndef TESTS_RELIABILITY_RELIABILITY_H
#define TESTS_RELIABILITY_RELIABILITY_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "dialog_driver.h"
#include "duplex_harness.h"
#include "import_ledger.h"
#include "notice_driver.h"
#include "ready_dialogs.h"
#include "warning_support.h"

enum class Export { Warning, DuplexBlocking, DuplexThreaded, Notice };

inline const char* exportName(Export which)
{
    switch (which) {
    case Export::Warning: return "IShowWarningDialog";
    case Export::DuplexBlocking: return "VDisplayDialog (blocking)";
    case Export::DuplexThreaded: return "VDisplayDialog (threaded)";
    case Export::Notice: return "VJobStorageDialog";
    }
    return "?";
}

// A count of the default run, sized for a test command of two minutes, times
// RELIABILITY_SCALE: scripts/reliability-long.sh sets 10 for the full counts.
inline long scaled(long count)
{
    const char* value = std::getenv("RELIABILITY_SCALE");
    const long factor = value ? std::strtol(value, nullptr, 10) : 0;
    return count * (factor > 0 ? factor : 1);
}

// The notices' preference goes under a key of the reliability tests' own.
constexpr wchar_t kReliabilityKey[] = L"ReliabilityTests";

inline bool isDuplexDialog(HWND dialog)
{
    return GetDlgItem(dialog, IDC_DUPLEX_STEP1_PICTURE) != nullptr;
}

// Closes a dialog the way its user would with OK; the duplex instructions are painted
// once first, so that every cycle also runs the picture code.
inline void okWhenReady(HWND dialog)
{
    if (isDuplexDialog(dialog))
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pressButton(dialog, IDOK);
}

struct Outcome {
    INT_PTR result = 0;
    long dialogs = 0;    // dialogs that appeared and set themselves up
    bool ended = false;  // the call returned and every thread it started ended in time
};

inline INT_PTR callExport(Export which)
{
    switch (which) {
    case Export::Warning: {
        const WarningRequest request = warningRequest();
        return IShowWarningDialog(&request);
    }
    case Export::DuplexBlocking: {
        const DuplexRequest request = duplexRequest(L"duplex_strings.dll", 1);
        return VDisplayDialog(&request);
    }
    case Export::DuplexThreaded: {
        const DuplexRequest request = duplexRequest(L"duplex_strings.dll", 0);
        return VDisplayDialog(&request);
    }
    case Export::Notice: {
        const JobStorageRequest request = noticeRequest(kReliabilityKey);
        return reinterpret_cast<INT_PTR>(VJobStorageDialog(&request));
    }
    }
    return 0;
}

// Calls the export once; each dialog it shows goes to `onReady`, which is to end it.
// Returns once every dialog thread has ended and the library's thread slots are empty.
inline Outcome runExport(Export which, ImportLedger& ledger,
                         const std::function<void(HWND)>& onReady = okWhenReady)
{
    ReadyDialogs ready(onReady);
    EXPECT_TRUE(ready.applied());
    Outcome outcome;
    outcome.result = callExport(which);
    outcome.ended = ledger.awaitThreads();
    letAThreadExit();
    outcome.dialogs = ready.seen();
    return outcome;
}

// One line per imbalance, for a failure message.
inline std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

#endif
