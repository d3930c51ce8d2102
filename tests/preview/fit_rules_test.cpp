#include <gtest/gtest.h>

#include "../../preview/fit_rules.h"

// The check's rules over measured values, at their boundaries.
namespace {

struct FitCase {
    const char* what;
    Overflow over;
    int width, height;
};

void expectOverflows(const FitCase& c)
{
    EXPECT_EQ(c.width, c.over.width) << c.what;
    EXPECT_EQ(c.height, c.over.height) << c.what;
    EXPECT_EQ(c.width == 0 && c.height == 0, c.over.fits()) << c.what;
}

} // namespace

TEST(FitRules, EachKindOfControlGivesItsTextItsOwnRoom)
{
    const RECT face = pushButtonArea({75, 23}, 2);
    const RECT label = checkBoxArea({357, 15}, 13, 7);
    const FitCase cases[] = {
        {"ink exactly in the area fits", inkOverflow({0, 0, 85, 65}, {0, 0, 85, 65}, 96), 0, 0},
        {"nothing drawn fits", inkOverflow({0, 0, 85, 65}, {}, 96), 0, 0},
        {"a letter's last pixel past the right edge", inkOverflow({0, 0, 128, 96}, {0, 2, 129, 22}, 96), 1, 0},
        {"a line's first pixel before the left edge: the bearing", inkOverflow({0, 0, 128, 96}, {-1, 2, 120, 22}, 96), 0, 0},
        {"two pixels before the left edge", inkOverflow({0, 0, 128, 96}, {-2, 2, 120, 22}, 96), 1, 0},
        {"two pixels before it at 150 %: the bearing", inkOverflow({0, 0, 365, 30}, {-2, 2, 120, 28}, 144), 0, 0},
        {"three pixels before it at 150 %", inkOverflow({0, 0, 365, 30}, {-3, 2, 120, 28}, 144), 1, 0},
        {"a centred line cut on both sides, the farther counts", inkOverflow({0, 0, 516, 40}, {-45, 1, 565, 24}, 96), 49, 0},
        {"a wrapped line below", inkOverflow({0, 0, 85, 65}, {0, 2, 80, 78}, 96), 0, 13},
        {"push button: ink as wide as the face", inkOverflow(face, {2, 6, 73, 16}, 96), 0, 0},
        {"push button: one pixel past the face", inkOverflow(face, {2, 6, 74, 16}, 96), 1, 0},
        {"push button: taller than the face", inkOverflow(pushButtonArea({75, 16}, 2), {20, 2, 40, 15}, 96), 0, 1},
        {"check box: the box and half a digit come off", inkOverflow(label, {16, 1, 357, 14}, 96), 0, 0},
        {"check box: over the box's gap", inkOverflow(label, {14, 1, 300, 14}, 96), 1, 0},
        {"check box at 150 %: bigger box", inkOverflow(checkBoxArea({536, 22}, checkBoxWidth(144), 10), {21, 1, 500, 20}, 144), 1, 0},
        {"edit: margins come off, height never counts", editOverflow({285, 12}, {282, 20}, 1, 2), 0, 0},
        {"edit: past the right margin", editOverflow({285, 12}, {283, 13}, 1, 2), 1, 0},
    };
    for (const FitCase& c : cases)
        expectOverflows(c);
}

TEST(FitRules, JoinedTextsNameThePartThatLeavesTheControl)
{
    const RECT shown = {0, 0, 128, 98};
    EXPECT_EQ(-1, partLeaving(shown, {{0, 2, 120, 30}, {0, 34, 128, 96}}, 96));
    EXPECT_EQ(1, partLeaving(shown, {{0, 2, 120, 30}, {0, 34, 125, 106}}, 96)) << "the second runs out below";
    EXPECT_EQ(0, partLeaving(shown, {{0, 2, 132, 30}, {0, 34, 125, 106}}, 96)) << "the first leaves first";
}

TEST(FitRules, StringsCutAtTheDialogsBuffer)
{
    const struct {
        unsigned length, cut;
    } cases[] = {{1, 0}, {255, 0}, {256, 1}, {300, 45}, {65535, 65280}};
    for (const auto& c : cases)
        EXPECT_EQ(c.cut, unitsCut(c.length)) << c.length << " units";
}

