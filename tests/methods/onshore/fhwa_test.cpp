// FHWA unit side friction and side resistance: a sand-over-clay case worked by hand in both unit
// systems, then the rules of the sand and clay procedures and of the node integration one by one.
#include "methods/onshore/fhwa.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;

std::unique_ptr<Run> Prepare(const CaseText& c) { return testing::PreparedRun(c); }

std::unique_ptr<Run> Analyse(const CaseText& c) {
    auto run = Prepare(c);
    FhwaUnitTransfer(*run);
    return run;
}

std::string S2(const std::string& strengths, const std::string& lrfd = "1", const std::string& caseValue = "0") {
    return "0 0 " + strengths + " 0 20 0 0 0 " + lrfd + " 1 " + caseValue + " 0 0";
}

// 12 in x 11 in open steel pipe (type 1), 35 ft embedded, area 57.6 in^2, increments of 5 ft, in 20 ft
// of sand (100 pcf, phi 30) over clay (50 pcf, su 2000 -> 3000 psf and remolded 1000 -> 1500 psf
// from 20 to 40 ft).
CaseText HandCaseEnglish() {
    CaseText c;
    c.g1 = "1 1 4 0";
    c.g2 = "0 57.6 12 11 29000000 35 0";
    c.g4 = "0 5 1 0 1 0 0";
    c.g6 = "40 0";
    c.points = {{"0 1 1 100 30 40", S2("0 10")},
                {"20 1 1 100 30 40", S2("0 10")},
                {"20 2 1 50 0 9", S2("2000 1000")},
                {"40 2 1 50 0 9", S2("3000 1500")}};
    return c;
}

// The same case in SI: 304.8 x 279.4 mm, 10.668 m, 0.03716 m^2, increments of 1.524 m; sand 15.71
// kN/m^3 to 6.096 m, clay 7.85 kN/m^3 with su 95.76 -> 143.64 kPa, remolded 47.88 -> 71.82 kPa.
CaseText HandCaseSi() {
    CaseText c;
    c.g1 = "2 1 4 0";
    c.g2 = "0 0.03716 304.8 279.4 200000000 10.668 0";
    c.g4 = "0 1.524 1 0 1 0 0";
    c.g6 = "12.192 0";
    c.points = {{"0 1 1 15.71 30 40", S2("0 10")},
                {"6.096 1 1 15.71 30 40", S2("0 10")},
                {"6.096 2 1 7.85 0 9", S2("95.76 47.88")},
                {"12.192 2 1 7.85 0 9", S2("143.64 71.82")}};
    return c;
}

double Relative(double expected) { return std::abs(expected) * 1.0e-6 + 1.0e-9; }

