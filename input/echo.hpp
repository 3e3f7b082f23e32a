#pragma once
#include "engine/run.hpp"

namespace pileaxial {

// Depth the soil information must reach: the embedded pile projected on the vertical plus two pile
// diameters below the tip (ft or m).  Expects the batter angle in radians.
double RequiredSoilDepth(const PileModel& pile);

// Soil-extent checks.  Returns false when the deepest soil profile does not reach the pile tip plus
// two diameters: the report then holds the message and run.status is 1.
bool CheckSoilExtent(Run& run);

// The "* INPUT INFORMATION *" section of the report, through the "* COMPUTATION RESULT *" banner.
// Also computes the section area.
void WriteInputEcho(Run& run);

}  // namespace pileaxial
