// NGI method: the sand and clay rules with their guards, one sand and one clay segment of a prepared
// run in each unit system, and the table through a whole run.  Expected values are worked out by
// hand in the comments (single-precision constants: 0.4, 2.1, 1.7, 0.32, 0.3, 0.06, 0.33 ...).
#include "methods/offshore/ngi.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;

constexpr double kPaKsf = 2.088554620742798;
constexpr double kPaKpa = 100.0;

TEST(NgiFormulas, SandRuleAndItsGuards) {
    const NgiSandFactors closedSteelCompression = NgiSandFactorsFor(0.0, false, 1);
    const NgiSandFactors openSteelTension = NgiSandFactorsFor(22.0, true, 1);
    const NgiSandFactors closedConcreteTension = NgiSandFactorsFor(0.0, true, 3);
    const auto product = [](const NgiSandFactors& f) { return f.tip * f.load * f.material; };
    const double atDr0 = 22.0 * std::sqrt(kPaKsf * 1.0);
    struct Case {
        const char* what;
        double value;
        double expected;
    };
    const Case cases[] = {
        // 2.1 (0.200001 - 0.1)^1.7 and 2.1 (0.20001 - 0.1)^1.7.
        {"Dr 0 takes the floor", NgiDensityFactor(NgiRelativeDensity(atDr0, 1.0, kPaKsf, true), true), 0.041901214},
        {"SI floor", NgiDensityFactor(0.0, false), 0.041907626},
        // 0.4 ln(100 / (22 sqrt(2.0885546))) = 0.4 ln(3.145180).
        {"Dr of 100 ksf at 1 ksf", NgiRelativeDensity(100.0, 1.0, kPaKsf, true), 0.458357},
        {"q = 0: the floor, not ln 0", NgiRelativeDensity(0.0, 1.0, kPaKsf, true), 0.200001},
        {"sv = 0", NgiRelativeDensity(100.0, 0.0, kPaKsf, true), 0.200001},
        // SI 1.01 rule: 22 sqrt(100 x 100) = 2200 exceeds 1000, q becomes 2222; Dr = 0.4 ln 1.01, floored.
        {"SI q below the reference is raised", NgiSiConeResistance(1000.0, 100.0, kPaKpa), 2222.0},
        {"SI q above the reference stays", NgiSiConeResistance(5000.0, 10.0, kPaKpa), 5000.0},
        {"closed steel pile in compression", product(closedSteelCompression), 2.08},
        {"open steel pile in tension", product(openSteelTension), 1.0},
        {"concrete takes 1.2, closed in tension", product(closedConcreteTension), 1.92},
        {"no embedded length: z/L = 0", NgiRelativeDepth(5.0, 0.0), 0.0},
        {"sv = 0 carries nothing", NgiSandUnitFriction(0.5, 0.0, kPaKsf, 0.5, closedSteelCompression, true), 0.0},
        {"sv < 0 carries nothing", NgiSandUnitFriction(0.5, -1.0, kPaKpa, 0.5, closedSteelCompression, false), 0.0},
    };
    for (const Case& c : cases) EXPECT_NEAR(c.value, c.expected, 2.0e-6 * std::max(1.0, c.expected)) << c.what;
}

