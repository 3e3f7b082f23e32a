// Input echo and soil-extent checks.  Every expected line below was written out by hand from the
// report layout, one field per string piece, so a drifting column shows up as a failing line.
#include "input/echo.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using Lines = std::vector<std::string>;

Lines SplitLines(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

RunEnvironment ConsoleOnly(std::ostream& console) {
    RunEnvironment env;
    env.console = &console;
    return env;
}

// `count` lines starting at the first line equal to `first` (empty when there is no such line).
Lines Block(const Lines& lines, const std::string& first, std::size_t count) {
    const auto it = std::find(lines.begin(), lines.end(), first);
    if (it == lines.end()) return {};
    const std::size_t start = static_cast<std::size_t>(it - lines.begin());
    const std::size_t end = std::min(lines.size(), start + count);
    return Lines(lines.begin() + static_cast<std::ptrdiff_t>(start), lines.begin() + static_cast<std::ptrdiff_t>(end));
}

bool Contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

void SetEnglishLabels(Model& m) {
    m.labels = {"FT.", "IN.", "KIP", "KSF", "LB/FT^3", "IN2", "PSI"};
}

void SetSiLabels(Model& m) {
    m.labels = {"M. ", "MM.", "KN.", "KPA", "KN/M^3 ", "M2 ", "KPA"};
}

void SetPoint(SoilProfile& soil, int v, double depth, double type, double k, double gamma, double phi,
              double nq) {
    SoilLayer& p = soil.point[v];
    p.depth = depth;
    p.soilType = type;
    p.earthPressureCoeff = k;
    p.effectiveUnitWeight = gamma;
    p.frictionAngle = phi;
    p.bearingFactor = nq;
}

// The plasticity index, the cone resistance and the user unit values as read (psf in English units).
void SetStrength(SoilProfile& soil, int v, double maxFriction, double maxBearing, double su, double sr,
                 double blows, double pi, double cone, double userFriction, double userBearing) {
    SoilLayer& p = soil.point[v];
    p.maxUnitFriction = maxFriction;
    p.maxUnitBearing = maxBearing;
    p.undrainedShearStrength = su;
    p.remoldedShearStrength = sr;
    p.blowCount = blows;
    p.plasticityIndex = pi;
    p.coneResistance = cone;
    p.userUnitFriction = userFriction;
    p.userUnitBearing = userBearing;
}

// Open-ended steel pipe, English units, as the reader leaves it (limits and strengths in ksf) and
// after the batter conversion.  CPT switch on.
void SetEnglishCase(Model& m) {
    m.title = "ENGLISH TEST PILE";
    m.designer = "A. ENGINEER";
    m.jobNumber = "J-101";
    SetEnglishLabels(m);

    PileModel& p = m.pile;
    p.unitSystem = 1;
    p.printInterval = 1;
    p.soilPointCount = 4;
    p.tipClosure = 0;
    p.pileType = 1;
    p.perimeter = 0;
    p.outsideDiameter = p.outsideDiameterAsRead = 24;
    p.insideDiameter = 23;
    p.elasticModulus = 29000000;
    p.totalLength = p.totalLengthAsRead = 60;
    p.stickupLength = 5;
    p.embeddedLength = 55;
    p.enhancedEndLength = 10;
    p.enhancedEndDiameter = 22;
    p.batterAngle = p.batterAngleAsRead = 0;
    p.zeroFrictionLength = 2;
    p.lengthIncrement = 1;
    p.taperAngle = 0;
    p.loadTransferMethod = 4;
    p.cptDataSwitch = 1;
    p.reducedSideFriction = 0;
    for (int k = 1; k <= 9; ++k) p.methodSelected[k] = 0;
    p.methodSelected[1] = p.methodSelected[2] = p.methodSelected[4] = 1;
    p.deepestSoilDepth = 80;
    p.tensionLoading = 0;
    p.plugOption = 0;
    p.longPileOption = 1;
    p.areaMode = 0;
    p.criticalDepthOption = 0;

    SoilProfile& s = m.soil;
    s.count = 4;
    SetPoint(s, 1, 0, 1, 1.0, 120, 32, 30);
    SetPoint(s, 2, 20, 1, 1.0, 120, 34, 40);
    SetPoint(s, 3, 20, 2, 0.8, 57.6, 0, 9);
    SetPoint(s, 4, 80, 2, 0.8, 57.6, 0, 9);
    SetStrength(s, 1, 2.0, 200, 0, 0, 20, 0, 100000, 500, 50000);
    SetStrength(s, 2, 2.0, 200, 0, 0, 30, 0, 150000, 1250, 60000);
    SetStrength(s, 3, 1.5, 100, 1.2, 0.6, 8, 25, 24000, 1200, 10800);
    SetStrength(s, 4, 1.5, 100, 2.4, 1.2, 12, 30, 48000, 2400, 21600);
    for (int v = 1; v <= 4; ++v) {
        s.point[v].lrfdFriction = v <= 2 ? 0.45 : 0.35;
        s.point[v].lrfdBearing = v <= 2 ? 0.40 : 0.35;
    }
}

// Square precast concrete pile in SI units with an area table, tension, assumed and estimated soil
// values and limits the user left open.  CPT switch off.
void SetSiCase(Model& m) {
    m.title = "SI CASE";
    m.designer = "";
    m.jobNumber = "2024-07";
    SetSiLabels(m);

    PileModel& p = m.pile;
    p.unitSystem = 2;
    p.soilPointCount = 5;
    p.tipClosure = 1;
    p.pileType = 3;
    p.perimeter = 1600;
    p.crossSectionArea = p.crossSectionAreaAsRead = 0.16;
    p.outsideDiameterAsRead = 0;
    p.outsideDiameter = 1600 / kPerimeterPi;
    p.insideDiameter = 0;
    p.elasticModulus = 30000000;
    p.totalLength = p.totalLengthAsRead = 20;
    p.stickupLength = 1;
    p.embeddedLength = 19;
    p.enhancedEndLength = 20 - 1.0e-7;
    p.enhancedEndDiameter = 0;
    p.batterAngleAsRead = 5;
    p.batterAngle = 5 * kSinglePi / 180;
    p.zeroFrictionLength = 0;
    p.lengthIncrement = 0.5;
    p.loadTransferMethod = 9;
    p.cptDataSwitch = 0;
    p.reducedSideFriction = 1;
    for (int k = 1; k <= 9; ++k) p.methodSelected[k] = k >= 3 ? 1 : 0;
    p.deepestSoilDepth = 50;
    p.tensionLoading = 1;
    p.tensionReductionFactor = 0.7;
    p.clayDrained = 1;
    p.plugOption = 1;
    p.longPileOption = 0;
    p.areaCount = 2;
    p.areaMode = 2;
    p.areaDistance[1] = 0;
    p.areaValue[1] = 0.16;
    p.areaDistance[2] = 19;
    p.areaValue[2] = 0.25;
    p.criticalDepthOption = 2;
    p.userCriticalDepth = 12.5;

    SoilProfile& s = m.soil;
    s.count = 5;
    SetPoint(s, 1, 0, 2, 0.0, 8, 0, 9);
    SetPoint(s, 2, 10, 1, 1.0, 10, 35, 0);
    SetPoint(s, 3, 30, 5, 1.0, 10, 30, 20);
    SetPoint(s, 4, 40, 1, 1.0, 10, 28, 0);
    SetPoint(s, 5, 50, 3, 1.0, 9, 45, 0);
    SetStrength(s, 1, kNoLimit, kNoLimit, 50, 25, 0, 20, 1500, 30, 0);
    SetStrength(s, 2, 100, 10000, 0, 0, 25, 0, 12000, 45, 2400);
    SetStrength(s, 3, 100, kNoLimit, 0, 0, 30, 0, 15000, 45, 3000);
    SetStrength(s, 4, 120, 12000, 0, 0, 35, 0, 18000, 60, 3600);
    SetStrength(s, 5, 80, 8000, 40, 20, 10, 15, 2000, 25, 500);
    s.frictionDefault[1] = true;
    s.bearingDefault[1] = true;
    s.bearingDefault[3] = true;
    for (int v = 1; v <= 5; ++v) {
        s.point[v].lrfdFriction = v == 1 ? 0.5 : 0.6;
        s.point[v].lrfdBearing = 0.5;
    }
}

class EchoTest : public ::testing::Test {
protected:
    EchoTest() : run(ConsoleOnly(console)) { run.report.attach(&report); }

    Lines Echo() {
        WriteInputEcho(run);
        return SplitLines(report.str());
    }

    std::ostringstream console;
    std::ostringstream report;
    pileaxial::Run run;
};

const std::string kBlank63(63, ' ');

TEST_F(EchoTest, EnglishSteelPipeWholeEcho) {
    SetEnglishCase(run);
    const Lines lines = Echo();

    const Lines expected = {
        "", "", "",
        "1",
        "          *********************",
        "          * INPUT INFORMATION *",
        "          *********************",
        "", "", "",
        "          ENGLISH TEST PILE" + std::string(53, ' '),
        "",
        "          DESIGNER   : A. ENGINEER" + std::string(49, ' '),
        "",
        "          JOB NUMBER : J-101" + std::string(55, ' '),
        "", "",
        "          METHOD FOR UNIT LOAD TRANSFERS : ",
        "",
        "          - API RP 2A (American Petroleum Institute)",
        "            Unfactored Unit Side Friction and Unit Side Resistance are used.",
        "", "", "",
        "          COMPUTATION METHOD(S) FOR PILE CAPACITY : ",
        "",
        "          - FHWA (Federal Highway Administration)",
        "          - USACE (U.S. Army Corps of Engineers)",
        "            # Critical Depth Method for Sand:",
        "              10 to 20 Pile Diameter based on the Density",
        "            Use Long Pile Option",
        "          - API RP 2A (American Petroleum Institute)",
        "", "",
        "          TYPE OF LOADING : ",
        "          - COMPRESSION  ",
        "", "",
        "          PILE TYPE : ",
        "",
        "          Steel pipe pile or non-tapered portion of monotube pile",
        "          - Open-Ended Pile",
        "", "",
        "          DATA FOR AXIAL STIFFNESS : ",
        "",
        "          - MODULUS OF ELASTICITY     =" " 0.290E+08" " " "PSI",
        "          - CROSS SECTION AREA        =" "     36.91" " " "IN2",
        "", "",
        "          CIRCULAR PILE PROPERTIES : ",
        "",
        "          - OUTSIDE DIAMETER, OD      =" "     24.00" " IN.",
        "          - INTERNAL DIAMETER, ID     =" "     23.00" " IN.",
        "          - TOTAL PILE LENGTH, TL     =" "     60.00" " FT.",
        "          - BATTER ANGLE              =" "      0.00" " DEG",
        "          - PILE STICKUP LENGTH, PSL  =" "      5.00" " FT.",
        "          - ZERO FRICTION LENGTH, ZFL =" "      2.00" " FT.",
        "          - INCREMENT OF PILE LENGTH",
        "            USED IN COMPUTATION       =" "      1.00" " FT.",
        "          - LENGTH OF ENHANCED ",
        "            END SECTION               =" "     10.00" " FT.",
        "          - INTERNAL DIAMETER OF ",
        "            ENHANCED END SECTION      =" "     22.00" " IN.",
        "", "",
        "          PLUGGED/UNPLUGGED CONDITIONS : ",
        "          Internal Pile Plug Calculated by Program",
        // soil table
        "", "", "",
        "          SOIL INFORMATIONS :",
        "",
        kBlank63,
        "",
        "                            LATERAL    EFFECTIVE    FRICTION   BEARING",
        "                    SOIL    EARTH      UNIT         ANGLE      CAPACITY",
        "           DEPTH    TYPE    PRESSURE   WEIGHT       DEGREES    FACTOR",
        "            " "FT." "                        " "LB/FT^3",
        "          " "   0.00" "   " "SAND" "      1.00" "       120.00" "        32.00" "     30.00",
        "          " "  20.00" "   " "SAND" "      1.00" "       120.00" "        34.00" "     40.00",
        "          " "  20.00" "   " "CLAY" "      0.80" "        57.60" "         0.00" "      9.00",
        "          " "  80.00" "   " "CLAY" "      0.80" "        57.60" "         0.00" "      9.00",
        // strength table: the last two columns show the user values in ksf
        "", "", "",
        "          MAXIMUM   MAXIMUM   UNDISTURB  REMOLDED ",
        "          UNIT      UNIT      SHEAR      SHEAR     BLOW   UNIT SKIN  UNIT END",
        "          FRICTION  BEARING   STRENGTH   STRENGTH  COUNT  FRICTION   BEARING",
        "            " "KSF" "       " "KSF" "        " "KSF" "       " "KSF" "               " "KSF" "       " "KSF",
        "         " " 0.20E+01" " " " 0.20E+03" " " "       0.00" "      0.00" "  20.00" "       0.50" "     50.00",
        "         " " 0.20E+01" " " " 0.20E+03" " " "       0.00" "      0.00" "  30.00" "       1.25" "     60.00",
        "         " " 0.15E+01" " " " 0.10E+03" " " "       1.20" "      0.60" "   8.00" "       1.20" "     10.80",
        "         " " 0.15E+01" " " " 0.10E+03" " " "       2.40" "      1.20" "  12.00" "       2.40" "     21.60",
        // LRFD table
        "", "", "",
        "                   LRFD FACTOR  LRFD FACTOR    ",
        "                    ON UNIT      ON UNIT       ",
        "           DEPTH    FRICTION     BEARING   ",
        "            FT.",
        "          " "   0.00" " " "   0.450" "    " "   0.400",
        "          " "  20.00" " " "   0.450" "    " "   0.400",
        "          " "  20.00" " " "   0.350" "    " "   0.350",
        "          " "  80.00" " " "   0.350" "    " "   0.350",
        // CPT table: the values as read, the cone resistance from psf to ksf
        "", "",
        kBlank63,
        "",
        "                  PLASTIC    YIELD      Qc                             ",
        "                   INDEX    STRESS     FROM                            ",
        "           DEPTH     PI      RATIO     CPT                             ",
        "            " "FT." "      " "%" "                 " "KSF",
        "          " "   0.00" " " "  0.00" "   " " 20.00" "   " " 0.100E+03",
        "          " "  20.00" " " "  0.00" "   " " 30.00" "   " " 0.150E+03",
        "          " "  20.00" " " " 25.00" "   " "  8.00" "   " " 0.240E+02",
        "          " "  80.00" " " " 30.00" "   " " 12.00" "   " " 0.480E+02",
        // banner
        "", "", "",
        "1",
        "          **********************",
        "          * COMPUTATION RESULT *",
        "          **********************",
    };
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(lines[k], expected[k]) << "report line " << k + 1;

    EXPECT_EQ(SplitLines(console.str()), (Lines{"", "", "         COMPUTATION IS PROCEEDING........"}));

    // The echo leaves the points as read.
    EXPECT_EQ(run.soil.point[3].plasticityIndex, 25.0);
    EXPECT_EQ(run.soil.point[3].coneResistance, 24000.0);
    EXPECT_EQ(run.soil.point[3].userUnitBearing, 10800.0);
    EXPECT_EQ(run.status, kStatusCompleted);
}

TEST_F(EchoTest, SiSquareConcreteWholeEcho) {
    SetSiCase(run);
    const Lines lines = Echo();

    const Lines expected = {
        "", "", "",
        "1",
        "          *********************",
        "          * INPUT INFORMATION *",
        "          *********************",
        "", "", "",
        "          SI CASE" + std::string(63, ' '),
        "",
        "          DESIGNER   : " + std::string(60, ' '),
        "",
        "          JOB NUMBER : 2024-07" + std::string(53, ' '),
        "", "",
        "          METHOD FOR UNIT LOAD TRANSFERS : ",
        "",
        "          - UWA (University of Western Australia)",
        "            Reduced Unit Side Friction and Unit Side Resistance are used.",
        "", "", "",
        "          COMPUTATION METHOD(S) FOR PILE CAPACITY : ",
        "",
        "          - Revised Lambda",
        "          - API RP 2A (American Petroleum Institute)",
        "          - Load-transfer Units specified by User",
        "          - NGI (Norwegian Geotechnical Institute)",
        "          - ICP/MTD (Imperial College of London)",
        "            # Use Drained Condition for Clay",
        "          - FUGRO (Offshore Driven Piles in Sand)",
        "          - UWA (University of Western Australia)",
        "", "",
        "          TYPE OF LOADING : ",
        "          - TENSION  ",
        "            REDUCTION FACTOR FOR TENSION LOADING =" "      0.70",
        "", "",
        "          PILE TYPE : ",
        "",
        "          Precast concrete pile (Square/Rectangular/Orthogonal)",
        "", "",
        "          DATA FOR AXIAL STIFFNESS : ",
        "",
        "          - MODULUS OF ELASTICITY     =" " 0.300E+08" " " "KPA",
        "          - CROSS SECTION AREA ALONG PILE LENGTH",
        "          " " DIST.," "M. " "          " " AREA," "M2 ",
        "          " "      0.00" "          " "      0.16",
        "          " "     19.00" "          " "      0.25",
        "", "",
        "          NONCIRCULAR PILE PROPERTIES : ",
        "",
        "          - TOTAL PILE LENGTH, TL     =" "     20.00" " M. ",
        "          - BATTER ANGLE              =" "      5.00" " DEG",
        "          - PILE STICKUP LENGTH, PSL  =" "      1.00" " M. ",
        "          - ZERO FRICTION LENGTH, ZFL =" "      0.00" " M. ",
        "          - PERIMETER OF PILE         =" "   1600.00" " MM.",
        "          - TIP AREA OF PILE          =" "      0.16" " M2 ",
        "          - INCREMENT OF PILE LENGTH",
        "            USED IN COMPUTATION       =" "      0.50" " M. ",
        // soil table: an assumed earth pressure, estimated bearing factors, an unknown type
        "", "", "",
        "          SOIL INFORMATIONS :",
        "",
        kBlank63,
        "",
        "                            LATERAL    EFFECTIVE    FRICTION   BEARING",
        "                    SOIL    EARTH      UNIT         ANGLE      CAPACITY",
        "           DEPTH    TYPE    PRESSURE   WEIGHT       DEGREES    FACTOR",
        "            " "M. " "                        " "KN/M^3 ",
        "          " "   0.00" "   " "CLAY" "      0.80" "* " "       8.00" "         0.00" "      9.00" "  ",
        "          " "  10.00" "   " "SAND" "      1.00" "  " "      10.00" "        35.00" "     40.00" "**",
        "          " "  30.00" "   " "SAND" "      1.00" "        10.00" "        30.00" "     20.00",
        "          " "  40.00" "   " "SAND" "      1.00" "  " "      10.00" "        28.00" "     16.80" "**",
        "          " "  50.00" "   " "SILT" "      1.00" "  " "       9.00" "        45.00" "     50.00" "**",
        "",
        "          *  VALUE ASSUMED BY THE PROGRAM ",
        "          ** VALUE ESTIMATED BY THE PROGRAM BASED ON FRICTION ANGLE",
        // strength table
        "", "", "",
        "          MAXIMUM   MAXIMUM   UNDISTURB  REMOLDED ",
        "          UNIT      UNIT      SHEAR      SHEAR     BLOW   UNIT SKIN  UNIT END",
        "          FRICTION  BEARING   STRENGTH   STRENGTH  COUNT  FRICTION   BEARING",
        "            " "KPA" "       " "KPA" "        " "KPA" "       " "KPA" "               " "KPA" "       " "KPA",
        "         " " 0.10E+08" "*" " 0.10E+08" "*" "      50.00" "     25.00" "   0.00" "      30.00" "      0.00",
        "         " " 0.10E+03" " " " 0.10E+05" " " "       0.00" "      0.00" "  25.00" "      45.00" "   2400.00",
        "         " " 0.10E+03" " " " 0.10E+08" "*" "       0.00" "      0.00" "  30.00" "      45.00" "   3000.00",
        "         " " 0.12E+03" " " " 0.12E+05" " " "       0.00" "      0.00" "  35.00" "      60.00" "   3600.00",
        "         " " 0.80E+02" " " " 0.80E+04" " " "      40.00" "     20.00" "  10.00" "      25.00" "    500.00",
        "",
        "          * MAXIMUM UNIT FRICTION AND/OR MAXIMUM UNIT BEARING ",
        "            WERE SET TO BE 0.10E+08 BECAUSE THE USER DOES NOT ",
        "            PLAN TO LIMIT THE COMPUTED DATA.",
        // LRFD table; no CPT table with the switch off
        "", "", "",
        "                   LRFD FACTOR  LRFD FACTOR    ",
        "                    ON UNIT      ON UNIT       ",
        "           DEPTH    FRICTION     BEARING   ",
        "            M. ",
        "          " "   0.00" " " "   0.500" "    " "   0.500",
        "          " "  10.00" " " "   0.600" "    " "   0.500",
        "          " "  30.00" " " "   0.600" "    " "   0.500",
        "          " "  40.00" " " "   0.600" "    " "   0.500",
        "          " "  50.00" " " "   0.600" "    " "   0.500",
        "", "", "",
        "1",
        "          **********************",
        "          * COMPUTATION RESULT *",
        "          **********************",
    };
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(lines[k], expected[k]) << "report line " << k + 1;

    // Shown only: the estimate is not stored and the area table leaves the section area alone.
    EXPECT_EQ(run.soil.point[2].bearingFactor, 0.0);
    EXPECT_EQ(run.soil.point[1].earthPressureCoeff, 0.0);
    EXPECT_EQ(run.pile.sectionArea, 0.0);
}

TEST_F(EchoTest, LongTextsAreCutToTheirFields) {
    SetEnglishCase(run);
    run.title = std::string(70, 'T') + "XY";
    run.designer = std::string(60, 'D') + "XY";
    const Lines lines = Echo();
    EXPECT_TRUE(Contains(lines, "          " + std::string(70, 'T')));
    EXPECT_TRUE(Contains(lines, "          DESIGNER   : " + std::string(60, 'D')));
}

TEST_F(EchoTest, UnknownFirstSoilTypeShowsBlankName) {
    SetEnglishCase(run);
    run.soil.point[1].soilType = 0;
    run.soil.point[2].soilType = 1.5;  // compared exactly: not sand
    const Lines rows = Block(Echo(), "            FT.                        LB/FT^3", 3);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], "          " "   0.00" "   " "    " "      1.00" "       120.00" "        32.00" "     30.00");
    EXPECT_EQ(rows[2], "          " "  20.00" "   " "    " "      1.00" "       120.00" "        34.00" "     40.00");
}

