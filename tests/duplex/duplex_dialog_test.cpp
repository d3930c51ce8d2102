#include <gtest/gtest.h>

#include <thread>

#include "common/centring.h"
#include "duplex_harness.h"
#include "import_patch.h"
#include "notice_driver.h"
#include "warning_support.h"

namespace {

class DuplexDialog : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(help_.applied());
        forgetHelpCalls();
    }

    HelpRecorder help_;
};

std::atomic<int> gTemplateId{0};
decltype(&DialogBoxParamW) gRealDialogBoxParam = nullptr;
INT_PTR WINAPI recordingDialogBoxParam(HINSTANCE instance, LPCWSTR templateName, HWND owner,
                                       DLGPROC procedure, LPARAM param)
{
    gTemplateId = IS_INTRESOURCE(templateName) ? LOWORD(templateName) : -1;
    return gRealDialogBoxParam(instance, templateName, owner, procedure, param);
}


RECT windowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

} // namespace

TEST_F(DuplexDialog, ThreadedModeReturnsTheRunningDialogThreadAtOnce)
{
    CloseHandleRecorder closes;
    ASSERT_TRUE(closes.applied());
    const DuplexRequest request = duplexRequest(nullptr, 0);
    const std::vector<HWND> known = processDialogs();
    const HANDLE returned = reinterpret_cast<HANDLE>(VDisplayDialog(&request));
    ASSERT_NE(nullptr, returned);
    HANDLE kept = keepThread(reinterpret_cast<INT_PTR>(returned));
    // Read at once: any thread exit in the process may close the slot's handle.
    const DWORD returnedThread = GetThreadId(returned);
    const DWORD waitWhileOpen = WaitForSingleObject(returned, 0);
    HWND dialog = waitForNewDialog(known);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(GetWindowThreadProcessId(dialog, nullptr), returnedThread)
        << "the handle is the thread that runs the dialog";
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), waitWhileOpen)
        << "the call returned while its dialog thread was still running";
    EXPECT_NE(GetCurrentThreadId(), returnedThread) << "the dialog runs on a thread of its own";
    EXPECT_EQ(nullptr, GetWindow(dialog, GW_OWNER)) << "a threaded dialog has no owner";
    EXPECT_EQ(L"&OK", itemText(dialog, IDOK));

    // A thread that never called the library ends: the slot's handle is closed. Asked of
    // the library's own CloseHandle calls: the handle's value may already be reused.
    std::thread([] {}).join();
    EXPECT_EQ(1, closes.timesClosed(returned))
        << "the returned handle is the one the library holds and closes";

    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilGone(dialog));
    EXPECT_TRUE(awaitThread(kept)) << "the dialog thread ends once its dialog has closed";
}

TEST_F(DuplexDialog, BlockingModeRunsOwnedAndReturnsOnlyAfterTheDialogClosed)
{
    ForegroundWindow driver({100, 100, 600, 500});
    ASSERT_EQ(driver.window(), GetForegroundWindow());
    for (UINT32 flag : {1u, 2u, 0x80000000u}) {
        DuplexRequest request = duplexRequest(nullptr, flag);
        std::atomic<bool> returned{false};
        bool returnedWhileOpen = true;
        DWORD dialogThread = 0;
        HWND owner = nullptr;
        DialogWatcher watcher([&](HWND dialog) {
            dialogThread = GetWindowThreadProcessId(dialog, nullptr);
            owner = GetWindow(dialog, GW_OWNER);
            Sleep(200);
            returnedWhileOpen = returned;
            pressButton(dialog, IDOK);
        });
        VDisplayDialog(&request);
        returned = true;
        const std::vector<HWND> left = processDialogs();
        EXPECT_TRUE(watcher.sawDialog()) << "continueFromDialog " << flag;
        EXPECT_FALSE(returnedWhileOpen) << "continueFromDialog " << flag;
        EXPECT_EQ(GetCurrentThreadId(), dialogThread) << "runs on the caller's thread, flag " << flag;
        EXPECT_EQ(driver.window(), owner) << "owned by the foreground window, flag " << flag;
        EXPECT_TRUE(left.empty()) << "the dialog is gone when the call returns, flag " << flag;
    }
}

