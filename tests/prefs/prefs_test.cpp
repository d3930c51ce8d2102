#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "notice_driver.h"

// printdialogs-prefs as a user runs it: a separate process working on Wine's registry.
namespace {

struct PrefsRun {
    DWORD exitCode = STILL_ACTIVE;
    std::string out;  // UTF-8
    std::string err;
};

HANDLE inheritableFile(const std::wstring& path)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string takeFile(const std::wstring& path)
{
    std::string text;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        char chunk[512];
        size_t got = 0;
        while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
            text.append(chunk, got);
        fclose(file);
    }
    DeleteFileW(path.c_str());
    return text;
}

// Output goes to files, read once the tool has exited: a pipe stays open for as long as
// any process that inherited it lives.
PrefsRun runPrefs(const std::wstring& arguments)
{
    PrefsRun run;
    const std::wstring outPath = besideTest(L"prefs-test.out");
    const std::wstring errPath = besideTest(L"prefs-test.err");
    const HANDLE out = inheritableFile(outPath);
    const HANDLE err = inheritableFile(errPath);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::wstring commandLine = L"\"" + besideTest(L"printdialogs-prefs.exe") + L"\" " + arguments;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, STILL_ACTIVE);
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    run.out = takeFile(outPath);
    run.err = takeFile(errPath);
    return run;
}

std::string describe(const PrefsRun& run)
{
    return "exit " + std::to_string(run.exitCode) + "; out: " + run.out + "; err: " + run.err;
}

// Key names of this test run's own, so that other keys under the base are told apart.
const std::wstring& testPrefix()
{
    static const std::wstring prefix = L"PrefsTest" + std::to_wstring(GetCurrentProcessId()) + L"-";
    return prefix;
}

// The lines of `list` that name this run's keys.
std::string ownLines(const std::string& listed)
{
    std::string prefix(testPrefix().begin(), testPrefix().end());
    std::string own;
    size_t start = 0;
    while (start < listed.size()) {
        const size_t end = listed.find('\n', start);
        const std::string line = listed.substr(start, end == std::string::npos ? end : end - start + 1);
        if (line.compare(0, prefix.size(), prefix) == 0)
            own += line;
        start = end == std::string::npos ? listed.size() : end + 1;
    }
    return own;
}

void setValue(const std::wstring& keyName, DWORD type, std::vector<BYTE> data,
              const wchar_t* valueName = kPreferenceValue)
{
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, preferenceKeyPath(keyName).c_str(),
                                             valueName, type, data.data(),
                                             static_cast<DWORD>(data.size())));
}

void createKey(const std::wstring& keyName)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, preferenceKeyPath(keyName).c_str(), 0,
                                             nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    RegCloseKey(key);
}

// Every key and value below the base, for telling that nothing was written.
using RegistryTree = std::map<std::wstring, std::map<std::wstring, std::vector<BYTE>>>;

void snapshotKey(const std::wstring& path, RegistryTree& tree)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    auto& values = tree[path];
    wchar_t name[256];
    BYTE data[512];
    for (DWORD i = 0;; ++i) {
        DWORD units = 256, type = 0, size = sizeof data;
        if (RegEnumValueW(key, i, name, &units, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        std::vector<BYTE>& stored = values[name];
        stored.assign(data, data + size);
        stored.push_back(static_cast<BYTE>(type));
    }
    for (DWORD i = 0;; ++i) {
        DWORD units = 256;
        if (RegEnumKeyExW(key, i, name, &units, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        snapshotKey(path + L"\\" + name, tree);
    }
    RegCloseKey(key);
}

RegistryTree snapshot()
{
    RegistryTree tree;
    snapshotKey(kPreferenceBase, tree);
    return tree;
}

const std::vector<BYTE> kHidden = {0x00};
const std::vector<BYTE> kShown = {0x01};

void expectStored(const std::wstring& keyName, const std::vector<BYTE>& bytes)
{
    const StoredValue stored = readValue(preferenceKeyPath(keyName));
    EXPECT_TRUE(stored.present) << "key " << testing::PrintToString(keyName);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), stored.type);
    EXPECT_EQ(bytes, stored.data);
}

} // namespace

TEST(PrefsList, NoStoredChoicesListNothing)
{
    PreferenceKeys keys;
    if (keyExists(kPreferenceBase))
        GTEST_SKIP() << "other choices may be stored for this user";
    PrefsRun run = runPrefs(L"list");
    EXPECT_EQ(0u, run.exitCode) << describe(run);
    EXPECT_EQ("", run.out) << "no base key";

    // Keys without the value, and a name longer than a notice can use, hold no choice.
    createKey(keys.fresh(testPrefix() + L"Empty"));
    setValue(keys.fresh(testPrefix() + L"Other"), REG_BINARY, kShown, L"ShowOtherDlg");
    setValue(keys.fresh(testPrefix() + std::wstring(38 - testPrefix().size(), L'L')), REG_BINARY, kShown);
    run = runPrefs(L"list");
    EXPECT_EQ(0u, run.exitCode) << describe(run);
    EXPECT_EQ("", run.out);
}