TEST_F(EchoTest, BearingFactorEstimateWithoutEarthPressureMark) {
    SetEnglishCase(run);
    run.soil.point[1].bearingFactor = 0;
    run.soil.point[1].frictionAngle = 15;  // chart at 10 degrees: below the chart, 8
    const Lines lines = Echo();
    EXPECT_TRUE(Contains(lines, "          " "   0.00" "   " "SAND" "      1.00" "  " "     120.00" "        15.00"
                                "      8.00" "**"));
    EXPECT_TRUE(Contains(lines, "          ** VALUE ESTIMATED BY THE PROGRAM BASED ON FRICTION ANGLE"));
    EXPECT_FALSE(Contains(lines, "          *  VALUE ASSUMED BY THE PROGRAM "));
}

TEST_F(EchoTest, FrictionDefaultNoteOnceForSeveralPoints) {
    SetEnglishCase(run);
    for (int v = 1; v <= 4; ++v) {
        run.soil.point[v].maxUnitFriction = kNoLimit;
        run.soil.frictionDefault[v] = true;
    }
    const Lines lines = Echo();
    EXPECT_TRUE(Contains(lines, "         " " 0.10E+08" "*" " 0.20E+03" " " "       0.00" "      0.00" "  20.00"
                                "       0.50" "     50.00"));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "          * MAXIMUM UNIT FRICTION AND/OR MAXIMUM UNIT BEARING "), 1);
    const Lines note = Block(lines, "          * MAXIMUM UNIT FRICTION AND/OR MAXIMUM UNIT BEARING ", 3);
    EXPECT_EQ(note, (Lines{"          * MAXIMUM UNIT FRICTION AND/OR MAXIMUM UNIT BEARING ",
                           "            WERE SET TO BE 0.10E+08 BECAUSE THE USER DOES NOT ",
                           "            PLAN TO LIMIT THE COMPUTED DATA."}));
}

