// The calls the benchmark makes: the library's requests as a driver would fill them, with
// the texts of the sample resource module, and the same warning for the system's dialogs.
#ifndef BENCH_REQUESTS_H
#define BENCH_REQUESTS_H

#include <windows.h>

#include <string>

#include "printdialogs.h"

// One warning in every form: caption, message, three button labels and the check box.
struct WarningTexts {
    std::wstring caption, message, first, second, third, checkBox;
};

struct BenchRequests {
    WarningRequest warning;
    DuplexRequest duplexThreaded;
    DuplexRequest duplexBlocking;
    JobStorageRequest jobStorage;
    WarningTexts texts;  // what the warning shows, for MessageBoxW and TaskDialogIndirect
    std::wstring modulePath;
};

// False when the sample module is missing beside the program.
bool makeRequests(BenchRequests& requests);

// The system's own dialogs with the warning's texts, owned by `owner`; both return the
// button pressed. MessageBoxW has no labels of the caller's and no check box: Yes, No and
// Cancel stand for the three buttons.
int showMessageBox(HWND owner, const WarningTexts& texts);
int showTaskDialog(HWND owner, const WarningTexts& texts);

// What a driver would do to show a translated task dialog: load the resource module, read
// the texts, let the module go, then TaskDialogIndirect.
int showTaskDialogFromModule(HWND owner, const std::wstring& modulePath);

#endif