TEST(NgiFormulas, ClayBandsAndRemoldedPairs) {
    struct Case {
        const char* what;
        double su, sur, pi, sv, di;
        bool english;
        double intact, remolded;
    };
    const Case cases[] = {
        // psi = 0.25 takes the band with alpha = a = 0.32 x 10^0.3 = 0.638484: f = 25 a; fmin = 0.06
        // x 100 x 8^0.33 = 11.917110 bounds the remolded 10 a = 6.38.
        {"psi 0.25: alpha = a", 25.0, 10.0, 20.0, 100.0, 0.0, false, 15.962099, 11.917110},
        // psi = 1: alpha = b = 0.5; remolded 40 x 0.5 = 20.
        {"psi 1: alpha = b = 0.5", 100.0, 40.0, 20.0, 100.0, 0.0, false, 50.0, 20.0},
        // English open pile at psi 0.25: F_c = 0.9, f = 0.25 x 0.9 x 0.638484.
        {"psi 0.25, English open: F_c 0.9", 0.25, 0.0, 20.0, 1.0, 22.0, true, 0.143659, 0.119171},
        // PI 5 raised to 12.000001: fmin = 6 x (9.5367e-7)^0.33 = 6 x 0.0103087 (the remolded value
        // with sur = 0); a = 0.32 x 2.000001^0.3 = 0.393966, b = 0.5 / 0.5^0.3 = 0.615572, alpha =
        // a + 0.25 (b - a) / 0.75 = 0.467835, f = 50 alpha.
        {"PI below 12 in the band", 50.0, 0.0, 5.0, 100.0, 0.0, false, 23.391746, 0.061852},
        // psi = 4: alpha = 0.5 / 4^0.3 = 0.329877; remolded 50 alpha, no lower bound.
        {"psi > 1", 200.0, 50.0, 20.0, 50.0, 0.0, false, 65.975394, 16.493849},
        // English open: F_c = 0.8 + 0.2 x 2 = 1.2; f = 4 x 1.2 alpha, remolded 1 x 1.2 alpha.
        {"psi > 1, English open", 4.0, 1.0, 20.0, 1.0, 22.0, true, 1.583409, 0.395852},
        // psi = 0.1: 0.08 x 100 x 20^0.3 = 19.651649; remolded x 5 / 10.
        {"psi < 0.25", 10.0, 5.0, 30.0, 100.0, 0.0, false, 19.651649, 9.825824},
        // PI 0 raised to 10.000001: 8 x (2^-20)^0.3 = 8 x 0.015625.
        {"psi < 0.25, PI below 10", 10.0, 5.0, 0.0, 100.0, 0.0, false, 0.125, 0.0625},
        {"psi < 0.25 without strength", 0.0, 5.0, 30.0, 100.0, 0.0, false, 19.651649, 0.0},
        // sv = 0 held at 1.0E-10: psi = 1.0E10, alpha = 0.5 / 1.0E3, finite.
        {"no stress", 1.0, 0.5, 20.0, 0.0, 0.0, true, 5.0e-4, 2.5e-4},
    };
    for (const Case& c : cases) {
        const NgiClayFriction f = NgiClayUnitFriction(c.su, c.sur, c.pi, c.sv, c.di, c.english);
        EXPECT_NEAR(f.intact, c.intact, 2.0e-6 * std::max(1.0, c.intact)) << c.what;
        EXPECT_NEAR(f.remolded, c.remolded, 2.0e-6 * std::max(1.0, c.remolded)) << c.what;
    }
}

// A run prepared as the analysis starts, with a sounding of constant cone resistance.
std::unique_ptr<Run> PreparedConeRun(const CaseText& c, double cone) {
    auto run = testing::PreparedRun(c);
    run->cpt.cptPointCount = 2;
    run->cpt.cptDepth[1] = 0.0;
    run->cpt.cptValue[1] = cone;
    run->cpt.cptDepth[2] = 100.0;
    run->cpt.cptValue[2] = cone;
    return run;
}

// English: a closed 12 in steel pipe (bore 11 in, which a closed end ignores), 20 ft in 5 ft
// increments, in compression: F_tip F_load F_mat = 1.6 x 1.3 x 1.0.  Sand of 100 pcf to 10 ft over
// clay of 100 pcf (su 1000 psf, sur 400 psf, PI 30).  Sounding 100 ksf.
CaseText EnglishCase() {
    CaseText c;
    c.g1 = "1 1 4 1";
    c.g2 = "0 0 12 11 29000000 20 0";
    c.g4 = "0 5 1 0 6 1 0";
    c.g5 = "0 0 0 0 0 1 0 0 0";
    c.g6 = "40 0";
    c.points = {{"0 1 1 100 30 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"},
                {"10 1 1 100 30 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"},
                {"10 2 1 100 0 9", "0 0 1000 400 0 30 0 0 0 1 1 0 0 0"},
                {"40 2 1 100 0 9", "0 0 1000 400 0 30 0 0 0 1 1 0 0 0"}};
    return c;
}

