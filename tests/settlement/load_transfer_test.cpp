// Load-transfer solver: curve shapes and lookups, a hand-checked pile of three increments, and the
// edge cases of whole runs (one node, zero friction length, the iteration cap, a pile without stiffness).
#include "settlement/load_transfer.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "capacity/driver.hpp"
#include "settlement/tz_curves.hpp"
#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;

// A 10 in pipe (area 10 in^2 from G6, area mode 1), 2 ft long in 1 ft increments, printed at every
// node: three t-z curves at 0, 12 and 24 in and three increments of 8 in.  Sand throughout.
CaseText ThreeIncrementPile() {
    CaseText c;
    c.g1 = "1 1 2 0";
    c.g2 = "0 0 10 9 29000000 2 0";
    c.g6 = "50 10";
    c.points = {{"0 1 1 115 30 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"},
                {"50 1 1 115 30 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"}};
    c.tail = "0\n0 1.0\n0 0 0\n0 1\n0 0\n0\n1\n2\n1.5\n0.008\n0\n";
    return c;
}

// Hands the solver node frictions of 1, 2 and 3 psi (0.144, 0.288, 0.432 ksf) and 10 kips at the tip.
std::unique_ptr<Run> SolvedThreeIncrementPile() {
    auto run = testing::PreparedRun(ThreeIncrementPile());
    CapacityState& cap = run->capacity();
    cap.plotRowCount = 3;
    for (int k = 1; k <= 3; ++k) cap.current.LimitedUnitSideFriction[k] = 0.144 * k;
    cap.current.EndBearing[3] = 10.0;
    LoadTransferSolver(*run);
    return run;
}

TEST(LoadTransferSolver, HandCheckedThreeIncrements) {
    auto run = SolvedThreeIncrementPile();
    const LoadSettlementState& st = run->loadSettlement();
    ASSERT_EQ(st.curveCount, 3);
    ASSERT_EQ(st.incrementCount, 3);
    ASSERT_EQ(st.pointCount, 2);
    EXPECT_NEAR(st.curves[2].depthFromHead, 12.0, 1e-12);
    EXPECT_NEAR(st.curves[3].tMax, 3.0, 1e-12);
    EXPECT_FALSE(st.curves[1].cohesive);

    const double ae = 29.0e6 * 10.0;  // lb
    const double dz = 8.0;            // in
    const double perimeter = 3.1416f * 10.0;

    // Point 1: tip movement 1.5 in.  The tip curve is flat at Qmax = 10000 lb beyond 0.1 D = 1 in, and
    // every t-z curve has reached tMax beyond zPeak = 0.01 D = 0.1 in, so one pass settles each
    // increment.  Midpoints 20, 12 and 4 in below the head read t between the curves at 0, 12, 24 in:
    // 2 + 8/12, 2 and 1 + 4/12 psi.
    {
        const double t[3] = {2.0 + 8.0 / 12.0, 2.0, 1.0 + 4.0 / 12.0};
        double q = 10000.0;
        double z = 1.5;
        for (int j = 0; j < 3; ++j) {
            const double dq = perimeter * dz * t[j];
            const double average = q + 0.5 * dq;
            const double wMid = ((q + q + dq) / 2.0 + q) * (dz / 4.0) / ae + z;
            const IncrementRecord& r = st.loadDistribution[static_cast<std::size_t>(j)];
            EXPECT_NEAR(r.midpointDistance, (24.0 - (j + 0.5) * dz) / 12.0, 1e-12);
            EXPECT_NEAR(r.averageLoad, average / 1000.0, 1e-9);
            EXPECT_NEAR(r.midpointMovement, wMid, 1e-12);
            z = z + dz * average / ae;
            q = q + dq;
        }
        const SettlementPoint& p = st.points[1];
        EXPECT_NEAR(p.tipLoad, 10.0, 1e-9);
        EXPECT_NEAR(p.topLoad, q / 1000.0, 1e-9);
        EXPECT_NEAR(p.topLoad, (10000.0 + perimeter * dz * 6.0) / 1000.0, 1e-9);  // 11.507968 kips
        EXPECT_NEAR(p.topMovement, z, 1e-12);
        EXPECT_TRUE(p.converged);
    }

    // Point 2: tip movement 0.008 in, on the rising branches.  Tip: between 0.0005 D (0.0625 Qmax) and
    // 0.001 D (0.125 Qmax): 0.1 Qmax = 1000 lb.  Each increment's first guess is the movement below it
    // and one pass settles it (the pile shortens by ~3e-5 in an increment); t = 0.3 tMax w / (0.16 zPeak).
    {
        const double zFirst = 0.16f * (0.01f * 10.0);
        const double tMax[3] = {2.0 + 8.0 / 12.0, 2.0, 1.0 + 4.0 / 12.0};  // the bracketing mix of tMax
        double q = 0.0625f * 10000.0 + (0.125f - 0.0625f) * 10000.0 * (0.008 - 0.0005f * 10.0) /
                                          (0.001f * 10.0 - 0.0005f * 10.0);
        EXPECT_NEAR(st.points[2].tipLoad, q / 1000.0, 1e-9);
        EXPECT_NEAR(q, 1000.0, 1e-3);
        double z = 0.008;
        for (int j = 0; j < 3; ++j) {
            const double t = 0.3f * tMax[j] * z / zFirst;
            const double dq = perimeter * dz * t;
            z = z + dz * (q + 0.5 * dq) / ae;
            q = q + dq;
        }
        EXPECT_NEAR(st.points[2].topLoad, q / 1000.0, 1e-9);
        EXPECT_NEAR(st.points[2].topMovement, z, 1e-12);
        EXPECT_EQ(st.points[2].maxIterations, 1);
    }
}

