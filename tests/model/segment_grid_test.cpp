// The computation grid: interpolation, stresses, estimated properties and the critical depth.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

#include "model/grid.hpp"

namespace pileaxial {
namespace {

// A pile of one foot (or metre) diameter and a profile given as (depth, type, weight, angle).
std::unique_ptr<Model> MakePile(int units, double increment, double deepest, double embedded,
                                std::initializer_list<std::array<double, 4>> points) {
    auto m = std::make_unique<Model>();
    m->pile.unitSystem = units;
    m->pile.lengthIncrement = increment;
    m->pile.deepestSoilDepth = deepest;
    m->pile.embeddedLength = embedded;
    m->pile.outsideDiameter = units == 1 ? 12.0 : 1000.0;
    for (const auto& p : points) {
        SoilLayer& point = m->soil.point[++m->soil.count];
        point = SoilLayer{.depth = p[0], .soilType = p[1], .earthPressureCoeff = 1.0,
                          .effectiveUnitWeight = p[2], .frictionAngle = p[3]};
    }
    return m;
}

void Build(Model& m) {
    m.pile.segmentCount = ComputeSegmentCount(m.pile);
    BuildSegmentGrid(m);
}

TEST(SegmentGrid, InterpolatesAtMidpointsAndHoldsBelowTheLastPoint) {
    auto m = MakePile(1, 1.0, 12.0, 8.0,
                      {{0, 1, 100, 30}, {5, 1, 120, 30}, {5, 2, 60, 0}, {9.4, 3, 70, 0}});
    m->soil.point[1].earthPressureCoeff = m->soil.point[2].earthPressureCoeff = 0;
    m->pile.tensionLoading = 1;  // user values are reduced in tension only
    m->pile.tensionReductionFactor = 0.7;
    m->soil.point[1].userUnitFriction = m->soil.point[2].userUnitFriction = 1000;  // psf
    m->soil.point[3].tipOrCaseValueAsRead = 2.0;
    Build(*m);
    const SegmentGrid& g = m->grid;
    EXPECT_EQ(g.segUnitWeight[1], 102.0);
    EXPECT_EQ(g.segEarthPressure[1], kEarthPressureDefault);
    EXPECT_DOUBLE_EQ(g.segUserFriction[1], 0.7);
    EXPECT_EQ(g.segSoilType[5], 1.0);  // top 4: sand above the step at 5
    EXPECT_EQ(g.segSoilType[6], 2.0);
    EXPECT_EQ(g.segTipOrCaseValueFhwa[6], 2.0 - 2.0 * 0.5 / 4.4);
    // Midpoint 9.5 lies below the last point (9.4): its values, with the type of the point above
    // since the segment starts above it; wholly below it, the last point's type as well.
    EXPECT_EQ(g.segUnitWeight[10], 70.0);
    EXPECT_EQ(g.segSoilType[10], 2.0);
    EXPECT_EQ(g.segUnitWeight[12], 70.0);
    EXPECT_EQ(g.segSoilType[12], 3.0);
    // In compression the user's values are only converted to ksf.
    m->pile.tensionLoading = 0;
    Build(*m);
    EXPECT_DOUBLE_EQ(m->grid.segUserFriction[1], 1.0);
}

TEST(SegmentGrid, SinglePointAndCoincidentPointsAboveTheProfile) {
    auto single = MakePile(1, 1.0, 3.0, 2.0, {{0, 2, 110, 0}});
    Build(*single);
    EXPECT_EQ(single->grid.segUnitWeight[3], 110.0);
    auto step = MakePile(1, 1.0, 10.0, 8.0, {{2, 1, 100, 30}, {2, 2, 130, 0}, {10, 2, 150, 0}});
    Build(*step);
    EXPECT_EQ(step->grid.segUnitWeight[1], 100.0);  // zero interval: no division by it
    EXPECT_EQ(step->grid.segUnitWeight[3], 130.0 + 20.0 * 0.5 / 8.0);
}

TEST(SegmentGrid, SegmentAcrossASoilPointTakesThePointInsteadOfExtrapolating) {
    // Sand from 0 to 10.3 ft (a friction limit given only at its bottom) over clay: the segment from
    // 10 to 11 ft starts in the sand, but its midpoint (10.5) lies below the sand's bottom point.
    auto m = MakePile(1, 1.0, 20.0, 15.0, {{0, 1, 100, 30}, {10.3, 1, 110, 32}, {10.3, 2, 60, 0}, {20, 2, 70, 0}});
    m->soil.point[1].maxUnitFriction = kNoLimit;
    m->soil.point[2].maxUnitFriction = 1.0;
    Build(*m);
    const SegmentGrid& g = m->grid;
    EXPECT_DOUBLE_EQ(g.segUnitWeight[5], 100.0 + 10.0 * 4.5 / 10.3);  // midpoint inside the layer
    // Not 9999999 + (1 - 9999999) x 10.5 / 10.3 = -194173 ksf.
    EXPECT_EQ(g.segMaxFriction[11], 1.0);
    EXPECT_EQ(g.segUnitWeight[11], 110.0);
    EXPECT_EQ(g.segSoilType[11], 1.0);
    EXPECT_DOUBLE_EQ(g.segUnitWeight[12], 60.0 + 10.0 * (11.5 - 10.3) / 9.7);

    // A profile that starts below the ground: the first point's values hold above it.
    auto deep = MakePile(1, 1.0, 10.0, 8.0, {{2, 1, 100, 30}, {10, 1, 140, 34}});
    Build(*deep);
    EXPECT_EQ(deep->grid.segUnitWeight[1], 100.0);
    EXPECT_DOUBLE_EQ(deep->grid.segUnitWeight[4], 100.0 + 40.0 * 1.5 / 8.0);
}

TEST(SegmentGrid, BatteredPileFillsTheExtraNodeIndices) {
    auto m = MakePile(1, 1.0, 6.0, 10.0,
                      {{0, 1, 100, 30}, {3, 1, 120, 30}, {3, 2, 80, 0}, {4.5, 2, 90, 0}});
    m->pile.batterAngle = 60.0 * (kSinglePi / 180.0);
    m->grid.segStressBottom[7] = -1.0;
    Build(*m);
    const double dz = std::cos(60.0 * (kSinglePi / 180.0));
    EXPECT_EQ(m->pile.verticalIncrement, dz);
    EXPECT_EQ(m->pile.tipNodeCount, 11);
    EXPECT_EQ(m->grid.filledCount, 11);  // 6 segments, 11 nodes
    EXPECT_NEAR(m->grid.segTop[11], 10 * dz, 1e-12);
    EXPECT_NEAR(m->grid.segUnitWeight[8], 80 + 10 * (7.5 * dz - 3) / 1.5, 1e-9);
    EXPECT_EQ(m->grid.segSoilType[11], 2.0);
    EXPECT_EQ(m->grid.segStressBottom[7], -1.0);  // stresses exist for the segments only

    auto tooLong = MakePile(1, 0.01, 5.0, 20.0, {{0, 2, 100, 0}, {30, 2, 100, 0}});  // 2001 nodes
    EXPECT_THROW(Build(*tooLong), IndexError);
}

TEST(SegmentGrid, StressesAndShearStrengthFromConeResistance) {
    auto english = MakePile(1, 5.0, 10.0, 8.0, {{0, 2, 120, 0}, {10, 2, 120, 0}});
    english->soil.point[1].coneResistance = english->soil.point[2].coneResistance = 30000;  // psf
    for (int cptSwitch : {1, 0}) {  // the cone resistance is in psf whether CPT data are used or not
        english->pile.cptDataSwitch = cptSwitch;
        Build(*english);
        EXPECT_DOUBLE_EQ(english->grid.segStressBottom[2], 1.2);  // 120 pcf over 10 ft
        EXPECT_EQ(english->grid.segShearStrength[1], 2.0);
    }

    auto si = MakePile(2, 1.0, 2.0, 1.0, {{0, 2, 9, 0}, {2, 2, 9, 0}});
    si->soil.point[1].coneResistance = si->soil.point[2].coneResistance = 300;
    Build(*si);
    EXPECT_EQ(si->grid.segShearStrength[1], 20.0);
    EXPECT_EQ(si->grid.segStressBottom[2], 18.0);
}

TEST(SegmentGrid, ClayWithoutFrictionAngleIsNotCountedAsMissing) {
    auto m = MakePile(1, 12.0, 24.0, 20.0,
                      {{0, 2, 120, 0}, {12, 2, 120, 0}, {12, 2, 120, 0}, {24, 2, 120, 0}});
    Build(*m);
    EXPECT_EQ(m->grid.segFrictionAngle[1], 0.0);
    EXPECT_EQ(m->carry.unestimatedAngleSegments, 0);
}

TEST(SegmentGrid, FrictionAngleFromBlowCountAndItsFallbacks) {
    // 12 ft segments at 120 pcf: 10 psi at the first bottom, N = 20 there (36.25 degrees).
    auto m = MakePile(1, 12.0, 24.0, 20.0,
                      {{0, 1, 120, 0}, {12, 1, 120, 0}, {12, 1, 120, 0}, {24, 1, 120, 0}});
    Build(*m);  // no blow counts and no estimate yet: 0, counted
    EXPECT_EQ(m->grid.segFrictionAngle[1], 0.0);
    EXPECT_EQ(m->carry.unestimatedAngleSegments, 2);
    m->soil.point[1].blowCount = m->soil.point[2].blowCount = 20;
    Build(*m);
    EXPECT_NEAR(m->grid.segFrictionAngle[1], 36.25, 1e-9);
    EXPECT_EQ(m->grid.segFrictionAngle[2], m->grid.segFrictionAngle[1]);  // the last estimate
    EXPECT_EQ(m->carry.unestimatedAngleSegments, 0);
    m->soil.point[1].blowCount = m->soil.point[2].blowCount = 0;
    Build(*m);  // a later build falls back on the estimate of the earlier one
    EXPECT_EQ(m->grid.segFrictionAngle[1], m->carry.correlationAngle);
}

TEST(SegmentGrid, StaleCriticalDepthIsResetAndFoundByStress) {
    auto m = MakePile(1, 1.0, 40.0, 30.0, {{0, 2, 125, 0}, {40, 2, 125, 0}});  // 3.5 ksf at 28 ft
    m->pile.criticalDepthOption = 1;
    m->pile.userCriticalDepth = 5.0;
    Build(*m);
    EXPECT_EQ(m->pile.userCriticalDepth, 29.0);  // first bottom stress above 3.5
    EXPECT_EQ(m->grid.segStressCapped[20], m->grid.segStressBottom[20]);
    EXPECT_EQ(m->grid.segStressCapped[35], 29 * 0.125);
    EXPECT_EQ(m->grid.segStressCappedTop[35], m->grid.segStressCapped[34]);
}

TEST(SegmentGrid, StressThatNeverReachesTheThresholdIsNotLimited) {
    // 30 ft of sand at 100 pcf ends at 3.0 ksf, below the 3.5 ksf of the stress criterion: no
    // critical depth exists and every stress stays as it is (10 ft: 1.0 ksf, 30 ft: 3.0 ksf).
    auto m = MakePile(1, 1.0, 30.0, 25.0, {{0, 1, 100, 36}, {30, 1, 100, 36}});
    m->pile.criticalDepthOption = 1;
    Build(*m);
    EXPECT_EQ(m->pile.userCriticalDepth, 0.0);
    EXPECT_NEAR(m->grid.segStressCapped[10], 1.0, 1e-12);
    EXPECT_NEAR(m->grid.segStressCapped[30], 3.0, 1e-12);
    EXPECT_NEAR(m->grid.segStressCappedTop[30], 2.9, 1e-12);
}

TEST(SegmentGrid, SandCriticalDepthCarriesOverBuildsAndUpTheProfile) {
    auto m = MakePile(1, 1.0, 30.0, 25.0, {{0, 1, 100, 36}, {30, 1, 100, 36}});
    Build(*m);
    EXPECT_EQ(m->carry.criticalDepth, 20.0);  // dense sand: 20 diameters of 1 ft
    m->soil.point[1].soilType = m->soil.point[2].soilType = 2;
    Build(*m);  // clay now: zc of the earlier build still applies
    EXPECT_NEAR(m->grid.segStressCapped[25], 2.0, 1e-12);

    // Loose sand below clay sets zc = 10 ft in the stress sweep, before the clay is capped.
    auto layered = MakePile(1, 1.0, 30.0, 25.0,
                            {{0, 2, 100, 0}, {20, 2, 100, 0}, {20, 1, 100, 30}, {30, 1, 100, 30}});
    Build(*layered);
    EXPECT_NEAR(layered->grid.segStressCapped[15], 1.0, 1e-12);
    EXPECT_EQ(layered->grid.segStressCapped[9], layered->grid.segStressBottom[9]);
}

}  // namespace
}  // namespace pileaxial
