#pragma once
// NGI method (method 5): unit side friction in sand from the relative density that the cone
// resistance gives at the vertical effective stress, growing linearly with the relative depth along
// the pile and scaled for the tip, the direction of loading and the pile material; in clay from the
// strength ratio su / sv' and the plasticity index.  Integrated into the side resistance of every
// pile length by the steps shared with the other offshore methods.
#include "engine/run.hpp"

namespace pileaxial {

// Cone resistance q (ksf or kPa) of an SI sand level: raised to 1.01 x 22 sqrt(pa sv) when that
// reference exceeds it, so the logarithm of the relative density stays finite and non-negative.
// The stress sv and the reference pressure pa are in the same unit as q.  A stress of 0 or less
// leaves q as it is.
double NgiSiConeResistance(double coneResistance, double stress, double referencePressure);

// Relative density Dr (dimensionless) = 0.4 ln(q / (22 sqrt(pa sv))), held at the floor of the unit
// system (0.200001 English, 0.20001 SI).  q, sv and pa in ksf or all in kPa.  A q or sv of 0 or less
// has no density to speak of and takes the floor, which is where the logarithm of 0 ends up.
double NgiRelativeDensity(double coneResistance, double stress, double referencePressure, bool english);

// Density factor F_Dr = 2.1 (Dr - 0.1)^1.7 (dimensionless), Dr held at the floor of the unit system.
double NgiDensityFactor(double relativeDensity, bool english);

// The factors of the sand rule (dimensionless).
struct NgiSandFactors {
    double tip = 1.0;       // 1.0 for an open section (inside diameter above 1.0E-5), 1.6 closed
    double load = 1.0;      // 1.0 in tension, 1.3 in compression
    double material = 1.0;  // 1.2 for timber and precast concrete, 1.0 otherwise
};

// insideDiameter in in. or mm (0 for a closed-ended pile); pileType the input code 1..7.
NgiSandFactors NgiSandFactorsFor(double insideDiameter, bool tension, int pileType);

// Unit side friction in sand (ksf or kPa) at one level:
// pa F_Dr (sv / pa)^0.25 zr F_tip F_load F_mat, with zr the relative depth (dimensionless) and the
// relative density Dr held at its floor.  sv and pa in ksf (English) or kPa (SI).  A level without
// effective stress (sv <= 0) carries nothing.
double NgiSandUnitFriction(double relativeDensity, double stress, double referencePressure, double relativeDepth,
                           const NgiSandFactors& factors, bool english);

// Relative depth zr (dimensionless) of a segment: its top depth over the embedded length (both ft or
// m), 0 for a pile without embedded length.
double NgiRelativeDepth(double segmentTop, double embeddedLength);

struct NgiClayFriction {
    double intact = 0;    // SegmentUnitFriction, uniform over the segment
    double remolded = 0;  // SegmentRemoldedFriction
};

// Unit side friction of a clay segment (ksf or kPa) from the undrained strength su, the remolded
// strength sur and the bottom effective stress sv (all ksf or all kPa), the plasticity index PI (%)
// and the inside diameter (in. or mm; 0 for a closed-ended pile).  psi = su / sv with sv and psi at
// least 1.0E-10:
//   psi < 0.25 (normally consolidated): 0.08 sv (PI - 10)^0.3, PI at least 10.000001;
//   psi > 1 (overconsolidated): su F_c alpha, alpha = 0.5 psi^-0.3;
//   between: su F_c alpha at least fmin = 0.06 sv (PI - 12)^0.33, PI at least 12.000001, with alpha
//   running linearly in psi from 0.32 (PI - 10)^0.3 at 0.25 to 0.5 psi^-0.3 at 1.
// F_c = 0.8 + 0.2 sqrt(psi) for an open pile in English units, 1.0 otherwise.
// The remolded friction: between the bands' limits fmin or F_c sur alpha, whichever is larger; above
// psi = 1 F_c sur alpha; below 0.25 the intact friction times sur / su (0 without strength).
NgiClayFriction NgiClayUnitFriction(double shearStrength, double remoldedStrength, double plasticityIndex,
                                    double stressBottom, double insideDiameter, bool english);

// Sets CurrentMethodId to 5.  Fills method[5].SegmentUnitFriction and SegmentRemoldedFriction, then
// the node and increment arrays of run.capacity().current, method[5].SavedSkin and PileLength (the
// vertical node depths).  Changes the grid in two places: the bottom stress of a clay segment is
// raised to at least 1.0E-10, and in English units the top stress of a sand segment to at least
// 1.0E-8, both kept for the methods that run after this one.
void NgiUnitTransfer(Run& run);

}  // namespace pileaxial
