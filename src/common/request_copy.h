// The copy-in contract shared by the three exports.
#ifndef PRINTDIALOGS_REQUEST_COPY_H
#define PRINTDIALOGS_REQUEST_COPY_H

#include <windows.h>

#include <cstring>

// Copies the caller's record, once and whole, into a zeroed LocalAlloc block of exactly
// its size; the caller's record is never written. Null when memory is short, and for a
// null record, which we refuse rather than crash the printing application on.
template <class Request>
Request* copyRequest(const Request* callerRecord)
{
    if (!callerRecord)
        return nullptr;
    void* block = LocalAlloc(LMEM_ZEROINIT, sizeof(Request));
    if (!block)
        return nullptr;
    std::memcpy(block, callerRecord, sizeof(Request));
    return static_cast<Request*>(block);
}

// A caller may fill a text field to its last unit without a NUL; ending our copy's field
// there keeps every later read inside the copy.
template <size_t Units>
void terminateText(WCHAR (&field)[Units])
{
    field[Units - 1] = L'\0';
}

#endif
