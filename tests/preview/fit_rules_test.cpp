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
    const FitCase cases[] = {
        {"static: exactly its size fits", staticTextOverflow({85, 65}, {85, 65}), 0, 0},
        {"static: a wrapped line more than shows", staticTextOverflow({85, 65}, {85, 78}), 0, 13},
        {"static: one word wider than the control", staticTextOverflow({56, 13}, {60, 13}), 4, 0},
        {"push button: label as wide as the face", pushButtonOverflow({75, 23}, {71, 13}, 2), 0, 0},
        {"push button: one pixel past the face", pushButtonOverflow({75, 23}, {72, 13}, 2), 1, 0},
        {"push button: taller than the face", pushButtonOverflow({75, 16}, {40, 13}, 2), 0, 1},
        {"check box: the box and half a digit come off", checkBoxOverflow({357, 15}, {341, 13}, 13, 7), 0, 0},
        {"check box: a pixel past the box and gap", checkBoxOverflow({357, 15}, {342, 13}, 13, 7), 1, 0},
        {"check box at 150 %: bigger box", checkBoxOverflow({536, 22}, {513, 19}, checkBoxWidth(144), 10), 1, 0},
        {"edit: margins come off, height never counts", editOverflow({285, 12}, {282, 20}, 1, 2), 0, 0},
        {"edit: past the right margin", editOverflow({285, 12}, {283, 13}, 1, 2), 1, 0},
    };
    for (const FitCase& c : cases)
        expectOverflows(c);
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
