#include "printdialogs.h"

#include "common/dialog_thread.h"
#include "common/request_copy.h"
#include "common/visibility.h"
#include "jobstorage/job_storage_dialog.h"
#include "module.h"

extern "C" HANDLE WINAPI VJobStorageDialog(const JobStorageRequest* request)
{
    // Nobody could see the notice, nor answer it: no thread, nothing stored.
    if (!dialogsCanBeSeen())
        return nullptr;
    JobStorageRequest* copy = copyRequest(request);
    if (!copy)
        return nullptr;
    // The notice runs on its own thread, which takes over the copy; the driver goes on
    // printing at once.
    HANDLE thread = startDialogThread<runJobStorageDialog>(copy);
    if (!thread)
        LocalFree(copy);
    storeThreadHandle(ThreadSlot::JobStorage, thread);
    return thread;
}
