// The six dialog templates as built into the DLL, read back byte by byte and opened as
// real dialogs. The tables below are written out independently of the resource script.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "library_resources.h"
#include "template_reader.h"

namespace {

constexpr WORD kButton = 0x80;
constexpr WORD kEdit = 0x81;
constexpr WORD kStatic = 0x82;

constexpr DWORD kCommonDialogStyles = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kEditValueBox = WS_BORDER | WS_GROUP | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY;

struct ExpectedControl {
    int id;
    WORD classOrdinal;
    DWORD styles;  // beyond WS_CHILD | WS_VISIBLE, which every control carries
    short x, y, cx, cy;
    DWORD exStyle;
    const char* role;
};

struct ExpectedTemplate {
    WORD id;
    bool rightToLeft;
    DWORD styles;
    short cx, cy;
    const std::vector<ExpectedControl>* controls;
};

const std::vector<ExpectedControl> kDuplexControls = {
    {1001, kStatic, SS_CENTER | SS_SUNKEN, 14, 20, 345, 28, 0, "introduction"},
    {1009, kButton, BS_GROUPBOX, 14, 62, 112, 140, 0, "step 1 box"},
    {1021, kStatic, SS_LEFT, 18, 72, 8, 10, 0, "step 1 number"},
    {1002, kStatic, SS_LEFT, 29, 72, 85, 65, 0, "step 1 text"},
    {1005, kStatic, WS_DISABLED | SS_LEFT, 18, 138, 105, 62, 0, "step 1 picture frame"},
    {1000, kButton, BS_GROUPBOX, 131, 62, 112, 140, 0, "step 2 box"},
    {1022, kStatic, SS_LEFT, 135, 72, 8, 10, 0, "step 2 number"},
    {1003, kStatic, SS_LEFT, 146, 72, 85, 64, 0, "step 2 text"},
    {1006, kStatic, WS_DISABLED | SS_LEFT, 135, 138, 105, 62, 0, "step 2 picture frame"},
    {1007, kButton, BS_GROUPBOX, 248, 62, 112, 140, 0, "step 3 box"},
    {1023, kStatic, SS_LEFT, 252, 72, 8, 10, 0, "step 3 number"},
    {1004, kStatic, SS_LEFT, 263, 72, 85, 65, 0, "step 3 text"},
    {1008, kStatic, WS_DISABLED | SS_LEFT, 252, 138, 105, 62, 0, "step 3 picture frame"},
    {1, kButton, WS_TABSTOP | BS_DEFPUSHBUTTON, 248, 210, 50, 14, 0, "OK"},
    {1027, kButton, WS_TABSTOP | BS_PUSHBUTTON, 311, 210, 50, 14, 0, "Help"},
};

const std::vector<ExpectedControl> kJobStorageControls = {
    {-1, kButton, BS_GROUPBOX, 3, 1, 194, 53, 0, "upper box"},
    {1024, kEdit, WS_GROUP | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY, 5, 9, 190, 12, 0, "location heading"},
    {1014, kStatic, WS_GROUP | SS_LEFT, 23, 22, 162, 8, 0, "location line 1"},
    {1015, kStatic, WS_GROUP | SS_LEFT, 23, 33, 162, 8, 0, "location line 2"},
    {1016, kStatic, WS_GROUP | SS_LEFT, 23, 42, 162, 8, 0, "location line 3"},
    {-1, kButton, BS_GROUPBOX, 3, 55, 194, 40, 0, "lower box"},
    {1018, kStatic, WS_GROUP | SS_LEFT, 16, 64, 56, 8, 0, "user name label"},
    {1025, kEdit, kEditValueBox, 75, 64, 100, 12, 0, "user name"},
    {1019, kStatic, WS_GROUP | SS_LEFT, 16, 78, 56, 8, 0, "job name label"},
    {1026, kEdit, kEditValueBox, 75, 78, 100, 12, 0, "job name"},
    {1017, kButton, WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX, 6, 99, 188, 8, 0, "check box"},
    {1, kButton, WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 87, 111, 50, 14, 0, "OK"},
    {1020, kButton, WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 143, 111, 50, 14, 0, "Help"},
};

// The mirrored notice: narrower boxes, centred heading and location lines, and the three
// edit controls reading right to left.
const std::vector<ExpectedControl> kJobStorageRtlControls = {
    {-1, kButton, BS_GROUPBOX, 6, 1, 188, 53, 0, "upper box"},
    {1024, kEdit, WS_GROUP | ES_CENTER | ES_AUTOHSCROLL | ES_READONLY, 9, 9, 182, 12, WS_EX_RTLREADING,
        "location heading"},
    {1014, kStatic, WS_GROUP | SS_CENTER, 10, 21, 179, 8, 0, "location line 1"},
    {1015, kStatic, WS_GROUP | SS_CENTER, 10, 31, 179, 8, 0, "location line 2"},
    {1016, kStatic, WS_GROUP | SS_CENTER, 10, 41, 179, 8, 0, "location line 3"},
    {-1, kButton, BS_GROUPBOX, 6, 55, 188, 40, 0, "lower box"},
    {1018, kStatic, WS_GROUP | SS_LEFT, 16, 64, 56, 8, 0, "user name label"},
    {1025, kEdit, kEditValueBox, 75, 64, 100, 12, WS_EX_RTLREADING, "user name"},
    {1019, kStatic, WS_GROUP | SS_LEFT, 16, 78, 56, 8, 0, "job name label"},
    {1026, kEdit, kEditValueBox, 75, 78, 100, 12, WS_EX_RTLREADING, "job name"},
    {1017, kButton, WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX, 6, 99, 188, 8, 0, "check box"},
    {1, kButton, WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 87, 111, 50, 14, 0, "OK"},
    {1020, kButton, WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 143, 111, 50, 14, 0, "Help"},
};

const std::vector<ExpectedControl> kWarningControls = {
    {285, kButton, WS_TABSTOP | BS_PUSHBUTTON, 244, 62, 50, 14, 0, "third button"},
    {475, kButton, WS_TABSTOP | BS_AUTOCHECKBOX, 34, 49, 238, 9, 0, "check box"},
    {476, kStatic, WS_GROUP | SS_LEFT, 15, 9, 33, 26, 0, "spare static"},
    {1033, kStatic, WS_GROUP | SS_LEFT, 14, 11, 280, 30, 0, "message"},
    {2, kButton, WS_TABSTOP | BS_PUSHBUTTON, 162, 62, 61, 14, 0, "IDCANCEL button"},
    {1, kButton, WS_TABSTOP | BS_PUSHBUTTON, 93, 62, 50, 14, 0, "IDOK button"},
};

const ExpectedTemplate kTemplates[] = {
    {101, false, kCommonDialogStyles, 377, 236, &kDuplexControls},
    {104, true, kCommonDialogStyles, 377, 236, &kDuplexControls},
    {102, false, kCommonDialogStyles | WS_VISIBLE, 200, 130, &kJobStorageControls},
    {103, true, kCommonDialogStyles | WS_VISIBLE, 200, 130, &kJobStorageRtlControls},
    {261, false, kCommonDialogStyles | DS_CENTER, 306, 86, &kWarningControls},
    {263, true, kCommonDialogStyles | DS_CENTER, 306, 86, &kWarningControls},
};

// Styles compare as hexadecimal text, so that a failure shows which flags differ.
std::string hex(DWORD value)
{
    char text[16] = {};
    snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

const char* className(WORD ordinal)
{
    switch (ordinal) {
    case kButton: return "Button";
    case kEdit: return "Edit";
    case kStatic: return "Static";
    default: return "?";
    }
}

// Reads the template; false (with a failure recorded) when it is missing or cut short.
bool readTemplate(HMODULE module, WORD id, DialogTemplate& dialog)
{
    const ResourceBytes bytes = findResourceBytes(module, RT_DIALOG, id);
    if (!bytes.data) {
        ADD_FAILURE() << "template " << id << ": no RT_DIALOG resource under language 0x0409";
        return false;
    }
    if (!readDialogTemplate(bytes.data, bytes.size, dialog)) {
        ADD_FAILURE() << "template " << id << ": " << bytes.size << " bytes end inside the template";
        return false;
    }
    // Only padding to the next DWORD may follow the last item.
    EXPECT_LT(bytes.size - dialog.bytesUsed, 4u)
        << "template " << id << ": " << bytes.size << " bytes, items end at " << dialog.bytesUsed;
    return true;
}

INT_PTR CALLBACK inertDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

std::vector<HWND> childrenInOrder(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

} // namespace

TEST(DialogTemplates, HeadersAreTextFreeInShellDlgWithTheirStylesAndSizes)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    for (const ExpectedTemplate& expected : kTemplates) {
        DialogTemplate dialog;
        if (!readTemplate(library.module(), expected.id, dialog))
            continue;
        const WORD id = expected.id;
        EXPECT_EQ(hex(expected.styles), hex(dialog.style)) << "template " << id << ": dialog styles";
        EXPECT_EQ(0, dialog.x) << "template " << id;
        EXPECT_EQ(0, dialog.y) << "template " << id;
        EXPECT_EQ(expected.cx, dialog.cx) << "template " << id << ": width";
        EXPECT_EQ(expected.cy, dialog.cy) << "template " << id << ": height";
        EXPECT_TRUE(dialog.menu.isNone()) << "template " << id << ": menu ordinal " << dialog.menu.ordinal;
        EXPECT_TRUE(dialog.windowClass.isNone())
            << "template " << id << ": class ordinal " << dialog.windowClass.ordinal;
        EXPECT_EQ(L"", dialog.title) << "template " << id << ": caption";
        EXPECT_TRUE(dialog.hasFont) << "template " << id;
        EXPECT_EQ(8, dialog.pointSize) << "template " << id << ": font size";
        EXPECT_EQ(L"MS Shell Dlg", dialog.face) << "template " << id << ": font face";
        EXPECT_EQ(expected.controls->size(), dialog.controls.size()) << "template " << id << ": controls";
    }
}

TEST(DialogTemplates, LeftToRightOnesArePlainDialogs)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    for (const ExpectedTemplate& expected : kTemplates) {
        DialogTemplate dialog;
        if (expected.rightToLeft || !readTemplate(library.module(), expected.id, dialog))
            continue;
        EXPECT_FALSE(dialog.extended) << "template " << expected.id << " is DIALOGEX";
        EXPECT_EQ(hex(0), hex(dialog.exStyle)) << "template " << expected.id << ": extended style";
    }
}

