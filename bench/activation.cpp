#include "activation.h"

#include "bench.h"

namespace {

std::atomic<ActivationWatch*> gWatch{nullptr};

// The window procedure that the showing watch replaced, kept with the window itself: the
// window may outlive the watch.
constexpr wchar_t kOriginalProcedure[] = L"printdialogs.bench.original";

BOOL CALLBACK findVisibleDialog(HWND window, LPARAM found)
{
    if (IsWindowVisible(window) && isDialogWindow(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

bool isDialogWindow(HWND window)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return wcscmp(className, L"#32770") == 0 && !(GetWindowLongW(window, GWL_STYLE) & WS_CHILD);
}

ActivationWatch::ActivationWatch(DWORD threadId)
{
    event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    gWatch = this;
    hook_ = SetWindowsHookExW(WH_CBT, hookProc, nullptr, threadId);
    if (!hook_)
        gWatch = nullptr;
}

ActivationWatch::~ActivationWatch()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    gWatch = nullptr;
    CloseHandle(event_);
}

bool ActivationWatch::waitUntilUp(DWORD timeoutMs)
{
    return waitPumping(event_, timeoutMs);
}

void ActivationWatch::onActivate(HWND window)
{
    // The time first: everything after it belongs to the next measurement.
    const LONGLONG now = ticksNow();
    HWND none = nullptr;
    if (!dialog_.compare_exchange_strong(none, window))
        return;
    activatedAt_ = now;
    visibleAtActivation_ = IsWindowVisible(window) != FALSE;
    if (visibleAtActivation_) {
        onUp(window, now);
        return;
    }
    // Shown later: watch for it in the window's own messages.
    const LONG_PTR original = GetWindowLongPtrW(window, GWLP_WNDPROC);
    SetPropW(window, kOriginalProcedure, reinterpret_cast<HANDLE>(original));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(showingProc));
}

void ActivationWatch::onUp(HWND window, LONGLONG now)
{
    LONGLONG notYet = 0;
    if (!upAt_.compare_exchange_strong(notYet, now))
        return;
    PostMessageW(window, WM_CLOSE, 0, 0);
    SetEvent(event_);
}

LRESULT CALLBACK ActivationWatch::hookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (ActivationWatch* watch = gWatch.load(); watch && isDialogWindow(window))
            watch->onActivate(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK ActivationWatch::showingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(window, kOriginalProcedure));
    if (message == WM_WINDOWPOSCHANGED &&
        (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW)) {
        const LONGLONG now = ticksNow();
        if (ActivationWatch* watch = gWatch.load(); watch && watch->dialog_ == window)
            watch->onUp(window, now);
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(window, kOriginalProcedure);
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

HWND visibleDialogOfThread(DWORD threadId)
{
    HWND found = nullptr;
    EnumThreadWindows(threadId, findVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}