TEST(FitRules, CharactersAreNamedByScriptAndUnshapedAsThisWineDrawsThem)
{
    // unshaped: drawn by the control's own font, and through a linked font.
    const struct {
        wchar_t c;
        const wchar_t* script;
        bool ownFont, linked;
    } cases[] = {{L'A', L"Latin", 0, 0},        {0x00E9, L"Latin", 0, 0},     {0x03A9, L"Greek", 0, 0},
                 {0x043D, L"Cyrillic", 0, 0},   {0x05D0, L"Hebrew", 0, 0},    {0x0627, L"Arabic", 0, 1},
                 {0x06CC, L"Arabic", 0, 1},     {0x0915, L"Devanagari", 0, 1}, {0x0964, L"Devanagari", 0, 0}, {0x09BF, L"Bengali", 0, 1},
                 {0x0BCA, L"Tamil", 0, 1},      {0x0E17, L"Thai", 0, 1},      {0x17C2, L"Khmer", 1, 1},
                 {0x10E5, L"Georgian", 0, 0},   {0x0540, L"Armenian", 0, 0},  {0x12A2, L"Ethiopic", 0, 0},
                 {0x3042, L"Hiragana", 0, 0},   {0x30AB, L"Katakana", 0, 0},  {0x4E2D, L"Han", 0, 0},
                 {0xAC00, L"Hangul", 0, 0},     {0xA000, L"Yi", 0, 0},        {0x2603, L"Common", 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(std::wstring(c.script), scriptName(c.c)) << std::hex << unsigned(c.c);
        EXPECT_EQ(c.ownFont, drawnUnshaped(c.c, true)) << std::hex << unsigned(c.c);
        EXPECT_EQ(c.linked, drawnUnshaped(c.c, false)) << std::hex << unsigned(c.c);
    }
    EXPECT_EQ(L"\u4e2d (U+4E2D), \ua000 (U+A000)", quotedCharacters(L"\u4e2d\ua000"));
}

TEST(FitRules, CheckBoxGrowsWithTheScreen)
{
    EXPECT_EQ(13, checkBoxWidth(96));
    EXPECT_EQ(16, checkBoxWidth(120));
    EXPECT_EQ(19, checkBoxWidth(144));
    EXPECT_EQ(25, checkBoxWidth(192));
}

TEST(FitRules, HiddenLinesCountEveryLineCutAnywhere)
{
    const struct {
        int height, lineHeight, lines;
    } cases[] = {{0, 13, 0}, {-5, 13, 0}, {1, 13, 1}, {13, 13, 1}, {14, 13, 2}, {26, 13, 2}, {5, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.lines, hiddenLines(c.height, c.lineHeight)) << c.height << " px over, lines of " << c.lineHeight;
}

TEST(FitRules, StaticTextsDrawAsTheirStyleSays)
{
    EXPECT_EQ(UINT(DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK), staticDrawFlags(SS_LEFT));
    EXPECT_EQ(UINT(DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK), staticDrawFlags(SS_CENTER | SS_SUNKEN));
    EXPECT_EQ(UINT(DT_LEFT | DT_SINGLELINE | DT_NOPREFIX), staticDrawFlags(SS_SIMPLE | SS_NOPREFIX));
    EXPECT_EQ(UINT(DT_LEFT | DT_EXPANDTABS), staticDrawFlags(SS_LEFTNOWORDWRAP));
    EXPECT_EQ(0u, staticDrawFlags(SS_BITMAP)) << "pictures draw no text";
    EXPECT_EQ(0u, staticDrawFlags(SS_ETCHEDFRAME));
    EXPECT_EQ(UINT(DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_RTLREADING), staticDrawFlags(SS_LEFT, WS_EX_RTLREADING));
}

TEST(FitRules, AccessKeys)
{
    const struct {
        const wchar_t* label;
        wchar_t key;
    } cases[] = {{L"&Print", L'P'}, {L"C&ontinue", L'O'}, {L"Save && &quit", L'Q'}, {L"A && B", 0},
                 {L"No key", 0},    {L"Trailing &", 0},   {L"&&&x", L'X'},        {L"\u00e4&\u00fcber", L'\u00dc'}};
    for (const auto& c : cases)
        EXPECT_EQ(c.key, accessKey(c.label)) << "label " << testing::PrintToString(std::wstring(c.label));
}

TEST(FitRules, AccessKeyClashesNameBothControlsOnce)
{
    const std::vector<Label> labels = {
        {285, L"&Anpassen..."}, {475, L"Nicht mehr anzeigen"}, {2, L"&abbrechen"}, {1, L"&Drucken"}, {1027, L"&Anders"}};
    const std::vector<KeyClash> clashes = accessKeyClashes(labels);
    ASSERT_EQ(2u, clashes.size());
    EXPECT_EQ(L'A', clashes[0].key);
    EXPECT_EQ(285, clashes[0].firstControlId);
    EXPECT_EQ(2, clashes[0].controlId);
    EXPECT_EQ(285, clashes[1].firstControlId) << "a third control clashes with the first, not the second";
    EXPECT_EQ(1027, clashes[1].controlId);
    EXPECT_TRUE(accessKeyClashes({{1, L"&OK"}, {2, L"&Cancel"}, {3, L"OK"}}).empty());
}

TEST(FitRules, DrawnCharactersLeaveOutWhatIsNotDrawn)
{
    const struct {
        const wchar_t* text;
        bool prefixes;
        const wchar_t* drawn;
    } cases[] = {
        {L"&Print", true, L"Print"},
        {L"&Print", false, L"&Print"},
        {L"A && B", true, L"A &B"},
        {L"line\r\nline\t", false, L"line"},
        {L"\u200f\u05e9\u05dc\u05d5\u05dd\u202c", false, L"\u05e9\u05dc\u05d5\u05dd"},
        {L"\u5370\u5237(&P)", true, L"\u5370\u5237(P)"},
        {L"\xd83d\xde00!", false, L"!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::wstring(c.drawn), drawnCharacters(c.text, c.prefixes))
            << testing::PrintToString(std::wstring(c.text));
}
