// Another program's window in the foreground when the driver calls: the blocking dialogs
// come up without an owner and leave that window enabled; the duplex instructions are
// still centred over it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "duplex_harness.h"
#include "warning_support.h"

namespace {

// Another program with a window of its own, made the foreground window; ended with the
// object.
class OtherProgram {
public:
    OtherProgram()
    {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        wchar_t command[] = L"notepad.exe";
        if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process_))
            return;
        WaitForInputIdle(process_.hProcess, kDialogTimeoutMs);
        const DWORD start = GetTickCount();
        while (!window_ && GetTickCount() - start < kDialogTimeoutMs) {
            EnumWindows(takeWindowOf, reinterpret_cast<LPARAM>(this));
            Sleep(10);
        }
        if (window_)
            SetWindowPos(window_, nullptr, 100, 100, 600, 500, SWP_NOZORDER);
        bringForward();
    }
    ~OtherProgram()
    {
        if (!process_.hProcess)
            return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, kDialogTimeoutMs);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    HWND window() const { return window_; }
    void bringForward() const
    {
        SetForegroundWindow(window_);
        ForegroundWindow::pumpMessages();
    }

private:
    static BOOL CALLBACK takeWindowOf(HWND window, LPARAM self)
    {
        auto* program = reinterpret_cast<OtherProgram*>(self);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != program->process_.dwProcessId || !IsWindowVisible(window) ||
            GetWindow(window, GW_OWNER))
            return TRUE;
        program->window_ = window;
        return FALSE;
    }

    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
};

POINT centreOf(const RECT& rect)
{
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// What the other program's window went through while the library's dialog was up.
struct UnderDialog {
    HWND owner;
    BOOL enabled = FALSE;
    RECT dialog = {};

    void read(HWND dialogWindow, HWND other)
    {
        owner = GetWindow(dialogWindow, GW_OWNER);
        enabled = IsWindowEnabled(other);
        GetWindowRect(dialogWindow, &dialog);
    }
    void expectUnownedAndEnabled(HWND other) const
    {
        EXPECT_EQ(nullptr, owner) << "the other program's window " << other;
        EXPECT_TRUE(enabled) << "the other program's window was disabled";
    }
};

} // namespace

TEST(Owner, AnotherProgramsForegroundWindowStaysEnabledUnderTheWarning)
{
    OtherProgram other;
    ASSERT_NE(nullptr, other.window()) << "the other program shows no window";
    ASSERT_EQ(other.window(), GetForegroundWindow());

    UnderDialog seen{other.window()};
    showWarning(warningRequest(), [&](HWND dialog) {
        seen.read(dialog, other.window());
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    seen.expectUnownedAndEnabled(other.window());
}

TEST(Owner, AnotherProgramsForegroundWindowStaysEnabledUnderBlockingDuplex)
{
    OtherProgram other;
    ASSERT_NE(nullptr, other.window()) << "the other program shows no window";
    ASSERT_EQ(other.window(), GetForegroundWindow());

    UnderDialog seen{other.window()};
    const DuplexShown shown = showDuplex(duplexRequest(nullptr, 1), [&](HWND dialog) {
        seen.read(dialog, other.window());
    });
    ASSERT_TRUE(shown.sawDialog);
    seen.expectUnownedAndEnabled(other.window());
    RECT foreground = {};
    GetWindowRect(other.window(), &foreground);
    EXPECT_LE(std::abs(centreOf(seen.dialog).x - centreOf(foreground).x), 1) << "centred over it";
    EXPECT_LE(std::abs(centreOf(seen.dialog).y - centreOf(foreground).y), 1) << "centred over it";
}
