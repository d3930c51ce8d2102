// The twenty-nine duplex pictures as built into the DLL: ids, formats, sizes and the
// colour table that the 8-bit ones share.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "library_resources.h"

namespace {

struct BitmapFormat {
    const char* name;
    LONG width, height;
    WORD bitCount;
    DWORD colours;
    DWORD bytesPerRow;
    DWORD resourceSize;
    std::vector<WORD> ids;
};

const BitmapFormat kFormats[] = {
    {"8-bit", 155, 100, 8, 256, 156, 16664,
        {105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 133,
            134, 146, 149, 151, 152}},
    {"4-bit", 155, 100, 4, 16, 80, 8104, {147, 153, 155}},
    {"24-bit", 152, 98, 24, 0, 456, 44728, {154}},
};

const BitmapFormat& eightBit = kFormats[0];

std::vector<WORD> allIds()
{
    std::vector<WORD> ids;
    for (const BitmapFormat& format : kFormats)
        ids.insert(ids.end(), format.ids.begin(), format.ids.end());
    std::sort(ids.begin(), ids.end());
    return ids;
}

BITMAPINFOHEADER headerOf(const ResourceBytes& bytes)
{
    BITMAPINFOHEADER header = {};
    if (bytes.size >= sizeof header)
        std::memcpy(&header, bytes.data, sizeof header);
    return header;
}

RGBQUAD colourAt(const ResourceBytes& bytes, DWORD index)
{
    RGBQUAD colour = {};
    std::memcpy(&colour, bytes.data + sizeof(BITMAPINFOHEADER) + index * sizeof colour, sizeof colour);
    return colour;
}

RGBQUAD rgb(BYTE red, BYTE green, BYTE blue)
{
    RGBQUAD colour = {};
    colour.rgbRed = red;
    colour.rgbGreen = green;
    colour.rgbBlue = blue;
    return colour;
}

// A colour cube, 8 reds by 8 greens by 4 blues, with the twenty static system colours
// laid over its first and last ten entries.
std::vector<RGBQUAD> commonColourTable()
{
    std::vector<RGBQUAD> table;
    for (int i = 0; i < 256; ++i)
        table.push_back(rgb(static_cast<BYTE>(32 * (i % 8)), static_cast<BYTE>(32 * ((i / 8) % 8)),
            static_cast<BYTE>(64 * (i / 64))));
    const RGBQUAD low[10] = {rgb(0, 0, 0), rgb(128, 0, 0), rgb(0, 128, 0), rgb(128, 128, 0), rgb(0, 0, 128),
        rgb(128, 0, 128), rgb(0, 128, 128), rgb(192, 192, 192), rgb(192, 220, 192), rgb(166, 202, 240)};
    const RGBQUAD high[10] = {rgb(255, 251, 240), rgb(160, 160, 164), rgb(128, 128, 128), rgb(255, 0, 0),
        rgb(0, 255, 0), rgb(255, 255, 0), rgb(0, 0, 255), rgb(255, 0, 255), rgb(0, 255, 255),
        rgb(255, 255, 255)};
    std::copy(low, low + 10, table.begin());
    std::copy(high, high + 10, table.begin() + 246);
    return table;
}

} // namespace

TEST(Bitmaps, CarryExactlyTheTwentyNineIds)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    std::vector<WORD> ids = resourceIds(library.module(), RT_BITMAP);
    std::sort(ids.begin(), ids.end());
    const std::vector<WORD> expected = allIds();
    ASSERT_EQ(29u, expected.size());
    EXPECT_EQ(expected, ids) << "bitmap ids in the DLL differ from the twenty-nine pictures";
}