TEST_F(DuplexDialog, OkEnterCloseBoxAndAltF4CloseItButEscapeDoesNot)
{
    struct Way {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const Way closing[] = {
        {"OK button", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0},
        {"Enter", WM_KEYDOWN, VK_RETURN, 1},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, 0},
        {"Alt+F4", WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29)},
    };
    const DuplexRequest request = duplexRequest(nullptr, 0);
    for (const Way& way : closing) {
        const std::vector<HWND> known = processDialogs();
        const INT_PTR result = VDisplayDialog(&request);
        ASSERT_NE(0, result) << way.name;
        HANDLE thread = keepThread(result);
        HWND dialog = waitForNewDialog(known);
        ASSERT_NE(nullptr, dialog) << way.name;
        PostMessageW(dialog, way.message, way.wParam, way.lParam);
        EXPECT_TRUE(waitUntilGone(dialog)) << way.name << " closes the dialog";
        if (IsWindow(dialog)) {
            pressButton(dialog, IDOK);
            waitUntilGone(dialog);
        }
        awaitThread(thread);
    }

    const std::vector<HWND> known = processDialogs();
    const INT_PTR result = VDisplayDialog(&request);
    ASSERT_NE(0, result);
    HANDLE thread = keepThread(result);
    HWND dialog = waitForNewDialog(known);
    ASSERT_NE(nullptr, dialog);
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    // Posted messages arrive in order: once Help has answered, both were handled.
    pressButton(dialog, IDC_DUPLEX_HELP);
    EXPECT_TRUE(waitForHelpCalls(1));
    EXPECT_TRUE(IsWindowVisible(dialog)) << "Escape and IDCANCEL leave the dialog open";
    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilGone(dialog));
    awaitThread(thread);
}

// The arrows go between the two buttons, in both layouts, never onto the texts before
// them; in the notice, where every control is a group of its own, they stay put.
TEST_F(DuplexDialog, ArrowsStayOnTheButtonsHereAndInTheNotice)
{
    UserLanguage user(0x0409);
    const auto arrowsBetween = [](HWND dialog, int first, int second, bool stay, const char* where) {
        for (int from : {first, second})
            for (WPARAM key : {VK_RIGHT, VK_DOWN, VK_LEFT, VK_UP}) {
                const int expected = stay ? from : from == first ? second : first;
                EXPECT_EQ(expected, focusAfterArrow(dialog, from, key, expected))
                    << where << ": key " << key << " from " << from;
            }
    };
    for (LANGID language : {LANGID{0x0409}, LANGID{0x040D}}) {
        user.set(language);
        const char* where = language == 0x040D ? "mirrored" : "left to right";
        showDuplex(duplexRequest(nullptr, 1), [&](HWND dialog) {
            arrowsBetween(dialog, IDOK, IDC_DUPLEX_HELP, false, where);
        });
        Notice notice(noticeRequest());
        ASSERT_NE(nullptr, notice.dialog());
        arrowsBetween(notice.dialog(), IDOK, IDC_JOB_STORAGE_HELP, true, where);
        arrowsBetween(notice.dialog(), IDC_JOB_STORAGE_CHECK, IDOK, true, where);
    }
}

