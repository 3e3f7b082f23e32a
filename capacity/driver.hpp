#pragma once
#include "engine/run.hpp"

namespace pileaxial {

// The capacity analysis of a run: two passes over the methods, each starting from a rebuilt grid.
// Pass 1 computes the user-specified method and the onshore methods and prints their tables; pass 2
// computes the offshore methods, printing each right after it runs, and hands the curves of the
// method chosen for load transfers to the load-settlement analysis.
void RunCapacityAnalysis(Run& run);

// One pass (1 or 2) of the analysis; RunCapacityAnalysis runs both.
void RunCapacityPass(Run& run, int pass);

// The curves of the load-transfer method, as the load-settlement analysis reads them, are left in
// run.capacity().current (TotalSkinFriction, EndBearing unfactored, LimitedUnitSideFriction).
void HandOverLoadTransferMethod(Run& run);

}  // namespace pileaxial
