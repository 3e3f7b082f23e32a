// Capacity tables: the six layouts, row selection and the plot-data rows, line by line.
#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "capacity/plot_file.hpp"
#include "capacity/tables.hpp"
#include "model/grid.hpp"
#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

struct TableFixture {
    std::ostringstream reportText, plotText, consoleText;
    RunEnvironment env;
    std::unique_ptr<Run> run;

    explicit TableFixture(int unitSystem = 1) {
        env.console = &consoleText;
        run = std::make_unique<Run>(env);
        run->report.attach(&reportText);
        run->plot.attach(&plotText);
        run->pile.unitSystem = unitSystem;
        SetUnitLabels(*run);
    }
    std::vector<std::string> report() const { return testing::splitLines(reportText.str()); }
    std::vector<std::string> plot() const { return testing::splitLines(plotText.str()); }
};

TEST(CapacityTables, VariantSelection) {
    PileModel p;
    p.insideDiameter = 23;
    p.tipClosure = 0;
    p.plugOption = 0;
    EXPECT_EQ(SelectTableVariant(p, kFhwa), TableVariant::CP);
    EXPECT_EQ(SelectTableVariant(p, kUserMethod), TableVariant::C);  // never plug columns
    p.batterAngle = 0.1;
    EXPECT_EQ(SelectTableVariant(p, kFhwa), TableVariant::CDP);
    p.plugOption = 1;
    EXPECT_EQ(SelectTableVariant(p, kFhwa), TableVariant::CD);
    p.plugOption = 0;
    p.tipClosure = 1;  // closed-ended: no mark column even with the plug computed
    EXPECT_EQ(SelectTableVariant(p, kFhwa), TableVariant::CD);
    p.tipClosure = 0;
    p.insideDiameter = 0;
    p.batterAngle = 0;
    EXPECT_EQ(SelectTableVariant(p, kFhwa), TableVariant::C);
    p.tensionLoading = 1;
    EXPECT_EQ(SelectTableVariant(p, kFhwa), TableVariant::T);
    p.batterAngle = -0.2;
    EXPECT_EQ(SelectTableVariant(p, kApi), TableVariant::TD);
}

TEST(CapacityTables, BannersAndHeadingsOfEveryLayout) {
    TableFixture t;
    WriteTableHeading(*t.run, kFhwa, TableVariant::C);
    WriteTableHeading(*t.run, kNgi, TableVariant::CP);
    WriteTableHeading(*t.run, kUserMethod, TableVariant::CD);
    WriteTableHeading(*t.run, kUsace, TableVariant::CDP);
    WriteTableHeading(*t.run, kLambda, TableVariant::T);
    WriteTableHeading(*t.run, kUwa, TableVariant::TD);
    const std::vector<std::string> expected = {
        "", "", "",
        sp(28) + "**********************",
        sp(28) + "*  FED. HWY. METHOD  *",
        sp(28) + "**********************",
        "",
        sp(10) + "   PILE       TOTAL SKIN       END       ULTIMATE",
        sp(10) + "PENETRATION   FRICTION       BEARING     CAPACITY",
        sp(14) + "FT." + sp(10) + "KIP" + sp(11) + "KIP" + sp(10) + "KIP",
        "", "", "",
        sp(10) + std::string(52, '*'),
        sp(10) + "*  NORWEIGIAN GEOTECHNICAL INSTITUTE (NGI) METHOD  *",
        sp(10) + std::string(52, '*'),
        "",
        sp(10) + "   PILE       TOTAL SKIN       END       ULTIMATE        PLUG",
        sp(10) + "PENETRATION   FRICTION       BEARING     CAPACITY       LENGTH",
        sp(14) + "FT." + sp(10) + "KIP" + sp(11) + "KIP" + sp(10) + "KIP" + sp(10) + "FT.",
        "", "", "",
        sp(29) + "******************",
        sp(29) + "* GENERAL METHOD *",
        sp(29) + "******************",
        "",
        sp(10) + "PILE LENGTH      DEPTH      TOTAL SKIN       END       ULTIMATE",
        sp(10) + "BELOW GND.    BELOW GND.    FRICTION        BEARING    CAPACITY",
        sp(14) + "FT." + sp(10) + "FT." + sp(10) + "KIP" + sp(11) + "KIP" + sp(10) + "KIP",
        "", "", "",
        sp(28) + "**********************",
        sp(28) + "* ARMY CORPS METHOD  *",
        sp(28) + "**********************",
        "",
        sp(10) + "PILE LENGTH      DEPTH      TOTAL SKIN       END       ULTIMATE        PLUG",
        sp(10) + "BELOW GND.    BELOW GND.    FRICTION       BEARING     CAPACITY       LENGTH",
        sp(14) + "FT." + sp(10) + "FT." + sp(10) + "KIP" + sp(11) + "KIP" + sp(10) + "KIP" + sp(10) + "FT.",
        "", "", "",
        sp(28) + "**********************",
        sp(28) + "*  LAMBDA 2 METHOD   *",
        sp(28) + "**********************",
        "",
        sp(10) + "   PILE       TOTAL SKIN       SELF      ULTIMATE",
        sp(10) + "PENETRATION   FRICTION        WEIGHT     CAPACITY",
        sp(14) + "FT." + sp(10) + "KIP" + sp(11) + "KIP" + sp(10) + "KIP",
        "", "", "",
        sp(13) + std::string(45, '*'),
        sp(13) + "*  UNIV. OF WESTERN AUSTRALIA (UWA) METHOD  *",
        sp(13) + std::string(45, '*'),
        "",
        sp(10) + "PILE LENGTH      DEPTH      TOTAL SKIN       SELF      ULTIMATE",
        sp(10) + "BELOW GND.    BELOW GND.    FRICTION        WEIGHT     CAPACITY",
        sp(14) + "FT." + sp(10) + "FT." + sp(10) + "KIP" + sp(11) + "KIP" + sp(10) + "KIP",
    };
    EXPECT_EQ(t.report(), expected);
}

