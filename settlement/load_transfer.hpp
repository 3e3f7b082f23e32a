#pragma once
// Load distribution and load-settlement curve of the pile head by the load-transfer method: t-z curves
// along the pile and a load-movement curve at the tip, built from the capacity results of the method
// chosen for unit load transfers; for each assumed tip movement the pile is walked from the tip to the
// head, increment by increment, until the movement at each increment's middle agrees with the load
// transfer it mobilises.
#include "engine/run.hpp"

namespace pileaxial {

// The whole analysis: solve, check that every result is a finite number (a fault otherwise), then the notes, the banner, the t-z table, the tip curve and the load
// versus settlement table in the report, and the same data in the plot-data file.
void LoadSettlementAnalysis(Run& run);

// Builds the curves and runs one step per assumed tip movement; fills run.loadSettlement().  Reads the
// hand-over of the capacity driver (LimitedUnitSideFriction and EndBearing of the current arrays).
// Throws InputError when the axial stiffness of the pile is not positive at an increment.
void LoadTransferSolver(Run& run);

// Writes what the solver left in run.loadSettlement() to the report and the plot-data file.
void WriteLoadSettlementResults(Run& run);

// The t-z curves at the user's verification depths (ft or m below the ground), built as the solver
// builds its curves, kept in run.loadSettlement() and written to the report and the plot-data file.
// A depth outside the soil profile (above the ground or below the last soil point) is reported
// without a curve.
void VerificationTzCurves(Run& run);

// Node unit side friction of the handed-over method at a depth below the ground (ft or m), linear
// between the node depths (k - 1) x verticalIncrement, the first or last node value outside them.
double NodeSideFrictionAt(const Run& run, double depthBelowGround);

}  // namespace pileaxial
