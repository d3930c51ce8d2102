#include <gtest/gtest.h>

#include <climits>

#include "common/centring.h"

namespace {

struct Case {
    const char* what;
    PlacementRect dialog, foreground, desktop;
    PlacementPoint jobStorage, duplex;
};

template <size_t Count>
void expectPlacements(const Case (&cases)[Count])
{
    for (const Case& c : cases) {
        const PlacementPoint one = centredPosition(c.dialog, c.foreground, c.desktop, PlacementVariant::JobStorage);
        const PlacementPoint two = centredPosition(c.dialog, c.foreground, c.desktop, PlacementVariant::Duplex);
        EXPECT_EQ(c.jobStorage.x, one.x) << c.what;
        EXPECT_EQ(c.jobStorage.y, one.y) << c.what;
        EXPECT_EQ(c.duplex.x, two.x) << c.what;
        EXPECT_EQ(c.duplex.y, two.y) << c.what;
    }
}

} // namespace

TEST(Centring, BothVariantsAtTheirEdges)
{
    const PlacementRect fullHd = {0, 0, 1920, 1080};
    const Case cases[] = {
        {"fits: centre over centre", {0, 0, 400, 300}, {100, 100, 900, 700}, fullHd, {300, 250}, {300, 250}},
        {"dialog position does not matter", {-500, 900, -100, 1200}, {100, 100, 900, 700}, fullHd, {300, 250}, {300, 250}},
        {"left of the desktop", {0, 0, 400, 300}, {-250, 100, 450, 700}, fullHd, {0, 250}, {0, 250}},
        {"right edge overrun by 30", {0, 0, 400, 300}, {1350, 100, 2150, 700}, fullHd, {1520, 250}, {1520, 250}},
        {"below the desktop", {0, 0, 400, 300}, {100, 900, 900, 1300}, fullHd, {300, 780}, {300, 780}},
        {"wider than the desktop", {0, 0, 2000, 300}, {0, 0, 1920, 1040}, fullHd, {0, 370}, {-80, 370}},
        {"taller than the desktop", {0, 0, 400, 1200}, {0, 0, 1920, 1040}, fullHd, {760, 0}, {760, -120}},
        {"odd width halves toward zero", {0, 0, 401, 301}, {0, 0, 1001, 1001}, fullHd, {300, 350}, {300, 350}},
        {"a foreground window spanning the whole int range", {0, 0, 400, 300}, {INT_MIN, 0, INT_MAX, 1000}, fullHd, {0, 350}, {0, 350}},
        {"odd negative sizes halve toward zero", {0, 0, -401, -301}, {0, 0, 0, 0}, fullHd, {200, 150}, {200, 150}},
    };
    expectPlacements(cases);
}

// The bounds are the foreground window's own monitor, which need not start at 0, 0.
TEST(Centring, KeptOnTheForegroundWindowsMonitor)
{
    const PlacementRect second = {1920, 0, 3840, 1080};  // right of the first monitor
    const PlacementRect left = {-1280, -200, 0, 824};     // left of it, reaching above it
    const Case cases[] = {
        {"centred on the second monitor", {0, 0, 400, 300}, {2020, 100, 2820, 700}, second, {2220, 250}, {2220, 250}},
        {"kept at the second monitor's left edge, not pulled to 0", {0, 0, 400, 300}, {1800, 100, 2200, 700}, second, {1920, 250}, {1920, 250}},
        {"right edge of the second monitor overrun by 160", {0, 0, 400, 300}, {3500, 100, 4100, 700}, second, {3440, 250}, {3440, 250}},
        {"wider than the second monitor", {0, 0, 2000, 300}, {1920, 0, 3840, 1040}, second, {1920, 370}, {1840, 370}},
        {"negative coordinates on a monitor left of the first", {0, 0, 400, 300}, {-1200, -100, -400, 500}, left, {-1000, 50}, {-1000, 50}},
        {"above a monitor whose top is negative", {0, 0, 400, 300}, {-1000, -400, -600, -100}, left, {-1000, -200}, {-1000, -200}},
    };
    expectPlacements(cases);
}
