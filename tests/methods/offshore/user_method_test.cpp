// User-specified method: tip area, node lookups and sums worked by hand; the table, the pile weight in
// tension and the hand-over through whole runs.
#include "methods/offshore/user_method.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;

constexpr double kPi = 3.14159f;
constexpr double kQuarterPi = 0.7853975f;

// The default 24/23 in pipe, 40 ft, with user unit friction 500 psf in the sand (0-20 ft) and 1000 psf
// in the clay, unit bearing 20000 psf throughout.
CaseText WithUserValues() {
    CaseText c;
    c.points[0].second = "0 0 0 10 0 0 0 500 20000 1 1 0 0 0";
    c.points[1].second = "0 0 0 20 0 0 0 500 20000 1 1 0 0 0";
    c.points[2].second = "0 0 1000 500 0 20 0 1000 20000 1 1 0 0 0";
    c.points[3].second = "0 0 2000 900 0 20 0 1000 20000 1 1 0 0 0";
    return c;
}

TEST(UserMethod, TipAreaAndNodeSums) {
    PileModel pile;
    pile.unitSystem = 1;
    pile.outsideDiameter = 24;
    pile.enhancedEndDiameter = 22;
    pile.plugOption = 2;
    EXPECT_NEAR(UserTipArea(pile), (576.0 - 484.0) * kQuarterPi / 144.0, 1e-12);  // 0.5018 ft^2
    EXPECT_NEAR(UserTipArea(pile), 0.5018, 5e-5);
    pile.plugOption = 0;
    EXPECT_NEAR(UserTipArea(pile), 2.0 * 2.0 * kQuarterPi, 1e-12);
    pile.crossSectionArea = 0.5;  // a given area wins whatever the plug
    EXPECT_EQ(UserTipArea(pile), 0.5);
    pile.plugOption = 2;
    EXPECT_EQ(UserTipArea(pile), 0.5);

    // Vertical: the increment ending at node k takes the friction of the segment it ends in: 0.5 ksf
    // down to 20 ft, 1.0 ksf below; P = 2 ft x pi.
    auto run = testing::PreparedRun(WithUserValues());
    UserUnitTransfer(*run);
    const CapacityState& cap = run->capacity();
    EXPECT_EQ(cap.UserSkinFriction[1], 0.0);
    EXPECT_NEAR(cap.UserEndBearing[1], 20.0 * 2.0 * 2.0 * kQuarterPi, 1e-9);
    EXPECT_NEAR(cap.UserSkinFriction[21], 20 * 1.0 * 2.0 * kPi * 0.5, 1e-9);
    EXPECT_NEAR(cap.UserSkinFriction[41], 20 * 1.0 * 2.0 * kPi * 0.5 + 20 * 1.0 * 2.0 * kPi * 1.0, 1e-9);

    // One increment short of a node: only the head.
    CaseText shortPile = WithUserValues();
    shortPile.g2 = "0 0 24 23 29000000 0.5 0";
    auto one = testing::PreparedRun(shortPile);
    UserUnitTransfer(*one);
    EXPECT_EQ(one->capacity().UserSkinFriction[1], 0.0);
    EXPECT_NEAR(one->capacity().UserEndBearing[1], 20.0 * 2.0 * 2.0 * kQuarterPi, 1e-9);

    // Battered 60 degrees (dZ = 0.5 ft), unit bearing rising 1 ksf per ft in the sand: segment s
    // carries 0.5 (s - 0.5) ksf.  Node 2 is looked up at dL = 1 ft (segment 2, not segment 1 as dZ
    // would give), node 3 at 2 dZ = 1 ft, node 4 at 3 dZ = 1.5 ft.
    CaseText battered = WithUserValues();
    battered.g3 = "0 0 60";
    battered.points[0].second = "0 0 0 10 0 0 0 500 0 1 1 0 0 0";
    auto b = testing::PreparedRun(battered);
    UserUnitTransfer(*b);
    const CapacityState& bc = b->capacity();
    const double area = 2.0 * 2.0 * kQuarterPi;
    EXPECT_NEAR(bc.PileLength[2], 1.0, 1e-12);
    EXPECT_NEAR(bc.PileLength[3], 2 * b->pile.verticalIncrement, 1e-12);
    EXPECT_NEAR(bc.UserEndBearing[2], 0.75 * area, 1e-6);
    EXPECT_NEAR(bc.UserEndBearing[3], 0.75 * area, 1e-6);
    EXPECT_NEAR(bc.UserEndBearing[4], 1.25 * area, 1e-6);
}

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& line : lines) {
        if (line.find(text) != std::string::npos) return true;
    }
    return false;
}

TEST(UserMethod, WholeRuns) {
    testing::TempDir dir;
    {
        SCOPED_TRACE("compression: the table, its factor and the hand-over");
        CaseText c = WithUserValues();
        c.g4 = "0 1 1 0 5 0 0";
        c.g5 = "0 0 0 0 1 0 0 0 0";
        c.points[0].second = "0 0 0 10 0 0 0 500 20000 1 0.5 0 0 0";  // bearing factor 0.5 in the sand
        c.points[1].second = "0 0 0 20 0 0 0 500 20000 1 0.5 0 0 0";
        const auto r = testing::runCase(dir, c.str());
        ASSERT_EQ(r.status, 0) << r.errors;
        EXPECT_TRUE(Contains(r.report, "* GENERAL METHOD *"));
        const auto plot = testing::splitLines(r.plot);
        EXPECT_EQ(plot[0], "           1           9           1           5");
        // Head: factored bearing 20 x pi/4 x 4 x 0.5 = 31.4 kips; tip: 62.8 kips, skin 188.5 kips.
        EXPECT_EQ(plot[1], "     0.00       0.0      31.4       31.4      0.500");
        EXPECT_EQ(plot[9], "    40.00     188.5      62.8      251.3      1.000");
        // The load-settlement analysis runs on the user's values: the tip curve reaches 62.8 kips.
        EXPECT_TRUE(Contains(r.report, "        0.6283E+02         0.2400E+01"));
    }
    {
        SCOPED_TRACE("tension on an open pile with a computed plug: the self weight, not the user's bearing");
        CaseText c = WithUserValues();
        c.g5 = "0 0 0 0 1 0 0 0 0";
        c.tail = "0\n1 0.8\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
        const auto r = testing::runCase(dir, c.str());
        ASSERT_EQ(r.status, 0) << r.errors;
        EXPECT_TRUE(Contains(r.report, "SELF      ULTIMATE"));
        const auto plot = testing::splitLines(r.plot);
        // Skin friction reduced by 0.8; the last row's end-bearing field is the buoyant weight of the
        // steel, a few kips, not 20 ksf on the tip.
        EXPECT_EQ(plot[9].substr(0, 19), "    40.00     150.8");
        EXPECT_LT(std::stod(plot[9].substr(19, 10)), 5.0);
    }
    {
        SCOPED_TRACE("selected without user values: counted in the header, no rows");
        CaseText c;
        c.g5 = "0 0 0 0 1 0 0 0 0";
        const auto r = testing::runCase(dir, c.str());
        ASSERT_EQ(r.status, 0) << r.errors;
        EXPECT_FALSE(Contains(r.report, "* GENERAL METHOD *"));
        EXPECT_EQ(testing::splitLines(r.plot)[0], "           1           9           1           1");
    }
}

}  // namespace
}  // namespace pileaxial
