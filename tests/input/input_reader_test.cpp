// The input data file and the CPT data file: what is stored after the adjustments made while reading.
#include <gtest/gtest.h>

#include <sstream>

#include "input/input_reader.hpp"
#include "tests/test_support.hpp"
#include "textio/input_error.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;

Model read(const std::string& text) {
    Model m;
    std::istringstream in(text);
    ReadInputFile(m, in, "case.in");
    return m;
}

TEST(InputReader, GeneralRecordsAndPileAdjustments) {
    CaseText c;
    c.t1 = std::string(80, 'T');
    c.g2 = "0 144 24 23 29000000 40 2";
    Model m = read(c.str());
    EXPECT_EQ(m.title, std::string(72, 'T'));
    EXPECT_EQ(m.pile.unitSystem, 1);
    EXPECT_EQ(m.pile.printInterval, 5);
    EXPECT_EQ(m.soil.count, 4);
    EXPECT_DOUBLE_EQ(m.pile.crossSectionArea, 1.0);  // 144 in^2 is 1 ft^2
    EXPECT_DOUBLE_EQ(m.pile.crossSectionAreaAsRead, 144.0);
    EXPECT_EQ(m.pile.outsideDiameter, 24.0);
    EXPECT_EQ(m.pile.insideDiameter, 23.0);
    // No enhanced end section: the whole pile, with the plain inside diameter.
    EXPECT_EQ(m.pile.enhancedEndLength, 40.0 - 1.0000000116860974e-07);
    EXPECT_EQ(m.pile.enhancedEndDiameter, 23.0);
    EXPECT_EQ(m.pile.lengthIncrement, 1.0);
    EXPECT_EQ(m.pile.methodSelected[1], 1);
    EXPECT_EQ(m.pile.methodSelected[2], 0);

    // A non-circular section becomes the circle of the same perimeter.
    c.g2 = "12.5664 0 99 20 29000000 40 2";
    c.g3 = "5 2 0";
    m = read(c.str());
    EXPECT_EQ(m.pile.outsideDiameter, 12.5664 / 3.1415998935699463);
    EXPECT_EQ(m.pile.outsideDiameterAsRead, 99.0);
    EXPECT_EQ(m.pile.insideDiameter, 0.0);
    // A given enhanced end stays as given.
    EXPECT_EQ(m.pile.enhancedEndLength, 5.0);
    EXPECT_EQ(m.pile.enhancedEndDiameter, 2.0);
}

TEST(InputReader, SoilPointConversionsEnglish) {
    CaseText c;
    c.points = {{"0 1 1 115 30 40", "0 0.5 0 25 7 12 3000 500 8000 0.9 0.8 2 0.1 0.9"},
                {"10 2 1 56 0 9", "2000 40000 1500 700 3 30 60000 400 9000 1 1 3 0.2 0.8"},
                {"10 2 1 50 0 9", "0 0 0 0 0 0 0 0 0 1 1 0 0 0"},
                {"60 2 1 50 0 9", "0 0 0 0 0 0 0 0 0 1 1 0 0 0"}};
    Model m = read(c.str());
    const SoilLayer& sand = m.soil.point[1];
    // In sand the fourth strength value is the blow count.
    EXPECT_EQ(sand.blowCount, 25.0);
    EXPECT_EQ(sand.remoldedShearStrength, 0.0);
    // A limit of 0 means none: replaced and flagged; 0.5 psf is a (small) limit.
    EXPECT_EQ(sand.maxUnitFriction, 9999999.0);
    EXPECT_TRUE(m.soil.frictionDefault[1]);
    EXPECT_DOUBLE_EQ(sand.maxUnitBearing, 0.0005);
    EXPECT_FALSE(m.soil.bearingDefault[1]);
    // The plasticity index, the cone resistance (psf) and the user values are kept as read.
    EXPECT_EQ(sand.plasticityIndex, 12.0);
    EXPECT_EQ(sand.coneResistance, 3000.0);
    EXPECT_EQ(sand.userUnitFriction, 500.0);
    EXPECT_EQ(sand.userUnitBearing, 8000.0);
    EXPECT_EQ(sand.tipOrCaseValue, 2.0);  // unchanged in English
    EXPECT_EQ(sand.peakMovement, 0.1);

    const SoilLayer& clay = m.soil.point[2];
    EXPECT_DOUBLE_EQ(clay.maxUnitFriction, 2.0);
    EXPECT_DOUBLE_EQ(clay.maxUnitBearing, 40.0);
    EXPECT_DOUBLE_EQ(clay.undrainedShearStrength, 1.5);
    EXPECT_DOUBLE_EQ(clay.remoldedShearStrength, 0.7);
    EXPECT_EQ(clay.blowCount, 3.0);
    // The water table is at the first point with a submerged unit weight (below 75 pcf).
    EXPECT_EQ(m.soil.waterTableDepth, 10.0);
}

