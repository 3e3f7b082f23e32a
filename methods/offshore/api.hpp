#pragma once
// API RP-2A (2010) method (method 4): unit side friction from the effective stress in cohesionless
// soil (beta form, held to the limit of the delta table) and from the undrained shear strength in
// cohesive soil (alpha form), limited at every node by the maximum unit friction, and integrated
// into the side resistance of every pile length by the steps shared with the other offshore methods.
#include "engine/run.hpp"

namespace pileaxial {

// A maximum unit friction of exactly this value (in ksf or kPa as the run works) asks for the
// method's default limit in sand.  Any other value is a limit of its own; the input stores 9999999
// for a maximum that was not given.
inline constexpr double kApiDefaultFrictionMarker = 9999.0;

// Adhesion factor alpha (dimensionless) from the undrained shear strength su and the effective
// vertical stress at the bottom of the segment sv (both ksf, or both kPa):
// psi = su / sv (sv at least 1.0E-10, psi at least 1.0E-10); alpha = 0.5 psi^-0.5 for psi <= 1,
// 0.5 psi^-0.25 above, and never more than 1.
double ApiClayAdhesionFactor(double shearStrength, double stressBottom);

// Unit side friction in sand before any limit (units of the stress: ksf or kPa):
// K sigma' tan(delta), delta = phi - 5 degrees; K dimensionless, phi in degrees.
double ApiSandUnitFriction(double earthPressure, double frictionAngle, double stress);

// Limiting unit side friction in sand from the delta table (delta = phi - 5, degrees): 1.0 ksf at
// 15 degrees and below to 2.4 ksf above 35, linear between the rows; ksf in English units, kPa (ksf
// times 47.8) in SI.
double ApiSandFrictionLimit(double delta, bool english);

// Default maximum unit friction at a node in sand, by the friction angle phi (degrees):
// 1.0 to 2.4 ksf (English) or 47.8 to 114.8 kPa (SI).
double ApiDefaultMaxFriction(double frictionAngle, bool english);

// Sets CurrentMethodId to 4.  Fills method[4].SegmentUnitFriction, then the node and increment arrays
// of run.capacity().current (NodeFrictionLimit among them), method[4].SavedSkin, and PileLength with
// the vertical node depths.  TotalSkinFriction ends as the reduced cumulative side resistance.
// Changes the grid in two places: the bottom stress of a cohesive segment is raised to at least
// 1.0E-10, and the default limit replaces the marker in the maximum unit friction of a sand segment.
// In tension every node friction (the head included) is reduced by tensionReductionFactor before the
// node limits apply.
void ApiUnitTransfer(Run& run);

}  // namespace pileaxial
