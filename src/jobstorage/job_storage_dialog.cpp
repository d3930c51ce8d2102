#include "jobstorage/job_storage_dialog.h"

#include <cstring>
#include <new>

#include "common/accessibility.h"
#include "common/context_help.h"
#include "common/default_texts.h"
#include "common/placement.h"
#include "common/reading_direction.h"
#include "common/request_copy.h"
#include "jobstorage/job_name.h"
#include "jobstorage/preference.h"
#include "module.h"
#include "resource.h"

namespace {

// Every way out of the notice ends it with the same result, which nobody reads.
constexpr INT_PTR kNoticeEnded = 1;

void setBoldFont(HWND dialog, HFONT font, BOOL redraw)
{
    const WPARAM bold = reinterpret_cast<WPARAM>(font);
    SendMessageW(GetDlgItem(dialog, IDC_JOB_STORAGE_USER_NAME), WM_SETFONT, bold, redraw);
    SendMessageW(GetDlgItem(dialog, IDC_JOB_STORAGE_JOB_NAME), WM_SETFONT, bold, redraw);
    SendMessageW(GetDlgItem(dialog, IDC_JOB_STORAGE_HEADING), WM_SETFONT, bold, redraw);
}

void makeBoldFont(JobStorageInstance* instance, HWND dialog)
{
    const HWND userName = GetDlgItem(dialog, IDC_JOB_STORAGE_USER_NAME);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(userName, WM_GETFONT, 0, 0));
    if (!font)
        return;
    LOGFONTW face = {};
    GetObjectW(font, sizeof face, &face);
    instance->boldFont = CreateFontW(face.lfHeight, face.lfWidth, face.lfEscapement,
                                     face.lfOrientation, FW_BOLD, face.lfItalic,
                                     face.lfUnderline, face.lfStrikeOut, face.lfCharSet,
                                     face.lfOutPrecision, face.lfClipPrecision, face.lfQuality,
                                     face.lfPitchAndFamily, face.lfFaceName);
    instance->boldFace = face;
    instance->boldFace.lfWeight = FW_BOLD;
    instance->fontDpi = screenDpiOf(dialog);
    setBoldFont(dialog, instance->boldFont, FALSE);
}

// The system moves the notice to a screen of another DPI: it takes the rectangle the
// system suggests, and the bold font is made again for that DPI; the old one goes once
// no box holds it.
void changeNoticeDpi(JobStorageInstance* instance, HWND dialog, int dpi, const RECT* suggested)
{
    takeSuggestedRectangle(dialog, suggested);
    if (!instance || !instance->boldFont || instance->fontDpi <= 0 || dpi <= 0)
        return;
    LOGFONTW face = instance->boldFace;
    face.lfHeight = MulDiv(face.lfHeight, dpi, instance->fontDpi);
    HFONT made = CreateFontIndirectW(&face);
    if (!made)
        return;  // the boxes keep the font they have
    setBoldFont(dialog, made, TRUE);
    DeleteObject(instance->boldFont);
    instance->boldFont = made;
}

// The location lines, the job name and the user name, from the request.
void setRequestTexts(const JobStorageRequest& request, HWND dialog)
{
    // Data, not labels: "\\srv\R&D" shows its "&" and gives no access key.
    const int lines[3] = {IDC_JOB_STORAGE_LOCATION1, IDC_JOB_STORAGE_LOCATION2, IDC_JOB_STORAGE_LOCATION3};
    const WCHAR* texts[3] = {request.locationLine1, request.locationLine2, request.locationLine3};
    for (int index = 0; index < 3; ++index) {
        HWND line = GetDlgItem(dialog, lines[index]);
        SetWindowLongPtrW(line, GWL_STYLE, GetWindowLongPtrW(line, GWL_STYLE) | SS_NOPREFIX);
        SetWindowTextW(line, texts[index]);
    }

    WCHAR jobName[kJobNameUnits] = {};
    composeJobName(request.jobName, request.suffixFlagA, request.suffixFlagB, jobName);
    SetWindowTextW(GetDlgItem(dialog, IDC_JOB_STORAGE_JOB_NAME), jobName);

    SetWindowTextW(GetDlgItem(dialog, IDC_JOB_STORAGE_USER_NAME), request.userName);
}

// For screen readers: the upper box is named by the heading, the lower one by the caption
// (the user and job name identify the stored job); the heading by its own text. An empty
// location line is hidden, and the arrows stay on the buttons.
void nameJobStorageControls(HWND dialog)
{
    const HWND heading = GetDlgItem(dialog, IDC_JOB_STORAGE_HEADING);
    WCHAR text[kTextUnits] = {};
    GetWindowTextW(heading, text, kTextUnits);
    nameGroupBox(GetWindow(dialog, GW_CHILD), text);
    GetWindowTextW(dialog, text, kTextUnits);
    nameGroupBox(GetWindow(GetDlgItem(dialog, IDC_JOB_STORAGE_USER_LABEL), GW_HWNDPREV), text);
    nameEditByItsText(dialog, heading);
    hideWhileEmpty(GetDlgItem(dialog, IDC_JOB_STORAGE_LOCATION1));
    hideWhileEmpty(GetDlgItem(dialog, IDC_JOB_STORAGE_LOCATION2));
    hideWhileEmpty(GetDlgItem(dialog, IDC_JOB_STORAGE_LOCATION3));
    groupButtonRow(GetDlgItem(dialog, IDOK), GetDlgItem(dialog, IDC_JOB_STORAGE_HELP));
}