TEST(NgiUnitTransfer, EnglishSandAndClaySegments) {
    auto run = PreparedConeRun(EnglishCase(), 100000.0);
    ASSERT_EQ(run->grid.segStressTop[1], 0.0);
    NgiUnitTransfer(*run);
    const CapacityState& cap = run->capacity();
    const MethodCurves& m = cap.method[kNgi];
    EXPECT_EQ(cap.CurrentMethodId, kNgi);

    // Segment 1 starts at the ground: zr = 0, no friction; its top stress 0 is kept at 1.0E-8 in
    // the grid for the methods that follow.
    EXPECT_EQ(m.SegmentUnitFriction(1, 1), 0.0);
    EXPECT_EQ(m.SegmentUnitFriction(2, 1), 0.0);
    EXPECT_EQ(run->grid.segStressTop[1], 9.99999993922529e-09);
    EXPECT_EQ(run->grid.segStressTop[2], 0.5);

    // Segment 2, 5 to 10 ft, zr = 5 / 20 = 0.25, q = 100 ksf.
    //   bottom, sv 1.0: Dr = 0.4 ln(100 / (22 sqrt(2.0885546))) = 0.458357, F_Dr = 2.1 x 0.358357^1.7
    //     = 0.366907; f = 2.0885546 x 0.366907 x (1 / 2.0885546)^0.25 x 0.25 x 2.08 = 0.331469
    //   top, sv 0.5: Dr = 0.4 ln(100 / (22 sqrt(1.0442773))) = 0.596986, F_Dr = 0.639741;
    //     f = 2.0885546 x 0.639741 x (0.5 / 2.0885546)^0.25 x 0.25 x 2.08 = 0.485998
    EXPECT_NEAR(m.SegmentUnitFriction(2, 2), 0.331469, 1.0e-6);
    EXPECT_NEAR(m.SegmentUnitFriction(1, 2), 0.485998, 1.0e-6);
    EXPECT_EQ(m.SegmentRemoldedFriction(2, 2), m.SegmentUnitFriction(2, 2));

    // Segment 3, clay 10 to 15 ft: sv2 = 1.5, psi = 1 / 1.5 = 0.666667, F_c = 1 (closed).
    //   a = 0.32 x 20^0.3 = 0.786066, b = 0.5 / 0.666667^0.3 = 0.564673,
    //   alpha = a + 0.416667 (b - a) / 0.75 = 0.663070; fmin = 0.06 x 1.5 x 18^0.33 = 0.233605
    //   f = max(fmin, 1 x alpha) = 0.663070; remolded max(fmin, 0.4 alpha = 0.265228) = 0.265228
    EXPECT_NEAR(m.SegmentUnitFriction(2, 3), 0.663070, 1.0e-6);
    EXPECT_NEAR(m.SegmentRemoldedFriction(2, 3), 0.265228, 1.0e-6);
}

