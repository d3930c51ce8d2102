#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "notice_driver.h"
#include "platform_doubles.h"

#include <htmlhelp.h>

namespace {


LOGFONTW fontOf(HWND window)
{
    LOGFONTW face = {};
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    GetObjectW(font, sizeof face, &face);
    return face;
}

HFONT fontHandleOf(HWND window)
{
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

// A window of a thread of its own that pumps its messages, made the foreground window.
class ForegroundWindow {
public:
    explicit ForegroundWindow(const RECT& place)
    {
        thread_ = std::thread([this, place] {
            window_ = CreateWindowExW(0, L"STATIC", L"Printing application",
                                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, place.left, place.top,
                                      place.right - place.left, place.bottom - place.top,
                                      nullptr, nullptr, nullptr, nullptr);
            SetForegroundWindow(window_);
            threadId_ = GetCurrentThreadId();
            ready_ = true;
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0)
                DispatchMessageW(&message);
            DestroyWindow(window_);
        });
        while (!ready_)
            Sleep(5);
    }
    ~ForegroundWindow()
    {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND window() const { return window_; }

private:
    std::thread thread_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    std::atomic<bool> ready_{false};
};

RECT windowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

} // namespace

TEST(JobStorageDialog, ShowsLabelsFromTheModuleAndTextsFromTheRequest)
{
    Notice notice(noticeRequest());
    ASSERT_NE(nullptr, notice.returned());
    ASSERT_NE(nullptr, notice.dialog());
    EXPECT_EQ(L"Module caption", windowText(notice.dialog()));
    EXPECT_EQ(L"Module user label", notice.text(IDC_JOB_STORAGE_USER_LABEL));
    EXPECT_EQ(L"Module job label", notice.text(IDC_JOB_STORAGE_JOB_LABEL));
    EXPECT_EQ(L"Module heading", notice.text(IDC_JOB_STORAGE_HEADING));
    EXPECT_EQ(L"Module check box", notice.text(IDC_JOB_STORAGE_CHECK));
    EXPECT_EQ(L"Module OK", notice.text(IDOK));
    EXPECT_EQ(L"Module help", notice.text(IDC_JOB_STORAGE_HELP));

    EXPECT_EQ(L"Printer: Hallway", notice.text(IDC_JOB_STORAGE_LOCATION1));
    EXPECT_EQ(L"Job storage folder: Alice", notice.text(IDC_JOB_STORAGE_LOCATION2));
    EXPECT_EQ(L"Keep until: printed", notice.text(IDC_JOB_STORAGE_LOCATION3));
    EXPECT_EQ(L"alice", notice.text(IDC_JOB_STORAGE_USER_NAME));
    EXPECT_EQ(L"Report", notice.text(IDC_JOB_STORAGE_JOB_NAME));
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(notice.item(IDC_JOB_STORAGE_CHECK), BM_GETCHECK, 0, 0));
}

TEST(JobStorageDialog, LabelsTheModuleLacksShowTheirDefaults)
{
    JobStorageRequest request = noticeRequest();
    setField(request.resourceModulePath, L"");
    {
        Notice notice(request);
        ASSERT_NE(nullptr, notice.dialog());
        EXPECT_EQ(L"Job Storage Identification", windowText(notice.dialog()));
        EXPECT_EQ(L"User Name:", notice.text(IDC_JOB_STORAGE_USER_LABEL));
        EXPECT_EQ(L"Job Name:", notice.text(IDC_JOB_STORAGE_JOB_LABEL));
        EXPECT_EQ(L"This print Job will be stored at:", notice.text(IDC_JOB_STORAGE_HEADING));
        EXPECT_EQ(L"In the future, do not show this information.", notice.text(IDC_JOB_STORAGE_CHECK));
        EXPECT_EQ(L"&OK", notice.text(IDOK));
        EXPECT_EQ(L"&Help", notice.text(IDC_JOB_STORAGE_HELP));
        EXPECT_EQ(L"Printer: Hallway", notice.text(IDC_JOB_STORAGE_LOCATION1)) << "request texts still shown";
        EXPECT_EQ(L"alice", notice.text(IDC_JOB_STORAGE_USER_NAME));
    }
    // A module with only the OK label: that one from the module, the rest defaults.
    setField(request.resourceModulePath, besideTest(L"strings_en.dll"));
    Notice notice(request);
    ASSERT_NE(nullptr, notice.dialog());
    EXPECT_EQ(L"Okay from module", notice.text(IDOK));
    EXPECT_EQ(L"Job Storage Identification", windowText(notice.dialog()));
    EXPECT_EQ(L"&Help", notice.text(IDC_JOB_STORAGE_HELP));
}

