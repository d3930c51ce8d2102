#include <new>

#include "common/placement.h"
#include "module.h"
#include "resource.h"
#include "warning/warning_dialog.h"

INT32 runWarningDialog(WarningRequest* copy, int& checkBoxTicked)
{
    checkBoxTicked = 0;
    auto* instance = new (std::nothrow) WarningInstance(copy);
    if (!instance) {
        LocalFree(copy);
        return kWarningNotShown;
    }
    // The warning belongs to whatever the user was working in when the driver called,
    // when that is a window of the printing application.
    HWND owner = copy->showDialog == 1 ? foregroundWindowOfThisProcess() : nullptr;
    const int dialogTemplate = instance->text.rightToLeft() ? IDD_WARNING_RTL : IDD_WARNING;
    const INT_PTR result = DialogBoxParamW(moduleInstance(), MAKEINTRESOURCEW(dialogTemplate), owner,
                                           warningDialogProc, reinterpret_cast<LPARAM>(instance));
    checkBoxTicked = instance->checkBoxTicked;
    LocalFree(copy);
    instance->request = nullptr;
    delete instance;  // its ResourceText frees the resource module
    return static_cast<INT32>(result);
}