INT_PTR initJobStorageDialog(HWND dialog, JobStorageInstance* instance)
{
    if (!instance) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    instance->text.openResourceModule(instance->request.resourceModulePath);
    setJobStorageTexts(instance, dialog);
    setRequestTexts(instance->request, dialog);
    nameJobStorageControls(dialog);
    applyReadingDirections(dialog, instance->text.rightToLeft());
    centreOverForeground(dialog, PlacementVariant::JobStorage);
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(instance));
    // FALSE: no focus is set here. The notice is a window of its own, so it takes the
    // keyboard when it activates, on its first tab stop (the user name, text selected).
    return FALSE;
}

void storeShowAgainChoice(const JobStorageInstance* instance, HWND dialog)
{
    const LRESULT check = SendMessageW(GetDlgItem(dialog, IDC_JOB_STORAGE_CHECK), BM_GETCHECK, 0, 0);
    const BYTE choice = check == BST_CHECKED ? kDoNotShowAgain : kShowAgain;
    storeShowAgain(instance->request.preferenceKeyName, choice);
}

INT_PTR onJobStorageCommand(HWND dialog, WPARAM wParam)
{
    auto* instance = reinterpret_cast<JobStorageInstance*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!instance) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (HIWORD(wParam) != 0)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        storeShowAgainChoice(instance, dialog);
        EndDialog(dialog, kNoticeEnded);
        return TRUE;
    case IDC_JOB_STORAGE_HELP:
        showContextHelp(instance->help, GetDlgItem(dialog, IDC_JOB_STORAGE_HELP), IDC_JOB_STORAGE_HELP,
                        kHelpContextJobStorage, instance->request.helpFilePath,
                        sizeof instance->request.helpFilePath / sizeof(WCHAR));
        return TRUE;
    default:
        // Esc (IDCANCEL) included: only OK and the close box end the notice.
        return FALSE;
    }
}

} // namespace

void terminateJobStorageTexts(JobStorageRequest& request)
{
    terminateText(request.userName);
    terminateText(request.jobName);
    terminateText(request.locationLine1);
    terminateText(request.locationLine2);
    terminateText(request.locationLine3);
    terminateText(request.preferenceKeyName);
    terminateText(request.resourceModulePath);
    terminateText(request.helpFilePath);
}

void setJobStorageTexts(JobStorageInstance* instance, HWND dialog)
{
    makeBoldFont(instance, dialog);
    ResourceText& text = instance->text;
    text.setItemText(kStringJobStorageCaption, dialog, L"Job Storage Identification");
    text.setItemText(kStringUserName, GetDlgItem(dialog, IDC_JOB_STORAGE_USER_LABEL), L"User Name:");
    text.setItemText(kStringJobName, GetDlgItem(dialog, IDC_JOB_STORAGE_JOB_LABEL), L"Job Name:");
    text.setItemText(kStringStoredAt, GetDlgItem(dialog, IDC_JOB_STORAGE_HEADING),
                     L"This print Job will be stored at:");
    text.setItemText(kStringDoNotShowAgain, GetDlgItem(dialog, IDC_JOB_STORAGE_CHECK),
                     kDefaultDoNotShowAgain);
    text.setItemText(kStringOkButton, GetDlgItem(dialog, IDOK), kDefaultOkButton);
    text.setItemText(kStringHelpButton, GetDlgItem(dialog, IDC_JOB_STORAGE_HELP), kDefaultHelpButton);
}

INT_PTR CALLBACK jobStorageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return initJobStorageDialog(dialog, reinterpret_cast<JobStorageInstance*>(lParam));
    case WM_COMMAND:
        return onJobStorageCommand(dialog, wParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        keepReadingOrder(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
        return FALSE;  // the dialog's own colours
    case WM_DESTROY:
        if (auto* instance = reinterpret_cast<JobStorageInstance*>(GetWindowLongPtrW(dialog, DWLP_USER)))
            closeContextHelp(instance->help);
        return FALSE;
    case WM_DPICHANGED:
        changeNoticeDpi(reinterpret_cast<JobStorageInstance*>(GetWindowLongPtrW(dialog, DWLP_USER)), dialog,
                        LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_CLOSE:
        // The close box and Alt+F4 end the notice without storing the check box.
        EndDialog(dialog, kNoticeEnded);
        return TRUE;
    default:
        // F1 (WM_HELP) included: help comes only from the Help button.
        return FALSE;
    }
}

DWORD runJobStorageDialog(void* block)
{
    auto* instance = new (std::nothrow) JobStorageInstance;
    if (!instance) {
        LocalFree(block);
        return 0;
    }
    std::memcpy(&instance->request, block, sizeof instance->request);
    LocalFree(block);
    terminateJobStorageTexts(instance->request);

    const int templateId = instance->text.rightToLeft() ? IDD_JOB_STORAGE_RTL : IDD_JOB_STORAGE;
    DialogBoxParamW(moduleInstance(), MAKEINTRESOURCEW(templateId), nullptr,
                    jobStorageDialogProc, reinterpret_cast<LPARAM>(instance));

    if (instance->boldFont)
        DeleteObject(instance->boldFont);
    delete instance;
    return 0;
}
