#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

#include "notice_driver.h"

// printdialogs-prefs as a user runs it: a separate process working on Wine's registry.
namespace {

ProgramRun runPrefs(const std::wstring& arguments)
{
    return runProgram(L"\"" + besideTest(L"printdialogs-prefs.exe") + L"\" " + arguments);
}

// Every key and value below the base, as the system's own reg.exe exports them (UTF-16).
std::wstring exportBase()
{
    const std::wstring file = besideTest(L"prefs-test.reg");
    runProgram(L"reg.exe export HKCU\\Software\\Norvale \"" + file + L"\" /y");
    const std::string bytes = takeFile(file);
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(&text[0], bytes.data(), text.size() * sizeof(wchar_t));
    return text;
}

// This run's own key names, told apart from any other key under the base.
const std::wstring kPrefix = L"PrefsTest" + std::to_wstring(GetCurrentProcessId()) + L"-";

std::string ownLines(const std::string& listed)
{
    std::istringstream lines(listed);
    std::string own;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(std::string(kPrefix.begin(), kPrefix.end()), 0) == 0)
            own += line.substr(kPrefix.size()) + "\n";
    return own;
}

void setValue(const std::wstring& keyName, DWORD type, std::vector<BYTE> data,
              const wchar_t* valueName = kPreferenceValue)
{
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, preferenceKeyPath(keyName).c_str(),
                                             valueName, type, data.data(),
                                             static_cast<DWORD>(data.size())));
}

const std::vector<BYTE> kHidden = {0x00};
const std::vector<BYTE> kShown = {0x01};

// Key names here are ASCII: their UTF-8 is their bytes.
std::string narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

} // namespace

