#include <gtest/gtest.h>

#include <oleacc.h>

#include "duplex/picture_fit.h"
#include "duplex_harness.h"
#include "notice_driver.h"
#include "warning_support.h"

namespace {

// What a screen reader hears of one control, through the system's accessible object.
struct Heard {
    bool named = false;
    std::wstring name;
    LONG state = 0;
};

Heard heard(HWND control)
{
    Heard result;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return result;
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    result.named = object->get_accName(self, &name) == S_OK && name && name[0];
    if (name) {
        result.name = name;
        SysFreeString(name);
    }
    VARIANT state = {};
    if (SUCCEEDED(object->get_accState(self, &state)) && state.vt == VT_I4)
        result.state = state.lVal;
    object->Release();
    return result;
}

std::wstring shownText(HWND dialog, int id)
{
    std::wstring text = itemText(dialog, id);
    removeMnemonic(text.data());
    return text.c_str();
}

// Every control a reader reaches (a shown one) has a name and none is unavailable; a
// hidden one is announced as such, if at all.
void expectEveryShownControlNamed(HWND dialog, const std::string& where)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const Heard control = heard(child);
        const std::string what = where + ", control " + std::to_string(GetDlgCtrlID(child));
        if (!IsWindowVisible(child)) {
            EXPECT_TRUE(control.state & STATE_SYSTEM_INVISIBLE) << what;
            continue;
        }
        EXPECT_TRUE(control.named) << what << " has no name";
        EXPECT_FALSE(control.state & STATE_SYSTEM_UNAVAILABLE) << what << " is announced unavailable";
    }
}

void expectWarningRead(HWND dialog, const std::string& where)
{
    EXPECT_EQ(GetDlgItem(dialog, IDC_WARNING_MESSAGE), GetWindow(dialog, GW_CHILD)) << where << ": the message comes first";
    EXPECT_EQ(L"Tray empty.", heard(GetDlgItem(dialog, IDC_WARNING_MESSAGE)).name) << where;
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_WARNING_SPARE))) << where << ": the empty text";
}

// Each step's box by its number; its picture by number, text and, on 122, the picture's word.
void expectDuplexRead(HWND dialog, const std::string& where)
{
    const int steps[3][4] = {{IDC_DUPLEX_STEP1_BOX, IDC_DUPLEX_STEP1_NUMBER, IDC_DUPLEX_STEP1_TEXT, IDC_DUPLEX_STEP1_PICTURE},
                             {IDC_DUPLEX_STEP2_BOX, IDC_DUPLEX_STEP2_NUMBER, IDC_DUPLEX_STEP2_TEXT, IDC_DUPLEX_STEP2_PICTURE},
                             {IDC_DUPLEX_STEP3_BOX, IDC_DUPLEX_STEP3_NUMBER, IDC_DUPLEX_STEP3_TEXT, IDC_DUPLEX_STEP3_PICTURE}};
    for (int step = 0; step < 3; ++step) {
        const std::wstring number = shownText(dialog, steps[step][1]);
        std::wstring picture = number + L" " + shownText(dialog, steps[step][2]);
        if (step == 2)
            picture += L" " + shownText(dialog, IDOK);  // picture 122 shows the Continue button
        EXPECT_EQ(number, heard(GetDlgItem(dialog, steps[step][0])).name) << where << ": box of step " << step + 1;
        EXPECT_EQ(picture, heard(GetDlgItem(dialog, steps[step][3])).name) << where << ": picture of step " << step + 1;
    }
}

void expectNoticeRead(HWND dialog, const std::string& where)
{
    EXPECT_EQ(itemText(dialog, IDC_JOB_STORAGE_HEADING), heard(GetDlgItem(dialog, IDC_JOB_STORAGE_HEADING)).name)
        << where << ": the heading by its own text";
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_JOB_STORAGE_LOCATION3))) << where << ": the empty line";
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_JOB_STORAGE_LOCATION2))) << where;
}

} // namespace

TEST(ReaderNames, EveryControlAReaderReachesHasANameInTheModulesLanguage)
{
    CoInitialize(nullptr);
    const std::wstring module = besideTest(L"sample_strings.dll");
    UserLanguage user(0x0409);
    for (LANGID language : {LANGID{0x0409}, LANGID{0x040D}}) {
        user.set(language);
        const std::string in = language == 0x040D ? " in Hebrew" : " in English";

        WarningRequest warning = warningRequest(L"Tray empty.");
        lstrcpynW(warning.resourceModulePath, module.c_str(), 256);
        warning.captionId = 4000;
        showWarning(warning, [&](HWND dialog) {
            expectEveryShownControlNamed(dialog, "warning" + in);
            expectWarningRead(dialog, "warning" + in);
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });

        DuplexRequest duplex = duplexRequest(nullptr, 1);
        lstrcpynW(duplex.resourceModulePath, module.c_str(), 256);
        duplex.step1TextId = 3200;
        duplex.step2TextId = 3201;
        duplex.step3TextId = 3205;
        duplex.step3BitmapId = 122;
        showDuplex(duplex, [&](HWND dialog) {
            expectEveryShownControlNamed(dialog, "duplex" + in);
            expectDuplexRead(dialog, "duplex" + in);
            if (language == 0x0409)
                EXPECT_EQ(L"3. Click Continue on the screen to print the second sides. Continue",
                          heard(GetDlgItem(dialog, IDC_DUPLEX_STEP3_PICTURE)).name);
        });

        JobStorageRequest notice = noticeRequest();
        setField(notice.resourceModulePath, module);
        setField(notice.locationLine3, L"");
        Notice shown(notice);
        ASSERT_NE(nullptr, shown.dialog());
        expectEveryShownControlNamed(shown.dialog(), "notice" + in);
        expectNoticeRead(shown.dialog(), "notice" + in);
    }
    CoUninitialize();
}