// From the input file to the echo and the grid: the strength table shows the user's unit values and
// the CPT table the plasticity index and cone resistance, in both unit systems, and a clay segment
// without shear strength takes qc / 15 with the cone resistance in ksf or kPa, CPT switch on or off.
TEST(EchoOfSoilValues, UserValuesAndConeResistanceFromTheInput) {
    struct Case {
        bool english;
        int cptSwitch;
        std::string userColumns;  // the last two columns of the strength row
        std::string cptRow;       // empty: no CPT table
        double shearStrength;     // of segment 1, from qc / 15
    };
    const std::string englishCpt = "          " "   0.00" " " " 25.00" "   " "  2.00" "   " " 0.300E+02";
    const std::string siCpt = "          " "   0.00" " " " 25.00" "   " "  2.00" "   " " 0.300E+04";
    const Case cases[] = {
        // PI 25, qc 30000 psf, user friction 1200 psf and end bearing 10800 psf; su = 30 / 15 ksf.
        {true, 0, "       1.20" "     10.80", "", 2.0},
        {true, 1, "       1.20" "     10.80", englishCpt, 2.0},
        // PI 25, qc 3000 kPa, user friction 60 kPa and end bearing 540 kPa; su = 3000 / 15 kPa.
        {false, 0, "      60.00" "    540.00", "", 200.0},
        {false, 1, "      60.00" "    540.00", siCpt, 200.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.english ? "English" : "SI") + ", CPT switch " + std::to_string(c.cptSwitch));
        testing::CaseText text;
        const std::string sw = std::to_string(c.cptSwitch);
        if (c.english) {
            text.g1 = "1 1 2 0";
            text.g2 = "0 0 12 11 29000000 10 0";
            text.g4 = "0 1 1 0 1 " + sw + " 0";
            text.g6 = "20 0";
            const std::string s2 = "0 0 0 0 2 25 30000 1200 10800 1 1 0 0 0";
            text.points = {{"0 2 1 100 0 9", s2}, {"20 2 1 100 0 9", s2}};
        } else {
            text.g1 = "2 1 2 0";
            text.g2 = "0 0 300 280 200000000 3 0";
            text.g4 = "0 0.5 1 0 1 " + sw + " 0";
            text.g6 = "6 0";
            const std::string s2 = "0 0 0 0 2 25 3000 60 540 1 1 0 0 0";
            text.points = {{"0 2 1 8 0 9", s2}, {"6 2 1 8 0 9", s2}};
        }
        std::ostringstream console, report;
        auto run = std::make_unique<pileaxial::Run>(ConsoleOnly(console));
        run->report.attach(&report);
        std::istringstream in(text.str());
        ReadInputFile(*run, in, "case.in");
        SetUnitLabels(*run);
        run->pile.embeddedLength = run->pile.totalLength - run->pile.stickupLength;
        WriteInputEcho(*run);
        const Lines lines = SplitLines(report.str());

        const std::string stress = c.english ? "KSF" : "KPA";
        const std::string units = "            " + stress + "       " + stress + "        " + stress + "       " +
                                  stress + "               " + stress + "       " + stress;
        const Lines strength = Block(lines, units, 2);
        ASSERT_EQ(strength.size(), 2u);
        EXPECT_EQ(strength[1].substr(strength[1].size() - c.userColumns.size()), c.userColumns);
        const Lines cpt = Block(lines, std::string("            ") + (c.english ? "FT." : "M. ") + "      %" +
                                           std::string(17, ' ') + stress, 2);
        EXPECT_EQ(cpt.size() == 2 ? cpt[1] : "", c.cptRow);

        run->pile.totalLength = run->pile.embeddedLength;
        SnapSoilPoints(*run);
        run->pile.segmentCount = ComputeSegmentCount(run->pile);
        BuildSegmentGrid(*run);
        EXPECT_DOUBLE_EQ(run->grid.segShearStrength[1], c.shearStrength);
    }
}

