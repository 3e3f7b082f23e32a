#include "input/input_reader.hpp"

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>

#include "textio/list_reader.hpp"

namespace pileaxial {

namespace {

constexpr double kAreaPerSquareFoot = 144.0;
constexpr double kEnhancedEndShortening = 1.0e-7f;
constexpr double kWaterUnitWeightEnglish = 75.0;   // pcf: a lower effective unit weight is submerged soil
constexpr double kWaterUnitWeightSi = 12.0;        // kN/m^3
constexpr double kLargestBatter = 90.0;
constexpr double kTaperDegreesToRadians = 0.01745f;            // degrees from the vertical, not reached

constexpr const char* kMethodFields[9] = {
    "1 (FHWA)", "2 (USACE)", "3 (Revised Lambda)", "4 (API RP 2A)", "5 (user-specified)",
    "6 (NGI)",  "7 (ICP/MTD)", "8 (Fugro)", "9 (UWA)"};

// Reads a file record by record and names the record in every message.
class InputFile {
public:
    InputFile(std::istream& in, const std::string& fileName) : reader_(in, fileName) {}

    textio::ListReader& reader() { return reader_; }

    // The message names the line that gave the field, also when the record is the one read before.
    [[noreturn]] void refuse(const std::string& record, const std::string& field, const std::string& problem) {
        reader_.refuse(record, field, problem);
    }

