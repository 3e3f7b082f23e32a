#pragma once
// FHWA static method for the side resistance of a driven pile: the Nordlund displacement-volume
// procedure in cohesionless soil and the adhesion (alpha) procedure, with the three soil
// arrangements of the adhesion charts, in cohesive soil.
#include "engine/run.hpp"

namespace pileaxial {

// Unit side friction at the top and bottom of every segment (method 1's SegmentUnitFriction, and
// SegmentRemoldedFriction: the same pair in sand, alpha times the remolded strength in clay), then
// carried to the pile nodes and integrated into the side resistance of every pile length.  Sets
// CurrentMethodId to 1 first.  A cohesive segment for which no adhesion case is chosen (the top
// segment, or a profile of fewer than three segments) keeps the adhesion factor last read from a
// chart in this run, or, before any, reads the stiff-clay chart with its own strength.
void FhwaUnitTransfer(Run& run);

}  // namespace pileaxial