TEST_F(DuplexDialog, HelpOpensThePopupOfItsModeEachTimeItIsPressed)
{
    for (UINT32 flag : {0u, 1u}) {
        forgetHelpCalls();
        DuplexRequest request = duplexRequest(nullptr, flag);
        lstrcpyW(request.helpFilePath, L"C:\\help\\duplex.hlp");
        HWND helpButton = nullptr;
        bool openAfterHelp = false;
        const DuplexShown shown = showDuplex(request, [&](HWND dialog) {
            helpButton = GetDlgItem(dialog, IDC_DUPLEX_HELP);
            pressButton(dialog, IDC_DUPLEX_HELP);
            pressButton(dialog, IDC_DUPLEX_HELP);
            waitForHelpCalls(2);
            openAfterHelp = IsWindowVisible(dialog) != FALSE;
        });
        ASSERT_TRUE(shown.sawDialog);
        EXPECT_TRUE(openAfterHelp) << "Help leaves the dialog open";
        const DWORD context = flag ? kHelpContextDuplexBlocking : kHelpContextDuplexThreaded;
        const std::vector<HelpCall> calls = helpCalls();
        ASSERT_EQ(2u, calls.size()) << "one help request per press, continueFromDialog " << flag;
        for (const HelpCall& call : calls) {
            EXPECT_EQ(helpButton, call.window);
            EXPECT_EQ(L"C:\\help\\duplex.hlp", call.file);
            EXPECT_EQ(static_cast<UINT>(HELP_WM_HELP), call.command);
            EXPECT_EQ(static_cast<DWORD>(IDC_DUPLEX_HELP), call.table[0]);
            EXPECT_EQ(context, call.table[1]) << "continueFromDialog " << flag;
            EXPECT_EQ(0u, call.table[2]);
            EXPECT_EQ(0u, call.table[3]);
        }
    }
}

TEST_F(DuplexDialog, OpensCentredOverTheForegroundWindowAndStaysOnTheDesktop)
{
    const RECT desktop = windowRect(GetDesktopWindow());
    struct Case {
        const char* what;
        RECT foreground;
    };
    const Case cases[] = {
        {"fits", {150, 120, 850, 620}},
        {"foreground window in the bottom-right corner",
         {desktop.right - 300, desktop.bottom - 200, desktop.right + 100, desktop.bottom + 100}},
    };
    for (const Case& c : cases) {
        ForegroundWindow driver(c.foreground);
        ASSERT_EQ(driver.window(), GetForegroundWindow()) << c.what;
        const RECT foreground = windowRect(driver.window());
        RECT placed = {};
        showDuplex(duplexRequest(nullptr, 1), [&](HWND dialog) { placed = windowRect(dialog); });
        const PlacementPoint expected = centredPosition(
            {placed.left, placed.top, placed.right, placed.bottom},
            {foreground.left, foreground.top, foreground.right, foreground.bottom},
            {desktop.left, desktop.top, desktop.right, desktop.bottom}, PlacementVariant::Duplex);
        EXPECT_EQ(expected.x, placed.left) << c.what;
        EXPECT_EQ(expected.y, placed.top) << c.what;
        if (c.foreground.right <= desktop.right) {
            EXPECT_LE(abs((placed.left + placed.right) - (foreground.left + foreground.right)), 2)
                << c.what << ": centres side by side";
            EXPECT_LE(abs((placed.top + placed.bottom) - (foreground.top + foreground.bottom)), 2)
                << c.what << ": centres one above the other";
        } else {
            EXPECT_EQ(desktop.right, placed.right) << c.what;
            EXPECT_EQ(desktop.bottom, placed.bottom) << c.what;
        }
    }
}

// The driver's window on a second monitor left of the first: the instructions are centred
// over it, and kept inside that monitor, not the first.
TEST_F(DuplexDialog, OpensOnTheMonitorOfTheForegroundWindow)
{
    const RECT monitor = {-1000, -200, 0, 600};
    const struct {
        const char* what;
        RECT foreground;
        bool keptInside;
    } cases[] = {
        {"centred", {-900, -100, -100, 500}, false},
        {"kept inside the monitor's left and top edges", {-1200, -400, -800, 0}, true},
    };
    for (const auto& c : cases) {
        ForegroundWindow driver(c.foreground);
        ASSERT_EQ(driver.window(), GetForegroundWindow()) << c.what;
        SecondMonitor second(driver.window(), monitor);
        ASSERT_TRUE(second.applied());
        RECT placed = {};
        showDuplex(duplexRequest(nullptr, 1), [&](HWND dialog) { placed = windowRect(dialog); });
        const int width = placed.right - placed.left, height = placed.bottom - placed.top;
        const RECT& f = c.foreground;
        EXPECT_EQ(c.keptInside ? monitor.left : (f.left + f.right) / 2 - width / 2, placed.left)
            << c.what << ", width " << width;
        EXPECT_EQ(c.keptInside ? monitor.top : (f.top + f.bottom) / 2 - height / 2, placed.top)
            << c.what << ", height " << height;
    }
}