TEST(JobStorageDialog, UserNameJobNameAndHeadingAreBold)
{
    Notice notice(noticeRequest());
    ASSERT_NE(nullptr, notice.dialog());
    const LOGFONTW dialogFont = fontOf(notice.dialog());
    for (int id : {IDC_JOB_STORAGE_USER_NAME, IDC_JOB_STORAGE_JOB_NAME, IDC_JOB_STORAGE_HEADING}) {
        const LOGFONTW bold = fontOf(notice.item(id));
        EXPECT_EQ(FW_BOLD, bold.lfWeight) << "box " << id;
        EXPECT_EQ(dialogFont.lfHeight, bold.lfHeight) << "box " << id;
        EXPECT_STREQ(dialogFont.lfFaceName, bold.lfFaceName) << "box " << id;
    }
    EXPECT_EQ(fontHandleOf(notice.item(IDC_JOB_STORAGE_USER_NAME)),
              fontHandleOf(notice.item(IDC_JOB_STORAGE_HEADING))) << "one bold font for all three";
    for (int id : {IDC_JOB_STORAGE_USER_LABEL, IDC_JOB_STORAGE_LOCATION1, IDC_JOB_STORAGE_CHECK, IDOK})
        EXPECT_EQ(dialogFont.lfWeight, fontOf(notice.item(id)).lfWeight) << "control " << id;
    EXPECT_NE(FW_BOLD, dialogFont.lfWeight);
}