TEST(DialogTemplates, RightToLeftOnesAreDialogExWithLayoutRtl)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    for (const ExpectedTemplate& expected : kTemplates) {
        DialogTemplate dialog;
        if (!expected.rightToLeft || !readTemplate(library.module(), expected.id, dialog))
            continue;
        const WORD id = expected.id;
        ASSERT_TRUE(dialog.extended) << "template " << id << " is a plain DIALOG";
        EXPECT_EQ(1, dialog.version) << "template " << id;
        EXPECT_EQ(0xFFFF, dialog.signature) << "template " << id;
        EXPECT_EQ(0u, dialog.helpId) << "template " << id << ": help id";
        EXPECT_EQ(hex(WS_EX_LAYOUTRTL), hex(dialog.exStyle)) << "template " << id << ": extended style";
        EXPECT_EQ(0, dialog.weight) << "template " << id << ": font weight";
        EXPECT_EQ(0, dialog.italic) << "template " << id << ": italic";
        EXPECT_EQ(DEFAULT_CHARSET, dialog.charset) << "template " << id << ": character set";
        for (size_t i = 0; i < dialog.controls.size(); ++i)
            EXPECT_EQ(0u, dialog.controls[i].helpId) << "template " << id << ", control " << i << ": help id";
    }
}

TEST(DialogTemplates, ControlsMatchTheTablesInOrder)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    for (const ExpectedTemplate& expected : kTemplates) {
        DialogTemplate dialog;
        if (!readTemplate(library.module(), expected.id, dialog))
            continue;
        const size_t count = std::min(expected.controls->size(), dialog.controls.size());
        for (size_t i = 0; i < count; ++i) {
            const ExpectedControl& want = (*expected.controls)[i];
            const TemplateControl& got = dialog.controls[i];
            const std::string where = "template " + std::to_string(expected.id) + ", control " +
                std::to_string(i) + " (" + want.role + ")";
            // A plain template stores 16-bit ids, so -1 comes back as 0xFFFF there.
            const DWORD id = dialog.extended ? static_cast<DWORD>(want.id) : static_cast<WORD>(want.id);
            EXPECT_EQ(id, got.id) << where << ": id";
            EXPECT_TRUE(got.windowClass.isOrdinal) << where << ": class given by name";
            EXPECT_EQ(want.classOrdinal, got.windowClass.ordinal)
                << where << ": class, expected " << className(want.classOrdinal);
            EXPECT_EQ(hex(WS_CHILD | WS_VISIBLE | want.styles), hex(got.style)) << where << ": styles";
            EXPECT_EQ(hex(want.exStyle), hex(got.exStyle)) << where << ": extended style";
            EXPECT_EQ(want.x, got.x) << where << ": x";
            EXPECT_EQ(want.y, got.y) << where << ": y";
            EXPECT_EQ(want.cx, got.cx) << where << ": width";
            EXPECT_EQ(want.cy, got.cy) << where << ": height";
            EXPECT_TRUE(got.text.isNone()) << where << ": text";
            EXPECT_EQ(0, got.creationDataSize) << where << ": creation data";
        }
    }
}

