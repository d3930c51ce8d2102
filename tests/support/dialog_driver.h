// Finding, reading and pressing the library's dialogs from a test, as a user would.
#ifndef TESTS_DIALOG_DRIVER_H
#define TESTS_DIALOG_DRIVER_H

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

constexpr DWORD kDialogTimeoutMs = 5000;

// Visible top-level dialog windows (class #32770) of this process.
std::vector<HWND> processDialogs();

// Waits for a visible dialog of this process that is not in `known`; null on time-out.
HWND waitForNewDialog(const std::vector<HWND>& known = {}, DWORD timeoutMs = kDialogTimeoutMs);

// Waits until the window no longer exists; false on time-out.
bool waitUntilGone(HWND window, DWORD timeoutMs = kDialogTimeoutMs);

std::wstring windowText(HWND window);
std::wstring itemText(HWND dialog, int controlId);

// The control's rectangle in the dialog's client coordinates; left <= right also in a
// mirrored dialog, as MapWindowPoints gives it for two points.
RECT itemRect(HWND dialog, int controlId);

// Sends what a click on the button sends (WM_COMMAND, BN_CLICKED) without waiting.
void pressButton(HWND dialog, int controlId);

// Whether the dialog is the active window of its thread, once it is or a second has passed.
bool isActive(HWND dialog);

// The id of the control that has the keyboard focus in the dialog's thread, once it is
// `expected` or a second has passed.
int focusedId(HWND dialog, int expected);

// What a person does who works in another window for a moment: activates a window of the
// test's own, then the dialog again. False when the dialog did not lose the activation or
// did not get it back.
bool leaveAndComeBack(HWND dialog);

// For dialogs that block the calling thread: runs `onDialog` on a thread of its own with
// the first new dialog of this process, then the test's thread goes on to call the export.
class DialogWatcher {
public:
    explicit DialogWatcher(std::function<void(HWND)> onDialog, DWORD timeoutMs = kDialogTimeoutMs);
    ~DialogWatcher();  // joins
    bool sawDialog() const { return sawDialog_; }

private:
    std::vector<HWND> known_;
    std::function<void(HWND)> onDialog_;
    std::atomic<bool> sawDialog_{false};
    std::thread thread_;
};

// Path of a file next to the test program (fixture modules, the library).
std::wstring besideTest(const wchar_t* fileName);

// A program run: its exit code and what it wrote to standard output and error. When it
// did not run to its end, `output` begins with a line "runProgram: " saying why (it did not
// start, and the system's error; or it was ended after the time-out, its exit code 259 then
// being the runner's), so that every message that shows the output shows the reason.
struct ProgramRun {
    DWORD exitCode = STILL_ACTIVE;
    std::string output;
};

constexpr DWORD kProgramTimeoutMs = 30000;

// Runs `commandLine` with its output going to a file, read once the program has exited
// (ended after `timeoutMs`): a pipe would stay open for as long as any process that inherited
// it lives, such as the `explorer.exe /desktop` Wine starts when no desktop is up.
ProgramRun runProgram(std::wstring commandLine, DWORD timeoutMs = kProgramTimeoutMs);

// The whole of a file's bytes; the file is deleted.
std::string takeFile(const std::wstring& path);

// Whether a file of that name is mapped into this process, as a program image or as data
// (a resource module loaded as data is not among the loaded modules).
bool isMapped(const wchar_t* fileName);

#endif
