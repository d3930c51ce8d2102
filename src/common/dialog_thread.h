// Dialog threads that keep the library mapped while they run.
#ifndef PRINTDIALOGS_DIALOG_THREAD_H
#define PRINTDIALOGS_DIALOG_THREAD_H

#include <windows.h>

#include "module.h"

template <DWORD (*Run)(void*)>
DWORD WINAPI dialogThreadMain(void* param)
{
    Run(param);
    // The reference taken in startDialogThread is dropped by the same call that ends
    // the thread, so no instruction of ours runs after the library may be unmapped.
    FreeLibraryAndExitThread(moduleInstance(), 0);
}

// Starts Run(param) on a thread of its own and returns its handle, or null when no thread
// was started (then Run never sees param). A driver may FreeLibrary us while a dialog is
// still open; the thread holds its own reference so that its code stays mapped.
template <DWORD (*Run)(void*)>
HANDLE startDialogThread(void* param)
{
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(moduleInstance()), &self))
        return nullptr;
    HANDLE thread = CreateThread(nullptr, 0, dialogThreadMain<Run>, param, 0, nullptr);
    if (!thread)
        FreeLibrary(self);
    return thread;
}

#endif
