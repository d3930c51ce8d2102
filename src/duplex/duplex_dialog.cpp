#include "duplex/duplex_dialog.h"

#include <new>

#include "common/accessibility.h"
#include "common/context_help.h"
#include "common/placement.h"
#include "common/reading_direction.h"
#include "module.h"
#include "resource.h"

namespace {

DuplexInstance* instanceOf(HWND dialog)
{
    return reinterpret_cast<DuplexInstance*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void initialise(HWND dialog, DuplexInstance& instance)
{
    instance.text.openResourceModule(instance.request->resourceModulePath);
    setDuplexTexts(instance.text, dialog, *instance.request);
    nameDuplexSteps(instance.text, dialog, *instance.request);
    groupButtonRow(GetDlgItem(dialog, IDOK), GetDlgItem(dialog, IDC_DUPLEX_HELP));
    applyReadingDirections(dialog, instance.text.rightToLeft());
    centreOverForeground(dialog, PlacementVariant::Duplex);
    // Last, so that nothing before it sees a half-built dialog.
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&instance));
}

void paintPanels(HWND dialog, DuplexInstance& instance)
{
    const DuplexRequest& request = *instance.request;
    PanelPicture* kept = instance.pictures.steps;
    paintPanel(dialog, IDC_DUPLEX_STEP1_PICTURE, request.step1BitmapId, instance.text, kept[0]);
    paintPanel(dialog, IDC_DUPLEX_STEP2_PICTURE, request.step2BitmapId, instance.text, kept[1]);
    paintPanel(dialog, IDC_DUPLEX_STEP3_PICTURE, request.step3BitmapId, instance.text, kept[2]);
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
    case WM_PAINT: {
        if (DuplexInstance* instance = instanceOf(dialog))
            paintPanels(dialog, *instance);
        return FALSE;  // the default processing paints the rest of the dialog
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        keepReadingOrder(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
        return FALSE;  // the dialog's own colours
    }
    case WM_DESTROY: {
        if (DuplexInstance* instance = instanceOf(dialog)) {
            for (PanelPicture& kept : instance->pictures.steps)
                releasePanelPicture(kept);
            closeContextHelp(instance->help);
        }
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
