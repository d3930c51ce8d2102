// Stand-ins for platform calls that tests put into the library's import table: the
// user's UI language, and WinHelpW (which would start a help viewer).
#ifndef TESTS_PLATFORM_DOUBLES_H
#define TESTS_PLATFORM_DOUBLES_H

#include <gtest/gtest.h>
#include <windows.h>

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

// What the library passed to WinHelpW; WinHelpW itself would start a help viewer.
struct HelpCall {
    HWND window;
    std::wstring file;
    UINT command;
    DWORD table[4];
};

inline std::mutex gHelpMutex;
inline std::vector<HelpCall> gHelpCalls;

inline BOOL WINAPI recordingWinHelp(HWND window, LPCWSTR file, UINT command, ULONG_PTR data)
{
    HelpCall call = {window, file ? file : L"<null>", command, {}};
    if (command == HELP_WM_HELP && data)
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

#endif
