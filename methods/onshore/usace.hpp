#pragma once
// USACE static method (method 2): unit side friction K sigma' tan(delta) in cohesionless soil on the
// stresses limited at the critical depth, alpha c_u in cohesive soil, both added in the mixed soil
// class; carried to the pile nodes and integrated like the FHWA method, with the same tapered
// perimeter on a tapered pile.
#include "engine/run.hpp"

namespace pileaxial {

// Sets CurrentMethodId to 2; fills method[2].SegmentUnitFriction (carried to the nodes),
// SegmentRemoldedFriction (the alternate pair: remolded strength in cohesive soil) and, for the mixed
// class, SegmentThirdFriction (remolded cohesive part plus the cohesionless part; 0 elsewhere); then
// the node and increment arrays of run.capacity().current and method[2].SavedSkin.  With the
// stress-based critical depth (option 1) it records the depth in pile.userCriticalDepth.
void UsaceUnitTransfer(Run& run);

}  // namespace pileaxial
