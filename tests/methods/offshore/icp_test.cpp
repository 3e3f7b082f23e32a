// ICP/MTD method: the sand and clay formulas with their guards, hand-checked segments in both unit
// systems, the plasticity-index message, and the table of a whole run with a sounding.  Expected
// values are worked out by hand in the comments.
#include "methods/offshore/icp.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "methods/offshore/icp_clay.hpp"
#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;

// The 24 in open pipe with a 23 in bore of the default case: R* = sqrt((576 - 529) / 4) = 3.427827 in.
constexpr double kRstar = 3.427827;
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(IcpFormulas, SandAndClayRulesWithTheirGuards) {
    PileModel closed;
    closed.tipClosure = 1;
    closed.enhancedEndDiameter = 712.0;
    struct Case {
        const char* what;
        double value;
        double expected;
    };
    const Case cases[] = {
        // 22.5 - (25 - 22) x (22.5 - 24.5) / 5.
        {"PI 22", IcpInterfaceFrictionAngle(22.0), 23.7},
        {"PI below 0", IcpInterfaceFrictionAngle(-5.0), 34.0},
        // h = 4 R*: 4, held at 8; 10 R* stays 10; a segment below the tip is at 8.
        {"clay 4 R* above the tip", IcpRelativeDistance(4 * kRstar / 12, 12, 24, 23), 8.0},
        {"sand 4 R* above the tip", IcpSandRelativeDistance(4 * kRstar / 12, 12, 24, 23), 8.0},
        {"sand 10 R* above the tip", IcpSandRelativeDistance(10 * kRstar / 12, 12, 24, 23), 10.0},
        {"sand below the tip", IcpSandRelativeDistance(-1.0, 12, 24, 23), 8.0},
        {"no section: infinitely far", IcpSandRelativeDistance(10.0, 12, 24, 30), kInf},
        // A closed 762/712 mm pipe displaces its whole section: R* = D / 2; open, sqrt(18425).
        {"closed pipe R*", IcpEquivalentRadius(762, ConeMethodInsideDiameter(closed)), 381.0},
        {"open pipe R*", IcpEquivalentRadius(762, 712), 135.738720},
        // log10(10) = 1: (2 - 0.625) 4^0.42 16^-0.2 = 1.375 x 1.789487 x 0.574349.
        {"Kc at su/sur 10", IcpClayEarthPressure(100, 10, 4, 16), 1.413657},
        // Sensitivity 1: 2 x 8^-0.2.
        {"Kc without remolded strength", IcpClayEarthPressure(100, 0, 1, 8), 1.319508},
        {"Kc without strength", IcpClayEarthPressure(0, 50, 1, 8), 1.319508},
        {"Kc infinitely far", IcpClayEarthPressure(100, 10, 4, kInf), 0.0},
        // eta = 5000 / sqrt(100 x 60); beyond b / 2c = 0.00125 / 2.432e-6 = 513.980 it is held there.
        {"eta", IcpNormalisedCone(5000, 100, 60), 64.549722},
        {"eta beyond the peak", IcpNormalisedCone(10000, 100, 1), 513.980263},
        {"eta at zero stress", IcpNormalisedCone(5000, 100, 0), 513.980263},
        {"eta at negative stress", IcpNormalisedCone(5000, 100, -3), 513.980263},
        {"eta of a negative cone", IcpNormalisedCone(-5000, 100, 60), 0.0},
        {"G without cone or stress", IcpShearModulus(0, IcpNormalisedCone(0, 100, 0)), 0.0},
        // At the peak the denominator is 0.341537664; beyond it (900 would give 0.16034) it stays.
        {"G at the peak", IcpShearModulus(100, 513.980263), 292.793476},
        {"G beyond the peak", IcpShearModulus(100, 900), 292.793476},
        // sigma_rc 100, d_sigma 10: 0.9 (80 + 10), 80 + 10, 100 + 10.
        {"tension, open", IcpRadialStressAtFailure(100, 10, true, true), 81.0},
        {"tension, closed", IcpRadialStressAtFailure(100, 10, true, false), 90.0},
        {"compression", IcpRadialStressAtFailure(100, 10, false, true), 110.0},
        // 2 x 100 x 0.02 / 381; no radius, no dilation.
        {"dilation", IcpDilationStress(100, 0.02, 381), 0.010499},
        {"dilation without radius", IcpDilationStress(100, 0.02, 0), 0.0},
        {"sigma_rc infinitely far", IcpStationaryRadialStress(100, 1, 2.0885546, kInf), 0.0},
        {"sigma_rc at negative stress", IcpStationaryRadialStress(100, -1, 2.0885546, 8), 0.0},
    };
    for (const Case& c : cases) {
        if (std::isinf(c.expected)) {
            EXPECT_EQ(c.value, c.expected) << c.what;
        } else {
            EXPECT_NEAR(c.value, c.expected, 2.0e-6 * std::max(1.0, std::fabs(c.expected))) << c.what;
        }
    }
}

