// Unit end bearing of every method.  The runs start from small input cases; the segments under test
// then get round soil values so that every expected number can be worked out by hand.
#include "capacity/end_bearing.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using pileaxial::testing::CaseText;

// The default case: English, 24 in open pipe (inside 23 in), 40 ft embedded, 50 one-foot segments;
// sand down to 20 ft, clay below.
std::unique_ptr<Run> Prepared(const CaseText& text = CaseText{}) { return testing::PreparedRun(text); }

// The same layout in SI: 610 mm pipe, 12 m embedded, 1 m segments.
CaseText SiCase() {
    CaseText text;
    text.g1 = "2 1 2 0";
    text.g2 = "0 0 610 584 200000000 12 0";
    text.g6 = "20 0";
    text.points = {{"0 1 1 18 30 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"},
                   {"30 1 1 18 30 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"}};
    return text;
}

void SetSand(Run& run, int s, double phi, double top, double bottom) {
    run.grid.segSoilType[s] = 1.0;
    run.grid.segFrictionAngle[s] = phi;
    run.grid.segStressTop[s] = top;
    run.grid.segStressBottom[s] = bottom;
}

void Compute(Run& run, int method) {
    run.capacity().CurrentMethodId = method;
    ComputeUnitEndBearing(run);
}

double Top(const Run& run, int s) { return run.capacity().current.SegmentUnitBearing(1, s); }
double Bottom(const Run& run, int s) { return run.capacity().current.SegmentUnitBearing(2, s); }

constexpr double kTol = 1.0e-4;

TEST(EndBearingSand, ZeroBearingFactorTakesTheOffshoreChartAndKeepsIt) {
    auto run = Prepared();
    SetSand(*run, 4, 30.0, 1.0, 2.0);
    run->grid.segBearingFactor[4] = 0.0;
    Compute(*run, kApi);
    // delta = 30 - 5 = 25: chart Nq = 20; 20 x 1 and 20 x 2 (limit for Nq 20 is 100 ksf).
    EXPECT_NEAR(run->grid.segBearingFactor[4], 20.0, 1e-9);
    EXPECT_NEAR(Top(*run, 4), 20.0, kTol);
    EXPECT_NEAR(Bottom(*run, 4), 40.0, kTol);
    // FHWA uses its own factor and leaves the stored one alone.
    Compute(*run, kFhwa);
    EXPECT_NEAR(run->grid.segBearingFactor[4], 20.0, 1e-9);
}

TEST(EndBearingSand, OffshoreLimitFromTheBearingFactorOrTheGivenMaximum) {
    auto run = Prepared();
    SetSand(*run, 3, 30.0, 4.0, 6.0);
    run->grid.segBearingFactor[3] = 20.0;
    Compute(*run, kApi);
    EXPECT_NEAR(Top(*run, 3), 80.0, kTol);      // 20 x 4
    EXPECT_NEAR(Bottom(*run, 3), 100.0, kTol);  // 20 x 6 = 120, held at 100 ksf for Nq = 20
    run->grid.segMaxBearing[3] = 90.0;
    Compute(*run, kLambda);
    EXPECT_NEAR(Bottom(*run, 3), 90.0, kTol);

    auto si = Prepared(SiCase());
    SetSand(*si, 2, 30.0, 200.0, 300.0);
    si->grid.segBearingFactor[2] = 30.0;
    Compute(*si, kLambda);
    EXPECT_NEAR(Top(*si, 2), 6000.0, kTol);     // 30 x 200
    EXPECT_NEAR(Bottom(*si, 2), 7200.0, kTol);  // 9000 > 4800 + 4800 x 10 / 20 = 7200 kPa
}

TEST(EndBearingSand, FhwaLimitIsTwiceTheChartInKsfAndConvertedInSi) {
    auto run = Prepared();  // L/D = 40 ft / 2 ft = 20: the first tip-coefficient curve
    SetSand(*run, 5, 35.0, 2.0, 3.0);
    Compute(*run, kFhwa);
    // Nq = 0.68 x 64 = 43.52; limit 2 x 53.8 = 107.6 ksf.
    EXPECT_NEAR(Top(*run, 5), 87.04, kTol);
    EXPECT_NEAR(Bottom(*run, 5), 107.6, kTol);  // 130.56 limited

    auto si = Prepared(SiCase());  // L/D = 12 m / 0.61 m = 19.7: first curve
    SetSand(*si, 5, 35.0, 100.0, 150.0);
    Compute(*si, kFhwa);
    EXPECT_NEAR(Top(*si, 5), 4352.0, 1e-3);         // 43.52 x 100
    EXPECT_NEAR(Bottom(*si, 5), 5151.888, 1e-3);    // 2 x 47.88 x 53.8 < 6528
    si->grid.segMaxBearing[5] = 5000.0;
    Compute(*si, kFhwa);
    EXPECT_NEAR(Bottom(*si, 5), 5000.0, 1e-9);
}