TEST(InputReader, SoilPointConversionsSi) {
    CaseText c;
    c.g1 = "2 5 2 0";
    c.g2 = "0 0 600 580 200000000 20 0";
    c.points = {{"0 2 1 18 0 9", "0 0 50 25 2 30 1200 10 500 1 1 2500 5 0.9"},
                {"30 2 1 18 0 9", "0 0 90 45 2 30 2000 10 500 1 1 0 0 0"}};
    Model m = read(c.str());
    const SoilLayer& p = m.soil.point[1];
    EXPECT_EQ(p.undrainedShearStrength, 50.0);
    EXPECT_EQ(p.plasticityIndex, 30.0);
    EXPECT_EQ(p.coneResistance, 1200.0);
    EXPECT_DOUBLE_EQ(p.tipOrCaseValue, 2.5);
    EXPECT_EQ(p.tipOrCaseValueAsRead, 2500.0);
    EXPECT_DOUBLE_EQ(p.peakMovement, 0.005);
    // No unit weight below 12 kN/m^3: no water table.
    EXPECT_EQ(m.soil.waterTableDepth, 99999.0);
}

TEST(InputReader, OptionalBlocks) {
    CaseText c;
    // Verification depths, tension, plug option, three area rows, user critical depth, a t-z table of
    // three rows, four tip movements and the tip-curve factors.
    c.tail = "1\n2\n10.5\n20\n"
             "1 0.7\n1 2 1\n3 2\n0 1\n10 1.5\n40 2\n2 33.5\n"
             "1\n3\n0 1 1\n20 0.9 1.1\n40 0.8 1.2\n"
             "1\n4\n0.1\n0.2\n0.5\n1\n"
             "1\n1.5 0.75\n";
    Model m = read(c.str());
    EXPECT_EQ(m.settlement.verificationCount, 2);
    EXPECT_EQ(m.settlement.verificationDepth[2], 20.0);
    EXPECT_EQ(m.pile.tensionLoading, 1);
    EXPECT_EQ(m.pile.tensionReductionFactor, 0.7);
    EXPECT_EQ(m.pile.plugOption, 2);
    EXPECT_EQ(m.pile.longPileOption, 1);
    EXPECT_EQ(m.pile.areaCount, 3);
    EXPECT_EQ(m.pile.areaMode, 2);
    EXPECT_EQ(m.pile.areaValue[3], 2.0);
    EXPECT_EQ(m.pile.criticalDepthOption, 2);
    EXPECT_EQ(m.pile.userCriticalDepth, 33.5);
    EXPECT_EQ(m.settlement.tzRowCount, 3);
    EXPECT_EQ(m.settlement.tzMultiplierZ[3], 1.2);
    EXPECT_EQ(m.settlement.tipMovementCount, 4);
    EXPECT_EQ(m.settlement.tipMovement[4], 1.0);
    EXPECT_EQ(m.settlement.tipLoadFactor, 1.5);
    EXPECT_EQ(m.settlement.tipMovementFactor, 0.75);

    // A t-z table of one row reads no rows: the row's line is taken as the next record.
    c.tail = "0\n0 1\n0 0 0\n0 0\n0 0\n1\n1\n0\n0\n";
    m = read(c.str());
    EXPECT_EQ(m.settlement.tzRowCount, 1);
    EXPECT_EQ(m.settlement.settlementListSwitch, 0);
}

