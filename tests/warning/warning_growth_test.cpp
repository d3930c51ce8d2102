#include <gtest/gtest.h>

#include "warning_support.h"

namespace {

LONG height(const RECT& rect) { return rect.bottom - rect.top; }
LONG width(const RECT& rect) { return rect.right - rect.left; }

void expectSame(const WarningGeometry& expected, const WarningGeometry& actual, const char* what)
{
    const struct { const char* name; const RECT& expected; const RECT& actual; } windows[] = {
        {"message", expected.message, actual.message},
        {"check box", expected.checkBox, actual.checkBox},
        {"IDOK", expected.okButton, actual.okButton},
        {"IDCANCEL", expected.cancelButton, actual.cancelButton},
        {"third button", expected.thirdButton, actual.thirdButton},
        {"dialog", expected.dialog, actual.dialog}};
    for (const auto& w : windows) {
        EXPECT_EQ(w.expected.left, w.actual.left) << what << ", " << w.name << ": left";
        EXPECT_EQ(w.expected.top, w.actual.top) << what << ", " << w.name << ": top";
        EXPECT_EQ(w.expected.right, w.actual.right) << what << ", " << w.name << ": right";
        EXPECT_EQ(w.expected.bottom, w.actual.bottom) << what << ", " << w.name << ": bottom";
    }
}

// The grown layout against the template's: message and dialog 100 pixels taller, the
// check box on the message's new bottom edge, the buttons on the check box's bottom edge,
// nothing moved sideways or resized otherwise.
void expectGrown(const WarningGeometry& template_, const WarningGeometry& grown, const char* what)
{
    EXPECT_EQ(height(template_.message) + 100, height(grown.message)) << what;
    EXPECT_EQ(template_.message.top, grown.message.top) << what;
    EXPECT_EQ(height(template_.dialog) + 100, height(grown.dialog)) << what;
    EXPECT_EQ(template_.dialog.top, grown.dialog.top) << what << ": grows downward only";
    EXPECT_EQ(template_.dialog.left, grown.dialog.left) << what;
    EXPECT_EQ(width(template_.dialog), width(grown.dialog)) << what;

    const LONG checkBoxTop = template_.message.bottom + 100;
    const LONG buttonTop = checkBoxTop + height(template_.checkBox);
    const struct { const char* name; const RECT& before; const RECT& after; LONG top; } moved[] = {
        {"check box", template_.checkBox, grown.checkBox, checkBoxTop},
        {"IDOK", template_.okButton, grown.okButton, buttonTop},
        {"IDCANCEL", template_.cancelButton, grown.cancelButton, buttonTop},
        {"third button", template_.thirdButton, grown.thirdButton, buttonTop}};
    for (const auto& m : moved) {
        EXPECT_EQ(m.top, m.after.top) << what << ", " << m.name << ": top";
        EXPECT_EQ(height(m.before), height(m.after)) << what << ", " << m.name << ": height";
        EXPECT_EQ(m.before.left, m.after.left) << what << ", " << m.name << ": left";
        EXPECT_EQ(width(m.before), width(m.after)) << what << ", " << m.name << ": width";
    }
}

} // namespace

TEST(WarningGrowth, ShortMessageKeepsTheTemplateLayout)
{
    const WarningGeometry template_ = geometryOf(warningRequest(L""));
    ASSERT_GT(height(template_.message), 0);
    ASSERT_GT(template_.checkBox.top, template_.message.bottom) << "the template leaves a gap";
    expectSame(template_, geometryOf(warningRequest(std::wstring(150, L'a'))), "150 units");

    // Only the units before the first NUL count: 100 units, a NUL, then more text.
    WarningRequest nulInside = warningRequest(std::wstring(1023, L'b'));
    nulInside.messageText[100] = L'\0';
    showWarning(nulInside, [&](HWND dialog) {
        EXPECT_EQ(std::wstring(100, L'b'), itemText(dialog, IDC_WARNING_MESSAGE));
        expectSame(template_, readGeometry(dialog), "NUL after 100 units");
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });

    // U+1D11E is two units: 148 + 2 is 150.
    expectSame(template_, geometryOf(warningRequest(std::wstring(148, L'c') + L"\xD834\xDD1E")),
               "148 units and a surrogate pair");
}

TEST(WarningGrowth, LongMessageGrowsByOneStep)
{
    const WarningGeometry template_ = geometryOf(warningRequest(L""));
    expectGrown(template_, geometryOf(warningRequest(std::wstring(151, L'a'))), "151 units");
    expectGrown(template_, geometryOf(warningRequest(std::wstring(1023, L'a'))), "1023 units");
    expectGrown(template_, geometryOf(warningRequest(std::wstring(149, L'c') + L"\xD834\xDD1E")),
                "149 units and a surrogate pair");
}

TEST(WarningGrowth, HiddenControlsMoveAndKeepTheirSpace)
{
    WarningRequest hidden = warningRequest(L"");
    hidden.showCheckBox = 0;
    hidden.okButtonTextId = 0;
    const WarningGeometry template_ = geometryOf(hidden);
    wcsncpy(hidden.messageText, std::wstring(400, L'a').c_str(), 1023);
    expectGrown(template_, geometryOf(hidden), "check box and IDOK hidden");
}

TEST(WarningGrowth, MirroredLayoutGrowsTheSame)
{
    const WarningGeometry leftToRight = geometryOf(warningRequest(std::wstring(200, L'a')));
    UserLanguage arabic(0x0401);
    const WarningGeometry template_ = geometryOf(warningRequest(L""));
    const WarningGeometry grown = geometryOf(warningRequest(std::wstring(200, L'a')));
    expectGrown(template_, grown, "mirrored");
    const struct { const char* name; const RECT& mirrored; const RECT& plain; } windows[] = {
        {"message", grown.message, leftToRight.message},
        {"check box", grown.checkBox, leftToRight.checkBox},
        {"IDOK", grown.okButton, leftToRight.okButton},
        {"IDCANCEL", grown.cancelButton, leftToRight.cancelButton},
        {"third button", grown.thirdButton, leftToRight.thirdButton}};
    for (const auto& w : windows) {
        EXPECT_EQ(w.plain.top, w.mirrored.top) << w.name << ": same top as left-to-right";
        EXPECT_EQ(w.plain.bottom, w.mirrored.bottom) << w.name << ": same bottom as left-to-right";
    }
}
