// The library loaded and unloaded by hand, as a driver does: this program must not
// import it, or the loader would keep it mapped for the program's whole life.
#include <gtest/gtest.h>

#include <cwchar>
#include <map>
#include <string>

#include "dialog_driver.h"
#include "import_ledger.h"
#include "printdialogs.h"
#include "resource.h"

namespace {

const wchar_t kLibrary[] = L"printdialogs.dll";

} // namespace

TEST(JobStorageUnload, NoticeKeepsTheLibraryMappedUntilItHasClosed)
{
    ASSERT_EQ(nullptr, GetModuleHandleW(kLibrary)) << "this program must not import the library";
    HMODULE library = LoadLibraryW(besideTest(kLibrary).c_str());
    ASSERT_NE(nullptr, library);
    const auto showNotice = reinterpret_cast<decltype(&VJobStorageDialog)>(
        GetProcAddress(library, "VJobStorageDialog"));
    ASSERT_NE(nullptr, showNotice);

    JobStorageRequest request = {};
    wcscpy(request.userName, L"alice");
    wcscpy(request.jobName, L"Report");
    const std::vector<HWND> known = processDialogs();
    ASSERT_NE(nullptr, showNotice(&request));
    const HWND dialog = waitForNewDialog(known);
    ASSERT_NE(nullptr, dialog);
    const HANDLE thread = OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE,
                                     GetWindowThreadProcessId(dialog, nullptr));
    ASSERT_NE(nullptr, thread);

    // The driver lets go of the library while the notice is still on screen.
    EXPECT_TRUE(FreeLibrary(library));
    EXPECT_NE(nullptr, GetModuleHandleW(kLibrary)) << "the notice's thread must hold the library";
    // The notice still answers: its dialog procedure runs in the library.
    EXPECT_EQ(L"alice", itemText(dialog, IDC_JOB_STORAGE_USER_NAME));
    EXPECT_EQ(L"Job Storage Identification", windowText(dialog));

    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(waitUntilGone(dialog));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, kDialogTimeoutMs));
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeThread(thread, &exitCode);
    EXPECT_EQ(0u, exitCode);
    CloseHandle(thread);
    EXPECT_EQ(nullptr, GetModuleHandleW(kLibrary)) << "the library must go once the notice has ended";
}

// A driver that loads the library for each job, shows the notice, unloads the library and
// lets the user close the notice: nothing may pile up from one job to the next.
TEST(JobStorageUnload, LoadNoticeUnloadCloseCyclesLeaveNoHandleBehind)
{
    ASSERT_EQ(nullptr, GetModuleHandleW(kLibrary)) << "this program must not import the library";
    JobStorageRequest request = {};
    wcscpy(request.userName, L"alice");
    auto cycle = [&request] {
        HMODULE library = LoadLibraryW(besideTest(kLibrary).c_str());
        ASSERT_NE(nullptr, library);
        const auto showNotice = reinterpret_cast<decltype(&VJobStorageDialog)>(
            GetProcAddress(library, "VJobStorageDialog"));
        const std::vector<HWND> known = processDialogs();
        ASSERT_NE(nullptr, showNotice(&request));
        const HWND dialog = waitForNewDialog(known);
        ASSERT_NE(nullptr, dialog);
        const HANDLE thread =
            OpenThread(SYNCHRONIZE, FALSE, GetWindowThreadProcessId(dialog, nullptr));
        FreeLibrary(library);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, kDialogTimeoutMs));
        CloseHandle(thread);
        EXPECT_EQ(nullptr, GetModuleHandleW(kLibrary));
    };
    // The first notices set up window classes, fonts and Wine's caches for good.
    for (int warmUp = 0; warmUp < 3; ++warmUp)
        cycle();
    const std::map<std::string, long> before = processHandlesByType();
    ASSERT_FALSE(before.empty()) << "no way to count the process's handles";
    for (int job = 0; job < 10; ++job)
        cycle();
    EXPECT_EQ(before, processHandlesByType()) << "handles by type, before and after 10 jobs";
}
