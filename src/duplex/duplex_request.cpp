#include "printdialogs.h"

#include "common/dialog_thread.h"
#include "common/request_copy.h"
#include "common/visibility.h"
#include "duplex/duplex_dialog.h"
#include "module.h"

extern "C" INT_PTR WINAPI VDisplayDialog(const DuplexRequest* request)
{
    // Nobody could see the instructions: no dialog and no thread, in either mode.
    if (!dialogsCanBeSeen())
        return 0;
    DuplexRequest* copy = copyRequest(request);
    if (!copy)
        return 0;
    terminateText(copy->resourceModulePath);
    terminateText(copy->helpFilePath);

    if (copy->continueFromDialog)
        return runDuplexDialog(copy);

    HANDLE thread = startDialogThread<runDuplexDialog>(copy);
    if (!thread)
        LocalFree(copy);
    storeThreadHandle(ThreadSlot::Duplex, thread);
    return reinterpret_cast<INT_PTR>(thread);
}
