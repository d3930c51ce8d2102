#include <cwchar>

#include "common/default_texts.h"
#include "common/string_block.h"
#include "duplex/duplex_dialog.h"
#include "duplex/duplex_texts.h"
#include "resource.h"

namespace {

// The built-in English texts, shown where the resource module lacks a string. The
// double spaces are part of the wording.
const WCHAR kCaptionDefault[] = L"Print on Both Sides Instructions";
const WCHAR kIntroEvenFirstDefault[] =
    L"After the even-numbered pages have printed, the Manual Feed prompt will occur on the "
    L"printer.  Follow the instructions below to print the odd-numbered pages (second sides).";
const WCHAR kIntroOddPrintingDefault[] =
    L"The odd-numbered pages of your document are printing.  Remove the printed pages from "
    L"the OUT tray when printing is complete.  Follow the instructions below to print the "
    L"second side of your pages.";
const WCHAR kStep1NumberDefault[] = L"1.";
const WCHAR kStep2NumberDefault[] = L"2.";
const WCHAR kStep3NumberDefault[] = L"3.";
const WCHAR kStep1Default[] =
    L"Without changing the orientation, remove the  paper stack from the Output Bin.  Do not "
    L"discard blank sheets.";
const WCHAR kStep2Default[] =
    L"Maintaining the same orientation, insert the paper stack into Tray 1";
const WCHAR kStep3Default[] =
    L"If printing does not automatically continue, press the Go or Check button.";
const WCHAR kInsertStackDefault[] =
    L"Insert the stack into the IN tray with the top of the pages toward the device, as shown.";
const WCHAR kPressGoDefault[] = L"Press the Go or Select button to continue printing.";

// The two lines of the combined step-3 text, each at most kTextUnits - 1 units, joined
// by a line feed: they always fit.
constexpr size_t kCombinedUnits = 2 * kTextUnits;

void loadOrDefault(ResourceText& text, UINT id, const WCHAR* defaultText, WCHAR* buffer)
{
    if (!text.loadString(id, buffer))
        copyTextCut(defaultText, buffer, kTextUnits);
}

void setCombinedStep3Text(ResourceText& text, HWND control)
{
    WCHAR insertStack[kTextUnits];
    WCHAR pressGo[kTextUnits];
    loadOrDefault(text, kStringInsertStack, kInsertStackDefault, insertStack);
    loadOrDefault(text, kStringPressGo, kPressGoDefault, pressGo);

    WCHAR combined[kCombinedUnits];
    copyTextCut(insertStack, combined, kCombinedUnits);
    size_t used = wcslen(combined);
    if (used + 1 < kCombinedUnits) {
        combined[used++] = L'\n';
        combined[used] = L'\0';
    }
    copyTextCut(pressGo, combined + used, kCombinedUnits - used);
    SetWindowTextW(control, combined);
}

void setStep3Text(ResourceText& text, HWND control, const DuplexRequest& request)
{
    if (joinsPressGoLine(request))
        setCombinedStep3Text(text, control);
    else
        text.setItemText(request.step3TextId, control, kStep3Default);
}

} // namespace

UINT duplexIntroId(const DuplexRequest& request)
{
    return request.evenPagesFirst ? kStringIntroEvenFirst : kStringIntroOddPrinting;
}

UINT duplexOkButtonId(const DuplexRequest& request)
{
    return request.continueFromDialog ? kStringContinueButton : kStringOkButton;
}

bool joinsPressGoLine(const DuplexRequest& request)
{
    return !request.continueFromDialog && request.step3TextId == kStringInsertStack;
}

void setDuplexTexts(ResourceText& text, HWND dialog, const DuplexRequest& request)
{
    auto item = [dialog](int id) { return GetDlgItem(dialog, id); };

    text.setItemText(kStringDuplexCaption, dialog, kCaptionDefault);
    const UINT introId = duplexIntroId(request);
    text.setItemText(introId, item(IDC_DUPLEX_INTRO),
                     introId == kStringIntroEvenFirst ? kIntroEvenFirstDefault : kIntroOddPrintingDefault);
    text.setItemText(kStringStep1Number, item(IDC_DUPLEX_STEP1_NUMBER), kStep1NumberDefault);
    text.setItemText(request.step1TextId, item(IDC_DUPLEX_STEP1_TEXT), kStep1Default);
    text.setItemText(kStringStep2Number, item(IDC_DUPLEX_STEP2_NUMBER), kStep2NumberDefault);
    text.setItemText(request.step2TextId, item(IDC_DUPLEX_STEP2_TEXT), kStep2Default);
    text.setItemText(kStringStep3Number, item(IDC_DUPLEX_STEP3_NUMBER), kStep3NumberDefault);
    setStep3Text(text, item(IDC_DUPLEX_STEP3_TEXT), request);
    const UINT okId = duplexOkButtonId(request);
    text.setItemText(okId, item(IDOK), okId == kStringContinueButton ? kDefaultContinueButton : kDefaultOkButton);
    text.setItemText(kStringHelpButton, item(IDC_DUPLEX_HELP), kDefaultHelpButton);
}
