// Records as a faulty or hostile driver might pass them: every text field filled to its
// last unit with no NUL, and records of random bytes. The caller's record and the
// library's copy each end against an inaccessible page, so any read past either faults;
// the caller's record is read-only during the call and inaccessible while a threaded
// dialog runs. 100 random records per export, times RELIABILITY_SCALE.
#include "reliability.h"

#include <cstdio>
#include <random>
#include <set>

#include "guarded_memory.h"

namespace {

INT_PTR callWith(const WarningRequest* request)
{
    return IShowWarningDialog(request);
}

INT_PTR callWith(const DuplexRequest* request)
{
    return VDisplayDialog(request);
}

INT_PTR callWith(const JobStorageRequest* request)
{
    return reinterpret_cast<INT_PTR>(VJobStorageDialog(request));
}

bool isThreaded(const WarningRequest&) { return false; }
bool isThreaded(const DuplexRequest& request) { return request.continueFromDialog == 0; }
bool isThreaded(const JobStorageRequest&) { return true; }

// Calls the export with `content` as a guarded caller's record; the dialogs go to `onReady`.
template <class Request>
Outcome runGuarded(const Request& content, ImportLedger& ledger,
                   const std::function<void(HWND)>& onReady)
{
    GuardedRecord<Request> record(content);
    ReadyDialogs ready(onReady);
    Outcome outcome;
    record.protect(PAGE_READONLY);
    outcome.result = callWith(record.get());
    if (isThreaded(content))
        record.protect(PAGE_NOACCESS);
    outcome.ended = ledger.awaitThreads();
    letAThreadExit();
    outcome.dialogs = ready.seen();
    EXPECT_TRUE(record.unchanged()) << "the caller's record was changed";
    return outcome;
}

template <size_t Units>
void fill(WCHAR (&field)[Units], wchar_t unit)
{
    wmemset(field, unit, Units);
}

std::wstring units(size_t count, wchar_t unit)
{
    return std::wstring(count, unit);
}

// What the full-field dialogs showed.
struct Shown {
    std::wstring caption, userName, jobName, location1, location2, location3, message;
};
Shown gShown;

void readPressHelpAndOk(HWND dialog, int helpId)
{
    gShown.caption = windowText(dialog);
    gShown.userName = itemText(dialog, IDC_JOB_STORAGE_USER_NAME);
    gShown.jobName = itemText(dialog, IDC_JOB_STORAGE_JOB_NAME);
    gShown.location1 = itemText(dialog, IDC_JOB_STORAGE_LOCATION1);
    gShown.location2 = itemText(dialog, IDC_JOB_STORAGE_LOCATION2);
    gShown.location3 = itemText(dialog, IDC_JOB_STORAGE_LOCATION3);
    gShown.message = itemText(dialog, IDC_WARNING_MESSAGE);
    if (helpId)
        pressButton(dialog, helpId);
    okWhenReady(dialog);
}

} // namespace

TEST(BadRecords, NoticeWithEveryTextFieldFullToItsLastUnit)
{
    GuardedLocalAlloc guard;
    ASSERT_TRUE(guard.applied());
    HelpRecorder help;
    ASSERT_TRUE(help.applied());
    PreferenceKeys keys;
    const std::wstring keyName = keys.fresh(units(37, L'K'));
    ImportLedger ledger;

    JobStorageRequest request = {};
    fill(request.userName, L'U');
    fill(request.jobName, L'J');
    fill(request.locationLine1, L'A');
    fill(request.locationLine2, L'B');
    fill(request.locationLine3, L'C');
    fill(request.preferenceKeyName, L'K');
    request.suffixFlagA = 1;
    request.suffixFlagB = 1;
    fill(request.resourceModulePath, L'R');
    fill(request.helpFilePath, L'H');
    gShown = Shown();
    const Outcome outcome = runGuarded(request, ledger, [](HWND dialog) {
        readPressHelpAndOk(dialog, IDC_JOB_STORAGE_HELP);
    });

    EXPECT_NE(0, outcome.result);
    EXPECT_EQ(1, outcome.dialogs);
    EXPECT_TRUE(outcome.ended);
    EXPECT_EQ(units(16, L'U'), gShown.userName);
    EXPECT_EQ(units(16, L'J') + L"(1-99)", gShown.jobName);
    EXPECT_EQ(units(255, L'A'), gShown.location1);
    EXPECT_EQ(units(255, L'B'), gShown.location2);
    EXPECT_EQ(units(255, L'C'), gShown.location3);
    EXPECT_EQ(L"Job Storage Identification", gShown.caption) << "no module of that name";
    ASSERT_EQ(1u, helpCalls().size());
    EXPECT_EQ(units(255, L'H'), helpCalls()[0].file);
    EXPECT_TRUE(readValue(preferenceKeyPath(keyName)).present)
        << "the key name, cut to its field, names the key";
    EXPECT_TRUE(ledger.imbalances().empty()) << joined(ledger.imbalances());
}

