#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "dialog_driver.h"
#include "printdialogs.h"
#include "resource.h"

// The previewer as a user runs it: a separate process, its output and its picture.
namespace {

struct PreviewRun {
    DWORD exitCode = 0;
    std::string output;
};

PreviewRun runPreview(const std::wstring& arguments)
{
    PreviewRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    std::wstring commandLine = L"\"" + besideTest(L"printdialogs-preview.exe") + L"\" " + arguments;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (started) {
        // Read what is there until the previewer itself has ended, then what is left. Not
        // until the pipe's end: a process the previewer starts may keep it open for good
        // (Wine hands the previewer's stderr to the `explorer.exe /desktop` it starts when
        // no virtual desktop is up, and that one stays as long as this test runs).
        auto drain = [&] {
            char chunk[512];
            DWORD got = 0;
            for (;;) {
                // Once every writer is gone the peek fails and a read cannot block: it
                // gives what is left, then fails too.
                DWORD waiting = 0;
                if (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &waiting, nullptr) && !waiting)
                    return;
                if (!ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) || !got)
                    return;
                run.output.append(chunk, got);
            }
        };
        const DWORD start = GetTickCount();
        while (WaitForSingleObject(process.hProcess, 10) == WAIT_TIMEOUT &&
               GetTickCount() - start < 30000)
            drain();
        drain();
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        if (run.exitCode == STILL_ACTIVE)
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return run;
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

    void expectShotOf(int templateId, const PreviewRun& run)
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
    const PreviewRun run = runPreview(L"warning --message \"Short message\" --third-id 4012 --close-with 285 --screenshot \"" + shot_ + L"\"");
    expectShotOf(IDD_WARNING, run);
    EXPECT_NE(std::string::npos, run.output.find("IShowWarningDialog returned 285")) << run.output;
}

TEST_F(Preview, DuplexScreenshotInBothModes)
{
    PreviewRun run = runPreview(L"duplex --screenshot \"" + shot_ + L"\"");
    expectShotOf(IDD_DUPLEX, run);
    EXPECT_NE(std::string::npos, run.output.find("VDisplayDialog started the dialog thread")) << run.output;

    DeleteFileW(shot_.c_str());
    run = runPreview(L"duplex --blocking --close-with 1 --screenshot \"" + shot_ + L"\"");
    expectShotOf(IDD_DUPLEX, run);
    EXPECT_NE(std::string::npos, run.output.find("VDisplayDialog returned after the dialog closed")) << run.output;
}

TEST_F(Preview, JobStorageScreenshot)
{
    const PreviewRun run = runPreview(L"jobstorage --suffix --screenshot \"" + shot_ + L"\"");
    expectShotOf(IDD_JOB_STORAGE, run);
    EXPECT_NE(std::string::npos, run.output.find("VJobStorageDialog started the notice thread")) << run.output;
}

TEST_F(Preview, BadOptionsExitWithAClearMessage)
{
    PreviewRun run = runPreview(L"warning --ok-id twelve");
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
    PreviewRun run = runPreview(L"--list-languages \"" + besideTest(L"strings_fr_en.dll") + L"\"");
    EXPECT_EQ(0u, run.exitCode) << run.output;
    EXPECT_EQ("en-US\r\nfr-FR\r\n", run.output);  // in the module's (numeric) order

    run = runPreview(L"--list-languages no-such-module.dll");
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_NE(std::string::npos, run.output.find("cannot load no-such-module.dll")) << run.output;
}

TEST_F(Preview, CheckFindsHiddenLinesBoxesAndCutStrings)
{
    const PreviewRun run = runPreview(L"jobstorage --check --name notice --module \"" +
                                      besideTest(L"check_faults.dll") + L"\"");
    EXPECT_EQ(3u, run.exitCode) << "exit 3: problems found; " << run.output;
    const char* expected[] = {
        "96dpi notice string 844 control 1018 does-not-fit: ",
        "1 line out of sight",
        "string 3064 control caption missing-glyph: the font draws a box for U+A000\r\n",
        "string 3062 control 1024 too-long: 300 units, cut to 255\r\n",
        "string 3062 control 1024 does-not-fit: ",
    };
    for (const char* finding : expected)
        EXPECT_NE(std::string::npos, run.output.find(finding)) << "expected " << finding << " in " << run.output;
    EXPECT_EQ(std::string::npos, run.output.find("control 1019 ")) << "Job Name: fits; " << run.output;
    EXPECT_EQ(std::string::npos, run.output.find("missing-string")) << run.output;
}
