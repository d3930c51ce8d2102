// Whether anyone can see a dialog of this process at all.
#ifndef PRINTDIALOGS_VISIBILITY_H
#define PRINTDIALOGS_VISIBILITY_H

// False in session 0 and in a window station that is not visible (a service's): a modal
// dialog there could never be seen or closed, and would hold its caller for ever. True
// when neither can be read.
bool dialogsCanBeSeen();

#endif