TEST(BadRecords, DuplexWithBothPathsFullToTheirLastUnit)
{
    GuardedLocalAlloc guard;
    ASSERT_TRUE(guard.applied());
    for (UINT32 blocking : {0u, 1u}) {
        SCOPED_TRACE(blocking ? "blocking" : "threaded");
        HelpRecorder help;
        ASSERT_TRUE(help.applied());
        ImportLedger ledger;
        DuplexRequest request = duplexRequest(nullptr, blocking);
        fill(request.resourceModulePath, L'R');
        fill(request.helpFilePath, L'H');
        gShown = Shown();
        const Outcome outcome = runGuarded(request, ledger, [](HWND dialog) {
            readPressHelpAndOk(dialog, IDC_DUPLEX_HELP);
        });
        EXPECT_EQ(1, outcome.dialogs);
        EXPECT_TRUE(outcome.ended);
        EXPECT_EQ(L"Print on Both Sides Instructions", gShown.caption);
        ASSERT_EQ(1u, helpCalls().size());
        EXPECT_EQ(units(255, L'H'), helpCalls()[0].file);
        EXPECT_TRUE(ledger.imbalances().empty()) << joined(ledger.imbalances());
    }
}

TEST(BadRecords, WarningWithMessageAndPathFullToTheirLastUnit)
{
    GuardedLocalAlloc guard;
    ASSERT_TRUE(guard.applied());
    ImportLedger ledger;
    WarningRequest request = warningRequest();
    fill(request.messageText, L'M');
    fill(request.resourceModulePath, L'R');
    gShown = Shown();
    const Outcome outcome = runGuarded(request, ledger, [](HWND dialog) {
        readPressHelpAndOk(dialog, 0);
    });
    EXPECT_EQ(1, outcome.result);
    EXPECT_EQ(1, outcome.dialogs);
    EXPECT_EQ(units(1023, L'M'), gShown.message);
    EXPECT_TRUE(ledger.imbalances().empty()) << joined(ledger.imbalances());
}

namespace {

// Every field of a random record is out of range at once, and every read past a record
// faults at once; 100 records take each export's two paths 50 times each.
long randomRecords()
{
    return scaled(100);
}

template <class Request>
Request randomRecord(std::mt19937& random)
{
    Request request;
    auto* bytes = reinterpret_cast<BYTE*>(&request);
    for (size_t i = 0; i < sizeof request; ++i)
        bytes[i] = static_cast<BYTE>(random());
    return request;
}

std::set<std::wstring> subkeysOf(const wchar_t* path)
{
    std::set<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.insert(name);
    }
    RegCloseKey(key);
    return names;
}

// Runs `count` random records through one export; `shape` may set a mode field so that
// both of an export's paths are taken.
template <class Request>
void expectRandomRecordsSurvive(const char* what, unsigned seed,
                                const std::function<void(Request&, long)>& shape)
{
    GuardedLocalAlloc guard;
    ASSERT_TRUE(guard.applied());
    ImportLedger ledger;
    std::mt19937 random(seed);
    const long count = randomRecords();
    long dialogs = 0;
    long hung = 0;
    const DWORD start = GetTickCount();
    for (long index = 0; index < count; ++index) {
        Request request = randomRecord<Request>(random);
        shape(request, index);
        const Outcome outcome = runGuarded(request, ledger, okWhenReady);
        dialogs += outcome.dialogs;
        hung += outcome.ended ? 0 : 1;
    }
    EXPECT_EQ(0, hung) << "records whose dialog or thread did not end";
    EXPECT_TRUE(ledger.imbalances().empty()) << joined(ledger.imbalances());
    std::printf("[figures] %s: %ld random records (seed %u), %ld dialogs shown, in %lu ms\n",
                what, count, seed, dialogs, GetTickCount() - start);
}

} // namespace

TEST(BadRecords, RandomWarningRecords)
{
    // Half are to be shown, or nearly none would pass showDialog.
    expectRandomRecordsSurvive<WarningRequest>("IShowWarningDialog", 1001,
                                               [](WarningRequest& request, long index) {
                                                   if (index % 2)
                                                       request.showDialog = 1;
                                               });
}

TEST(BadRecords, RandomDuplexRecords)
{
    // Half threaded, or nearly all would block.
    expectRandomRecordsSurvive<DuplexRequest>("VDisplayDialog", 1002,
                                              [](DuplexRequest& request, long index) {
                                                  if (index % 2)
                                                      request.continueFromDialog = 0;
                                              });
}

TEST(BadRecords, RandomNoticeRecords)
{
    // OK stores the preference under whatever key name the record holds: remove them all.
    PreferenceKeys keys;
    keys.useBaseValue();
    const std::set<std::wstring> before = subkeysOf(kPreferenceBase);
    // Wine 8's edit control crashes inside its own text shaping (uniscribe,
    // GPOS_apply_MarkToLigature) on some random UTF-16 sequences, whoever sets them. The
    // two edit boxes' fields therefore get random units from U+0020 to U+02FF, without
    // any NUL; every other byte stays random.
    expectRandomRecordsSurvive<JobStorageRequest>(
        "VJobStorageDialog", 1003, [](JobStorageRequest& request, long) {
            for (WCHAR& unit : request.userName)
                unit = static_cast<WCHAR>(0x20 + unit % (0x300 - 0x20));
            for (WCHAR& unit : request.jobName)
                unit = static_cast<WCHAR>(0x20 + unit % (0x300 - 0x20));
        });
    for (const std::wstring& name : subkeysOf(kPreferenceBase))
        if (!before.count(name))
            deleteKeyTree(std::wstring(kPreferenceBase) + L"\\" + name);
}