// English: the default 24/23 in open pipe, 40 ft in 1 ft increments, the sounding rising from 0 at
// the ground by 10 ksf per ft (psf as stored).  SI: a closed 762/712 mm pipe, 20 m in 1 m increments,
// sand to 10 m over clay, the sounding rising by 1000 kPa per m.
CaseText English() {
    CaseText c;
    c.g4 = "0 1 1 0 1 1 0";
    return c;
}
CptSounding EnglishSounding() {
    CptSounding cpt;
    cpt.cptPointCount = 2;
    cpt.cptDepth[1] = 0;
    cpt.cptValue[1] = 0;
    cpt.cptDepth[2] = 40;
    cpt.cptValue[2] = 400000;
    return cpt;
}
CaseText Si() {
    CaseText c;
    c.g1 = "2 5 4 1";
    c.g2 = "0 0 762 712 200000000 20 0";
    c.g4 = "0 1 1 0 7 1 0";
    c.g5 = "0 0 0 0 0 0 1 0 0";
    c.g6 = "30 0";
    c.points = {{"0 1 1 10 35 0", "0 0 0 20 0 0 0 0 0 1 1 0 0 0"},
                {"10 1 1 10 35 0", "0 0 0 20 0 0 0 0 0 1 1 0 0 0"},
                {"10 2 1 8 0 0", "0 0 60 30 2 30 0 0 0 1 1 0 0 0"},
                {"30 2 1 8 0 0", "0 0 120 60 2 30 0 0 0 1 1 0 0 0"}};
    return c;
}
CptSounding SiSounding() {
    CptSounding cpt;
    cpt.cptPointCount = 2;
    cpt.cptDepth[1] = 0;
    cpt.cptValue[1] = 0;
    cpt.cptDepth[2] = 20;
    cpt.cptValue[2] = 20000;
    return cpt;
}

// What a case sets on its segment after the grid is built; the cone resistance always comes from
// the sounding at (s - 1) x dL.
struct Segment {
    int s;
    double soilType, phi, sv1, sv2;
    double su = 0, sur = 0, ysr = 0, pi = 0;
};
Segment Sand(int s, double phi, double sv1, double sv2) { return {s, 1, phi, sv1, sv2}; }
Segment Clay(int s, double sv1, double sv2, double su, double sur, double ysr, double pi) {
    return {s, 2, 0, sv1, sv2, su, sur, ysr, pi};
}

