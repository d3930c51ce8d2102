// Which of the resource module's strings the duplex dialog shows, chosen from the
// request's mode and flags alone: the dialog fills its texts by these, and the
// translator's check names the same ids.
#ifndef PRINTDIALOGS_DUPLEX_TEXTS_H
#define PRINTDIALOGS_DUPLEX_TEXTS_H

#include <windows.h>

#include "printdialogs.h"

UINT duplexIntroId(const DuplexRequest& request);
UINT duplexOkButtonId(const DuplexRequest& request);

// In threaded mode the printer itself must be told to go on, so the caller's "insert the
// stack" step gets the "press Go" line beneath it: step 3 joins two strings.
bool joinsPressGoLine(const DuplexRequest& request);

#endif
