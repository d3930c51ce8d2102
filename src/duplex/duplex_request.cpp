#include "printdialogs.h"

#include "common/request_copy.h"

extern "C" INT_PTR WINAPI VDisplayDialog(const DuplexRequest* request)
{
    DuplexRequest* copy = copyRequest(request);
    if (!copy)
        return 0;
    LocalFree(copy);
    return 0;
}
