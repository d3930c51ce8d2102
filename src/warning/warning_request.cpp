#include "printdialogs.h"

#include "common/request_copy.h"
#include "warning/warning_dialog.h"

extern "C" INT32 WINAPI IShowWarningDialog(const WarningRequest* request)
{
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
