// The version resource as built into the DLL, read as the tree of VS_VERSIONINFO
// nodes that it is (each node: length, value length, type, key, value, children).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "library_resources.h"

namespace {

struct VersionNode {
    std::wstring key;
    WORD type = 0;  // 1 for text, 0 for binary
    std::vector<BYTE> value;
    std::vector<VersionNode> children;
};

WORD wordAt(const BYTE* data, size_t offset)
{
    WORD value = 0;
    std::memcpy(&value, data + offset, sizeof value);
    return value;
}

size_t alignedTo4(size_t offset)
{
    return (offset + 3) / 4 * 4;
}

// Reads the node at `offset` within `end`; false when a length points outside.
bool readVersionNode(const BYTE* data, size_t offset, size_t end, VersionNode& node)
{
    if (offset + 6 > end)
        return false;
    const size_t length = wordAt(data, offset);
    const size_t valueLength = wordAt(data, offset + 2);
    node.type = wordAt(data, offset + 4);
    if (length < 6 || offset + length > end)
        return false;
    end = offset + length;
    size_t at = offset + 6;
    for (;;) {
        if (at + 2 > end)
            return false;
        const WORD unit = wordAt(data, at);
        at += 2;
        if (unit == 0)
            break;
        node.key.push_back(static_cast<wchar_t>(unit));
    }
    at = alignedTo4(at);
    // A text value's length counts UTF-16 units, a binary one's bytes.
    const size_t valueBytes = node.type == 1 ? valueLength * 2 : valueLength;
    if (at + valueBytes > end)
        return false;
    node.value.assign(data + at, data + at + valueBytes);
    at = alignedTo4(at + valueBytes);
    while (at < end) {
        VersionNode child;
        if (!readVersionNode(data, at, end, child))
            return false;
        at = alignedTo4(at + wordAt(data, at));
        node.children.push_back(child);
    }
    return true;
}

// Text up to its terminating NUL.
std::wstring textOf(const VersionNode& node)
{
    std::wstring text;
    for (size_t i = 0; i + 1 < node.value.size(); i += 2) {
        const wchar_t unit = static_cast<wchar_t>(wordAt(node.value.data(), i));
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return text;
}

std::string narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

const VersionNode* childNamed(const VersionNode& node, const wchar_t* key)
{
    for (const VersionNode& child : node.children)
        if (child.key == key)
            return &child;
    return nullptr;
}

std::wstring dotted(DWORD high, DWORD low)
{
    return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." +
        std::to_wstring(HIWORD(low)) + L"." + std::to_wstring(LOWORD(low));
}

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, library_.module());
        const ResourceBytes bytes = findResourceBytes(library_.module(), RT_VERSION, 1);
        ASSERT_NE(nullptr, bytes.data) << "no version resource 1 under language 0x0409";
        ASSERT_TRUE(readVersionNode(bytes.data, 0, bytes.size, root_)) << "malformed version tree";
        // Only padding to the next DWORD may follow the root node.
        const DWORD rootLength = wordAt(bytes.data, 0);
        EXPECT_LT(bytes.size - rootLength, 4u)
            << "the root node spans " << rootLength << " of " << bytes.size << " bytes";
    }

    LoadedLibrary library_;
    VersionNode root_;
};

} // namespace

TEST_F(VersionResource, FixedPartDescribesADllWithEqualFileAndProductVersions)
{
    EXPECT_EQ(L"VS_VERSION_INFO", root_.key);
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), root_.value.size()) << "fixed part";
    VS_FIXEDFILEINFO fixed = {};
    std::memcpy(&fixed, root_.value.data(), sizeof fixed);
    EXPECT_EQ(0xFEEF04BDu, fixed.dwSignature);
    EXPECT_EQ(0x00010000u, fixed.dwStrucVersion);
    EXPECT_EQ(fixed.dwFileVersionMS, fixed.dwProductVersionMS) << "file and product version, high half";
    EXPECT_EQ(fixed.dwFileVersionLS, fixed.dwProductVersionLS) << "file and product version, low half";
    EXPECT_EQ(0x3Fu, fixed.dwFileFlagsMask);
    EXPECT_EQ(0u, fixed.dwFileFlags);
    EXPECT_EQ(static_cast<DWORD>(VOS_NT_WINDOWS32), fixed.dwFileOS);
    EXPECT_EQ(static_cast<DWORD>(VFT_DLL), fixed.dwFileType);
    EXPECT_EQ(0u, fixed.dwFileSubtype);
    EXPECT_EQ(0u, fixed.dwFileDateMS) << "file date";
    EXPECT_EQ(0u, fixed.dwFileDateLS) << "file date";
}

