// USACE method: unit side friction per segment, the stress-based critical depth and the side
// resistance along the pile.  Expected values are worked out by hand in the comments.
#include "methods/onshore/usace.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;

constexpr double kTol = 2.0e-5;

std::unique_ptr<Run> Usace(const CaseText& c, void (*adjust)(Run&) = nullptr) {
    auto run = testing::PreparedRun(c);
    if (adjust) adjust(*run);
    UsaceUnitTransfer(*run);
    return run;
}

// A 12 in pipe, 10 ft long in 2 ft increments, in one uniform soil (gamma' 100 pcf unless given).
CaseText Uniform(const std::string& soil, const std::string& strengths) {
    CaseText c;
    c.g1 = "1 1 2 0";
    c.g2 = "0 0 12 11 29000000 10 0";
    c.g4 = "0 2 1 0 2 0 0";
    c.g5 = "0 1 0 0 0 0 0 0 0";
    c.g6 = "20 0";
    c.points = {{"0 " + soil, strengths}, {"20 " + soil, strengths}};
    return c;
}
const std::string kSandStrengths = "0 0 0 10 0 0 0 0 0 1 1 0 0 0";

TEST(UsaceHandCheck, EnglishSandOverClay) {
    // 12 in pipe (P = 3.14159 ft), 10 ft, dz = 2 ft.  Sand 0-6 ft: gamma' 100 pcf, phi 30, K 1; clay
    // 6-20 ft: c_u 1000 psf, c_r 500 psf.  Critical depth 10 D = 10 ft lies below the sand.
    // Sand: delta = 0.75 x 30 = 22.5, tan 22.5 = 0.414213; f = 1 x sigma' x 0.414213 with sigma' =
    // 0.2, 0.4, 0.6 ksf at 2, 4, 6 ft: 0.082843, 0.165685, 0.248528 ksf.
    // Clay: alpha(1.0 ksf) = 1 - 0.5 x 0.5 = 0.75; f = 0.75 ksf, remolded 0.75 x 0.5 = 0.375.
    // Tip (trapezoids of 2 ft, dz/2 = 1):  P x [(0 + .082843) + (.082843 + .165685) + (.165685 +
    // .248528) + (.248528 + .75) + (.75 + .75)] = 3.14159 x 3.244112 = 10.19167 kips.
    CaseText c = Uniform("", "");
    c.g1 = "1 1 4 0";
    c.points = {{"0 1 1 100 30 40", kSandStrengths},
                {"6 1 1 100 30 40", kSandStrengths},
                {"6 2 1 100 0 9", "0 0 1000 500 0 20 0 0 0 1 1 0 0 0"},
                {"20 2 1 100 0 9", "0 0 1000 500 0 20 0 0 0 1 1 0 0 0"}};
    auto run = Usace(c);
    const CapacityState& cap = run->capacity();
    const MethodResult& r = cap.current;
    EXPECT_EQ(cap.CurrentMethodId, kUsace);
    EXPECT_NEAR(cap.method[kUsace].SegmentRemoldedFriction(2, 3), 0.248528, kTol);
    EXPECT_NEAR(cap.method[kUsace].SegmentRemoldedFriction(1, 4), 0.375, kTol);
    EXPECT_NEAR(r.LimitedUnitSideFriction[2], 0.082843, kTol);
    EXPECT_NEAR(r.LimitedUnitSideFriction[4], 0.248528, kTol);
    EXPECT_NEAR(r.LimitedUnitSideFriction[5], 0.75, kTol);
    EXPECT_NEAR(r.TotalSkinFriction[6], 10.19167, 1e-4);
    EXPECT_NEAR(cap.method[kUsace].SavedSkin[6], 10.19167, 1e-4);
}

TEST(UsaceHandCheck, SiSandOverClay) {
    // 300 mm pipe (P = 3.14159 x 0.3 = 0.942477 m), 3 m, dz = 0.5 m.  Sand 0-2 m: gamma' 10, phi 36,
    // K 1.5; clay 2-6 m: c_u 48 kPa, c_r 20 kPa.  Critical depth 20 D = 6 m lies below the sand.
    // Sand: delta = 0.75 x 36 = 27, tan 27 = 0.509525; f = 1.5 x 0.509525 x sigma' = 0.764288 sigma'
    // with sigma' = 5, 10, 15, 20 kPa: 3.821439, 7.642879, 11.464318, 15.285757 kPa.
    // Clay: alpha = 1 - ((48 - 24) / 48) x 0.5 = 0.75; f = 36 kPa, remolded 15 kPa.
    // Tip: P x 0.25 x [2 x (3.821439 + 7.642879 + 11.464318) + 15.285757 + (15.285757 + 36) + 72]
    //    = 0.942477 x 46.107197 = 43.4550 kN.
    CaseText c;
    c.g1 = "2 1 4 0";
    c.g2 = "0 0 300 280 200000000 3 0";
    c.g4 = "0 0.5 1 0 2 0 0";
    c.g5 = "0 1 0 0 0 0 0 0 0";
    c.g6 = "6 0";
    c.points = {{"0 1 1.5 10 36 40", kSandStrengths},
                {"2 1 1.5 10 36 40", kSandStrengths},
                {"2 2 1 8 0 9", "0 0 48 20 0 20 0 0 0 1 1 0 0 0"},
                {"6 2 1 8 0 9", "0 0 48 20 0 20 0 0 0 1 1 0 0 0"}};
    auto run = Usace(c);
    const MethodResult& r = run->capacity().current;
    EXPECT_NEAR(r.LimitedUnitSideFriction[2], 3.821439, 1e-4);
    EXPECT_NEAR(r.LimitedUnitSideFriction[5], 15.285757, 1e-4);
    EXPECT_NEAR(r.LimitedUnitSideFriction[6], 36.0, 1e-4);
    EXPECT_NEAR(run->capacity().method[kUsace].SegmentRemoldedFriction(2, 5), 15.0, 1e-4);
    EXPECT_NEAR(r.TotalSkinFriction[7], 43.4550, 1e-3);
}

