#include <gtest/gtest.h>

#include <map>

#include "../../preview/check_findings.h"
#include "resource.h"

// Which string ids the check expects in which window, and how it reports a finding.
namespace {

using Shown = std::map<int, std::vector<UINT>>;

PreviewOptions optionsFor(std::vector<std::wstring> arguments)
{
    std::vector<wchar_t*> argv;
    for (std::wstring& argument : arguments)
        argv.push_back(&argument[0]);
    PreviewOptions options;
    const std::wstring error = parseOptions(static_cast<int>(argv.size()), argv.data(), L"sample.dll", options);
    EXPECT_EQ(L"", error);
    return options;
}

Shown shownFor(std::vector<std::wstring> arguments, std::vector<int>* notReadByDialog = nullptr)
{
    const PreviewOptions options = optionsFor(arguments);
    Shown shown;
    for (const TextSource& source : requestedTexts(options)) {
        shown[source.controlId] = source.stringIds;
        if (!source.readByDialog && notReadByDialog)
            notReadByDialog->push_back(source.controlId);
    }
    return shown;
}

} // namespace

// The ids the duplex dialog shows in each mode, written out: the check must name what
// the dialog shows, whatever the library's choice becomes.
TEST(CheckFindings, DuplexTextsAreTheDialogsOwnChoices)
{
    const struct {
        std::vector<std::wstring> arguments;
        std::vector<UINT> step3;
        UINT ok, intro;
    } cases[] = {
        {{L"duplex", L"--step3-text", L"3140"}, {3140, 3066}, 849, 3314},
        {{L"duplex", L"--blocking", L"--even-first", L"--step3-text", L"3140"}, {3140}, 3142, 3312},
        {{L"duplex", L"--step3-text", L"3141"}, {3141}, 849, 3314},
    };
    for (const auto& c : cases) {
        Shown shown = shownFor(c.arguments);
        EXPECT_EQ(c.step3, shown[IDC_DUPLEX_STEP3_TEXT]) << testing::PrintToString(c.arguments);
        EXPECT_EQ(std::vector<UINT>{c.ok}, shown[IDOK]) << testing::PrintToString(c.arguments);
        EXPECT_EQ(std::vector<UINT>{c.intro}, shown[IDC_DUPLEX_INTRO]) << testing::PrintToString(c.arguments);
        EXPECT_EQ(std::vector<UINT>{3144}, shown[0]);
    }
}

TEST(CheckFindings, WarningMessageFromTheModuleIsCheckedButNotCutAt255)
{
    std::vector<int> notRead;
    Shown shown = shownFor({L"warning", L"--message-id", L"4001", L"--third-id", L"4012", L"--ok-id", L"849"}, &notRead);
    EXPECT_EQ(std::vector<UINT>{4001}, shown[IDC_WARNING_MESSAGE]);
    EXPECT_EQ(std::vector<int>{IDC_WARNING_MESSAGE}, notRead) << "the previewer reads the message, not the dialog";
    EXPECT_EQ(std::vector<UINT>{4012}, shown[IDC_WARNING_THIRD]);
    EXPECT_EQ(std::vector<UINT>{849}, shown[IDOK]);
    EXPECT_EQ(std::vector<UINT>{kStringDoNotShowAgain}, shown[IDC_WARNING_CHECK]);

    shown = shownFor({L"warning", L"--message", L"Typed in"});
    EXPECT_EQ(0u, shown.count(IDC_WARNING_MESSAGE)) << "a typed message has no string id";
}

TEST(CheckFindings, JobStorageLabels)
{
    Shown shown = shownFor({L"jobstorage"});
    EXPECT_EQ(std::vector<UINT>{kStringUserName}, shown[IDC_JOB_STORAGE_USER_LABEL]);
    EXPECT_EQ(std::vector<UINT>{kStringJobName}, shown[IDC_JOB_STORAGE_JOB_LABEL]);
    EXPECT_EQ(std::vector<UINT>{kStringStoredAt}, shown[IDC_JOB_STORAGE_HEADING]);
    EXPECT_EQ(std::vector<UINT>{kStringJobStorageCaption}, shown[0]);
    EXPECT_EQ(0u, shown.count(IDC_JOB_STORAGE_USER_NAME)) << "the user name is the caller's data";
}

TEST(CheckFindings, LinesAndJsonSayTheSameAndQuoteSafely)
{
    const CheckSetting setting{L"he-IL", 144, L"duplex-threaded-bin"};
    const Finding joined{IDC_DUPLEX_STEP3_TEXT, {3140, 3066}, L"does-not-fit", 1, L"lines", L"1 line out of sight"};
    EXPECT_EQ(L"he-IL 144dpi duplex-threaded-bin string 3140+3066 control 1004 does-not-fit: 1 line out of sight",
              findingLine(setting, joined));
    EXPECT_EQ(L"{\"language\":\"he-IL\",\"dpi\":144,\"dialog\":\"duplex-threaded-bin\",\"stringIds\":[3140,3066],"
              L"\"controlId\":1004,\"problem\":\"does-not-fit\",\"amount\":1,\"unit\":\"lines\","
              L"\"detail\":\"1 line out of sight\"}",
              findingJson(setting, joined));

    const Finding caption{0, {}, L"missing-glyph", 1, L"characters", L"a \"box\" \\ \x05d0\n"};
    EXPECT_EQ(L"he-IL 144dpi duplex-threaded-bin string - control caption missing-glyph: a \"box\" \\ \x05d0\n",
              findingLine(setting, caption));
    const std::wstring json = findingJson(setting, caption);
    EXPECT_NE(std::wstring::npos, json.find(L"\"stringIds\":[],\"controlId\":0,")) << json;
    EXPECT_NE(std::wstring::npos, json.find(L"\"detail\":\"a \\\"box\\\" \\\\ \x05d0\\u000a\"}")) << json;
}
