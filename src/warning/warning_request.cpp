#include "printdialogs.h"

#include "common/request_copy.h"
#include "common/visibility.h"
#include "warning/warning_dialog.h"

extern "C" INT32 WINAPI IShowWarningDialogEx(const WarningRequest* request, int* checkBoxChecked)
{
    int ticked = 0;
    INT32 result = kWarningNotShown;
    // Everything is decided from our copy: the caller's record is read once, here.
    if (WarningRequest* copy = copyRequest(request)) {
        if (copy->showDialog != 1) {
            LocalFree(copy);
        } else if (!dialogsCanBeSeen()) {
            // Nobody could see or close the warning: the answer for a window that cannot be made.
            LocalFree(copy);
            result = kWarningCannotCreate;
        } else {
            terminateText(copy->messageText);
            terminateText(copy->resourceModulePath);
            result = runWarningDialog(copy, ticked);
        }
    }
    if (checkBoxChecked)
        *checkBoxChecked = ticked;
    return result;
}

extern "C" INT32 WINAPI IShowWarningDialog(const WarningRequest* request)
{
    return IShowWarningDialogEx(request, nullptr);
}
