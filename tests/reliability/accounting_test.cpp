// Many open-close cycles of each dialog, and many repaints of the duplex pictures: every
// acquire of the library must meet its release, and the process must hold no more handles
// than before. 100 cycles per dialog and 100 repaints, times RELIABILITY_SCALE.
#include "reliability.h"

#include <cstdio>

namespace {

// The ledger and the handle count compare exactly, so a leak on every cycle shows at the
// first; 100 cycles still catch one on a path taken once in a few dozen.
long cycles()
{
    return scaled(100);
}

void printCounts(const char* what, const ImportLedger& ledger)
{
    std::printf("[figures] %s:", what);
    for (int kind = 0; kind < static_cast<int>(Held::Count); ++kind) {
        const HeldCount count = ledger.count(static_cast<Held>(kind));
        if (count.acquired)
            std::printf(" %s %ld/%ld;", heldName(static_cast<Held>(kind)), count.acquired,
                        count.released);
    }
    std::printf("\n");
}

long total(const std::map<std::string, long>& handles)
{
    long sum = 0;
    for (const auto& type : handles)
        sum += type.second;
    return sum;
}

// Every kind of handle in the process back to its number before the cycles.
void expectHandlesBack(const std::map<std::string, long>& before)
{
    const std::map<std::string, long> after = processHandlesByType();
    EXPECT_EQ(before, after) << "handles by type: " << total(before) << " before, "
                             << total(after) << " after";
    std::printf("[figures] handles in the process: %ld before, %ld after\n", total(before),
                total(after));
}

// Runs `count` cycles of the export after a few to warm up (the first dialogs load the
// fixture module and set up the window classes, fonts and Wine's caches for good).
void expectCyclesBalance(Export which, long count)
{
    PreferenceKeys keys;
    keys.fresh(kReliabilityKey);
    for (int warmUp = 0; warmUp < 3; ++warmUp) {
        ImportLedger ledger;
        ASSERT_EQ(1, runExport(which, ledger).dialogs);
    }
    const char* method = "";
    ASSERT_GT(processHandleCount(&method), 0) << "no way to count the process's handles";
    const std::map<std::string, long> handlesBefore = processHandlesByType();

    ImportLedger ledger;
    ASSERT_TRUE(ledger.unpatched().empty()) << joined(ledger.unpatched());
    long shown = 0;
    long hung = 0;
    const DWORD start = GetTickCount();
    for (long cycle = 0; cycle < count; ++cycle) {
        const Outcome outcome = runExport(which, ledger);
        shown += outcome.dialogs;
        hung += outcome.ended ? 0 : 1;
    }
    const DWORD spent = GetTickCount() - start;

    EXPECT_EQ(count, shown) << "dialogs shown and closed";
    EXPECT_EQ(0, hung) << "cycles whose dialog or thread did not end";
    EXPECT_TRUE(ledger.imbalances().empty()) << joined(ledger.imbalances());
    EXPECT_EQ(count, ledger.count(Held::LocalBlock).acquired) << "one request copy per call";
    EXPECT_EQ(count, ledger.count(Held::ResourceModule).acquired) << "one module per dialog";
    printCounts(exportName(which), ledger);
    std::printf("[figures] %s: %ld cycles in %lu ms; handles counted by %s\n",
                exportName(which), count, spent, method);
    expectHandlesBack(handlesBefore);
}

} // namespace

TEST(Accounting, WarningCyclesBalance)
{
    expectCyclesBalance(Export::Warning, cycles());
}

// The duplex dialog's cycles are shared between its two modes.
TEST(Accounting, BlockingDuplexCyclesBalance)
{
    expectCyclesBalance(Export::DuplexBlocking, cycles() / 2);
}

TEST(Accounting, ThreadedDuplexCyclesBalance)
{
    expectCyclesBalance(Export::DuplexThreaded, cycles() - cycles() / 2);
}

TEST(Accounting, NoticeCyclesBalance)
{
    expectCyclesBalance(Export::Notice, cycles());
}

TEST(Accounting, DuplexRepaintsBalance)
{
    // 100 repaints are 300 frames, each drawing the picture made for it at the first.
    const long repaints = scaled(100);
    const std::map<std::string, long> handlesBefore = processHandlesByType();
    ImportLedger ledger;
    std::atomic<HWND> open{nullptr};
    long shown = 0;
    {
        ReadyDialogs ready([&](HWND dialog) { open = dialog; });
        const DuplexRequest request = duplexRequest(L"duplex_strings.dll", 0);
        ASSERT_NE(0, VDisplayDialog(&request));
        const DWORD start = GetTickCount();
        while (!open && GetTickCount() - start < kDialogTimeoutMs)
            Sleep(1);
        ASSERT_NE(nullptr, open.load());
        shown = ready.seen();
    }
    const HWND dialog = open;
    const long paintsBefore = ledger.count(Held::Paint).acquired;
    const DWORD start = GetTickCount();
    long slow = 0;
    for (long repaint = 1; repaint <= repaints; ++repaint) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        // Three frames per paint; wait for the dialog's thread if it has not painted yet.
        const DWORD asked = GetTickCount();
        while (ledger.count(Held::Paint).acquired < paintsBefore + 3 * repaint) {
            if (GetTickCount() - asked > kDialogTimeoutMs) {
                ++slow;
                break;
            }
            Sleep(0);
        }
    }
    const DWORD spent = GetTickCount() - start;
    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilGone(dialog));
    EXPECT_TRUE(ledger.awaitThreads());
    letAThreadExit();

    EXPECT_EQ(1, shown);
    EXPECT_EQ(0, slow) << "repaints that never came";
    EXPECT_GE(ledger.count(Held::Paint).acquired, 3 * repaints);
    // Each frame's picture loaded and drawn for the frame once, whatever the repaints.
    EXPECT_EQ(6, ledger.count(Held::Bitmap).acquired) << "three pictures loaded, three made";
    EXPECT_EQ(ledger.count(Held::Bitmap).acquired, ledger.count(Held::Selection).acquired);
    EXPECT_TRUE(ledger.imbalances().empty()) << joined(ledger.imbalances());
    printCounts("duplex repaints", ledger);
    std::printf("[figures] duplex repaints: %ld in %lu ms\n", repaints, spent);
    expectHandlesBack(handlesBefore);
}
