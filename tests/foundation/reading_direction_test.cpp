#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/reading_direction.h"

TEST(ReadingDirection, FirstStrongCharacterDecides)
{
    struct Case {
        const wchar_t* text;
        ReadingDirection first;
    };
    const ReadingDirection L = ReadingDirection::LeftToRight, R = ReadingDirection::RightToLeft,
                           N = ReadingDirection::Neutral;
    const Case cases[] = {
        {L"\x05E9\x05DD \x05DE\x05E9\x05EA\x05DE\x05E9:", R},  // Hebrew label, colon last
        {L"\x0627\x0633\x0645 abc", R},                         // Arabic, then Latin
        {L"jsmith", L},
        {L"Report(1-99)", L},
        {L"(1-99)Report", L},
        {L"", N},
        {L"1. ", N},
        {L"3 \x05E2\x05D1\x05E8\x05D9\x05EA", R},              // digit first, then Hebrew
        {L"42 pages", L},
        {L"\x0661\x0662 \x0645", R},                            // Arabic-Indic digits are neutral
        {L"\xD802\xDD00", R},                                   // Phoenician, a surrogate pair
        {L"\xDC00 x", L},                                       // a lone surrogate is passed over
        {L"\xDC00\x05D0", R},                                   // and never taken for a letter
        {L"Report \x05E9\x05DC\x05D5\x05DD", L},               // the first strong one, not any
        {L"\x2067\x05D0\x2069" L"abc", L},                     // an isolate decides nothing
        {L"\x2066" L"abc\x2069\x05D0", R},
        {L"\x2067\x2066" L"a\x2069\x05D0\x2069" L"b", L},        // nested: to the matching PDI
        {L"\x2068\x05D0", N},                                  // left open: to the end
        {L"\x2069\x05D0", R},                                  // a PDI alone closes nothing
        {L"\x200F" L"abc", R},                                  // a right-to-left mark
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.first, firstStrongDirection(c.text, 64)) << testing::PrintToString(std::wstring(c.text));
        const bool ownRtl = c.first == R;
        EXPECT_EQ(c.first == N || ownRtl, readsRightToLeft(c.text, 64, 1)) << "mirrored dialog";
        EXPECT_EQ(ownRtl, readsRightToLeft(c.text, 64, 0)) << "left-to-right dialog";
    }
    EXPECT_EQ(N, firstStrongDirection(L"12 abc", 3)) << "nothing read past the capacity";
}

// The ranges agree with the system's own direction classes wherever it calls a character
// strong or neutral, in the blocks of the scripts translators bring.
TEST(ReadingDirection, AgreesWithTheSystemsClasses)
{
    const struct { char32_t first, last; } blocks[] = {
        {0x0020, 0x08FF}, {0x2000, 0x2BFF}, {0x3000, 0x303F}, {0x3040, 0x30FF}, {0xAC00, 0xAC40},
        {0xFB1D, 0xFEFE}, {0xFF00, 0xFFEF}};
    for (const auto& block : blocks) {
        for (char32_t point = block.first; point <= block.last; ++point) {
            const WCHAR unit = static_cast<WCHAR>(point);
            WORD type = 0;
            GetStringTypeW(CT_CTYPE2, &unit, 1, &type);
            if (type == C2_NOTAPPLICABLE)
                continue;
            const ReadingDirection expected = type == C2_LEFTTORIGHT   ? ReadingDirection::LeftToRight
                                              : type == C2_RIGHTTOLEFT ? ReadingDirection::RightToLeft
                                                                       : ReadingDirection::Neutral;
            EXPECT_EQ(expected, directionOfCodePoint(point)) << "U+" << std::hex << unsigned(point);
        }
    }
}