TEST(PrefsList, OneLinePerKeySortedWithWhatAnUnreadableValueHolds)
{
    PreferenceKeys keys;
    const std::string prefix(testPrefix().begin(), testPrefix().end());
    setValue(keys.fresh(testPrefix() + L"b"), REG_BINARY, kHidden);
    PrefsRun run = runPrefs(L"list");
    EXPECT_EQ(0u, run.exitCode) << describe(run);
    EXPECT_EQ(prefix + "b\thidden\n", ownLines(run.out));

    setValue(keys.fresh(testPrefix() + L"A"), REG_BINARY, kShown);
    setValue(keys.fresh(testPrefix() + L"c"), REG_DWORD, {0x01, 0x00, 0x00, 0x00});
    setValue(keys.fresh(testPrefix() + L"d"), REG_BINARY, {0x02});
    setValue(keys.fresh(testPrefix() + L"e"), REG_BINARY, {});
    setValue(keys.fresh(testPrefix() + L"f"), REG_BINARY, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    setValue(keys.fresh(testPrefix() + L"\u00dc"), REG_BINARY, kShown);
    run = runPrefs(L"list");
    EXPECT_EQ(0u, run.exitCode) << describe(run);
    EXPECT_EQ(prefix + "A\tshown\n" +
              prefix + "b\thidden\n" +
              prefix + "c\tunreadable (REG_DWORD, 4 bytes: 01 00 00 00)\n" +
              prefix + "d\tunreadable (REG_BINARY, 1 byte: 02)\n" +
              prefix + "e\tunreadable (REG_BINARY, 0 bytes)\n" +
              prefix + "f\tunreadable (REG_BINARY, 9 bytes: 01 02 03 04 05 06 07 08 ...)\n" +
              prefix + "\xc3\x9c\tshown\n",
              ownLines(run.out)) << "sorted ignoring case; names in UTF-8";
}

TEST(PrefsReset, WritesShownOverAnyStoredValue)
{
    PreferenceKeys keys;
    const std::wstring hidden = keys.fresh(testPrefix() + L"Hidden");
    const std::wstring unreadable = keys.fresh(testPrefix() + L"Unreadable");
    setValue(hidden, REG_BINARY, kHidden);
    setValue(unreadable, REG_DWORD, {0x00, 0x00, 0x00, 0x00});
    for (const std::wstring& name : {hidden, unreadable}) {
        const PrefsRun run = runPrefs(L"reset \"" + name + L"\"");
        EXPECT_EQ(0u, run.exitCode) << describe(run);
        expectStored(name, kShown);
    }
}

TEST(PrefsReset, KeyWithoutAStoredChoiceExitsOneAndChangesNothing)
{
    PreferenceKeys keys;
    const std::wstring absent = keys.fresh(testPrefix() + L"Absent");
    const std::wstring other = keys.fresh(testPrefix() + L"Other");
    setValue(other, REG_BINARY, kHidden, L"ShowOtherDlg");
    const RegistryTree before = snapshot();
    for (const std::wstring& name : {absent, other}) {
        const PrefsRun run = runPrefs(L"reset " + name);
        EXPECT_EQ(1u, run.exitCode) << describe(run);
        EXPECT_NE(std::string::npos, run.err.find("holds no stored choice")) << describe(run);
    }
    EXPECT_EQ(before, snapshot());
    EXPECT_FALSE(keyExists(preferenceKeyPath(absent))) << "no key created";
}

TEST(PrefsReset, AllResetsEveryStoredChoiceAndNothingElse)
{
    PreferenceKeys keys;
    const std::wstring hidden = keys.fresh(testPrefix() + L"Hidden");
    const std::wstring shown = keys.fresh(testPrefix() + L"Shown");
    const std::wstring unreadable = keys.fresh(testPrefix() + L"Unreadable");
    const std::wstring other = keys.fresh(testPrefix() + L"Other");
    setValue(hidden, REG_BINARY, kHidden);
    setValue(shown, REG_BINARY, kShown);
    setValue(unreadable, REG_SZ, {'0', 0, 0, 0});
    setValue(other, REG_BINARY, kHidden, L"ShowOtherDlg");
    RegistryTree otherBefore, otherAfter;
    snapshotKey(preferenceKeyPath(other), otherBefore);
    const PrefsRun run = runPrefs(L"reset --all");
    EXPECT_EQ(0u, run.exitCode) << describe(run);
    for (const std::wstring& name : {hidden, shown, unreadable})
        expectStored(name, kShown);
    snapshotKey(preferenceKeyPath(other), otherAfter);
    EXPECT_EQ(otherBefore, otherAfter) << "a key without a choice is left alone";
}

TEST(PrefsHide, CreatesTheKeyAndWritesHiddenUpToTheLongestName)
{
    PreferenceKeys keys;
    const std::wstring fresh = keys.fresh(testPrefix() + L"Fresh");
    const std::wstring longest =
        keys.fresh(testPrefix() + std::wstring(37 - testPrefix().size(), L'L'));
    const std::wstring shown = keys.fresh(testPrefix() + L"Shown");
    setValue(shown, REG_BINARY, kShown);
    for (const std::wstring& name : {fresh, longest, shown}) {
        const PrefsRun run = runPrefs(L"hide " + name);
        EXPECT_EQ(0u, run.exitCode) << describe(run);
        expectStored(name, kHidden);
    }
}

// What the tool writes and what the notice writes on OK, each on a key of its own that
// starts out without a choice, are the same type and bytes.
TEST(PrefsTool, WritesTheBytesTheNoticeWrites)
{
    PreferenceKeys keys;
    const std::wstring byTool = keys.fresh(testPrefix() + L"Tool");
    const std::wstring byNotice = keys.fresh(testPrefix() + L"Notice");

    EXPECT_EQ(0u, runPrefs(L"hide " + byTool).exitCode);
    {
        Notice notice(noticeRequest(byNotice.c_str()));
        ASSERT_NE(nullptr, notice.dialog());
        notice.check();
        ASSERT_TRUE(notice.pressOk());
    }
    StoredValue fromTool = readValue(preferenceKeyPath(byTool));
    StoredValue fromNotice = readValue(preferenceKeyPath(byNotice));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), fromTool.type);
    EXPECT_EQ(kHidden, fromTool.data);
    EXPECT_EQ(fromNotice.type, fromTool.type) << "ticked";
    EXPECT_EQ(fromNotice.data, fromTool.data) << "ticked";

    EXPECT_EQ(0u, runPrefs(L"reset " + byTool).exitCode);
    {
        Notice notice(noticeRequest(byNotice.c_str()));
        ASSERT_NE(nullptr, notice.dialog());
        ASSERT_TRUE(notice.pressOk());
    }
    fromTool = readValue(preferenceKeyPath(byTool));
    fromNotice = readValue(preferenceKeyPath(byNotice));
    EXPECT_EQ(kShown, fromTool.data);
    EXPECT_EQ(fromNotice.type, fromTool.type) << "unticked";
    EXPECT_EQ(fromNotice.data, fromTool.data) << "unticked";
}

