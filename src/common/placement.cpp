#include "common/placement.h"

namespace {

PlacementRect placementRect(const RECT& rect)
{
    return {static_cast<int>(rect.left), static_cast<int>(rect.top),
            static_cast<int>(rect.right), static_cast<int>(rect.bottom)};
}

// The rectangle of the monitor that holds the window, so that a program on a second
// monitor gets its dialog there; the desktop window's (the first monitor's) when the
// monitor cannot be told.
bool readMonitorRect(HWND window, RECT& rect)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor && GetMonitorInfoW(monitor, &info)) {
        rect = info.rcMonitor;
        return true;
    }
    return GetWindowRect(GetDesktopWindow(), &rect);
}

} // namespace

void centreOverForeground(HWND dialog, PlacementVariant variant)
{
    const HWND foreground = GetForegroundWindow();
    RECT dialogRect = {}, foregroundRect = {}, monitorRect = {};
    const bool readDialog = GetWindowRect(dialog, &dialogRect);
    const bool readForeground = GetWindowRect(foreground, &foregroundRect);
    const bool readMonitor = readMonitorRect(foreground, monitorRect);
    const bool readAll = readDialog && readForeground && readMonitor;
    if (variant == PlacementVariant::JobStorage && !readAll)
        return;

    const PlacementPoint position =
        centredPosition(placementRect(dialogRect), placementRect(foregroundRect),
                        placementRect(monitorRect), variant);
    const UINT flags = variant == PlacementVariant::JobStorage
        ? SWP_NOSIZE | SWP_SHOWWINDOW
        : SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;
    SetWindowPos(dialog, nullptr, position.x, position.y, 0, 0, flags);
}

HWND foregroundWindowOfThisProcess()
{
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    if (!foreground || !GetWindowThreadProcessId(foreground, &process))
        return nullptr;
    return process == GetCurrentProcessId() ? foreground : nullptr;
}

void takeSuggestedRectangle(HWND dialog, const RECT* suggested)
{
    if (suggested)
        SetWindowPos(dialog, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int screenDpiOf(HWND window)
{
    HDC dc = GetDC(window);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc)
        ReleaseDC(window, dc);
    return dpi > 0 ? dpi : 96;
}
