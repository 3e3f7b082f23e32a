#pragma once
// Results of the load-settlement analysis of one run, kept as numbers so that the report, the plot-data
// file and any later reader format the same values.
//
// Units are those of the load-transfer analysis:
//   English: movements in inches, unit load transfer in psi, loads in kips, depths and distances in feet;
//   SI:      movements in metres, unit load transfer in kPa, loads in kN, depths and distances in metres.
#include <array>
#include <vector>

#include "model/model.hpp"

namespace pileaxial {

inline constexpr int kTzPointCount = 10;
// The solver places one t-z curve per printed pile length, and a battered pile can have as many
// printed lengths as it has nodes.
inline constexpr int kMaxTzCurves = kMaxNodes;
// The printed-only set: three curves for every pair of consecutive soil points.
inline constexpr int kMaxPrintedTzCurves = 3 * (kMaxSoilPoints - 1);
inline constexpr int kMaxIterations = 1000;

// A load-transfer (t-z) curve: unit load transfer t mobilised by the pile-soil movement z.
struct TzCurve {
    double depthFromHead = 0;      // vertical depth below the pile head (in. or m)
    double depthBelowGround = 0;   // vertical depth below the ground (ft or m)
    bool cohesive = false;         // soil type code 2 at the curve; every other code is cohesionless
    double tMax = 0;               // ultimate unit load transfer (psi or kPa)
    double frictionAngle = 0;      // friction angle of the layer table at the curve (degrees)
    std::array<double, kTzPointCount> z{};  // movements (in. or m); the first point is (0, 0)
    std::array<double, kTzPointCount> t{};  // unit load transfer (psi or kPa)
};

// Tip load-movement curve.
struct TipCurve {
    std::array<double, kTzPointCount> movement{};  // in. or m
    std::array<double, kTzPointCount> load{};      // lb or kN while solving; kips or kN as kept
};

// One point of the load-settlement curve: the state of the pile for one assumed tip movement.
struct SettlementPoint {
    double topLoad = 0;       // kips or kN
    double topMovement = 0;   // in. or m
    double tipLoad = 0;       // kips or kN
    double tipMovement = 0;   // in. or m
    bool converged = true;    // every increment met the movement tolerance within the iteration cap
    int maxIterations = 0;    // the most passes any increment of this step needed
};

// An accepted pile increment of one step: the load distribution along the pile.
struct IncrementRecord {
    double midpointDistance = 0;  // distance of the increment's midpoint from the pile head (ft or m)
    double averageLoad = 0;       // axial load at the midpoint (kips or kN)
    double midpointMovement = 0;  // movement at the midpoint (in. or m)
};

struct LoadSettlementState {
    bool computed = false;
    bool english = true;

    // The curves the solver used, from the pile head down.
    int curveCount = 0;
    Array1<TzCurve, kMaxTzCurves> curves;
    // The printed set, at the soil points and between them; printed and written, not used by the solver.
    int printedCurveCount = 0;
    Array1<TzCurve, kMaxPrintedTzCurves> printedCurves;

    // Tip curve in report units (kips or kN, in. or m).
    TipCurve tipCurve;

    // Increments: their number, their length along the pile (ft or m).
    int incrementCount = 0;
    double incrementLength = 0;

    // One point per assumed tip movement, and the load distribution of each: the accepted increments
    // of point i, from the tip upwards, are loadDistribution[(i - 1) * incrementCount + j - 1].
    int pointCount = 0;
    Array1<SettlementPoint, kMaxTipMovements> points;
    std::vector<IncrementRecord> loadDistribution;

    // Verification curves at the user's depths (depthBelowGround holds the depth as given), and which
    // of those depths lie within the soil profile (the others have no curve printed).
    int verificationCount = 0;
    Array1<TzCurve, kMaxVerificationDepths> verificationCurves;
    Array1<bool, kMaxVerificationDepths> verificationInside;
};

}  // namespace pileaxial
