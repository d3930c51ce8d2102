#include <gtest/gtest.h>

#include <string>

#include "jobstorage/job_name.h"

namespace {

std::wstring composed(const std::wstring& jobName, uint32_t flagA, uint32_t flagB)
{
    wchar_t buffer[kJobNameUnits];
    composeJobName(jobName.c_str(), flagA, flagB, buffer);
    return buffer;
}

} // namespace

TEST(JobName, SuffixOnlyWhenBothFlagsAreExactlyOne)
{
    struct Case {
        uint32_t flagA, flagB;
        std::wstring expected;
    };
    const Case cases[] = {
        {1, 1, L"Report(1-99)"}, {1, 0, L"Report"}, {0, 1, L"Report"}, {2, 1, L"Report"},
        {1, 2, L"Report"},       {0, 0, L"Report"}, {0xFFFFFFFF, 1, L"Report"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, composed(L"Report", c.flagA, c.flagB))
            << "flags (" << c.flagA << ", " << c.flagB << ")";
}

TEST(JobName, EmptyNameShowsTheSuffixAlone)
{
    EXPECT_EQ(L"(1-99)", composed(L"", 1, 1));
    EXPECT_EQ(L"", composed(L"", 0, 1));
}

TEST(JobName, FullSixteenUnitNameKeepsTheWholeSuffix)
{
    const std::wstring name = L"ABCDEFGHIJKLMNOP";
    EXPECT_EQ(name + L"(1-99)", composed(name, 1, 1));
    EXPECT_EQ(22u, composed(name, 1, 1).size());
}

TEST(JobName, LongerNamesAreCutToTwentyFourUnitsWithTheSuffixAsFarAsItFits)
{
    // Longer than any job name field holds, so only reachable through the pure rule.
    EXPECT_EQ(L"ABCDEFGHIJKLMNOPQRST(1-9", composed(L"ABCDEFGHIJKLMNOPQRST", 1, 1));
    EXPECT_EQ(L"ABCDEFGHIJKLMNOPQRSTUVWX", composed(L"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1, 1));
    EXPECT_EQ(L"ABCDEFGHIJKLMNOPQRSTUVWX", composed(L"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0, 0));
}
