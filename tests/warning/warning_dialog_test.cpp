#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "warning/warning_dialog.h"
#include "warning_support.h"

namespace {

bool isShownAndEnabled(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return IsWindowVisible(control) && IsWindowEnabled(control);
}

bool isHiddenAndDisabled(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control && !IsWindowVisible(control) && !IsWindowEnabled(control);
}

} // namespace

TEST(WarningDialog, EachButtonEndsItWithItsId)
{
    for (int id : {IDOK, IDCANCEL, IDC_WARNING_THIRD}) {
        const INT32 result = showWarning(warningRequest(), [id](HWND dialog) { pressButton(dialog, id); });
        EXPECT_EQ(id, result) << "button " << id;
    }
}

TEST(WarningDialog, CloseBoxAndEscapeEndItWith2)
{
    EXPECT_EQ(2, showWarning(warningRequest(), [](HWND dialog) {
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    })) << "close box";
    EXPECT_EQ(2, showWarning(warningRequest(), [](HWND dialog) {
        PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    })) << "Esc";

    WarningRequest noButtons = warningRequest();
    noButtons.okButtonTextId = noButtons.cancelButtonTextId = noButtons.thirdButtonTextId = 0;
    EXPECT_EQ(2, showWarning(noButtons, [](HWND dialog) {
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    })) << "close box with no button shown";
}

TEST(WarningDialog, CommandWithNotificationCodeLeavesItOpen)
{
    const INT32 result = showWarning(warningRequest(), [](HWND dialog) {
        for (int id : {IDOK, IDCANCEL, IDC_WARNING_THIRD})
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_DOUBLECLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
        EXPECT_TRUE(IsWindowVisible(dialog)) << "open after notifications with a non-zero code";
        pressButton(dialog, IDC_WARNING_THIRD);
    });
    EXPECT_EQ(285, result);
}

TEST(WarningDialog, HiddenThirdButtonStillEndsItWith285)
{
    WarningRequest request = warningRequest();
    request.thirdButtonTextId = 0;
    const INT32 result = showWarning(request, [](HWND dialog) {
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_WARNING_THIRD)));
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_WARNING_THIRD, 0), 0);
    });
    EXPECT_EQ(285, result);
}

TEST(WarningDialog, ShowsAndEnablesEachControlByItsField)
{
    struct Case { UINT32 ok, cancel, third, checkBox; };
    const Case cases[] = {
        {kLabelRetry, kLabelStop, kLabelDetails, 1},
        {kLabelRetry, kLabelStop, kLabelDetails, 0},
        {0, 0, 0, 0},
        {0, kLabelStop, 0, 7},
        {kLabelRetry, 0, 9999, 0},  // an id the module lacks still shows its button
    };
    for (const Case& c : cases) {
        WarningRequest request = warningRequest();
        request.okButtonTextId = c.ok;
        request.cancelButtonTextId = c.cancel;
        request.thirdButtonTextId = c.third;
        request.showCheckBox = c.checkBox;
        showWarning(request, [&](HWND dialog) {
            const struct { int id; UINT32 field; } controls[] = {
                {IDOK, c.ok}, {IDCANCEL, c.cancel}, {IDC_WARNING_THIRD, c.third},
                {IDC_WARNING_CHECK, c.checkBox}};
            for (const auto& control : controls) {
                if (control.field)
                    EXPECT_TRUE(isShownAndEnabled(dialog, control.id)) << "control " << control.id
                        << " with field " << control.field << " should be shown and enabled";
                else
                    EXPECT_TRUE(isHiddenAndDisabled(dialog, control.id)) << "control " << control.id
                        << " with field 0 should be hidden and disabled";
            }
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_WARNING_SPARE))) << "476, empty, hidden";
            EXPECT_EQ(L"", itemText(dialog, IDC_WARNING_SPARE)) << "476 left empty";
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
    }
}

