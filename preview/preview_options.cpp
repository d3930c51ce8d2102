#include "preview_options.h"

#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cwchar>
#include <functional>
#include <vector>

#include "../samples/sample_strings.h"

namespace {

using Setter = std::function<std::wstring(PreviewOptions&, const wchar_t* value)>;

struct Option {
    const wchar_t* name;
    const wchar_t* argument;  // null for a switch
    const wchar_t* meaning;
    Setter set;
};

// Copies `value` into a fixed text field; too long a value is an error, not cut.
template <size_t Units>
std::wstring copyText(WCHAR (&field)[Units], const wchar_t* value, const wchar_t* name)
{
    const size_t length = wcslen(value);
    if (length >= Units)
        return std::wstring(name) + L" takes at most " + std::to_wstring(Units - 1) + L" characters";
    wmemset(field, 0, Units);
    wmemcpy(field, value, length);
    return {};
}

std::wstring parseNumber(const wchar_t* value, const wchar_t* name, UINT32& number)
{
    wchar_t* end = nullptr;
    errno = 0;
    const long long parsed = wcstoll(value, &end, 0);
    if (!*value || *end || errno || parsed < INT32_MIN || parsed > UINT32_MAX)
        return std::wstring(name) + L" takes a whole number, not \"" + value + L"\"";
    number = static_cast<UINT32>(parsed);
    return {};
}

#define TEXT_FIELD(request, field) \
    [](PreviewOptions& o, const wchar_t* v) { return copyText(o.request.field, v, L"--" #field); }
#define NUMBER_FIELD(request, field, option) \
    [](PreviewOptions& o, const wchar_t* v) { return parseNumber(v, option, o.request.field); }

const std::vector<Option>& optionTable()
{
    static const std::vector<Option> all = {
        {L"--module", L"PATH", L"resource module with the strings (default: the sample module)",
         [](PreviewOptions& o, const wchar_t* v) {
             std::wstring error = copyText(o.warning.resourceModulePath, v, L"--module");
             if (error.empty()) error = copyText(o.duplex.resourceModulePath, v, L"--module");
             if (error.empty()) error = copyText(o.jobStorage.resourceModulePath, v, L"--module");
             return error;
         }},
        {L"--screenshot", L"FILE.png", L"when the dialog is painted, write it to FILE.png and close it",
         [](PreviewOptions& o, const wchar_t* v) { o.screenshotPath = v; return std::wstring(); }},
        {L"--close-with", L"ID", L"with --screenshot: press button ID to close (default: close box)",
         [](PreviewOptions& o, const wchar_t* v) {
             UINT32 id = 0;
             std::wstring error = parseNumber(v, L"--close-with", id);
             o.closeWith = static_cast<int>(id);
             return error;
         }},
        {L"--check", nullptr, L"once the dialog is set up, report its texts that do not show as meant, then close it",
         [](PreviewOptions& o, const wchar_t*) { o.check = true; return std::wstring(); }},
        {L"--check-json", L"FILE", L"with --check: append each finding to FILE as a JSON object on a line",
         [](PreviewOptions& o, const wchar_t* v) { o.check = true; o.checkJsonPath = v; return std::wstring(); }},
        {L"--name", L"NAME", L"the dialog's name in the check's report (default: the dialog's kind)",
         [](PreviewOptions& o, const wchar_t* v) { o.name = v; return std::wstring(); }},
        {L"--help", nullptr, L"show this text", [](PreviewOptions& o, const wchar_t*) { o.showHelp = true; return std::wstring(); }},

        // Warning
        {L"--caption-id", L"N", L"warning: string id of the caption", NUMBER_FIELD(warning, captionId, L"--caption-id")},
        {L"--message", L"TEXT", L"warning: the message (at most 1023 characters)", TEXT_FIELD(warning, messageText)},
        {L"--message-id", L"N", L"warning: take the message from string N of the module",
         [](PreviewOptions& o, const wchar_t* v) {
             UINT32 id = 0;
             std::wstring error = parseNumber(v, L"--message-id", id);
             o.messageId = id;
             return error;
         }},
        {L"--ok-id", L"N", L"warning: label of button 1 (0 hides it)", NUMBER_FIELD(warning, okButtonTextId, L"--ok-id")},
        {L"--cancel-id", L"N", L"warning: label of button 2 (0 hides it)", NUMBER_FIELD(warning, cancelButtonTextId, L"--cancel-id")},
        {L"--third-id", L"N", L"warning: label of button 285 (0 hides it)", NUMBER_FIELD(warning, thirdButtonTextId, L"--third-id")},
        {L"--check-box", nullptr, L"warning: show the check box",
         [](PreviewOptions& o, const wchar_t*) { o.warning.showCheckBox = 1; return std::wstring(); }},
        {L"--tick", nullptr, L"warning: tick the check box before closing (with --screenshot)",
         [](PreviewOptions& o, const wchar_t*) { o.tickCheckBox = true; return std::wstring(); }},
        {L"--show-dialog", L"N", L"warning: the showDialog field (default 1; other values show nothing)",
         NUMBER_FIELD(warning, showDialog, L"--show-dialog")},

        // Manual duplex
        {L"--blocking", nullptr, L"duplex: wait for the dialog (continueFromDialog = 1, button Continue)",
         [](PreviewOptions& o, const wchar_t*) { o.duplex.continueFromDialog = 1; return std::wstring(); }},
        {L"--even-first", nullptr, L"duplex: the even pages printed first (evenPagesFirst = 1)",
         [](PreviewOptions& o, const wchar_t*) { o.duplex.evenPagesFirst = 1; return std::wstring(); }},
        {L"--step1-bitmap", L"N", L"duplex: picture of step 1 (105-123, 133, 134, 146-155)", NUMBER_FIELD(duplex, step1BitmapId, L"--step1-bitmap")},
        {L"--step2-bitmap", L"N", L"duplex: picture of step 2", NUMBER_FIELD(duplex, step2BitmapId, L"--step2-bitmap")},
        {L"--step3-bitmap", L"N", L"duplex: picture of step 3", NUMBER_FIELD(duplex, step3BitmapId, L"--step3-bitmap")},
        {L"--step1-text", L"N", L"duplex: string id of step 1", NUMBER_FIELD(duplex, step1TextId, L"--step1-text")},
        {L"--step2-text", L"N", L"duplex: string id of step 2", NUMBER_FIELD(duplex, step2TextId, L"--step2-text")},
        {L"--step3-text", L"N", L"duplex: string id of step 3 (3140 joins two lines when not blocking)", NUMBER_FIELD(duplex, step3TextId, L"--step3-text")},
        {L"--help-file", L"PATH", L"duplex and job storage: the WinHelp file of the Help button",
         [](PreviewOptions& o, const wchar_t* v) {
             std::wstring error = copyText(o.duplex.helpFilePath, v, L"--help-file");
             if (error.empty()) error = copyText(o.jobStorage.helpFilePath, v, L"--help-file");
             return error;
         }},

        // Job storage
        {L"--user", L"NAME", L"job storage: user name (at most 16 characters)", TEXT_FIELD(jobStorage, userName)},
        {L"--job", L"NAME", L"job storage: job name (at most 16 characters)", TEXT_FIELD(jobStorage, jobName)},
        {L"--location1", L"TEXT", L"job storage: first location line", TEXT_FIELD(jobStorage, locationLine1)},
        {L"--location2", L"TEXT", L"job storage: second location line", TEXT_FIELD(jobStorage, locationLine2)},
        {L"--location3", L"TEXT", L"job storage: third location line", TEXT_FIELD(jobStorage, locationLine3)},
        {L"--key", L"NAME", L"job storage: registry key below HKCU\\Software\\Norvale\\", TEXT_FIELD(jobStorage, preferenceKeyName)},
        {L"--suffix", nullptr, L"job storage: append (1-99) to the job name (both suffix flags 1)",
         [](PreviewOptions& o, const wchar_t*) { o.jobStorage.suffixFlagA = o.jobStorage.suffixFlagB = 1; return std::wstring(); }},
    };
    return all;
}

void setDefaults(PreviewOptions& o, const std::wstring& module)
{
    copyText(o.warning.resourceModulePath, module.c_str(), L"");
    copyText(o.duplex.resourceModulePath, module.c_str(), L"");
    copyText(o.jobStorage.resourceModulePath, module.c_str(), L"");

    o.warning.showDialog = 1;
    o.warning.captionId = IDS_WARNING_TONER_CAPTION;
    o.messageId = IDS_WARNING_TONER_MESSAGE;
    o.warning.okButtonTextId = IDS_BUTTON_PRINT;
    o.warning.cancelButtonTextId = IDS_BUTTON_CANCEL;

    o.duplex.step1BitmapId = 105;
    o.duplex.step1TextId = IDS_STEP_REMOVE_FROM_BIN;
    o.duplex.step2BitmapId = 107;
    o.duplex.step2TextId = IDS_STEP_INSERT_TRAY1;
    o.duplex.step3BitmapId = 109;
    o.duplex.step3TextId = IDS_STEP_PRESS_GO;

    copyText(o.jobStorage.userName, L"jsmith", L"");
    copyText(o.jobStorage.jobName, L"Quarterly", L"");
    copyText(o.jobStorage.locationLine1, L"Office 2 colour laser", L"");
    copyText(o.jobStorage.locationLine2, L"Job storage: Private jobs", L"");
    copyText(o.jobStorage.locationLine3, L"Release at the printer's panel", L"");
    copyText(o.jobStorage.preferenceKeyName, L"Preview", L"");
}

} // namespace

std::wstring parseOptions(int argc, wchar_t** argv, const std::wstring& defaultModule,
                          PreviewOptions& options)
{
    setDefaults(options, defaultModule);
    int next = 0;
    if (next < argc && std::wstring(argv[next]) == L"--list-languages") {
        if (argc > 2)
            return L"--list-languages takes one module";
        options.listLanguagesOf = argc == 2 ? argv[1] : defaultModule;
        return {};
    }
    if (next < argc && argv[next][0] != L'-') {
        const std::wstring kind = argv[next++];
        options.name = kind;
        if (kind == L"warning")
            options.kind = DialogKind::Warning;
        else if (kind == L"duplex")
            options.kind = DialogKind::Duplex;
        else if (kind == L"jobstorage")
            options.kind = DialogKind::JobStorage;
        else
            return L"unknown dialog \"" + kind + L"\": say warning, duplex or jobstorage";
    } else if (next >= argc || std::wstring(argv[next]) != L"--help") {
        return L"say which dialog to show: warning, duplex or jobstorage";
    }

    while (next < argc) {
        const std::wstring name = argv[next++];
        const Option* found = nullptr;
        for (const Option& option : optionTable())
            if (name == option.name)
                found = &option;
        if (!found)
            return L"unknown option " + name;
        const wchar_t* value = L"";
        if (found->argument) {
            if (next >= argc)
                return name + L" needs " + found->argument;
            value = argv[next++];
        }
        std::wstring error = found->set(options, value);
        if (!error.empty())
            return error;
        if (name == L"--message")
            options.messageId = 0;
    }
    return {};
}

std::wstring expandArgumentFiles(int argc, wchar_t** argv, std::vector<std::wstring>& arguments)
{
    for (int i = 0; i < argc; ++i) {
        if (std::wstring(argv[i]) != L"--arguments") {
            arguments.push_back(argv[i]);
            continue;
        }
        if (++i >= argc)
            return L"--arguments needs FILE";
        FILE* file = _wfopen(argv[i], L"rb");
        if (!file)
            return L"--arguments: cannot read " + std::wstring(argv[i]);
        std::string bytes;
        char chunk[4096];
        for (size_t got; (got = fread(chunk, 1, sizeof chunk, file)) > 0;)
            bytes.append(chunk, got);
        fclose(file);
        const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        if (size == 0 && !bytes.empty())
            return L"--arguments: " + std::wstring(argv[i]) + L" is not UTF-8";
        std::wstring text(size, L'\0');
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], size);
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find(L'\n', start);
            if (end == std::wstring::npos)
                end = text.size();
            std::wstring line = text.substr(start, end - start);
            if (!line.empty() && line.back() == L'\r')
                line.pop_back();
            arguments.push_back(line);
            start = end + 1;
        }
    }
    return {};
}

std::wstring usage()
{
    std::wstring text =
        L"Usage: printdialogs-preview warning|duplex|jobstorage [options]\n"
        L"       printdialogs-preview --list-languages [MODULE.dll]\n"
        L"Shows one dialog of printdialogs.dll with a request built from the options,\n"
        L"prints what the call returned, and exits 0 (2 on bad options, 1 when the\n"
        L"dialog did not appear or the screenshot failed, 3 when --check found problems).\n"
        L"The texts come from the resource module in the user's interface language\n"
        L"(LANG under Wine).\n"
        L"--check reports texts that do not fit their controls, characters drawn as boxes,\n"
        L"access keys used twice, strings the module lacks in this language or that are\n"
        L"longer than the 255 units the dialogs read.\n"
        L"--list-languages prints the languages of the module's strings, one tag a line.\n"
        L"--arguments FILE, anywhere, stands for the lines of FILE (UTF-8), one argument each.\n\nOptions:\n";
    for (const Option& option : optionTable()) {
        std::wstring left = std::wstring(L"  ") + option.name;
        if (option.argument)
            left += std::wstring(L" ") + option.argument;
        left.resize(std::max<size_t>(left.size() + 1, 26), L' ');
        text += left + option.meaning + L"\n";
    }
    return text;
}
