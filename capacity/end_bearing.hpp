#pragma once
// Unit end bearing along the pile for the capacity method in hand: every method has its own rule for
// sand (bearing factor times effective stress with a limit, or a fraction of the cone resistance) and
// a cohesive rule (nine times the undrained shear strength, or a fraction of the cone resistance for
// the cone-based methods).
#include "engine/run.hpp"

namespace pileaxial {

// Fills run.capacity().current.SegmentUnitBearing (top and bottom of every segment, ksf or kPa) for
// run.capacity().CurrentMethodId.  A sand segment without a bearing factor receives the factor of
// the offshore chart for delta = phi - 5, stored back into run.grid.segBearingFactor so that every
// later method of the same grid sees it.
void ComputeUnitEndBearing(Run& run);

// Cone resistance of the sounding at a depth, as stored (psf in English units): linear between the
// sounding points, the first value at and above the first point, the last value below the last, and
// 0 for an empty sounding.
double ConeResistanceAt(const CptSounding& cpt, double depth);

// Cone resistance qc in working units (ksf or kPa) that the end-bearing rules use for segment s: the
// segment's own value, else the sounding at the depth of the segment top, else 2.8 pa per blow.
double EndBearingConeResistance(const Model& model, int s);

// A segment is sand when its soil type is 1.
bool IsSandSegment(const SegmentGrid& grid, int s);

}  // namespace pileaxial
