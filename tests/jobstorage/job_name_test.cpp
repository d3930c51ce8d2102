#include <gtest/gtest.h>

#include <string>

#include "jobstorage/job_name.h"

namespace {

std::u16string composed(const std::u16string& jobName, uint32_t flagA, uint32_t flagB)
{
    uint16_t buffer[kJobNameUnits];
    composeJobName(reinterpret_cast<const uint16_t*>(jobName.c_str()), flagA, flagB, buffer);
    return reinterpret_cast<const char16_t*>(buffer);
}

} // namespace

TEST(JobName, SuffixOnlyWhenBothFlagsAreExactlyOne)
{
    struct Case {
        uint32_t flagA, flagB;
        std::u16string expected;
    };
    const Case cases[] = {
        {1, 1, u"Report(1-99)"}, {1, 0, u"Report"}, {0, 1, u"Report"}, {2, 1, u"Report"},
        {1, 2, u"Report"},       {0, 0, u"Report"}, {0xFFFFFFFF, 1, u"Report"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, composed(u"Report", c.flagA, c.flagB))
            << "flags (" << c.flagA << ", " << c.flagB << ")";
}

TEST(JobName, EmptyNameShowsTheSuffixAlone)
{
    EXPECT_EQ(u"(1-99)", composed(u"", 1, 1));
    EXPECT_EQ(u"", composed(u"", 0, 1));
}

TEST(JobName, FullSixteenUnitNameKeepsTheWholeSuffix)
{
    const std::u16string name = u"ABCDEFGHIJKLMNOP";
    EXPECT_EQ(name + u"(1-99)", composed(name, 1, 1));
    EXPECT_EQ(22u, composed(name, 1, 1).size());
}

TEST(JobName, LongerNamesAreCutToTwentyFourUnitsWithTheSuffixAsFarAsItFits)
{
    // Longer than any job name field holds, so only reachable through the pure rule.
    EXPECT_EQ(u"ABCDEFGHIJKLMNOPQRST(1-9", composed(u"ABCDEFGHIJKLMNOPQRST", 1, 1));
    EXPECT_EQ(u"ABCDEFGHIJKLMNOPQRSTUVWX", composed(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1, 1));
    EXPECT_EQ(u"ABCDEFGHIJKLMNOPQRSTUVWX", composed(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0, 0));
}