namespace {

// Creates the template as a dialog with a procedure that does nothing; null, with a
// failure recorded, when the system cannot.
HWND openTemplate(HMODULE library, WORD id)
{
    HWND dialog = CreateDialogParamW(library, MAKEINTRESOURCEW(id), nullptr, inertDialogProc, 0);
    if (!dialog)
        ADD_FAILURE() << "template " << id << ": CreateDialogParamW failed, error " << GetLastError();
    return dialog;
}

} // namespace

TEST(DialogTemplates, OpenAsDialogsWithTheirControlsInOrder)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    for (const ExpectedTemplate& expected : kTemplates) {
        const WORD id = expected.id;
        HWND dialog = openTemplate(library.module(), id);
        if (!dialog)
            continue;
        const LONG_PTR exStyle = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
        EXPECT_EQ(expected.rightToLeft, (exStyle & WS_EX_LAYOUTRTL) != 0)
            << "template " << id << ": extended style 0x" << std::hex << exStyle;
        EXPECT_EQ((expected.styles & WS_VISIBLE) != 0, IsWindowVisible(dialog) != FALSE)
            << "template " << id << ": visible on creation";
        const std::vector<HWND> children = childrenInOrder(dialog);
        EXPECT_EQ(expected.controls->size(), children.size()) << "template " << id << ": children";
        const size_t count = std::min(expected.controls->size(), children.size());
        for (size_t i = 0; i < count; ++i) {
            const ExpectedControl& want = (*expected.controls)[i];
            // Compared in 16 bits: a plain template cannot say whether its 0xFFFF means -1.
            EXPECT_EQ(static_cast<WORD>(want.id), static_cast<WORD>(GetDlgCtrlID(children[i])))
                << "template " << id << ", child " << i << " (" << want.role << "): id";
            // Class names come back in whatever case the system registered them.
            wchar_t name[32] = {};
            GetClassNameW(children[i], name, 32);
            CharLowerW(name);
            std::string expectedName = className(want.classOrdinal);
            std::transform(expectedName.begin(), expectedName.end(), expectedName.begin(), ::tolower);
            EXPECT_EQ(expectedName, std::string(name, name + wcslen(name)))
                << "template " << id << ", child " << i << " (" << want.role << "): class";
            EXPECT_EQ((want.exStyle & WS_EX_RTLREADING) != 0,
                (GetWindowLongPtrW(children[i], GWL_EXSTYLE) & WS_EX_RTLREADING) != 0)
                << "template " << id << ", child " << i << " (" << want.role << "): right-to-left reading";
        }
        EXPECT_TRUE(DestroyWindow(dialog)) << "template " << id;
    }
}