    // A count that must lie within 0..capacity.
    void checkCount(int value, int lowest, int capacity, const std::string& record, const std::string& field,
                    const std::string& what) {
        if (value < lowest || value > capacity) {
            refuse(record, field,
                   std::to_string(value) + " " + what + " given; the program takes " + std::to_string(lowest) +
                       " to " + std::to_string(capacity));
        }
    }

private:
    textio::ListReader reader_;
};

// A value as a message shows it: the shortest decimal that reads back as the same number.
std::string shown(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// An option code that selects one of the rules lowest..highest; any other value would silently take
// one of them (or none) and change the numbers.
void checkCode(InputFile& file, int value, int lowest, int highest, const std::string& record,
               const std::string& field, const std::string& what) {
    if (value >= lowest && value <= highest) return;
    std::string allowed;
    for (int code = lowest; code <= highest; ++code) {
        allowed += std::to_string(code);
        allowed += code + 1 < highest ? ", " : code + 1 == highest ? " or " : "";
    }
    file.refuse(record, field, what + " " + std::to_string(value) + " is not " + allowed);
}

void readGeneral(Model& m, InputFile& file, bool cptFileNamed) {
    textio::ListReader& r = file.reader();
    PileModel& p = m.pile;

    r.begin("G1");
    r.item(p.unitSystem, "1 (unit system)");
    r.item(p.printInterval, "2 (print interval)");
    r.item(p.soilPointCount, "3 (number of soil data points)");
    r.item(p.tipClosure, "4 (tip closure)");
    r.finish();
    if (p.unitSystem != 1 && p.unitSystem != 2) {
        file.refuse("G1", "1 (unit system)",
                    "unit system " + std::to_string(p.unitSystem) + " is neither 1 (English) nor 2 (SI)");
    }
    if (p.printInterval < 1) {
        file.refuse("G1", "2 (print interval)",
                    "the print interval is " + std::to_string(p.printInterval) + "; it must be at least 1");
    }
    file.checkCount(p.soilPointCount, 1, kMaxSoilPoints, "G1", "3 (number of soil data points)",
                    "soil data points");
    // The tip closure picks the plug and end-bearing rules of an open or a closed pile.
    checkCode(file, p.tipClosure, 0, 1, "G1", "4 (tip closure)", "the tip closure");

    r.begin("G2");
    r.item(p.perimeter, "1 (perimeter)");
    r.item(p.crossSectionArea, "2 (cross-section area)");
    r.item(p.outsideDiameter, "3 (outside diameter)");
    r.item(p.insideDiameter, "4 (inside diameter)");
    r.item(p.elasticModulus, "5 (modulus of elasticity)");
    r.item(p.totalLength, "6 (total pile length)");
    r.item(p.stickupLength, "7 (pile stickup length)");
    r.finish();
    if (p.outsideDiameter < 0) file.refuse("G2", "3 (outside diameter)", "the outside diameter is negative");
    if (p.insideDiameter < 0) file.refuse("G2", "4 (inside diameter)", "the inside diameter is negative");
    p.crossSectionAreaAsRead = p.crossSectionArea;
    p.outsideDiameterAsRead = p.outsideDiameter;
    p.totalLengthAsRead = p.totalLength;
    if (p.english()) p.crossSectionArea /= kAreaPerSquareFoot;
    if (p.perimeter > kNotGivenTolerance) {
        // A non-circular section is carried as the circle of the same perimeter.
        p.outsideDiameter = p.perimeter / kPerimeterPi;
        p.insideDiameter = 0;
    }
    // Perimeters, areas and the tip window all scale with the diameter: a pile without one has no
    // capacity to compute, and a bore as wide as the pile leaves a wall of no or negative thickness.
    if (!(p.outsideDiameter > 0)) {
        file.refuse("G2", "3 (outside diameter)",
                    "the pile has no outside diameter (give it, or the perimeter of a non-circular pile in "
                    "field 1)");
    }
    // The pile's axial stiffness enters the Revised Lambda stiffness ratio (always computed) and the
    // load-settlement analysis.
    if (!(p.elasticModulus > 0)) {
        file.refuse("G2", "5 (modulus of elasticity)", "the modulus of elasticity must be greater than 0");
    }
    if (p.insideDiameter >= p.outsideDiameter) {
        file.refuse("G2", "4 (inside diameter)", "the inside diameter is not smaller than the outside diameter");
    }
    // A pile of no length, or one standing wholly above the ground, has no embedded length: its table
    // would be one row at 0 with nothing computed.  A value missing from this record or written with
    // thousands separators (29,000,000 is read as three values) usually shows up here.
    if (!(p.totalLength > 0)) {
        file.refuse("G2", "6 (total pile length)",
                    "the total pile length is " + shown(p.totalLength) + "; it must be greater than 0");
    }
    if (!(p.totalLength - p.stickupLength > 0)) {
        file.refuse("G2", "7 (pile stickup length)",
                    "the stickup length " + shown(p.stickupLength) + " is not shorter than the total pile length " +
                        shown(p.totalLength) + ", so no part of the pile is embedded");
    }

    r.begin("G3");
    r.item(p.enhancedEndLength, "1 (length of enhanced end section)");
    r.item(p.enhancedEndDiameter, "2 (internal diameter of enhanced end section)");
    r.item(p.batterAngle, "3 (batter angle)");
    r.finish();
    p.batterAngleAsRead = p.batterAngle;
    // A batter is an inclination from the vertical: at 90 degrees or more the pile would lie flat or
    // point upwards, its vertical increment would vanish or turn negative and the grid would run out
    // of the ground.
    if (!(std::fabs(p.batterAngle) < kLargestBatter)) {
        std::ostringstream angle;
        angle << p.batterAngle;
        file.refuse("G3", "3 (batter angle)",
                    "the batter angle is " + angle.str() +
                        " degrees; the pile must be inclined less than 90 degrees from the vertical");
    }
    if (p.enhancedEndLength >= kPresentTolerance && p.enhancedEndDiameter >= p.outsideDiameter) {
        file.refuse("G3", "2 (internal diameter of enhanced end section)",
                    "the internal diameter of the enhanced end section is not smaller than the outside diameter");
    }
    if (p.enhancedEndLength < kPresentTolerance) {
        // No enhanced end: the whole pile is the "end section", with the plain inside diameter.
        p.enhancedEndDiameter = p.insideDiameter;
        p.enhancedEndLength = p.totalLength - kEnhancedEndShortening;
    }

    r.begin("G4");
    r.item(p.zeroFrictionLength, "1 (zero friction length)");
    r.item(p.lengthIncrement, "2 (increment of pile length)");
    r.item(p.pileType, "3 (pile type)");
    r.item(p.taperAngle, "4 (taper angle)");
    r.item(p.loadTransferMethod, "5 (method for unit load transfers)");
    r.item(p.cptDataSwitch, "6 (CPT-data switch)");
    r.item(p.reducedSideFriction, "7 (reduced side friction switch)");
    r.finish();
    if (!(p.lengthIncrement > 0)) {
        file.refuse("G4", "2 (increment of pile length)", "the increment must be greater than 0");
    }
    // One node per increment along the embedded axis, node 1 at the ground: int(ratio) + 1 nodes
    // must fit the node arrays.
    if ((p.totalLength - p.stickupLength) / p.lengthIncrement + kLengthTolerance >= kMaxNodes) {
        file.refuse("G4", "2 (increment of pile length)",
                    "the pile is divided into more than " + std::to_string(kMaxNodes) +
                        " computation nodes along its axis; use a larger increment");
    }
    // A taper angle is measured from the pile axis: a negative one would widen the pile downwards
    // and 90 degrees or more has no tangent to narrow it by.
    if (!(p.taperAngle >= 0 && p.taperAngle < 90)) {
        file.refuse("G4", "4 (taper angle)",
                    "the taper angle is " + shown(p.taperAngle) + " degrees; it must be at least 0 and less than 90");
    }
    if (p.taperAngle > 0) {
        // The taper narrows the pile from the head: it must keep a diameter down to the tip.
        const double headDiameter = p.outsideDiameter / (p.english() ? 12.0 : 1000.0);
        if (headDiameter - 2 * std::tan(p.taperAngle * kTaperDegreesToRadians) * p.totalLength <= 0) {
            file.refuse("G4", "4 (taper angle)",
                        "the taper narrows the pile to nothing before its tip; check the angle (degrees)");
        }
    }
    // Every run computes the FHWA method, whose charts have a column for each of the seven pile
    // types, and hands one method's curves to the load-settlement analysis: both codes must exist.
    if (p.pileType < 1 || p.pileType > 7) {
        file.refuse("G4", "3 (pile type)", "pile type " + std::to_string(p.pileType) + " is not one of 1 to 7");
    }
    if (p.loadTransferMethod < 1 || p.loadTransferMethod > 9) {
        file.refuse("G4", "5 (method for unit load transfers)",
                    "method " + std::to_string(p.loadTransferMethod) + " is not one of 1 to 9");
    }
    // The cone-based methods run only at 1, while the echo and the grid take the sounding's values
    // for any positive value: a 2 would do half of each.
    checkCode(file, p.cptDataSwitch, 0, 1, "G4", "6 (CPT-data switch)", "the CPT-data switch");
    if (p.cptDataSwitch == 1 && !cptFileNamed) {
        file.refuse("G4", "6 (CPT-data switch)",
                    "CPT data are asked for, but the run names no CPT data file (record 8 of names.dat, or "
                    "--cpt FILE on the command line); set the switch to 0 or name the file");
    }

    r.begin("G5");
    for (int i = 1; i <= 9; ++i) r.item(p.methodSelected[i], kMethodFields[i - 1]);
    r.finish();
    // Only 1 selects a method; another value is more likely a slip than a wish to leave it out.
    for (int i = 1; i <= 9; ++i) {
        checkCode(file, p.methodSelected[i], 0, 1, "G5", kMethodFields[i - 1], "the selection switch");
    }

    r.begin("G6");
    r.item(p.deepestSoilDepth, "1 (depth of the deepest soil profile)");
    r.item(p.uniformArea, "2 (uniform cross-section area)");
    r.finish();
    p.sectionArea = p.uniformArea;
}

// The checks of soil data point v on its values as read, made once both its reads are done: values no
// soil can have and codes that select a rule.  A negative plasticity index (no data for the cone-based
// methods) and a blow count of 0 or less (not given) keep their meaning.
void checkSoilPoint(const Model& m, InputFile& file, int v) {
    const SoilLayer& s = m.soil.point[v];
    const std::string point = " of soil point " + std::to_string(v);
    const std::string s1 = "S1" + point;
    const std::string s2 = "S2" + point;

    if (v > 1 && s.depth < m.soil.point[v - 1].depth) {
        file.refuse(s1, "1 (depth)",
                    "the depth " + shown(s.depth) + " is above the depth " + shown(m.soil.point[v - 1].depth) +
                        " of the point before; the points go from the top down");
    }
    // Compared as exact reals, as every rule compares them.
    if (s.soilType != 1.0 && s.soilType != 2.0 && s.soilType != 3.0) {
        file.refuse(s1, "2 (soil type)",
                    "soil type " + shown(s.soilType) + " is not 1 (sand), 2 (clay) or 3 (silt)");
    }
    if (s.earthPressureCoeff < 0) {
        file.refuse(s1, "3 (lateral earth pressure coefficient)",
                    "the coefficient is " + shown(s.earthPressureCoeff) + "; it must not be negative");
    }
    if (s.effectiveUnitWeight < 0) {
        file.refuse(s1, "4 (effective unit weight)",
                    "the effective unit weight is " + shown(s.effectiveUnitWeight) + "; it must not be negative");
    }
    if (!(s.frictionAngle >= 0 && s.frictionAngle < 90)) {
        file.refuse(s1, "5 (friction angle)",
                    "the friction angle is " + shown(s.frictionAngle) +
                        " degrees; it must be at least 0 and less than 90");
    }
    if (s.undrainedShearStrength < 0) {
        file.refuse(s2, "3 (undisturbed shear strength)",
                    "the shear strength is " + shown(s.undrainedShearStrength) + "; it must not be negative");
    }
    // In sand this position holds the blow count, where 0 or less means none was given.
    if (s.soilType != 1.0 && s.remoldedShearStrength < 0) {
        file.refuse(s2, "4 (remolded shear strength or sand blow count)",
                    "the remolded shear strength is " + shown(s.remoldedShearStrength) +
                        "; it must not be negative");
    }
    if (s.lrfdFriction < 0) {
        file.refuse(s2, "10 (LRFD factor on unit friction)",
                    "the factor is " + shown(s.lrfdFriction) + "; it must not be negative");
    }
    if (s.lrfdBearing < 0) {
        file.refuse(s2, "11 (LRFD factor on unit bearing)",
                    "the factor is " + shown(s.lrfdBearing) + "; it must not be negative");
    }
}

void readSoilPoint(Model& m, InputFile& file, int v) {
    textio::ListReader& r = file.reader();
    SoilProfile& soil = m.soil;
    SoilLayer& s = soil.point[v];
    const std::string point = " of soil point " + std::to_string(v);

    r.begin("S1" + point);
    r.item(s.depth, "1 (depth)");
    r.item(s.soilType, "2 (soil type)");
    r.item(s.earthPressureCoeff, "3 (lateral earth pressure coefficient)");
    r.item(s.effectiveUnitWeight, "4 (effective unit weight)");
    r.item(s.frictionAngle, "5 (friction angle)");
    r.item(s.bearingFactor, "6 (bearing capacity factor)");
    r.finish();

    r.begin("S2" + point);
    r.item(s.maxUnitFriction, "1 (maximum unit friction)");
    r.item(s.maxUnitBearing, "2 (maximum unit bearing)");
    r.item(s.undrainedShearStrength, "3 (undisturbed shear strength)");
    r.item(s.remoldedShearStrength, "4 (remolded shear strength or sand blow count)");
    r.item(s.blowCount, "5 (blow count)");
    r.item(s.plasticityIndex, "6 (plasticity index)");
    r.item(s.coneResistance, "7 (cone resistance)");
    r.item(s.userUnitFriction, "8 (user unit side friction)");
    r.item(s.userUnitBearing, "9 (user unit end bearing)");
    r.item(s.lrfdFriction, "10 (LRFD factor on unit friction)");
    r.item(s.lrfdBearing, "11 (LRFD factor on unit bearing)");
    r.item(s.tipOrCaseValue, "12 (adhesion case / tip value)");
    r.item(s.peakMovement, "13 (movement at peak unit friction)");
    r.item(s.residualRatio, "14 (residual ratio)");
    r.finish();
    checkSoilPoint(m, file, v);

    const bool english = m.pile.english();
    soil.frictionDefault[v] = false;
    soil.bearingDefault[v] = false;

    // In sand the fourth strength position carries the blow count.
    if (s.soilType == 1.0) {
        s.blowCount = s.remoldedShearStrength;
        s.remoldedShearStrength = 0;
    }

    // The water table lies at the first point whose effective unit weight is a submerged one.
    if (soil.waterTableDepth >= kNoWaterTable) {
        const double submerged = english ? kWaterUnitWeightEnglish : kWaterUnitWeightSi;
        if (s.effectiveUnitWeight < submerged) soil.waterTableDepth = s.depth;
    }

    s.tipOrCaseValueAsRead = s.tipOrCaseValue;
    if (english) {
        s.maxUnitFriction /= 1000.0;
        s.maxUnitBearing /= 1000.0;
        s.undrainedShearStrength /= 1000.0;
        s.remoldedShearStrength /= 1000.0;
        // The plasticity index, the cone resistance (psf) and the user unit values stay as read;
        // their readers convert them.
    } else {
        s.tipOrCaseValue /= 1000.0;
        s.peakMovement /= 1000.0;
    }

    if (s.maxUnitFriction < kNotGivenTolerance) {
        s.maxUnitFriction = kNoLimit;
        soil.frictionDefault[v] = true;
    }
    if (s.maxUnitBearing < kNotGivenTolerance) {
        s.maxUnitBearing = kNoLimit;
        soil.bearingDefault[v] = true;
    }
}

void readSettlementAndOptions(Model& m, InputFile& file) {
    textio::ListReader& r = file.reader();
    PileModel& p = m.pile;
    SettlementInput& st = m.settlement;

    st.verificationSwitch = r.readInt("V0", "1 (verification-depth switch)");
    if (st.verificationSwitch == 1) {
        const int n = r.readInt("V1", "1 (number of verification depths)");
        file.checkCount(n, 0, kMaxVerificationDepths, "V1", "1 (number of verification depths)",
                        "verification depths");
        st.verificationCount = n;
        for (int i = 1; i <= n; ++i) {
            st.verificationDepth[i] = r.readReal("V1 depth " + std::to_string(i), "1 (depth)");
        }
    }

    r.begin("L1");
    r.item(p.tensionLoading, "1 (tension loading)");
    r.item(p.tensionReductionFactor, "2 (reduction factor for tension loading)");
    r.finish();
    if (p.tensionReductionFactor < 0) {
        file.refuse("L1", "2 (reduction factor for tension loading)",
                    "the factor is " + shown(p.tensionReductionFactor) + "; it must not be negative");
    }

    r.begin("L2");
    r.item(p.clayDrained, "1 (clay condition for ICP/MTD)");
    r.item(p.plugOption, "2 (plug option)");
    r.item(p.longPileOption, "3 (long pile option)");
    r.finish();
    checkCode(file, p.plugOption, 0, 2, "L2", "2 (plug option)", "the plug option");
    checkCode(file, p.longPileOption, 0, 1, "L2", "3 (long pile option)", "the long pile option");

    r.begin("A1");
    r.item(p.areaCount, "1 (number of area rows)");
    r.item(p.areaMode, "2 (area mode)");
    r.finish();
    file.checkCount(p.areaCount, 0, kMaxAreaRows, "A1", "1 (number of area rows)", "area rows");
    for (int i = 1; i <= p.areaCount; ++i) {
        r.begin("A2 row " + std::to_string(i));
        r.item(p.areaDistance[i], "1 (distance along the pile)");
        r.item(p.areaValue[i], "2 (cross-section area)");
        r.finish();
    }

    r.begin("C1");
    r.item(p.criticalDepthOption, "1 (critical depth option)");
    r.item(p.userCriticalDepth, "2 (user-specified critical depth)");
    r.finish();
    checkCode(file, p.criticalDepthOption, 0, 2, "C1", "1 (critical depth option)", "the critical depth option");
    // A critical depth at or above the ground would limit every effective stress to zero.
    if (p.criticalDepthOption == 2 && !(p.userCriticalDepth > 0)) {
        file.refuse("C1", "2 (user-specified critical depth)",
                    "option 2 needs a critical depth below the ground surface (greater than 0)");
    }

    st.tzTableSwitch = r.readInt("Q0", "1 (t-z multiplier table switch)");
    if (st.tzTableSwitch == 1) {
        const int k = r.readInt("Q1", "1 (number of t-z multiplier rows)");
        file.checkCount(k, 0, kMaxTzRows, "Q1", "1 (number of t-z multiplier rows)", "t-z multiplier rows");
        st.tzRowCount = k;
        if (k >= 2) {
            for (int i = 1; i <= k; ++i) {
                r.begin("Q1 row " + std::to_string(i));
                r.item(st.tzDepth[i], "1 (depth)");
                r.item(st.tzMultiplierT[i], "2 (multiplier on t)");
                r.item(st.tzMultiplierZ[i], "3 (multiplier on z)");
                r.finish();
            }
        }
    }

    st.settlementListSwitch = r.readInt("D0", "1 (assumed-tip-movement switch)");
    if (st.settlementListSwitch == 1) {
        const int n = r.readInt("D1", "1 (number of assumed tip movements)");
        file.checkCount(n, 0, kMaxTipMovements, "D1", "1 (number of assumed tip movements)",
                        "assumed tip movements");
        st.tipMovementCount = n;
        for (int i = 1; i <= n; ++i) {
            st.tipMovement[i] = r.readReal("D1 movement " + std::to_string(i), "1 (tip movement)");
        }
    }

    st.scaleFactorSwitch = r.readInt("F0", "1 (scale-factor switch)");
    if (st.scaleFactorSwitch == 1) {
        r.begin("F1");
        r.item(st.tipLoadFactor, "1 (multiplier on the tip-curve load)");
        r.item(st.tipMovementFactor, "2 (multiplier on the tip-curve movement)");
        r.finish();
    }
}

}  // namespace

void ReadInputFile(Model& m, std::istream& in, const std::string& fileName, bool cptFileNamed) {
    InputFile file(in, fileName);
    textio::ListReader& r = file.reader();
    m.title = r.readText(72, "T1 (title)");
    m.designer = r.readText(72, "T2 (designer)");
    m.jobNumber = r.readText(72, "T3 (job number)");

    readGeneral(m, file, cptFileNamed);
    m.soil.count = m.pile.soilPointCount;
    for (int v = 1; v <= m.soil.count; ++v) readSoilPoint(m, file, v);
    readSettlementAndOptions(m, file);
}

void ReadCptFile(Model& m, std::istream& in, const std::string& fileName) {
    InputFile file(in, fileName);
    textio::ListReader& r = file.reader();
    int unused = 0;
    int count = 0;
    r.begin("P0");
    r.item(unused, "1");
    r.item(count, "2 (number of points)");
    r.finish();
    file.checkCount(count, 0, kMaxCptPoints, "P0", "2 (number of points)", "CPT points");
    for (int i = 1; i <= count; ++i) {
        r.begin("P1 point " + std::to_string(i));
        r.item(m.cpt.cptDepth[i], "1 (depth)");
        r.item(m.cpt.cptValue[i], "2 (cone value)");
        r.finish();
        // The methods look the sounding up by depth from the top down.
        const std::string record = "P1 point " + std::to_string(i);
        if (i > 1 && m.cpt.cptDepth[i] < m.cpt.cptDepth[i - 1]) {
            file.refuse(record, "1 (depth)",
                        "the depth " + shown(m.cpt.cptDepth[i]) + " is above the depth " +
                            shown(m.cpt.cptDepth[i - 1]) + " of the point before; the points go from the top down");
        }
        if (m.cpt.cptValue[i] < 0) {
            file.refuse(record, "2 (cone value)",
                        "the cone value is " + shown(m.cpt.cptValue[i]) + "; it must not be negative");
        }
    }
    m.cpt.cptPointCount = count;
}

}  // namespace pileaxial