TEST(LoadTransferCurves, ShapesAndLookups) {
    // Standard cohesive curve: t rises to tMax at zPeak and falls to the residual ratio beyond it.
    TzCurve clay;
    clay.tMax = 4.0;
    ClayTzCurve(clay, 0.25, 0.8, TzShape::Standard, false);
    EXPECT_DOUBLE_EQ(clay.z[5], 0.25);
    EXPECT_DOUBLE_EQ(clay.t[5], 4.0);
    EXPECT_NEAR(clay.t[9], 3.2, 1e-6);
    EXPECT_NEAR(clay.z[9], 5.0, 1e-6);
    EXPECT_DOUBLE_EQ(TzTransferAt(clay, 100.0), clay.t[9]);       // beyond the last point
    EXPECT_NEAR(TzTransferAt(clay, 0.5 * clay.z[1]), 0.6, 1e-6);  // half way up the first chord

    // USACE cohesionless hyperbola: phi 30 gives Es = 6000 + 1333.3 x 2; SI movements in metres.
    EXPECT_NEAR(UsaceSandModulus(30.0), 8666.6, 1e-2);
    EXPECT_DOUBLE_EQ(UsaceSandModulus(33.0), 10000.0 + 1333.3f);
    EXPECT_DOUBLE_EQ(UsaceSandModulus(40.0), 18000.0);
    TzCurve sand;
    sand.tMax = 10.0;  // kPa
    sand.frictionAngle = 36.0;
    SandTzCurve(sand, 0.0, TzShape::Usace, true);
    const double tau = 10.0 * 20.89f;
    const double es = 14000.0 + 1333.3f;
    EXPECT_NEAR(sand.t[9], 10.0 / (10.0 / tau + 1.0 / es) / 20.89f, 1e-9);
    EXPECT_NEAR(sand.z[9], 10.0 / 39.37f, 1e-12);
    sand.tMax = 0.0;
    SandTzCurve(sand, 0.0, TzShape::Usace, true);
    EXPECT_EQ(sand.t[9], 0.0);

    // Tip curves: a movement exactly at a point returns its load; beyond the last, the last load.
    const TipCurve standard = StandardTipCurve(1000.0, 24.0);
    EXPECT_DOUBLE_EQ(TipLoadAt(standard, standard.movement[4]), 500.0);
    EXPECT_DOUBLE_EQ(TipLoadAt(standard, 99.0), 1000.0);
    // USACE in sand, phi 35 (e = 0.333), zc 1.2 in; in clay held at Qmax.
    const TipCurve usaceSand = UsaceTipCurve(1000.0, 24.0, 1.2, 1.0, 35.0, false);
    EXPECT_NEAR(usaceSand.load[9], 1000.0 * std::pow(2.0 / 1.2, 0.333f), 1e-9);
    const TipCurve usaceClay = UsaceTipCurve(1000.0, 0.61, 0.03, 2.0, 0.0, true);
    EXPECT_DOUBLE_EQ(usaceClay.load[9], 1000.0);
    EXPECT_DOUBLE_EQ(usaceClay.movement[1], static_cast<double>(0.0001f) / static_cast<double>(39.79f));

    // Layer lookups: layers 0-10 (sand, 1 -> 3) and 12-12 (clay, one depth), then an odd point at 20.
    SoilProfile soil;
    soil.count = 5;
    const double depth[5] = {0, 10, 12, 12, 20};
    const double type[5] = {1, 1, 2, 2, 3};
    const double peak[5] = {1, 3, 5, 7, 9};
    for (int i = 1; i <= 5; ++i) {
        soil.point[i].depth = depth[i - 1];
        soil.point[i].soilType = type[i - 1];
        soil.point[i].peakMovement = peak[i - 1];
    }
    const struct {
        double depth, peak, type;
    } cases[] = {
        {-1.0, 1.0, 1.0},  // above the first point
        {5.0, 2.0, 1.0},   // inside layer 1
        {10.0, 5.0, 1.0},  // layer 1's bottom: the next layer's top value; its own bottom's code
        {11.0, 5.0, 2.0},  // the gap above layer 2: its top value
        {15.0, 9.0, 3.0},  // below the last layer of an odd count: point 5
        {20.0, 9.0, 3.0},  // at the last point
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.depth);
        EXPECT_DOUBLE_EQ(LayerValueAt(soil, c.depth, &SoilLayer::peakMovement), c.peak);
        EXPECT_DOUBLE_EQ(LayerSoilTypeAt(soil, c.depth), c.type);
    }

    // t-z multipliers: first pair above the first row, linear between rows, last pair beyond.
    SettlementInput in;
    in.tzTableSwitch = 1;
    in.tzRowCount = 2;
    in.tzDepth[1] = 10;
    in.tzMultiplierT[1] = 1;
    in.tzMultiplierZ[1] = 2;
    in.tzDepth[2] = 20;
    in.tzMultiplierT[2] = 3;
    in.tzMultiplierZ[2] = 4;
    EXPECT_DOUBLE_EQ(TzMultipliersAt(in, 0).onZ, 2.0);
    EXPECT_DOUBLE_EQ(TzMultipliersAt(in, 15).onT, 2.0);
    EXPECT_DOUBLE_EQ(TzMultipliersAt(in, 30).onT, 3.0);
}

