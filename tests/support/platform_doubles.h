// Stand-ins for platform calls that tests put into the library's import table: the
// user's UI language, WinHelpW and HtmlHelpW (which would start a help viewer), the
// error beep, and a second monitor.
#ifndef TESTS_PLATFORM_DOUBLES_H
#define TESTS_PLATFORM_DOUBLES_H

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "import_patch.h"

// Makes `module` (the library unless said otherwise) see `language` as the user's UI
// language while this object lives.
class UserLanguage {
public:
    explicit UserLanguage(LANGID language, HMODULE module = libraryModule())
        : patch_(module, "GetUserDefaultUILanguage", reinterpret_cast<void*>(fake))
    {
        set(language);
        EXPECT_TRUE(applied()) << "the module imports GetUserDefaultUILanguage";
    }
    bool applied() const { return patch_.applied(); }
    void set(LANGID language) { current() = language; }

private:
    static LANGID& current()
    {
        static LANGID language = 0x0409;
        return language;
    }
    static LANGID WINAPI fake() { return current(); }
    ImportPatch patch_;
};

// What the library passed to WinHelpW (or HtmlHelpW); either would start a help viewer.
struct HelpCall {
    HWND window;
    std::wstring file;
    UINT command;
    DWORD table[4];
    ULONG_PTR data;
};

inline std::mutex gHelpMutex;
inline std::vector<HelpCall> gHelpCalls;

inline BOOL WINAPI recordingWinHelp(HWND window, LPCWSTR file, UINT command, ULONG_PTR data)
{
    HelpCall call = {window, file ? file : L"<null>", command, {}, data};
    if ((command == HELP_WM_HELP || command == 0x11 /* HtmlHelpW's HH_TP_HELP_WM_HELP */) && data)
        std::memcpy(call.table, reinterpret_cast<const DWORD*>(data), sizeof(call.table));
    std::lock_guard<std::mutex> lock(gHelpMutex);
    gHelpCalls.push_back(call);
    return TRUE;
}

inline std::vector<HelpCall> helpCalls()
{
    std::lock_guard<std::mutex> lock(gHelpMutex);
    return gHelpCalls;
}

inline void forgetHelpCalls()
{
    std::lock_guard<std::mutex> lock(gHelpMutex);
    gHelpCalls.clear();
}

// Waits until `count` help calls have been made; false on time-out.
inline bool waitForHelpCalls(size_t count)
{
    const DWORD start = GetTickCount();
    while (helpCalls().size() < count) {
        if (GetTickCount() - start >= kDialogTimeoutMs)
            return false;
        Sleep(5);
    }
    return true;
}

// Records the library's help calls while it lives, from a clean slate.
class HelpRecorder {
public:
    HelpRecorder() { forgetHelpCalls(); }
    bool applied() const { return patch_.applied(); }

private:
    ImportPatch patch_{libraryModule(), "WinHelpW", reinterpret_cast<void*>(recordingWinHelp)};
};

// HtmlHelpW, as the library finds it through GetProcAddress, recorded among the help
// calls (by its own commands) and answering `answer` (null: the viewer showed nothing).
class HtmlHelpRecorder {
public:
    explicit HtmlHelpRecorder(HWND answer) : answer_(answer) { state() = this; }
    bool applied() const { return patch_.applied(); }

private:
    static HtmlHelpRecorder*& state()
    {
        static HtmlHelpRecorder* current = nullptr;
        return current;
    }
    static HWND WINAPI htmlHelp(HWND window, LPCWSTR file, UINT command, DWORD_PTR data)
    {
        recordingWinHelp(window, file, command, data);
        return state()->answer_;
    }
    static FARPROC WINAPI getProcAddress(HMODULE module, LPCSTR name)
    {
        if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) && std::strcmp(name, "HtmlHelpW") == 0)
            return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(htmlHelp));
        return state()->patch_.originalAs<decltype(&GetProcAddress)>()(module, name);
    }
    HWND answer_;
    ImportPatch patch_{libraryModule(), "GetProcAddress", reinterpret_cast<void*>(getProcAddress)};
};

// Counts the library's error beeps while it lives; none sounds.
class BeepRecorder {
public:
    BeepRecorder() { beeps() = 0; }
    bool applied() const { return patch_.applied(); }
    static std::atomic<int>& beeps()
    {
        static std::atomic<int> count{0};
        return count;
    }

private:
    static BOOL WINAPI beep(UINT) { return ++beeps() > 0; }
    ImportPatch patch_{libraryModule(), "MessageBeep", reinterpret_cast<void*>(beep)};
};

// Makes the library see `window` on a second monitor covering `area`, through its imports
// of MonitorFromWindow and GetMonitorInfoW; every other window stays where the system has it.
class SecondMonitor {
public:
    SecondMonitor(HWND window, const RECT& area)
    {
        state().window = window;
        state().area = area;
        state().realFromWindow = fromWindow_.originalAs<decltype(&MonitorFromWindow)>();
        state().realInfo = info_.originalAs<decltype(&GetMonitorInfoW)>();
    }
    bool applied() const { return fromWindow_.applied() && info_.applied(); }

private:
    struct State {
        HWND window = nullptr;
        RECT area = {};
        decltype(&MonitorFromWindow) realFromWindow = nullptr;
        decltype(&GetMonitorInfoW) realInfo = nullptr;
    };
    static State& state()
    {
        static State current;
        return current;
    }
    static HMONITOR handle() { return reinterpret_cast<HMONITOR>(static_cast<ULONG_PTR>(0x5EC0)); }
    static HMONITOR WINAPI fromWindow(HWND window, DWORD flags)
    {
        return window == state().window ? handle() : state().realFromWindow(window, flags);
    }
    static BOOL WINAPI info(HMONITOR monitor, LPMONITORINFO found)
    {
        if (monitor != handle())
            return state().realInfo(monitor, found);
        if (!found || found->cbSize < sizeof(MONITORINFO))
            return FALSE;
        found->rcMonitor = found->rcWork = state().area;
        found->dwFlags = 0;
        return TRUE;
    }

    ImportPatch fromWindow_{libraryModule(), "MonitorFromWindow", reinterpret_cast<void*>(fromWindow)};
    ImportPatch info_{libraryModule(), "GetMonitorInfoW", reinterpret_cast<void*>(info)};
};

#endif
