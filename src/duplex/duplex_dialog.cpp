#include "duplex/duplex_dialog.h"

#include <new>

#include "common/accessibility.h"
#include "common/context_help.h"
#include "common/placement.h"
#include "common/reading_direction.h"
#include "duplex/picture_frame.h"
#include "module.h"
#include "resource.h"

namespace {

const int kPictureFrames[3] = {IDC_DUPLEX_STEP1_PICTURE, IDC_DUPLEX_STEP2_PICTURE, IDC_DUPLEX_STEP3_PICTURE};

DuplexInstance* instanceOf(HWND dialog)
{
    return reinterpret_cast<DuplexInstance*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// Each frame draws its own picture from here on; the dialog keeps nothing of it.
void attachPictures(HWND dialog, DuplexInstance& instance)
{
    const DuplexRequest& request = *instance.request;
    const UINT pictures[3] = {request.step1BitmapId, request.step2BitmapId, request.step3BitmapId};
    for (int step = 0; step < 3; ++step) {
        WCHAR word[kTextUnits] = {};
        FramePicture picture;
        picture.bitmapId = pictures[step];
        picture.label = pictureWord(instance.text, pictures[step], word) ? word : nullptr;
        picture.rightToLeftLayout = instance.text.rightToLeft();
        attachPicture(GetDlgItem(dialog, kPictureFrames[step]), picture);
    }
}

void initialise(HWND dialog, DuplexInstance& instance)
{
    instance.text.openResourceModule(instance.request->resourceModulePath);
    setDuplexTexts(instance.text, dialog, *instance.request);
    nameDuplexSteps(instance.text, dialog, *instance.request);
    groupButtonRow(GetDlgItem(dialog, IDOK), GetDlgItem(dialog, IDC_DUPLEX_HELP));
    applyReadingDirections(dialog, instance.text.rightToLeft());
    attachPictures(dialog, instance);
    centreOverForeground(dialog, PlacementVariant::Duplex);
    // Last, so that nothing before it sees a half-built dialog.
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&instance));
}

// The system moves the dialog to a screen of another DPI: it takes the rectangle the
// system suggests, and the frames make their pictures and labels again for it.
void changeDpi(HWND dialog, WPARAM wParam, const RECT* suggested)
{
    takeSuggestedRectangle(dialog, suggested);
    for (int frame : kPictureFrames)
        changePictureDpi(GetDlgItem(dialog, frame), LOWORD(wParam));
}

BOOL CALLBACK tellChild(HWND child, LPARAM message)
{
    const MSG* colours = reinterpret_cast<const MSG*>(message);
    SendMessageW(child, colours->message, colours->wParam, colours->lParam);
    return TRUE;
}

void showHelp(HWND dialog, DuplexInstance& instance)
{
    const DuplexRequest& request = *instance.request;
    const DWORD context = request.continueFromDialog ? kHelpContextDuplexBlocking
                                                     : kHelpContextDuplexThreaded;
    showContextHelp(instance.help, GetDlgItem(dialog, IDC_DUPLEX_HELP), IDC_DUPLEX_HELP, context,
                    request.helpFilePath, sizeof request.helpFilePath / sizeof(WCHAR));
}

} // namespace

DWORD runDuplexDialog(void* copy)
{
    auto* request = static_cast<DuplexRequest*>(copy);
    auto* instance = new (std::nothrow) DuplexInstance;
    if (!instance) {
        LocalFree(request);
        return 0;
    }
    instance->request = request;

    // Blocking mode holds up the caller's window; owning the dialog keeps it above it.
    // Another program's window in the foreground is left alone.
    HWND owner = request->continueFromDialog ? foregroundWindowOfThisProcess() : nullptr;
    const int templateId = instance->text.rightToLeft() ? IDD_DUPLEX_RTL : IDD_DUPLEX;
    DialogBoxParamW(moduleInstance(), MAKEINTRESOURCEW(templateId), owner, duplexDialogProc,
                    reinterpret_cast<LPARAM>(instance));

    LocalFree(request);
    instance->request = nullptr;
    delete instance;  // its ResourceText frees the resource module
    return 1;
}

INT_PTR CALLBACK duplexDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Messages such as WM_SETFONT come before WM_INITDIALOG, while DWLP_USER is still empty.
    switch (message) {
    case WM_INITDIALOG: {
        if (auto* instance = reinterpret_cast<DuplexInstance*>(lParam))
            initialise(dialog, *instance);
        return FALSE;  // no default focus
    }
    case WM_DPICHANGED: {
        changeDpi(dialog, wParam, reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    }
    case WM_SYSCOLORCHANGE: {
        // Only top-level windows hear of it; the frames' pictures sit on the colours.
        MSG colours = {dialog, message, wParam, lParam, 0, {}};
        EnumChildWindows(dialog, tellChild, reinterpret_cast<LPARAM>(&colours));
        return FALSE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        keepReadingOrder(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
        return FALSE;  // the dialog's own colours
    }
    case WM_DESTROY: {
        if (DuplexInstance* instance = instanceOf(dialog))
            closeContextHelp(instance->help);
        return FALSE;
    }
    case WM_CLOSE: {
        EndDialog(dialog, 1);
        return TRUE;
    }
    case WM_COMMAND: {
        DuplexInstance* instance = instanceOf(dialog);
        if (!instance || HIWORD(wParam) != 0)
            return FALSE;
        switch (LOWORD(wParam)) {
        case IDOK:
            EndDialog(dialog, 1);
            return TRUE;
        case IDC_DUPLEX_HELP:
            showHelp(dialog, *instance);
            return FALSE;
        default:
            // IDCANCEL, which Escape sends, included: the instructions stay until read.
            return FALSE;
        }
    }
    default:
        return FALSE;
    }
}