TEST(PrefsBadInput, RefusedWithExitTwoAndNothingWritten)
{
    PreferenceKeys keys;
    const std::wstring tooLong = keys.fresh(testPrefix() + std::wstring(38 - testPrefix().size(), L'L'));
    const std::wstring parent = keys.fresh(testPrefix() + L"Parent");
    // Stored choices that a wrongly accepted command would overwrite.
    setValue(tooLong, REG_BINARY, kHidden);
    setValue(parent + L"\\Child", REG_BINARY, kHidden);
    setValue(parent, REG_BINARY, kHidden);
    const RegistryTree before = snapshot();

    const struct {
        std::wstring arguments;
        const char* message;
    } cases[] = {
        {L"", "no command given"},
        {L"show " + parent, "unknown command \"show\""},
        {L"reset", "reset needs a key name"},
        {L"hide", "hide needs a key name"},
        {L"reset \"\"", "the key name is empty"},
        {L"hide \"\"", "the key name is empty"},
        {L"reset " + tooLong, "has 38 units; the notice keeps at most 37"},
        {L"hide " + tooLong.substr(0, 37) + L"M", "has 38 units; the notice keeps at most 37"},
        {L"reset " + parent + L"\\Child", "contains \\, which would name another key"},
        {L"hide " + parent + L"\\New", "contains \\, which would name another key"},
        {L"hide \\", "contains \\"},
        {L"list " + parent, "list takes no key name"},
        {L"hide " + parent + L" " + parent, "hide takes one key name"},
        {L"reset --all " + parent, "reset takes one key name"},
    };
    for (const auto& bad : cases) {
        const PrefsRun run = runPrefs(bad.arguments);
        EXPECT_EQ(2u, run.exitCode) << testing::PrintToString(bad.arguments) << ": " << describe(run);
        EXPECT_NE(std::string::npos, run.err.find(bad.message))
            << testing::PrintToString(bad.arguments) << ": " << describe(run);
        EXPECT_EQ("", run.out) << testing::PrintToString(bad.arguments);
    }
    EXPECT_EQ(before, snapshot()) << "the registry is unchanged";
}
