// Catching the moment a dialog is up: shown and active. A WH_CBT hook on the thread that
// runs the dialog sees HCBT_ACTIVATE as the dialog is activated. The library's dialogs
// are on screen by then; the system's message box and task dialog are activated from
// inside their WM_INITDIALOG, before they are shown, so for them the watch also waits for
// the window to become visible.
#ifndef BENCH_ACTIVATION_H
#define BENCH_ACTIVATION_H

#include <windows.h>

#include <atomic>

// A top-level window of the dialog class (#32770): the library's dialogs, message boxes
// and task dialogs alike.
bool isDialogWindow(HWND window);

// Watches one thread for its first new dialog and closes it (WM_CLOSE) as soon as it is
// up. One watch at a time: the hook procedure finds it through a global.
class ActivationWatch {
public:
    explicit ActivationWatch(DWORD threadId);
    ~ActivationWatch();
    ActivationWatch(const ActivationWatch&) = delete;
    ActivationWatch& operator=(const ActivationWatch&) = delete;

    bool hooked() const { return hook_ != nullptr; }
    // Waits, handling this thread's messages, until the dialog is up; false on time-out.
    bool waitUntilUp(DWORD timeoutMs);
    bool up() const { return upAt_ != 0; }
    bool activated() const { return activatedAt_ != 0; }
    LONGLONG activatedAt() const { return activatedAt_; }
    // The later of its activation and its showing.
    LONGLONG upAt() const { return upAt_; }
    // Whether it was on screen when it was activated.
    bool visibleAtActivation() const { return visibleAtActivation_; }

private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK showingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void onActivate(HWND window);
    void onUp(HWND window, LONGLONG now);

    HHOOK hook_ = nullptr;
    HANDLE event_ = nullptr;
    std::atomic<HWND> dialog_{nullptr};
    std::atomic<LONGLONG> activatedAt_{0};
    std::atomic<LONGLONG> upAt_{0};
    std::atomic<bool> visibleAtActivation_{false};
};

// A visible dialog window of the thread, or null: tells whether a threaded dialog came up
// before its watch was in place.
HWND visibleDialogOfThread(DWORD threadId);

#endif
