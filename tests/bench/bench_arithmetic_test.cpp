// The benchmark's figures rest on these: a wrong quantile or a call counted twice would
// put a wrong number in the report without anything failing.
#include <gtest/gtest.h>

#include "import_profile.h"
#include "statistics.h"

TEST(BenchStatistics, QuantilesInterpolateBetweenNeighbouringRanks)
{
    const std::vector<double> ascending = {10, 20, 30, 40, 50};
    const struct {
        double q, expected;
    } cases[] = {{0, 10}, {0.5, 30}, {0.9, 46}, {1, 50}, {0.25, 20}, {0.1, 14}, {-1, 10}, {2, 50}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.expected, quantile(ascending, c.q)) << "q = " << c.q;
}

TEST(BenchStatistics, SummarySortsItsSamplesFirst)
{
    const Summary summary = summarise({5, 1, 4, 2, 3, 10, 6, 9, 8, 7});
    EXPECT_EQ(10u, summary.count);
    EXPECT_DOUBLE_EQ(1, summary.min);
    EXPECT_DOUBLE_EQ(10, summary.max);
    EXPECT_DOUBLE_EQ(5.5, summary.median);
    EXPECT_DOUBLE_EQ(9.1, summary.p90);
    EXPECT_DOUBLE_EQ(5.5, summary.mean);
}

TEST(BenchStatistics, OneSampleIsEveryQuantileAndNoneGivesZeros)
{
    const Summary one = summarise({7});
    EXPECT_DOUBLE_EQ(7, one.p10);
    EXPECT_DOUBLE_EQ(7, one.median);
    EXPECT_DOUBLE_EQ(7, one.p90);
    const Summary none = summarise({});
    EXPECT_EQ(0u, none.count);
    EXPECT_DOUBLE_EQ(0, none.median);
    EXPECT_DOUBLE_EQ(0, quantile({}, 0.5));
}

namespace {

constexpr DWORD kThread = 7;
constexpr int kFunctions = 3;  // 0: the outer call (DialogBoxParamW), 1 and 2: others

ProfileShare shareOf(const std::vector<ProfileShare>& shares, int function)
{
    return function < 0 ? shares.back() : shares[function];
}

} // namespace

TEST(BenchAttribution, NestedCallsCountOnlyInsideTheOuterOne)
{
    // Span 0..100; outer call 10..90 holding calls 20..30 and 40..70, which holds 50..60.
    const std::vector<ImportCall> calls = {
        {0, kThread, 10, 90}, {1, kThread, 20, 30}, {2, kThread, 40, 70}, {1, kThread, 50, 60}};
    const auto shares = attributeCalls(calls, {{kThread, 0, 100}}, kFunctions);
    ASSERT_EQ(4u, shares.size());
    EXPECT_EQ(80 - 10 - 30, shareOf(shares, 0).ticks) << "the outer call without its inner calls";
    EXPECT_EQ(10 + 10, shareOf(shares, 1).ticks);
    EXPECT_EQ(2, shareOf(shares, 1).calls);
    EXPECT_EQ(30 - 10, shareOf(shares, 2).ticks) << "the middle call without the one inside it";
    EXPECT_EQ(20, shareOf(shares, -1).ticks) << "the span's time outside every call";
    LONGLONG total = 0;
    for (const ProfileShare& share : shares)
        total += share.ticks;
    EXPECT_EQ(100, total) << "the shares add up to the span";
}

TEST(BenchAttribution, CallsAreCutAtTheSpanAndOtherThreadsLeftOut)
{
    // The outer call runs past the span's end (the dialog stays open after activation);
    // a call on another thread and one after the span do not count.
    const std::vector<ImportCall> calls = {
        {0, kThread, 10, 500}, {1, kThread, 20, 30}, {2, 99, 20, 40}, {1, kThread, 200, 210}};
    const auto shares = attributeCalls(calls, {{kThread, 0, 100}}, kFunctions);
    EXPECT_EQ(90 - 10, shareOf(shares, 0).ticks);
    EXPECT_EQ(10, shareOf(shares, 1).ticks);
    EXPECT_EQ(1, shareOf(shares, 1).calls);
    EXPECT_EQ(0, shareOf(shares, 2).calls);
    EXPECT_EQ(10, shareOf(shares, -1).ticks);
}

TEST(BenchAttribution, SeveralSpansAddUpAndCallsMayComeInAnyOrder)
{
    const std::vector<ImportCall> calls = {
        {2, kThread, 130, 150}, {1, kThread, 10, 20}, {1, kThread, 110, 120}, {1, kThread, 112, 114}};
    const auto shares = attributeCalls(calls, {{kThread, 0, 50}, {kThread, 100, 200}}, kFunctions);
    EXPECT_EQ(10 + 10 - 2 + 2, shareOf(shares, 1).ticks) << "the call inside a call of the same function";
    EXPECT_EQ(3, shareOf(shares, 1).calls);
    EXPECT_EQ(20, shareOf(shares, 2).ticks);
    EXPECT_EQ(40 + 70, shareOf(shares, -1).ticks);
    EXPECT_EQ(2, shareOf(shares, -1).calls) << "one rest per span";
}
