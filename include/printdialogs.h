/*
 * printdialogs: three dialogs that a printer driver shows to the person who prints.
 *
 *   IShowWarningDialog  a warning with the caller's message and up to three buttons;
 *                       blocks and returns the id of the button that closed it.
 *   IShowWarningDialogEx  the same, and tells whether the check box was ticked.
 *   VDisplayDialog      manual duplex instructions (three steps with pictures);
 *                       blocks when continueFromDialog is non-zero, else runs on a thread.
 *   VJobStorageDialog   the job storage notice, on a thread of its own; OK stores the
 *                       "do not show again" check box under HKCU\Software\Norvale\<key>.
 *
 * Each call copies the record it is given and never writes it: the caller may reuse or
 * free the record as soon as the call returns. Texts come from the string tables of the
 * resource module named in the record, in the user's interface language, with built-in
 * English defaults. Text fields are UTF-16 and NUL-terminated within their field.
 *
 * Rules for callers:
 *   - Never call an export from DllMain or with the loader lock held: the warning and the
 *     blocking duplex dialog create windows on the calling thread.
 *   - The thread handle the threaded exports return stays the library's: it may be closed
 *     at any thread exit in the process. Never close it or wait on it; use it only to tell
 *     success from failure.
 *   - The resource module is read as data: a 32-bit or 64-bit string module serves, and
 *     its entry point never runs.
 *   - Where nobody can see a dialog (session 0, or a window station that is not visible,
 *     as a service's) each export returns at once: IShowWarningDialog -1, VDisplayDialog
 *     0, VJobStorageDialog null.
 *   - A dialog is owned by the foreground window only when that window is the calling
 *     process's own; it is placed on the monitor that holds the foreground window.
 *
 * Usable from C and C++. Link with the import library (CMake: find_package(printdialogs)
 * and target_link_libraries(yourDriver PRIVATE printdialogs::printdialogs)).
 */
#ifndef PRINTDIALOGS_H
#define PRINTDIALOGS_H

#include <stddef.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Warning ------------------------------------------------------------------------ */

typedef struct WarningRequest {
    UINT32 reserved0;
    UINT32 captionId;           /* string id of the caption */
    UINT32 reserved1;
    UINT32 showDialog;          /* exactly 1: show the dialog; anything else: return 0 */
    UINT32 reserved2;
    WCHAR messageText[1024];    /* shown as it stands, except that "&" marks an access key
                                   and "&&" shows one "&"; over 150 units makes the dialog
                                   taller */
    UINT32 thirdButtonTextId;   /* label of button 285; 0 hides it */
    UINT32 showCheckBox;        /* non-zero shows the "do not show again" check box */
    UINT32 reserved3[7];
    UINT32 okButtonTextId;      /* label of IDOK (1); 0 hides it */
    UINT32 cancelButtonTextId;  /* label of IDCANCEL (2); 0 hides it */
    WCHAR resourceModulePath[256];
} WarningRequest;

/* Results of IShowWarningDialog besides IDOK (1) and IDCANCEL (2, also the close box). */
enum {
    kWarningThirdButton = 285,   /* the third button closed the dialog */
    kWarningNotShown = 0,        /* showDialog was not 1, or memory was short */
    kWarningCannotCreate = -1    /* the dialog window could not be created, or nobody could
                                    see it (session 0, a window station not visible) */
};

/* ---- Manual duplex instructions ----------------------------------------------------- */

typedef struct DuplexRequest {
    WCHAR resourceModulePath[256];
    WCHAR helpFilePath[256];    /* the Help button's file: .chm or .hlp (see the help ids below) */
    UINT32 step1BitmapId;       /* picture ids: 105-123, 133, 134, 146, 147, 149, 151-155 */
    UINT32 step1TextId;
    UINT32 step2BitmapId;
    UINT32 step2TextId;
    UINT32 step3BitmapId;
    UINT32 step3TextId;         /* threaded mode: kStringInsertStack joins it with kStringPressGo */
    UINT32 reserved;
    UINT32 continueFromDialog;  /* non-zero: block until closed, button "C&ontinue" */
    UINT32 evenPagesFirst;      /* non-zero: introduction kStringIntroEvenFirst */
} DuplexRequest;