TEST_F(EchoTest, SiCptTableShowsConeResistanceUnscaled) {
    SetSiCase(run);
    run.pile.cptDataSwitch = 2;
    for (int v = 1; v <= 5; ++v) {
        run.soil.point[v].plasticityIndex = 20;
        run.soil.point[v].coneResistance = 1500;
    }
    const Lines rows = Block(Echo(), "            M.       %                 KPA", 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], "          " "   0.00" " " " 20.00" "   " "  0.00" "   " " 0.150E+04");
}

TEST_F(EchoTest, CriticalDepthLinesPerOption) {
    SetEnglishCase(run);
    const std::string usace = "          - USACE (U.S. Army Corps of Engineers)";
    struct Case {
        int option;
        int longPile;
        Lines after;
    };
    const Case cases[] = {
        {1, 0, {"            # Critical Depth Method for Sand:",
                "              At Effective Stress Reaching 3,500 psf (185 kPa)",
                "          - API RP 2A (American Petroleum Institute)"}},
        {2, 1, {"            # Critical Depth Method for Sand:",
                "              At User-Specified Critical Depth =" "     12.50" " FT.",
                "            Use Long Pile Option"}},
        {3, 0, {"          - API RP 2A (American Petroleum Institute)", "", ""}},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        run.report.attach(&out);
        run.pile.criticalDepthOption = c.option;
        run.pile.longPileOption = c.longPile;
        run.pile.userCriticalDepth = 12.5;
        WriteInputEcho(run);
        const Lines block = Block(SplitLines(out.str()), usace, 4);
        ASSERT_EQ(block.size(), 4u) << "option " << c.option;
        EXPECT_EQ(Lines(block.begin() + 1, block.end()), c.after) << "option " << c.option;
    }
}