// Sand, every segment: V = 57.6 / 144 = 0.4 ft^3/ft (area given, plug state not set yet).
//   delta/phi (type 1, V 0.4) = 0.41; delta = 30 x 0.41 = 12.3 deg; sin 12.3 = 0.2130304
//   C_F (0.41, phi 30) = 0.69 + 0.01 x (0.82 - 0.69) / 0.2 = 0.6965
//   K (phi 30, V 0.4) = 1.15 + 0.6 x (0.85 - 1.15) / 0.9 = 0.95
//   f / sigma' = 0.6965 x 0.2130304 x 0.95 = 0.1409569
// Clay, segments 5-7 (bottoms 25, 30, 35): layer 20..40, ratio = (0 - 20 + min(40, 35)) / 1 ft = 15,
//   case 1 (sand above), alpha = a20 + 5 x (a10 - a20) / 10 with a10 = 1.
//   seg 5, su 2.125: a20 = 0.875 + 0.375 x 0.075 / 0.5 = 0.93125, alpha 0.965625, f = 2.0519531
//   seg 6, su 2.375: a20 = 0.89375, alpha 0.946875, f = 2.2488281
//   seg 7, su 2.625: a20 = 0.75 + 0.375 x 0.125 / 0.5 = 0.84375, alpha 0.921875, f = 2.4199219
// Segment 8 (35..40, below the tip) ends the stratum: H_acc = 20, ratio = (20 - 20 + 35) / 1 = 35;
//   su 2.875: a20 = 0.78125, a40 = 0.44 + 0.125 x 0.06 / 0.5 = 0.455,
//   alpha = 0.455 + 5 x (0.78125 - 0.455) / 20 = 0.5365625, f = 1.5426172
// Nodes every 5 ft: f = 0, 0.0704784, 0.1409569, 0.2114353, 0.2819138 (20 ft: bottom of the sand
//   segment), 2.0519531, 2.2488281, 2.4199219.
// Side resistance at the tip: dz/2 x pi x D = 2.5 x 3.14159 x 1 = 7.853975;
//   sum of increment pairs = 2 x (10 x 0.0704784 + 2.0519531 + 2.2488281) + 2.4199219 = 12.4310532
//   R_s = 97.63318 kips.
TEST(FhwaHandCase, SandOverClayEnglish) {
    auto run = Analyse(HandCaseEnglish());
    const CapacityState& cap = run->capacity();
    EXPECT_EQ(cap.CurrentMethodId, 1);
    const MethodResult& r = cap.current;
    ASSERT_EQ(cap.pileNodeCount, 8);
    EXPECT_NEAR(r.UnitSideFriction[3], 0.1409569, 2e-7);   // 10 ft, sand
    EXPECT_NEAR(r.UnitSideFriction[5], 0.2819138, 2e-7);   // 20 ft, layer boundary
    EXPECT_NEAR(r.UnitSideFriction[7], 2.248828125, Relative(2.25));  // 30 ft, clay
    EXPECT_NEAR(r.UnitSideFriction[8], 2.419921875, Relative(2.42));  // tip
    EXPECT_NEAR(r.TotalSkinFriction[8], 97.63318, 1e-4);
    EXPECT_NEAR(cap.method[1].SavedSkin[8], 97.63318, 1e-4);

    const MethodCurves& m = cap.method[1];
    EXPECT_NEAR(m.SegmentUnitFriction(1, 8), 1.5426172, 1e-6);
    // Alternate pair: alpha x remolded strength; seg 5 su_r 1.0625 -> 0.965625 x 1.0625 = 1.0259766
    EXPECT_NEAR(m.SegmentRemoldedFriction(2, 5), 1.0259766, 1e-6);
    EXPECT_EQ(m.SegmentRemoldedFriction(2, 3), m.SegmentUnitFriction(2, 3));
}

// SI: stresses 15.71 x 1.524 = 23.94204 kPa per sand segment; V = 0.03716 / 0.0929 = 0.4, so the sand
// coefficient is again 0.1409569.  The clay strengths are the English ones x 47.88 and the ratio is
// again (0 - 6.096 + 10.668) / 0.3048 = 15, so f = English f x 47.88.
//   3.048 m: 0.1409569 x 47.88408 = 6.749591; 6.096 m: 13.499181; 9.144 m: 2.2488281 x 47.88 =
//   107.673891; tip: 115.865859; segment 8: 1.5426172 x 47.88 = 73.860511 (ratio 35 as in English).
//   R_s = 0.762 x 3.14159 x 0.3048 x (2 x (10 x 3.3747953 + 98.247516 + 107.673891) + 115.865859)
//       = 0.7296732 x 595.204577 = 434.2959 kN (97.633 kips x 4.448 kN/kip).
TEST(FhwaHandCase, SameCaseInSi) {
    auto run = Analyse(HandCaseSi());
    const MethodResult& r = run->capacity().current;
    EXPECT_NEAR(r.UnitSideFriction[3], 6.749591, 1e-5);
    EXPECT_NEAR(r.UnitSideFriction[5], 13.499181, 2e-5);
    EXPECT_NEAR(r.UnitSideFriction[7], 107.673891, 1e-4);
    EXPECT_NEAR(r.UnitSideFriction[8], 115.865859, 1e-4);
    EXPECT_NEAR(run->capacity().method[1].SegmentUnitFriction(2, 8), 73.860511, 1e-5);
    EXPECT_NEAR(r.TotalSkinFriction[8], 434.2959, 1e-3);
}

