#pragma once
// The last guard of a run: a result that is not a finite number (an input far out of range can
// overflow a formula, and such a value prints as a field of asterisks) ends the run with status 2
// instead of reaching the report as if it were an answer.
#include "engine/run.hpp"

namespace pileaxial {

// Throws InputError naming the method, the quantity and the pile length when a curve the method
// keeps for its table and the load-transfer hand-over is not finite at some pile node.
void CheckMethodCurvesFinite(const Run& run, int methodId);

// The same for what the load-transfer solver left: the t-z curves it used, the tip curve, the load
// distributions and the load-settlement points, and the t-z curves printed at the soil points.
void CheckLoadSettlementFinite(const Run& run);

// The same for the verification t-z curves at the user's depths that lie within the soil profile
// (the others are not printed).
void CheckVerificationCurvesFinite(const Run& run);

}  // namespace pileaxial
