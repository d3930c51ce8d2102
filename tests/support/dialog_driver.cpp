#include "dialog_driver.h"

#include <psapi.h>

#include <cstdio>

namespace {

BOOL CALLBACK collectDialog(HWND window, LPARAM param)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        wcscmp(className, L"#32770") == 0)
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

bool contains(const std::vector<HWND>& windows, HWND window)
{
    for (HWND known : windows)
        if (known == window)
            return true;
    return false;
}

} // namespace

std::vector<HWND> processDialogs()
{
    std::vector<HWND> dialogs;
    EnumWindows(collectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

HWND waitForNewDialog(const std::vector<HWND>& known, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    do {
        for (HWND dialog : processDialogs())
            if (!contains(known, dialog))
                return dialog;
        Sleep(5);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool waitUntilGone(HWND window, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(5);
    }
    return true;
}

std::wstring windowText(HWND window)
{
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
    return text;
}

std::wstring itemText(HWND dialog, int controlId)
{
    return windowText(GetDlgItem(dialog, controlId));
}

RECT itemRect(HWND dialog, int controlId)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, controlId), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void pressButton(HWND dialog, int controlId)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, controlId)));
}

namespace {

bool activeIs(HWND dialog, bool active)
{
    for (int tries = 0; tries < 100; ++tries) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        if ((info.hwndActive == dialog) == active)
            return true;
        Sleep(10);
    }
    return false;
}

} // namespace

bool isActive(HWND dialog)
{
    return activeIs(dialog, true);
}

int focusedId(HWND dialog, int expected)
{
    GUITHREADINFO info = {};
    for (int tries = 0; tries < 100; ++tries) {
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        if (info.hwndFocus && GetDlgCtrlID(info.hwndFocus) == expected)
            break;
        Sleep(10);
    }
    return info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0;
}

bool leaveAndComeBack(HWND dialog)
{
    HWND elsewhere = CreateWindowExW(0, L"STATIC", L"Another window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(elsewhere);
    const bool left = activeIs(dialog, false);
    SetForegroundWindow(dialog);
    const bool back = activeIs(dialog, true);
    DestroyWindow(elsewhere);
    return left && back;
}

DialogWatcher::DialogWatcher(std::function<void(HWND)> onDialog, DWORD timeoutMs)
    : known_(processDialogs()), onDialog_(std::move(onDialog))
{
    thread_ = std::thread([this, timeoutMs] {
        if (HWND dialog = waitForNewDialog(known_, timeoutMs)) {
            sawDialog_ = true;
            onDialog_(dialog);
        }
    });
}

DialogWatcher::~DialogWatcher()
{
    thread_.join();
}

std::wstring besideTest(const wchar_t* fileName)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + fileName;
}

std::string takeFile(const std::wstring& path)
{
    std::string text;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        char chunk[512];
        for (size_t got; (got = fread(chunk, 1, sizeof chunk, file)) > 0;)
            text.append(chunk, got);
        fclose(file);
    }
    DeleteFileW(path.c_str());
    return text;
}

namespace {

// "error 2 (The system cannot find the file specified.)"
std::string systemError(DWORD error)
{
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return "error " + std::to_string(error) + (message.empty() ? "" : " (" + message + ")");
}

} // namespace

ProgramRun runProgram(std::wstring commandLine, DWORD timeoutMs)
{
    // A file of its own for each run, deletable while a process that inherited it (Wine's
    // desktop) still holds it open.
    static std::atomic<long> runs{0};
    ProgramRun run;
    std::string why;
    const std::wstring outputPath = besideTest(
        (L"program-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++runs) +
         L".out").c_str());
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const HANDLE output = CreateFileW(outputPath.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE)
        why = "its output file could not be made: " + systemError(GetLastError()) + "; ";
    STARTUPINFOW startup = {sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        const DWORD waited = WaitForSingleObject(process.hProcess, timeoutMs);
        if (waited != WAIT_OBJECT_0) {
            why += waited == WAIT_TIMEOUT
                ? "still running after " + std::to_string(timeoutMs) + " ms, so ended with exit code 259"
                : "could not be waited for: " + systemError(GetLastError()) + ", so ended with exit code 259";
            TerminateProcess(process.hProcess, STILL_ACTIVE);
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        if (!GetExitCodeProcess(process.hProcess, &run.exitCode))
            why += "no exit code: " + systemError(GetLastError());
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        why += "did not start: CreateProcessW " + systemError(GetLastError());
    }
    if (output != INVALID_HANDLE_VALUE)
        CloseHandle(output);
    run.output = takeFile(outputPath);
    if (!why.empty())
        run.output = "runProgram: " + why + "\n" + run.output;
    return run;
}

bool isMapped(const wchar_t* fileName)
{
    const std::wstring ending = std::wstring(L"\\") + fileName;
    MEMORY_BASIC_INFORMATION region = {};
    for (const char* address = nullptr; VirtualQuery(address, &region, sizeof region);
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State != MEM_COMMIT || !(region.Type & (MEM_IMAGE | MEM_MAPPED)))
            continue;
        wchar_t path[MAX_PATH] = {};
        const size_t length = K32GetMappedFileNameW(GetCurrentProcess(), region.BaseAddress, path, MAX_PATH);
        if (length >= ending.size() && _wcsicmp(path + length - ending.size(), ending.c_str()) == 0)
            return true;
    }
    return false;
}
