#include "bench.h"

double ticksToMicroseconds(LONGLONG ticks)
{
    static const double perMicrosecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1e6;
    }();
    return static_cast<double>(ticks) / perMicrosecond;
}

DriverWindow::DriverWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PrintDialogsBenchDriver";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"Printing application",
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 700, 520, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
    bringToFront();
}

DriverWindow::~DriverWindow()
{
    DestroyWindow(window_);
    pumpMessages();
}

void DriverWindow::bringToFront() const
{
    SetForegroundWindow(window_);
    pumpMessages();
}

void pumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool waitPumping(HANDLE object, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        const DWORD woken = MsgWaitForMultipleObjects(1, &object, FALSE, timeoutMs - elapsed,
                                                      QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0)
            return true;
        if (woken != WAIT_OBJECT_0 + 1)
            return false;
        pumpMessages();
    }
}

std::wstring besideProgram(const wchar_t* fileName)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + fileName;
}
