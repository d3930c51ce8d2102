#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/resource_text.h"
#include "dialog_driver.h"
#include "import_patch.h"
#include "platform_doubles.h"

// ResourceText is linked into this program, so its imports are this program's.
namespace {


std::vector<WORD> gLookupLanguages;
decltype(&FindResourceExW) gRealFindResourceEx = nullptr;
HRSRC WINAPI recordingFindResourceEx(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language)
{
    gLookupLanguages.push_back(language);
    return gRealFindResourceEx(module, type, name, language);
}

class ResourceTextTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(language_.applied());
        ASSERT_TRUE(lookups_.applied());
        gRealFindResourceEx = lookups_.originalAs<decltype(&FindResourceExW)>();
        gLookupLanguages.clear();
    }

    void useLanguage(LANGID language) { language_.set(language); }

    // Loads `id` from `module` through a fresh ResourceText; "<not found>" when absent.
    std::wstring lookUp(const wchar_t* module, UINT id)
    {
        ResourceText text;
        text.openResourceModule(besideTest(module).c_str());
        WCHAR buffer[kTextUnits];
        return text.loadString(id, buffer) ? std::wstring(buffer) : L"<not found>";
    }

    UserLanguage language_{0x0409, GetModuleHandleW(nullptr)};
    ImportPatch lookups_{GetModuleHandleW(nullptr), "FindResourceExW",
                         reinterpret_cast<void*>(recordingFindResourceEx)};
};

} // namespace

TEST_F(ResourceTextTest, FindsStringsInTheUserLanguage)
{
    useLanguage(0x0409);
    EXPECT_EQ(L"Okay from module", lookUp(L"strings_en.dll", 849));
    EXPECT_EQ(L"String zero", lookUp(L"strings_en.dll", 0)) << "block 1, entry 0";
    EXPECT_EQ(L"Last string", lookUp(L"strings_en.dll", 65535)) << "block 4096, entry 15";
    EXPECT_EQ(L"Ab", lookUp(L"strings_en.dll", 4)) << "copy stops at an embedded NUL";
}

TEST_F(ResourceTextTest, EmptyOrAbsentEntryIsNotFound)
{
    useLanguage(0x0409);
    EXPECT_EQ(L"<not found>", lookUp(L"strings_en.dll", 2)) << "empty entry in an existing block";
    EXPECT_EQ(L"<not found>", lookUp(L"strings_en.dll", 5000)) << "no such block";
}

TEST_F(ResourceTextTest, LongStringIsCutTo255Units)
{
    useLanguage(0x0409);
    const std::wstring text = lookUp(L"strings_en.dll", 100);
    ASSERT_EQ(255u, text.size());
    EXPECT_EQ(L"abcdefghij", text.substr(0, 10));
}

TEST_F(ResourceTextTest, FallsBackToEnglishAndKeepsItForLaterLookups)
{
    useLanguage(0x0407);  // German (Germany); the module has English (United States) only
    ResourceText text;
    text.openResourceModule(besideTest(L"strings_en.dll").c_str());
    WCHAR buffer[kTextUnits];
    ASSERT_EQ(1, text.loadString(849, buffer));
    EXPECT_STREQ(L"Okay from module", buffer);
    ASSERT_EQ(1, text.loadString(3, buffer));
    EXPECT_STREQ(L"String three", buffer);
    EXPECT_EQ((std::vector<WORD>{0x0407, 0x0409, 0x0409}), gLookupLanguages)
        << "first try in German, retry in English, the next lookup in English at once";
}

TEST_F(ResourceTextTest, FallbackPrefersTheSamePrimaryLanguage)
{
    useLanguage(0x0809);  // English (United Kingdom)
    EXPECT_EQ(L"Okay from module", lookUp(L"strings_en.dll", 849));
    useLanguage(0x0C0C);  // French (Canada): the module's French wins over its English
    EXPECT_EQ(L"D'accord", lookUp(L"strings_fr_en.dll", 849));
    useLanguage(0x0807);  // German (Switzerland)
    EXPECT_EQ(L"Einverstanden", lookUp(L"strings_de.dll", 849));
}

