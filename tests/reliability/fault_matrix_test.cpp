// Every platform call the library makes that can fail under memory pressure or by design,
// made to fail through the library's imports: each export must give its stated result,
// end every dialog it shows and leave nothing behind.
#include "reliability.h"

#include <cstdio>
#include <vector>

namespace {

enum class Result { Zero, NonZero, MinusOne, One, Unspecified };

struct FaultCase {
    Export which;
    Fallible call;
    Result result;
    bool dialogShows;
};

constexpr FaultCase kCases[] = {
    {Export::Warning, Fallible::LocalAlloc, Result::Zero, false},
    {Export::Warning, Fallible::Malloc, Result::Zero, false},
    {Export::Warning, Fallible::LoadLibraryExW, Result::One, true},
    {Export::Warning, Fallible::FindResourceExW, Result::One, true},
    {Export::Warning, Fallible::LoadResource, Result::One, true},
    {Export::Warning, Fallible::DialogBoxParamW, Result::MinusOne, false},

    {Export::DuplexBlocking, Fallible::LocalAlloc, Result::Zero, false},
    {Export::DuplexBlocking, Fallible::Malloc, Result::Zero, false},
    {Export::DuplexBlocking, Fallible::LoadLibraryExW, Result::Unspecified, true},
    {Export::DuplexBlocking, Fallible::FindResourceExW, Result::Unspecified, true},
    {Export::DuplexBlocking, Fallible::LoadResource, Result::Unspecified, true},
    {Export::DuplexBlocking, Fallible::LoadBitmapW, Result::Unspecified, true},
    {Export::DuplexBlocking, Fallible::CreateCompatibleDC, Result::Unspecified, true},
    {Export::DuplexBlocking, Fallible::DialogBoxParamW, Result::Unspecified, false},

    {Export::DuplexThreaded, Fallible::LocalAlloc, Result::Zero, false},
    {Export::DuplexThreaded, Fallible::CreateThread, Result::Zero, false},
    {Export::DuplexThreaded, Fallible::Malloc, Result::NonZero, false},
    {Export::DuplexThreaded, Fallible::LoadLibraryExW, Result::NonZero, true},
    {Export::DuplexThreaded, Fallible::FindResourceExW, Result::NonZero, true},
    {Export::DuplexThreaded, Fallible::LoadResource, Result::NonZero, true},
    {Export::DuplexThreaded, Fallible::LoadBitmapW, Result::NonZero, true},
    {Export::DuplexThreaded, Fallible::CreateCompatibleDC, Result::NonZero, true},
    {Export::DuplexThreaded, Fallible::DialogBoxParamW, Result::NonZero, false},

    {Export::Notice, Fallible::LocalAlloc, Result::Zero, false},
    {Export::Notice, Fallible::CreateThread, Result::Zero, false},
    {Export::Notice, Fallible::Malloc, Result::NonZero, false},
    {Export::Notice, Fallible::LoadLibraryExW, Result::NonZero, true},
    {Export::Notice, Fallible::FindResourceExW, Result::NonZero, true},
    {Export::Notice, Fallible::LoadResource, Result::NonZero, true},
    {Export::Notice, Fallible::CreateFontW, Result::NonZero, true},
    {Export::Notice, Fallible::RegCreateKeyExW, Result::NonZero, true},
    {Export::Notice, Fallible::RegSetValueExW, Result::NonZero, true},
    {Export::Notice, Fallible::DialogBoxParamW, Result::NonZero, false},
};

bool resultMatches(Result expected, INT_PTR result)
{
    switch (expected) {
    case Result::Zero: return result == 0;
    case Result::NonZero: return result != 0;
    case Result::MinusOne: return result == -1;
    case Result::One: return result == 1;
    case Result::Unspecified: return true;
    }
    return false;
}

const char* resultName(Result expected)
{
    switch (expected) {
    case Result::Zero: return "0";
    case Result::NonZero: return "non-zero";
    case Result::MinusOne: return "-1";
    case Result::One: return "1 (OK)";
    case Result::Unspecified: return "anything";
    }
    return "?";
}

bool failsTextLookup(Fallible call)
{
    return call == Fallible::LoadLibraryExW || call == Fallible::FindResourceExW ||
           call == Fallible::LoadResource;
}

// What a dialog showed as it appeared.
struct Seen {
    std::wstring caption;
    std::wstring checkBox;
    HFONT userNameFont = nullptr;
};

Seen gSeen;

void readAndClose(HWND dialog)
{
    gSeen.caption = windowText(dialog);
    if (GetDlgItem(dialog, IDC_WARNING_CHECK))
        gSeen.checkBox = itemText(dialog, IDC_WARNING_CHECK);
    if (HWND userName = GetDlgItem(dialog, IDC_JOB_STORAGE_USER_NAME))
        gSeen.userNameFont = reinterpret_cast<HFONT>(SendMessageW(userName, WM_GETFONT, 0, 0));
    okWhenReady(dialog);
}

// The texts that only the built-in defaults give; the fixture modules hold others.
void expectDefaultTexts(Export which, const Seen& seen)
{
    switch (which) {
    case Export::Warning:
        EXPECT_EQ(L"In the future, do not show this information.", seen.checkBox);
        break;
    case Export::DuplexBlocking:
    case Export::DuplexThreaded:
        EXPECT_EQ(L"Print on Both Sides Instructions", seen.caption);
        break;
    case Export::Notice:
        EXPECT_EQ(L"Job Storage Identification", seen.caption);
        break;
    }
}

std::string describe(const FaultCase& fault)
{
    return std::string(exportName(fault.which)) + " with every " + fallibleName(fault.call) +
           " failing";
}

} // namespace

