#include <gtest/gtest.h>

#include <oleacc.h>

#include "common/access_key.h"
#include "duplex_harness.h"
#include "notice_driver.h"
#include "warning_support.h"

namespace {

// What a screen reader hears of a control: its name (empty for none) and its state.
std::wstring heard(HWND control, LONG* state = nullptr)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object))))
        return L"<no object>";
    VARIANT self = {}, states = {};
    self.vt = VT_I4;
    BSTR name = nullptr;
    const std::wstring result = object->get_accName(self, &name) == S_OK && name ? name : L"";
    SysFreeString(name);
    if (state && SUCCEEDED(object->get_accState(self, &states)))
        *state = states.lVal;
    object->Release();
    return result;
}

std::wstring shown(HWND dialog, int id)
{
    std::wstring text = itemText(dialog, id);
    parseAccessKey(text.data(), text.data(), text.size() + 1, BracketedKey::Dropped);
    return text.c_str();
}

// Every control shown has a name and none is unavailable; a hidden one is heard as hidden.
// Then each row: the name of control `id` (0: the first a reader meets), or "" for hidden.
void expectHeard(HWND dialog, const std::string& where, const std::vector<std::pair<int, std::wstring>>& rows)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        LONG state = 0;
        const std::wstring name = heard(child, &state);
        const std::string what = where + ", control " + std::to_string(GetDlgCtrlID(child));
        EXPECT_EQ(!IsWindowVisible(child), (state & STATE_SYSTEM_INVISIBLE) != 0) << what;
        EXPECT_TRUE(!IsWindowVisible(child) || (!name.empty() && !(state & STATE_SYSTEM_UNAVAILABLE)))
            << what << " is heard as \"" << testing::PrintToString(name) << "\", state " << state;
    }
    for (const auto& [id, name] : rows) {
        const HWND control = id ? GetDlgItem(dialog, id) : GetWindow(dialog, GW_CHILD);
        if (name.empty())
            EXPECT_FALSE(IsWindowVisible(control)) << where << ", control " << id << " is empty and hidden";
        else
            EXPECT_EQ(name, heard(control)) << where << ", control " << id;
    }
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
            expectHeard(dialog, "warning" + in, {{0, L"Tray empty."}, {IDC_WARNING_SPARE, L""}});
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });

        DuplexRequest duplex = duplexRequest(nullptr, 1);
        lstrcpynW(duplex.resourceModulePath, module.c_str(), 256);
        duplex.step1TextId = 3200;
        duplex.step2TextId = 3201;
        duplex.step3TextId = 3205;
        duplex.step3BitmapId = 122;
        showDuplex(duplex, [&](HWND dialog) {
            // Box: the step's number; picture: number, text and, on 122 (step 3), its word.
            std::vector<std::pair<int, std::wstring>> rows;
            const int steps[3][4] = {{1009, 1021, 1002, 1005}, {1000, 1022, 1003, 1006}, {1007, 1023, 1004, 1008}};
            for (const auto& step : steps) {
                const std::wstring picture = shown(dialog, step[1]) + L" " + shown(dialog, step[2]);
                rows.push_back({step[0], shown(dialog, step[1])});
                rows.push_back({step[3], step[0] == 1007 ? picture + L" " + shown(dialog, IDOK) : picture});
            }
            expectHeard(dialog, "duplex" + in, rows);
            if (language == 0x0409)
                EXPECT_EQ(L"3. Click Continue on the screen to print the second sides. Continue", rows.back().second);
        });

        JobStorageRequest notice = noticeRequest();
        setField(notice.resourceModulePath, module);
        setField(notice.locationLine3, L"");
        Notice open(notice);
        ASSERT_NE(nullptr, open.dialog());
        expectHeard(open.dialog(), "notice" + in,
                    {{IDC_JOB_STORAGE_HEADING, open.text(IDC_JOB_STORAGE_HEADING)}, {IDC_JOB_STORAGE_LOCATION3, L""}});
    }
    CoUninitialize();
}