TEST(InputReader, ListDirectedFormsInRecords) {
    CaseText c;
    c.g2 = "0,0,24,23,\n29000000 40 0";      // commas, continued on the next line
    c.g5 = "1 3*0 0 4*0";                    // repeat counts
    c.g6 = "50 / anything after a slash";    // slash leaves the uniform area at 0
    Model m = read(c.str());
    EXPECT_EQ(m.pile.elasticModulus, 29000000.0);
    EXPECT_EQ(m.pile.totalLength, 40.0);
    EXPECT_EQ(m.pile.methodSelected[1], 1);
    EXPECT_EQ(m.pile.methodSelected[9], 0);
    EXPECT_EQ(m.pile.deepestSoilDepth, 50.0);
    EXPECT_EQ(m.pile.uniformArea, 0.0);
}

TEST(InputReader, CapacitiesAreRefusedBeforeStoring) {
    CaseText c;
    c.g1 = "1 5 81 0";
    try {
        read(c.str());
        FAIL() << "81 soil points accepted";
    } catch (const InputError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("case.in, line 4, record G1, field 3 (number of soil data points)"),
                  std::string::npos)
            << message;
    }
    c.g1 = "1 5 0 0";
    EXPECT_THROW(read(c.str()), InputError);
    c = CaseText();
    c.tail = "0\n0 1\n0 0 0\n0 0\n0 0\n1\n101\n";
    EXPECT_THROW(read(c.str()), InputError);
    c.tail = "0\n0 1\n0 0 0\n0 0\n0 0\n0\n1\n92\n";
    EXPECT_THROW(read(c.str()), InputError);
    c.tail = "0\n0 1\n0 0 0\n-1 0\n";
    EXPECT_THROW(read(c.str()), InputError);
}

TEST(InputReader, ValuesThatMeanNotGivenOrOffStayValid) {
    // A negative plasticity index is "no data", a blow count of 0 or less "not given"; the switches
    // documented as "1 on, anything else off" and an area mode above 2 keep their meaning.
    CaseText c;
    c.g4 = "0 1 1 0 1 0 5";
    c.points[0].second = "0 0 0 -3 0 -1 0 0 0 1 1 0 0 0";
    c.points[3].second = "0 0 2000 900 -2 -1 0 0 0 1 1 0 0 0";
    c.tail = "2\n2 0\n7 0 0\n0 3\n0 0\n2\n2\n2\n";
    const Model m = read(c.str());
    EXPECT_EQ(m.soil.point[1].blowCount, -3.0);
    EXPECT_EQ(m.soil.point[4].blowCount, -2.0);
    EXPECT_EQ(m.pile.tensionLoading, 2);
    EXPECT_EQ(m.pile.areaMode, 3);
}

TEST(CptReader, PointsAndLimits) {
    Model m;
    std::istringstream in("7 3\n0 1000\n1.5, 2000\n3 2500 extra\n");
    ReadCptFile(m, in, "case.cpt");
    EXPECT_EQ(m.cpt.cptPointCount, 3);
    EXPECT_EQ(m.cpt.cptDepth[2], 1.5);
    EXPECT_EQ(m.cpt.cptValue[3], 2500.0);

    Model empty;
    std::istringstream none("0 0\n");
    ReadCptFile(empty, none, "case.cpt");
    EXPECT_EQ(empty.cpt.cptPointCount, 0);

    Model big;
    std::istringstream tooMany("0 1001\n");
    EXPECT_THROW(ReadCptFile(big, tooMany, "case.cpt"), InputError);
    EXPECT_EQ(big.cpt.cptPointCount, 0);
}

}  // namespace
}  // namespace pileaxial