TEST(FhwaNodes, ZeroFrictionLengthAndTension) {
    CaseText c = HandCaseEnglish();
    c.g4 = "10 5 1 0 1 0 0";  // a node exactly at the zero friction length carries friction
    auto atZfl = Analyse(c);
    EXPECT_EQ(atZfl->capacity().current.UnitSideFriction[2], 0.0);
    EXPECT_NEAR(atZfl->capacity().current.UnitSideFriction[3], 0.1409569, 2e-7);
    c.g4 = "10.5 5 1 0 1 0 0";
    EXPECT_EQ(Analyse(c)->capacity().current.UnitSideFriction[3], 0.0);

    // Clay from the surface (node 1 carries friction): R_t = 0.5 halves every node below the head.
    CaseText clay = HandCaseEnglish();
    clay.g1 = "1 1 2 0";
    clay.points = {{"0 2 1 50 0 9", S2("2000 1000")}, {"40 2 1 50 0 9", S2("3000 1500")}};
    auto compression = Analyse(clay);
    clay.tail = "0\n1 0.5\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
    auto tension = Analyse(clay);
    const MethodResult& a = compression->capacity().current;
    const MethodResult& b = tension->capacity().current;
    EXPECT_GT(a.UnitSideFriction[1], 0.0);
    EXPECT_EQ(b.UnitSideFriction[1], a.UnitSideFriction[1]);
    for (int k = 2; k <= 8; ++k) EXPECT_DOUBLE_EQ(b.UnitSideFriction[k], 0.5 * a.UnitSideFriction[k]);
}

// LRFD factor 0.8 on unit friction everywhere: the factored resistance is 0.8 x 97.63318 = 78.10655.
TEST(FhwaNodes, ReportingOptionChoosesTheReportedResistance) {
    CaseText c = HandCaseEnglish();
    c.points[0].second = c.points[1].second = S2("0 10", "0.8");
    c.points[2].second = S2("2000 1000", "0.8");
    c.points[3].second = S2("3000 1500", "0.8");
    auto unfactored = Analyse(c);
    const CapacityState& u = unfactored->capacity();
    EXPECT_NEAR(u.current.ReportedSkinFriction[8], 97.63318, 1e-4);
    EXPECT_NEAR(u.method[1].SavedSkin[8], 97.63318, 1e-4);
    EXPECT_NEAR(u.current.TotalSkinFriction[8], 78.10655, 1e-4);

    c.g4 = "0 5 1 0 1 0 1";
    auto reduced = Analyse(c);
    EXPECT_NEAR(reduced->capacity().current.ReportedSkinFriction[8], 78.10655, 1e-4);
    EXPECT_NEAR(reduced->capacity().method[1].SavedSkin[8], 78.10655, 1e-4);
}

// An H-pile (type 6) of 144 in^2 displaces V = 1.0 ft^3/ft even when plugged, so delta/phi = 0.98 and
// K is the V = 1.0 curve at omega 0: 0.85 (25), 1.15 (30), 1.75 (35), 3.00 (40).
// C_F (0.98, phi) = C_0.8 + 0.9 x (1 - C_0.8), with C_0.8 read in phi:
//   phi 24: C_0.8 0.96 -> 0.996,  f/sigma = 0.996 x sin 23.52 x 0.85 = 0.3378519   (25 deg chart alone)
//   phi 25: 0.955 -> 0.9955,      0.9955 x sin 24.5 x 0.85 = 0.3509031
//   phi 30: 0.94 -> 0.994,        0.994 x sin 29.4 x 1.15 = 0.5611521
//   phi 35: 0.915 -> 0.9915,      0.9915 x sin 34.3 x 1.75 = 0.9777881
//   phi 37.5: 0.9025 -> 0.99025,  K = (1.75 + 3.00) / 2 = 2.375, 0.99025 x sin 36.75 x 2.375 = 1.4071660
TEST(FhwaSand, FrictionAngleSelectsAndBlendsTheKDeltaCharts) {
    const std::vector<std::pair<std::string, double>> cases = {
        {"24", 0.3378519}, {"25", 0.3509031}, {"30", 0.5611521}, {"35", 0.9777881}, {"37.5", 1.4071660}};
    for (const auto& [phi, expected] : cases) {
        CaseText c;
        c.g1 = "1 1 2 0";
        c.g2 = "0 144 12 0 29000000 20 0";
        c.g4 = "0 1 6 0 1 0 0";
        c.g6 = "30 0";
        c.points = {{"0 1 1 100 " + phi + " 40", S2("0 10")}, {"40 1 1 100 " + phi + " 40", S2("0 10")}};
        auto run = Prepare(c);
        for (int s = 1; s <= run->pile.segmentCount; ++s) run->capacity().method[1].TipControl[s] = 1;
        FhwaUnitTransfer(*run);
        const double ratio = run->capacity().method[1].SegmentUnitFriction(2, 5) / run->grid.segStressBottom[5];
        EXPECT_NEAR(ratio, expected, 1e-6) << "phi " << phi;
    }
}