TEST_F(VersionResource, HasOneUsEnglishUnicodeStringBlockWithTheStandardKeys)
{
    ASSERT_EQ(2u, root_.children.size()) << "children of the root";
    const VersionNode* strings = childNamed(root_, L"StringFileInfo");
    ASSERT_NE(nullptr, strings);
    ASSERT_EQ(1u, strings->children.size()) << "string blocks";
    const VersionNode& block = strings->children[0];
    EXPECT_EQ(L"040904b0", block.key);
    // Each present and not empty; and nothing but the keys the version API knows.
    const wchar_t* required[] = {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName",
        L"LegalCopyright", L"OriginalFilename", L"ProductName", L"ProductVersion"};
    for (const wchar_t* key : required) {
        const VersionNode* entry = childNamed(block, key);
        ASSERT_NE(nullptr, entry) << "key " << narrow(key) << " is missing";
        EXPECT_EQ(1, entry->type) << "key " << narrow(key) << " holds no text";
        EXPECT_NE(L"", textOf(*entry)) << "key " << narrow(key) << " is empty";
    }
    const std::vector<std::wstring> known = {L"Comments", L"CompanyName", L"FileDescription", L"FileVersion",
        L"InternalName", L"LegalCopyright", L"LegalTrademarks", L"OriginalFilename", L"PrivateBuild",
        L"ProductName", L"ProductVersion", L"SpecialBuild"};
    for (const VersionNode& entry : block.children)
        EXPECT_NE(known.end(), std::find(known.begin(), known.end(), entry.key))
            << "key " << narrow(entry.key) << " is not a standard one";
}

TEST_F(VersionResource, VersionStringsMatchTheFixedPart)
{
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), root_.value.size());
    VS_FIXEDFILEINFO fixed = {};
    std::memcpy(&fixed, root_.value.data(), sizeof fixed);
    const VersionNode* strings = childNamed(root_, L"StringFileInfo");
    ASSERT_TRUE(strings && !strings->children.empty());
    const VersionNode* fileVersion = childNamed(strings->children[0], L"FileVersion");
    const VersionNode* productVersion = childNamed(strings->children[0], L"ProductVersion");
    ASSERT_TRUE(fileVersion && productVersion);
    EXPECT_EQ(narrow(dotted(fixed.dwFileVersionMS, fixed.dwFileVersionLS)), narrow(textOf(*fileVersion)));
    EXPECT_EQ(narrow(dotted(fixed.dwProductVersionMS, fixed.dwProductVersionLS)), narrow(textOf(*productVersion)));
    // The release zip is named after the same version.
    EXPECT_EQ(PRINTDIALOGS_PROJECT_VERSION ".0", narrow(textOf(*fileVersion)));
}

TEST_F(VersionResource, TranslationIsUsEnglishInUnicode)
{
    const VersionNode* variables = childNamed(root_, L"VarFileInfo");
    ASSERT_NE(nullptr, variables);
    ASSERT_EQ(1u, variables->children.size()) << "entries of VarFileInfo";
    const VersionNode& translation = variables->children[0];
    EXPECT_EQ(L"Translation", translation.key);
    EXPECT_EQ(0, translation.type) << "binary value";
    ASSERT_EQ(4u, translation.value.size()) << "one language and code page pair";
    EXPECT_EQ(0x0409, wordAt(translation.value.data(), 0)) << "language";
    EXPECT_EQ(1200, wordAt(translation.value.data(), 2)) << "code page";
}
