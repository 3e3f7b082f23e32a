#pragma once
// Revised Lambda method (method 3): the side resistance from the head down to each pile node is
// lambda (sigma-bar' + 2 c-bar) P z, with lambda from the pile-soil stiffness ratio pi2; the unit side
// friction of each increment follows by differencing.
#include "engine/run.hpp"

namespace pileaxial {

// Sets CurrentMethodId to 3; fills the node arrays of run.capacity().current (TotalSkinFriction ends
// as the factored cumulative), method[3].SavedSkin, and method[3].SegmentUnitFriction and
// SegmentRemoldedFriction: both pairs hold, at the top and bottom of segment s, the unit side friction
// of the pile increment in that segment (node s to node s + 1), and 0 below the tip.  An earth-pressure coefficient of 0 in the grid is replaced by 1.0 in place.
// Throws InputError when the pile has no positive diameter, modulus of elasticity or section area,
// as the stiffness ratio and the perimeter need them.
void LambdaUnitTransfer(Run& run);

}  // namespace pileaxial