TEST(WarningDialog, TextsComeFromTheModuleAndTheRequest)
{
    showWarning(warningRequest(L"Clear the jam & press Retry."), [](HWND dialog) {
        EXPECT_EQ(L"Paper Jam", windowText(dialog));
        EXPECT_EQ(L"Clear the jam & press Retry.", itemText(dialog, IDC_WARNING_MESSAGE));
        EXPECT_EQ(L"&Retry", itemText(dialog, IDOK));
        EXPECT_EQ(L"&Stop", itemText(dialog, IDCANCEL));
        EXPECT_EQ(L"&Details", itemText(dialog, IDC_WARNING_THIRD));
        EXPECT_EQ(L"Never show this again", itemText(dialog, IDC_WARNING_CHECK));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });

    WarningRequest longCaption = warningRequest();
    longCaption.captionId = kCaption300Units;
    showWarning(longCaption, [](HWND dialog) {
        const std::wstring caption = windowText(dialog);
        EXPECT_EQ(255u, caption.size()) << "caption cut to 255 units";
        EXPECT_EQ(L"CaptionCut", caption.substr(0, 10));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
}

// The module lacks a string, or cannot be loaded at all: an English caption and the
// standard labels rather than an empty title bar and blank buttons.
TEST(WarningDialog, MissingStringsGetEnglishDefaults)
{
    for (const wchar_t* module : {L"strings_en.dll", L"no-such-module.dll"}) {
        WarningRequest request = warningRequest();
        wcsncpy(request.resourceModulePath, besideTest(module).c_str(), 255);
        showWarning(request, [&](HWND dialog) {
            EXPECT_EQ(L"Warning", windowText(dialog)) << module;
            EXPECT_EQ(L"OK", itemText(dialog, IDOK)) << module;
            EXPECT_EQ(L"Cancel", itemText(dialog, IDCANCEL)) << module;
            EXPECT_EQ(L"Other", itemText(dialog, IDC_WARNING_THIRD)) << module;
            EXPECT_EQ(L"In the future, do not show this information.",
                      itemText(dialog, IDC_WARNING_CHECK)) << module;
            EXPECT_EQ(L"The paper tray is empty.", itemText(dialog, IDC_WARNING_MESSAGE)) << module;
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
    }
}

TEST(WarningDialog, CheckBoxStartsUntickedAndItsClicksAreIgnored)
{
    int ticked = -1;
    const INT32 result = showWarning(warningRequest(), [](HWND dialog) {
        HWND checkBox = GetDlgItem(dialog, IDC_WARNING_CHECK);
        EXPECT_EQ(BST_UNCHECKED, SendMessageW(checkBox, BM_GETCHECK, 0, 0));
        SendMessageW(checkBox, BM_CLICK, 0, 0);
        EXPECT_EQ(BST_CHECKED, SendMessageW(checkBox, BM_GETCHECK, 0, 0)) << "ticked by the click";
        EXPECT_TRUE(IsWindowVisible(dialog)) << "a click on the check box does not end it";
        pressButton(dialog, IDOK);
    }, &ticked);
    EXPECT_EQ(1, result) << "ticked or not, OK gives 1";
    EXPECT_EQ(1, ticked) << "the Ex export hands the ticked box back";
}

// The Ex export tells the caller the box's state as the dialog closed, however it closed;
// 0 when the box was not shown (and when no dialog appeared, below).
TEST(WarningDialog, ExTellsWhetherTheCheckBoxWasTicked)
{
    struct Case { UINT32 showCheckBox; bool tick; int closeWith; int ticked; };
    for (const Case& c : {Case{1, true, 0, 1}, Case{1, false, IDOK, 0}, Case{0, true, IDOK, 0}}) {
        WarningRequest request = warningRequest();
        request.showCheckBox = c.showCheckBox;
        int ticked = -1;
        showWarning(request, [&](HWND dialog) {
            if (c.tick)
                SendMessageW(GetDlgItem(dialog, IDC_WARNING_CHECK), BM_SETCHECK, BST_CHECKED, 0);
            c.closeWith ? pressButton(dialog, c.closeWith) : (void)PostMessageW(dialog, WM_CLOSE, 0, 0);
        }, &ticked);
        EXPECT_EQ(c.ticked, ticked) << "shown " << c.showCheckBox << ", ticked " << c.tick << ", closed with " << c.closeWith;
    }
}

// Focus, default and Enter agree, Tab runs as the eye reads the buttons and the arrows
// stay on them, in both layouts and after the long-message growth has moved them; the
// focus Tab gave stays where it was when the person leaves the dialog and comes back.
TEST(WarningDialog, KeyboardFollowsTheButtonsInReadingOrder)
{
    constexpr int kCheck = IDC_WARNING_CHECK, kThird = IDC_WARNING_THIRD;
    struct Case {
        const char* name;
        UINT32 ok, cancel, third, checkBox;
        bool longMessage;
        std::vector<int> tabCycle;  // the focus at open, then after each Tab, back to the start
    };
    const Case cases[] = {
        {"three buttons", kLabelRetry, kLabelStop, kLabelDetails, 0, false, {IDOK, IDCANCEL, kThird, IDOK}},
        {"three and the check box", kLabelRetry, kLabelStop, kLabelDetails, 1, false,
         {IDOK, IDCANCEL, kThird, kCheck, IDOK}},
        {"three and the check box, long message", kLabelRetry, kLabelStop, kLabelDetails, 1, true,
         {IDOK, IDCANCEL, kThird, kCheck, IDOK}},
        {"IDOK hidden", 0, kLabelStop, kLabelDetails, 1, false, {IDCANCEL, kThird, kCheck, IDCANCEL}},
        {"only the third", 0, 0, kLabelDetails, 0, false, {kThird, kThird}},
        {"only the third and the check box", 0, 0, kLabelDetails, 1, false, {kThird, kCheck, kThird}},
        {"no button, the check box", 0, 0, 0, 1, false, {kCheck, kCheck}},
    };
    UserLanguage user(0x0409);
    for (LANGID language : {LANGID{0x0409}, LANGID{0x040D}}) {
        user.set(language);
        for (const Case& c : cases) {
            const std::string where = std::string(c.name) + (language == 0x040D ? ", mirrored" : "");
            WarningRequest request = warningRequest(c.longMessage ? std::wstring(400, L'x') : L"Tray empty.");
            request.okButtonTextId = c.ok;
            request.cancelButtonTextId = c.cancel;
            request.thirdButtonTextId = c.third;
            request.showCheckBox = c.checkBox;
            const int start = c.tabCycle.front();
            const int back = c.tabCycle[c.tabCycle.size() - 2];
            // Enter presses the focused button; on the check box, the default; never a hidden one.
            const auto pressedBy = [&](int focus) { return focus != kCheck ? focus : start != kCheck ? start : 2; };

            const INT32 atOpen = showWarning(request, [&](HWND dialog) {
                EXPECT_EQ(start, firstFocusedId(dialog)) << where << ": the first focus at open";
                Sleep(300);  // a dialog shown inactive turns so once its first paint is done
                EXPECT_TRUE(isActive(dialog)) << where << ": active at open";
                if (start != kCheck)
                    EXPECT_EQ(MAKELONG(start, DC_HASDEFID), SendMessageW(dialog, DM_GETDEFID, 0, 0)) << where;
                pressKey(dialog, VK_RETURN);
                if (start == kCheck) {
                    Sleep(200);
                    EXPECT_TRUE(IsWindowVisible(dialog)) << where << ": Enter pressed a hidden button";
                    PostMessageW(dialog, WM_CLOSE, 0, 0);
                }
            });
            EXPECT_EQ(pressedBy(start), atOpen) << where << ": Enter at open";

            const INT32 afterTabs = showWarning(request, [&](HWND dialog) {
                focusedId(dialog, start);
                for (size_t i = 1; i < c.tabCycle.size(); ++i) {
                    pressKey(dialog, VK_TAB);
                    EXPECT_EQ(c.tabCycle[i], focusedId(dialog, c.tabCycle[i])) << where << ": Tab " << i;
                    if (i == 1) {
                        EXPECT_TRUE(leaveAndComeBack(dialog)) << where;
                        EXPECT_EQ(c.tabCycle[1], focusedId(dialog, c.tabCycle[1]))
                            << where << ": the focus after leaving and coming back";
                    }
                }
                pressKey(dialog, VK_TAB, true);
                EXPECT_EQ(back, focusedId(dialog, back)) << where << ": Shift+Tab";
                pressKey(dialog, VK_RETURN);
                if (pressedBy(back) == 2)
                    PostMessageW(dialog, WM_CLOSE, 0, 0);
            });
            EXPECT_EQ(pressedBy(back), afterTabs) << where << ": Enter after Shift+Tab";

            // Each arrow moves along the shown buttons and back round, and leaves the check
            // box where it is: never onto a text, which cannot show the focus.
            std::vector<int> row;
            for (int id : c.tabCycle)
                if (id != kCheck && std::find(row.begin(), row.end(), id) == row.end())
                    row.push_back(id);
            showWarning(request, [&](HWND dialog) {
                for (size_t i = 0; i + 1 < c.tabCycle.size(); ++i) {
                    const int from = c.tabCycle[i];
                    const size_t at = std::find(row.begin(), row.end(), from) - row.begin();
                    for (WPARAM key : {VK_RIGHT, VK_DOWN, VK_LEFT, VK_UP}) {
                        const bool forward = key == VK_RIGHT || key == VK_DOWN;
                        const int expected =
                            from == kCheck ? kCheck : row[(at + (forward ? 1 : row.size() - 1)) % row.size()];
                        EXPECT_EQ(expected, focusAfterArrow(dialog, from, key, expected))
                            << where << ": key " << key << " from " << from;
                    }
                }
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            });
        }
    }
}

TEST(WarningDialog, NothingShownUnlessShowDialogIsExactly1)
{
    for (UINT32 showDialog : {0u, 2u, 0xFFFFFFFFu, 0x101u}) {
        WarningRequest request = warningRequest();
        request.showDialog = showDialog;
        int ticked = -1;
        EXPECT_EQ(0, showNoWarning(request, &ticked)) << "showDialog " << showDialog;
        EXPECT_EQ(0, ticked) << "no dialog, no ticked box";
    }
}

TEST(WarningDialog, MirroredTemplateForRightToLeftLanguagesOnly)
{
    for (LANGID language : {LANGID{0x0401}, LANGID{0x040D}, LANGID{0x0801}, LANGID{0x0429}, LANGID{0x0420},
                            LANGID{0x0409}, LANGID{0x0407}}) {
        UserLanguage user(language);
        const bool rightToLeft = language != 0x0409 && language != 0x0407;
        showWarning(warningRequest(), [&](HWND dialog) {
            const bool mirrored = (GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
            EXPECT_EQ(rightToLeft, mirrored) << "language 0x" << std::hex << language;
            EXPECT_EQ(L"&Retry", itemText(dialog, IDOK)) << "English strings by fallback";
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
    }
}

TEST(WarningDialog, OwnedByTheForegroundWindow)
{
    HWND foreground = CreateWindowExW(0, L"STATIC", L"driver window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      10, 10, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, foreground);
    SetForegroundWindow(foreground);
    ASSERT_EQ(foreground, GetForegroundWindow());
    showWarning(warningRequest(), [&](HWND dialog) {
        EXPECT_EQ(foreground, GetWindow(dialog, GW_OWNER));
        EXPECT_FALSE(IsWindowEnabled(foreground)) << "modal to its owner";
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(IsWindowEnabled(foreground)) << "owner usable again after the warning";
    DestroyWindow(foreground);
}

// Not reachable through the export: a dialog made without an instance sets nothing up,
// its buttons do nothing and only closing ends it.
TEST(WarningDialog, WithoutInstanceOnlyClosingEndsIt)
{
    INT_PTR result = 0;
    {
        DialogWatcher watcher([](HWND dialog) {
            EXPECT_EQ(L"", windowText(dialog));
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_WARNING_CHECK))) << "as the template made it";
            for (int id : {IDOK, IDCANCEL, IDC_WARNING_THIRD})
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            EXPECT_TRUE(IsWindowVisible(dialog)) << "buttons do nothing without an instance";
            PostMessageW(dialog, WM_CLOSE, 0, 0);
            endIfStillOpen(dialog);
        });
        HWND noOwner = nullptr;
        result = DialogBoxParamW(libraryModule(), MAKEINTRESOURCEW(IDD_WARNING), noOwner,
                                 warningDialogProc, 0);
        EXPECT_TRUE(watcher.sawDialog());
    }
    EXPECT_EQ(2, result);
}
