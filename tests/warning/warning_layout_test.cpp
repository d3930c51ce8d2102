#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "warning/warning_layout.h"

namespace {

ControlRect rectAt(int32_t left, int32_t top, int32_t width, int32_t height)
{
    return {left, top, left + width, top + height, width, height};
}

// Pixel sizes as a dialog of the templates has them at 96 dpi; the message is 49 high with
// its bottom at 67, the check box 15 high and the dialog window 176 high.
WarningRects workedExample()
{
    WarningRects measured = {};
    measured.message = rectAt(21, 18, 420, 49);
    measured.dialog = rectAt(300, 250, 465, 176);
    measured.thirdButton = rectAt(366, 101, 75, 23);
    measured.checkBox = rectAt(51, 80, 357, 15);
    measured.okButton = rectAt(140, 101, 75, 23);
    measured.cancelButton = rectAt(243, 101, 92, 23);
    return measured;
}

void expectRect(const ControlRect& expected, const ControlRect& actual, const char* what)
{
    EXPECT_EQ(expected.left, actual.left) << what << ": left";
    EXPECT_EQ(expected.top, actual.top) << what << ": top";
    EXPECT_EQ(expected.right, actual.right) << what << ": right";
    EXPECT_EQ(expected.bottom, actual.bottom) << what << ": bottom";
    EXPECT_EQ(expected.width, actual.width) << what << ": width";
    EXPECT_EQ(expected.height, actual.height) << what << ": height";
}

} // namespace

TEST(WarningLayout, WorkedExampleGrowsMessageAndDialogAndClosesBothGaps)
{
    WarningRects targets = {};
    ASSERT_TRUE(growthTargets(151, workedExample(), targets));
    expectRect(rectAt(21, 18, 420, 149), targets.message, "message");
    expectRect(rectAt(300, 250, 465, 276), targets.dialog, "dialog");
    expectRect(rectAt(51, 167, 357, 15), targets.checkBox, "check box");
    expectRect(rectAt(140, 182, 75, 23), targets.okButton, "IDOK");
    expectRect(rectAt(243, 182, 92, 23), targets.cancelButton, "IDCANCEL");
    expectRect(rectAt(366, 182, 75, 23), targets.thirdButton, "third button");
}

TEST(WarningLayout, OnlyMessagesOver150UnitsGrow)
{
    const WarningRects measured = workedExample();
    for (size_t units : {size_t{0}, size_t{1}, size_t{150}}) {
        WarningRects targets = {};
        EXPECT_FALSE(growthTargets(units, measured, targets)) << units << " units";
        expectRect(ControlRect{}, targets.message, "untouched when nothing moves");
    }
    for (size_t units : {size_t{151}, size_t{1023}, size_t{1024}}) {
        WarningRects targets = {};
        EXPECT_TRUE(growthTargets(units, measured, targets)) << units << " units";
        EXPECT_EQ(149, targets.message.height) << units << " units: one step of 100, never more";
        EXPECT_EQ(276, targets.dialog.height) << units << " units";
    }
}

TEST(WarningLayout, TopsFollowTheMeasuredEdgesInSinglePrecision)
{
    struct Case {
        const char* what;
        int32_t messageBottom, checkBoxHeight;
        int32_t checkBoxTop, buttonTop;
    };
    const Case cases[] = {
        {"zero-height check box: buttons right under the message", 67, 0, 167, 167},
        {"dialog partly above the screen", -150, 15, -50, -35},
        {"exact below 2^24", 16777000, 1, 16777100, 16777101},
        {"past 2^24 the float rounds", 16777217, 1, 16777316, 16777316},
    };
    for (const Case& c : cases) {
        WarningRects measured = workedExample();
        measured.message = rectAt(21, c.messageBottom - 49, 420, 49);
        measured.checkBox = rectAt(51, 80, 357, c.checkBoxHeight);
        WarningRects targets = {};
        ASSERT_TRUE(growthTargets(300, measured, targets)) << c.what;
        EXPECT_EQ(c.checkBoxTop, targets.checkBox.top) << c.what;
        EXPECT_EQ(c.buttonTop, targets.okButton.top) << c.what;
        EXPECT_EQ(c.buttonTop, targets.cancelButton.top) << c.what;
        EXPECT_EQ(c.buttonTop, targets.thirdButton.top) << c.what;
    }
}

TEST(WarningLayout, EdgesAtTheEndOfTheIntRangeSaturateInsteadOfWrapping)
{
    WarningRects measured = workedExample();
    measured.message = {21, INT32_MAX - 49, 441, INT32_MAX, 420, 49};
    measured.dialog = {300, 250, 765, INT32_MAX, 465, INT32_MAX - 50};
    WarningRects targets = {};
    ASSERT_TRUE(growthTargets(300, measured, targets));
    EXPECT_EQ(149, targets.message.height);
    EXPECT_EQ(INT32_MAX, targets.message.bottom) << "top plus the grown height";
    EXPECT_EQ(INT32_MAX, targets.dialog.height) << "height plus 100";
    EXPECT_EQ(INT32_MAX, targets.dialog.bottom);
    EXPECT_EQ(INT32_MAX, targets.checkBox.bottom) << "moved below the message";
    EXPECT_EQ(INT32_MAX, targets.okButton.bottom);
}

TEST(WarningLayout, MessageUnitsStopAtTheFirstNulOrTheField)
{
    std::wstring text(1024, L'm');
    EXPECT_EQ(1024u, messageUnits(text.c_str(), 1024)) << "never past the field";
    text[100] = L'\0';
    EXPECT_EQ(100u, messageUnits(text.c_str(), 1024)) << "text after the NUL does not count";
    const wchar_t clef[] = L"ab\xD834\xDD1E";  // U+1D11E: one character, two units
    EXPECT_EQ(4u, messageUnits(clef, 1024));
    EXPECT_EQ(0u, messageUnits(L"", 1024));
}
