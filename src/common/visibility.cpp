#include "common/visibility.h"

#include <windows.h>

bool dialogsCanBeSeen()
{
    DWORD session = 0;
    if (ProcessIdToSessionId(GetCurrentProcessId(), &session) && session == 0)
        return false;
    USEROBJECTFLAGS flags = {};
    if (!GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                   nullptr))
        return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}