TEST(IcpUnitTransfer, HandCheckedSegments) {
    const auto with = [](CaseText c, const std::function<void(CaseText&)>& change) {
        change(c);
        return c;
    };
    const auto tension = [](CaseText& c) { c.tail = "0\n1 1.0\n0 0 0\n0 0\n0 0\n0\n0\n0\n"; };
    struct Case {
        const char* what;
        CaseText input;
        bool english;
        Segment seg;
        double top, bottom;  // SegmentUnitFriction and SegmentRemoldedFriction
    };
    const Case cases[] = {
        // Segment 11 at 10 ft: q = 100 ksf; h = 30 ft = 360 in, hr = 360 / 3.427827 = 105.0228;
        // hr^-0.38 = 0.170530.  eta from the bottom stress 1.2 at both levels: 100 / sqrt(2.0885546
        // x 1.2) = 63.1664, denominator 0.0203 + 0.078958 - 0.004852 = 0.094406, G = 1059.252;
        // d_sigma = 2 x 1059.252 x 0.00078740 / 12 = 0.139009.  sigma_rc = 0.029 x 100 x (sv /
        // 2.0885546)^0.13 x 0.170530: top (1.0) 0.449501, bottom (1.2) 0.460282.
        // f = (sigma_rc + d_sigma) tan 30.
        {"English sand, compression", English(), true, Sand(11, 35, 1.0, 1.2), 0.339776, 0.346001},
        // 0.9 (0.8 x 0.449501 + 0.139009) tan 30 = 0.259085; bottom 0.9 (0.368226 + 0.139009) tan 30.
        {"English sand, tension, open", with(English(), tension), true, Sand(11, 35, 1.0, 1.2), 0.259085,
         0.263567},
        // No stress: sigma_rc = 0 and eta held at 513.980, G = 100 / 0.341538 = 292.7935, d_sigma =
        // 2 x 292.7935 x 0.00078740 / 12 = 0.0384243; f = 0.0384243 tan 30 at both levels.
        {"English sand without stress", English(), true, Sand(11, 35, 0, 0), 0.0221843, 0.0221843},
        // Segment 31 at 30 ft: h = 10 ft = 120 in, hr = 35.00761, hr^-0.2 = 0.491250.  su / sur = 4:
        // Kc = (2 - 0.625 x 0.602060) x 2^0.42 x 0.491250 = 1.623712 x 1.337928 x 0.491250 =
        // 1.066865.  PI 22: delta 23.7, tan 0.438969.  f = 0.8 sv tan(delta) Kc.
        {"English clay", English(), true, Clay(31, 2.0, 2.1, 2.0, 0.5, 2, 22), 0.749313, 0.786779},
        // Segment 6 at 5 m: q = 5000 kPa; closed, R* = 381 mm; h = 15 m, hr = 39.37008, hr^-0.38 =
        // 0.247823.  eta = 5000 / sqrt(100 x 60) = 64.5497, denominator 0.095920, G = 52126.51;
        // d_sigma = 2 x 52126.51 x 0.02 / 381 = 5.472599.  sigma_rc = 0.029 x 5000 x (sv / 100)^0.13
        // x 0.247823: top (50) 32.814887, bottom (60) 33.601950.  f = (sigma_rc + d_sigma) tan 30.
        {"SI sand, closed pipe", Si(), false, Sand(6, 35, 50, 60), 22.105291, 22.559701},
        // Closed in tension: (0.8 sigma_rc + d_sigma) tan 30, no 0.9 for the bore.
        {"SI sand, tension, closed pipe", with(Si(), tension), false, Sand(6, 35, 50, 60), 18.316154,
         18.679682},
        // Segment 16 at 15 m: h = 5 m, hr = 5000 / 381 = 13.12336, hr^-0.2 = 0.597889.  su / sur = 4,
        // YSR 3: Kc = 1.623712 x 3^0.42 x 0.597889 = 1.623712 x 1.586016 x 0.597889 = 1.539186.
        // PI 40: delta 17, tan 0.305731.
        {"SI clay", Si(), false, Clay(16, 100, 110, 80, 20, 3, 40), 37.646107, 41.410717},
        // Bottom stress held at 1.0E-10 (single precision) in SI: f = 0.8 x 1e-10 x tan 17 x Kc.
        {"SI clay without stress", Si(), false, Clay(16, 0, 0, 80, 20, 3, 40), 0.0, 3.7646e-11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto run = testing::PreparedRun(c.input);
        run->cpt = c.english ? EnglishSounding() : SiSounding();
        SegmentGrid& g = run->grid;
        const Segment& seg = c.seg;
        g.segConeResistance[seg.s] = 0;
        g.segSoilType[seg.s] = seg.soilType;
        g.segFrictionAngle[seg.s] = seg.phi;
        g.segStressTop[seg.s] = seg.sv1;
        g.segStressBottom[seg.s] = seg.sv2;
        g.segShearStrength[seg.s] = seg.su;
        g.segRemoldedStrength[seg.s] = seg.sur;
        g.segBlowCount[seg.s] = seg.ysr;
        g.segPlasticityIndex[seg.s] = seg.pi;
        IcpUnitTransfer(*run);
        const MethodCurves& m = run->capacity().method[kIcp];
        EXPECT_EQ(run->capacity().CurrentMethodId, kIcp);
        EXPECT_NEAR(m.SegmentUnitFriction(1, seg.s), c.top, 2.0e-6 * std::max(1.0, c.top));
        EXPECT_NEAR(m.SegmentUnitFriction(2, seg.s), c.bottom, 2.0e-6 * std::max(1.0, c.bottom));
        EXPECT_EQ(m.SegmentRemoldedFriction(1, seg.s), m.SegmentUnitFriction(1, seg.s));
        EXPECT_EQ(m.SegmentRemoldedFriction(2, seg.s), m.SegmentUnitFriction(2, seg.s));
        if (!c.english && seg.sv2 == 0) {
            EXPECT_EQ(g.segStressBottom[seg.s], static_cast<double>(1.0e-10f));
        }
    }
}

// The message comes once for each clay segment with a negative plasticity index, at every call.
// Without diameters (refused by the input, reached here through the guards) no value is undefined.
TEST(IcpUnitTransfer, PlasticityIndexMessageAndNoDiameter) {
    auto run = testing::PreparedRun(Si());
    run->cpt = SiSounding();
    std::ostringstream report;
    run->report.attach(&report);
    run->grid.segPlasticityIndex[15] = -1;
    run->grid.segPlasticityIndex[20] = -0.5;
    IcpUnitTransfer(*run);
    IcpUnitTransfer(*run);
    const std::string line = " ERROR - NO DATA FOUND FOR PLASTIC INDEX.";
    EXPECT_EQ(testing::splitLines(report.str()), std::vector<std::string>(4, line));

    testing::RemoveDiameters(*run);
    IcpUnitTransfer(*run);
    const CapacityState& cap = run->capacity();
    for (int s = 1; s <= run->pile.segmentCount; ++s) {
        EXPECT_EQ(cap.method[kIcp].SegmentUnitFriction(1, s), 0.0) << s;
        EXPECT_EQ(cap.method[kIcp].SegmentUnitFriction(2, s), 0.0) << s;
    }
    for (int k = 1; k <= cap.pileNodeCount; ++k) EXPECT_EQ(cap.current.TotalSkinFriction[k], 0.0) << k;
}

// A whole run selecting ICP/MTD only, which is also the load-transfer method.  The top metre of sand
// weighs nothing (no stress: eta held at its peak), the clay has no plasticity index.
TEST(IcpReport, TableAndPlotRowsWithASounding) {
    CaseText c = Si();
    c.g1 = "2 5 6 1";
    c.points.insert(c.points.begin(), {{"0 1 1 0 35 0", "0 0 0 20 0 0 0 0 0 1 1 0 0 0"},
                                       {"1 1 1 0 35 0", "0 0 0 20 0 0 0 0 0 1 1 0 0 0"}});
    c.points[2].first = "1 1 1 10 35 0";
    c.points[4].second = "0 0 60 30 2 -1 0 0 0 1 1 0 0 0";
    c.points[5].second = "0 0 120 60 2 -1 0 0 0 1 1 0 0 0";
    testing::TempDir dir;
    const testing::RunResult r = testing::runCase(dir, c.str(), "1 3\n0 1000\n10 8000\n30 20000\n");
    ASSERT_EQ(r.status, 0) << r.errors;

    const std::string title = std::string(20, ' ') + "*  IMPERIAL COLLEGE (MTD) METHOD  *";
    const auto at = std::find(r.report.begin(), r.report.end(), title);
    ASSERT_NE(at, r.report.end());
    EXPECT_NE(std::find(r.report.begin(), at, " ERROR - NO DATA FOUND FOR PLASTIC INDEX."), at);
    // Nodes 1, 6, 11, 16 and 21 (0 to 20 m every 5 m).
    const std::vector<std::string> plot = testing::splitLines(r.plot);
    ASSERT_GT(plot.size(), 6u);
    EXPECT_EQ(plot[0], "           1           5           2           7");
    EXPECT_EQ(plot[1].substr(0, 9), "     0.00");
    EXPECT_EQ(plot[5].substr(0, 9), "    20.00");
    // A value that is not a number fills its field with asterisks.  Banners are one run of them
    // alone on their line; a field of them shares its line with other fields.
    std::vector<std::string> lines = r.report;
    for (const std::string& line : plot) lines.push_back(line);
    for (const std::string& line : lines) {
        if (line.find("***") == std::string::npos) continue;
        const std::size_t first = line.find_first_not_of(' ');
        const std::size_t last = line.find_last_not_of(' ');
        const std::size_t run = std::min(line.find_first_not_of('*', first), line.size());
        EXPECT_EQ(run, last + 1) << line;
    }
}

}  // namespace
}  // namespace pileaxial