TEST_F(EchoTest, UndrainedClayLineAfterIcp) {
    SetSiCase(run);
    run.pile.clayDrained = 0;
    const Lines block = Block(Echo(), "          - ICP/MTD (Imperial College of London)", 2);
    ASSERT_EQ(block.size(), 2u);
    EXPECT_EQ(block[1], "            # Use Undrained Condition for Clay");
}

TEST_F(EchoTest, TensionWithoutApiHasNoReductionFactor) {
    SetEnglishCase(run);
    run.pile.tensionLoading = 1;
    run.pile.methodSelected[4] = 0;
    const Lines block = Block(Echo(), "          TYPE OF LOADING : ", 3);
    EXPECT_EQ(block, (Lines{"          TYPE OF LOADING : ", "          - TENSION  ", ""}));
}

TEST_F(EchoTest, OutOfRangeCodesWriteNoLine) {
    SetEnglishCase(run);
    run.pile.loadTransferMethod = 0;
    run.pile.plugOption = 3;
    const Lines lines = Echo();
    EXPECT_EQ(Block(lines, "          METHOD FOR UNIT LOAD TRANSFERS : ", 3),
              (Lines{"          METHOD FOR UNIT LOAD TRANSFERS : ", "",
                     "            Unfactored Unit Side Friction and Unit Side Resistance are used."}));
    EXPECT_EQ(Block(lines, "          PLUGGED/UNPLUGGED CONDITIONS : ", 2),
              (Lines{"          PLUGGED/UNPLUGGED CONDITIONS : ", ""}));
}

