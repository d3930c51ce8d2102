#include "measurements.h"

namespace {

DWORD WINAPI emptyRoutine(void*)
{
    return 0;
}

} // namespace

std::vector<Measurement> measureExportReturns(const BenchRequests& requests,
                                              const DriverWindow& driver, int calls)
{
    Measurement bare{"return.createthread", "CreateThread, empty routine (limit)", "us"};
    Measurement notice{"return.jobstorage", "VJobStorageDialog", "us"};
    Measurement duplex{"return.duplex_threaded", "VDisplayDialog threaded", "us"};
    // Each call starts right after the previous dialog's thread has ended, whose
    // teardown may still be going on: the three take turns at coming first.
    for (int call = 0; call < calls; ++call) {
        for (int turn = 0; turn < 3; ++turn) {
            driver.bringToFront();
            switch ((call + turn) % 3) {
            case 0: {
                HANDLE own = nullptr;
                const ThreadedRun run = timeThreaded([&] {
                    own = CreateThread(nullptr, 0, emptyRoutine, nullptr, 0, nullptr);
                    return own;
                }, false);
                if (own) {
                    bare.samples.push_back(run.returnUs);
                    CloseHandle(own);
                } else {
                    ++bare.failures;
                }
                break;
            }
            case 1: {
                const ThreadedRun run =
                    timeThreaded([&] { return VJobStorageDialog(&requests.jobStorage); }, true);
                if (run.started)
                    notice.samples.push_back(run.returnUs);
                else
                    ++notice.failures;
                break;
            }
            default: {
                const ThreadedRun run = timeThreaded([&] {
                    return reinterpret_cast<HANDLE>(VDisplayDialog(&requests.duplexThreaded));
                }, true);
                if (run.started)
                    duplex.samples.push_back(run.returnUs);
                else
                    ++duplex.failures;
                break;
            }
            }
        }
    }
    return {bare, notice, duplex};
}
