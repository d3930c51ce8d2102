// The module-wide values: the library's own instance and the two dialog-thread slots.
#ifndef PRINTDIALOGS_MODULE_H
#define PRINTDIALOGS_MODULE_H

#include <windows.h>

// Source of the dialog templates and pictures; never of texts.
HINSTANCE moduleInstance();

enum class ThreadSlot { JobStorage, Duplex };

// Puts the newest dialog thread's handle (null included) into its slot. A handle it
// displaces is closed at once: callers use the returned handle only to tell success.
void storeThreadHandle(ThreadSlot slot, HANDLE thread);

#endif
