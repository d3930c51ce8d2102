// printdialogs-prefs: lists, resets and presets the "do not show again" choices that the
// job storage notice stores for the current user, so that a choice can be undone.
#include <windows.h>

#include <string>
#include <vector>

#include "jobstorage/preference.h"
#include "stored_choices.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitNotDone = 1;  // no stored choice to reset, or the registry refused
constexpr int kExitBadInput = 2;

const wchar_t kUsage[] =
    L"Usage: printdialogs-prefs list | reset KEY | reset --all | hide KEY\n"
    L"Works on the job storage notice's \"do not show again\" choices of the current user,\n"
    L"kept as HKEY_CURRENT_USER\\Software\\Norvale\\KEY, value ShowJobStorageDlg.\n"
    L"KEY is the driver's key name, up to 37 characters: a path such as Dept\\Office3\n"
    L"names a nested key, and \"\" (an empty name) the base key itself.\n"
    L"  list         one line per key: KEY, a tab, then shown, hidden or unreadable\n"
    L"  reset KEY    show the notice again (what OK with the box unticked stores)\n"
    L"  reset --all  the same for every key that holds a choice\n"
    L"  hide KEY     do not show the notice (what OK with the box ticked stores),\n"
    L"               creating the key if needed\n"
    L"  -- KEY       KEY taken as written, even --all\n"
    L"Exit codes: 0 done, 1 nothing to reset, a key left unread or the registry refused,\n"
    L"2 bad input.\n";

// A console gets the text as it is; a file or pipe gets UTF-8, so that any key name
// survives redirection.
void write(DWORD stream, const std::wstring& text)
{
    const HANDLE handle = GetStdHandle(stream);
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], bytes,
                        nullptr, nullptr);
    WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

void say(const std::wstring& text) { write(STD_OUTPUT_HANDLE, text + L"\n"); }
void complain(const std::wstring& text) { write(STD_ERROR_HANDLE, L"printdialogs-prefs: " + text + L"\n"); }

int refuse(const std::wstring& problem)
{
    complain(problem + L"; nothing was changed\nTry printdialogs-prefs --help.");
    return kExitBadInput;
}

std::wstring errorText(LSTATUS status)
{
    return L"error " + std::to_wstring(status);
}

int store(const std::wstring& keyName, BYTE choice)
{
    if (storeShowAgain(keyName.c_str(), choice)) {
        say(shownName(keyName) + (choice == kShowAgain ? L": the notice will be shown again"
                                                       : L": the notice will not be shown"));
        return kExitDone;
    }
    complain(L"could not write " + choiceKeyPath(keyName));
    return kExitNotDone;
}

// False, having said which, when a key could not be looked into: choices may be missing.
bool readStoredChoices(std::vector<StoredChoice>& choices)
{
    std::vector<UnlistedKey> unlisted;
    listStoredChoices(choices, unlisted);
    for (const UnlistedKey& key : unlisted)
        complain(L"could not look below " + choiceKeyPath(key.keyName) + L" (" +
                 errorText(key.status) + L")");
    return unlisted.empty();
}

int listChoices()
{
    std::vector<StoredChoice> choices;
    const bool complete = readStoredChoices(choices);
    for (const StoredChoice& choice : choices)
        say(shownName(choice.keyName) + L"\t" + choice.state);
    return complete ? kExitDone : kExitNotDone;
}

int resetChoice(const std::wstring& keyName)
{
    std::wstring state;
    const LSTATUS status = readChoice(keyName, state);
    if (status == ERROR_FILE_NOT_FOUND) {
        complain(shownName(keyName) + L" holds no stored choice; nothing was changed");
        return kExitNotDone;
    }
    if (status != ERROR_SUCCESS) {
        complain(L"could not read " + choiceKeyPath(keyName) + L" (" + errorText(status) + L")");
        return kExitNotDone;
    }
    return store(keyName, kShowAgain);
}

int resetAll()
{
    std::vector<StoredChoice> choices;
    const bool complete = readStoredChoices(choices);
    if (choices.empty())
        say(L"no stored choices; nothing was changed");
    // One key that cannot be read or written does not keep the others from being reset.
    int result = complete ? kExitDone : kExitNotDone;
    for (const StoredChoice& choice : choices) {
        if (store(choice.keyName, kShowAgain) != kExitDone)
            result = kExitNotDone;
    }
    return result;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    if (arguments.empty())
        return refuse(L"no command given");
    const std::wstring& command = arguments[0];
    if (arguments.size() == 1 && (command == L"--help" || command == L"-h" || command == L"/?")) {
        write(STD_OUTPUT_HANDLE, kUsage);
        return kExitDone;
    }
    if (command == L"list") {
        if (arguments.size() != 1)
            return refuse(L"list takes no key name");
        return listChoices();
    }
    if (command != L"reset" && command != L"hide")
        return refuse(L"unknown command \"" + command + L"\"");
    // "--" ends the options: reset -- --all names a key called --all.
    const bool asWritten = arguments.size() > 1 && arguments[1] == L"--";
    const size_t names = arguments.size() - (asWritten ? 2 : 1);
    if (names < 1)
        return refuse(command + L" needs a key name");
    if (names > 1)
        return refuse(command + L" takes one key name");
    const std::wstring& keyName = arguments.back();
    if (command == L"reset" && keyName == L"--all" && !asWritten)
        return resetAll();
    const std::wstring problem = keyNameProblem(keyName);
    if (!problem.empty())
        return refuse(problem);
    return command == L"reset" ? resetChoice(keyName) : store(keyName, kDoNotShowAgain);
}
