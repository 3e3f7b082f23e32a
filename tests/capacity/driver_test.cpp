// Whole runs through the capacity driver: which tables print, in which layout and order, how many
// rows, and what the plot-data file holds.
#include <gtest/gtest.h>

#include <algorithm>

#include "capacity/tables.hpp"
#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;
using testing::TempDir;

const std::string kFhwaTitle = std::string(28, ' ') + "*  FED. HWY. METHOD  *";
const std::string kUsaceTitle = std::string(28, ' ') + "* ARMY CORPS METHOD  *";
const std::string kLambdaTitle = std::string(28, ' ') + "*  LAMBDA 2 METHOD   *";
const std::string kCurveCountRecord = "           6";

std::vector<std::size_t> positionsOf(const std::vector<std::string>& lines, const std::string& line) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == line) at.push_back(i);
    }
    return at;
}

// Rows of the table whose title line is at `title`: the lines after the three heading lines, up to
// the first empty line.
std::vector<std::string> tableRows(const std::vector<std::string>& report, std::size_t title) {
    std::vector<std::string> rows;
    for (std::size_t i = title + 6; i < report.size() && !report[i].empty(); ++i) rows.push_back(report[i]);
    return rows;
}

testing::RunResult run(const CaseText& c) {
    TempDir dir;
    testing::RunResult r = testing::runCase(dir, c.str());
    EXPECT_EQ(r.status, 0) << r.errors;
    return r;
}

TEST(CapacityDriver, SelectedOnshoreTablesInOrderWithTheirPlotRows) {
    CaseText c;
    c.g5 = "1 1 1 0 0 0 0 0 0";
    const testing::RunResult r = run(c);
    const auto fhwa = positionsOf(r.report, kFhwaTitle);
    const auto usace = positionsOf(r.report, kUsaceTitle);
    const auto lambda = positionsOf(r.report, kLambdaTitle);
    ASSERT_EQ(fhwa.size(), 1u);
    ASSERT_EQ(usace.size(), 1u);
    ASSERT_EQ(lambda.size(), 1u);
    EXPECT_LT(fhwa[0], usace[0]);
    EXPECT_LT(usace[0], lambda[0]);

    // 40 ft in 1 ft increments: 41 nodes; every fifth from the head and the tip: 9 rows.
    const std::vector<std::string> plot = testing::splitLines(r.plot);
    // The load-transfer records follow the capacity rows, opening with the count of printed t-z curves
    // (three for each of the two soil intervals).
    ASSERT_GT(plot.size(), 1u + 3 * 9);
    EXPECT_EQ(plot[0], "           3           9           1           1");
    EXPECT_EQ(plot[1 + 3 * 9], kCurveCountRecord);
    for (std::size_t t : {fhwa[0], usace[0], lambda[0]}) {
        const std::vector<std::string> rows = tableRows(r.report, t);
        ASSERT_EQ(rows.size(), 9u);
        EXPECT_EQ(rows.front().substr(0, 18), "              0.00");
        EXPECT_EQ(rows.back().substr(0, 18), "             40.00");
    }
    // Each plot row repeats its report row's length, skin friction, end bearing and capacity.
    const std::vector<std::string> usaceRows = tableRows(r.report, usace[0]);
    for (std::size_t i = 0; i < 9; ++i) {
        const std::string& row = usaceRows[i];
        const std::string& p = plot[1 + 9 + i];
        EXPECT_EQ(p.substr(2, 7), row.substr(11, 7));    // pile length
        EXPECT_EQ(p.substr(11, 8), row.substr(24, 8));   // skin friction
        EXPECT_EQ(p.substr(21, 8), row.substr(38, 8));   // end bearing
        EXPECT_EQ(p.substr(31, 9), row.substr(50, 9));   // ultimate capacity
    }
}

TEST(CapacityDriver, NoMethodSelectedPrintsNoTable) {
    CaseText c;
    c.g5 = "0 0 0 0 0 0 0 0 0";
    const testing::RunResult r = run(c);
    EXPECT_TRUE(positionsOf(r.report, kFhwaTitle).empty());
    const std::vector<std::string> plot = testing::splitLines(r.plot);
    ASSERT_GE(plot.size(), 2u);
    EXPECT_EQ(plot[0], "           0           9           1           1");
    EXPECT_EQ(plot[1], kCurveCountRecord);
}