TEST(Bitmaps, HeadersAndSizesMatchTheirFormat)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    for (const BitmapFormat& format : kFormats) {
        for (WORD id : format.ids) {
            const ResourceBytes bytes = findResourceBytes(library.module(), RT_BITMAP, id);
            if (!bytes.data) {
                ADD_FAILURE() << "bitmap " << id << ": no RT_BITMAP resource under language 0x0409";
                continue;
            }
            EXPECT_EQ(format.resourceSize, bytes.size) << "bitmap " << id << " (" << format.name << "): bytes";
            const BITMAPINFOHEADER header = headerOf(bytes);
            EXPECT_EQ(40u, header.biSize) << "bitmap " << id << ": header size";
            EXPECT_EQ(format.width, header.biWidth) << "bitmap " << id << ": width";
            // Positive: rows stored from the bottom up.
            EXPECT_EQ(format.height, header.biHeight) << "bitmap " << id << ": height";
            EXPECT_EQ(1, header.biPlanes) << "bitmap " << id << ": planes";
            EXPECT_EQ(format.bitCount, header.biBitCount) << "bitmap " << id << ": bits per pixel";
            EXPECT_EQ(static_cast<DWORD>(BI_RGB), header.biCompression) << "bitmap " << id << ": compression";
            // The header's own account of the table and the rows must fill the resource
            // exactly, or the pixels are read from the wrong place.
            const DWORD colours = header.biClrUsed != 0 ? header.biClrUsed
                : header.biBitCount <= 8             ? (1u << header.biBitCount)
                                                     : 0u;
            EXPECT_EQ(format.colours, colours) << "bitmap " << id << ": colour table entries";
            const DWORD rowBytes = (static_cast<DWORD>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
            EXPECT_EQ(format.bytesPerRow, rowBytes) << "bitmap " << id << ": bytes per row";
            if (header.biSizeImage != 0)
                EXPECT_EQ(rowBytes * format.height, header.biSizeImage) << "bitmap " << id << ": image size";
            EXPECT_EQ(bytes.size, header.biSize + colours * sizeof(RGBQUAD) + rowBytes * format.height)
                << "bitmap " << id << ": header, table and rows against the resource size";
        }
    }
}

TEST(Bitmaps, EightBitOnesShareTheCommonColourTable)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    const std::vector<RGBQUAD> table = commonColourTable();
    for (WORD id : eightBit.ids) {
        const ResourceBytes bytes = findResourceBytes(library.module(), RT_BITMAP, id);
        if (bytes.size < sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)) {
            ADD_FAILURE() << "bitmap " << id << ": " << bytes.size << " bytes, too short for its table";
            continue;
        }
        int differences = 0;
        for (DWORD i = 0; i < 256 && differences < 5; ++i) {
            const RGBQUAD want = table[i];
            const RGBQUAD got = colourAt(bytes, i);
            if (std::memcmp(&want, &got, sizeof want) == 0)
                continue;
            ++differences;
            ADD_FAILURE() << "bitmap " << id << ", entry " << i << ": expected " << int(want.rgbRed) << "/"
                          << int(want.rgbGreen) << "/" << int(want.rgbBlue) << "/0, got " << int(got.rgbRed)
                          << "/" << int(got.rgbGreen) << "/" << int(got.rgbBlue) << "/" << int(got.rgbReserved);
        }
    }
}

// Sixteen distinct greys, lightest first; "near" read as within a quarter of the range.
TEST(Bitmaps, Bitmap153IsInSixteenGreysFromNearWhiteToNearBlack)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    const ResourceBytes bytes = findResourceBytes(library.module(), RT_BITMAP, 153);
    ASSERT_GE(bytes.size, sizeof(BITMAPINFOHEADER) + 16 * sizeof(RGBQUAD));
    for (DWORD i = 0; i < 16; ++i) {
        const RGBQUAD got = colourAt(bytes, i);
        EXPECT_TRUE(got.rgbRed == got.rgbGreen && got.rgbGreen == got.rgbBlue && got.rgbReserved == 0)
            << "entry " << i << ": " << int(got.rgbRed) << "/" << int(got.rgbGreen) << "/" << int(got.rgbBlue)
            << "/" << int(got.rgbReserved) << " is no grey";
        if (i > 0)
            EXPECT_LT(got.rgbRed, colourAt(bytes, i - 1).rgbRed) << "entry " << i << " is not darker than " << i - 1;
    }
    EXPECT_GE(colourAt(bytes, 0).rgbRed, 192) << "lightest grey";
    EXPECT_LE(colourAt(bytes, 15).rgbRed, 64) << "darkest grey";
}

// The dialog loads its pictures this way; an id without a picture just yields none.
TEST(Bitmaps, LoadThroughLoadBitmapAtTheirSize)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    for (const BitmapFormat& format : kFormats) {
        for (WORD id : format.ids) {
            HBITMAP bitmap = LoadBitmapW(library.module(), MAKEINTRESOURCEW(id));
            if (!bitmap) {
                ADD_FAILURE() << "bitmap " << id << ": LoadBitmapW failed, error " << GetLastError();
                continue;
            }
            BITMAP info = {};
            EXPECT_EQ(static_cast<int>(sizeof info), GetObjectW(bitmap, sizeof info, &info)) << "bitmap " << id;
            EXPECT_EQ(format.width, info.bmWidth) << "bitmap " << id << ": width";
            EXPECT_EQ(format.height, info.bmHeight) << "bitmap " << id << ": height";
            DeleteObject(bitmap);
        }
    }
    HBITMAP unused = LoadBitmapW(library.module(), MAKEINTRESOURCEW(124));
    EXPECT_EQ(nullptr, unused) << "id 124 carries no picture";
    if (unused)
        DeleteObject(unused);
}