TEST(PrefsList, OneLinePerStoredChoiceSortedWithWhatAnUnreadableValueHolds)
{
    PreferenceKeys keys;
    if (!keyExists(kPreferenceBase)) {
        const ProgramRun run = runPrefs(L"list");
        EXPECT_EQ(0u, run.exitCode) << run.output;
        EXPECT_EQ("", run.output) << "no base key, no choices";
    }
    // Neither a key without the value nor a name longer than a notice can use is a choice.
    setValue(keys.fresh(kPrefix + L"Other"), REG_BINARY, kShown, L"ShowOtherDlg");
    setValue(keys.fresh(kPrefix + std::wstring(38 - kPrefix.size(), L'L')), REG_BINARY, kShown);
    setValue(keys.fresh(kPrefix + L"b"), REG_BINARY, kHidden);
    ProgramRun run = runPrefs(L"list");
    EXPECT_EQ(0u, run.exitCode) << run.output;
    EXPECT_EQ("b\thidden\n", ownLines(run.output));

    setValue(keys.fresh(kPrefix + L"A"), REG_BINARY, kShown);
    setValue(keys.fresh(kPrefix + L"c"), REG_DWORD, {0x01, 0x00, 0x00, 0x00});
    setValue(keys.fresh(kPrefix + L"d"), REG_BINARY, {0x02});
    setValue(keys.fresh(kPrefix + L"e"), REG_BINARY, {});
    setValue(keys.fresh(kPrefix + L"f"), REG_BINARY, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    setValue(keys.fresh(kPrefix + L"\u00dc"), REG_BINARY, kShown);
    // Nested keys by their path, as deep as a notice's key name reaches.
    const std::wstring dept = keys.fresh(kPrefix + L"Dept");
    setValue(dept + L"\\Office3", REG_BINARY, kHidden);
    setValue(dept + L"\\Office3\\" + std::wstring(37 - dept.size() - 9, L'x'), REG_BINARY, kShown);
    setValue(dept + L"\\Office3\\" + std::wstring(37 - dept.size() - 8, L'y'), REG_BINARY, kShown);
    keys.useBaseValue();
    setValue(L"", REG_BINARY, kHidden);
    run = runPrefs(L"list");
    EXPECT_EQ(0u, run.exitCode) << run.output;
    EXPECT_EQ("A\tshown\n"
              "b\thidden\n"
              "c\tunreadable (REG_DWORD, 4 bytes: 01 00 00 00)\n"
              "d\tunreadable (REG_BINARY, 1 byte: 02)\n"
              "Dept\\Office3\thidden\n" +
                  narrow(L"Dept\\Office3\\" + std::wstring(37 - dept.size() - 9, L'x')) + "\tshown\n"
              "e\tunreadable (REG_BINARY, 0 bytes)\n"
              "f\tunreadable (REG_BINARY, 9 bytes: 01 02 03 04 05 06 07 08 ...)\n"
              "\xc3\x9c\tshown\n",
              ownLines(run.output)) << "sorted ignoring case, in UTF-8";
    EXPECT_EQ(0u, run.output.rfind("\"\"\thidden\n", 0)) << "the base key's own choice first: " << run.output;
}

TEST(PrefsReset, ShowsTheNoticeAgainWhereAChoiceIsStoredAndNowhereElse)
{
    PreferenceKeys keys;
    const std::wstring hidden = keys.fresh(kPrefix + L"Hidden");
    const std::wstring unreadable = keys.fresh(kPrefix + L"Unreadable");
    const std::wstring other = keys.fresh(kPrefix + L"Other");
    const std::wstring absent = keys.fresh(kPrefix + L"Absent");
    setValue(hidden, REG_BINARY, kHidden);
    setValue(unreadable, REG_SZ, {'0', 0, 0, 0});
    setValue(other, REG_BINARY, kHidden, L"ShowOtherDlg");
    const std::wstring nested = keys.fresh(kPrefix + L"Site") + L"\\Office3";
    setValue(nested, REG_BINARY, kHidden);
    keys.useBaseValue();
    setValue(L"", REG_BINARY, kHidden);

    const std::wstring before = exportBase();
    for (const std::wstring& name : {other, absent}) {
        const ProgramRun run = runPrefs(L"reset " + name);
        EXPECT_EQ(1u, run.exitCode) << run.output;
        EXPECT_NE(std::string::npos, run.output.find("holds no stored choice")) << run.output;
    }
    EXPECT_EQ(before, exportBase()) << "nothing written, no key created";

    EXPECT_EQ(0u, runPrefs(L"reset " + hidden).exitCode);
    EXPECT_EQ(kShown, readValue(preferenceKeyPath(hidden)).data);
    EXPECT_EQ(0u, runPrefs(L"reset --all").exitCode);
    for (const std::wstring& name : {unreadable, nested, std::wstring()}) {
        const StoredValue mended = readValue(preferenceKeyPath(name));
        EXPECT_EQ(static_cast<DWORD>(REG_BINARY), mended.type) << narrow(name);
        EXPECT_EQ(kShown, mended.data) << narrow(name);
    }
    EXPECT_FALSE(readValue(preferenceKeyPath(other)).present) << "a key without a choice is left alone";
}

// A choice that cannot be changed and a key that cannot be looked into are named, and the
// exit code says so; everything else is still listed and reset.
TEST(PrefsReset, WhatCouldNotBeDoneIsSaidAndExitsOne)
{
    PreferenceKeys keys;
    const std::wstring locked = keys.fresh(kPrefix + L"Locked");
    const std::wstring closed = keys.fresh(kPrefix + L"Closed");
    const std::wstring hidden = keys.fresh(kPrefix + L"Hidden");
    setValue(locked, REG_BINARY, kHidden);
    setValue(closed + L"\\Inside", REG_BINARY, kHidden);
    setValue(hidden, REG_BINARY, kHidden);
    {
        RestrictedKey unlisted(preferenceKeyPath(closed), KEY_QUERY_VALUE);
        ASSERT_TRUE(unlisted.restricted());
        const ProgramRun run = runPrefs(L"list");
        EXPECT_EQ(1u, run.exitCode) << run.output;
        EXPECT_EQ("Hidden\thidden\nLocked\thidden\n", ownLines(run.output));
        EXPECT_NE(std::string::npos, run.output.find("could not look below HKEY_CURRENT_USER\\Software\\Norvale\\" +
                                                     narrow(closed) + " (error 5)")) << run.output;
    }
    {
        RestrictedKey readOnly(preferenceKeyPath(locked), KEY_READ);
        ASSERT_TRUE(readOnly.restricted());
        const ProgramRun run = runPrefs(L"reset --all");
        EXPECT_EQ(1u, run.exitCode) << run.output;
        EXPECT_NE(std::string::npos, run.output.find("could not write HKEY_CURRENT_USER\\Software\\Norvale\\" +
                                                     narrow(locked))) << run.output;
    }
    EXPECT_EQ(kHidden, readValue(preferenceKeyPath(locked)).data);
    EXPECT_EQ(kShown, readValue(preferenceKeyPath(hidden)).data) << "the others are reset all the same";
    EXPECT_EQ(kShown, readValue(preferenceKeyPath(closed + L"\\Inside")).data);
}

// Each name a driver may give: the notice stores under it, `list` shows it, and `reset`
// takes the name `list` showed.
TEST(PrefsTool, ListsAndResetsWhatTheNoticeStoresUnderAnyName)
{
    PreferenceKeys keys;
    keys.useBaseValue();
    const struct {
        std::wstring name;
        std::string shown;
        std::wstring argument;
    } cases[] = {
        {keys.fresh(L"--all"), "--all", L"-- --all"},
        {keys.fresh(kPrefix + L"Dept") + L"\\Office3", narrow(kPrefix) + "Dept\\Office3",
         L"\"" + kPrefix + L"Dept\\Office3\""},
        {L"", "\"\"", L"\"\""},
    };
    for (const auto& c : cases) {
        Notice notice(noticeRequest(c.name.c_str()));
        ASSERT_NE(nullptr, notice.dialog());
        notice.check();
        ASSERT_TRUE(notice.pressOk());
    }
    const ProgramRun listed = runPrefs(L"list");
    EXPECT_EQ(0u, listed.exitCode) << listed.output;
    for (const auto& c : cases) {
        EXPECT_NE(std::string::npos, ("\n" + listed.output).find("\n" + c.shown + "\thidden\n"))
            << c.shown << " in " << listed.output;
        const ProgramRun reset = runPrefs(L"reset " + c.argument);
        EXPECT_EQ(0u, reset.exitCode) << c.shown << ": " << reset.output;
        EXPECT_EQ(kShown, readValue(preferenceKeyPath(c.name)).data) << c.shown;
        for (const auto& later : cases)
            if (&later > &c)
                EXPECT_EQ(kHidden, readValue(preferenceKeyPath(later.name)).data)
                    << later.shown << " left alone by reset " << narrow(c.argument);
    }
}

// The tool and the notice, each on a key of its own that starts without a choice, store
// the same type and bytes: hide as OK with the box ticked, reset as OK with it unticked.
TEST(PrefsTool, WritesTheBytesTheNoticeWrites)
{
    PreferenceKeys keys;
    const std::wstring byTool = keys.fresh(kPrefix + L"Tool");
    const std::wstring byNotice = keys.fresh(kPrefix + L"Notice");
    for (const bool ticked : {true, false}) {
        EXPECT_EQ(0u, runPrefs((ticked ? L"hide " : L"reset ") + byTool).exitCode);
        {
            Notice notice(noticeRequest(byNotice.c_str()));
            ASSERT_NE(nullptr, notice.dialog());
            if (ticked)
                notice.check();
            ASSERT_TRUE(notice.pressOk());
        }
        const StoredValue fromTool = readValue(preferenceKeyPath(byTool));
        const StoredValue fromNotice = readValue(preferenceKeyPath(byNotice));
        EXPECT_EQ(ticked ? kHidden : kShown, fromTool.data);
        EXPECT_EQ(fromNotice.type, fromTool.type) << (ticked ? "ticked" : "unticked");
        EXPECT_EQ(fromNotice.data, fromTool.data) << (ticked ? "ticked" : "unticked");
    }
}

TEST(PrefsBadInput, RefusedWithExitTwoAndNothingWritten)
{
    PreferenceKeys keys;
    const std::wstring longest = keys.fresh(kPrefix + std::wstring(37 - kPrefix.size(), L'L'));
    const std::wstring tooLong = keys.fresh(longest + L"L");
    const std::wstring parent = keys.fresh(kPrefix + L"Parent");
    // Choices that a command wrongly taken would overwrite.
    setValue(tooLong, REG_BINARY, kShown);
    setValue(parent, REG_BINARY, kShown);
    const std::wstring before = exportBase();
    ASSERT_NE(std::wstring::npos, before.find(parent + L"]")) << "exported";
    const std::pair<std::wstring, const char*> cases[] = {
        {L"", "no command given"},
        {L"show " + parent, "unknown command \"show\""},
        {L"reset", "reset needs a key name"},
        {L"hide", "hide needs a key name"},
        {L"reset --", "reset needs a key name"},
        {L"reset " + tooLong, "has 38 units; the notice keeps at most 37"},
        {L"hide " + tooLong, "has 38 units; the notice keeps at most 37"},
        {L"hide " + parent + L"\\" + std::wstring(37 - parent.size(), L'C'), "has 38 units"},
        {L"list " + parent, "list takes no key name"},
        {L"hide " + parent + L" " + parent, "hide takes one key name"},
        {L"reset --all " + parent, "reset takes one key name"},
        {L"reset -- " + parent + L" " + parent, "reset takes one key name"},
    };
    for (const auto& [arguments, message] : cases) {
        const ProgramRun run = runPrefs(arguments);
        EXPECT_EQ(2u, run.exitCode) << testing::PrintToString(arguments) << ": " << run.output;
        EXPECT_NE(std::string::npos, run.output.find(message)) << run.output;
    }
    EXPECT_EQ(before, exportBase()) << "the registry is unchanged";

    EXPECT_EQ(0u, runPrefs(L"hide " + longest).exitCode) << "37 units are taken";
    EXPECT_EQ(kHidden, readValue(preferenceKeyPath(longest)).data);
}

// Why a program did not run to its end is in its output, and a program's own exit code
// 259 is told apart from a time-out.
TEST(ProgramRunner, SaysWhyAProgramDidNotRunToItsEnd)
{
    const struct {
        std::wstring commandLine;
        DWORD timeoutMs;
        DWORD exitCode;
        const char* reason;
    } cases[] = {
        {L"\"" + besideTest(L"no-such-program.exe") + L"\"", kProgramTimeoutMs, STILL_ACTIVE,
         "runProgram: did not start: CreateProcessW error 2"},
        {L"notepad.exe", 500, STILL_ACTIVE, "runProgram: still running after 500 ms, so ended with exit code 259"},
        {L"cmd.exe /c exit 259", kProgramTimeoutMs, STILL_ACTIVE, nullptr},
        {L"cmd.exe /c echo ran", kProgramTimeoutMs, 0, nullptr},
    };
    for (const auto& c : cases) {
        const ProgramRun run = runProgram(c.commandLine, c.timeoutMs);
        EXPECT_EQ(c.exitCode, run.exitCode) << narrow(c.commandLine) << ": " << run.output;
        if (c.reason)
            EXPECT_EQ(0u, run.output.rfind(c.reason, 0)) << narrow(c.commandLine) << ": " << run.output;
        else
            EXPECT_EQ(std::string::npos, run.output.find("runProgram")) << narrow(c.commandLine) << ": " << run.output;
    }
}
