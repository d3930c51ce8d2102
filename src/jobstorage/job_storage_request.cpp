#include "printdialogs.h"

#include "common/request_copy.h"

extern "C" HANDLE WINAPI VJobStorageDialog(const JobStorageRequest* request)
{
    JobStorageRequest* copy = copyRequest(request);
    if (!copy)
        return nullptr;
    LocalFree(copy);
    return nullptr;
}
