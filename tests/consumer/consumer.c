/* Calls each export of the release package once through its import library: a warning
   that is not to be shown, then a threaded notice and a threaded duplex dialog, each
   found on screen and closed with OK. Exits 0 when every call did what the header says. */
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include <printdialogs.h>

static int failures;

static void check(int passed, const char *what)
{
    printf("%s: %s\n", passed ? "ok" : "FAILED", what);
    failures += passed ? 0 : 1;
}

static BOOL CALLBACK keepOwnDialog(HWND window, LPARAM found)
{
    DWORD process = 0;
    wchar_t className[16];
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        GetClassNameW(window, className, 16) && wcscmp(className, L"#32770") == 0) {
        *(HWND *)found = window;
        return FALSE;
    }
    return TRUE;
}

/* This program's dialog once it is up; null if none came within 30 s. */
static HWND awaitDialog(void)
{
    for (int tries = 0; tries < 3000; ++tries) {
        HWND dialog = NULL;
        EnumWindows(keepOwnDialog, (LPARAM)&dialog);
        if (dialog)
            return dialog;
        Sleep(10);
    }
    return NULL;
}

/* Presses OK and waits, at most 30 s, for the dialog to go. */
static int pressOk(HWND dialog)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 (LPARAM)GetDlgItem(dialog, IDOK));
    for (int tries = 0; tries < 3000 && IsWindow(dialog); ++tries)
        Sleep(10);
    return !IsWindow(dialog);
}

/* The sample string module, shipped beside this program. */
static void besideProgram(WCHAR *path, DWORD capacity, const WCHAR *name)
{
    DWORD length = GetModuleFileNameW(NULL, path, capacity);
    while (length > 0 && path[length - 1] != L'\\')
        --length;
    path[length] = L'\0';
    wcsncat(path, name, capacity - length - 1);
}

int main(void)
{
    WarningRequest warning;
    memset(&warning, 0, sizeof warning);
    warning.showDialog = 0;
    wcscpy(warning.messageText, L"Not to be shown.");
    check(IShowWarningDialog(&warning) == kWarningNotShown,
          "IShowWarningDialog with showDialog 0 returns 0");
    int ticked = 7;
    check(IShowWarningDialogEx(&warning, &ticked) == kWarningNotShown && ticked == 0,
          "IShowWarningDialogEx with showDialog 0 returns 0 and an unticked box");

    JobStorageRequest notice;
    memset(&notice, 0, sizeof notice);
    wcscpy(notice.userName, L"consumer");
    wcscpy(notice.jobName, L"package test");
    wcscpy(notice.locationLine1, L"Printer at the door");
    wcscpy(notice.preferenceKeyName, L"ConsumerTest");
    besideProgram(notice.resourceModulePath, 256, L"sample_strings.dll");
    check(VJobStorageDialog(&notice) != NULL, "VJobStorageDialog starts its thread");
    HWND dialog = awaitDialog();
    check(dialog != NULL, "the job storage notice comes up");
    if (dialog)
        check(pressOk(dialog), "the job storage notice closes with OK");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Norvale\\ConsumerTest");

    DuplexRequest duplex;
    memset(&duplex, 0, sizeof duplex);
    besideProgram(duplex.resourceModulePath, 256, L"sample_strings.dll");
    duplex.step1BitmapId = 105;
    duplex.step2BitmapId = 106;
    duplex.step3BitmapId = 107;
    duplex.continueFromDialog = 0;
    check(VDisplayDialog(&duplex) != 0, "VDisplayDialog (threaded) starts its thread");
    dialog = awaitDialog();
    check(dialog != NULL, "the duplex instructions come up");
    if (dialog)
        check(pressOk(dialog), "the duplex instructions close with OK");

    printf("%d failed\n", failures);
    return failures ? 1 : 0;
}
