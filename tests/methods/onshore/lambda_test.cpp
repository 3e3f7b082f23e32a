// Revised Lambda method: side resistance lambda (sigma-bar' + 2 c-bar) P z at the nodes, unit side
// friction by differencing, limits, tension and the factored cumulative.  Expected values are worked
// out by hand in the comments (ln by calculator).
#include "methods/onshore/lambda.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/test_support.hpp"
#include "textio/input_error.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;

std::unique_ptr<Run> Lambda(const CaseText& c, void (*adjust)(pileaxial::Run&) = nullptr) {
    auto run = testing::PreparedRun(c);
    if (adjust) adjust(*run);
    LambdaUnitTransfer(*run);
    return run;
}

// A 12 in pipe (ID 11 in: A = 0.7853975 x (144 - 121) = 18.064143 in^2, E 29000 ksi), 10 ft long in
// 2 ft increments (P = 3.14159 ft), in one uniform soil with gamma' 100 pcf.
CaseText Uniform(const std::string& soil, const std::string& strengths) {
    CaseText c;
    c.g1 = "1 1 2 0";
    c.g2 = "0 0 12 11 29000000 10 0";
    c.g4 = "0 2 1 0 3 0 0";
    c.g5 = "0 0 1 0 0 0 0 0 0";
    c.g6 = "20 0";
    c.points = {{"0 " + soil, strengths}, {"20 " + soil, strengths}};
    return c;
}
const std::string kClay = "2 1 100 0 9";
const std::string kClayStrengths = "0 0 1000 500 0 20 0 0 0 1 1 0 0 0";
const std::string kSandStrengths = "0 0 0 10 0 0 0 0 0 1 1 0 0 0";

TEST(LambdaHandCheck, EnglishClayOverSandWithInputArea) {
    // Clay 0-4 ft (c_u 1 ksf) over sand 4-20 ft (K 1, phi 30, tan 30 = 0.577350), gamma' 100 pcf.
    // Input area 18 in^2 (0.125 ft^2 once read, 18 in^2 again for the stiffness ratio).
    // pi2 = 3141.59 x 12 x z^2 x c / (18 x 0.1 x 29.0E6) = 7.22205E-4 x z^2 x c.
    // z = 2 (bottom of segment 1: c = s1 = 1, sigma = 0.2 / 2 = 0.1): pi2 = 0.0028888, ln = -5.84691,
    //   c/sigma >= 0.4: lambda = 0.232 + 0.032 x 5.84691 = 0.419101;
    //   Q = (2 + 0.1) x 3.14159 x 2 x 0.419101 = 5.52990 kips; f = 5.52990 / 3.14159 / 2 = 0.880112.
    // z = 4: c = 1, sigma = 0.2: pi2 = 0.0115553, lambda = 0.232 + 0.032 x 4.46061 = 0.374740;
    //   Q = 2.2 x 3.14159 x 4 x 0.374740 = 10.36005; f = (10.36005 - 5.52990) / 6.28318 = 0.768742.
    // z = 10: sand s = 0.577350 x 0.5, 0.7, 0.9 ksf; c = (2 + 2 + 2 x 0.577350 x 2.1) / 10 = 0.642487,
    //   sigma = 0.5; pi2 = 0.0464007, lambda = 0.232 + 0.032 x 3.07044 = 0.330254;
    //   Q = (1.284974 + 0.5) x 3.14159 x 10 x 0.330254 = 18.5195 kips (Q grows at every node, so the
    //   side resistance at the tip is Q itself).
    CaseText c = Uniform("", "");
    c.g1 = "1 1 4 0";
    c.g2 = "0 18 12 11 29000000 10 0";
    c.points = {{"0 2 1 100 0 9", kClayStrengths},
                {"4 2 1 100 0 9", kClayStrengths},
                {"4 1 1 100 30 40", kSandStrengths},
                {"20 1 1 100 30 40", kSandStrengths}};
    auto run = Lambda(c);
    const CapacityState& cap = run->capacity();
    const MethodResult& r = cap.current;
    EXPECT_EQ(cap.CurrentMethodId, kLambda);
    EXPECT_EQ(r.TotalSkinFriction[1], 0.0);
    EXPECT_NEAR(r.LimitedUnitSideFriction[2], 0.880112, 1e-5);
    EXPECT_NEAR(r.LimitedUnitSideFriction[3], 0.768742, 1e-5);
    EXPECT_NEAR(r.TotalSkinFriction[2], 5.52990, 1e-4);
    EXPECT_NEAR(r.TotalSkinFriction[6], 18.5195, 1e-3);
    EXPECT_NEAR(cap.method[kLambda].SavedSkin[6], 18.5195, 1e-3);
    // The segment pairs carry the friction of the increment in each segment, none below the tip.
    EXPECT_NEAR(cap.method[kLambda].SegmentUnitFriction(2, 1), 0.880112, 1e-5);
    EXPECT_EQ(cap.method[kLambda].SegmentRemoldedFriction(1, 6), 0.0);
}

