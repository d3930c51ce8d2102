// The library in a process whose window station nobody can see, as a service's: this
// program moves itself into a window station and desktop of its own, and each export
// then gives its answer at once, shows nothing and starts no thread.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>

#include "duplex_harness.h"
#include "notice_driver.h"
#include "warning_support.h"

namespace {

struct Outcome {
    bool returned = false;
    INT_PTR result = 0;
    long long milliseconds = 0;
};

struct Call {
    std::function<INT_PTR()> run;
    HDESK desktop;
    INT_PTR result;
};

DWORD WINAPI runInDesktop(void* param)
{
    auto* call = static_cast<Call*>(param);
    SetThreadDesktop(call->desktop);
    call->result = call->run();
    return 0;
}

class HiddenStation : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        visibleStation_ = GetProcessWindowStation();
        station_ = CreateWindowStationW(L"printdialogs-hidden", 0, WINSTA_ALL_ACCESS, nullptr);
        if (!station_ || !SetProcessWindowStation(station_))
            return;
        desktop_ = CreateDesktopW(L"hidden", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    }
    static void TearDownTestSuite()
    {
        SetProcessWindowStation(visibleStation_);
        if (desktop_)
            CloseDesktop(desktop_);
        if (station_)
            CloseWindowStation(station_);
    }
    void SetUp() override
    {
        ASSERT_NE(nullptr, station_) << "no window station of our own";
        ASSERT_NE(nullptr, desktop_) << "no desktop in it";
        USEROBJECTFLAGS flags = {};
        ASSERT_TRUE(GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags,
                                              sizeof flags, nullptr));
        ASSERT_EQ(0u, flags.dwFlags & WSF_VISIBLE) << "the window station is visible";
    }

    // Makes the call on a thread of its own in the hidden desktop. A call that shows a
    // dialog there never returns: it is left behind and reported as not returned.
    static Outcome callUnseen(std::function<INT_PTR()> run)
    {
        auto* call = new Call{std::move(run), desktop_, 0};
        const auto start = std::chrono::steady_clock::now();
        HANDLE thread = CreateThread(nullptr, 0, runInDesktop, call, 0, nullptr);
        if (!thread)
            return {};
        Outcome outcome;
        outcome.returned = WaitForSingleObject(thread, kDialogTimeoutMs) == WAIT_OBJECT_0;
        outcome.milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start).count();
        CloseHandle(thread);
        if (outcome.returned) {
            outcome.result = call->result;
            delete call;
        }
        return outcome;
    }

    static inline HWINSTA visibleStation_ = nullptr;
    static inline HWINSTA station_ = nullptr;
    static inline HDESK desktop_ = nullptr;
};

} // namespace

TEST_F(HiddenStation, EachExportAnswersAtOnceWithoutADialogOrAThread)
{
    const WarningRequest warning = warningRequest();
    WarningRequest quietWarning = warningRequest();
    quietWarning.showDialog = 0;
    const DuplexRequest blocking = duplexRequest(nullptr, 1);
    const DuplexRequest threaded = duplexRequest(nullptr, 0);
    const JobStorageRequest notice = noticeRequest();
    struct Case {
        const char* what;
        std::function<INT_PTR()> call;
        INT_PTR expected;
    };
    const Case cases[] = {
        {"warning", [&] { return IShowWarningDialog(&warning); }, kWarningCannotCreate},
        {"warning with showDialog 0", [&] { return IShowWarningDialog(&quietWarning); }, kWarningNotShown},
        {"blocking duplex", [&] { return VDisplayDialog(&blocking); }, 0},
        {"threaded duplex", [&] { return VDisplayDialog(&threaded); }, 0},
        {"notice", [&] { return reinterpret_cast<INT_PTR>(VJobStorageDialog(&notice)); }, 0},
    };
    for (const Case& c : cases) {
        const Outcome outcome = callUnseen(c.call);
        ASSERT_TRUE(outcome.returned) << c.what << " waits for a user nobody can be";
        EXPECT_EQ(c.expected, outcome.result) << c.what;
        std::printf("[figures] %s returned after %lld ms\n", c.what, outcome.milliseconds);
    }
}