TEST(FaultMatrix, EveryFailingCallGivesItsResultAndLeavesNothingBehind)
{
    PreferenceKeys keys;
    long injected = 0;
    for (const FaultCase& fault : kCases) {
        SCOPED_TRACE(describe(fault));
        keys.fresh(kReliabilityKey);
        gSeen = Seen();
        ImportLedger ledger;
        ASSERT_TRUE(ledger.unpatched().empty()) << joined(ledger.unpatched());
        ledger.fail(fault.call);

        const Outcome outcome = runExport(fault.which, ledger, readAndClose);

        EXPECT_GT(ledger.failures(fault.call), 0) << "the failing call was never made";
        injected += ledger.failures(fault.call);
        EXPECT_TRUE(resultMatches(fault.result, outcome.result))
            << "expected " << resultName(fault.result) << ", got " << outcome.result;
        EXPECT_EQ(fault.dialogShows ? 1 : 0, outcome.dialogs) << "dialogs shown";
        EXPECT_TRUE(outcome.ended) << "a dialog or its thread did not end";
        EXPECT_TRUE(ledger.imbalances().empty()) << joined(ledger.imbalances());

        if (failsTextLookup(fault.call))
            expectDefaultTexts(fault.which, gSeen);
        if (fault.call == Fallible::LoadBitmapW || fault.call == Fallible::CreateCompatibleDC) {
            EXPECT_GE(ledger.count(Held::Paint).acquired, 3) << "the pictures were painted";
            EXPECT_EQ(0, ledger.bitBlts()) << "no picture in a memory DC, so every frame stays empty";
        }
        if (fault.call == Fallible::CreateFontW) {
            EXPECT_EQ(nullptr, gSeen.userNameFont) << "the failed font's null is set";
            EXPECT_EQ(0, ledger.count(Held::Font).acquired);
        }
        if (fault.call == Fallible::RegCreateKeyExW || fault.call == Fallible::RegSetValueExW)
            EXPECT_FALSE(readValue(preferenceKeyPath(kReliabilityKey)).present)
                << "nothing was written";
        if (fault.call == Fallible::LocalAlloc)
            EXPECT_EQ(0, ledger.threadsStarted()) << "no copy, no thread";
    }
    std::printf("[figures] fault matrix: %d cases, %ld failures injected\n",
                static_cast<int>(sizeof kCases / sizeof kCases[0]), injected);
}

// Each call the export makes on its way through a normal dialog, failed alone in turn:
// the first, the second, ... up to the last. Whatever the position, nothing may crash,
// hang or be left behind.
TEST(FaultMatrix, EachSingleCallFailedInTurn)
{
    PreferenceKeys keys;
    long runs = 0;
    long injected = 0;
    for (Export which : {Export::Warning, Export::DuplexBlocking, Export::DuplexThreaded,
                         Export::Notice}) {
        long made[static_cast<int>(Fallible::Count)] = {};
        {
            ImportLedger ledger;
            keys.fresh(kReliabilityKey);
            const Outcome clean = runExport(which, ledger);
            ASSERT_EQ(1, clean.dialogs) << exportName(which);
            ASSERT_TRUE(ledger.imbalances().empty()) << joined(ledger.imbalances());
            for (int kind = 0; kind < static_cast<int>(Fallible::Count); ++kind)
                made[kind] = ledger.calls(static_cast<Fallible>(kind));
        }
        for (int kind = 0; kind < static_cast<int>(Fallible::Count); ++kind) {
            const auto call = static_cast<Fallible>(kind);
            for (long nth = 1; nth <= made[kind]; ++nth) {
                SCOPED_TRACE(std::string(exportName(which)) + ", " + fallibleName(call) +
                             " call " + std::to_string(nth) + " failing");
                keys.fresh(kReliabilityKey);
                ImportLedger ledger;
                ledger.fail(call, nth);
                const Outcome outcome = runExport(which, ledger);
                ++runs;
                injected += ledger.failures(call);
                EXPECT_EQ(1, ledger.failures(call));
                EXPECT_LE(outcome.dialogs, 1);
                EXPECT_TRUE(outcome.ended) << "a dialog or its thread did not end";
                EXPECT_TRUE(ledger.imbalances().empty()) << joined(ledger.imbalances());
                if (which == Export::Warning)
                    EXPECT_TRUE(outcome.result == 1 || outcome.result == 0 || outcome.result == -1)
                        << "got " << outcome.result;
            }
        }
    }
    std::printf("[figures] single failures in turn: %ld runs, %ld failures injected\n", runs,
                injected);
}