TEST(EndBearingSand, FhwaSlendernessComparesLengthAndDiameterInOneUnit) {
    CaseText text;
    text.g2 = "0 0 12 11 29000000 40 0";  // 40 ft of a 1 ft pile: L/D = 40
    auto run = Prepared(text);
    SetSand(*run, 5, 30.0, 0.5, 0.8);
    Compute(*run, kFhwa);
    // Coefficient at phi 30 between the L/D 30 and 45 curves: 0.52 + (0.49 - 0.52) x 10/15 = 0.50;
    // Nq = 0.50 x 30 = 15 (feet over inches, 3.3, would read the first curve: 0.58).
    EXPECT_NEAR(Top(*run, 5), 7.5, kTol);
    EXPECT_NEAR(Bottom(*run, 5), 12.0, kTol);  // below the limit 2 x 6.66
}

TEST(EndBearingSand, UsaceCriticalDepthClasses) {
    auto run = Prepared();  // D = 2 ft: zc = 21, 31, 41 ft for the three classes
    for (int s = 1; s <= 50; ++s) {
        const double phi = s <= 30 ? 30.0 : (s <= 40 ? 35.0 : 38.0);
        SetSand(*run, s, phi, 0.1 * (s - 1), 0.1 * s);
        run->grid.segStressCapped[s] = 0.05 * s;
    }
    Compute(*run, kUsace);
    // phi 30, Nq 23.  Node 22 (Lp 21) is not past zc: 23 x 2.1, 23 x 2.2.
    EXPECT_NEAR(Top(*run, 22), 48.3, kTol);
    EXPECT_NEAR(Bottom(*run, 22), 50.6, kTol);
    // Node 23 (Lp 22) fixes the loose limit at 0.05 x 23 = 1.15: 23 x 1.15, and it holds further down.
    EXPECT_NEAR(Top(*run, 23), 26.45, kTol);
    EXPECT_NEAR(Bottom(*run, 30), 26.45, kTol);
    // phi 35, Nq = 30 + 26 x 3/4 = 49.5.  Lp 31 is not past 31: the loose limit still acts.
    EXPECT_NEAR(Bottom(*run, 32), 49.5 * 1.15, kTol);
    // Lp 32: the medium-class stress is set at 0.05 x 33 = 1.65.
    EXPECT_NEAR(Bottom(*run, 33), 49.5 * 1.65, kTol);
    // phi 38, Nq 68: past 31 but not 41 the medium-class stress acts; from Lp 42 the dense one, 2.15.
    EXPECT_NEAR(Bottom(*run, 42), 68.0 * 1.65, kTol);
    EXPECT_NEAR(Bottom(*run, 43), 68.0 * 2.15, kTol);
    EXPECT_NEAR(Bottom(*run, 50), 68.0 * 2.15, kTol);

    // A given maximum still limits; the limits start afresh at every call.
    run->grid.segMaxBearing[50] = 100.0;
    Compute(*run, kUsace);
    EXPECT_NEAR(Bottom(*run, 50), 100.0, 1e-9);
    EXPECT_NEAR(Top(*run, 23), 26.45, kTol);
}

// Critical depth by stress (option 1) that the effective stress never reached: no depth was found
// (0 is kept), the whole pile lies above the critical depth and the tip stress is not limited.
// Sand phi 30 (Nq 23) with sigma' = 0.1 z ksf and capped stresses equal to the full ones.
TEST(EndBearingSand, UsaceStressCriticalDepthNeverReachedLimitsNothing) {
    auto run = Prepared();
    for (int s = 1; s <= 50; ++s) {
        SetSand(*run, s, 30.0, 0.1 * (s - 1), 0.1 * s);
        run->grid.segStressCapped[s] = 0.1 * s;
    }
    run->pile.criticalDepthOption = 1;
    run->pile.userCriticalDepth = 0.0;
    Compute(*run, kUsace);
    EXPECT_NEAR(Bottom(*run, 30), 23.0 * 3.0, kTol);  // not 23 x 0.2 (the stress of node 2)
    EXPECT_NEAR(Top(*run, 50), 23.0 * 4.9, kTol);

    // A depth found at 10 ft: the first node past it (Lp 11 ft, segment 12) fixes 1.2 ksf.
    run->pile.userCriticalDepth = 10.0;
    Compute(*run, kUsace);
    EXPECT_NEAR(Bottom(*run, 11), 23.0 * 1.1, kTol);
    EXPECT_NEAR(Bottom(*run, 30), 23.0 * 1.2, kTol);
    // The user's own depth is taken as given.
    run->pile.criticalDepthOption = 2;
    Compute(*run, kUsace);
    EXPECT_NEAR(Bottom(*run, 30), 23.0 * 1.2, kTol);
}