TEST(JobStorageDialog, BoldFontIsMadeAgainForANewDpiAndDeletedWhenTheNoticeCloses)
{
    HFONT bold = nullptr, atNewDpi = nullptr;
    {
        Notice notice(noticeRequest());
        ASSERT_NE(nullptr, notice.dialog());
        bold = fontHandleOf(notice.item(IDC_JOB_STORAGE_USER_NAME));
        ASSERT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(bold));
        const LONG height = fontOf(notice.item(IDC_JOB_STORAGE_USER_NAME)).lfHeight;
        // As the system sends it on a move to a screen of 144 DPI.
        RECT suggested = {};
        GetWindowRect(notice.dialog(), &suggested);
        suggested.right += (suggested.right - suggested.left) / 2;
        suggested.bottom += (suggested.bottom - suggested.top) / 2;
        SendMessageW(notice.dialog(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        RECT taken = {};
        GetWindowRect(notice.dialog(), &taken);
        EXPECT_TRUE(EqualRect(&suggested, &taken)) << "the suggested rectangle taken";
        atNewDpi = fontHandleOf(notice.item(IDC_JOB_STORAGE_USER_NAME));
        EXPECT_EQ(0u, GetObjectType(bold)) << "the font for the old DPI outlived it";
        EXPECT_EQ(MulDiv(height, 144, 96), fontOf(notice.item(IDC_JOB_STORAGE_USER_NAME)).lfHeight);
        for (int id : {IDC_JOB_STORAGE_JOB_NAME, IDC_JOB_STORAGE_HEADING})
            EXPECT_EQ(atNewDpi, fontHandleOf(notice.item(id))) << "box " << id;
        EXPECT_EQ(FW_BOLD, fontOf(notice.item(IDC_JOB_STORAGE_HEADING)).lfWeight);
        ASSERT_TRUE(notice.pressCloseBox());
    }
    EXPECT_EQ(0u, GetObjectType(atNewDpi)) << "the bold font outlived its notice";
}

namespace {

// The columns a static's text inks, as the control draws it (WM_PRINTCLIENT), or, with
// `format`, as DrawTextW draws its text in its font.
int inkedColumns(HWND control, UINT format = 0, const std::wstring& text = L"")
{
    RECT client = {};
    GetClientRect(control, &client);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, canvas);
    FillRect(memory, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (format) {
        HGDIOBJ font = SelectObject(memory, fontHandleOf(control));
        SetBkMode(memory, TRANSPARENT);
        DrawTextW(memory, text.c_str(), -1, &client, format);
        SelectObject(memory, font);
    } else {
        SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    }
    int columns = 0;
    for (int x = 0; x < client.right; ++x) {
        bool inked = false;
        for (int y = 0; y < client.bottom && !inked; ++y)
            inked = (GetPixel(memory, x, y) & 0xFF) < 0x80;
        columns += inked;
    }
    SelectObject(memory, previous);
    DeleteObject(canvas);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return columns;
}

} // namespace

TEST(JobStorageDialog, ALocationLineDrawsItsAmpersand)
{
    JobStorageRequest request = noticeRequest();
    const std::wstring location = L"\\\\srv\\R&D";
    setField(request.locationLine1, location);
    Notice notice(request);
    ASSERT_NE(nullptr, notice.dialog());
    HWND line = notice.item(IDC_JOB_STORAGE_LOCATION1);
    const UINT asLabel = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS;
    const int drawn = inkedColumns(line);
    const int withAmpersand = inkedColumns(line, asLabel | DT_NOPREFIX, location);
    EXPECT_EQ(withAmpersand, drawn) << "columns inked by the control against DrawTextW with its \"&\"";
    EXPECT_LT(inkedColumns(line, asLabel, location), withAmpersand) << "a drawn \"&\" takes room";
}

TEST(JobStorageDialog, JobNameSuffixFollowsBothFlags)
{
    struct Case {
        const wchar_t* jobName;
        UINT32 flagA, flagB;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"Report", 1, 1, L"Report(1-99)"},
        {L"Report", 1, 0, L"Report"},
        {L"Report", 0, 1, L"Report"},
        {L"Report", 2, 1, L"Report"},
        {L"", 1, 1, L"(1-99)"},
        {L"ABCDEFGHIJKLMNOP", 1, 1, L"ABCDEFGHIJKLMNOP(1-99)"},
    };
    for (const Case& c : cases) {
        JobStorageRequest request = noticeRequest();
        setField(request.jobName, c.jobName);
        request.suffixFlagA = c.flagA;
        request.suffixFlagB = c.flagB;
        Notice notice(request);
        ASSERT_NE(nullptr, notice.dialog());
        EXPECT_EQ(c.shown, notice.text(IDC_JOB_STORAGE_JOB_NAME))
            << "job name \"" << testing::PrintToString(std::wstring(c.jobName)) << "\", flags ("
            << c.flagA << ", " << c.flagB << ")";
    }
}

TEST(JobStorageDialog, HelpOpensContext15220AndKeepsTheNoticeOpen)
{
    HelpRecorder help;
    ASSERT_TRUE(help.applied());
    Notice notice(noticeRequest());
    ASSERT_NE(nullptr, notice.dialog());
    pressButton(notice.dialog(), IDC_JOB_STORAGE_HELP);
    ASSERT_TRUE(waitForHelpCalls(1));
    const std::vector<HelpCall> calls = helpCalls();
    ASSERT_EQ(1u, calls.size());
    const HelpCall& call = calls[0];
    EXPECT_EQ(notice.item(IDC_JOB_STORAGE_HELP), call.window);
    EXPECT_EQ(L"C:\\help\\printing.hlp", call.file);
    EXPECT_EQ(static_cast<UINT>(HELP_WM_HELP), call.command);
    EXPECT_EQ(static_cast<DWORD>(IDC_JOB_STORAGE_HELP), call.table[0]);
    EXPECT_EQ(static_cast<DWORD>(kHelpContextJobStorage), call.table[1]);
    EXPECT_EQ(0u, call.table[2]);
    EXPECT_EQ(0u, call.table[3]);
    Sleep(100);
    EXPECT_TRUE(IsWindowVisible(notice.dialog())) << "Help must not end the notice";
}

