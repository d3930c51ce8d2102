#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "import_ledger.h"
#include "notice_driver.h"

namespace {

HLOCAL WINAPI failingLocalAlloc(UINT, SIZE_T)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

HANDLE WINAPI failingCreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID,
                                  DWORD, LPDWORD)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

decltype(&LocalAlloc) gRealLocalAlloc = nullptr;
std::atomic<HLOCAL> gLastAllocated{nullptr};
HLOCAL WINAPI recordingLocalAlloc(UINT flags, SIZE_T bytes)
{
    HLOCAL block = gRealLocalAlloc(flags, bytes);
    gLastAllocated = block;
    return block;
}

decltype(&LocalFree) gRealLocalFree = nullptr;
std::atomic<HLOCAL> gLastFreed{nullptr};
HLOCAL WINAPI recordingLocalFree(HLOCAL block)
{
    gLastFreed = block;
    return gRealLocalFree(block);
}

} // namespace

TEST(JobStorageThread, TwoNoticesAtOnceAndTheSlotHoldsTheSecond)
{
    CloseHandleRecorder closes;
    ASSERT_TRUE(closes.applied());
    JobStorageRequest first = noticeRequest();
    setField(first.userName, L"first");
    JobStorageRequest second = noticeRequest();
    setField(second.userName, L"second");

    Notice one(first);
    ASSERT_NE(nullptr, one.dialog());
    Notice two(second);
    ASSERT_NE(nullptr, two.dialog());
    EXPECT_NE(one.dialog(), two.dialog());
    EXPECT_EQ(L"first", one.text(IDC_JOB_STORAGE_USER_NAME));
    EXPECT_EQ(L"second", two.text(IDC_JOB_STORAGE_USER_NAME));

    // The second handle displaced the first, which is closed there and then.
    EXPECT_EQ(1, closes.timesClosed(one.returned())) << "displaced handle";
    EXPECT_EQ(0, closes.timesClosed(two.returned())) << "handle in the slot";
    letAThreadExit();
    EXPECT_EQ(1, closes.timesClosed(two.returned())) << "closed by the next thread exit";
}

TEST(JobStorageThread, SlotIsEmptyAgainOnceTheNoticeHasEnded)
{
    CloseHandleRecorder closes;
    ASSERT_TRUE(closes.applied());
    HANDLE returned = nullptr;
    {
        Notice notice(noticeRequest());
        ASSERT_NE(nullptr, notice.dialog());
        returned = notice.returned();
        ASSERT_TRUE(notice.pressCloseBox());
    }
    EXPECT_TRUE(closes.waitClosed(returned)) << "the notice thread's exit closes its own handle";
    letAThreadExit();
    EXPECT_EQ(1, closes.timesClosed(returned)) << "closed once: the slot was emptied";
}

TEST(JobStorageThread, ExitOfAThreadThatNeverCalledTheLibraryClosesTheSlot)
{
    CloseHandleRecorder closes;
    ASSERT_TRUE(closes.applied());
    Notice notice(noticeRequest());
    ASSERT_NE(nullptr, notice.dialog());
    letAThreadExit();
    EXPECT_EQ(1, closes.timesClosed(notice.returned()));
    ASSERT_TRUE(notice.pressCloseBox());
    Sleep(50);
    EXPECT_EQ(1, closes.timesClosed(notice.returned())) << "never closed twice";
}

TEST(JobStorageThread, NoCopyMeansNoNoticeAndTheSlotIsLeftAlone)
{
    CloseHandleRecorder closes;
    ASSERT_TRUE(closes.applied());
    Notice open(noticeRequest());
    ASSERT_NE(nullptr, open.dialog());
    {
        ImportPatch alloc(libraryModule(), "LocalAlloc", reinterpret_cast<void*>(failingLocalAlloc));
        ASSERT_TRUE(alloc.applied());
        const std::vector<HWND> known = processDialogs();
        const JobStorageRequest request = noticeRequest();
        EXPECT_EQ(nullptr, VJobStorageDialog(&request));
        EXPECT_EQ(nullptr, waitForNewDialog(known, 300)) << "no notice may appear";
    }
    EXPECT_EQ(0, closes.timesClosed(open.returned())) << "the slot still holds the open notice";
}

TEST(JobStorageThread, ThreadThatCannotStartFreesTheCopyAndEmptiesTheSlot)
{
    CloseHandleRecorder closes;
    ASSERT_TRUE(closes.applied());
    Notice open(noticeRequest());
    ASSERT_NE(nullptr, open.dialog());
    {
        ImportPatch thread(libraryModule(), "CreateThread", reinterpret_cast<void*>(failingCreateThread));
        ImportPatch alloc(libraryModule(), "LocalAlloc", reinterpret_cast<void*>(recordingLocalAlloc));
        ImportPatch free(libraryModule(), "LocalFree", reinterpret_cast<void*>(recordingLocalFree));
        ASSERT_TRUE(thread.applied());
        ASSERT_TRUE(alloc.applied());
        ASSERT_TRUE(free.applied());
        gRealLocalAlloc = alloc.originalAs<decltype(&LocalAlloc)>();
        gRealLocalFree = free.originalAs<decltype(&LocalFree)>();
        gLastAllocated = nullptr;
        gLastFreed = nullptr;
        const std::vector<HWND> known = processDialogs();
        const JobStorageRequest request = noticeRequest();
        EXPECT_EQ(nullptr, VJobStorageDialog(&request));
        ASSERT_NE(nullptr, gLastAllocated.load());
        EXPECT_EQ(gLastAllocated.load(), gLastFreed.load()) << "the copy is freed";
        EXPECT_EQ(nullptr, waitForNewDialog(known, 300)) << "no notice may appear";
    }
    EXPECT_EQ(1, closes.timesClosed(open.returned())) << "null displaced the open notice's handle";
    EXPECT_TRUE(IsWindowVisible(open.dialog())) << "the open notice is unaffected";
}