// ---- pile types, geometry and stiffness area ---------------------------------------------------

TEST_F(EchoTest, SteelPipeWithoutEnhancedEndSectionGoesStraightToPlug) {
    SetEnglishCase(run);
    run.pile.enhancedEndLength = run.pile.embeddedLength;
    run.pile.plugOption = 2;
    const Lines block = Block(Echo(), "            USED IN COMPUTATION       =      1.00 FT.", 5);
    EXPECT_EQ(block, (Lines{"            USED IN COMPUTATION       =      1.00 FT.", "", "",
                            "          PLUGGED/UNPLUGGED CONDITIONS : ",
                            "          Unplugged for open-ended pile"}));
}

TEST_F(EchoTest, EnhancedEndDefaultShowsTotalLength) {
    // The reader turns an enhanced end length of 0 into the total length less 1E-7.
    SetEnglishCase(run);
    run.pile.enhancedEndLength = 60 - 1.0e-7;
    run.pile.enhancedEndDiameter = 23;
    const Lines lines = Echo();
    EXPECT_TRUE(Contains(lines, "            END SECTION               =     60.00 FT."));
    EXPECT_TRUE(Contains(lines, "            ENHANCED END SECTION      =     23.00 IN."));
}

TEST_F(EchoTest, CircularConcreteClosedEndedHasNoEnhancedEndOrPlug) {
    SetEnglishCase(run);
    run.pile.pileType = 3;
    run.pile.tipClosure = 1;
    run.pile.plugOption = 1;
    const Lines lines = Echo();
    EXPECT_EQ(Block(lines, "          PILE TYPE : ", 4),
              (Lines{"          PILE TYPE : ", "", "          Precast concrete pile (Circular/Tubular)",
                     "          - Close-Ended Pile"}));
    EXPECT_EQ(Block(lines, "          - INTERNAL DIAMETER, ID     =     23.00 IN.", 1).size(), 1u);
    EXPECT_EQ(Block(lines, "            USED IN COMPUTATION       =      1.00 FT.", 4),
              (Lines{"            USED IN COMPUTATION       =      1.00 FT.", "", "", "",}));
    EXPECT_FALSE(Contains(lines, "          PLUGGED/UNPLUGGED CONDITIONS : "));
    EXPECT_FALSE(Contains(lines, "          - LENGTH OF ENHANCED "));
}