TEST_F(DuplexDialog, RightToLeftLanguagesGetTheMirroredTemplate)
{
    UserLanguage language(0x0409);
    ImportPatch dialogBox(libraryModule(), "DialogBoxParamW",
                          reinterpret_cast<void*>(recordingDialogBoxParam));
    ASSERT_TRUE(language.applied());
    ASSERT_TRUE(dialogBox.applied());
    gRealDialogBoxParam = dialogBox.originalAs<decltype(&DialogBoxParamW)>();

    struct Case {
        LANGID language;
        bool mirrored;
    };
    const Case cases[] = {{0x0401, true}, {0x0801, true}, {0x040D, true}, {0x0429, true}, {0x0420, true},
                          {0x0409, false}, {0x0407, false}, {0x041E, false}};
    for (const Case& c : cases) {
        language.set(c.language);
        gTemplateId = 0;
        bool layoutRtl = false;
        RECT step1 = {}, step3 = {}, ok = {}, help = {};
        const DuplexShown shown = showDuplex(duplexRequest(nullptr, 0), [&](HWND dialog) {
            layoutRtl = (GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
            step1 = windowRect(GetDlgItem(dialog, IDC_DUPLEX_STEP1_PICTURE));
            step3 = windowRect(GetDlgItem(dialog, IDC_DUPLEX_STEP3_PICTURE));
            ok = windowRect(GetDlgItem(dialog, IDOK));
            help = windowRect(GetDlgItem(dialog, IDC_DUPLEX_HELP));
        });
        ASSERT_TRUE(shown.sawDialog) << std::hex << c.language;
        EXPECT_EQ(c.mirrored ? IDD_DUPLEX_RTL : IDD_DUPLEX, gTemplateId.load())
            << "language " << std::hex << c.language;
        EXPECT_EQ(c.mirrored, layoutRtl) << "language " << std::hex << c.language;
        EXPECT_EQ(c.mirrored, step1.left > step3.left)
            << "step 1 stands at the right when mirrored, language " << std::hex << c.language;
        EXPECT_EQ(c.mirrored, ok.left > help.left)
            << "OK stands right of Help when mirrored, language " << std::hex << c.language;
    }
}

// Tab to Help, work in another window for a moment, come back: the focus is where Tab put
// it, in both modes.
TEST_F(DuplexDialog, FocusStaysWhereItWasWhenThePersonComesBack)
{
    for (UINT32 blocking : {0u, 1u}) {
        const DuplexShown shown = showDuplex(duplexRequest(L"duplex_strings.dll", blocking), [&](HWND dialog) {
            EXPECT_EQ(IDOK, focusedId(dialog, IDOK)) << "blocking " << blocking;
            SendMessageW(dialog, WM_NEXTDLGCTL, 0, FALSE);
            EXPECT_EQ(IDC_DUPLEX_HELP, focusedId(dialog, IDC_DUPLEX_HELP)) << "blocking " << blocking << ", after Tab";
            EXPECT_TRUE(leaveAndComeBack(dialog)) << "blocking " << blocking;
            EXPECT_EQ(IDC_DUPLEX_HELP, focusedId(dialog, IDC_DUPLEX_HELP))
                << "blocking " << blocking << ", on coming back";
        });
        EXPECT_TRUE(shown.sawDialog);
    }
}
