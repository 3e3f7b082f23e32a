#include "input/echo.hpp"

#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "model/grid.hpp"
#include "model/interpolation.hpp"

namespace pileaxial {

namespace {

using textio::Line;
using textio::RecordWriter;

// Most echo lines start in column 11.
Line Col11() { return Line().x(10); }

void PutAt11(RecordWriter& out, std::string_view text) { out.put(Col11().a(text)); }

// A text in a fixed-width character field: cut at the width or filled with blanks.
std::string Field(const std::string& text, std::size_t width) {
    std::string field = text.substr(0, width);
    field.resize(width, ' ');
    return field;
}

// Unit labels always take their full width (three characters, seven for the unit weight), so the
// columns after a label stay put whatever the label.
std::string Label3(const std::string& label) { return Field(label, 3); }
std::string Label7(const std::string& label) { return Field(label, 7); }

bool Selected(const PileModel& pile, int inputMethod) { return pile.methodSelected[inputMethod] == 1; }

// Input order of the methods (see PileModel::methodSelected).
constexpr int kUsaceInput = 2;
constexpr int kApiInput = 4;
constexpr int kIcpInput = 7;

// Number of soil data points given in the input.
int PointCount(const Model& model) { return model.soil.count; }

// Depth of the deepest soil data point; no point at all means no soil below the surface.
double LastPointDepth(const Model& model) {
    const int n = PointCount(model);
    return n >= 1 ? model.soil.point[n].depth : 0.0;
}

}  // namespace

// ------------------------------------------------------------------------------------------------
// Required depth of soil information: the embedded pile projected on the vertical plus two pile
// diameters below the tip, where the tip resistance draws its soil from.
double RequiredSoilDepth(const PileModel& pile) {
    const double vertical = pile.embeddedLength * std::cos(pile.batterAngle);
    if (pile.unitSystem == 1) return vertical + 2.0 * pile.outsideDiameter / 12.0;
    if (pile.unitSystem == 2) return vertical + 2.0 * pile.outsideDiameter / 1000.0;
    return 0.0;
}

namespace {

// ------------------------------------------------------------------------------------------------
// Method lines of the load-transfer method and of the capacity methods, numbered in input order.
constexpr std::array<std::string_view, 9> kMethodLines = {
    "- FHWA (Federal Highway Administration)",
    "- USACE (U.S. Army Corps of Engineers)",
    "- Revised Lambda",
    "- API RP 2A (American Petroleum Institute)",
    "- Load-transfer Units specified by User",
    "- NGI (Norwegian Geotechnical Institute)",
    "- ICP/MTD (Imperial College of London)",
    "- FUGRO (Offshore Driven Piles in Sand)",
    "- UWA (University of Western Australia)",
};

void PutMethodLine(RecordWriter& out, int inputMethod) {
    if (inputMethod >= 1 && inputMethod <= 9) {
        PutAt11(out, kMethodLines[static_cast<std::size_t>(inputMethod - 1)]);
    }
}

void WriteHeading(RecordWriter& out, const Model& model) {
    out.blank(3);
    out.put("1");
    PutAt11(out, "*********************");
    PutAt11(out, "* INPUT INFORMATION *");
    PutAt11(out, "*********************");

    out.blank(3);
    PutAt11(out, Field(model.title, 70));
    out.blank();
    out.put(Col11().a("DESIGNER   : ").a(Field(model.designer, 60)));
    out.blank();
    out.put(Col11().a("JOB NUMBER : ").a(Field(model.jobNumber, 60)));
}

void WriteLoadTransferMethod(RecordWriter& out, const PileModel& pile) {
    out.blank(2);
    PutAt11(out, "METHOD FOR UNIT LOAD TRANSFERS : ");
    out.blank();
    PutMethodLine(out, pile.loadTransferMethod);
    if (pile.reducedSideFriction == 1) {
        PutAt11(out, "  Reduced Unit Side Friction and Unit Side Resistance are used.");
    } else {
        PutAt11(out, "  Unfactored Unit Side Friction and Unit Side Resistance are used.");
    }
}

void WriteCriticalDepthOption(RecordWriter& out, const Model& model) {
    const PileModel& pile = model.pile;
    switch (pile.criticalDepthOption) {
        case 0:
            PutAt11(out, "  # Critical Depth Method for Sand:");
            PutAt11(out, "    10 to 20 Pile Diameter based on the Density");
            break;
        case 1:
            PutAt11(out, "  # Critical Depth Method for Sand:");
            PutAt11(out, "    At Effective Stress Reaching 3,500 psf (185 kPa)");
            break;
        case 2:
            PutAt11(out, "  # Critical Depth Method for Sand:");
            out.put(Col11()
                        .a("    At User-Specified Critical Depth =")
                        .f(pile.userCriticalDepth, 10, 2)
                        .x(1)
                        .a(Label3(model.labels.length)));
            break;
        default:
            break;
    }
    if (pile.longPileOption == 1) PutAt11(out, "  Use Long Pile Option");
}

void WriteCapacityMethods(RecordWriter& out, const Model& model) {
    const PileModel& pile = model.pile;
    out.blank(3);
    PutAt11(out, "COMPUTATION METHOD(S) FOR PILE CAPACITY : ");
    out.blank();
    for (int m = 1; m <= 9; ++m) {
        if (!Selected(pile, m)) continue;
        PutMethodLine(out, m);
        if (m == kUsaceInput) WriteCriticalDepthOption(out, model);
        if (m == kIcpInput) {
            PutAt11(out, pile.clayDrained == 1 ? "  # Use Drained Condition for Clay"
                                               : "  # Use Undrained Condition for Clay");
        }
    }
}

void WriteLoading(RecordWriter& out, const PileModel& pile) {
    out.blank(2);
    PutAt11(out, "TYPE OF LOADING : ");
    if (pile.tensionLoading == 1) {
        PutAt11(out, "- TENSION  ");
        if (Selected(pile, kApiInput)) {
            out.put(Col11().a("  REDUCTION FACTOR FOR TENSION LOADING =").f(pile.tensionReductionFactor, 10, 2));
        }
    } else {
        PutAt11(out, "- COMPRESSION  ");
    }
}

void PutTipClosure(RecordWriter& out, const PileModel& pile) {
    if (pile.tipClosure == 0) {
        PutAt11(out, "- Open-Ended Pile");
    } else if (pile.tipClosure == 1) {
        PutAt11(out, "- Close-Ended Pile");
    }
}

void WritePileType(RecordWriter& out, const PileModel& pile) {
    out.blank(2);
    PutAt11(out, "PILE TYPE : ");
    out.blank();
    switch (pile.pileType) {
        case 1:
            PutAt11(out, "Steel pipe pile or non-tapered portion of monotube pile");
            PutTipClosure(out, pile);
            break;
        case 2: PutAt11(out, "Timber pile"); break;
        case 3:
            if (pile.perimeter != 0.0) {
                PutAt11(out, "Precast concrete pile (Square/Rectangular/Orthogonal)");
            } else {
                PutAt11(out, "Precast concrete pile (Circular/Tubular)");
                PutTipClosure(out, pile);
            }
            break;
        case 4: PutAt11(out, "Raymond step-taper pile"); break;
        case 5: PutAt11(out, "Raymond Uniform taper pile"); break;
        case 6: PutAt11(out, "H-Pile/Steel Pile"); break;
        case 7: PutAt11(out, "Tapered portion of Monotube pile"); break;
        default: break;
    }
    // The taper only changes the API side friction, so it is echoed for the tapered types then.
    const bool taperedType =
        pile.pileType == 2 || pile.pileType == 4 || pile.pileType == 5 || pile.pileType == 7;
    if (Selected(pile, kApiInput) && taperedType && pile.taperAngle > 0.0) {
        out.put(Col11().a("Angle of taper for a tapered pile  (degrees) =").f(pile.taperAngle, 10, 2));
    }
}

void WriteAxialStiffness(RecordWriter& out, Model& model) {
    PileModel& pile = model.pile;
    const UnitLabels& labels = model.labels;
    out.blank(2);
    PutAt11(out, "DATA FOR AXIAL STIFFNESS : ");
    out.blank();
    out.put(Col11().a("- MODULUS OF ELASTICITY     =").e(pile.elasticModulus, 10, 3).x(1).a(Label3(labels.modulus)));

    // The stiffness area is settled here, from the area mode and the section.
    ComputeSectionArea(pile);
    if (pile.areaMode < 2) {
        out.put(Col11().a("- CROSS SECTION AREA        =").f(pile.sectionArea, 10, 2).x(1).a(Label3(labels.area)));
        return;
    }
    PutAt11(out, "- CROSS SECTION AREA ALONG PILE LENGTH");
    out.put(Col11().a(" DIST.,").a(Label3(labels.length)).x(10).a(" AREA,").a(Label3(labels.area)));
    for (int r = 1; r <= pile.areaCount; ++r) {
        out.put(Line().x(10).f(pile.areaDistance[r], 10, 2).x(10).f(pile.areaValue[r], 10, 2));
    }
}

// One "- NAME =   value UNIT" line of the geometry block.
void PutItem(RecordWriter& out, std::string_view text, double value, const std::string& unit) {
    out.put(Col11().a(text).f(value, 10, 2).x(1).a(unit));
}

// Lengths along the pile, all as the user gave them.
void PutLengthItems(RecordWriter& out, const Model& model) {
    const PileModel& pile = model.pile;
    const std::string length = Label3(model.labels.length);
    PutItem(out, "- TOTAL PILE LENGTH, TL     =", pile.totalLengthAsRead, length);
    PutItem(out, "- BATTER ANGLE              =", pile.batterAngleAsRead, "DEG");
    PutItem(out, "- PILE STICKUP LENGTH, PSL  =", pile.stickupLength, length);
    PutItem(out, "- ZERO FRICTION LENGTH, ZFL =", pile.zeroFrictionLength, length);
}

void PutIncrementItem(RecordWriter& out, const Model& model) {
    PutAt11(out, "- INCREMENT OF PILE LENGTH");
    PutItem(out, "  USED IN COMPUTATION       =", model.pile.lengthIncrement, Label3(model.labels.length));
}

void PutEnhancedEndAndPlug(RecordWriter& out, const Model& model) {
    const PileModel& pile = model.pile;
    if (pile.enhancedEndLength != pile.embeddedLength) {
        PutAt11(out, "- LENGTH OF ENHANCED ");
        PutItem(out, "  END SECTION               =", pile.enhancedEndLength, Label3(model.labels.length));
        PutAt11(out, "- INTERNAL DIAMETER OF ");
        PutItem(out, "  ENHANCED END SECTION      =", pile.enhancedEndDiameter, Label3(model.labels.diameter));
    }
    out.blank(2);
    PutAt11(out, "PLUGGED/UNPLUGGED CONDITIONS : ");
    switch (pile.plugOption) {
        case 0: PutAt11(out, "Internal Pile Plug Calculated by Program"); break;
        case 1: PutAt11(out, "Plugged for open-ended pile"); break;
        case 2: PutAt11(out, "Unplugged for open-ended pile"); break;
        default: break;
    }
}

void WriteGeometry(RecordWriter& out, const Model& model) {
    const PileModel& pile = model.pile;
    const std::string diameter = Label3(model.labels.diameter);
    const bool nonCircular = pile.pileType == 6 || (pile.pileType == 3 && pile.perimeter > 0.0);
    out.blank(2);
    if (nonCircular) {
        PutAt11(out, "NONCIRCULAR PILE PROPERTIES : ");
        out.blank();
        PutLengthItems(out, model);
        PutItem(out, "- PERIMETER OF PILE         =", pile.perimeter, diameter);
        PutItem(out, "- TIP AREA OF PILE          =", pile.crossSectionAreaAsRead, Label3(model.labels.area));
        PutIncrementItem(out, model);
        return;
    }

    PutAt11(out, "CIRCULAR PILE PROPERTIES : ");
    out.blank();
    const bool steelPipe = pile.pileType == 1;
    const bool circularConcrete = pile.pileType == 3 && pile.perimeter == 0.0;
    if (steelPipe || circularConcrete) {
        PutItem(out, "- OUTSIDE DIAMETER, OD      =", pile.outsideDiameterAsRead, diameter);
        PutItem(out, "- INTERNAL DIAMETER, ID     =", pile.insideDiameter, diameter);
        PutLengthItems(out, model);
        PutIncrementItem(out, model);
        // A closed concrete tip has neither an enhanced end section nor a soil plug.
        if (steelPipe || pile.tipClosure == 0) PutEnhancedEndAndPlug(out, model);
        return;
    }
    const bool solidSection = pile.pileType == 3 || pile.pileType == 2 || pile.pileType == 4 ||
                              pile.pileType == 5 || pile.pileType == 7;
    if (solidSection) {
        PutItem(out, "- OUTSIDE DIAMETER, OD      =", pile.outsideDiameterAsRead, diameter);
        PutLengthItems(out, model);
        PutIncrementItem(out, model);
    }
}

// ------------------------------------------------------------------------------------------------
// Bearing capacity factor for a point without one, from the friction angle: the chart value at the
// angle less five degrees, as a conservative estimate for driven piles.
constexpr std::array<double, 5> kBearingChartAngle = {15.0, 20.0, 25.0, 30.0, 35.0};
constexpr std::array<double, 5> kBearingChartFactor = {8.0, 12.0, 20.0, 40.0, 50.0};

double EstimatedBearingFactor(double frictionAngle) {
    return ClampedInterpolation(kBearingChartAngle, kBearingChartFactor, frictionAngle - 5.0);
}

std::string_view SoilName(double soilType) {
    if (soilType == 1.0) return "SAND";
    if (soilType == 2.0) return "CLAY";
    if (soilType == 3.0) return "SILT";
    return {};
}

void WriteSoilTable(RecordWriter& out, const Model& model) {
    const SoilProfile& soil = model.soil;
    const int n = PointCount(model);

    bool earthPressureAssumed = false;
    bool bearingFactorEstimated = false;
    for (int v = 1; v <= n; ++v) {
        if (soil.point[v].earthPressureCoeff == 0.0) earthPressureAssumed = true;
        if (soil.point[v].bearingFactor == 0.0) bearingFactorEstimated = true;
    }

    out.blank(3);
    PutAt11(out, "SOIL INFORMATIONS :");
    out.blank();
    out.put(Line().x(10).x(53));
    out.blank();
    PutAt11(out, "                  LATERAL    EFFECTIVE    FRICTION   BEARING");
    PutAt11(out, "          SOIL    EARTH      UNIT         ANGLE      CAPACITY");
    PutAt11(out, " DEPTH    TYPE    PRESSURE   WEIGHT       DEGREES    FACTOR");
    out.put(Line().x(12).a(Label3(model.labels.length)).x(24).a(Label7(model.labels.unitWeight)));

    // A point of unknown type carries the name of the point above it.
    std::string name = "    ";
    for (int v = 1; v <= n; ++v) {
        const SoilLayer& p = soil.point[v];
        if (const std::string_view known = SoilName(p.soilType); !known.empty()) name = known;

        const bool assumed = p.earthPressureCoeff == 0.0;
        const bool estimated = p.bearingFactor == 0.0;
        const double earthPressure = assumed ? kEarthPressureDefault : p.earthPressureCoeff;
        const double bearingFactor = estimated ? EstimatedBearingFactor(p.frictionAngle) : p.bearingFactor;
        Line row = Line().x(10).f(p.depth, 7, 2).x(3).a(name).f(earthPressure, 10, 2);
        if (!assumed && !estimated) {
            row.f(p.effectiveUnitWeight, 13, 2).f(p.frictionAngle, 13, 2).f(bearingFactor, 10, 2);
        } else {
            row.a(assumed ? "* " : "  ")
                .f(p.effectiveUnitWeight, 11, 2)
                .f(p.frictionAngle, 13, 2)
                .f(bearingFactor, 10, 2)
                .a(estimated ? "**" : "  ");
        }
        out.put(row);
    }

    if (earthPressureAssumed || bearingFactorEstimated) out.blank();
    if (earthPressureAssumed) PutAt11(out, "*  VALUE ASSUMED BY THE PROGRAM ");
    if (bearingFactorEstimated) PutAt11(out, "** VALUE ESTIMATED BY THE PROGRAM BASED ON FRICTION ANGLE");
}

void WriteStrengthTable(RecordWriter& out, const Model& model) {
    const SoilProfile& soil = model.soil;
    const std::string stress = Label3(model.labels.stress);
    const int n = PointCount(model);

    out.blank(3);
    PutAt11(out, "MAXIMUM   MAXIMUM   UNDISTURB  REMOLDED ");
    PutAt11(out, "UNIT      UNIT      SHEAR      SHEAR     BLOW   UNIT SKIN  UNIT END");
    PutAt11(out, "FRICTION  BEARING   STRENGTH   STRENGTH  COUNT  FRICTION   BEARING");
    out.put(Line().x(12).a(stress).x(7).a(stress).x(8).a(stress).x(7).a(stress).x(15).a(stress).x(7).a(stress));

    // The last two columns are the user's unit side friction and end bearing, psf shown as ksf.
    const double userScale = model.pile.english() ? 1000.0 : 1.0;
    bool anyDefault = false;
    for (int v = 1; v <= n; ++v) {
        const SoilLayer& p = soil.point[v];
        const bool frictionDefault = soil.frictionDefault[v];
        const bool bearingDefault = soil.bearingDefault[v];
        anyDefault = anyDefault || frictionDefault || bearingDefault;
        out.put(Line()
                    .x(9)
                    .e(p.maxUnitFriction, 9, 2)
                    .a(frictionDefault ? "*" : " ")
                    .e(p.maxUnitBearing, 9, 2)
                    .a(bearingDefault ? "*" : " ")
                    .f(p.undrainedShearStrength, 11, 2)
                    .f(p.remoldedShearStrength, 10, 2)
                    .f(p.blowCount, 7, 2)
                    .f(p.userUnitFriction / userScale, 11, 2)
                    .f(p.userUnitBearing / userScale, 10, 2));
    }

    if (anyDefault) {
        out.blank();
        PutAt11(out, "* MAXIMUM UNIT FRICTION AND/OR MAXIMUM UNIT BEARING ");
        PutAt11(out, "  WERE SET TO BE 0.10E+08 BECAUSE THE USER DOES NOT ");
        PutAt11(out, "  PLAN TO LIMIT THE COMPUTED DATA.");
    }
}

void WriteLrfdTable(RecordWriter& out, const Model& model) {
    const SoilProfile& soil = model.soil;
    out.blank(3);
    PutAt11(out, "         LRFD FACTOR  LRFD FACTOR    ");
    PutAt11(out, "          ON UNIT      ON UNIT       ");
    PutAt11(out, " DEPTH    FRICTION     BEARING   ");
    out.put(Line().x(12).a(Label3(model.labels.length)));
    for (int v = 1; v <= PointCount(model); ++v) {
        const SoilLayer& p = soil.point[v];
        out.put(Line().x(10).f(p.depth, 7, 2).x(1).f(p.lrfdFriction, 8, 3).x(4).f(p.lrfdBearing, 8, 3));
    }
}

void WriteCptTable(RecordWriter& out, const Model& model) {
    const SoilProfile& soil = model.soil;
    const int n = PointCount(model);
    out.blank(2);
    out.put(Line().x(10).x(53));
    out.blank();
    PutAt11(out, "        PLASTIC    YIELD      Qc                             ");
    PutAt11(out, "         INDEX    STRESS     FROM                            ");
    PutAt11(out, " DEPTH     PI      RATIO     CPT                             ");
    out.put(Line().x(12).a(Label3(model.labels.length)).x(6).a("%").x(17).a(Label3(model.labels.stress)));
    for (int v = 1; v <= n; ++v) {
        const SoilLayer& p = soil.point[v];
        // The cone resistance is kept in psf in English units; the table shows ksf.
        const double cone = model.pile.english() ? p.coneResistance / 1000.0 : p.coneResistance;
        out.put(Line()
                    .x(10)
                    .f(p.depth, 7, 2)
                    .x(1)
                    .f(p.plasticityIndex, 6, 2)
                    .x(3)
                    .f(p.blowCount, 6, 2)
                    .x(3)
                    .e(cone, 10, 3));
    }
}

void WriteResultBanner(RecordWriter& out) {
    out.blank(3);
    out.put("1");
    PutAt11(out, "**********************");
    PutAt11(out, "* COMPUTATION RESULT *");
    PutAt11(out, "**********************");
}

}  // namespace

// ================================================================================================

bool CheckSoilExtent(Run& run) {
    const std::string length = Label3(run.labels.length);
    const double required = RequiredSoilDepth(run.pile);

    // Soil data points that stop short only weaken the interpolation near the tip: a warning.
    if (required > LastPointDepth(run)) {
        run.console.blank(3);
        PutAt11(run.console, "COMPUTATION DOES NOT PROCEED BECAUSE NO SOIL INFORMATION");
        run.console.put(Col11().a("WAS PROVIDED AT THE DEPTH ").f(required, 10, 2).x(1).a(length));
        PutAt11(run.console, "PLEASE NOTE THAT SOIL SHOULD EXTEND AT LEAST THE ");
        PutAt11(run.console, " PILE LENGTH PLUS TWO PILE DIAMETERS");
    }

    // A profile that ends above the tip zone leaves the grid without soil: the run stops.
    if (required > run.pile.deepestSoilDepth) {
        run.report.blank(2);
        run.report.put(Col11()
                           .a("COMPUTATION DOES NOT PROCEED BECAUSE THE DEEPEST SOIL PROFILE ")
                           .f(run.pile.deepestSoilDepth, 7, 2)
                           .x(1)
                           .a(length));
        run.report.put(Col11()
                           .a("IS LESS THAN PILE EMBEDDED LENGTH PLUS TWO TIMES THE PILE DIAMETER ")
                           .f(required, 10, 2)
                           .x(1)
                           .a(length));
        run.status = kStatusStopped;
        return false;
    }
    return true;
}

void WriteInputEcho(Run& run) {
    run.console.blank(2);
    run.console.put(Line().x(9).a("COMPUTATION IS PROCEEDING........"));

    RecordWriter& out = run.report;
    WriteHeading(out, run);
    WriteLoadTransferMethod(out, run.pile);
    WriteCapacityMethods(out, run);
    WriteLoading(out, run.pile);
    WritePileType(out, run.pile);
    WriteAxialStiffness(out, run);
    WriteGeometry(out, run);
    WriteSoilTable(out, run);
    WriteStrengthTable(out, run);
    WriteLrfdTable(out, run);
    if (run.pile.cptDataSwitch > 0) WriteCptTable(out, run);
    WriteResultBanner(out);
}

}  // namespace pileaxial