TEST_F(EchoTest, CircularConcreteOpenEndedKeepsEnhancedEndAndPlug) {
    SetEnglishCase(run);
    run.pile.pileType = 3;
    run.pile.plugOption = 1;
    const Lines lines = Echo();
    EXPECT_TRUE(Contains(lines, "          - Open-Ended Pile"));
    EXPECT_TRUE(Contains(lines, "            END SECTION               =     10.00 FT."));
    EXPECT_EQ(Block(lines, "          PLUGGED/UNPLUGGED CONDITIONS : ", 2),
              (Lines{"          PLUGGED/UNPLUGGED CONDITIONS : ", "          Plugged for open-ended pile"}));
}

TEST_F(EchoTest, SolidCircularSectionsShowOutsideDiameterOnly) {
    SetEnglishCase(run);
    run.pile.pileType = 3;
    run.pile.perimeter = -1;  // a negative perimeter marks a solid circular concrete section
    const Lines lines = Echo();
    EXPECT_TRUE(Contains(lines, "          Precast concrete pile (Square/Rectangular/Orthogonal)"));
    EXPECT_EQ(Block(lines, "          CIRCULAR PILE PROPERTIES : ", 4),
              (Lines{"          CIRCULAR PILE PROPERTIES : ", "",
                     "          - OUTSIDE DIAMETER, OD      =     24.00 IN.",
                     "          - TOTAL PILE LENGTH, TL     =     60.00 FT."}));
    EXPECT_FALSE(Contains(lines, "          PLUGGED/UNPLUGGED CONDITIONS : "));
}

TEST_F(EchoTest, TaperAngleShownForTaperedTypesWithApi) {
    SetEnglishCase(run);
    run.pile.pileType = 2;
    run.pile.taperAngle = 0.5;
    Lines block = Block(Echo(), "          PILE TYPE : ", 4);
    EXPECT_EQ(block, (Lines{"          PILE TYPE : ", "", "          Timber pile",
                            "          Angle of taper for a tapered pile  (degrees) =      0.50"}));

    std::ostringstream withoutApi;
    run.report.attach(&withoutApi);
    run.pile.methodSelected[4] = 0;
    WriteInputEcho(run);
    block = Block(SplitLines(withoutApi.str()), "          PILE TYPE : ", 4);
    EXPECT_EQ(block, (Lines{"          PILE TYPE : ", "", "          Timber pile", ""}));
}

TEST_F(EchoTest, HPileGeometryIsNonCircularWithAreaAsRead) {
    SetEnglishCase(run);
    run.pile.pileType = 6;
    run.pile.perimeter = 48.5;
    run.pile.crossSectionAreaAsRead = 15.5;
    run.pile.crossSectionArea = 15.5 / 144;
    run.pile.outsideDiameter = 48.5 / kPerimeterPi;
    run.pile.insideDiameter = 0;
    run.pile.batterAngleAsRead = 10;
    run.pile.batterAngle = 10 * kSinglePi / 180;
    const Lines lines = Echo();
    EXPECT_TRUE(Contains(lines, "          H-Pile/Steel Pile"));
    EXPECT_EQ(Block(lines, "          NONCIRCULAR PILE PROPERTIES : ", 10),
              (Lines{"          NONCIRCULAR PILE PROPERTIES : ", "",
                     "          - TOTAL PILE LENGTH, TL     =     60.00 FT.",
                     "          - BATTER ANGLE              =     10.00 DEG",
                     "          - PILE STICKUP LENGTH, PSL  =      5.00 FT.",
                     "          - ZERO FRICTION LENGTH, ZFL =      2.00 FT.",
                     "          - PERIMETER OF PILE         =     48.50 IN.",
                     "          - TIP AREA OF PILE          =     15.50 IN2",
                     "          - INCREMENT OF PILE LENGTH",
                     "            USED IN COMPUTATION       =      1.00 FT."}));
    EXPECT_FALSE(Contains(lines, "          PLUGGED/UNPLUGGED CONDITIONS : "));
}

