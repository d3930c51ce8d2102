// printdialogs-preview: shows one dialog of the library from command-line options, the
// way a driver would call it, for authors, translators and the picture gallery.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "module_languages.h"
#include "resource.h"
#include "preview_options.h"
#include "screenshot.h"
#include "text_check.h"

namespace {

constexpr DWORD kAppearTimeoutMs = 10000;
constexpr int kFoundProblems = 3;  // --check found something

std::wstring besideProgram(const wchar_t* fileName)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + fileName;
}

// The sample module: beside the previewer in the build, in samples/ next to bin/ in the
// release zip. Where neither has it, the path beside the previewer, so that the message
// names a place.
std::wstring sampleModulePath()
{
    const wchar_t kSampleModule[] = L"sample_strings.dll";
    for (const std::wstring& path : {besideProgram(kSampleModule),
                                     besideProgram(L"..\\samples\\") + kSampleModule}) {
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            return path;
    }
    return besideProgram(kSampleModule);
}

BOOL CALLBACK findOwnDialog(HWND window, LPARAM found)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && wcscmp(className, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND waitForDialog(DWORD timeoutMs, const std::atomic<bool>* giveUp = nullptr)
{
    const DWORD start = GetTickCount();
    do {
        if (giveUp && *giveUp)
            return nullptr;
        HWND dialog = nullptr;
        EnumWindows(findOwnDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog)
            return dialog;
        Sleep(10);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

void waitUntilClosed(HWND dialog)
{
    while (IsWindow(dialog))
        Sleep(50);
}

std::string utf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    return bytes;
}

// UTF-8 whatever the locale: findings quote texts in every script.
void print(const std::wstring& text, FILE* stream = stdout)
{
    const std::string bytes = utf8(text);
    fwrite(bytes.data(), 1, bytes.size(), stream);
    fflush(stream);
}

bool appendLines(const std::wstring& path, const std::wstring& lines)
{
    FILE* file = _wfopen(path.c_str(), L"ab");
    if (!file)
        return false;
    const std::string bytes = utf8(lines);
    const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

// Once the dialog is up: checks it and takes its picture as the options say, then closes
// it the way they say.
struct Photographer {
    const PreviewOptions& options;
    std::atomic<bool> sawDialog{false};
    std::atomic<bool> wrote{false};
    std::atomic<bool> checked{false};
    std::atomic<int> findings{0};
    std::atomic<bool> nothingToShow{false};  // the call returned, or started no dialog

    void run()
    {
        HWND dialog = waitForDialog(kAppearTimeoutMs, &nothingToShow);
        if (!dialog)
            return;
        sawDialog = true;
        Sleep(300);  // let the dialog finish its first paint and activation
        if (options.check)
            check(dialog);
        if (!options.screenshotPath.empty())
            photograph(dialog);
        if (options.tickCheckBox)
            SendMessageW(GetDlgItem(dialog, IDC_WARNING_CHECK), BM_SETCHECK, BST_CHECKED, 0);
        if (options.closeWith)
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(options.closeWith, BN_CLICKED), 0);
        else
            PostMessageW(dialog, WM_CLOSE, 0, 0);
    }

    void check(HWND dialog)
    {
        const CheckSetting setting = currentSetting(options.name);
        const std::vector<Finding> found = checkDialog(dialog, requestedTexts(options), options.warning.resourceModulePath);
        std::wstring lines, json;
        for (const Finding& finding : found) {
            lines += findingLine(setting, finding) + L"\n";
            json += findingJson(setting, finding) + L"\n";
        }
        print(lines);
        findings = static_cast<int>(found.size());
        checked = options.checkJsonPath.empty() || appendLines(options.checkJsonPath, json);
    }

    void photograph(HWND dialog)
    {
        RgbImage image;
        if (captureWindow(dialog, image) && writePng(options.screenshotPath, image)) {
            wrote = true;
            print(L"screenshot: " + options.screenshotPath + L" (" + std::to_wstring(image.width) +
                  L"x" + std::to_wstring(image.height) + L")\n");
        }
    }
};

void takeMessageFromModule(PreviewOptions& options)
{
    if (!options.messageId)
        return;
    HMODULE module = LoadLibraryExW(options.warning.resourceModulePath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return;
    LoadStringW(module, options.messageId, options.warning.messageText, 1024);
    FreeLibrary(module);
}

// Threaded dialogs: the process must stay until the user (or the photographer) closes them.
int waitForThreadedDialog(bool started)
{
    if (!started)
        return 1;
    HWND dialog = waitForDialog(kAppearTimeoutMs);
    if (!dialog) {
        print(L"the dialog did not appear\n", stderr);
        return 1;
    }
    waitUntilClosed(dialog);
    return 0;
}

int listLanguages(const std::wstring& module)
{
    std::vector<LANGID> languages;
    if (!moduleLanguages(module, languages)) {
        print(L"printdialogs-preview: cannot load " + module + L"\n", stderr);
        return 1;
    }
    for (LANGID language : languages)
        print(languageTag(language) + L"\n");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    PreviewOptions options;
    std::vector<std::wstring> arguments;
    std::wstring error = expandArgumentFiles(argc - 1, argv + 1, arguments);
    std::vector<wchar_t*> pointers;
    for (std::wstring& argument : arguments)
        pointers.push_back(&argument[0]);
    if (error.empty())
        error = parseOptions(static_cast<int>(pointers.size()), pointers.data(), sampleModulePath(), options);
    if (options.showHelp) {
        print(usage());
        return 0;
    }
    if (!error.empty()) {
        print(L"printdialogs-preview: " + error + L"\nTry printdialogs-preview --help.\n", stderr);
        return 2;
    }
    if (!options.listLanguagesOf.empty())
        return listLanguages(options.listLanguagesOf);
    takeMessageFromModule(options);

    Photographer photographer{options};
    std::thread camera;
    if (!options.screenshotPath.empty() || options.check)
        camera = std::thread([&photographer] { photographer.run(); });

    int status = 0;
    switch (options.kind) {
    case DialogKind::Warning: {
        int ticked = 0;
        const INT32 result = IShowWarningDialogEx(&options.warning, &ticked);
        photographer.nothingToShow = true;
        print(L"IShowWarningDialog returned " + std::to_wstring(result) + L", check box ticked: " +
              std::to_wstring(ticked) + L"\n");
        break;
    }
    case DialogKind::Duplex: {
        const INT_PTR result = VDisplayDialog(&options.duplex);
        if (options.duplex.continueFromDialog) {
            photographer.nothingToShow = true;
            print(L"VDisplayDialog returned after the dialog closed\n");
        } else {
            print(result ? L"VDisplayDialog started the dialog thread\n" : L"VDisplayDialog started no dialog\n");
            photographer.nothingToShow = result == 0;
            status = waitForThreadedDialog(result != 0);
        }
        break;
    }
    case DialogKind::JobStorage: {
        const HANDLE thread = VJobStorageDialog(&options.jobStorage);
        print(thread ? L"VJobStorageDialog started the notice thread\n" : L"VJobStorageDialog started no notice\n");
        photographer.nothingToShow = thread == nullptr;
        status = waitForThreadedDialog(thread != nullptr);
        break;
    }
    }

    if (camera.joinable()) {
        camera.join();
        if (!photographer.sawDialog) {
            print(L"the dialog did not appear\n", stderr);
            status = 1;
        } else if (!options.screenshotPath.empty() && !photographer.wrote) {
            print(L"the screenshot could not be written\n", stderr);
            status = 1;
        } else if (options.check && !photographer.checked) {
            print(L"the findings could not be written to " + options.checkJsonPath + L"\n", stderr);
            status = 1;
        } else if (status == 0 && photographer.findings > 0) {
            status = kFoundProblems;
        }
        // Wine may end a program that faulted with status 0: this line says the check ran through.
        if (options.check && photographer.checked)
            print(L"check finished: " + std::to_wstring(photographer.findings) + L" findings\n");
    }
    return status;
}
