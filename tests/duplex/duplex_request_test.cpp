#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "duplex/duplex_dialog.h"
#include "duplex_harness.h"
#include "import_patch.h"

namespace {

// The request copies the library allocates and frees, from whichever thread.
struct Blocks {
    std::mutex mutex;
    int allocations = 0;
    std::set<HLOCAL> outstanding;
    bool failAllocation = false;
} gBlocks;

decltype(&LocalAlloc) gRealLocalAlloc = nullptr;
decltype(&LocalFree) gRealLocalFree = nullptr;

HLOCAL WINAPI recordingLocalAlloc(UINT flags, SIZE_T bytes)
{
    std::lock_guard<std::mutex> lock(gBlocks.mutex);
    if (gBlocks.failAllocation) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HLOCAL block = gRealLocalAlloc(flags, bytes);
    ++gBlocks.allocations;
    gBlocks.outstanding.insert(block);
    return block;
}

HLOCAL WINAPI recordingLocalFree(HLOCAL block)
{
    {
        std::lock_guard<std::mutex> lock(gBlocks.mutex);
        gBlocks.outstanding.erase(block);
    }
    return gRealLocalFree(block);
}

std::atomic<int> gThreadsAsked{0};
bool gFailThreads = false;
decltype(&CreateThread) gRealCreateThread = nullptr;
HANDLE WINAPI recordingCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack,
                                    LPTHREAD_START_ROUTINE start, LPVOID param, DWORD flags,
                                    LPDWORD id)
{
    ++gThreadsAsked;
    if (gFailThreads) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return gRealCreateThread(security, stack, start, param, flags, id);
}

// Refuses the next allocation of a dialog instance, once: the runtime's own allocations
// (thread-local storage, the exception object of a refused new) must still succeed.
std::atomic<int> gInstancesRefused{0};
std::atomic<bool> gRefuseNextInstance{false};
void* (__cdecl* gRealMalloc)(size_t) = nullptr;
void* __cdecl refusingInstanceMalloc(size_t bytes)
{
    if (bytes == sizeof(DuplexInstance) && gRefuseNextInstance.exchange(false)) {
        ++gInstancesRefused;
        return nullptr;
    }
    return gRealMalloc(bytes);
}

class DuplexRequestTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(alloc_.applied());
        ASSERT_TRUE(free_.applied());
        ASSERT_TRUE(thread_.applied());
        ASSERT_TRUE(help_.applied());
        gRealLocalAlloc = alloc_.originalAs<decltype(&LocalAlloc)>();
        gRealLocalFree = free_.originalAs<decltype(&LocalFree)>();
        gRealCreateThread = thread_.originalAs<decltype(&CreateThread)>();
        std::lock_guard<std::mutex> lock(gBlocks.mutex);
        gBlocks.allocations = 0;
        gBlocks.outstanding.clear();
        gBlocks.failAllocation = false;
        gThreadsAsked = 0;
        gFailThreads = false;
        forgetHelpCalls();
    }

    // Every block the library allocated has been freed again.
    void expectAllBlocksFreed(const char* what)
    {
        std::lock_guard<std::mutex> lock(gBlocks.mutex);
        EXPECT_TRUE(gBlocks.outstanding.empty())
            << what << ": " << gBlocks.outstanding.size() << " blocks not freed";
    }

    int blocksAllocated()
    {
        std::lock_guard<std::mutex> lock(gBlocks.mutex);
        return gBlocks.allocations;
    }

    ImportPatch alloc_{libraryModule(), "LocalAlloc", reinterpret_cast<void*>(recordingLocalAlloc)};
    ImportPatch free_{libraryModule(), "LocalFree", reinterpret_cast<void*>(recordingLocalFree)};
    ImportPatch thread_{libraryModule(), "CreateThread", reinterpret_cast<void*>(recordingCreateThread)};
    HelpRecorder help_;
};

// No dialog of this process appears within a short while.
bool noDialogAppears(const std::vector<HWND>& known)
{
    return waitForNewDialog(known, 300) == nullptr;
}

} // namespace

TEST_F(DuplexRequestTest, NoCopyMeansNoThreadAndNoDialog)
{
    gBlocks.failAllocation = true;
    for (UINT32 flag : {0u, 1u}) {
        const DuplexRequest request = duplexRequest(nullptr, flag);
        const std::vector<HWND> known = processDialogs();
        EXPECT_EQ(0, VDisplayDialog(&request)) << "continueFromDialog " << flag;
        EXPECT_TRUE(noDialogAppears(known)) << "continueFromDialog " << flag;
    }
    EXPECT_EQ(0, gThreadsAsked.load());
}

TEST_F(DuplexRequestTest, ThreadCreationFailureFreesTheCopyAndShowsNothing)
{
    gFailThreads = true;
    const DuplexRequest request = duplexRequest(nullptr, 0);
    const std::vector<HWND> known = processDialogs();
    EXPECT_EQ(0, VDisplayDialog(&request));
    EXPECT_EQ(1, gThreadsAsked.load());
    EXPECT_TRUE(noDialogAppears(known));
    EXPECT_EQ(1, blocksAllocated());
    expectAllBlocksFreed("thread not started");
}