// A .chm opens the same popup through HTML Help, then the context's topic or the file's
// start; anything else goes to WinHelp. Only the field is read. When no viewer shows
// anything, the error beep says so and the notice carries on.
TEST(JobStorageDialog, HelpOpensEachFormatInItsViewerOrBeeps)
{
    const HWND popup = reinterpret_cast<HWND>(ULONG_PTR{0x4242});
    const std::wstring path255 = std::wstring(251, L'H') + L".chm";
    const struct Case {
        std::wstring path, opened;  // 256 units: the whole field, no NUL
        HWND answer;
        std::vector<UINT> commands;
    } cases[] = {
        {L"C:\\help\\printing.hlp", L"C:\\help\\printing.hlp", popup, {HELP_WM_HELP}},
        {L"C:\\help\\printing.htm", L"C:\\help\\printing.htm", popup, {HELP_WM_HELP}},
        {L"C:\\help\\printing.chm", L"C:\\help\\printing.chm", popup, {HH_TP_HELP_WM_HELP}},
        {L"C:\\help\\Printing.CHM", L"C:\\help\\Printing.CHM", nullptr, {HH_TP_HELP_WM_HELP, HH_HELP_CONTEXT, HH_DISPLAY_TOPIC}},
        {path255 + L"x", path255, popup, {HH_TP_HELP_WM_HELP}},
        {std::wstring(252, L'H') + L".chm", std::wstring(252, L'H') + L".ch", popup, {HELP_WM_HELP}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path.size() << " units ending " << testing::PrintToString(c.path.substr(c.path.size() - 5)));
        HelpRecorder winHelp;
        HtmlHelpRecorder htmlHelp(c.answer);
        BeepRecorder beep;
        ASSERT_TRUE(winHelp.applied() && htmlHelp.applied() && beep.applied());
        JobStorageRequest request = noticeRequest();
        wmemcpy(request.helpFilePath, c.path.data(), std::min<size_t>(c.path.size() + 1, 256));
        Notice notice(request);
        pressButton(notice.dialog(), IDC_JOB_STORAGE_HELP);
        waitForHelpCalls(c.commands.size());
        Sleep(100);
        const std::vector<HelpCall> calls = helpCalls();
        ASSERT_EQ(c.commands.size(), calls.size());
        for (size_t i = 0; i < calls.size(); ++i)
            EXPECT_TRUE(c.commands[i] == calls[i].command && c.opened == calls[i].file) << "call " << i;
        const DWORD table[4] = {IDC_JOB_STORAGE_HELP, kHelpContextJobStorage, 0, 0};
        EXPECT_EQ(0, std::memcmp(table, calls[0].table, sizeof table)) << "either viewer gets the one table";
        EXPECT_TRUE(calls.size() == 1 || calls[1].data == kHelpContextJobStorage);
        EXPECT_EQ(c.answer ? 0 : 1, beep.beeps());
        EXPECT_TRUE(notice.pressOk()) << "the notice carries on";
    }
}