// Whole runs of the default case with FHWA as the method for unit load transfers.
testing::RunResult WholeRun(const testing::TempDir& dir, CaseText c) {
    c.g4 = "0 1 1 0 1 0 0";
    return testing::runCase(dir, c.str());
}

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& line : lines) {
        if (line.find(text) != std::string::npos) return true;
    }
    return false;
}

TEST(LoadSettlementRuns, EdgeCases) {
    testing::TempDir dir;
    {
        SCOPED_TRACE("one node: one curve at the ground and one increment");
        CaseText c;
        c.g2 = "0 0 24 23 29000000 0.5 0";
        const auto r = WholeRun(dir, c);
        ASSERT_EQ(r.status, 0) << r.errors;
        EXPECT_TRUE(Contains(r.report, "LOAD VERSUS SETTLEMENT CURVE"));
        EXPECT_FALSE(Contains(r.report, "NaN") || Contains(r.report, "nan"));
    }
    {
        SCOPED_TRACE("zero friction length: increments whose midpoint lies above it carry nothing");
        auto run = testing::PreparedRun(CaseText{});
        run->pile.zeroFrictionLength = 40;
        CapacityState& cap = run->capacity();
        cap.plotRowCount = 9;  // nine increments of 40/9 ft: midpoints 37.8, 33.3, ... ft from the tip up
        for (int k = 1; k <= cap.pileNodeCount; ++k) cap.current.LimitedUnitSideFriction[k] = 1.0;
        cap.current.EndBearing[cap.pileNodeCount] = 100.0;
        LoadTransferSolver(*run);
        const LoadSettlementState& st = run->loadSettlement();
        for (int i = 1; i <= st.pointCount; ++i) EXPECT_DOUBLE_EQ(st.points[i].topLoad, st.points[i].tipLoad);
        run->pile.zeroFrictionLength = 35;
        LoadTransferSolver(*run);
        const SettlementPoint& last = st.points[13];
        EXPECT_GT(last.topLoad, last.tipLoad);
        for (std::size_t j = 1; j < 9; ++j) EXPECT_DOUBLE_EQ(st.loadDistribution[12 * 9 + j].averageLoad, last.topLoad);
    }
    {
        SCOPED_TRACE("SI default tip movements are the inch values over 39.79");
        CaseText c;
        c.g1 = "2 5 2 0";
        c.g2 = "0 0 610 584 200000000 12 0";
        c.g4 = "0 0.5 1 0 1 0 0";
        c.g6 = "20 0";
        c.points = {{"0 1 1 18 30 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"},
                    {"20 1 1 18 32 40", "0 0 0 20 0 0 0 0 0 1 1 0 0 0"}};
        auto run = testing::PreparedRun(c);
        run->capacity().plotRowCount = 5;
        LoadTransferSolver(*run);
        const LoadSettlementState& st = run->loadSettlement();
        ASSERT_EQ(st.pointCount, 13);
        EXPECT_DOUBLE_EQ(st.points[1].tipMovement, static_cast<double>(0.0001f) / static_cast<double>(39.79f));
        EXPECT_DOUBLE_EQ(st.points[13].tipMovement, 2.0 / static_cast<double>(39.79f));
    }
    {
        SCOPED_TRACE("a pile too soft to settle an increment hits the iteration cap and says so");
        // Stiff clay softening to a tenth of its peak friction, on a pile of 0.005 in^2: the movement of
        // an increment's middle jumps across the softening branch from pass to pass.
        CaseText c;
        const std::string clay = "0 0 2000 900 0 20 0 0 0 1 1 0 0 0.1";
        c.points = {{"0 2 1 55 0 9", clay}, {"20 2 1 55 0 9", clay}, {"20 2 1 55 0 9", clay}, {"60 2 1 55 0 9", clay}};
        c.tail = "0\n0 1.0\n0 0 0\n2 2\n0 0.005\n40 0.005\n0 0\n0\n0\n0\n";
        const auto r = WholeRun(dir, c);
        ASSERT_EQ(r.status, 0) << r.errors;
        EXPECT_TRUE(Contains(r.report, "THE LOAD TRANSFER DID NOT CONVERGE WITHIN 1000 ITERATIONS;"));
        EXPECT_NE(r.console.find("DID NOT CONVERGE"), std::string::npos);
    }
    {
        SCOPED_TRACE("an area row of 0 leaves the pile without stiffness: status 2 after the tables");
        CaseText c;
        c.tail = "0\n0 1.0\n0 0 0\n2 2\n0 10\n40 -10\n0 0\n0\n0\n0\n";
        const auto r = WholeRun(dir, c);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.errors.find("axial stiffness AE of the pile is not positive"), std::string::npos);
        EXPECT_TRUE(Contains(r.report, "FED. HWY. METHOD"));
    }
}