TEST_F(DuplexRequestTest, InstanceAllocationFailureFreesTheCopyAndShowsNothing)
{
    ImportPatch malloc(libraryModule(), "malloc", reinterpret_cast<void*>(refusingInstanceMalloc));
    ASSERT_TRUE(malloc.applied());
    gRealMalloc = malloc.originalAs<void* (__cdecl*)(size_t)>();

    const std::vector<HWND> known = processDialogs();
    const DuplexRequest blocking = duplexRequest(nullptr, 1);
    gRefuseNextInstance = true;
    EXPECT_EQ(0, VDisplayDialog(&blocking)) << "blocking mode reports the failure";
    EXPECT_EQ(1, gInstancesRefused.load());

    const DuplexRequest threaded = duplexRequest(nullptr, 0);
    gRefuseNextInstance = true;
    HANDLE thread = keepThread(VDisplayDialog(&threaded));
    ASSERT_NE(nullptr, thread) << "threaded mode started its thread";
    EXPECT_TRUE(awaitThread(thread)) << "the thread ends without a dialog";
    EXPECT_EQ(2, gInstancesRefused.load());
    EXPECT_TRUE(noDialogAppears(known));
    EXPECT_EQ(2, blocksAllocated());
    expectAllBlocksFreed("instance not built");
}

TEST_F(DuplexRequestTest, EveryCopyIsFreedOnceItsDialogHasClosed)
{
    for (UINT32 flag : {0u, 1u}) {
        const DuplexShown shown = showDuplex(duplexRequest(nullptr, flag), [](HWND) {});
        EXPECT_TRUE(shown.sawDialog) << "continueFromDialog " << flag;
    }
    EXPECT_EQ(2, blocksAllocated());
    expectAllBlocksFreed("after a normal close");
}

TEST_F(DuplexRequestTest, CallersRecordIsNeverWritten)
{
    for (UINT32 flag : {0u, 1u}) {
        DuplexRequest request = duplexRequest(L"duplex_strings.dll", flag);
        request.reserved = 0xA5A5A5A5;
        request.evenPagesFirst = 7;
        // The units after each path's NUL are the caller's too.
        for (size_t i = wcslen(request.helpFilePath) + 1; i < 256; ++i)
            request.helpFilePath[i] = static_cast<WCHAR>(0x4000 + i);
        const DuplexRequest before = request;
        const DuplexShown shown = showDuplex(request, [](HWND dialog) {
            pressButton(dialog, IDC_DUPLEX_HELP);
            waitForHelpCalls(1);
        });
        forgetHelpCalls();
        EXPECT_TRUE(shown.sawDialog);
        EXPECT_EQ(0, memcmp(&before, &request, sizeof(request)))
            << "record changed, continueFromDialog " << flag;
    }
}

TEST_F(DuplexRequestTest, ThreadedDialogKeepsItsOwnCopyOfTheRecord)
{
    const std::vector<HWND> known = processDialogs();
    DuplexRequest request = duplexRequest(L"duplex_strings.dll", 0);
    request.evenPagesFirst = 1;
    const INT_PTR result = VDisplayDialog(&request);
    memset(&request, 0xFF, sizeof(request));  // the driver reuses its record at once
    ASSERT_NE(0, result);
    HANDLE thread = keepThread(result);
    HWND dialog = waitForNewDialog(known);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(L"Module even pages first", itemText(dialog, IDC_DUPLEX_INTRO));
    EXPECT_EQ(L"Module step three", itemText(dialog, IDC_DUPLEX_STEP3_TEXT));
    pressButton(dialog, IDC_DUPLEX_HELP);
    ASSERT_TRUE(waitForHelpCalls(1));
    EXPECT_EQ(L"duplex.hlp", helpCalls()[0].file);
    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilGone(dialog));
    awaitThread(thread);
}

namespace {

std::mutex gPathsMutex;
std::vector<std::wstring> gModulePaths;
decltype(&LoadLibraryExW) gRealLoadLibraryEx = nullptr;
HMODULE WINAPI recordingLoadLibraryEx(LPCWSTR path, HANDLE file, DWORD flags)
{
    {
        std::lock_guard<std::mutex> lock(gPathsMutex);
        gModulePaths.push_back(path ? path : L"<null>");
    }
    return gRealLoadLibraryEx(path, file, flags);
}

} // namespace

TEST_F(DuplexRequestTest, PathsWithoutTheirNulEndAtTheFieldsLastUnit)
{
    ImportPatch load(libraryModule(), "LoadLibraryExW", reinterpret_cast<void*>(recordingLoadLibraryEx));
    ASSERT_TRUE(load.applied());
    gRealLoadLibraryEx = load.originalAs<decltype(&LoadLibraryExW)>();

    for (UINT32 flag : {0u, 1u}) {
        gModulePaths.clear();
        forgetHelpCalls();
        DuplexRequest request = duplexRequest(nullptr, flag);
        for (WCHAR& unit : request.resourceModulePath)
            unit = L'm';
        for (WCHAR& unit : request.helpFilePath)
            unit = L'h';
        const DuplexRequest before = request;
        std::wstring step1;
        const DuplexShown shown = showDuplex(request, [&](HWND dialog) {
            step1 = itemText(dialog, IDC_DUPLEX_STEP1_TEXT);
            pressButton(dialog, IDC_DUPLEX_HELP);
            waitForHelpCalls(1);
        });
        ASSERT_TRUE(shown.sawDialog);
        EXPECT_EQ(0u, step1.find(L"Without changing")) << "no module of that name: defaults";
        ASSERT_EQ(1u, gModulePaths.size());
        EXPECT_EQ(std::wstring(255, L'm'), gModulePaths[0]) << "continueFromDialog " << flag;
        ASSERT_EQ(1u, helpCalls().size());
        EXPECT_EQ(std::wstring(255, L'h'), helpCalls()[0].file) << "continueFromDialog " << flag;
        EXPECT_EQ(0, memcmp(&before, &request, sizeof(request))) << "the caller's record is not written";
    }
}
