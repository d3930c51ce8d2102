// Accounts for everything the library acquires and releases, and fails the platform calls
// it makes, by patching the loaded library's imports. Windows under Wine reports no GUI
// resources, so the library's own calls are the count: each acquire is matched to its
// release by handle, from whichever thread makes it.
#ifndef TESTS_IMPORT_LEDGER_H
#define TESTS_IMPORT_LEDGER_H

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// What is acquired and released in pairs.
enum class Held {
    LocalBlock,        // LocalAlloc / LocalFree
    HeapBlock,         // malloc, calloc, realloc / free: operator new and delete
    Font,              // CreateFontW, CreateFontIndirectW / DeleteObject
    Bitmap,            // LoadBitmapW, CreateDIBSection / DeleteObject
    MemoryDc,          // CreateCompatibleDC / DeleteDC
    Paint,             // BeginPaint / EndPaint
    Selection,         // SelectObject of the library's own object / SelectObject restoring
    ResourceModule,    // LoadLibraryExW / FreeLibrary
    LibraryReference,  // GetModuleHandleExW / FreeLibrary, FreeLibraryAndExitThread
    RegistryKey,       // RegCreateKeyExW / RegCloseKey
    ThreadHandle,      // CreateThread / CloseHandle
    Count
};

// The calls a test can make fail.
enum class Fallible {
    LocalAlloc,
    Malloc,  // malloc, calloc and realloc alike: the allocator under operator new
    CreateThread,
    LoadLibraryExW,
    FindResourceExW,
    LoadResource,
    CreateFontW,
    LoadBitmapW,
    CreateCompatibleDC,
    CreateDIBSection,
    RegCreateKeyExW,
    RegSetValueExW,
    DialogBoxParamW,
    Count
};

const char* heldName(Held held);
const char* fallibleName(Fallible call);

struct HeldCount {
    long acquired = 0;
    long released = 0;
};

// One ledger at a time; it restores every import when it goes.
class ImportLedger {
public:
    ImportLedger();
    ~ImportLedger();
    ImportLedger(const ImportLedger&) = delete;
    ImportLedger& operator=(const ImportLedger&) = delete;

    // Names of imports the library was expected to have and has not; empty when all patched.
    std::vector<std::string> unpatched() const;

    // From now on fails the nth call of `call` (1 for the next one), or every call (nth 0).
    void fail(Fallible call, long nth = 0);
    void stopFailing();
    // Calls made since the ledger began, and how many of them were made to fail.
    long calls(Fallible call) const;
    long failures(Fallible call) const;
    long totalFailures() const;

    // Waits until every thread the library has started so far has ended; false on time-out.
    bool awaitThreads(DWORD timeoutMs = 10000);
    long threadsStarted() const;
    // The data of the library's last successful RegSetValueExW.
    std::vector<BYTE> lastValueWritten() const;

    HeldCount count(Held held) const;
    long bitBlts() const;

    // Whatever is still held and whatever was released without being held or restored
    // wrongly, one line each; empty when every pair balances.
    std::vector<std::string> imbalances() const;

private:
    std::vector<std::unique_ptr<class ImportPatch>> patches_;
    std::vector<std::string> unpatched_;
};

// Lets a thread of the process that never called the library end: DllMain then closes
// whatever thread handles the library's slots still hold.
void letAThreadExit();

// Handles open in this process, by GetProcessHandleCount or, where that gives nothing, by
// the system handle table; -1 when neither can say. `method` receives which one answered.
long processHandleCount(const char** method = nullptr);

// This process's handles in the system handle table, counted by object type.
std::map<std::string, long> processHandlesByType();

#endif
