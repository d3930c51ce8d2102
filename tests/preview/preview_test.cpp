#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "dialog_driver.h"
#include "printdialogs.h"
#include "resource.h"

// The previewer as a user runs it: a separate process, its output and its picture.
namespace {

ProgramRun runPreview(const std::wstring& arguments)
{
    return runProgram(L"\"" + besideTest(L"printdialogs-preview.exe") + L"\" " + arguments);
}

SIZE pngSize(const std::wstring& path)
{
    SIZE size = {0, 0};
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return size;
    unsigned char header[24] = {};
    if (fread(header, 1, sizeof header, file) == sizeof header && header[1] == 'P' && header[12] == 'I')
        size = {(header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19],
                (header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23]};
    fclose(file);
    return size;
}

INT_PTR CALLBACK inertProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The size the template gives the dialog on this system, from an invisible twin.
SIZE templateSize(int templateId)
{
    HWND twin = CreateDialogParamW(GetModuleHandleW(L"printdialogs.dll"),
                                   MAKEINTRESOURCEW(templateId), nullptr, inertProc, 0);
    RECT rect = {};
    GetWindowRect(twin, &rect);
    DestroyWindow(twin);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

class Preview : public testing::Test {
protected:
    void SetUp() override
    {
        // The twin needs the library loaded; any call that shows nothing will do.
        WarningRequest hidden = {};
        IShowWarningDialog(&hidden);
        shot_ = besideTest(L"preview-test.png");
        DeleteFileW(shot_.c_str());
    }
    void TearDown() override { DeleteFileW(shot_.c_str()); }

    void expectShotOf(int templateId, const ProgramRun& run)
    {
        EXPECT_EQ(0u, run.exitCode) << run.output;
        const SIZE expected = templateSize(templateId);
        const SIZE written = pngSize(shot_);
        EXPECT_EQ(expected.cx, written.cx) << "template " << templateId << "; " << run.output;
        EXPECT_EQ(expected.cy, written.cy) << "template " << templateId << "; " << run.output;
        const std::string dimensions = std::to_string(written.cx) + "x" + std::to_string(written.cy);
        EXPECT_NE(std::string::npos, run.output.find(dimensions)) << run.output;
    }

    std::wstring shot_;
};

} // namespace

TEST_F(Preview, WarningScreenshotAndTheButtonThatClosedIt)
{
    const ProgramRun run = runPreview(L"warning --message \"Short message\" --third-id 4012 --check-box --tick "
                                      L"--close-with 285 --screenshot \"" + shot_ + L"\"");
    expectShotOf(IDD_WARNING, run);
    EXPECT_NE(std::string::npos, run.output.find("IShowWarningDialog returned 285, check box ticked: 1")) << run.output;
}

TEST_F(Preview, DuplexScreenshotInBothModes)
{
    ProgramRun run = runPreview(L"duplex --screenshot \"" + shot_ + L"\"");
    expectShotOf(IDD_DUPLEX, run);
    EXPECT_NE(std::string::npos, run.output.find("VDisplayDialog started the dialog thread")) << run.output;

    DeleteFileW(shot_.c_str());
    run = runPreview(L"duplex --blocking --close-with 1 --screenshot \"" + shot_ + L"\"");
    expectShotOf(IDD_DUPLEX, run);
    EXPECT_NE(std::string::npos, run.output.find("VDisplayDialog returned after the dialog closed")) << run.output;
}

TEST_F(Preview, JobStorageScreenshot)
{
    const ProgramRun run = runPreview(L"jobstorage --suffix --screenshot \"" + shot_ + L"\"");
    expectShotOf(IDD_JOB_STORAGE, run);
    EXPECT_NE(std::string::npos, run.output.find("VJobStorageDialog started the notice thread")) << run.output;
}

TEST_F(Preview, BadOptionsExitWithAClearMessage)
{
    ProgramRun run = runPreview(L"warning --ok-id twelve");
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_NE(std::string::npos, run.output.find("--ok-id takes a whole number")) << run.output;

    run = runPreview(L"printer");
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_NE(std::string::npos, run.output.find("unknown dialog")) << run.output;

    run = runPreview(L"jobstorage --user ABCDEFGHIJKLMNOPQ");
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_NE(std::string::npos, run.output.find("at most 16 characters")) << run.output;

    run = runPreview(L"--help");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_NE(std::string::npos, run.output.find("--screenshot FILE.png")) << run.output;
}

TEST_F(Preview, ListsTheLanguagesOfTheModulesStrings)
{
    ProgramRun run = runPreview(L"--list-languages \"" + besideTest(L"strings_fr_en.dll") + L"\"");
    EXPECT_EQ(0u, run.exitCode) << run.output;
    EXPECT_EQ("en-US\r\nfr-FR\r\n", run.output);  // in the module's (numeric) order

    run = runPreview(L"--list-languages no-such-module.dll");
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_NE(std::string::npos, run.output.find("cannot load no-such-module.dll")) << run.output;
}

TEST_F(Preview, CheckFindsHiddenLinesBoxesAndCutStrings)
{
    const ProgramRun run = runPreview(L"jobstorage --check --name notice --module \"" +
                                      besideTest(L"check_faults.dll") + L"\"");
    EXPECT_EQ(3u, run.exitCode) << "exit 3: problems found; " << run.output;
    const char* expected[] = {
        "96dpi notice string 844 control 1018 does-not-fit: ",
        "1 line out of sight",
        "string 3064 control caption no-font: no installed font draws Yi: \xea\x80\x80 (U+A000)\r\n",
        "string 3062 control 1024 too-long: 300 units, cut to 255\r\n",
        "string 3062 control 1024 does-not-fit: ",
    };
    for (const char* finding : expected)
        EXPECT_NE(std::string::npos, run.output.find(finding)) << "expected " << finding << " in " << run.output;
    EXPECT_EQ(std::string::npos, run.output.find("control 1019 ")) << "Job Name: fits; " << run.output;
    EXPECT_EQ(std::string::npos, run.output.find("missing-string")) << run.output;
}

TEST_F(Preview, OneFindingAndNoneFromHiddenControls)
{
    // The third button and the check box are hidden, and Cancel with them (id 0); only the
    // OK label the module lacks is a finding.
    const ProgramRun run = runPreview(L"warning --check --name one --caption-id 4002 --message-id 4003 --ok-id 4099 "
                                      L"--cancel-id 0 --module \"" + besideTest(L"check_planted.dll") + L"\"");
    EXPECT_EQ(3u, run.exitCode) << "exit 3: one problem is a problem; " << run.output;
    size_t lines = 0;
    for (size_t at = run.output.find("dpi one "); at != std::string::npos; at = run.output.find("dpi one ", at + 1))
        ++lines;
    EXPECT_EQ(1u, lines) << run.output;
    EXPECT_NE(std::string::npos, run.output.find("string 4099 control 1 missing-string")) << run.output;
}
