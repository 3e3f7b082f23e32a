#pragma once
// Fugro 2004 method (method 7) for piles driven in sand: the unit side friction is a fraction of the
// cone resistance that grows weakly with the vertical effective stress and falls with the distance
// from the pile tip measured in equivalent radii (friction fatigue), by separate compression and
// tension rules.  Cohesive segments take the ICP clay rule.  The side resistance of every pile length
// follows by the steps shared with the other offshore methods.
#include "engine/run.hpp"

namespace pileaxial {

// Equivalent radius R* = 0.5 D sqrt(1 - (Di / D)^2) of the pile section (in. or mm; D and Di in the
// same unit): the radius of the solid pile of the same steel area as an open one, D / 2 for a closed
// section.  A section without area (a bore as wide as the pile, or no diameter) has R* = 0.
double FugroEquivalentRadius(double outsideDiameter, double insideDiameter);

// Unit side friction in sand under compression (units of q: ksf or kPa), from the cone resistance q,
// the vertical effective stress sv and the reference pressure pa (all ksf, or all kPa), the distance
// from the tip h and the equivalent radius R* (both in. or mm), with hr = h / R*:
//   hr > 4:  0.08 q (sv / pa)^0.05 hr^-0.9
//   hr <= 4: the same times hr / 4, so that the friction falls to zero at the tip.
// No stress (sv <= 0) gives 0, as does R* = 0 (hr without bound).
double FugroSandCompressionFriction(double coneResistance, double stress, double referencePressure,
                                    double distanceFromTip, double equivalentRadius);

// Unit side friction in sand under tension (units of q): 0.045 q (sv / pa)^0.15 max(4, hr)^-0.85, with
// the same arguments.  No stress or R* = 0 gives 0.
double FugroSandTensionFriction(double coneResistance, double stress, double referencePressure,
                                double distanceFromTip, double equivalentRadius);

// Sets CurrentMethodId to 7.  Fills method[7].SegmentUnitFriction and SegmentRemoldedFriction (the same
// values), then the node and increment arrays of run.capacity().current, method[7].SavedSkin and
// PileLength with the vertical node depths.  Cohesive segments change the grid as the ICP clay rule
// does (the SI bottom stress held at 1.0E-10 or more) and report a missing plasticity index.
void FugroUnitTransfer(Run& run);

}  // namespace pileaxial
