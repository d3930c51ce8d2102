#include "requests.h"

#include <commctrl.h>

#include <cwchar>

#include "bench.h"
#include "sample_strings.h"

namespace {

template <size_t Units>
void copyText(WCHAR (&field)[Units], const std::wstring& text)
{
    wcsncpy(field, text.c_str(), Units - 1);
    field[Units - 1] = L'\0';
}

std::wstring moduleString(HMODULE module, UINT id)
{
    wchar_t text[1024] = {};
    LoadStringW(module, id, text, 1024);
    return text;
}

DuplexRequest duplexRequest(const std::wstring& module, UINT32 continueFromDialog)
{
    DuplexRequest request = {};
    copyText(request.resourceModulePath, module);
    copyText(request.helpFilePath, L"printdialogs.hlp");
    request.step1BitmapId = 105;
    request.step1TextId = IDS_STEP_REMOVE_FROM_BIN;
    request.step2BitmapId = 107;
    request.step2TextId = IDS_STEP_INSERT_TRAY1;
    request.step3BitmapId = 109;
    request.step3TextId = kStringInsertStack;
    request.continueFromDialog = continueFromDialog;
    return request;
}

bool readWarningTexts(const std::wstring& modulePath, WarningTexts& texts)
{
    HMODULE strings = LoadLibraryExW(modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!strings)
        return false;
    texts.caption = moduleString(strings, IDS_WARNING_TONER_CAPTION);
    texts.message = moduleString(strings, IDS_WARNING_TONER_MESSAGE);
    texts.first = moduleString(strings, IDS_BUTTON_PRINT);
    texts.second = moduleString(strings, IDS_BUTTON_CANCEL);
    texts.third = moduleString(strings, IDS_BUTTON_SETTINGS);
    texts.checkBox = moduleString(strings, kStringDoNotShowAgain);
    FreeLibrary(strings);
    return true;
}

} // namespace

bool makeRequests(BenchRequests& requests)
{
    const std::wstring module = besideProgram(L"sample_strings.dll");
    requests.modulePath = module;
    WarningTexts& texts = requests.texts;
    if (!readWarningTexts(module, texts))
        return false;

    WarningRequest& warning = requests.warning;
    warning = {};
    warning.showDialog = 1;
    warning.captionId = IDS_WARNING_TONER_CAPTION;
    warning.okButtonTextId = IDS_BUTTON_PRINT;
    warning.cancelButtonTextId = IDS_BUTTON_CANCEL;
    warning.thirdButtonTextId = IDS_BUTTON_SETTINGS;
    warning.showCheckBox = 1;
    copyText(warning.messageText, texts.message);
    copyText(warning.resourceModulePath, module);

    requests.duplexThreaded = duplexRequest(module, 0);
    requests.duplexBlocking = duplexRequest(module, 1);

    JobStorageRequest& job = requests.jobStorage;
    job = {};
    copyText(job.userName, L"jsmith");
    copyText(job.jobName, L"Quarterly");
    copyText(job.locationLine1, L"Printer: Office 2nd floor");
    copyText(job.locationLine2, L"Job storage: Private jobs");
    copyText(job.locationLine3, L"Release the job at the printer's panel.");
    copyText(job.preferenceKeyName, L"PrintDialogsBenchmark");
    copyText(job.resourceModulePath, module);
    copyText(job.helpFilePath, L"printdialogs.hlp");
    return true;
}

int showMessageBox(HWND owner, const WarningTexts& texts)
{
    return MessageBoxW(owner, texts.message.c_str(), texts.caption.c_str(), MB_YESNOCANCEL);
}

int showTaskDialog(HWND owner, const WarningTexts& texts)
{
    const TASKDIALOG_BUTTON buttons[] = {
        {IDOK, texts.first.c_str()},
        {IDCANCEL, texts.second.c_str()},
        {285, texts.third.c_str()},
    };
    TASKDIALOGCONFIG config = {};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
    config.pszWindowTitle = texts.caption.c_str();
    config.pszContent = texts.message.c_str();
    config.cButtons = ARRAYSIZE(buttons);
    config.pButtons = buttons;
    config.pszVerificationText = texts.checkBox.c_str();
    int button = 0;
    BOOL checked = FALSE;
    if (FAILED(TaskDialogIndirect(&config, &button, nullptr, &checked)))
        return -1;
    return button;
}

int showTaskDialogFromModule(HWND owner, const std::wstring& modulePath)
{
    WarningTexts texts;
    if (!readWarningTexts(modulePath, texts))
        return -1;
    return showTaskDialog(owner, texts);
}
