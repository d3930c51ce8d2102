#include "printdialogs.h"

#include "common/request_copy.h"

extern "C" INT32 WINAPI IShowWarningDialog(const WarningRequest* request)
{
    WarningRequest* copy = copyRequest(request);
    if (!copy)
        return kWarningNotShown;
    LocalFree(copy);
    return kWarningNotShown;
}
