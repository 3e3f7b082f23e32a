// API RP-2A method and the steps the offshore methods share: the unit friction rules, the node limit
// with its default in sand, tension, the zero friction length, the LRFD reductions, the cone
// resistance rule of the cone-based methods, and one table through the driver.  Expected values are
// worked out by hand in the comments.
#include "methods/offshore/api.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "methods/offshore/offshore_steps.hpp"
#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;

TEST(ApiFormulas, UnitFrictionRulesAndLimits) {
    struct Case {
        const char* what;
        double value;
        double expected;
    };
    const Case cases[] = {
        // delta = 30: 0.8 x tan 30 x 2 = 0.8 x 0.577350 x 2.
        {"sand phi 35, K 0.8, sv 2 ksf", ApiSandUnitFriction(0.8, 35.0, 2.0), 0.923760},
        {"delta 17.5 between 1.0 and 1.4", ApiSandFrictionLimit(17.5, true), 1.2},
        {"delta 17.5 in SI, x 47.8", ApiSandFrictionLimit(17.5, false), 57.36},
        {"delta 15 and below", ApiSandFrictionLimit(10.0, true), 1.0},
        {"delta above 35", ApiSandFrictionLimit(40.0, true), 2.4},
        // psi = 1 / 4 = 0.25: 0.5 x 0.25^-0.5 = 1.0, at the cap.
        {"clay su 1, sv 4: alpha capped", ApiClayAdhesionFactor(1.0, 4.0), 1.0},
        {"clay su 1, sv 16: alpha at most 1", ApiClayAdhesionFactor(1.0, 16.0), 1.0},
        // psi = 4: 0.5 x 4^-0.25.
        {"clay su 1, sv 0.25", ApiClayAdhesionFactor(1.0, 0.25), 0.353553},
        {"clay without stress", ApiClayAdhesionFactor(1.0, 0.0), 0.5 * std::pow(1.0e10, -0.25)},
        // 1.7 + 2.5 x 0.3 / 5; SI 83.1 + 2.5 x 12.4 / 5.
        {"default at phi 32.5", ApiDefaultMaxFriction(32.5, true), 1.85},
        {"default at phi 32.5, SI", ApiDefaultMaxFriction(32.5, false), 89.3},
        {"default at phi 20 and below", ApiDefaultMaxFriction(15.0, true), 1.0},
        {"default at phi 22.5", ApiDefaultMaxFriction(22.5, false), 47.8 + 2.5 * 19.2 / 5},
        {"default at phi 40", ApiDefaultMaxFriction(40.0, true), 2.4},
        {"default above 40, SI", ApiDefaultMaxFriction(41.0, false), 114.8},
    };
    for (const Case& c : cases) EXPECT_NEAR(c.value, c.expected, 2.0e-5 * std::max(1.0, c.expected)) << c.what;
}