// Unplugged, an English pipe reads its annulus even when an area is given; an SI pipe keeps the area.
TEST(FhwaSand, UnpluggedPipeVolumeByUnitSystem) {
    auto frictionAt = [](CaseText c, int plugState) {
        auto run = Prepare(c);
        for (int s = 1; s <= run->pile.segmentCount; ++s) run->capacity().method[1].TipControl[s] = plugState;
        FhwaUnitTransfer(*run);
        return run->capacity().method[1].SegmentUnitFriction(2, 2);
    };
    CaseText english = HandCaseEnglish();
    const double withArea = frictionAt(english, 2);
    english.g2 = "0 0 12 11 29000000 35 0";
    EXPECT_DOUBLE_EQ(withArea, frictionAt(english, 0));
    EXPECT_NE(withArea, frictionAt(HandCaseEnglish(), 0));

    CaseText si = HandCaseSi();
    EXPECT_DOUBLE_EQ(frictionAt(si, 2), frictionAt(si, 0));
}

// 24 in pile, 20 ft: sand to 10 ft over clay softening from 1000 to 400 psf at 30 ft; ratio =
// (0 - 10 + 20) / 2 = 5, so case 1 reads its ratio-10 curve, alpha = 1, f = su all the way down,
// although from 15 ft on the clay above each segment is soft (below 0.8 ksf, which would be case 2).
TEST(FhwaClay, CaseOneBelowSandHoldsDownTheStratum) {
    CaseText c;
    c.g2 = "0 0 24 23 29000000 20 0";
    c.g6 = "30 0";
    c.points = {{"0 1 1 115 30 40", S2("0 10")},
                {"10 1 1 115 30 40", S2("0 10")},
                {"10 2 1 55 0 9", S2("1000 500")},
                {"30 2 1 55 0 9", S2("400 200")}};
    auto run = Analyse(c);
    for (int s = 11; s <= 30; ++s) {
        EXPECT_DOUBLE_EQ(run->capacity().method[1].SegmentUnitFriction(1, s), run->grid.segShearStrength[s]) << s;
    }
}

// 12 in pile, 20 ft, in uniform clay of 500 psf: ratio = (0 - 0 + 20) / 1 = 20.
//   Segment 1 chooses no case and no chart has been read: case 3, a10 + 10 x (a40 - a10) / 30 =
//   0.984 + 10 x 0.016 / 30 = 0.9893333, f = 0.4946667.  Segment 2 on: soft clay above, case 2, ratio-20
//   curve 0.84, f = 0.42.
// Two segments only (profile 2 ft, pile 1 ft): ratio 1, both segments case 3 curve 10: 0.984 x 0.5 =
//   0.492; once a chart has been read in the run its factor is kept instead.
TEST(FhwaClay, CaseFromTheClayAboveAndWithoutAnyCase) {
    CaseText c;
    c.g1 = "1 1 2 0";
    c.g2 = "0 0 12 11 29000000 20 0";
    c.g6 = "30 0";
    c.points = {{"0 2 1 55 0 9", S2("500 250")}, {"40 2 1 55 0 9", S2("500 250")}};
    auto run = Analyse(c);
    const MethodCurves& m = run->capacity().method[1];
    EXPECT_NEAR(m.SegmentUnitFriction(1, 1), 0.4946667, 1e-7);
    EXPECT_NEAR(m.SegmentUnitFriction(1, 2), 0.42, 1e-7);
    EXPECT_NEAR(m.SegmentUnitFriction(2, 25), 0.42, 1e-7);

    c.g2 = "0 0 12 11 29000000 1 0";
    c.g6 = "2 0";
    auto shortRun = Analyse(c);
    EXPECT_NEAR(shortRun->capacity().method[1].SegmentUnitFriction(1, 2), 0.492, 1e-7);
    shortRun->capacity().fhwaAdhesionFactor = 0.6;
    shortRun->capacity().fhwaAdhesionSet = true;
    FhwaUnitTransfer(*shortRun);
    EXPECT_NEAR(shortRun->capacity().method[1].SegmentUnitFriction(1, 1), 0.3, 1e-12);
    EXPECT_NEAR(shortRun->capacity().method[1].SegmentUnitFriction(1, 2), 0.3, 1e-12);
}