TEST(VerificationCurves, DepthsInsideAndOutsideTheProfile) {
    testing::TempDir dir;
    CaseText c;
    // Depths 0 (the first point), 30 (clay), 60 (the last point, still inside) and -1 (above ground).
    c.tail = "1\n4\n0\n30\n60\n-1\n0 1.0\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
    auto r = WholeRun(dir, c);
    ASSERT_EQ(r.status, 0) << r.errors;
    const std::string banner = "* COMPUTE INTERNALLY-GENERATED LOAD-TRANSFER    *";
    EXPECT_TRUE(Contains(r.report, banner));
    EXPECT_TRUE(Contains(r.report, "               CURVE NOT PRINTED SINCE DEPTH OUTSIDE SOIL RANGE"));
    EXPECT_TRUE(Contains(r.report, "            4         10     -0.1000E+01"));
    // The plot file ends with the count of depths inside, then three curves of eleven lines each.
    const auto plot = testing::splitLines(r.plot);
    ASSERT_GT(plot.size(), 34u);
    EXPECT_EQ(plot[plot.size() - 34], "           3");
    EXPECT_EQ(plot[plot.size() - 11], "            3         10      0.6000E+02");

    auto run = testing::PreparedRun(c);
    run->capacity().plotRowCount = 9;
    LoadTransferSolver(*run);
    VerificationTzCurves(*run);
    const LoadSettlementState& st = run->loadSettlement();
    ASSERT_EQ(st.verificationCount, 4);
    EXPECT_TRUE(st.verificationInside[1] && st.verificationInside[3]);
    EXPECT_FALSE(st.verificationInside[4]);
    EXPECT_FALSE(st.verificationCurves[1].cohesive);  // the first point's soil: sand
    EXPECT_TRUE(st.verificationCurves[2].cohesive);

    // Asked for, but with no depth: nothing at all.
    c.tail = "1\n0\n0 1.0\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
    r = WholeRun(dir, c);
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_FALSE(Contains(r.report, banner));
}

}  // namespace
}  // namespace pileaxial