// SI: an open 610 mm steel pipe (bore 580 mm), 4 m in 1 m increments, in compression:
// F_tip F_load F_mat = 1.0 x 1.3 x 1.0.  Sand of 10 kN/m^3 to 2 m over clay of 10 kN/m^3 (su 60,
// sur 20 kPa, PI 25).  Sounding 1000 kPa.
TEST(NgiUnitTransfer, SiSandAndClaySegments) {
    CaseText c;
    c.g1 = "2 1 4 0";
    c.g2 = "0 0 610 580 200000000 4 0";
    c.g4 = "0 1 1 0 6 1 0";
    c.g5 = "0 0 0 0 0 1 0 0 0";
    c.g6 = "12 0";
    c.points = {{"0 1 1 10 30 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"},
                {"2 1 1 10 30 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"},
                {"2 2 1 10 0 9", "0 0 60 20 0 25 0 0 0 1 1 0 0 0"},
                {"12 2 1 10 0 9", "0 0 60 20 0 25 0 0 0 1 1 0 0 0"}};
    auto run = PreparedConeRun(c, 1000.0);
    // Segment 2 (1 to 2 m) given a steep stress gradient, 10 to 40 kPa, so that the raised cone
    // resistance of the bottom level shows at the top level.
    ASSERT_EQ(run->grid.segStressTop[2], 10.0);
    run->grid.segStressBottom[2] = 40.0;
    NgiUnitTransfer(*run);
    const MethodCurves& m = run->capacity().method[kNgi];

    // Segment 2, zr = 1 / 4 = 0.25.
    //   bottom, sv 40: 22 sqrt(100 x 40) = 1391.402 exceeds 1000, q = 1.01 x 1391.402 = 1405.316;
    //     Dr = 0.4 ln 1.01 = 0.00398, floored at 0.20001;
    //     f = 209.99999 x 0.10001^1.7 x 0.4^0.25 x 0.25 x 1.3 = 1.083157
    //   top, sv 10: q stays 1405.316; Dr = 0.4 ln(1405.316 / (22 sqrt 1000)) = 0.281239;
    //     f = 209.99999 x 0.181239^1.7 x 0.1^0.25 x 0.25 x 1.3 = 2.104411
    EXPECT_NEAR(m.SegmentUnitFriction(2, 2), 1.083157, 1.0e-5);
    EXPECT_NEAR(m.SegmentUnitFriction(1, 2), 2.104411, 1.0e-5);
    EXPECT_EQ(run->grid.segStressTop[1], 0.0);  // SI keeps the stress as it is

    // Segment 3, clay 2 to 3 m: sv2 = 30, psi = 2, alpha = 0.5 / 2^0.3 = 0.406126, F_c = 1 in SI
    // whatever the bore: f = 60 alpha = 24.367572, remolded 20 alpha = 8.122524.
    EXPECT_NEAR(m.SegmentUnitFriction(2, 3), 24.367572, 1.0e-5);
    EXPECT_NEAR(m.SegmentRemoldedFriction(2, 3), 8.122524, 1.0e-5);
}

// A value that is not finite would print as asterisks in its numeric field, or as a word.
bool HasNonFinite(const std::string& line) {
    const std::regex word(R"(\b(nan|inf|infinity)\b)", std::regex::icase);
    const bool numeric = line.find_first_of("0123456789") != std::string::npos;
    return (numeric && line.find("**") != std::string::npos) || std::regex_search(line, word);
}

// The NGI table through a whole run of the English case, NGI also the load-transfer method, with a
// sounding that starts at 0 at the ground (q = 0 in the logarithm of the first segment).  Skin
// friction at 10 ft: (0 + 0.331469) x 5 x 0.5 x 3.14159 = 2.6 kips (segment 2 above).
TEST(NgiReport, TableAndPlotRowsWithoutNonFiniteValues) {
    testing::TempDir dir;
    const testing::RunResult r = testing::runCase(dir, EnglishCase().str(), "0 3\n0 0\n5 100000\n100 100000\n");
    ASSERT_EQ(r.status, 0) << r.errors;

    const std::string title = std::string(10, ' ') + "*  NORWEIGIAN GEOTECHNICAL INSTITUTE (NGI) METHOD  *";
    const auto at = std::find(r.report.begin(), r.report.end(), title);
    ASSERT_LT(std::distance(r.report.begin(), at) + 10, static_cast<std::ptrdiff_t>(r.report.size()));
    const std::vector<std::string> rows(at + 6, at + 11);
    EXPECT_EQ(rows[0], "              0.00           0.0           0.0          0.0");
    EXPECT_EQ(rows[2], "             10.00           2.6          28.1         30.8");

    // One method, five rows, English, load transfer by NGI (input number 6).
    const std::vector<std::string> plot = testing::splitLines(r.plot);
    ASSERT_GT(plot.size(), 6u);
    EXPECT_EQ(plot[0], "           1           5           1           6");
    EXPECT_EQ(plot[3], "    10.00       2.6      28.1       30.8      0.331");

    for (const std::string& line : r.report) EXPECT_FALSE(HasNonFinite(line)) << line;
    for (const std::string& line : plot) EXPECT_FALSE(HasNonFinite(line)) << line;
}

}  // namespace
}  // namespace pileaxial