TEST(CapacityDriver, ShortPileAndLongPrintInterval) {
    // Embedded 0.5 ft with 1 ft increments: one node, one row at length 0.
    CaseText c;
    c.g2 = "0 0 24 23 29000000 0.5 0";
    testing::RunResult r = run(c);
    auto fhwa = positionsOf(r.report, kFhwaTitle);
    ASSERT_EQ(fhwa.size(), 1u);
    std::vector<std::string> rows = tableRows(r.report, fhwa[0]);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].substr(0, 18), "              0.00");
    EXPECT_EQ(testing::splitLines(r.plot).at(2), kCurveCountRecord);

    // A print interval beyond the node count: the head and the tip.
    c = CaseText();
    c.g1 = "1 100 4 0";
    r = run(c);
    fhwa = positionsOf(r.report, kFhwaTitle);
    rows = tableRows(r.report, fhwa[0]);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].substr(0, 18), "             40.00");
}

TEST(CapacityDriver, LayoutFollowsTipClosurePlugOptionBatterAndLoading) {
    const std::string plugHeading = std::string(10, ' ') +
                                    "   PILE       TOTAL SKIN       END       ULTIMATE        PLUG";
    const std::string plainHeading = std::string(10, ' ') + "   PILE       TOTAL SKIN       END       ULTIMATE";
    const std::string depthPlugHeading =
        std::string(10, ' ') + "PILE LENGTH      DEPTH      TOTAL SKIN       END       ULTIMATE        PLUG";
    const std::string tensionHeading = std::string(10, ' ') + "   PILE       TOTAL SKIN       SELF      ULTIMATE";

    CaseText c;  // open pipe, plug computed
    EXPECT_EQ(positionsOf(run(c).report, plugHeading).size(), 1u);

    for (const char* plug : {"0 1 0", "0 2 0"}) {  // plugged or unplugged: plain columns
        c = CaseText();
        c.tail = std::string("0\n0 1.0\n") + plug + "\n0 0\n0 0\n0\n0\n0\n";
        const testing::RunResult r = run(c);
        EXPECT_EQ(positionsOf(r.report, plainHeading).size(), 1u) << plug;
        const auto rows = tableRows(r.report, positionsOf(r.report, kFhwaTitle)[0]);
        for (const std::string& row : rows) EXPECT_EQ(row.size(), 59u) << row;
    }

    c = CaseText();
    c.g1 = "1 5 4 1";  // closed-ended
    EXPECT_EQ(positionsOf(run(c).report, plainHeading).size(), 1u);

    c = CaseText();
    c.g3 = "0 0 10";  // battered 10 degrees: depth column
    testing::RunResult r = run(c);
    ASSERT_EQ(positionsOf(r.report, depthPlugHeading).size(), 1u);
    const auto rows = tableRows(r.report, positionsOf(r.report, kFhwaTitle)[0]);
    EXPECT_EQ(rows.back().substr(0, 31), "             40.00        39.39");  // 40 cos 10

    c = CaseText();
    c.tail = "0\n1 1.0\n0 0 0\n0 0\n0 0\n0\n0\n0\n";  // tension
    EXPECT_EQ(positionsOf(run(c).report, tensionHeading).size(), 1u);
}

TEST(CapacityDriver, BuoyantClosedPipeInTensionShowsNegativeSelfWeight) {
    // A closed 24 in pipe with 36 in^2 of steel below a water table at the surface weighs less than
    // the water it displaces.
    CaseText c;
    c.g1 = "1 5 4 1";
    c.g6 = "50 36";
    c.points[0].first = "0 1 1 60 30 40";
    c.points[1].first = "20 1 1 60 32 40";
    c.tail = "0\n1 1.0\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
    const testing::RunResult r = run(c);
    const auto rows = tableRows(r.report, positionsOf(r.report, kFhwaTitle)[0]);
    ASSERT_EQ(rows.size(), 9u);
    // Self weight column: 6 blanks after the skin friction field.
    const std::string selfWeight = rows.back().substr(38, 8);
    EXPECT_NE(selfWeight.find('-'), std::string::npos) << rows.back();
}

}  // namespace
}  // namespace pileaxial
