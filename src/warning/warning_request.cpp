#include "printdialogs.h"

#include "common/request_copy.h"
#include "common/visibility.h"
#include "warning/warning_dialog.h"

extern "C" INT32 WINAPI IShowWarningDialog(const WarningRequest* request)
{
    // Nobody could see or close the warning: the answer for a window that cannot be made.
    if (!dialogsCanBeSeen())
        return request && request->showDialog == 1 ? kWarningCannotCreate : kWarningNotShown;
    WarningRequest* copy = copyRequest(request);
    if (!copy)
        return kWarningNotShown;
    if (copy->showDialog != 1) {
        LocalFree(copy);
        return kWarningNotShown;
    }
    terminateText(copy->messageText);
    terminateText(copy->resourceModulePath);
    return runWarningDialog(copy);
}