// SI, 300 mm pile, 6 m, sand to 3 m over clay of 100 kPa with adhesion case 2 entered: ratio =
// (0 - 3 + 6) / 0.3 = 10; su = 100 / 47.88 = 2.0885547 ksf; case 2 curve 10:
// 0.272 + (2.5 - 2.0885547) x (0.298 - 0.272) / 0.5 = 0.2933952, f = 29.33952 kPa (case 1 would give
// 100, and the scaled value 0.002 would choose no case).
TEST(FhwaClay, SiCaseOverrideReadsTheValueAsEntered) {
    CaseText c;
    c.g1 = "2 1 4 0";
    c.g2 = "0 0 300 280 200000000 6 0";
    c.g6 = "10 0";
    c.points = {{"0 1 1 18 30 40", S2("0 10")},
                {"3 1 1 18 30 40", S2("0 10")},
                {"3 2 1 8 0 9", S2("100 50", "1", "2")},
                {"10 2 1 8 0 9", S2("100 50", "1", "2")}};
    auto run = Analyse(c);
    EXPECT_NEAR(run->capacity().method[1].SegmentUnitFriction(1, 5), 29.33952, 1e-5);
}

// Clay 0-10 ft (1000 psf) over clay 10-30 ft (2000 psf), 12 in pile, 20 ft.  Case 3 throughout (stiff
// clay above segment 2).  The upper stratum is counted once: H_acc = 10, and in the lower stratum
// ratio = (10 - 10 + 20) / 1 = 20, alpha = 0.688 + 10 x (0.9 - 0.688) / 30 = 0.7586667, f = 1.5173333,
// whether one segment (1 ft) or two (0.5 ft) end within 0.95 ft of the stratum bottom.
TEST(FhwaClay, StratumThicknessCountedOnceWhateverTheIncrement) {
    CaseText c;
    c.g2 = "0 0 12 11 29000000 20 0";
    c.g6 = "30 0";
    c.points = {{"0 2 1 55 0 9", S2("1000 500")},
                {"10 2 1 55 0 9", S2("1000 500")},
                {"10 2 1 55 0 9", S2("2000 1000")},
                {"30 2 1 55 0 9", S2("2000 1000")}};
    EXPECT_NEAR(Analyse(c)->capacity().method[1].SegmentUnitFriction(1, 15), 1.5173333, 1e-6);
    c.g4 = "0 0.5 1 0 1 0 0";
    EXPECT_NEAR(Analyse(c)->capacity().method[1].SegmentUnitFriction(1, 30), 1.5173333, 1e-6);
}

// A pile of no diameter whose tip is at the top of the clay has no penetration ratio (0 / 0): the
// deepest curve is read (case 1 curve 40 at 2.0 ksf: 0.68, f = 1.36), and the side resistance is zero.
TEST(FhwaDegenerate, ZeroDiameterReadsTheDeepestCurve) {
    CaseText c;
    c.g2 = "0 0 12 0 29000000 10 0";
    c.g6 = "30 0";
    c.points = {{"0 1 1 115 30 40", S2("0 10")},
                {"10 1 1 115 30 40", S2("0 10")},
                {"10 2 1 55 0 9", S2("2000 1000")},
                {"30 2 1 55 0 9", S2("2000 1000")}};
    auto run = Prepare(c);
    testing::RemoveDiameters(*run);
    FhwaUnitTransfer(*run);
    EXPECT_NEAR(run->capacity().method[1].SegmentUnitFriction(1, 11), 1.36, 1e-6);
    for (int k = 1; k <= 11; ++k) EXPECT_EQ(run->capacity().current.TotalSkinFriction[k], 0.0);
}

}  // namespace
}  // namespace pileaxial