/* ---- Job storage notice ------------------------------------------------------------- */

typedef struct JobStorageRequest {
    WCHAR userName[17];
    WCHAR jobName[17];
    WCHAR locationLine1[256];     /* the three shown as they stand: "&" is drawn, no key */
    WCHAR locationLine2[256];
    WCHAR locationLine3[256];
    WCHAR preferenceKeyName[38];  /* key below HKCU\Software\Norvale\ */
    UINT32 suffixFlagA;           /* both exactly 1: the job name gets "(1-99)" */
    UINT32 suffixFlagB;
    WCHAR resourceModulePath[256];
    WCHAR helpFilePath[256];      /* the Help button's file: .chm or .hlp (see the help ids below) */
} JobStorageRequest;

/* ---- Exports ------------------------------------------------------------------------ */

#ifndef PRINTDIALOGS_API
#define PRINTDIALOGS_API __declspec(dllimport)
#endif

/* Returns 1, 2 or kWarningThirdButton for the button that closed the dialog,
   kWarningNotShown or kWarningCannotCreate. */
PRINTDIALOGS_API INT32 WINAPI IShowWarningDialog(const WarningRequest *request);

/* As IShowWarningDialog, same results and rules; when checkBoxChecked is not null it gets
   1 when the check box was shown and ticked as the dialog closed, else 0 (also when no
   dialog appeared). For a driver that keeps its own "do not show again". */
PRINTDIALOGS_API INT32 WINAPI IShowWarningDialogEx(const WarningRequest *request,
                                                   int *checkBoxChecked);

/* Threaded mode: the dialog thread's handle, or null. Blocking mode: returns after the
   dialog closed; the value carries no information. 0 when the request cannot be copied
   or nobody could see the dialog.
   The library owns the handle and closes it later: use it only to tell success. */
PRINTDIALOGS_API INT_PTR WINAPI VDisplayDialog(const DuplexRequest *request);

/* The notice thread's handle, or null when no notice was started (nobody could see it
   included). The library owns the handle and closes it later: use it only to tell
   success from failure. */
PRINTDIALOGS_API HANDLE WINAPI VJobStorageDialog(const JobStorageRequest *request);

/* ---- String ids expected in the resource module, with their built-in defaults ------- */

enum {
    kStringHelpButton = 797,          /* "&Help" */
    kStringOkButton = 849,            /* "&OK" */
    kStringDoNotShowAgain = 3063,     /* "In the future, do not show this information." */

    kStringDuplexCaption = 3144,      /* "Print on Both Sides Instructions" */
    kStringIntroEvenFirst = 3312,     /* introduction when evenPagesFirst is set */
    kStringIntroOddPrinting = 3314,   /* introduction otherwise */
    kStringStep1Number = 3084,        /* "1." */
    kStringStep2Number = 3085,        /* "2." */
    kStringStep3Number = 3086,        /* "3." */
    kStringInsertStack = 3140,        /* first line of the combined step-3 text */
    kStringPressGo = 3066,            /* second line of the combined step-3 text */
    kStringContinueButton = 3142,     /* "C&ontinue" */

    kStringJobStorageCaption = 3064,  /* "Job Storage Identification" */
    kStringStoredAt = 3062,           /* "This print Job will be stored at:" */
    kStringUserName = 844,            /* "User Name:" */
    kStringJobName = 845              /* "Job Name:" */
};

/* Help context ids the Help buttons open, with the button's control id as the pair
   (1027 in the duplex instructions, 1020 in the job storage notice). A help file whose
   path ends in ".chm" (any case) is compiled HTML help: HtmlHelpW of the system's
   hhctrl.ocx with HH_TP_HELP_WM_HELP, falling back to HH_HELP_CONTEXT with the id and
   then to the file's default topic. Any other path goes to WinHelpW (HELP_WM_HELP), whose
   viewer today's Windows no longer ships. When no viewer shows anything, the dialog gives
   the error beep and stays open. */
enum {
    kHelpContextJobStorage = 15220,
    kHelpContextDuplexThreaded = 15274,
    kHelpContextDuplexBlocking = 15275
};