TEST(UsaceCohesionless, EarthPressureCoefficientAndWallFriction) {
    // Segment 1 bottom: sigma' = 0.1 x 2 = 0.2 ksf (the capped stress of segment 1 is its own).
    const auto bottom = [](const CaseText& c) {
        return Usace(c)->capacity().method[kUsace].SegmentUnitFriction(2, 1);
    };
    CaseText c = Uniform("1 2.0 100 30 40", kSandStrengths);
    EXPECT_NEAR(bottom(c), 2.0 * 0.2 * 0.414213, kTol);   // K_in = 2.0 used as given
    c.g5 = "0 1 0 1 0 0 0 0 0";                            // with the API method selected too
    EXPECT_NEAR(bottom(c), 1.25 * 0.2 * 0.414213, kTol);  // the default 1.25 instead
    c.tail = "0\n1 0.5\n0 0 0\n0 0\n0 0\n0\n0\n0\n";        // tension: default 0.6
    EXPECT_NEAR(bottom(c), 0.6 * 0.2 * 0.414213, kTol);

    c = Uniform("1 1 100 32 40", kSandStrengths);
    c.g4 = "0 2 6 0 2 0 0";                                // H-pile: delta = (32 + 24) / 2 = 28
    EXPECT_NEAR(bottom(c), 0.2 * 0.531709, kTol);          // tan 28 = 0.531709
    c = Uniform("1 1 100 30 40", kSandStrengths);
    c.g4 = "0 2 2 0 2 0 0";                                // timber: 0.9 x 30 = 27
    EXPECT_NEAR(bottom(c), 0.2 * 0.509525, kTol);
    c.g4 = "0 2 3 0 2 0 0";                                // concrete: 0.95 x 30 = 28.5
    EXPECT_NEAR(bottom(c), 0.2 * 0.542956, kTol);

    // Battered 10 degrees: h = 2 cos 10 = 1.969616 ft, sigma' = 0.196962 ksf;
    // f = 0.196962 x tan 22.5 x (1 x cos 10 + sin 10) = 0.196962 x 0.414213 x 1.158456 = 0.094512.
    c = Uniform("1 1 100 30 40", kSandStrengths);
    c.g3 = "0 0 10";
    EXPECT_NEAR(bottom(c), 0.094512, kTol);
}

TEST(UsaceCohesive, AdhesionFactorAndMixedSoil) {
    const auto top = [](const CaseText& c) { return Usace(c)->capacity().method[kUsace].SegmentUnitFriction(1, 1); };
    EXPECT_NEAR(top(Uniform("2 1 100 0 9", "0 0 1000 0 0 0 0 0 0 1 1 0 0 0")), 0.75, kTol);  // 0.75 x 1.0
    EXPECT_NEAR(top(Uniform("2 1 100 0 9", "0 0 2000 0 0 0 0 0 0 1 1 0 0 0")), 1.0, kTol);   // 0.5 x 2.0
    CaseText si = Uniform("2 1 8 0 9", "0 0 96 0 0 0 0 0 0 1 1 0 0 0");
    si.g1 = "2 1 2 0";
    si.g2 = "0 0 300 280 200000000 3 0";
    si.g4 = "0 0.5 1 0 2 0 0";
    si.g6 = "6 0";
    EXPECT_NEAR(top(si), 48.0, 1e-4);  // alpha 0.5 above 72 kPa
    si.points[0].second = si.points[1].second = "0 0 48 0 0 0 0 0 0 1 1 0 0 0";
    EXPECT_NEAR(top(si), 36.0, 1e-4);  // 1 - (24 / 48) x 0.5 = 0.75

    // Silt (class 3) with phi 30, c_u 1000 psf, c_r 400 psf: alpha 0.75, alpha c_u = 0.75,
    // alpha c_r = 0.3, frictional part 0 at the top and 0.2 x 0.414213 = 0.082843 at the bottom.
    auto run = Usace(Uniform("3 1 100 30 9", "0 0 1000 400 0 0 0 0 0 1 1 0 0 0"));
    const MethodCurves& m = run->capacity().method[kUsace];
    EXPECT_NEAR(m.SegmentUnitFriction(1, 1), 0.75, kTol);
    EXPECT_NEAR(m.SegmentUnitFriction(2, 1), 0.832843, kTol);
    EXPECT_NEAR(m.SegmentRemoldedFriction(1, 1), 0.3, kTol);
    EXPECT_NEAR(m.SegmentRemoldedFriction(2, 1), 0.3, kTol);
    EXPECT_NEAR(m.SegmentThirdFriction(1, 1), 0.3, kTol);
    EXPECT_NEAR(m.SegmentThirdFriction(2, 1), 0.382843, kTol);
}