TEST_F(EchoTest, UniformAreaModeShowsUniformArea) {
    SetEnglishCase(run);
    run.pile.areaMode = 1;
    run.pile.uniformArea = run.pile.sectionArea = 2.5;
    const Lines lines = Echo();
    EXPECT_TRUE(Contains(lines, "          - CROSS SECTION AREA        =      2.50 IN2"));
    EXPECT_EQ(run.pile.sectionArea, 2.5);
}

TEST_F(EchoTest, ComputedAreaInSiIsInSquareMetres) {
    SetEnglishCase(run);
    SetSiLabels(run);
    run.pile.unitSystem = 2;
    run.pile.outsideDiameter = run.pile.outsideDiameterAsRead = 1000;
    run.pile.insideDiameter = 900;
    const Lines lines = Echo();
    // 0.7854 x (1000^2 - 900^2) mm2 = 0.149 m2
    EXPECT_TRUE(Contains(lines, "          - CROSS SECTION AREA        =      0.15 M2 "));
}

// ---- soil-extent checks ------------------------------------------------------------------------

class SoilExtentTest : public EchoTest {
protected:
    // Vertical English pile, 50 ft embedded, 12 in. diameter: soil is needed to 52 ft.
    void SetUp() override {
        SetEnglishCase(run);
        run.pile.embeddedLength = 50;
        run.pile.outsideDiameter = 12;
        run.soil.point[4].depth = 52;
        run.pile.deepestSoilDepth = 52;
    }
};

TEST_F(SoilExtentTest, ExactlyTheRequiredDepthPasses) {
    EXPECT_TRUE(CheckSoilExtent(run));
    EXPECT_EQ(run.status, kStatusCompleted);
    EXPECT_EQ(report.str(), "");
    EXPECT_EQ(console.str(), "");
}

TEST_F(SoilExtentTest, ShallowDeepestProfileStopsTheRun) {
    run.pile.deepestSoilDepth = 51.99;
    EXPECT_FALSE(CheckSoilExtent(run));
    EXPECT_EQ(run.status, kStatusStopped);
    EXPECT_EQ(SplitLines(report.str()),
              (Lines{"", "",
                     "          COMPUTATION DOES NOT PROCEED BECAUSE THE DEEPEST SOIL PROFILE " "  51.99" " FT.",
                     "          IS LESS THAN PILE EMBEDDED LENGTH PLUS TWO TIMES THE PILE DIAMETER "
                     "     52.00" " FT."}));
    EXPECT_EQ(console.str(), "");
}

TEST_F(SoilExtentTest, ShallowLastPointOnlyWarnsOnTheConsole) {
    run.soil.point[4].depth = 51.5;
    run.pile.deepestSoilDepth = 60;
    EXPECT_TRUE(CheckSoilExtent(run));
    EXPECT_EQ(run.status, kStatusCompleted);
    EXPECT_EQ(report.str(), "");
    EXPECT_EQ(SplitLines(console.str()),
              (Lines{"", "", "",
                     "          COMPUTATION DOES NOT PROCEED BECAUSE NO SOIL INFORMATION",
                     "          WAS PROVIDED AT THE DEPTH " "     52.00" " FT.",
                     "          PLEASE NOTE THAT SOIL SHOULD EXTEND AT LEAST THE ",
                     "           PILE LENGTH PLUS TWO PILE DIAMETERS"}));
}

TEST_F(SoilExtentTest, BatteredPileNeedsOnlyItsVerticalProjection) {
    // 100 ft along a 60 degree batter reaches 50 ft down: 52 ft needed, 55 ft given.
    run.pile.embeddedLength = 100;
    run.pile.batterAngle = 60 * kSinglePi / 180;
    run.soil.point[4].depth = 55;
    run.pile.deepestSoilDepth = 55;
    EXPECT_TRUE(CheckSoilExtent(run));
    EXPECT_EQ(console.str(), "");
}

TEST_F(SoilExtentTest, SiDiameterIsInMillimetres) {
    SetSiLabels(run);
    run.pile.unitSystem = 2;
    run.pile.embeddedLength = 20;
    run.pile.outsideDiameter = 500;  // soil needed to 21 m
    run.soil.point[4].depth = 21;
    run.pile.deepestSoilDepth = 20.9;
    EXPECT_FALSE(CheckSoilExtent(run));
    const Lines lines = SplitLines(report.str());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "          COMPUTATION DOES NOT PROCEED BECAUSE THE DEEPEST SOIL PROFILE " "  20.90" " M. ");
    EXPECT_EQ(lines[3], "          IS LESS THAN PILE EMBEDDED LENGTH PLUS TWO TIMES THE PILE DIAMETER "
                        "     21.00" " M. ");
}

}  // namespace
}  // namespace pileaxial