TEST(CapacityTables, SiLabels) {
    TableFixture t(2);
    WriteTableHeading(*t.run, kApi, TableVariant::CP);
    const std::vector<std::string> lines = t.report();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[4], sp(28) + "*  API RP-2A (2010)  *");
    EXPECT_EQ(lines[9], sp(14) + "M. " + sp(10) + "KN." + sp(11) + "KN." + sp(10) + "KN." + sp(10) + "M. ");
}

TEST(CapacityTables, RowsOfEveryLayoutWithTheirPlotRows) {
    TableFixture t;
    t.run->pile.batterAngle = 0.5235987755982988;  // 30 degrees: depth = 0.8660 x length
    CapacityRow row;
    row.pileLength = 10;
    row.skinFriction = 123.45;
    row.endBearing = 56.78;
    row.ultimateCapacity = 180.23;
    row.plugLength = 7.125;
    row.plugControlsTip = true;
    row.unitSideFriction = 0.4567;
    WriteTableRow(*t.run, TableVariant::C, row);
    WriteTableRow(*t.run, TableVariant::CP, row);
    WriteTableRow(*t.run, TableVariant::CD, row);
    WriteTableRow(*t.run, TableVariant::CDP, row);
    row.plugControlsTip = false;
    WriteTableRow(*t.run, TableVariant::CP, row);
    // Tension: negative (buoyant) self weight keeps its sign inside the field.
    row.endBearing = -12.34;
    row.ultimateCapacity = 111.11;
    WriteTableRow(*t.run, TableVariant::T, row);
    WriteTableRow(*t.run, TableVariant::TD, row);
    // A value too wide for its field is a field of asterisks.
    row.ultimateCapacity = 10000000.0;
    WriteTableRow(*t.run, TableVariant::T, row);

    const std::vector<std::string> expected = {
        sp(13) + "10.00" + sp(9) + "123.5" + sp(10) + "56.8" + sp(8) + "180.2",
        sp(13) + "10.00" + sp(9) + "123.5" + sp(10) + "56.8" + "*" + sp(7) + "180.2" + sp(8) + "7.13",
        sp(13) + "10.00" + sp(9) + "8.66" + sp(9) + "123.5" + sp(10) + "56.8" + sp(8) + "180.2",
        sp(13) + "10.00" + sp(9) + "8.66" + sp(9) + "123.5" + sp(10) + "56.8" + "*" + sp(7) + "180.2" + sp(8) +
            "7.13",
        sp(13) + "10.00" + sp(9) + "123.5" + sp(10) + "56.8" + " " + sp(7) + "180.2" + sp(8) + "7.13",
        sp(13) + "10.00" + sp(9) + "123.5" + sp(9) + "-12.3" + sp(8) + "111.1",
        sp(13) + "10.00" + sp(9) + "8.66" + sp(9) + "123.5" + sp(9) + "-12.3" + sp(8) + "111.1",
        sp(13) + "10.00" + sp(9) + "123.5" + sp(9) + "-12.3" + sp(4) + "*********",
    };
    EXPECT_EQ(t.report(), expected);

    const std::vector<std::string> plot = t.plot();
    ASSERT_EQ(plot.size(), expected.size());
    EXPECT_EQ(plot[0], sp(4) + "10.00" + sp(5) + "123.5" + sp(6) + "56.8" + sp(6) + "180.2" + sp(6) + "0.457");
    EXPECT_EQ(plot[0].size(), 51u);
    EXPECT_EQ(plot[5], sp(4) + "10.00" + sp(5) + "123.5" + sp(5) + "-12.3" + sp(6) + "111.1" + sp(6) + "0.457");
    EXPECT_EQ(plot[7], sp(4) + "10.00" + sp(5) + "123.5" + sp(5) + "-12.3" + sp(2) + "*********" + sp(6) +
                           "0.457");
}

TEST(CapacityTables, PlotHeaderIsFourIntegersOnOneLine) {
    TableFixture t;
    WritePlotHeader(t.run->plot, 3, 17, 1, 4);
    EXPECT_EQ(t.plotText.str(), sp(11) + "3" + sp(10) + "17" + sp(11) + "1" + sp(11) + "4\n");
}

TEST(CapacityTables, RowSelectionAndRowCount) {
    auto printed = [](int nodes, int interval) {
        std::vector<int> ks;
        for (int k = 1; k <= nodes; ++k) {
            if (IsPrintedNode(k, nodes, interval)) ks.push_back(k);
        }
        return ks;
    };
    EXPECT_EQ(printed(10, 5), (std::vector<int>{1, 6, 10}));
    EXPECT_EQ(printed(11, 5), (std::vector<int>{1, 6, 11}));
    EXPECT_EQ(printed(1, 5), (std::vector<int>{1}));     // a pile of one node: one row at length 0
    EXPECT_EQ(printed(3, 10), (std::vector<int>{1, 3}));  // interval beyond the node count
    EXPECT_EQ(printed(4, 1), (std::vector<int>{1, 2, 3, 4}));
    for (int nodes : {1, 2, 3, 10, 11, 12, 41, 501}) {
        // The largest interval an input can hold still gives the first and the last node.
        for (int interval : {1, 2, 5, 10, 600, std::numeric_limits<int>::max()}) {
            EXPECT_EQ(PlotRowCount(nodes, interval), static_cast<int>(printed(nodes, interval).size()))
                << nodes << " nodes, interval " << interval;
        }
    }
}

}  // namespace
}  // namespace pileaxial
