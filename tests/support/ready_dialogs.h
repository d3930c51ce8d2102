// Hands each dialog of the library to the test the moment it has set itself up, on the
// dialog's own thread, by watching the library store its instance in DWLP_USER (the last
// step of every WM_INITDIALOG). Lets a test close hundreds of dialogs as they appear
// without polling for windows.
#ifndef TESTS_READY_DIALOGS_H
#define TESTS_READY_DIALOGS_H

#include <windows.h>

#include <functional>
#include <memory>

class ImportPatch;

// One at a time; `onReady` runs inside WM_INITDIALOG, so it may read the dialog's texts
// and post to it, but must not wait for it.
class ReadyDialogs {
public:
    explicit ReadyDialogs(std::function<void(HWND)> onReady);
    ~ReadyDialogs();
    ReadyDialogs(const ReadyDialogs&) = delete;
    ReadyDialogs& operator=(const ReadyDialogs&) = delete;

    bool applied() const;
    long seen() const;

private:
    std::unique_ptr<ImportPatch> patch_;
};

#endif