TEST(UsaceTaper, TimberPileNarrowsLikeFhwa) {
    // Timber pile, 12 in butt, 60 ft in 1 ft increments, in clay with c_u 500 psf (alpha 1, f =
    // 0.5 ksf).  Taper 0.19898 deg: tan(0.19898 x 0.01745) = 0.0034722, so the tip is 12 - 2 x
    // 0.0034722 x 60 x 12 = 7.00 in.  Each increment takes the perimeter at its lower node:
    // sum over k = 1..60 of (1 - 2 x 0.0034722 x k) = 60 - 12.70831 = 47.29169 ft of diameter, and
    // Q = 0.5 x 3.14159 x 47.29169 = 74.28556 kips; the butt perimeter throughout would give
    // 0.5 x 3.14159 x 60 = 94.24770 kips, 1.26872 times as much.
    CaseText c = Uniform("2 1 100 0 9", "0 0 500 0 0 0 0 0 0 1 1 0 0 0");
    c.g2 = "0 0 12 0 1600000 60 0";
    c.g6 = "70 0";
    c.points[1].first = "70 2 1 100 0 9";
    c.g4 = "0 1 2 0 2 0 0";
    const double straight = Usace(c)->capacity().current.TotalSkinFriction[61];
    c.g4 = "0 1 2 0.19898 2 0 0";
    auto run = Usace(c);
    const double tapered = run->capacity().current.TotalSkinFriction[61];
    EXPECT_NEAR(straight, 94.24770, 1e-4);
    EXPECT_NEAR(tapered, 74.28556, 1e-4);
    EXPECT_NEAR(straight / tapered, 1.26872, 1e-5);
    // The first increment is nearly the butt's: 0.5 x 3.14159 x (1 - 0.0069444) = 1.55988.
    EXPECT_NEAR(run->capacity().current.SideForceIncrement[2], 1.55988, 1e-5);
}

// SI sand (gamma' 10, phi 40, delta 30, K 1) in 1 m segments, f_bot = 10 s x tan 30 = 5.773503 s.
CaseText SiSand() {
    CaseText c = Uniform("1 1 10 40 40", kSandStrengths);
    c.g1 = "2 1 2 0";
    c.g2 = "0 0 300 280 200000000 4 0";
    c.g4 = "0 1 1 0 2 0 0";
    c.g6 = "20 0";
    return c;
}

TEST(UsaceNodes, SiNodeTakesTheBottomOfItsSegment) {
    // Nodes at half the segment height: node 4 at 1.5 m lies inside segment 2 (1-2 m).  In SI it
    // takes that segment's bottom value 20 x tan 30 = 11.547005 kPa, not the 8.660254 at 1.5 m;
    // node 2 at 0.5 m is in the first segment and is interpolated: 2.886751.
    auto run = Usace(SiSand(), [](pileaxial::Run& r) { r.pile.verticalIncrement = 0.5; });
    const MethodResult& r = run->capacity().current;
    EXPECT_NEAR(r.UnitSideFriction[2], 2.886751, 1e-4);
    EXPECT_NEAR(r.UnitSideFriction[4], 11.547005, 1e-4);
}

TEST(UsaceCriticalDepth, StressOptionIsFoundAgain) {
    // English, gamma' 125 pcf in 1 ft segments: 3.5 ksf is reached at 28 ft and passed at 29 ft.
    CaseText c = Uniform("1 1 125 30 40", kSandStrengths);
    c.g4 = "0 1 1 0 2 0 0";
    c.g6 = "40 0";
    c.tail = "0\n0 1.0\n0 0 0\n0 0\n1 0\n0\n0\n0\n";
    auto run = Usace(c, [](pileaxial::Run& r) { r.pile.userCriticalDepth = 5.0; });  // stale: reset first
    EXPECT_EQ(run->pile.userCriticalDepth, 29.0);

    // SI, gamma' 21: 168 kPa at 8 m (enough for 167.58, not for 168), 189 kPa at 9 m -> 0.5 x 9.
    c = SiSand();
    c.points[0].first = "0 1 1 21 40 40";
    c.points[1].first = "20 1 1 21 40 40";
    c.tail = "0\n0 1.0\n0 0 0\n0 0\n1 0\n0\n0\n0\n";
    run = Usace(c);
    EXPECT_EQ(run->pile.userCriticalDepth, 4.5);
}

}  // namespace
}  // namespace pileaxial