// Wine's own viewer: a .chm that exists opens its window, which goes with the notice, and
// the viewer is let go; one that does not exist beeps and leaves the notice usable.
TEST(JobStorageDialog, CompiledHelpOpensInTheSystemsViewer)
{
    for (const bool exists : {true, false}) {
        BeepRecorder beeps;
        ASSERT_TRUE(beeps.applied());
        JobStorageRequest request = noticeRequest();
        setField(request.helpFilePath, besideTest(exists ? L"printing_help.chm" : L"absent_help.chm"));
        HWND viewer = nullptr;
        {
            Notice notice(request);
            ASSERT_NE(nullptr, notice.dialog());
            pressButton(notice.dialog(), IDC_JOB_STORAGE_HELP);
            for (int tries = 0; tries < 300 && !viewer; ++tries, Sleep(10))
                viewer = FindWindowW(L"HH Parent", nullptr);
            EXPECT_EQ(exists, viewer != nullptr) << "the viewer's window, file present: " << exists;
            EXPECT_EQ(exists ? 0 : 1, beeps.beeps()) << "file present: " << exists;
            EXPECT_TRUE(notice.pressOk()) << "the notice still answers, file present: " << exists;
        }
        EXPECT_FALSE(viewer && IsWindow(viewer)) << "the viewer's window goes with the notice";
        EXPECT_EQ(nullptr, GetModuleHandleW(L"hhctrl.ocx")) << "the viewer is released, file present: " << exists;
    }
}

