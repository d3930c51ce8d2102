#include "common/context_help.h"

#include <htmlhelp.h>

#include <cwchar>

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// The popup first; a viewer or file without text popups (Wine's, for one) still opens at
// the context's topic, or at the file's own start.
HWND openCompiledHelp(ContextHelp& help, HWND helpButton, const DWORD* table, DWORD contextId,
                      const WCHAR* helpFile)
{
    // Only from the system folder: a hhctrl.ocx beside the printing application is not ours to run.
    if (!help.viewer)
        help.viewer = LoadLibraryExW(L"hhctrl.ocx", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    const auto htmlHelp = help.viewer
        ? reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(help.viewer, "HtmlHelpW")))
        : nullptr;
    if (!htmlHelp)
        return nullptr;
    HWND shown = htmlHelp(helpButton, helpFile, HH_TP_HELP_WM_HELP, reinterpret_cast<DWORD_PTR>(table));
    if (!shown)
        shown = htmlHelp(helpButton, helpFile, HH_HELP_CONTEXT, contextId);
    if (!shown)
        shown = htmlHelp(helpButton, helpFile, HH_DISPLAY_TOPIC, 0);
    if (shown)
        help.window = shown;
    return shown;
}

} // namespace

bool isCompiledHtmlHelp(const WCHAR* path, size_t capacity)
{
    const size_t length = wcsnlen(path, capacity);
    return length >= 4 && CompareStringOrdinal(path + length - 4, 4, L".chm", 4, TRUE) == CSTR_EQUAL;
}

void showContextHelp(ContextHelp& help, HWND helpButton, DWORD controlId, DWORD contextId,
                     const WCHAR* helpFile, size_t capacity)
{
    // One control/context pair and the terminating zero pair.
    DWORD table[4] = {controlId, contextId, 0, 0};
    const bool shown = isCompiledHtmlHelp(helpFile, capacity)
        ? openCompiledHelp(help, helpButton, table, contextId, helpFile) != nullptr
        : WinHelpW(helpButton, helpFile, HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(table)) != FALSE;
    if (!shown)
        MessageBeep(MB_ICONHAND);
}

void closeContextHelp(ContextHelp& help)
{
    // The viewer's code runs that window: it must go before the viewer does.
    if (help.window && IsWindow(help.window) &&
        GetWindowThreadProcessId(help.window, nullptr) == GetCurrentThreadId())
        DestroyWindow(help.window);
    help.window = nullptr;
    if (help.viewer)
        FreeLibrary(help.viewer);
    help.viewer = nullptr;
}