TEST(LambdaHandCheck, SiSandOverClayWithComputedArea) {
    // 300 mm pipe, ID 280: A = 0.7853975 x (90000 - 78400) = 9110.611 mm^2, E 2.0E8 kPa, P = 0.942477 m;
    // 3 m in 0.5 m increments.  Sand 0-1 m (K 0.6, phi 30, gamma' 18) over clay 1-6 m (c_u 50, gamma' 8).
    // pi2 = 3141590 x 300 x z^2 x c / (9110.611 x 2.54 x 2.0E8) = 2.03638E-4 x z^2 x c.
    // z = 0.5 (segment 1): sigma = 9 / 2 = 4.5, c = 0.6 x 4.5 x 0.577350 = 1.558845; c/sigma = 0.346
    //   < 0.4: pi2 = 7.93602E-5, lambda = 0.178 + 0.016 x 9.44151 = 0.329064;
    //   Q = (3.117690 + 4.5) x 0.942477 x 0.5 x 0.329064 = 1.181258 kN; f = 1.181258 / 0.471239 = 2.506709.
    // z = 1.0: sigma = (2.25 + 6.75) / 1 = 9, c = 0.5 x (1.558845 + 4.676535) = 3.117690 (ratio 0.346):
    //   pi2 = 6.34881E-4, lambda = 0.178 + 0.016 x 7.36203 = 0.295793;
    //   Q = (6.235380 + 9) x 0.942477 x 1.0 x 0.295793 = 4.247293; f = (4.247293 - 1.181258) / 0.471239 = 6.506334.
    // z = 3.0: sigma = (2.25 + 6.75 + 10 + 12 + 14 + 16) / 3 = 20.33333, c = (3.117690 + 4 x 25) / 3 = 34.372563;
    //   pi2 = 0.0629961, lambda = 0.232 + 0.032 x 2.76468 = 0.320470;
    //   Q = (68.745126 + 20.333333) x 0.942477 x 3 x 0.320470 = 80.7146 kN at the tip.
    CaseText c;
    c.g1 = "2 1 4 0";
    c.g2 = "0 0 300 280 200000000 3 0";
    c.g4 = "0 0.5 1 0 3 0 0";
    c.g5 = "0 0 1 0 0 0 0 0 0";
    c.g6 = "6 0";
    c.points = {{"0 1 0.6 18 30 40", kSandStrengths},
                {"1 1 0.6 18 30 40", kSandStrengths},
                {"1 2 1 8 0 9", "0 0 50 20 0 20 0 0 0 1 1 0 0 0"},
                {"6 2 1 8 0 9", "0 0 50 20 0 20 0 0 0 1 1 0 0 0"}};
    auto run = Lambda(c);
    const MethodResult& r = run->capacity().current;
    EXPECT_NEAR(r.LimitedUnitSideFriction[2], 2.506709, 1e-4);
    EXPECT_NEAR(r.LimitedUnitSideFriction[3], 6.506334, 1e-4);
    EXPECT_NEAR(r.TotalSkinFriction[7], 80.7146, 1e-3);

    // The same section given as an area, 9110.611 mm^2 = 0.009110611 m^2, gives the same pile.
    c.g2 = "0 0.009110611 300 280 200000000 3 0";
    EXPECT_NEAR(Lambda(c)->capacity().current.TotalSkinFriction[7], 80.7146, 1e-3);
}

TEST(LambdaNodes, StrengthAverages) {
    // Sand only (K 1, phi 30): c-bar = s1 = 0.1 x 0.577350 = 0.057735 at z = 2, sigma-bar 0.1 (ratio
    // 0.577, cohesive curve): pi2 = 3141.59 x 12 x 4 x 0.057735 / (18.064143 x 0.1 x 29.0E6) = 1.66194E-4,
    // lambda = 0.232 + 0.032 x 8.70236 = 0.510476; Q = 0.215470 x 6.28318 x 0.510476 = 0.691100.
    EXPECT_NEAR(Lambda(Uniform("1 1 100 30 40", kSandStrengths))->capacity().current.TotalSkinFriction[2],
                0.691100, 1e-5);

    // A soft pile (E = 1 ksi): at z = 2 in clay pi2 = 150796.3 / (18.064143 x 0.1 x 1000) = 83.48 and
    // 0.232 - 0.032 x 4.42459 = 0.0904 is raised to 0.14: Q = 0.14 x 2.1 x 3.14159 x 2 = 1.847255.
    CaseText c = Uniform(kClay, kClayStrengths);
    c.g2 = "0 0 12 11 1000 10 0";
    EXPECT_NEAR(Lambda(c)->capacity().current.TotalSkinFriction[2], 1.847255, 1e-5);

    // No effective stress (gamma' 0): sigma-bar = 0 counts as purely cohesive.  pi2 = 150796.3 /
    // 52386015 = 0.00287856, lambda = 0.232 + 0.032 x 5.85046 = 0.419215; Q = 2 x 6.28318 x 0.419215.
    EXPECT_NEAR(Lambda(Uniform("2 1 0 0 9", kClayStrengths))->capacity().current.TotalSkinFriction[2],
                5.26800, 1e-4);

    // An earth-pressure coefficient of 0 in the grid is taken, and kept, as 1.0.
    auto zero = Lambda(Uniform("1 1 100 30 40", kSandStrengths), [](pileaxial::Run& r) {
        for (int s = 1; s <= r.pile.segmentCount; ++s) r.grid.segEarthPressure[s] = 0.0;
    });
    EXPECT_EQ(zero->grid.segEarthPressure[3], 1.0);
    EXPECT_NEAR(zero->capacity().current.TotalSkinFriction[2], 0.691100, 1e-5);
}