/* ---- Layout checks: these records cross the library boundary byte for byte ---------- */

#ifdef __cplusplus
#define PRINTDIALOGS_CHECK(condition, what) static_assert(condition, what)
#else
#define PRINTDIALOGS_CHECK(condition, what) _Static_assert(condition, what)
#endif

PRINTDIALOGS_CHECK(sizeof(WarningRequest) == 2624, "WarningRequest size");
PRINTDIALOGS_CHECK(offsetof(WarningRequest, captionId) == 4, "captionId");
PRINTDIALOGS_CHECK(offsetof(WarningRequest, showDialog) == 12, "showDialog");
PRINTDIALOGS_CHECK(offsetof(WarningRequest, messageText) == 20, "messageText");
PRINTDIALOGS_CHECK(offsetof(WarningRequest, thirdButtonTextId) == 2068, "thirdButtonTextId");
PRINTDIALOGS_CHECK(offsetof(WarningRequest, showCheckBox) == 2072, "showCheckBox");
PRINTDIALOGS_CHECK(offsetof(WarningRequest, okButtonTextId) == 2104, "okButtonTextId");
PRINTDIALOGS_CHECK(offsetof(WarningRequest, cancelButtonTextId) == 2108, "cancelButtonTextId");
PRINTDIALOGS_CHECK(offsetof(WarningRequest, resourceModulePath) == 2112, "WarningRequest path");

PRINTDIALOGS_CHECK(sizeof(DuplexRequest) == 1060, "DuplexRequest size");
PRINTDIALOGS_CHECK(offsetof(DuplexRequest, helpFilePath) == 512, "helpFilePath");
PRINTDIALOGS_CHECK(offsetof(DuplexRequest, step1BitmapId) == 1024, "step1BitmapId");
PRINTDIALOGS_CHECK(offsetof(DuplexRequest, step1TextId) == 1028, "step1TextId");
PRINTDIALOGS_CHECK(offsetof(DuplexRequest, step2BitmapId) == 1032, "step2BitmapId");
PRINTDIALOGS_CHECK(offsetof(DuplexRequest, step2TextId) == 1036, "step2TextId");
PRINTDIALOGS_CHECK(offsetof(DuplexRequest, step3BitmapId) == 1040, "step3BitmapId");
PRINTDIALOGS_CHECK(offsetof(DuplexRequest, step3TextId) == 1044, "step3TextId");
PRINTDIALOGS_CHECK(offsetof(DuplexRequest, reserved) == 1048, "reserved");
PRINTDIALOGS_CHECK(offsetof(DuplexRequest, continueFromDialog) == 1052, "continueFromDialog");
PRINTDIALOGS_CHECK(offsetof(DuplexRequest, evenPagesFirst) == 1056, "evenPagesFirst");

PRINTDIALOGS_CHECK(sizeof(JobStorageRequest) == 2712, "JobStorageRequest size");
PRINTDIALOGS_CHECK(offsetof(JobStorageRequest, jobName) == 34, "jobName");
PRINTDIALOGS_CHECK(offsetof(JobStorageRequest, locationLine1) == 68, "locationLine1");
PRINTDIALOGS_CHECK(offsetof(JobStorageRequest, locationLine2) == 580, "locationLine2");
PRINTDIALOGS_CHECK(offsetof(JobStorageRequest, locationLine3) == 1092, "locationLine3");
PRINTDIALOGS_CHECK(offsetof(JobStorageRequest, preferenceKeyName) == 1604, "preferenceKeyName");
PRINTDIALOGS_CHECK(offsetof(JobStorageRequest, suffixFlagA) == 1680, "suffixFlagA");
PRINTDIALOGS_CHECK(offsetof(JobStorageRequest, suffixFlagB) == 1684, "suffixFlagB");
PRINTDIALOGS_CHECK(offsetof(JobStorageRequest, resourceModulePath) == 1688, "JobStorage path");
PRINTDIALOGS_CHECK(offsetof(JobStorageRequest, helpFilePath) == 2200, "JobStorage help");

#undef PRINTDIALOGS_CHECK

#ifdef __cplusplus
}
#endif

#endif /* PRINTDIALOGS_H */
