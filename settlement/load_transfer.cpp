#include "settlement/load_transfer.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "capacity/result_check.hpp"
#include "settlement/tz_curves.hpp"
#include "textio/input_error.hpp"

namespace pileaxial {

namespace {

constexpr double kPerimeterFactor = 3.1416f;         // perimeter = 3.1416 D
constexpr double kMovementTolerance = 1.0e-4f;      // increment accepted when w' moves less than this
constexpr double kGivenArea = 1.0e-5f;              // an area counts as given above this
constexpr double kDefaultPeakRatio = 0.01f;         // movement at peak friction: 1 % of the diameter
constexpr double kDefaultResidualRatio = 0.9f;      // residual over peak friction in cohesive soil
constexpr double kDefaultFailureRatio = 0.05f;      // tip movement at failure: 5 % of the diameter
constexpr double kPrintedPairThickness = 0.11f;     // soil points closer than this get no printed curves
constexpr double kInchesPerMetreTip = 39.79f;
// Default assumed tip movements, inches (SI: divided by 39.79, metres).
constexpr std::array<float, 13> kDefaultTipMovements = {0.0001f, 0.001f, 0.005f, 0.01f, 0.02f, 0.05f, 0.08f,
                                                        0.1f,    0.2f,   0.5f,   0.8f,  1.0f,  2.0f};

// Factors from the model's units to the solver's working units: English works in inches, pounds and
// psi; SI in metres, kN and kPa (diameters from millimetres to metres).
struct WorkingUnits {
    bool english = true;
    double length = 1;    // ft -> in
    double force = 1;     // kips -> lb
    double stress = 1;    // ksf -> psi
    double diameter = 1;  // mm -> m
};

WorkingUnits UnitsOf(const PileModel& pile) {
    WorkingUnits u;
    u.english = pile.english();
    if (u.english) {
        u.length = 12.0;
        u.force = 1000.0;
        u.stress = 1000.0 / 144.0;
    } else {
        u.diameter = 0.001;
    }
    return u;
}

std::string Trimmed(const std::string& field) { return field.substr(field.find_first_not_of(' ')); }

// A t-z curve at a depth (working units from the pile head, and ft or m below the ground) with its
// ultimate transfer, shaped by the soil of the layer table there and the user's multipliers.
void BuildTzCurve(const Run& run, TzCurve& c, double depthFromHead, double depthBelowGround, double tMax,
                  double diameter) {
    const SoilProfile& soil = run.soil;
    const TzShape shape = run.pile.loadTransferMethod == 2 ? TzShape::Usace : TzShape::Standard;
    const bool si = !run.pile.english();
    c.depthFromHead = depthFromHead;
    c.depthBelowGround = depthBelowGround;
    c.tMax = tMax;
    c.cohesive = LayerSoilTypeAt(soil, depthBelowGround) == 2.0;
    c.frictionAngle = LayerValueAt(soil, depthBelowGround, &SoilLayer::frictionAngle);
    double zPeak = LayerValueAt(soil, depthBelowGround, &SoilLayer::peakMovement);
    if (zPeak <= kNotGivenTolerance) zPeak = kDefaultPeakRatio * diameter;
    double rRes = LayerValueAt(soil, depthBelowGround, &SoilLayer::residualRatio);
    if (rRes <= kNotGivenTolerance) rRes = kDefaultResidualRatio;
    if (c.cohesive) {
        ClayTzCurve(c, zPeak, rRes, shape, si);
    } else {
        SandTzCurve(c, zPeak, shape, si);
    }
    ApplyTzMultipliers(c, TzMultipliersAt(run.settlement, depthBelowGround));
}

// Axial stiffness AE at a distance s from the pile head (working units): the area table when it has
// more than one row (distances along the pile; outside them the first or last row), else one section.
double AxialStiffnessAt(const PileModel& pile, const WorkingUnits& u, double s, double uniformStiffness) {
    const int rows = std::min(pile.areaCount, kMaxAreaRows);
    if (rows <= 1) return uniformStiffness;
    const double e = pile.elasticModulus;
    if (s <= pile.areaDistance[1] * u.length) return pile.areaValue[1] * e;
    for (int i = 2; i <= rows; ++i) {
        const double d0 = pile.areaDistance[i - 1] * u.length;
        const double d1 = pile.areaDistance[i] * u.length;
        if (s <= d1 && s > d0) {
            const double a = pile.areaValue[i - 1] + (pile.areaValue[i] - pile.areaValue[i - 1]) * (s - d0) / (d1 - d0);
            return a * e;
        }
    }
    return pile.areaValue[rows] * e;
}

// Stiffness of a pile of one section: the uniform or derived section area, else the area as given,
// else the steel ring of the diameters (working units).
double UniformAxialStiffness(const PileModel& pile, const WorkingUnits& u, double d, double di) {
    double area = 0.7854f * (d * d - di * di);
    const double givenArea = pile.crossSectionArea * (u.english ? 144.0 : 1.0);
    if (pile.sectionArea > kGivenArea) {
        area = pile.sectionArea;
    } else if (givenArea > kGivenArea) {
        area = givenArea;
    }
    return pile.elasticModulus * area;
}

// The unit load transfer at vertical depth v from the head: between the two curves whose depths bracket
// it, the first curve above the first, the last below the last.  Found once per increment, read on
// every pass of its iteration.
struct CurveBracket {
    int upper = 1;
    int lower = 1;
    double weight = 0;  // share of the lower curve
};

CurveBracket BracketAt(const LoadSettlementState& st, double v) {
    CurveBracket b;
    const int n = st.curveCount;
    if (v <= st.curves[1].depthFromHead) return b;
    if (v >= st.curves[n].depthFromHead) {
        b.upper = b.lower = n;
        return b;
    }
    for (int k = 1; k < n; ++k) {
        const double d0 = st.curves[k].depthFromHead;
        const double d1 = st.curves[k + 1].depthFromHead;
        if (v >= d0 && v <= d1) {
            b.upper = k;
            b.lower = k + 1;
            b.weight = d1 > d0 ? (v - d0) / (d1 - d0) : 0.0;
            return b;
        }
    }
    return b;
}

double TransferAt(const LoadSettlementState& st, const CurveBracket& b, double w) {
    const double t0 = TzTransferAt(st.curves[b.upper], w);
    if (b.lower == b.upper) return t0;
    const double t1 = TzTransferAt(st.curves[b.lower], w);
    return t0 + (t1 - t0) * b.weight;
}

}  // namespace

double NodeSideFrictionAt(const Run& run, double depthBelowGround) {
    const CapacityState& cap = run.capacity();
    const NodeArray& f = cap.current.LimitedUnitSideFriction;
    const int nodes = cap.pileNodeCount;
    if (nodes < 1) return 0.0;
    const double h = run.pile.verticalIncrement;
    if (depthBelowGround <= 0.0 || nodes == 1 || h <= 0.0) return f[1];
    const double last = (nodes - 1) * h;
    if (depthBelowGround >= last) return f[nodes];
    const double position = depthBelowGround / h;
    const int k = std::min(static_cast<int>(position) + 1, nodes - 1);  // node above the depth
    const double z0 = (k - 1) * h;
    return f[k] + (f[k + 1] - f[k]) * (depthBelowGround - z0) / h;
}

void LoadTransferSolver(Run& run) {
    const PileModel& pile = run.pile;
    const CapacityState& cap = run.capacity();
    LoadSettlementState& st = run.loadSettlement();
    const WorkingUnits u = UnitsOf(pile);
    // Counts and the distribution are reset; the fixed slots are overwritten up to the new counts.
    st.computed = false;
    st.english = u.english;
    st.printedCurveCount = 0;
    st.points.fill(SettlementPoint{});

    const double cosb = std::cos(pile.batterAngle);
    const double d = pile.outsideDiameter * u.diameter;
    const double di = pile.insideDiameter * u.diameter;
    const double embedded = pile.embeddedLength * u.length;
    const double stickup = pile.stickupLength * u.length;
    const int curveCount = std::clamp(cap.plotRowCount, 1, kMaxTzCurves);

    // Increments along the pile, numbered from the tip up: what does not change from pass to pass.
    // The pile must be stiff everywhere before anything is solved.
    struct Increment {
        double s = 0;  // distance of the midpoint from the head
        double stiffness = 0;
        bool noFriction = false;
        CurveBracket bracket;
    };
    const int n = curveCount;
    const double dz = (stickup + embedded) / n;
    const double uniformStiffness = UniformAxialStiffness(pile, u, d, di);
    const double zeroFriction = pile.zeroFrictionLength * u.length;
    st.incrementCount = n;
    st.incrementLength = dz / u.length;
    std::vector<Increment> increments(static_cast<std::size_t>(n));
    for (int j = 1; j <= n; ++j) {
        Increment& inc = increments[static_cast<std::size_t>(j - 1)];
        inc.s = stickup + embedded - (j - 0.5) * dz;
        inc.stiffness = AxialStiffnessAt(pile, u, inc.s, uniformStiffness);
        inc.noFriction = zeroFriction > inc.s;
        if (!(inc.stiffness > 0.0)) {
            throw InputError(run.files.inputName + ", record A2 (cross-section area along the pile): the axial "
                             "stiffness AE of the pile is not positive at " + Trimmed(textio::formatF(inc.s / u.length, 12, 2)) +
                             " " + (u.english ? "ft" : "m") + " from the pile head, so the load-settlement "
                             "analysis cannot proceed");
        }
    }

    // t-z curves at the printed pile lengths, the first at the ground surface.  Above the ground (a
    // stick-up) the pile carries no side load, and neither does the curve at the surface then.
    st.curveCount = curveCount;
    for (int k = 1; k <= curveCount; ++k) {
        const double offset = curveCount > 1 ? (k - 1) * embedded * cosb / (curveCount - 1) : 0.0;
        const double depthFromHead = offset + stickup * cosb;
        const double belowGround = (depthFromHead - stickup * cosb) / u.length;
        const double tMax = k == 1 && pile.stickupLength > 0.0 ? 0.0 : NodeSideFrictionAt(run, belowGround) * u.stress;
        BuildTzCurve(run, st.curves[k], depthFromHead, belowGround, tMax, d);
    }

    // The printed set: at the top of every soil interval, in its middle and just above its bottom.
    for (int i = 1; i < run.soil.count; ++i) {
        const double top = run.soil.point[i].depth;
        const double bottom = run.soil.point[i + 1].depth;
        if (bottom - top < kPrintedPairThickness) continue;
        const std::array<double, 3> depths =
            u.english ? std::array<double, 3>{12.0 * top, (12.0 * top + 12.0 * bottom + 0.6f) / 2.0, 12.0 * bottom - 0.5f}
                      : std::array<double, 3>{top, (top + bottom) / 2.0, bottom - 0.1f};
        for (const double depth : depths) {
            const double belowGround = depth / u.length;
            TzCurve& c = st.printedCurves[++st.printedCurveCount];
            BuildTzCurve(run, c, depth + stickup * cosb, belowGround, NodeSideFrictionAt(run, belowGround) * u.stress, d);
        }
    }

    // Tip curve, in working units.
    const int tip = pile.tipNodeCount;
    const double maxTipLoad = cap.current.EndBearing[tip] * u.force;
    TipCurve tipCurve;
    if (pile.loadTransferMethod == 2) {
        double failureMovement = run.grid.segTipOrCaseValue[tip];
        if (failureMovement <= kNotGivenTolerance) failureMovement = kDefaultFailureRatio * d;
        const double tipSoilType = LayerSoilTypeAt(run.soil, pile.embeddedLength * cosb);
        tipCurve = UsaceTipCurve(maxTipLoad, d, failureMovement, tipSoilType, st.curves[curveCount].frictionAngle,
                                 !u.english);
    } else {
        tipCurve = StandardTipCurve(maxTipLoad, d);
    }
    if (run.settlement.scaleFactorSwitch == 1) {
        for (std::size_t j = 0; j < kTzPointCount; ++j) {
            tipCurve.load[j] *= run.settlement.tipLoadFactor;
            tipCurve.movement[j] *= run.settlement.tipMovementFactor;
        }
    }
    for (std::size_t j = 0; j < kTzPointCount; ++j) {
        st.tipCurve.load[j] = tipCurve.load[j] / u.force;
        st.tipCurve.movement[j] = tipCurve.movement[j];
    }

    // Assumed tip movements: the user's list, else the defaults.
    const SettlementInput& in = run.settlement;
    const bool userList = in.settlementListSwitch == 1 && in.tipMovementCount >= 1;
    st.pointCount = userList ? std::min(in.tipMovementCount, kMaxTipMovements)
                             : static_cast<int>(kDefaultTipMovements.size());
    for (int i = 1; i <= st.pointCount; ++i) {
        const double inches = kDefaultTipMovements[static_cast<std::size_t>(i - 1) % kDefaultTipMovements.size()];
        st.points[i].tipMovement = userList ? in.tipMovement[i] : (u.english ? inches : inches / kInchesPerMetreTip);
    }

    for (Increment& inc : increments) inc.bracket = BracketAt(st, inc.s * cosb);

    // One step per assumed tip movement: from the tip up, each increment iterated on the movement of
    // its middle until it agrees with the load transfer it mobilises.
    const double perimeter = kPerimeterFactor * d;
    st.loadDistribution.assign(static_cast<std::size_t>(st.pointCount) * static_cast<std::size_t>(n), {});
    for (int i = 1; i <= st.pointCount; ++i) {
        SettlementPoint& point = st.points[i];
        const double tipMovement = point.tipMovement;
        const double tipLoad = TipLoadAt(tipCurve, tipMovement);
        double qBottom = tipLoad;
        double zBottom = tipMovement;
        double w = tipMovement;
        for (int j = 1; j <= n; ++j) {
            const Increment& inc = increments[static_cast<std::size_t>(j - 1)];
            double qTop = qBottom;
            double qAverage = qBottom;
            double zTop = zBottom;
            double wNew = w;
            for (int pass = 1; pass <= kMaxIterations; ++pass) {
                const double t = inc.noFriction ? 0.0 : TransferAt(st, inc.bracket, w);
                const double dq = perimeter * dz * t;
                qAverage = qBottom + 0.5 * dq;
                qTop = qBottom + dq;
                zTop = zBottom + dz * qAverage / inc.stiffness;
                wNew = ((qBottom + qTop) / 2.0 + qBottom) * (dz / 4.0) / inc.stiffness + zBottom;
                point.maxIterations = std::max(point.maxIterations, pass);
                if (std::fabs(wNew - w) <= kMovementTolerance) break;
                if (pass == kMaxIterations) {
                    point.converged = false;
                    break;
                }
                w = wNew;
            }
            IncrementRecord& record =
                st.loadDistribution[static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(n) + static_cast<std::size_t>(j - 1)];
            record.midpointDistance = inc.s / u.length;
            record.averageLoad = qAverage / u.force;
            record.midpointMovement = wNew;
            qBottom = qTop;
            zBottom = zTop;
            w = zTop;
        }
        point.topLoad = qBottom / u.force;
        point.topMovement = zBottom;
        point.tipLoad = tipLoad / u.force;
    }
    st.computed = true;
}

namespace {

using textio::Line;

struct SettlementLabels {
    const char* depth;
    const char* stress;
    const char* movement;
    const char* force;
};

SettlementLabels LabelsOf(bool english) {
    if (english) return {"FT.", "PSI", "IN.", "KIP"};
    return {"M. ", "KPA", "M. ", "KN."};
}

// List-directed output of one integer, as the host reads counts from the plot-data file.
Line CountRecord(int count) { return Line().i(count, 12); }

void WriteNotes(Run& run) {
    textio::RecordWriter& out = run.report;
    out.blank(2);
    out.put(Line().x(12).a("NOTES:"));
    out.put(Line().x(12).a("- AN ASTERISK IS PLACED IN THE END-BEARING COLUMN"));
    out.put(Line().x(12).a("  IF THE TIP RESISTANCE IS CONTROLLED BY THE FRICTION"));
    out.put(Line().x(12).a("  OF SOIL PLUG INSIDE AN OPEN-ENDED PIPE PILE."));
    out.blank();
    if (run.pile.tensionLoading == 1) {
        out.blank();
        out.put(Line().x(12).a("- A NEGATIVE SELF-WEIGHT VALUE IS DUE TO THE"));
        out.put(Line().x(12).a("  BOUYANCY EFFECT."));
        out.blank();
    }
}

void WriteBanner(Run& run) {
    textio::RecordWriter& out = run.report;
    const std::string stars(49, '*');
    out.blank(2);
    out.put(Line().x(16).a(stars));
    out.put(Line().x(16).a("* COMPUTE LOAD-DISTRIBUTION AND LOAD-SETTLEMENT *"));
    out.put(Line().x(16).a("* CURVES FOR AXIAL LOADING                      *"));
    out.put(Line().x(16).a(stars));
    out.blank(2);
}

void WriteTzTableHeading(Run& run, const SettlementLabels& labels) {
    run.report.put(Line().x(8).a("T-Z CURVE   NO. OF   DEPTH TO CURVE   LOAD ").a("TRANSFER   PILE MOVEMENT"));
    run.report.put(Line().x(11).a("NO.").x(6).a("POINTS").x(8).a(labels.depth).x(14).a(labels.stress).x(13).a(labels.movement));
    run.report.blank();
}

// The heading line of curve `number` to the report; with `withPoints` the same line and its ten points
// to the report and the plot-data file.
void WriteTzCurve(Run& run, int number, const TzCurve& c, bool withPoints) {
    const Line heading = Line().x(8).i(number, 5).i(kTzPointCount, 11).e(c.depthBelowGround, 16, 4);
    run.report.put(heading);
    if (!withPoints) return;
    run.plot.put(heading);
    Line point;
    for (std::size_t j = 0; j < kTzPointCount; ++j) {
        point.clear().x(40).e(c.t[j], 17, 4).e(c.z[j], 16, 4);
        run.report.put(point);
        run.plot.put(point);
    }
}

void WriteTzTable(Run& run, const LoadSettlementState& st, const SettlementLabels& labels) {
    WriteTzTableHeading(run, labels);
    run.plot.put(CountRecord(st.printedCurveCount));
    for (int k = 1; k <= st.printedCurveCount; ++k) WriteTzCurve(run, k, st.printedCurves[k], true);
}

void WriteTipCurve(Run& run, const LoadSettlementState& st, const SettlementLabels& labels) {
    run.report.blank(3);
    run.report.put(Line().x(8).a("TIP   LOAD").x(8).a("TIP MOVEMENT"));
    run.report.put(Line().x(12).a(labels.force).x(15).a(labels.movement));
    run.report.blank();
    for (std::size_t j = 0; j < kTzPointCount; ++j) {
        const Line row = Line().e(st.tipCurve.load[j], 18, 4).e(st.tipCurve.movement[j], 19, 4);
        run.report.put(row);
        run.plot.put(row);
    }
    run.plot.put(CountRecord(st.pointCount));
}

void WriteLoadDistribution(Run& run, const LoadSettlementState& st) {
    Line line;
    for (const IncrementRecord& r : st.loadDistribution) {
        run.plot.put(line.clear().e(r.midpointDistance, 16, 4).e(r.averageLoad, 16, 4).e(r.midpointMovement, 16, 4));
    }
}

void WriteSettlementTable(Run& run, const LoadSettlementState& st, const SettlementLabels& labels) {
    textio::RecordWriter& out = run.report;
    out.blank(3);
    out.put(Line().x(22).a("LOAD VERSUS SETTLEMENT CURVE"));
    out.put(Line().x(22).a(std::string(28, '*')));
    out.blank(3);
    out.put(Line().x(8).a("TOP  LOAD     TOP MOVEMENT       TIP  LOAD ").x(5).a("TIP MOVEMENT"));
    out.put(Line().x(11).a(labels.force).x(13).a(labels.movement).x(14).a(labels.force).x(12).a(labels.movement));
    for (int i = 1; i <= st.pointCount; ++i) {
        const SettlementPoint& p = st.points[i];
        const Line row = Line().e(p.topLoad, 17, 4).e(p.topMovement, 16, 4).e(p.tipLoad, 16, 4).e(p.tipMovement, 16, 4);
        out.put(row);
        run.plot.put(row);
    }
    // A step whose increments did not settle within the iteration cap is reported, never passed off as
    // a converged point.
    bool first = true;
    for (int i = 1; i <= st.pointCount; ++i) {
        const SettlementPoint& p = st.points[i];
        if (p.converged) continue;
        const Line line1 = Line().x(8).a("WARNING: AT THE ASSUMED TIP MOVEMENT OF").e(p.tipMovement, 12, 4).x(1).a(labels.movement);
        const Line line2 = Line().x(8).a("THE LOAD TRANSFER DID NOT CONVERGE WITHIN ").i(kMaxIterations, 4).a(" ITERATIONS;");
        const Line line3 = Line().x(8).a("THE POINT SHOWN IS THE RESULT OF THE LAST ITERATION.");
        for (textio::RecordWriter* w : {&run.report, &run.console}) {
            if (first) w->blank();
            w->put(line1);
            w->put(line2);
            w->put(line3);
        }
        first = false;
    }
}

}  // namespace

void WriteLoadSettlementResults(Run& run) {
    const LoadSettlementState& st = run.loadSettlement();
    const SettlementLabels labels = LabelsOf(st.english);
    WriteNotes(run);
    WriteBanner(run);
    WriteTzTable(run, st, labels);
    WriteTipCurve(run, st, labels);
    WriteLoadDistribution(run, st);
    WriteSettlementTable(run, st, labels);
}

void LoadSettlementAnalysis(Run& run) {
    LoadTransferSolver(run);
    CheckLoadSettlementFinite(run);
    WriteLoadSettlementResults(run);
}

void VerificationTzCurves(Run& run) {
    LoadSettlementState& st = run.loadSettlement();
    const WorkingUnits u = UnitsOf(run.pile);
    const SettlementInput& in = run.settlement;
    const double diameter = run.pile.outsideDiameter * u.diameter;
    const double stickup = run.pile.stickupLength * u.length * std::cos(run.pile.batterAngle);
    const double lastDepth = run.soil.count >= 1 ? run.soil.point[run.soil.count].depth : 0.0;

    // Every depth gets its curve, as the solver would build it there; only those within the profile
    // are printed.
    st.verificationCount = std::min(in.verificationCount, kMaxVerificationDepths);
    int inside = 0;
    for (int i = 1; i <= st.verificationCount; ++i) {
        const double depth = in.verificationDepth[i];
        st.verificationInside[i] = depth >= 0.0 && depth <= lastDepth;
        if (st.verificationInside[i]) ++inside;
        BuildTzCurve(run, st.verificationCurves[i], depth * u.length + stickup, depth,
                     NodeSideFrictionAt(run, depth) * u.stress, diameter);
    }
    CheckVerificationCurvesFinite(run);

    textio::RecordWriter& out = run.report;
    const std::string stars(49, '*');
    out.blank(2);
    out.put(Line().x(16).a(stars));
    out.put(Line().x(16).a("* COMPUTE INTERNALLY-GENERATED LOAD-TRANSFER    *"));
    out.put(Line().x(16).a("* (t-z) CURVES FOR VERIFICATION                 *"));
    out.put(Line().x(16).a(stars));
    out.blank(2);
    WriteTzTableHeading(run, LabelsOf(u.english));
    run.plot.put(CountRecord(inside));
    for (int i = 1; i <= st.verificationCount; ++i) {
        WriteTzCurve(run, i, st.verificationCurves[i], st.verificationInside[i]);
        if (!st.verificationInside[i]) out.put(Line().x(15).a("CURVE NOT PRINTED SINCE DEPTH OUTSIDE SOIL RANGE"));
    }
}

}  // namespace pileaxial
