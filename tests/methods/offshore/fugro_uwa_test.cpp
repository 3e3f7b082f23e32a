// Fugro 2004 and UWA: the sand rules at their branch points and guards, one sand segment of each
// method worked by hand in each unit system, and both tables through a whole run.
#include "methods/offshore/fugro.hpp"
#include "methods/offshore/uwa.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;

constexpr double kPaKsf = 2.088554620742798;
const std::string kSandS2 = "0 0 0 10 0 0 0 0 0 1 1 0 0 0";  // no cone value: the sounding is read

TEST(ConeSandFormulas, BranchesAndGuards) {
    struct Case {
        const char* what;
        double value;
        double expected;
    };
    // q = 100 ksf, sv = 2 ksf: (2 / 2.0885546)^0.05 = 0.997836, ^0.15 = 0.993522.  R* = 6 in.
    const Case cases[] = {
        // 0.08 x 100 x 0.997836 x 4^-0.9 (0.287175) x 1.
        {"Fugro hr = 4 takes the near-tip branch at x 1", FugroSandCompressionFriction(100, 2, kPaKsf, 24, 6),
         2.292425},
        // 0.08 x 100 x 0.997836 x 2^-0.9 (0.535887) x 0.5.
        {"Fugro hr = 2, compression x 0.5", FugroSandCompressionFriction(100, 2, kPaKsf, 12, 6), 2.138908},
        // 0.045 x 100 x 0.993522 x 4^-0.85 (0.307786): hr = 2 taken as 4.
        {"Fugro tension near the tip uses 4", FugroSandTensionFriction(100, 2, kPaKsf, 12, 6), 1.376066},
        {"Fugro tension at hr = 8", FugroSandTensionFriction(100, 2, kPaKsf, 48, 6), 0.763420},
        {"Fugro no stress, compression", FugroSandCompressionFriction(100, 0, kPaKsf, 48, 6), 0.0},
        {"Fugro negative stress, tension", FugroSandTensionFriction(100, -1, kPaKsf, 48, 6), 0.0},
        {"Fugro R* = 0, compression", FugroSandCompressionFriction(100, 2, kPaKsf, 48, 0), 0.0},
        {"Fugro R* = 0, tension", FugroSandTensionFriction(100, 2, kPaKsf, 48, 0), 0.0},
        {"Fugro closed section R* = D / 2", FugroEquivalentRadius(24, 0), 12.0},
        // 0.5 x 24 x sqrt(1 - (22/24)^2).
        {"Fugro open 24 / 22 in", FugroEquivalentRadius(24, 22), 4.795832},
        {"Fugro bore wider than the pile: R* = 0", FugroEquivalentRadius(24, 25), 0.0},

        {"UWA closed section IFR", UwaFillingRatio(0), 0.0},
        {"UWA closed section Ars", UwaEffectiveAreaRatio(0, 610, 0), 1.0},
        {"UWA bore of 0.6 m: 0.4^0.2", UwaFillingRatio(0.6), 0.832553},
        {"UWA bore of 1.5 m fills", UwaFillingRatio(1.5), 1.0},
        {"UWA negative bore fills nothing", UwaFillingRatio(-0.1), 0.0},
        // 1 - 1 x (1800 / 2000)^2.
        {"UWA large pipe Ars = 1 - (Di/D)^2", UwaEffectiveAreaRatio(1, 2000, 1800), 0.19},
        {"UWA Di > D: Ars held at 0", UwaEffectiveAreaRatio(1, 24, 30), 0.0},
        {"UWA Ars = 0: no stationary stress", UwaStationaryRadialStress(10000, 0, 0.5), 0.0},
        {"UWA h/D = 1 uses 2", UwaFrictionFatigue(610, 610), 0.707107},
        {"UWA stationary 0.03 x 10000 x 0.5", UwaStationaryRadialStress(10000, 1, 0.5), 150.0},
        // qc1N = 100 / 1 = 100; G = 185 x 10000 / 100^0.75 = 58502.14; x 0.08 / 610.
        {"UWA dilation", UwaDilationStress(10000, 100, 100, 0.08f, 610), 7.672411},
        // sv = 0 floored at 1.0E-7: qc1N = 100 / 3.16228E-4 = 316228, G = 138.7304: still friction.
        {"UWA dilation at the ground surface", UwaDilationStress(10000, 0, 100, 0.08f, 610), 0.018194},
        {"UWA no cone resistance: no dilation", UwaDilationStress(0, 100, 100, 0.08f, 610), 0.0},
        // (150 + 7.672411) x tan 30; tension takes 0.75 of both terms.
        {"UWA friction", UwaSandFriction(150, 7.672411, 35, false), 91.032209},
        {"UWA tension 0.75 on both terms", UwaSandFriction(150, 7.672411, 35, true), 0.75 * 91.032209},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(std::isfinite(c.value)) << c.what;
        EXPECT_NEAR(c.value, c.expected, 2.0e-6 * std::max(1.0, c.expected)) << c.what;
    }
}

