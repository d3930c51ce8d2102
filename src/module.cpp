#include "module.h"

#include <atomic>

namespace {

HINSTANCE gModuleInstance = nullptr;

// Exports store into the slots while DllMain, under the loader lock but not under any
// lock of ours, empties them: an atomic exchange hands each handle to exactly one closer.
std::atomic<HANDLE> gJobStorageThread{nullptr};
std::atomic<HANDLE> gDuplexThread{nullptr};

std::atomic<HANDLE>& slotFor(ThreadSlot slot)
{
    return slot == ThreadSlot::JobStorage ? gJobStorageThread : gDuplexThread;
}

void closeSlot(std::atomic<HANDLE>& slot)
{
    if (HANDLE thread = slot.exchange(nullptr))
        CloseHandle(thread);
}

} // namespace

HINSTANCE moduleInstance()
{
    return gModuleInstance;
}

void storeThreadHandle(ThreadSlot slot, HANDLE thread)
{
    if (HANDLE displaced = slotFor(slot).exchange(thread))
        CloseHandle(displaced);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        gModuleInstance = instance;
        break;
    case DLL_THREAD_DETACH:
        closeSlot(gJobStorageThread);
        closeSlot(gDuplexThread);
        break;
    case DLL_PROCESS_DETACH:
        // Unloaded by FreeLibrary (reserved is null) while a slot still holds a handle:
        // no later thread exit will reach us to close it. At process exit, leave it.
        if (!reserved) {
            closeSlot(gJobStorageThread);
            closeSlot(gDuplexThread);
        }
        break;
    default:
        break;
    }
    return TRUE;
}
