// Opening, reading and closing the duplex instructions from a test.
#ifndef TESTS_DUPLEX_HARNESS_H
#define TESTS_DUPLEX_HARNESS_H

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "platform_doubles.h"
#include "printdialogs.h"
#include "resource.h"

// A request as a driver would fill it: pictures 105-107, step texts 2001-2003.
inline DuplexRequest duplexRequest(const wchar_t* module, UINT32 continueFromDialog)
{
    DuplexRequest request = {};
    if (module)
        lstrcpynW(request.resourceModulePath, besideTest(module).c_str(), 256);
    lstrcpynW(request.helpFilePath, L"duplex.hlp", 256);
    request.step1BitmapId = 105;
    request.step1TextId = 2001;
    request.step2BitmapId = 106;
    request.step2TextId = 2002;
    request.step3BitmapId = 107;
    request.step3TextId = 2003;
    request.continueFromDialog = continueFromDialog;
    return request;
}

// The library closes the handle it returns at some later thread exit: a test that waits
// for the dialog thread keeps a handle of its own, taken at once.
inline HANDLE keepThread(INT_PTR result)
{
    HANDLE thread = nullptr;
    DuplicateHandle(GetCurrentProcess(), reinterpret_cast<HANDLE>(result), GetCurrentProcess(),
                    &thread, SYNCHRONIZE, FALSE, 0);
    return thread;
}

// Waits for a kept dialog thread to end and lets go of it; false on time-out.
inline bool awaitThread(HANDLE thread)
{
    if (!thread)
        return false;
    const bool ended = WaitForSingleObject(thread, kDialogTimeoutMs) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
}

struct DuplexShown {
    INT_PTR result = 0;
    bool sawDialog = false;
};

// Calls VDisplayDialog, hands the dialog to `inspect` while it is open, closes it with OK
// and returns once the dialog is gone and, in threaded mode, its thread has ended.
inline DuplexShown showDuplex(const DuplexRequest& request, const std::function<void(HWND)>& inspect)
{
    DuplexShown shown;
    if (request.continueFromDialog) {
        DialogWatcher watcher([&](HWND dialog) {
            inspect(dialog);
            pressButton(dialog, IDOK);
        });
        shown.result = VDisplayDialog(&request);
        shown.sawDialog = watcher.sawDialog();
        return shown;
    }
    const std::vector<HWND> known = processDialogs();
    shown.result = VDisplayDialog(&request);
    HANDLE thread = keepThread(shown.result);
    if (HWND dialog = shown.result ? waitForNewDialog(known) : nullptr) {
        shown.sawDialog = true;
        inspect(dialog);
        pressButton(dialog, IDOK);
        waitUntilGone(dialog);
    }
    awaitThread(thread);
    return shown;
}

struct DuplexTexts {
    std::wstring caption, intro;
    std::wstring number1, number2, number3;
    std::wstring step1, step2, step3;
    std::wstring ok, help;
};

inline DuplexTexts readTexts(HWND dialog)
{
    DuplexTexts texts;
    texts.caption = windowText(dialog);
    texts.intro = itemText(dialog, IDC_DUPLEX_INTRO);
    texts.number1 = itemText(dialog, IDC_DUPLEX_STEP1_NUMBER);
    texts.number2 = itemText(dialog, IDC_DUPLEX_STEP2_NUMBER);
    texts.number3 = itemText(dialog, IDC_DUPLEX_STEP3_NUMBER);
    texts.step1 = itemText(dialog, IDC_DUPLEX_STEP1_TEXT);
    texts.step2 = itemText(dialog, IDC_DUPLEX_STEP2_TEXT);
    texts.step3 = itemText(dialog, IDC_DUPLEX_STEP3_TEXT);
    texts.ok = itemText(dialog, IDOK);
    texts.help = itemText(dialog, IDC_DUPLEX_HELP);
    return texts;
}

inline DuplexTexts textsShownFor(const DuplexRequest& request)
{
    DuplexTexts texts;
    showDuplex(request, [&](HWND dialog) { texts = readTexts(dialog); });
    return texts;
}

// A plain top-level window of the test's thread, made the foreground window: the window
// the user is working in when the driver calls.
class ForegroundWindow {
public:
    explicit ForegroundWindow(const RECT& rect)
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"DuplexTestForeground";
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassW(&windowClass);  // fails harmlessly when already registered
        window_ = CreateWindowExW(0, L"DuplexTestForeground", L"Driver's window",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(window_);
        pumpMessages();
    }
    ~ForegroundWindow()
    {
        DestroyWindow(window_);
        pumpMessages();
    }
    ForegroundWindow(const ForegroundWindow&) = delete;
    ForegroundWindow& operator=(const ForegroundWindow&) = delete;

    HWND window() const { return window_; }

    static void pumpMessages()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

private:
    HWND window_ = nullptr;
};

#endif
