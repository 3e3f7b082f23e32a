// Post-processing of a method: plug and annulus, gross-section average, tip decision, self weight.
#include "capacity/post_processing.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "capacity/end_bearing.hpp"
#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using pileaxial::testing::CaseText;

std::unique_ptr<Run> Prepared(const CaseText& text) { return testing::PreparedRun(text); }

// A small open pipe for hand checks: 8 in outside, 6 in inside, 3 ft long, in uniform sand of
// 100 pcf, phi 30, K 10, Nq 20, three 1 ft segments.  So sigma' = 0.1 z ksf, the unit end bearing of
// the offshore methods 20 sigma' = 2 z ksf, and the averaging window 1.5 x 8/12 = 1 ft each side.
CaseText SmallPipe() {
    CaseText text;
    text.g1 = "1 1 2 0";
    text.g2 = "0 0 8 6 29000000 3 0";
    text.g6 = "3 0";
    text.points = {{"0 1 10 100 30 20", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"},
                   {"10 1 10 100 30 20", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"}};
    return text;
}

void PostProcess(Run& run, int method) {
    run.capacity().CurrentMethodId = method;
    PostProcessMethod(run);
}

constexpr double kTol = 1.0e-5;

// Hand check, Revised Lambda (inner friction from the soil):
//   annulus area 0.7853975 x (64 - 36) / 144 = 0.152716 ft2, so AnnulusBearing = 0.305432 z kips;
//   inner friction tan 25 x 10 x 0.1 z = 0.466308 z ksf; over the 0.5 ft bore
//   InnerFrictionSum(z) = 1.570795 x 0.5 x (f1 + f2) summed = 0.366237 z^2 at the segment ends;
//   gross area 0.7853975 x (8/12)^2 = 0.349066 ft2, trapezoid integral of 2 z x 0.349066 = 0.349066 z^2.
TEST(PostProcessingHandCheck, PlugAnnulusGrossAndTipAtTwoPileLengths) {
    auto run = Prepared(SmallPipe());
    PostProcess(*run, kLambda);
    const MethodResult& r = run->capacity().current;
    ASSERT_EQ(run->capacity().pileNodeCount, 4);

    EXPECT_NEAR(r.AnnulusBearing(1, 2), 2.0 * 0.152716, kTol);   // q = 2 ksf at 1 ft
    EXPECT_NEAR(r.AnnulusBearing(2, 2), 4.0 * 0.152716, kTol);
    EXPECT_NEAR(r.InnerFrictionSum(2, 1), 0.366237, kTol);
    EXPECT_NEAR(r.InnerFrictionSum(2, 2), 1.464947, kTol);
    EXPECT_NEAR(r.InnerFrictionSum(1, 3), 1.464947, kTol);

    // Pile length 1 ft: plug friction 0.366237 (whole length), gross (I(2) - I(0)) / 2 = 0.698131;
    // U = 0.366237 + 0.305432 = 0.671669 <= B: the plug slips, TipControl 2, plug length 1.
    EXPECT_NEAR(r.PlugFriction[2], 0.366237, kTol);
    EXPECT_NEAR(r.AnnulusBearingAt[2], 0.305432, kTol);
    EXPECT_NEAR(r.GrossBearingAt[2], 0.698131, kTol);
    EXPECT_NEAR(r.EndBearing[2], 0.671669, kTol);
    EXPECT_NEAR(r.PlugLength[2], 1.0, 1e-12);
    EXPECT_EQ(run->capacity().method[kLambda].TipControl[2], 2);

    // Pile length 2 ft: step 1.464947 - 0.366237 = 1.098710; gross (I(3) - I(1)) / 2 = 1.396262;
    // U = 0.366237 + 1.098710 + 0.610864 = 2.075811 > B: the gross section governs.  Excess
    // (1.396262 - 0.366237) - 0.610864 = 0.419161; plug length 1 + 0.419161 / 1.098710 = 1.381502.
    EXPECT_NEAR(r.PlugFrictionStep[3], 1.098710, kTol);
    EXPECT_NEAR(r.GrossBearingAt[3], 1.396262, kTol);
    EXPECT_NEAR(r.EndBearing[3], 1.396262, kTol);
    EXPECT_NEAR(r.CarriedPlugFriction[3], 0.785397, kTol);
    EXPECT_NEAR(r.PlugLength[3], 1.381502, kTol);
    EXPECT_EQ(run->capacity().method[kLambda].TipControl[3], 1);

    // Pile length 0: half the window lies above the ground, I(1) / 2 = 0.174533.
    EXPECT_NEAR(r.GrossBearingAt[1], 0.174533, kTol);
    // Pile length 3 ft: the window reaches below the last segment end, where the integral holds:
    // (I(3) - I(2)) / 2 = 0.872664; the excess is negative, so the plug stays as it was.
    EXPECT_NEAR(r.GrossBearingAt[4], 0.872664, kTol);
    EXPECT_NEAR(r.EndBearing[4], 0.872664, kTol);
    EXPECT_NEAR(r.PlugLength[4], 1.381502, kTol);

    // Every method keeps its own copies.
    EXPECT_EQ(run->capacity().method[kLambda].SavedUnfactoredEndBearing[3], r.EndBearing[3]);
    EXPECT_EQ(run->capacity().method[kLambda].SavedPlugLength[3], r.PlugLength[3]);
}

TEST(PostProcessingHandCheck, GivenEnhancedEndLengthLimitsThePlugFriction) {
    CaseText text = SmallPipe();
    text.g3 = "1 6 0";  // 1 ft enhanced end
    auto run = Prepared(text);
    PostProcess(*run, kLambda);
    // Pile length 2 ft: InnerFrictionSum(2) - InnerFrictionSum(1) = 0.366237 x (4 - 1).
    EXPECT_NEAR(run->capacity().current.PlugFriction[3], 1.098710, kTol);
}

TEST(PostProcessingHandCheck, CapOfTheMaximumUnitBearingAndIcpAnnulusFloor) {
    auto run = Prepared(SmallPipe());
    run->capacity().CurrentMethodId = kLambda;
    ComputeUnitEndBearing(*run);
    ComputePlugAndAnnulus(*run);
    for (int s = 1; s <= 3; ++s) run->grid.segMaxBearing[s] = 1.0;  // cap only, after the unit bearing
    AverageGrossSectionBearing(*run);
    const MethodResult& r = run->capacity().current;
    // Cap integral 1 x 0.349066 z: window average 0.349066 at 2 ft (trapezoid 1.396262 is above);
    // at the head both averages are 0.174533, so the trapezoid stands.
    EXPECT_NEAR(r.GrossBearingAt[3], 0.349066, kTol);
    EXPECT_NEAR(r.GrossBearingAt[1], 0.174533, kTol);

    // ICP/MTD with qc = 100 ksf: unit bearing 100 x (0.5 - 0.25 log10(203.2/36)) = 31.2095 ksf, gross
    // 31.2095 x 0.349066 = 10.894 kips, below the annulus 100 x 0.152716 = 15.2716: raised to it.
    auto icp = Prepared(SmallPipe());
    for (int s = 1; s <= 3; ++s) icp->grid.segConeResistance[s] = 100000.0;
    PostProcess(*icp, kIcp);
    EXPECT_NEAR(icp->capacity().current.SegmentUnitBearing(1, 2), 31.2095, 1e-3);
    EXPECT_NEAR(icp->capacity().current.GrossBearingAt[3], 15.2716, 1e-3);
    EXPECT_NEAR(icp->capacity().current.GrossBearingAt[1], 7.6358, 1e-3);  // half the window
}

TEST(PostProcessingTip, ClosedEndedPileHasNoPlug) {
    CaseText text;
    text.g1 = "1 5 4 1";
    auto run = Prepared(text);
    for (int method : {kFhwa, kApi, kIcp}) {
        PostProcess(*run, method);
        const MethodResult& r = run->capacity().current;
        for (int k = 1; k <= run->capacity().pileNodeCount; ++k) {
            EXPECT_EQ(run->capacity().method[method].TipControl[k], 1);
            EXPECT_EQ(r.PlugLength[k], 0.0);
            EXPECT_EQ(r.EndBearing[k], r.GrossBearingAt[k]);
            EXPECT_EQ(run->capacity().method[method].SavedUnfactoredEndBearing[k], r.EndBearing[k]);
        }
    }
}

TEST(PostProcessingTip, FixedPlugOptions) {
    CaseText text;
    text.tail = "0\n0 1.0\n0 1 0\n0 0\n0 0\n0\n0\n0\n";  // plugged
    auto plugged = Prepared(text);
    PostProcess(*plugged, kApi);
    for (int k = 1; k <= plugged->capacity().pileNodeCount; ++k) {
        EXPECT_EQ(plugged->capacity().current.EndBearing[k], plugged->capacity().current.GrossBearingAt[k]);
        EXPECT_EQ(plugged->capacity().method[kApi].TipControl[k], 1);
    }

    text.tail = "0\n0 1.0\n0 2 0\n0 0\n0 0\n0\n0\n0\n";  // unplugged
    auto open = Prepared(text);
    PostProcess(*open, kApi);
    const MethodResult& r = open->capacity().current;
    for (int s = 1; s <= open->pile.segmentCount; ++s) EXPECT_EQ(r.InnerFrictionSum(2, s), 0.0);
    for (int k = 1; k <= open->capacity().pileNodeCount; ++k) {
        EXPECT_EQ(r.EndBearing[k], r.AnnulusBearingAt[k]);
        EXPECT_EQ(open->capacity().method[kApi].TipControl[k], 2);
    }
    // Sand at 10 ft, Nq 40: 40 x 1.15 = 46 ksf on 0.7853975 x (576 - 529) / 144 = 0.256345 ft2.
    EXPECT_NEAR(r.EndBearing[11], 11.7919, 1e-3);
}

TEST(PostProcessingTip, ZeroOutsideDiameterTakesTheValueAtTheTip) {
    CaseText text;
    text.g2 = "0 144 12 0 29000000 40 0";  // 1 ft2 section; the diameter is taken out below
    auto run = Prepared(text);
    testing::RemoveDiameters(*run);
    PostProcess(*run, kApi);
    // Sand, Nq 40, sigma' = 0.115 z: at 10 ft 46 ksf on 1 ft2 (closed section).
    EXPECT_NEAR(run->capacity().current.GrossBearingAt[11], 46.0, 1e-6);
    EXPECT_NEAR(run->capacity().current.EndBearing[11], 46.0, 1e-6);
}

// Tension: the end bearing is the pile's weight.  Steel 0.49 kcf, water 0.0624 kcf.
TEST(PostProcessingTension, OpenPipeWeightWithWaterTable) {
    CaseText text;
    text.tail = "0\n1 1.0\n0 2 0\n0 0\n0 0\n0\n0\n0\n";  // tension, unplugged
    text.g2 = "0 0 24 23 29000000 42 2";                  // 2 ft stickup
    auto run = Prepared(text);
    PostProcess(*run, kApi);
    const MethodResult& r = run->capacity().current;
    // As = 0.7853975 x 47 / 144 = 0.256345 ft2; water table 20 ft (first light point); h = 3 ft.
    // 10 ft: 20 >= 13, dry: 0.49 x 0.256345 x 10 = 1.256091 (no stickup on the unplugged tip).
    EXPECT_NEAR(r.EndBearing[11], 1.256091, kTol);
    // 30 ft: 0.49 x 0.256345 x 20 + 0.4276 x 0.256345 x 10 = 2.512181 + 1.096131.
    EXPECT_NEAR(r.EndBearing[31], 3.608312, kTol);
    EXPECT_EQ(run->capacity().method[kApi].TipControl[31], 2);

    // Plugged in tension: the weight stays, never the gross bearing (no stickup here).
    text.tail = "0\n1 1.0\n0 1 0\n0 0\n0 0\n0\n0\n0\n";
    text.g2 = "0 0 24 23 29000000 40 0";
    auto plugged = Prepared(text);
    PostProcess(*plugged, kApi);
    EXPECT_NEAR(plugged->capacity().current.EndBearing[11], 1.256091, kTol);
}

TEST(PostProcessingTension, BuoyantSelfWeightsGoNegative) {
    // Timber (0.05 kcf, lighter than water), 12 in solid, 2 ft stickup, water table at 0.5 ft which
    // is taken at 0.1 ft.  As = 0.7853975 ft2.
    CaseText timber;
    timber.g2 = "0 0 12 0 1500000 12 2";
    timber.g4 = "0 1 2 0 1 0 0";
    timber.points[0].first = "0 1 1 60 30 40";
    auto run = Prepared(timber);
    ASSERT_LT(run->soil.waterTableDepth, 1.0);
    run->pile.tensionLoading = 1;
    PostProcess(*run, kLambda);
    // 10 ft: 0.05 x 0.7853975 x 0.1 + (0.05 - 0.0624) x 0.7853975 x 9.9 = 0.003927 - 0.096415,
    // plus the stickup 0.05 x 0.7853975 x 2 = 0.078540: -0.013949.
    EXPECT_NEAR(run->capacity().current.EndBearing[11], -0.013949, kTol);
    EXPECT_EQ(run->soil.waterTableDepth, 0.0);  // the model keeps the depth given

    // Closed steel shell with a 20 in2 wall: the gross section displaces water below 20 ft.
    // 40 ft: 0.49 x (20/144) x 40 - (40 - 20) x 0.0624 x 3.1415900 = 2.722222 - 3.920704.
    CaseText shell;
    shell.g1 = "1 5 4 1";
    shell.g6 = "50 20";
    shell.tail = "0\n1 1.0\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
    auto closed = Prepared(shell);
    PostProcess(*closed, kUserMethod);
    EXPECT_NEAR(closed->capacity().current.EndBearing[41], -1.198482, kTol);
    EXPECT_EQ(closed->capacity().UserEndBearing[41], closed->capacity().current.EndBearing[41]);
}

TEST(PostProcessingTension, SelfWeightDirectly) {
    CaseText text;
    auto run = Prepared(text);
    // 18 ft: the water table at 20 ft is within the 3 ft window below the tip, so the buoyant rule
    // applies with a negative submerged length: 0.49 x 0.256345 x 20 - 0.4276 x 0.256345 x 2.
    const PileWeight w = ComputePileSelfWeight(*run, 18.0, false);
    EXPECT_NEAR(w.embedded, 2.292955, kTol);
    EXPECT_EQ(w.stickup, 0.0);
}

}  // namespace
}  // namespace pileaxial