// English: 24 in / 22 in open pipe, 40 ft in 5 ft increments, sand of 100 pcf and phi 30; sounding
// from 100 ksf at the ground to 500 ksf at 40 ft.  Segment 3 (10 to 15 ft) reads the sounding at
// 10 ft: q = 200 ksf; sv = 1.0 ksf at its top, 1.5 at its bottom; h = 30 ft = 360 in.
CaseText EnglishOpenPipe() {
    CaseText c;
    c.g1 = "1 5 2 0";
    c.g2 = "0 0 24 22 29000000 40 0";
    c.g4 = "0 5 1 0 1 1 0";
    c.g5 = "0 0 0 0 0 0 0 1 1";
    c.g6 = "60 0";
    c.points = {{"0 1 1 100 30 0", kSandS2}, {"60 1 1 100 30 0", kSandS2}};
    return c;
}

// SI: 610 mm closed pipe (the 580 mm bore plays no part), 20 m in 1 m increments, in tension, sand of
// 10 kN/m^3 and phi 35; sounding 15000 kPa throughout.  Segment 20 (19 to 20 m): sv = 190 / 200 kPa,
// h = 1 m = 1000 mm.
CaseText SiClosedPipeInTension() {
    CaseText c = EnglishOpenPipe();
    c.g1 = "2 1 2 1";
    c.g2 = "0 0 610 580 200000000 20 0";
    c.g4 = "0 1 1 0 1 1 0";
    c.g6 = "30 0";
    c.points = {{"0 1 0 10 35 0", kSandS2}, {"30 1 0 10 35 0", kSandS2}};
    c.tail = "0\n1 1.0\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
    return c;
}

std::unique_ptr<Run> WithSounding(const CaseText& c, double bottomDepth, double top, double bottom) {
    auto run = testing::PreparedRun(c);
    run->pile.cptDataSwitch = 1;
    run->cpt.cptPointCount = 2;
    run->cpt.cptDepth[1] = 0.0;
    run->cpt.cptValue[1] = top;
    run->cpt.cptDepth[2] = bottomDepth;
    run->cpt.cptValue[2] = bottom;
    return run;
}

