/* A driver's use of the ARM64 DLL, with no C runtime at all: each export is called with the
   sample module beside the program, a watcher thread finds the dialog, reads back its
   caption, a text and its layout (the mirrored template or not), and presses a button;
   then the export's result and, for the job storage notice, the stored choice are checked.
   Prints one line per check and a summary; exits 0 only when all passed.
     arm64_driver.exe [rtl]    (rtl: the user's language is Hebrew) */
#include <windows.h>
#include <printdialogs.h>

#include "resource.h"

typedef struct Expected {
    const WCHAR *caption;
    int controlId;          /* a control whose text is checked */
    const WCHAR *text;
    int pressId;            /* the button the watcher presses */
    BOOL mirrored;
    BOOL seen;
} Expected;

static int failures, passes;

static void say(const char *text)
{
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, lstrlenA(text), &written, NULL);
}

static void check(BOOL ok, const char *what, long long value)
{
    char line[200];
    wsprintfA(line, "%s %s (%d)\r\n", ok ? "ok:" : "FAILED:", what, (int)value);
    say(line);
    ok ? passes++ : failures++;
}

/* Waits up to 60 s for the dialog with the expected caption to show, checks it, presses. */
static DWORD WINAPI watch(void *parameter)
{
    Expected *expected = parameter;
    WCHAR text[512];
    for (int tries = 0; tries < 600; tries++) {
        HWND dialog = FindWindowW(L"#32770", expected->caption);
        if (dialog && IsWindowVisible(dialog)) {
            expected->seen = TRUE;
            GetDlgItemTextW(dialog, expected->controlId, text, 512);
            check(lstrcmpW(text, expected->text) == 0, "  its text", expected->controlId);
            BOOL mirrored = (GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
            check(mirrored == expected->mirrored, "  its layout, 1 when mirrored", mirrored);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(expected->pressId, BN_CLICKED),
                (LPARAM)GetDlgItem(dialog, expected->pressId));
            return 0;
        }
        Sleep(100);
    }
    return 1;
}

static void finishWatching(HANDLE watcher, Expected *expected, const char *dialog)
{
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    check(expected->seen, dialog, expected->seen);
}

void mainCRTStartup(void)
{
    const BOOL rtl = lstrcmpW(GetCommandLineW() + lstrlenW(GetCommandLineW()) - 3, L"rtl") == 0;
    WCHAR module[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, module, MAX_PATH);
    while (length && module[length - 1] != L'\\')
        length--;
    lstrcpynW(module + length, L"sample_strings.dll", MAX_PATH - length);

    static WarningRequest warning;
    warning.showDialog = 1;
    warning.captionId = 4000;
    warning.okButtonTextId = 4010;
    warning.cancelButtonTextId = 4011;
    lstrcpynW(warning.messageText, L"Load Letter paper in Tray 2.", 1024);
    lstrcpynW(warning.resourceModulePath, module, 256);
    Expected warningSeen = {rtl ? L"גודל נייר לא תואם" : L"Paper Mismatch", IDC_WARNING_MESSAGE,
        L"Load Letter paper in Tray 2.", IDCANCEL, rtl, FALSE};
    HANDLE watcher = CreateThread(NULL, 0, watch, &warningSeen, 0, NULL);
    const INT32 pressed = IShowWarningDialog(&warning);
    finishWatching(watcher, &warningSeen, "warning shown");
    check(pressed == IDCANCEL, "IShowWarningDialog returned the button pressed", pressed);

    static DuplexRequest duplex;
    duplex.continueFromDialog = 1;
    duplex.step1BitmapId = 105;
    duplex.step1TextId = 3201;
    duplex.step2BitmapId = 106;
    duplex.step2TextId = 3202;
    duplex.step3BitmapId = 107;
    duplex.step3TextId = 3205;
    lstrcpynW(duplex.resourceModulePath, module, 256);
    Expected duplexSeen = {rtl ? L"הוראות להדפסה דו-צדדית" : L"Print on Both Sides Instructions",
        IDC_DUPLEX_STEP1_TEXT,
        rtl ? L"הכנס את ערימת הנייר למגש 1 באותו הכיוון."
            : L"Keeping the same orientation, insert the paper stack into Tray 1.",
        IDOK, rtl, FALSE};
    watcher = CreateThread(NULL, 0, watch, &duplexSeen, 0, NULL);
    const INT_PTR blocked = VDisplayDialog(&duplex);
    finishWatching(watcher, &duplexSeen, "duplex instructions shown");
    check(blocked != 0, "VDisplayDialog returned once closed", blocked != 0);

    static JobStorageRequest job;
    lstrcpynW(job.userName, L"arm64", 17);
    lstrcpynW(job.jobName, L"Q3 report", 17);
    lstrcpynW(job.locationLine1, L"Office 2 colour laser", 256);
    lstrcpynW(job.preferenceKeyName, L"Arm64Driver", 38);
    lstrcpynW(job.resourceModulePath, module, 256);
    Expected jobSeen = {rtl ? L"זיהוי עבודה מאוחסנת" : L"Job Storage Identification",
        IDC_JOB_STORAGE_JOB_NAME, L"Q3 report", IDOK, rtl, FALSE};
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Norvale\\Arm64Driver");
    watcher = CreateThread(NULL, 0, watch, &jobSeen, 0, NULL);
    const HANDLE thread = VJobStorageDialog(&job);
    check(thread != NULL, "VJobStorageDialog started its thread", thread != NULL);
    finishWatching(watcher, &jobSeen, "job storage notice shown");
    /* OK stores "show again" (01) once the dialog has closed on its own thread. */
    BYTE show = 0xff;
    for (int tries = 0; tries < 100 && show == 0xff; tries++) {
        DWORD size = sizeof show;
        if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Norvale\\Arm64Driver", L"ShowJobStorageDlg",
                RRF_RT_REG_BINARY, NULL, &show, &size) != ERROR_SUCCESS)
            Sleep(100);
    }
    check(show == 1, "OK stored the choice to show the notice again", show);

    char summary[100];
    wsprintfA(summary, "ARM64 driver: %d checks passed, %d failed\r\n", passes, failures);
    say(summary);
    ExitProcess(failures == 0 && passes > 0 ? 0 : 1);
}
