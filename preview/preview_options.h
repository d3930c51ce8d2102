// The previewer's command line: one option per request field, plus what the previewer
// itself does (screenshot, which button closes the dialog).
#ifndef PREVIEW_OPTIONS_H
#define PREVIEW_OPTIONS_H

#include <string>
#include <vector>

#include "printdialogs.h"

enum class DialogKind { Warning, Duplex, JobStorage };

struct PreviewOptions {
    DialogKind kind = DialogKind::Warning;
    WarningRequest warning = {};
    DuplexRequest duplex = {};
    JobStorageRequest jobStorage = {};
    UINT messageId = 0;           // warning text taken from the module instead of --message
    std::wstring screenshotPath;  // capture, write, then close the dialog
    int closeWith = 0;            // button that closes a captured dialog; 0: the close box
    bool tickCheckBox = false;    // tick the warning's check box before closing it
    bool check = false;           // report what does not show as meant, then close
    std::wstring checkJsonPath;   // with check: append the findings here, one JSON object a line
    std::wstring name;            // the dialog's name in the check's report
    bool showHelp = false;
    std::wstring listLanguagesOf;  // module whose languages to print instead of a dialog
};

// Fills `options` from the arguments after the program name; `defaultModule` is the
// sample module's path. Returns an empty string, or what is wrong with the arguments.
std::wstring parseOptions(int argc, wchar_t** argv, const std::wstring& defaultModule,
                          PreviewOptions& options);

// The arguments with each "--arguments FILE" replaced by the lines of FILE (UTF-8, one
// argument a line, taken as written): the way to pass any text, as a program's command
// line under Wine carries only what the locale's character set holds. Returns an empty
// string, or what is wrong.
std::wstring expandArgumentFiles(int argc, wchar_t** argv, std::vector<std::wstring>& arguments);

// The --help text.
std::wstring usage();

#endif