TEST(OffshoreConeResistance, SegmentValueSoundingOrBlowCount) {
    CptSounding none;
    CptSounding sounding;  // psf: 100 ksf at the ground to 500 ksf at 40 ft
    sounding.cptPointCount = 2;
    sounding.cptDepth[1] = 0.0;
    sounding.cptValue[1] = 100000.0;
    sounding.cptDepth[2] = 40.0;
    sounding.cptValue[2] = 500000.0;
    struct Case {
        const char* what;
        double segmentCone, blowCount, depth;
        const CptSounding& cpt;
        bool english;
        double expected;
    };
    const Case cases[] = {
        {"segment value, psf to ksf", 150000.0, 20.0, 10.0, sounding, true, 150.0},
        {"segment value in SI as given", 3000.0, 20.0, 10.0, none, false, 3000.0},
        {"sounding at 10 ft, psf to ksf", 0.0, 20.0, 10.0, sounding, true, 200.0},
        {"sounding below its last point", 0.0, 20.0, 60.0, sounding, true, 500.0},
        // 2.8 x 2.0885546 ksf x 20 blows; 2.8 x 100 kPa x 20.
        {"blow count, English", 0.0, 20.0, 10.0, none, true, 116.959057},
        {"blow count, SI", 0.0, 20.0, 10.0, none, false, 5600.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(OffshoreConeResistance(c.segmentCone, c.blowCount, c.depth, c.cpt, c.english), c.expected,
                    1.0e-4)
            << c.what;
    }

    // A segment below the last pile node looks the sounding up at (s - 1) x dL: segment 6 of a
    // 10 ft pile in 5 ft increments at 25 ft, 100 + 400 x 25 / 40 = 350 ksf, whatever the pile-length
    // array holds there.
    CaseText c;
    c.g2 = "0 0 24 23 29000000 10 0";
    c.g4 = "0 5 1 0 1 0 0";
    auto run = testing::PreparedRun(c);
    run->cpt = sounding;
    run->grid.segConeResistance[6] = 0.0;
    run->capacity().PileLength[6] = 999.0;
    EXPECT_NEAR(OffshoreConeResistance(*run, 6), 350.0, 1.0e-9);
}

// A closed 12 in pipe (P = 3.14159 ft), 10 ft in 5 ft increments (nodes at 0, 5 and 10 ft), in one
// soil down to 40 ft.  E = dL x 0.5 x P = 7.853975 turns the sum of an increment's two node
// frictions into its side force.
CaseText OneSoil(const std::string& s1, const std::string& s2) {
    CaseText c;
    c.g1 = "1 1 2 1";
    c.g2 = "0 0 12 11 29000000 10 0";
    c.g3 = "0 0 0";
    c.g4 = "0 5 1 0 4 0 0";
    c.g5 = "0 0 0 1 0 0 0 0 0";
    c.g6 = "40 0";
    c.points = {{"0 " + s1, s2}, {"40 " + s1, s2}};
    return c;
}

// Clay of su 100 psf, 100 pcf: sv at the bottom of every segment is at least 0.5 ksf, psi <= 0.2 and
// alpha is capped at 1, so f = 0.1 ksf everywhere, the head included.
const std::string kClay = "2 1 100 0 9";
std::string ClayS2(const std::string& maxFriction, const std::string& lrfdFriction = "1") {
    return maxFriction + " 0 100 50 0 20 0 0 0 " + lrfdFriction + " 1 0 0 0";
}
std::string SandS2(const std::string& maxFriction) { return maxFriction + " 0 0 10 0 0 0 0 0 1 1 0 0 0"; }

TEST(ApiUnitTransfer, NodeFrictionLimitsAndIntegration) {
    constexpr double E = 7.853975;
    constexpr double kNoGivenLimit = 9999999.0;
    struct Case {
        const char* what;
        CaseText input;
        int node;
        double depth;          // PileLength[node] as the routine leaves it: the vertical depth
        double unitFriction;   // UnitSideFriction (tension-scaled)
        double nodeLimit;      // NodeFrictionLimit
        double limited;        // LimitedUnitSideFriction
        double total;          // TotalSkinFriction (reduced cumulative)
        double savedSkin;      // the method's SavedSkin
        double segmentLimit;   // segMaxFriction of segment 1 afterwards
    };
    const auto with = [](CaseText c, const std::function<void(CaseText&)>& change) {
        change(c);
        return c;
    };
    const CaseText clayLimited = OneSoil(kClay, ClayS2("80"));
    const CaseText clay = OneSoil(kClay, ClayS2("0"));
    const auto sand325 = [](const std::string& maxFriction) {
        return OneSoil("1 1 100 32.5 0", SandS2(maxFriction));
    };
    const Case cases[] = {
        // f = 0.1 held to 0.08; each increment to (0.08 + 0.08) x E.
        {"clay at its node limit", clayLimited, 3, 10.0, 0.1, 0.08, 0.08, 2 * 0.16 * E, 2 * 0.16 * E, 0.08},
        // 0.7 x 0.1 = 0.07 at every node, the head too, then below the limit: (0.07 + 0.07) x E each.
        {"tension scales before the limit",
         with(clayLimited, [](CaseText& c) { c.tail = "0\n1 0.7\n0 0 0\n0 0\n0 0\n0\n0\n0\n"; }), 3, 10.0, 0.07,
         0.08, 0.07, 2 * 0.14 * E, 2 * 0.14 * E, 0.08},
        // Zero friction length 7 ft: nodes at 0 and 5 ft carry nothing; (0 + 0.1) x E.
        {"zero friction length", with(clay, [](CaseText& c) { c.g4 = "7 5 1 0 4 0 0"; }), 3, 10.0, 0.1,
         kNoGivenLimit, 0.1, 0.1 * E, 0.1 * E, kNoGivenLimit},
        // 0.5 ft embedded: the head only, no side resistance.
        {"one node", with(clay, [](CaseText& c) { c.g2 = "0 0 12 11 29000000 0.5 0"; }), 1, 0.0, 0.1,
         kNoGivenLimit, 0.1, 0.0, 0.0, kNoGivenLimit},
        // LRFD friction 0.8: increments (0.1 + 0.1) x E, reduced 0.8 x that; SavedSkin by the option.
        {"LRFD, unfactored reported", OneSoil(kClay, ClayS2("0", "0.8")), 3, 10.0, 0.1, kNoGivenLimit, 0.1,
         0.8 * 0.4 * E, 0.4 * E, kNoGivenLimit},
        {"LRFD, reduced reported",
         with(OneSoil(kClay, ClayS2("0", "0.8")), [](CaseText& c) { c.g4 = "0 5 1 0 4 0 1"; }), 3, 10.0, 0.1,
         kNoGivenLimit, 0.1, 0.8 * 0.4 * E, 0.8 * 0.4 * E, kNoGivenLimit},
        // phi 25, K 4: 4 tan 20 x 0.5 = 0.727940 at 5 ft; 1.455880 at 10 ft held to the table's 1.4.
        {"sand at the delta-table limit", OneSoil("1 4 100 25 0", SandS2("0")), 3, 10.0, 1.4, kNoGivenLimit, 1.4,
         (2 * 0.727940 + 1.4) * E, (2 * 0.727940 + 1.4) * E, kNoGivenLimit},
        // phi 32.5, K 1: tan 27.5 x 0.5 = 0.260283 at 5 ft.  9999000 psf is the marker 9999 ksf: the
        // node takes the default 1.85 and so does the segment.
        {"sand marker takes the default", sand325("9999000"), 2, 5.0, 0.260283, 1.85, 0.260283, 0.260283 * E,
         0.260283 * E, 1.85},
        // 9999 psf reads as 9.999 ksf, an ordinary limit.
        {"9999 psf is a limit of its own", sand325("9999"), 2, 5.0, 0.260283, 9.999, 0.260283, 0.260283 * E,
         0.260283 * E, 9.999},
        // A given 3.0 ksf is the limit even though the default would be 1.85.
        {"given limit above the default", sand325("3000"), 2, 5.0, 0.260283, 3.0, 0.260283, 0.260283 * E,
         0.260283 * E, 3.0},
        // Clay holding the marker keeps it.
        {"clay keeps the marker", OneSoil(kClay, ClayS2("9999000")), 3, 10.0, 0.1, 9999.0, 0.1, 0.4 * E,
         0.4 * E, 9999.0},
        // SI, 300 mm pipe in 1 m increments, 10 kN/m^3: tan 27.5 x 10 = 5.205668 kPa at 1 m;
        // P = 0.942477 m, side force 5.205668 x 1 x 0.5 x 0.942477.  Default 89.3 kPa.
        {"SI sand marker takes the default",
         with(OneSoil("1 1 10 32.5 0", SandS2("9999")),
              [](CaseText& c) {
                  c.g1 = "2 1 2 1";
                  c.g2 = "0 0 300 280 200000000 3 0";
                  c.g4 = "0 1 1 0 4 0 0";
                  c.g6 = "12 0";
                  c.points[1].first = "12 1 1 10 32.5 0";
              }),
         2, 1.0, 5.205668, 89.3, 5.205668, 2.453111, 2.453111, 89.3},
        // Battered 60 degrees: dZ = 2.5 ft.  Sand phi 35, K 1: tan 30 x 0.1 x 2.5 = 0.144337 at the
        // vertical depth of node 2, integrated over the 5 ft along the pile.
        {"battered pile", with(OneSoil("1 1 100 35 0", SandS2("0")), [](CaseText& c) { c.g3 = "0 0 60"; }), 2,
         2.5, 0.144337, kNoGivenLimit, 0.144337, 0.144337 * E, 0.144337 * E, kNoGivenLimit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto run = testing::PreparedRun(c.input);
        ApiUnitTransfer(*run);
        const CapacityState& cap = run->capacity();
        const MethodResult& r = cap.current;
        const int k = c.node;
        EXPECT_EQ(cap.CurrentMethodId, kApi);
        EXPECT_NEAR(cap.PileLength[k], c.depth, 1.0e-6);
        EXPECT_NEAR(r.UnitSideFriction[k], c.unitFriction, 2.0e-6);
        EXPECT_NEAR(r.NodeFrictionLimit[k], c.nodeLimit, 1.0e-5);
        EXPECT_NEAR(r.LimitedUnitSideFriction[k], c.limited, 2.0e-6);
        EXPECT_NEAR(r.TotalSkinFriction[k], c.total, 1.0e-5);
        EXPECT_NEAR(cap.method[kApi].SavedSkin[k], c.savedSkin, 1.0e-5);
        EXPECT_NEAR(run->grid.segMaxFriction[1], c.segmentLimit, 1.0e-5);
    }
}

// The API table through the whole run.  The closed 12 in pipe of OneSoil, 10 ft, in clay of su
// 1000 psf and 100 pcf, LRFD factors 0.8 on friction and 0.9 on bearing, unfactored resistance
// reported, every node printed.
//
// Side friction, segments of 5 ft: segment 1 sv = 0.5 ksf, psi = 2, alpha = 0.5 x 2^-0.25 =
// 0.420448; segment 2 sv = 1.0, psi = 1, alpha = 0.5.  Nodes: 0 and 5 ft in segment 1, 0.420448;
// 10 ft on the boundary takes segment 2's bottom, 0.5.
//   5 ft:  2 x 0.420448 x 7.853975 = 6.604380, reduced x 0.8 = 5.283504
//   10 ft: + (0.420448 + 0.5) x 7.853975 = 7.229177: 13.833557, reduced 11.066846
// The table shows the reduced resistance (11.1, not 13.8).
// End bearing 9 su = 9 ksf on the gross area 0.7853975 ft^2, averaged 1.5 ft either side of the tip:
//   0 ft:  only the 1.5 ft below ground: 9 x 0.7853975 x 1.5 / 3 = 3.534289, x 0.9 = 3.180860
//   5, 10 ft: 9 x 0.7853975 = 7.068578, x 0.9 = 6.361720
// Ultimate: 3.180860; 5.283504 + 6.361720 = 11.645224; 11.066846 + 6.361720 = 17.428566.
TEST(ApiReport, ClaySiteWithLrfdFactors) {
    CaseText c = OneSoil("2 1 100 0 9", "0 0 1000 500 0 20 0 0 0 0.8 0.9 0 0 0");
    testing::TempDir dir;
    const testing::RunResult r = testing::runCase(dir, c.str());
    ASSERT_EQ(r.status, 0) << r.errors;

    const std::string title = std::string(28, ' ') + "*  API RP-2A (2010)  *";
    std::size_t at = 0;
    while (at < r.report.size() && r.report[at] != title) ++at;
    ASSERT_LT(at + 8, r.report.size());
    const std::vector<std::string> rows(r.report.begin() + static_cast<std::ptrdiff_t>(at) + 5,
                                        r.report.begin() + static_cast<std::ptrdiff_t>(at) + 9);
    EXPECT_EQ(rows[0], "              FT.          KIP           KIP          KIP");
    EXPECT_EQ(rows[1], "              0.00           0.0           3.2          3.2");
    EXPECT_EQ(rows[2], "              5.00           5.3           6.4         11.6");
    EXPECT_EQ(rows[3], "             10.00          11.1           6.4         17.4");

    // One method printed, three rows, English, load transfer by API (input number 4).
    const std::vector<std::string> plot = testing::splitLines(r.plot);
    ASSERT_GT(plot.size(), 4u);  // the load-transfer records follow
    EXPECT_EQ(plot[0], "           1           3           1           4");
    EXPECT_EQ(plot[3], "    10.00      11.1       6.4       17.4      0.500");
}

}  // namespace
}  // namespace pileaxial