TEST(EndBearingCone, ConeResistanceOfTheSounding) {
    CptSounding cpt;
    EXPECT_EQ(ConeResistanceAt(cpt, 5.0), 0.0);
    cpt.cptPointCount = 3;
    cpt.cptDepth[1] = 2.0, cpt.cptValue[1] = 100.0;
    cpt.cptDepth[2] = 6.0, cpt.cptValue[2] = 300.0;
    cpt.cptDepth[3] = 10.0, cpt.cptValue[3] = 200.0;
    EXPECT_EQ(ConeResistanceAt(cpt, 0.0), 100.0);
    EXPECT_EQ(ConeResistanceAt(cpt, 2.0), 100.0);
    EXPECT_NEAR(ConeResistanceAt(cpt, 3.0), 150.0, 1e-9);
    EXPECT_NEAR(ConeResistanceAt(cpt, 6.0), 300.0, 1e-9);
    EXPECT_NEAR(ConeResistanceAt(cpt, 9.0), 225.0, 1e-9);
    EXPECT_EQ(ConeResistanceAt(cpt, 12.0), 200.0);
}

TEST(EndBearingCone, SegmentValueThenSoundingThenBlowCount) {
    auto run = Prepared();
    run->grid.segConeResistance[6] = 0.0;
    run->grid.segBlowCount[6] = 10.0;
    // No sounding at all: 2.8 x 2.1168 x 10 = 59.2704 ksf, no unit conversion.
    EXPECT_NEAR(EndBearingConeResistance(*run, 6), 59.2704, kTol);

    run->grid.segConeResistance[7] = 150000.0;  // psf as entered
    EXPECT_NEAR(EndBearingConeResistance(*run, 7), 150.0, 1e-9);

    run->cpt.cptPointCount = 2;
    run->cpt.cptDepth[1] = 0.0, run->cpt.cptValue[1] = 100000.0;
    run->cpt.cptDepth[2] = 10.0, run->cpt.cptValue[2] = 200000.0;
    // Segment 6 starts at 5 ft: 150000 psf from the sounding.
    EXPECT_NEAR(EndBearingConeResistance(*run, 6), 150.0, 1e-9);

    auto si = Prepared(SiCase());
    si->grid.segConeResistance[3] = 0.0;
    si->grid.segBlowCount[3] = 10.0;
    EXPECT_NEAR(EndBearingConeResistance(*si, 3), 2800.0, 1e-3);  // 280 kPa per blow
}

TEST(EndBearingCone, SandRulesOfTheConeMethods) {
    auto run = Prepared();
    SetSand(*run, 6, 30.0, 0.0, 1.0);
    run->grid.segConeResistance[6] = 0.0;
    run->grid.segBlowCount[6] = 10.0;  // qc = 59.2704 ksf
    // Fugro: Ar = 1 - (23/24)^2 = 0.081597; 8.5 x 2.1168 x Ar^0.25 x sqrt(59.2704 / 2.1168) = 50.8858.
    Compute(*run, kFugro);
    EXPECT_NEAR(Top(*run, 6), 50.8858, kTol);
    EXPECT_NEAR(Bottom(*run, 6), 50.8858, kTol);

    // NGI, qc = 100 ksf: at the bottom (1 ksf) Dr = 0.4 ln(100 / (22 sqrt(2.1168))) = 0.45567;
    // open tip 0.7 x 100 / (1 + 3 Dr^2) = 43.1325.  At the ground surface the density term is
    // unbounded and the bearing vanishes (not a number).
    run->grid.segConeResistance[6] = 100000.0;
    Compute(*run, kNgi);
    EXPECT_EQ(Top(*run, 6), 0.0);
    EXPECT_NEAR(Bottom(*run, 6), 43.1325, kTol);
    run->pile.enhancedEndDiameter = 0.0;
    Compute(*run, kNgi);
    EXPECT_NEAR(Bottom(*run, 6), 66.2452, kTol);  // closed: 0.8 x 100 / (1 + Dr^2)
}

