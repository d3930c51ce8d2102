#include <cwchar>

#include "common/access_key.h"
#include "common/accessibility.h"
#include "common/string_block.h"
#include "duplex/duplex_dialog.h"
#include "duplex/picture_frame.h"
#include "resource.h"

namespace {

struct StepControls {
    int box, number, text, picture;
};
constexpr StepControls kSteps[3] = {
    {IDC_DUPLEX_STEP1_BOX, IDC_DUPLEX_STEP1_NUMBER, IDC_DUPLEX_STEP1_TEXT, IDC_DUPLEX_STEP1_PICTURE},
    {IDC_DUPLEX_STEP2_BOX, IDC_DUPLEX_STEP2_NUMBER, IDC_DUPLEX_STEP2_TEXT, IDC_DUPLEX_STEP2_PICTURE},
    {IDC_DUPLEX_STEP3_BOX, IDC_DUPLEX_STEP3_NUMBER, IDC_DUPLEX_STEP3_TEXT, IDC_DUPLEX_STEP3_PICTURE},
};

// The number, the step text (two strings joined, in threaded mode's step 3) and the
// picture's own word, each at most kTextUnits - 1 units, with a space between them.
constexpr size_t kNameUnits = 4 * kTextUnits;

void append(WCHAR* name, const WCHAR* part)
{
    if (!part[0])
        return;
    size_t used = wcslen(name);
    if (used && used + 1 < kNameUnits) {
        name[used++] = L' ';
        name[used] = L'\0';
    }
    copyTextCut(part, name + used, kNameUnits - used);
}

} // namespace

void nameDuplexSteps(ResourceText& text, HWND dialog, const DuplexRequest& request)
{
    const UINT bitmaps[3] = {request.step1BitmapId, request.step2BitmapId, request.step3BitmapId};
    for (int step = 0; step < 3; ++step) {
        WCHAR number[kTextUnits] = {};
        GetDlgItemTextW(dialog, kSteps[step].number, number, kTextUnits);
        nameGroupBox(GetDlgItem(dialog, kSteps[step].box), number);

        WCHAR part[2 * kTextUnits] = {};
        WCHAR name[kNameUnits] = {};
        append(name, number);
        GetDlgItemTextW(dialog, kSteps[step].text, part, 2 * kTextUnits);
        parseAccessKey(part, part, 2 * kTextUnits, BracketedKey::Dropped);
        append(name, part);
        if (pictureWord(text, bitmaps[step], part))
            append(name, part);
        namePictureFrame(GetDlgItem(dialog, kSteps[step].picture), name);
    }
}
