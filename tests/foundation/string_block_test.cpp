#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/string_block.h"

namespace {

// Builds a block from (length, text) entries; `length` may lie about the text.
std::vector<uint16_t> block(std::initializer_list<std::pair<unsigned, std::u16string>> entries)
{
    std::vector<uint16_t> units;
    for (const auto& [length, text] : entries) {
        units.push_back(static_cast<uint16_t>(length));
        units.insert(units.end(), text.begin(), text.end());
    }
    return units;
}

std::u16string found(const std::vector<uint16_t>& units, unsigned index, size_t capacity = 256)
{
    std::vector<uint16_t> buffer(capacity, u'#');
    if (!findStringInBlock(units.data(), units.size(), index, buffer.data(), capacity))
        return u"<not found>";
    std::u16string text;
    for (size_t unit = 0; unit < capacity && buffer[unit] != 0; ++unit)
        text.push_back(static_cast<char16_t>(buffer[unit]));
    return text;
}

} // namespace

TEST(StringBlock, IdsMapToBlockAndEntry)
{
    EXPECT_EQ(1, stringBlockName(0));
    EXPECT_EQ(0u, stringBlockIndex(0));
    EXPECT_EQ(4096, stringBlockName(65535));
    EXPECT_EQ(15u, stringBlockIndex(65535));
    EXPECT_EQ(54, stringBlockName(849));
    EXPECT_EQ(1u, stringBlockIndex(849));
}

TEST(StringBlock, WalksEntriesByTheirLengths)
{
    const auto units = block({{2, u"ab"}, {0, u""}, {3, u"xyz"}});
    EXPECT_EQ(u"ab", found(units, 0));
    EXPECT_EQ(u"<not found>", found(units, 1)) << "an empty entry is an absent string";
    EXPECT_EQ(u"xyz", found(units, 2));
    EXPECT_EQ(u"<not found>", found(units, 3)) << "the block ends before entry 3";
}

TEST(StringBlock, ReportsStoredLengthAndCutsToCapacity)
{
    const std::u16string text(300, u'w');
    const auto units = block({{300, text}});
    std::vector<uint16_t> buffer(256);
    EXPECT_EQ(300u, findStringInBlock(units.data(), units.size(), 0, buffer.data(), 256));
    EXPECT_EQ(std::u16string(255, u'w'), found(units, 0));
}

TEST(StringBlock, StopsAtEmbeddedNul)
{
    const auto units = block({{5, std::u16string(u"Ab\0cd", 5)}});
    EXPECT_EQ(u"Ab", found(units, 0));
}

TEST(StringBlock, LengthRunningPastTheEndIsNotFound)
{
    const auto units = block({{1, u"A"}, {200, u"BC"}});
    EXPECT_EQ(u"A", found(units, 0));
    EXPECT_EQ(u"<not found>", found(units, 1));
    EXPECT_EQ(u"<not found>", found(units, 5)) << "the walk must not go on past a bad length";
    EXPECT_EQ(u"<not found>", found({}, 0)) << "an empty block";
}

TEST(StringBlock, LengthOneUnitPastTheEndIsNotFound)
{
    // Entry 1 claims three units; the block ends after two of them. The third unit is
    // there in memory but not in the block.
    const auto units = block({{1, u"A"}, {3, u"BCD"}});
    std::vector<uint16_t> buffer(256, u'#');
    EXPECT_EQ(0u, findStringInBlock(units.data(), units.size() - 1, 1, buffer.data(), 256));
}

TEST(StringBlock, CopyTextCutKeepsAtMostCapacityLessOne)
{
    const std::u16string text(300, u'd');
    std::u16string buffer(256, u'#');
    copyTextCut(text.c_str(), buffer.data(), 256);
    EXPECT_EQ(0, buffer[255]);
    EXPECT_EQ(u'd', buffer[254]);
}