TEST_F(ResourceTextTest, FallbackWithoutMatchSettlesOnEnglish)
{
    useLanguage(0x0407);
    EXPECT_EQ(L"Okay", lookUp(L"strings_fr_en.dll", 849));
    useLanguage(0x0409);  // the module has German only: English is tried and not found
    EXPECT_EQ(L"<not found>", lookUp(L"strings_de.dll", 849));
    EXPECT_EQ((std::vector<WORD>{0x0407, 0x0409, 0x0409, 0x0409}), gLookupLanguages);
}

TEST_F(ResourceTextTest, FallbackGoesByTheFirstBlockOnly)
{
    // Belgian French: the first block's French wins, whatever later blocks hold.
    useLanguage(0x080C);
    EXPECT_EQ(L"Premier bloc", lookUp(L"strings_blocks.dll", 1));
}

TEST_F(ResourceTextTest, MissingBlockLeavesTheLanguageAsItWas)
{
    useLanguage(0x0407);  // the third block has German; the first has none
    ResourceText text;
    text.openResourceModule(besideTest(L"strings_blocks.dll").c_str());
    WCHAR buffer[kTextUnits];
    ASSERT_EQ(1, text.loadString(33, buffer));
    EXPECT_STREQ(L"Dritter Block", buffer);
    EXPECT_EQ(0, text.loadString(100, buffer)) << "no block 7 in any language";
    ASSERT_EQ(1, text.loadString(33, buffer));
    EXPECT_STREQ(L"Dritter Block", buffer) << "still German after the missing block";
}

