#include "activation.h"
#include "import_patch.h"
#include "import_profile.h"
#include "measurements.h"

#include <psapi.h>

#include <functional>

namespace {

struct Counters {
    double privateKiB = 0;
    double workingSetKiB = 0;
    double handles = 0;
};

// GetProcessHandleCount says 0 under Wine; probing the handle table works everywhere.
// Handles are handed out from the lowest free slot, so a long run of free slots ends it.
int countHandles()
{
    int handles = 0;
    int freeInARow = 0;
    for (ULONG_PTR value = 4; freeInARow < 1024; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++handles;
            freeInARow = 0;
        } else {
            ++freeInARow;
        }
    }
    return handles;
}

Counters sampleCounters()
{
    Counters counters;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
        // The process's commit charge: what Windows calls private bytes. Wine leaves
        // PrivateUsage at 0 but fills PagefileUsage with the same quantity.
        counters.privateKiB = (memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage) / 1024.0;
        counters.workingSetKiB = memory.WorkingSetSize / 1024.0;
    }
    counters.handles = countHandles();
    return counters;
}

// Lets the dialogs finish painting and the threads that ended go away.
void settle()
{
    for (int round = 0; round < 15; ++round) {
        pumpMessages();
        Sleep(20);
    }
}

BOOL CALLBACK collectDialog(HWND window, LPARAM found)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && isDialogWindow(window))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> openDialogs()
{
    std::vector<HWND> dialogs;
    EnumWindows(collectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

BOOL CALLBACK countWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int windowsOf(HWND dialog)
{
    int count = 1;
    EnumChildWindows(dialog, countWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

DWORD WINAPI blockingDialogThread(void* call)
{
    (*static_cast<const std::function<void()>*>(call))();
    return 0;
}

// The thread every dialog here runs on, without a dialog: it waits to be let go.
HANDLE gLetGo = nullptr;

DWORD WINAPI idleThread(void*)
{
    WaitForSingleObject(gLetGo, INFINITE);
    return 0;
}

// How one kind of dialog is opened: a blocking call runs on a thread of ours, a threaded
// export starts its own.
struct FootprintCase {
    const char* label;
    std::function<void()> blocking;
    std::function<HANDLE()> threaded;
    bool library;
    bool dialog = true;  // false: a thread alone
};

Footprint measureOne(const FootprintCase& which, const DriverWindow& driver, int dialogs)
{
    Footprint footprint;
    footprint.label = which.label;
    footprint.dialogs = dialogs;
    ResetEvent(gLetGo);
    driver.bringToFront();
    settle();
    const size_t openBefore = openDialogs().size();
    std::unique_ptr<ImportProfiler> profiler;
    if (which.library)
        profiler = std::make_unique<ImportProfiler>(libraryModule());
    const Counters before = sampleCounters();

    std::vector<HANDLE> threads;
    for (int index = 0; index < dialogs; ++index) {
        HANDLE thread = nullptr;
        if (which.blocking) {
            thread = CreateThread(nullptr, 0, blockingDialogThread,
                                  const_cast<std::function<void()>*>(&which.blocking), 0, nullptr);
        } else if (HANDLE started = which.threaded(); started && !which.dialog) {
            thread = started;  // ours
        } else if (started) {
            // The library's: it closes it at some later thread exit.
            DuplicateHandle(GetCurrentProcess(), started, GetCurrentProcess(), &thread, SYNCHRONIZE,
                            FALSE, 0);
        }
        if (thread)
            threads.push_back(thread);
        // One at a time: Wine's text shaping cache has crashed here when several dialogs
        // with edit controls were set up at the same moment on different threads.
        const DWORD start = GetTickCount();
        while (which.dialog && openDialogs().size() < openBefore + threads.size() &&
               GetTickCount() - start < kDialogTimeoutMs) {
            pumpMessages();
            Sleep(5);
        }
    }
    std::vector<HWND> open = openDialogs();
    settle();
    open = openDialogs();
    const Counters during = sampleCounters();
    footprint.opened = static_cast<int>(which.dialog ? open.size() - openBefore : threads.size());
    int windows = 0;
    for (HWND dialog : open)
        windows += windowsOf(dialog);
    if (!which.dialog)
        open.clear();
    if (profiler) {
        long created = 0;
        for (const char* maker : {"CreateFontW", "CreateFontIndirectW", "CreateCompatibleDC", "LoadBitmapW",
                                  "CreateDIBSection"})
            created += profiler->count(maker);
        const long deleted = profiler->count("DeleteObject") + profiler->count("DeleteDC");
        footprint.gdiObjects = footprint.opened ? double(created - deleted) / footprint.opened : 0;
    }

    for (HWND dialog : open)
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    SetEvent(gLetGo);
    for (HANDLE thread : threads) {
        waitPumping(thread, kDialogTimeoutMs);
        CloseHandle(thread);
    }
    settle();
    profiler.reset();
    const Counters after = sampleCounters();

    if (footprint.opened > 0) {
        const double opened = footprint.opened;
        footprint.privateKiB = (during.privateKiB - before.privateKiB) / opened;
        footprint.workingSetKiB = (during.workingSetKiB - before.workingSetKiB) / opened;
        footprint.handles = (during.handles - before.handles) / opened;
        footprint.windows = windows / opened;
        footprint.privateKiBAfter = (after.privateKiB - before.privateKiB) / opened;
        footprint.handlesAfter = (after.handles - before.handles) / opened;
    }
    return footprint;
}

} // namespace

std::vector<Footprint> measureFootprints(const BenchRequests& requests, const DriverWindow& driver,
                                         int dialogs)
{
    HWND owner = driver.window();
    const FootprintCase cases[] = {
        {"A thread alone, waiting (what each line below includes)", nullptr,
         [] { return CreateThread(nullptr, 0, idleThread, nullptr, 0, nullptr); }, false, false},
        {"IShowWarningDialog", [&] { IShowWarningDialog(&requests.warning); }, nullptr, true},
        {"MessageBoxW", [&] { showMessageBox(owner, requests.texts); }, nullptr, false},
        {"TaskDialogIndirect", [&] { showTaskDialog(owner, requests.texts); }, nullptr, false},
        {"VJobStorageDialog", nullptr, [&] { return VJobStorageDialog(&requests.jobStorage); }, true},
        {"VDisplayDialog threaded", nullptr,
         [&] { return reinterpret_cast<HANDLE>(VDisplayDialog(&requests.duplexThreaded)); }, true},
    };
    gLetGo = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // A first, unrecorded round: the process's heaps and caches grow once for so many
    // dialogs and threads at a time, and that growth belongs to no one kind of dialog.
    for (const FootprintCase& which : cases)
        measureOne(which, driver, dialogs);
    std::vector<Footprint> footprints;
    for (const FootprintCase& which : cases)
        footprints.push_back(measureOne(which, driver, dialogs));
    CloseHandle(gLetGo);
    gLetGo = nullptr;
    return footprints;
}