// An 85 ft open pipe (24 in, ID 23 in) in stiff clay (c_u 4 ksf, gamma' 60 pcf) with the unit
// friction limited to 1 ksf below 70 ft; 1 ft increments.
CaseText LongPile(bool tension) {
    CaseText c = Uniform("", "");
    c.g1 = "1 1 4 0";
    c.g2 = "0 0 24 23 29000000 85 0";
    c.g4 = "0 1 1 0 3 0 0";
    c.g6 = "100 0";
    c.points = {{"0 2 1 60 0 9", "0 0 4000 2000 0 20 0 0 0 1 1 0 0 0"},
                {"70 2 1 60 0 9", "0 0 4000 2000 0 20 0 0 0 1 1 0 0 0"},
                {"70 2 1 60 0 9", "1000 0 4000 2000 0 20 0 0 0 1 1 0 0 0"},
                {"100 2 1 60 0 9", "1000 0 4000 2000 0 20 0 0 0 1 1 0 0 0"}};
    if (tension) c.tail = "0\n1 0.5\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
    return c;
}

TEST(LambdaTension, ReducesTheCompressionResultAndNeverShrinksWithLength) {
    auto compression = Lambda(LongPile(false));
    auto tension = Lambda(LongPile(true));
    const MethodResult& rc = compression->capacity().current;
    const MethodResult& rt = tension->capacity().current;
    // The limit acts from 70 ft (node 71) down; above it the friction is about 1.15 ksf.
    ASSERT_EQ(rc.LimitedUnitSideFriction[71], 1.0);
    for (int k = 1; k <= 86; ++k) {
        EXPECT_NEAR(rt.TotalSkinFriction[k], 0.5 * rc.TotalSkinFriction[k], 1e-9) << "node " << k;
        EXPECT_NEAR(rt.LimitedUnitSideFriction[k], 0.5 * rc.LimitedUnitSideFriction[k], 1e-9) << "node " << k;
        if (k > 1) {
            EXPECT_GE(rt.TotalSkinFriction[k], rt.TotalSkinFriction[k - 1]) << "node " << k;
        }
    }
    // Below 70 ft each foot adds 0.5 x 1 ksf x P (P = 3.14159 x 2 = 6.28318 ft): 3.14159 kips.
    EXPECT_NEAR(rt.TotalSkinFriction[86] - rt.TotalSkinFriction[85], 3.14159, 1e-4);
}

TEST(LambdaCumulative, FactoredAndReportedResistance) {
    // LRFD factor 0.5 on friction everywhere: the cumulative left is halved; the report shows the
    // unfactored sum under option 0 and the factored one under option 1.
    auto plain = Lambda(Uniform(kClay, kClayStrengths));
    CaseText c = Uniform(kClay, "0 0 1000 500 0 20 0 0 0 0.5 1 0 0 0");
    auto option0 = Lambda(c);
    c.g4 = "0 2 1 0 3 0 1";
    auto option1 = Lambda(c);
    const double full = plain->capacity().current.TotalSkinFriction[6];
    EXPECT_NEAR(option0->capacity().current.TotalSkinFriction[6], 0.5 * full, 1e-9);
    EXPECT_NEAR(option0->capacity().method[kLambda].SavedSkin[6], full, 1e-9);
    EXPECT_NEAR(option1->capacity().method[kLambda].SavedSkin[6], 0.5 * full, 1e-9);
}

TEST(LambdaInput, PileWithoutStiffnessOrSectionIsRefused) {
    CaseText c = Uniform(kClay, kClayStrengths);
    c.g2 = "0 0 12 11 0 10 0";
    EXPECT_THROW(Lambda(c), InputError);
    c.g2 = "0 0 12 12 29000000 10 0";  // no annulus and no area given: refused on reading
    EXPECT_THROW(Lambda(c), InputError);
    c.g2 = "0 18 12 11 29000000 10 0";
    EXPECT_NO_THROW(Lambda(c));
}

}  // namespace
}  // namespace pileaxial