TEST(EndBearingCone, IcpLowerBoundsAboveNineHundredMillimetres) {
    auto si = Prepared(SiCase());
    SetSand(*si, 4, 30.0, 50.0, 60.0);
    si->grid.segConeResistance[4] = 10000.0;
    si->pile.outsideDiameter = 2000.0;
    si->pile.enhancedEndDiameter = 1900.0;
    // Open, 2000 mm: 0.5 - 0.25 log10(2000/36) = 0.0638, raised to 0.15.
    Compute(*si, kIcp);
    EXPECT_NEAR(Top(*si, 4), 1500.0, 1e-3);  // 0.15 in single precision
    // Closed: 1 - 0.5 log10(2000/36) = 0.1276, raised to 0.3.
    si->pile.enhancedEndDiameter = 0.0;
    Compute(*si, kIcp);
    EXPECT_NEAR(Bottom(*si, 4), 3000.0, 1e-3);
    // 800 mm is not above 900 mm: no bound, 1 - 0.5 log10(800/36) = 0.326606.
    si->pile.outsideDiameter = 800.0;
    Compute(*si, kIcp);
    EXPECT_NEAR(Bottom(*si, 4), 3266.06, 1e-2);
    // An open, unplugged tip takes the full cone resistance.
    si->pile.enhancedEndDiameter = 700.0;
    si->pile.plugOption = 2;
    Compute(*si, kIcp);
    EXPECT_NEAR(Bottom(*si, 4), 10000.0, 1e-6);
}

TEST(EndBearingCone, UwaFillingRatioTakesTheInsideDiameterInMetres) {
    auto si = Prepared(SiCase());
    SetSand(*si, 4, 30.0, 50.0, 60.0);
    si->grid.segConeResistance[4] = 10000.0;
    si->pile.outsideDiameter = 1000.0;
    si->pile.enhancedEndDiameter = 900.0;
    // FFR = (0.9 / 1.5)^0.2 = 0.90288; Are = 1 - 0.90288 x 0.81 = 0.268667; 0.15 + 0.45 Are = 0.2709.
    Compute(*si, kUwa);
    EXPECT_NEAR(Top(*si, 4), 2709.0, 0.1);
    // Plugged: not below 0.3 qc.
    si->pile.plugOption = 1;
    Compute(*si, kUwa);
    EXPECT_NEAR(Top(*si, 4), 3000.0, 1e-3);
}

TEST(EndBearingCohesive, NineSuOrAFractionOfTheConeResistance) {
    auto run = Prepared();
    const int s = 25;  // clay
    run->grid.segShearStrength[s] = 1.5;
    run->grid.segConeResistance[s] = 50000.0;  // 50 ksf
    auto bottom = [&](int method, int plug, int drained, double inside) {
        run->pile.plugOption = plug;
        run->pile.clayDrained = drained;
        run->pile.enhancedEndDiameter = inside;
        Compute(*run, method);
        EXPECT_EQ(Top(*run, s), Bottom(*run, s));
        return Bottom(*run, s);
    };
    EXPECT_NEAR(bottom(kNgi, 1, 1, 0.0), 13.5, 1e-9);   // 9 x 1.5 for the other methods
    EXPECT_NEAR(bottom(kApi, 0, 0, 23.0), 13.5, 1e-9);
    EXPECT_NEAR(bottom(kUwa, 0, 0, 23.0), 13.5, 1e-9);  // open, plug computed: 9 su stays
    EXPECT_NEAR(bottom(kUwa, 2, 0, 23.0), 50.0, 1e-6);  // open unplugged, undrained: qc
    EXPECT_NEAR(bottom(kIcp, 2, 1, 23.0), 80.0, 1e-5);  // drained: 1.6 qc
    EXPECT_NEAR(bottom(kFugro, 1, 0, 23.0), 20.0, 1e-5);  // plugged undrained 0.4 qc
    EXPECT_NEAR(bottom(kFugro, 1, 1, 23.0), 32.5, 1e-5);  // plugged drained 0.65 qc
    EXPECT_NEAR(bottom(kIcp, 0, 0, 0.0), 40.0, 1e-5);     // closed undrained 0.8 qc
    EXPECT_NEAR(bottom(kIcp, 0, 1, 0.0), 65.0, 1e-5);     // closed drained 1.3 qc
}

}  // namespace
}  // namespace pileaxial
