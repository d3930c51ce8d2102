// Session 0 has nobody at its desktop (Wine reports session 1): told session 0 through
// its imports, the library answers each call at once and shows nothing.
#include <gtest/gtest.h>

#include <functional>

#include "duplex_harness.h"
#include "notice_driver.h"
#include "warning_support.h"

namespace {

BOOL WINAPI inSessionZero(DWORD, DWORD* session)
{
    *session = 0;
    return TRUE;
}

BOOL WINAPI unreadableFlags(HANDLE, int, void*, DWORD, DWORD*)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// Makes the call where no dialog is to appear; one that does fails the test and is closed.
INT_PTR callShowingNothing(const std::function<INT_PTR()>& call)
{
    DialogWatcher watcher([](HWND dialog) {
        ADD_FAILURE() << "a dialog appeared";
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }, 500);
    return call();
}

} // namespace

TEST(UnseenDialogs, InSessionZeroEachExportAnswersAtOnce)
{
    ImportPatch session(libraryModule(), "ProcessIdToSessionId", reinterpret_cast<void*>(inSessionZero));
    ASSERT_TRUE(session.applied());

    WarningRequest warning = warningRequest();
    EXPECT_EQ(kWarningCannotCreate, callShowingNothing([&] { return IShowWarningDialog(&warning); }));
    warning.showDialog = 0;
    EXPECT_EQ(kWarningNotShown, callShowingNothing([&] { return IShowWarningDialog(&warning); }));
    for (UINT32 blocking : {1u, 0u}) {
        const DuplexRequest duplex = duplexRequest(nullptr, blocking);
        EXPECT_EQ(0, callShowingNothing([&] { return VDisplayDialog(&duplex); }))
            << "continueFromDialog " << blocking;
    }
    const JobStorageRequest notice = noticeRequest();
    EXPECT_EQ(0, callShowingNothing([&] {
        return reinterpret_cast<INT_PTR>(VJobStorageDialog(&notice));
    }));
}

TEST(UnseenDialogs, UnreadableWindowStationFlagsStillShowTheWarning)
{
    ImportPatch flags(libraryModule(), "GetUserObjectInformationW", reinterpret_cast<void*>(unreadableFlags));
    ASSERT_TRUE(flags.applied());
    EXPECT_EQ(IDOK, showWarning(warningRequest(), [](HWND dialog) { pressButton(dialog, IDOK); }));
}