std::vector<std::wstring> gLayoutAsked;
int gForcedLayout = -1;  // -1: the system's answer; -2: the call fails; else this layout
decltype(&GetLocaleInfoEx) gRealGetLocaleInfoEx = nullptr;
int WINAPI steeredGetLocaleInfoEx(LPCWSTR name, LCTYPE type, LPWSTR data, int units)
{
    if ((type & ~LOCALE_RETURN_NUMBER) == LOCALE_IREADINGLAYOUT)
        gLayoutAsked.push_back(name);
    if (gForcedLayout == -1)
        return gRealGetLocaleInfoEx(name, type, data, units);
    if (gForcedLayout == -2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    *reinterpret_cast<DWORD*>(data) = static_cast<DWORD>(gForcedLayout);
    return 2;
}

// Every right-to-left interface language, by the system's locale data and, where the system
// lacks the data, by the list; Sindhi and Punjabi only in Arabic script.
TEST_F(ResourceTextTest, RightToLeftLanguagesByLocaleDataOrList)
{
    ImportPatch localeInfo(GetModuleHandleW(nullptr), "GetLocaleInfoEx",
                           reinterpret_cast<void*>(steeredGetLocaleInfoEx));
    ASSERT_TRUE(localeInfo.applied());
    gRealGetLocaleInfoEx = localeInfo.originalAs<decltype(&GetLocaleInfoEx)>();
    struct Case { LANGID language; bool rightToLeft; bool localeKnown; };
    const Case cases[] = {
        {0x0401, true, true},  {0x0801, true, true},  {0x3C01, true, true},  {0x040D, true, true},
        {0x0429, true, true},  {0x0420, true, true},  {0x0820, true, true},  {0x0463, true, true},
        {0x0480, true, true},  {0x045A, true, true},  {0x0465, true, true},  {0x0492, true, true},
        {0x048C, true, true},  {0x043D, true, true},  {0x0859, true, true},  {0x0846, true, true},
        {0x0459, false, true}, {0x0446, false, true}, {0x0409, false, true}, {0x0407, false, true},
        {0x041E, false, true}, {0x0439, false, true}, {0x0411, false, true}, {0x0404, false, true},
        {0x0000, false, false}, {0x6429, true, false}, {0x6407, false, false},
    };
    for (const Case& c : cases) {
        useLanguage(c.language);
        EXPECT_EQ(c.rightToLeft, listedRightToLeft(c.language)) << "list, language 0x" << std::hex << c.language;
        for (const int forced : {-1, -2}) {
            gForcedLayout = forced;
            gLayoutAsked.clear();
            ResourceText text;
            EXPECT_EQ(c.rightToLeft ? 1 : 0, text.rightToLeft())
                << (forced == -1 ? "locale data" : "locale data failing") << ", language 0x" << std::hex << c.language;
            EXPECT_EQ(c.localeKnown, !gLayoutAsked.empty()) << "reading layout asked, language 0x" << std::hex << c.language;
        }
        gForcedLayout = c.rightToLeft ? 0 : 1;
        ResourceText text;
        EXPECT_EQ((c.localeKnown ? !c.rightToLeft : c.rightToLeft) ? 1 : 0, text.rightToLeft())
            << "the locale data decides where it speaks, language 0x" << std::hex << c.language;
    }
    gForcedLayout = -1;
}

TEST_F(ResourceTextTest, MissingModuleNeverReadsTheHostProgram)
{
    useLanguage(0x0409);
    EXPECT_EQ(L"<not found>", lookUp(L"no-such-module.dll", 849))
        << "this program carries string 849 itself";
    EXPECT_EQ(L"<not found>", lookUp(L"", 849));
    EXPECT_TRUE(gLookupLanguages.empty()) << "no lookup without a module";
}

TEST_F(ResourceTextTest, MalformedBlocksNeverReadPastTheResource)
{
    useLanguage(0x0409);
    EXPECT_EQ(L"A", lookUp(L"strings_malformed.dll", 0));
    EXPECT_EQ(L"<not found>", lookUp(L"strings_malformed.dll", 1)) << "length past the end";
    EXPECT_EQ(L"<not found>", lookUp(L"strings_malformed.dll", 5));
    EXPECT_EQ(L"XY", lookUp(L"strings_malformed.dll", 17));
    EXPECT_EQ(L"<not found>", lookUp(L"strings_malformed.dll", 20)) << "block stops short";
    EXPECT_EQ(L"Z", lookUp(L"strings_malformed.dll", 32));
    EXPECT_EQ(L"<not found>", lookUp(L"strings_malformed.dll", 33)) << "half a length unit";
}

TEST_F(ResourceTextTest, SetItemTextUsesModuleStringOrCutDefault)
{
    useLanguage(0x0409);
    HWND window = CreateWindowW(L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    {
        ResourceText text;
        text.openResourceModule(besideTest(L"strings_en.dll").c_str());
        EXPECT_TRUE(text.setItemText(849, window, L"&OK"));
        EXPECT_EQ(L"Okay from module", windowText(window));
        EXPECT_TRUE(text.setItemText(2, window, L"Default for an empty entry"));
        EXPECT_EQ(L"Default for an empty entry", windowText(window));
        const std::wstring longDefault(300, L'q');
        text.setItemText(7777, window, longDefault.c_str());
        EXPECT_EQ(std::wstring(255, L'q'), windowText(window));
    }
    DestroyWindow(window);
}

TEST_F(ResourceTextTest, ModuleIsHeldOnceAndFreedWithTheText)
{
    useLanguage(0x0409);
    {
        ResourceText text;
        text.openResourceModule(besideTest(L"strings_en.dll").c_str());
        text.openResourceModule(besideTest(L"strings_de.dll").c_str());
        EXPECT_TRUE(isMapped(L"strings_en.dll"));
        EXPECT_FALSE(isMapped(L"strings_de.dll")) << "a second open does nothing";
        WCHAR buffer[kTextUnits];
        EXPECT_EQ(1, text.loadString(849, buffer));
        EXPECT_STREQ(L"Okay from module", buffer);
    }
    EXPECT_FALSE(isMapped(L"strings_en.dll")) << "freed when the text is destroyed";
}
