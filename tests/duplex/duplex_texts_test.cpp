#include <gtest/gtest.h>

#include "duplex_harness.h"
#include "duplex/duplex_texts.h"

namespace {

const std::wstring kIntroEvenFirst =
    L"After the even-numbered pages have printed, the Manual Feed prompt will occur on the "
    L"printer.  Follow the instructions below to print the odd-numbered pages (second sides).";
const std::wstring kIntroOddPrinting =
    L"The odd-numbered pages of your document are printing.  Remove the printed pages from "
    L"the OUT tray when printing is complete.  Follow the instructions below to print the "
    L"second side of your pages.";
const std::wstring kStep1 =
    L"Without changing the orientation, remove the  paper stack from the Output Bin.  Do not "
    L"discard blank sheets.";
const std::wstring kStep2 = L"Maintaining the same orientation, insert the paper stack into Tray 1";
const std::wstring kStep3 = L"If printing does not automatically continue, press the Go or Check button.";
const std::wstring kInsertStack =
    L"Insert the stack into the IN tray with the top of the pages toward the device, as shown.";
const std::wstring kPressGo = L"Press the Go or Select button to continue printing.";

// A path that names no module: every text falls back on its default.
const wchar_t kNoModule[] = L"duplex_absent.dll";

} // namespace

TEST(DuplexTexts, DefaultsWhenTheResourceModuleCannotBeLoaded)
{
    for (UINT32 flag : {0u, 1u}) {
        const DuplexTexts texts = textsShownFor(duplexRequest(kNoModule, flag));
        EXPECT_EQ(L"Print on Both Sides Instructions", texts.caption);
        EXPECT_EQ(kIntroOddPrinting, texts.intro);
        EXPECT_EQ(L"1.", texts.number1);
        EXPECT_EQ(L"2.", texts.number2);
        EXPECT_EQ(L"3.", texts.number3);
        EXPECT_EQ(kStep1, texts.step1);
        EXPECT_EQ(kStep2, texts.step2);
        EXPECT_EQ(kStep3, texts.step3);
        EXPECT_EQ(flag ? L"C&ontinue" : L"&OK", texts.ok) << "continueFromDialog " << flag;
        EXPECT_EQ(L"&Help", texts.help);
    }
}

TEST(DuplexTexts, ModuleStringsReplaceEveryDefault)
{
    for (UINT32 flag : {0u, 7u}) {
        const DuplexTexts texts = textsShownFor(duplexRequest(L"duplex_strings.dll", flag));
        EXPECT_EQ(L"Module caption", texts.caption);
        EXPECT_EQ(L"Module odd pages printing", texts.intro);
        EXPECT_EQ(L"Module 1", texts.number1);
        EXPECT_EQ(L"Module 2", texts.number2);
        EXPECT_EQ(L"Module 3", texts.number3);
        EXPECT_EQ(L"Module step one", texts.step1);
        EXPECT_EQ(L"Module step two", texts.step2);
        EXPECT_EQ(L"Module step three", texts.step3);
        EXPECT_EQ(flag ? L"Module continue" : L"Module OK", texts.ok) << "continueFromDialog " << flag;
        EXPECT_EQ(L"Module help", texts.help);
    }
}

TEST(DuplexTexts, EvenPagesFirstChoosesTheIntroduction)
{
    struct Case {
        UINT32 evenPagesFirst;
        const wchar_t* module;
        std::wstring expected;
    };
    const Case cases[] = {
        {0, kNoModule, kIntroOddPrinting},
        {1, kNoModule, kIntroEvenFirst},
        {0x100, kNoModule, kIntroEvenFirst},
        {0, L"duplex_strings.dll", L"Module odd pages printing"},
        {0x80000000, L"duplex_strings.dll", L"Module even pages first"},
    };
    for (const Case& c : cases) {
        DuplexRequest request = duplexRequest(c.module, 0);
        request.evenPagesFirst = c.evenPagesFirst;
        EXPECT_EQ(c.expected, textsShownFor(request).intro) << "evenPagesFirst " << c.evenPagesFirst;
    }
}

TEST(DuplexTexts, ThreadedInsertStackStepGetsThePressGoLine)
{
    const std::wstring longInsert = [] {
        std::wstring text;
        for (int i = 0; i < 255; ++i)
            text += static_cast<wchar_t>(L'a' + i % 26);
        return text;
    }();
    struct Case {
        const char* what;
        const wchar_t* module;
        std::wstring expected;
    };
    const Case cases[] = {
        {"both defaults", kNoModule, kInsertStack + L"\n" + kPressGo},
        {"both from the module", L"duplex_strings.dll", L"Module insert stack\nModule press Go"},
        {"300-unit first line cut to 255, second line's default", L"duplex_long_insert.dll",
         longInsert + L"\n" + kPressGo},
    };
    for (const Case& c : cases) {
        DuplexRequest request = duplexRequest(c.module, 0);
        request.step3TextId = kStringInsertStack;
        EXPECT_EQ(c.expected, textsShownFor(request).step3) << c.what;
    }
}

TEST(DuplexTexts, StepThreeIsASingleTextOtherwise)
{
    struct Case {
        const char* what;
        const wchar_t* module;
        UINT32 continueFromDialog;
        UINT32 step3TextId;
        std::wstring expected;
    };
    const Case cases[] = {
        {"blocking, 3140 absent: the step 3 default", kNoModule, 1, 3140, kStep3},
        {"blocking, 3140 present: that string alone", L"duplex_strings.dll", 1, 3140, L"Module insert stack"},
        {"threaded, 3141 present", L"duplex_strings.dll", 0, 3141, L"Module other step three"},
        {"threaded, 3141 absent: the step 3 default", kNoModule, 0, 3141, kStep3},
    };
    for (const Case& c : cases) {
        DuplexRequest request = duplexRequest(c.module, c.continueFromDialog);
        request.step3TextId = c.step3TextId;
        EXPECT_EQ(c.expected, textsShownFor(request).step3) << c.what;
    }
}

TEST(DuplexTexts, StepIdZeroIsStringZeroOrTheStepDefault)
{
    DuplexRequest request = duplexRequest(L"strings_en.dll", 0);
    request.step1TextId = 0;
    request.step2TextId = 0;
    DuplexTexts texts = textsShownFor(request);
    EXPECT_EQ(L"String zero", texts.step1);
    EXPECT_EQ(L"String zero", texts.step2);
    EXPECT_EQ(L"Okay from module", texts.ok) << "string 849 of the module";

    request = duplexRequest(L"duplex_strings.dll", 0);
    request.step1TextId = 0;
    request.step2TextId = 0;
    texts = textsShownFor(request);
    EXPECT_EQ(kStep1, texts.step1) << "a module without string 0";
    EXPECT_EQ(kStep2, texts.step2) << "a module without string 0";
}