TEST(JobStorageDialog, EscAndF1DoNothing)
{
    HelpRecorder help;
    ASSERT_TRUE(help.applied());
    Notice notice(noticeRequest());
    ASSERT_NE(nullptr, notice.dialog());
    // Through the dialog's own message loop, as the keys arrive.
    PostMessageW(notice.dialog(), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(notice.dialog(), WM_KEYDOWN, VK_F1, 0);
    HELPINFO info = {sizeof info, HELPINFO_WINDOW, IDOK, notice.item(IDOK), 0, {0, 0}};
    SendMessageW(notice.dialog(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    pressButton(notice.dialog(), IDCANCEL);
    Sleep(200);
    EXPECT_TRUE(IsWindowVisible(notice.dialog())) << "Esc must leave the notice open";
    EXPECT_TRUE(helpCalls().empty()) << "F1 must not open help";
}

TEST(JobStorageDialog, RightToLeftLanguagesOpenTheMirroredTemplate)
{
    UserLanguage language(0x0409);
    ASSERT_TRUE(language.applied());
    struct Case {
        LANGID language;
        bool mirrored;
    };
    for (const Case c : {Case{0x0401, true}, Case{0x040D, true}, Case{0x0C01, true}, Case{0x0429, true},
                         Case{0x0420, true}, Case{0x0409, false}, Case{0x0407, false}}) {
        language.set(c.language);
        Notice notice(noticeRequest());
        ASSERT_NE(nullptr, notice.dialog());
        const LONG_PTR exStyle = GetWindowLongPtrW(notice.dialog(), GWL_EXSTYLE);
        const LONG_PTR headingStyle = GetWindowLongPtrW(notice.item(IDC_JOB_STORAGE_HEADING), GWL_STYLE);
        const LONG_PTR lineStyle = GetWindowLongPtrW(notice.item(IDC_JOB_STORAGE_LOCATION1), GWL_STYLE);
        EXPECT_EQ(c.mirrored, (exStyle & WS_EX_LAYOUTRTL) != 0) << "language " << std::hex << c.language;
        EXPECT_EQ(c.mirrored, (headingStyle & ES_CENTER) != 0) << "language " << std::hex << c.language;
        EXPECT_EQ(c.mirrored, (lineStyle & SS_TYPEMASK) == SS_CENTER) << "language " << std::hex << c.language;
        EXPECT_EQ(L"Report", notice.text(IDC_JOB_STORAGE_JOB_NAME)) << "language " << std::hex << c.language;
    }
}

// In Hebrew a Latin job name with its suffix reads left to right (the mirrored template
// marks the box right to left), while the Hebrew labels read right to left.
TEST(JobStorageDialog, EachTextReadsInItsOwnDirectionInHebrew)
{
    UserLanguage language(0x040D);
    ASSERT_TRUE(language.applied());
    JobStorageRequest request = noticeRequest();
    setField(request.resourceModulePath, besideTest(L"sample_strings.dll"));
    request.suffixFlagA = request.suffixFlagB = 1;
    Notice notice(request);
    ASSERT_NE(nullptr, notice.dialog());
    const auto exStyle = [&](int id) { return GetWindowLongPtrW(notice.item(id), GWL_EXSTYLE); };
    EXPECT_EQ(L"Report(1-99)", notice.text(IDC_JOB_STORAGE_JOB_NAME));
    for (int id : {IDC_JOB_STORAGE_JOB_NAME, IDC_JOB_STORAGE_USER_NAME, IDC_JOB_STORAGE_LOCATION1}) {
        EXPECT_EQ(0, exStyle(id) & WS_EX_RTLREADING) << "Latin text in control " << id;
        EXPECT_EQ(id == IDC_JOB_STORAGE_LOCATION1, (exStyle(id) & WS_EX_LAYOUTRTL) != 0)
            << "an edit box with Latin text is not mirrored; control " << id;
    }
    for (int id : {IDC_JOB_STORAGE_USER_LABEL, IDC_JOB_STORAGE_JOB_LABEL, IDC_JOB_STORAGE_HEADING, IDOK})
        EXPECT_NE(0, exStyle(id) & WS_EX_RTLREADING) << "Hebrew text in control " << id;
    EXPECT_NE(0, GetWindowLongPtrW(notice.dialog(), GWL_EXSTYLE) & WS_EX_RTLREADING) << "the Hebrew caption";
    // The label paints with a DC that reads right to left, whatever its control makes of the style.
    HDC paint = CreateCompatibleDC(nullptr);
    SendMessageW(notice.dialog(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(paint),
                 reinterpret_cast<LPARAM>(notice.item(IDC_JOB_STORAGE_USER_LABEL)));
    EXPECT_NE(0u, GetTextAlign(paint) & TA_RTLREADING) << "the label's paint DC";
    DeleteDC(paint);
}

TEST(JobStorageDialog, IsCentredOverTheForegroundWindow)
{
    ForegroundWindow application({100, 80, 700, 480});
    ASSERT_EQ(application.window(), GetForegroundWindow());
    Notice notice(noticeRequest());
    ASSERT_NE(nullptr, notice.dialog());
    const RECT placed = windowRect(notice.dialog());
    const int width = placed.right - placed.left, height = placed.bottom - placed.top;
    EXPECT_EQ(100 + 300 - width / 2, placed.left) << "width " << width;
    EXPECT_EQ(80 + 200 - height / 2, placed.top) << "height " << height;
}

// The printing application's window on a second monitor right of the first: the notice
// is centred over it, and kept inside that monitor, not the first.
TEST(JobStorageDialog, IsPlacedOnTheMonitorOfTheForegroundWindow)
{
    const RECT monitor = {1024, 0, 1824, 600};
    const struct {
        const char* what;
        RECT foreground;
        bool keptInside;
    } cases[] = {
        {"centred", {1200, 100, 1600, 500}, false},
        {"kept inside the monitor's right and bottom edges", {1600, 400, 2000, 800}, true},
    };
    for (const auto& c : cases) {
        ForegroundWindow application(c.foreground);
        ASSERT_EQ(application.window(), GetForegroundWindow()) << c.what;
        SecondMonitor second(application.window(), monitor);
        ASSERT_TRUE(second.applied());
        Notice notice(noticeRequest());
        ASSERT_NE(nullptr, notice.dialog());
        const RECT placed = windowRect(notice.dialog());
        const int width = placed.right - placed.left, height = placed.bottom - placed.top;
        const RECT& f = c.foreground;
        EXPECT_EQ(c.keptInside ? monitor.right - width : (f.left + f.right) / 2 - width / 2, placed.left)
            << c.what << ", width " << width;
        EXPECT_EQ(c.keptInside ? monitor.bottom - height : (f.top + f.bottom) / 2 - height / 2, placed.top)
            << c.what << ", height " << height;
    }
}

TEST(JobStorageDialog, CallerMayFreeItsRecordAtOnceAndItIsNeverWritten)
{
    auto record = std::make_unique<JobStorageRequest>(noticeRequest());
    // Fields filled to their last unit, so that a write of a terminator would show.
    fillField(record->userName, L'U');
    fillField(record->preferenceKeyName, L'K');
    const JobStorageRequest before = *record;
    const std::vector<HWND> known = processDialogs();
    HANDLE thread = VJobStorageDialog(record.get());
    ASSERT_NE(nullptr, thread);
    EXPECT_EQ(0, std::memcmp(&before, record.get(), sizeof before)) << "the caller's record changed";
    std::memset(record.get(), 0xCC, sizeof *record);
    record.reset();

    const HWND dialog = waitForNewDialog(known);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(L"Printer: Hallway", itemText(dialog, IDC_JOB_STORAGE_LOCATION1));
    EXPECT_EQ(L"Report", itemText(dialog, IDC_JOB_STORAGE_JOB_NAME));
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntilGone(dialog));
}

TEST(JobStorageDialog, TextFieldsWithoutTheirNulShowTheirFirstUnits)
{
    JobStorageRequest request = noticeRequest();
    fillField(request.userName, L'U');
    fillField(request.jobName, L'J');
    fillField(request.locationLine1, L'1');
    fillField(request.locationLine2, L'2');
    fillField(request.locationLine3, L'3');
    fillField(request.helpFilePath, L'H');
    request.suffixFlagA = request.suffixFlagB = 1;
    HelpRecorder help;
    ASSERT_TRUE(help.applied());
    Notice notice(request);
    ASSERT_NE(nullptr, notice.dialog());
    EXPECT_EQ(std::wstring(16, L'U'), notice.text(IDC_JOB_STORAGE_USER_NAME));
    EXPECT_EQ(std::wstring(16, L'J') + L"(1-99)", notice.text(IDC_JOB_STORAGE_JOB_NAME));
    EXPECT_EQ(std::wstring(255, L'1'), notice.text(IDC_JOB_STORAGE_LOCATION1));
    EXPECT_EQ(std::wstring(255, L'2'), notice.text(IDC_JOB_STORAGE_LOCATION2));
    EXPECT_EQ(std::wstring(255, L'3'), notice.text(IDC_JOB_STORAGE_LOCATION3));
    pressButton(notice.dialog(), IDC_JOB_STORAGE_HELP);
    ASSERT_TRUE(waitForHelpCalls(1));
    EXPECT_EQ(std::wstring(255, L'H'), helpCalls()[0].file) << "the help file's first 255 units";
}

// Tab to the job name, work in another window for a moment, come back: the focus is where
// Tab put it.
TEST(JobStorageDialog, FocusStaysWhereItWasWhenThePersonComesBack)
{
    Notice notice(noticeRequest());
    ASSERT_NE(nullptr, notice.dialog());
    const HWND dialog = notice.dialog();
    EXPECT_EQ(IDC_JOB_STORAGE_USER_NAME, focusedId(dialog, IDC_JOB_STORAGE_USER_NAME));
    SendMessageW(dialog, WM_NEXTDLGCTL, 0, FALSE);
    EXPECT_EQ(IDC_JOB_STORAGE_JOB_NAME, focusedId(dialog, IDC_JOB_STORAGE_JOB_NAME)) << "after Tab";
    EXPECT_TRUE(leaveAndComeBack(dialog));
    EXPECT_EQ(IDC_JOB_STORAGE_JOB_NAME, focusedId(dialog, IDC_JOB_STORAGE_JOB_NAME)) << "on coming back";
    EXPECT_TRUE(notice.pressOk());
}