TEST(ConeSandSegments, HandCheckedInEachUnitSystem) {
    struct Case {
        const char* what;
        bool english;
        void (*routine)(pileaxial::Run&);
        int method;
        int segment;
        double top, bottom;  // ksf or kPa
    };
    const Case cases[] = {
        // R* = 4.795832 in, hr = 360 / 4.795832 = 75.0652 > 4, hr^-0.9 = 0.0205166;
        // (1.5 / 2.0885546)^0.05 = 0.983586, (1.0 / 2.0885546)^0.05 = 0.963846.
        //   bottom 0.08 x 200 x 0.983586 x 0.0205166 = 0.322877; top x 0.963846 = 0.316397.
        {"Fugro, English open pipe, compression", true, FugroUnitTransfer, kFugro, 3, 0.316397, 0.322877},
        // R* = 305 mm, hr = 1000 / 305 = 3.278689 <= 4, but tension uses max(4, hr) = 4: 4^-0.85 =
        // 0.307786; (200 / 100)^0.15 = 1.109569, (190 / 100)^0.15 = 1.101065.
        //   bottom 0.045 x 15000 x 1.109569 x 0.307786 = 230.5193; top x 1.101065 = 228.7525.
        {"Fugro, SI closed pipe, tension", false, FugroUnitTransfer, kFugro, 20, 228.7525, 230.5193},
        // Di = 22 in = 0.5588 m: IFR = (0.5588 / 1.5)^0.2 = 0.820792; Ars = 1 - 0.820792 x (22/24)^2
        // = 0.310307, ^0.3 = 0.703943; fatigue 1 / sqrt(360 / 24) = 0.258199;
        //   sigma_rc = 0.03 x 200 x 0.703943 x 0.258199 = 1.090544.
        // Bottom: qc1N = (200 / 2.0885546) / sqrt(1.5 / 2.0885546) = 112.9956, G = 185 x 200 /
        // 112.9956^0.75 = 1067.593, d_sigma = 1067.593 x 0.0031496 / 24 = 0.140104.
        // Top: qc1N = 138.3908, G = 917.0044, d_sigma = 0.120342.  tan 25 = 0.466308:
        //   bottom (1.090544 + 0.140104) x 0.466308 = 0.573860; top 0.564645.
        {"UWA, English open pipe, compression", true, UwaUnitTransfer, kUwa, 3, 0.564645, 0.573860},
        // Closed: Ars = 1; h / D = 1.639 -> 2, fatigue 0.707107; sigma_rc = 0.03 x 15000 x 0.707107 =
        // 318.1981.  Bottom: qc1N = 150 / sqrt(2) = 106.0660, G = 185 x 15000 / 106.0660^0.75 =
        // 83961.62, d_sigma = 83961.62 x 0.08 / 610 = 11.01136.  Top: qc1N = 150 / sqrt(1.9) =
        // 108.8214, G = 82362.05, d_sigma = 10.80158.  Tension 0.75, tan 30 = 0.577350:
        //   bottom 0.75 x 329.2095 x 0.577350 = 142.5519; top 0.75 x 328.9997 x 0.577350 = 142.4610.
        {"UWA, SI closed pipe, tension", false, UwaUnitTransfer, kUwa, 20, 142.4610, 142.5519},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto run = c.english ? WithSounding(EnglishOpenPipe(), 40.0, 100000.0, 500000.0)
                             : WithSounding(SiClosedPipeInTension(), 30.0, 15000.0, 15000.0);
        const int s = c.segment;
        ASSERT_NEAR(run->grid.segStressTop[s], c.english ? 1.0 : 190.0, 1.0e-9);
        ASSERT_NEAR(run->grid.segStressBottom[s], c.english ? 1.5 : 200.0, 1.0e-9);
        c.routine(*run);
        const MethodCurves& curves = run->capacity().method[c.method];
        EXPECT_EQ(run->capacity().CurrentMethodId, c.method);
        EXPECT_NEAR(curves.SegmentUnitFriction(1, s), c.top, 2.0e-6 * c.top);
        EXPECT_NEAR(curves.SegmentUnitFriction(2, s), c.bottom, 2.0e-6 * c.bottom);
        EXPECT_EQ(curves.SegmentRemoldedFriction(1, s), curves.SegmentUnitFriction(1, s));
        EXPECT_EQ(curves.SegmentRemoldedFriction(2, s), curves.SegmentUnitFriction(2, s));
    }
}

// Both tables through a whole run, with UWA carrying the load-transfer analysis, on an English open
// pipe in sand over clay whose sounding reads 0 in the top 10 ft (no cone resistance: no friction by
// either rule, where UWA's modulus would be 0 / 0).
TEST(ConeSandReport, FugroAndUwaTablesWithoutNonFiniteValues) {
    CaseText c;
    c.g4 = "0 1 1 0 9 1 0";
    c.g5 = "0 0 0 0 0 0 0 1 1";
    const std::string cpt = "1 4\n0 0\n10 0\n20 300000\n60 60000\n";
    testing::TempDir dir;
    const testing::RunResult r = testing::runCase(dir, c.str(), cpt);
    ASSERT_EQ(r.status, 0) << r.errors;

    // A value that is not finite fills its field with asterisks: none in the rows of either table (a
    // single asterisk there marks a tip controlled by the plug) or anywhere in the plot-data file.
    const auto tableRows = [&](const std::string& title) {
        std::size_t at = 0;
        while (at < r.report.size() && r.report[at].find(title) == std::string::npos) ++at;
        std::vector<std::string> rows;
        // The title, its lower frame, a blank and three heading lines; then the rows up to a blank.
        for (std::size_t i = at + 6; i < r.report.size() && !r.report[i].empty(); ++i) rows.push_back(r.report[i]);
        return rows;
    };
    for (const char* title : {"FUGRO 2004 (FUGRO) METHOD", "UNIV. OF WESTERN AUSTRALIA (UWA) METHOD"}) {
        SCOPED_TRACE(title);
        const std::vector<std::string> rows = tableRows(title);
        ASSERT_EQ(rows.size(), 9u);  // 41 nodes printed every 5: 0, 5, ..., 40 ft
        EXPECT_EQ(rows.back().substr(0, 20), "             40.00  ");
        for (const std::string& row : rows) EXPECT_EQ(row.find("**"), std::string::npos) << row;
    }
    const std::vector<std::string> plot = testing::splitLines(r.plot);
    ASSERT_GT(plot.size(), 19u);  // header, 2 x 9 rows, then the load-transfer records
    EXPECT_EQ(plot[0], "           2           9           1           9");
    EXPECT_EQ(r.plot.find_first_of("*nN"), std::string::npos);
}

}  // namespace
}  // namespace pileaxial