// Mirroring puts whatever stands left of another control in the template to its right on
// screen; checked for every pair of controls whose columns do not overlap.
TEST(DialogTemplates, OpenLaidOutLeftToRightOrMirrored)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    for (const ExpectedTemplate& expected : kTemplates) {
        const WORD id = expected.id;
        HWND dialog = openTemplate(library.module(), id);
        if (!dialog)
            continue;
        const std::vector<ExpectedControl>& controls = *expected.controls;
        const std::vector<HWND> children = childrenInOrder(dialog);
        EXPECT_EQ(controls.size(), children.size()) << "template " << id << ": children";
        int pairs = 0, misplaced = 0;
        for (size_t a = 0; a < controls.size() && a < children.size(); ++a) {
            for (size_t b = 0; b < controls.size() && b < children.size(); ++b) {
                if (controls[a].x + controls[a].cx > controls[b].x)
                    continue;
                RECT first = {}, second = {};
                GetWindowRect(children[a], &first);
                GetWindowRect(children[b], &second);
                ++pairs;
                const bool inPlace = expected.rightToLeft ? first.left >= second.right : first.right <= second.left;
                // One message per template is enough to see which way it went.
                if (!inPlace && misplaced++ == 0)
                    ADD_FAILURE() << "template " << id << ": " << controls[a].role << " (screen x " << first.left
                                  << " to " << first.right << ") should stand "
                                  << (expected.rightToLeft ? "right" : "left") << " of " << controls[b].role
                                  << " (screen x " << second.left << " to " << second.right << ")";
            }
        }
        EXPECT_GT(pairs, 0) << "template " << id;
        EXPECT_EQ(0, misplaced) << "template " << id << ": control pairs on the wrong side of each other";
        EXPECT_TRUE(DestroyWindow(dialog)) << "template " << id;
    }
}
