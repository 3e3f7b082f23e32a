#pragma once
// UWA method (method 8) for piles driven in sand: the radial effective stress at failure is the
// stationary stress after installation, a fraction of the cone resistance scaled by the effective
// area ratio of the pile and reduced by friction fatigue with the distance from the tip in
// diameters, plus the dilation of the shear band against a soil stiffness derived from the
// normalised cone resistance.  Cohesive segments take the ICP clay rule.  The side resistance of
// every pile length follows by the steps shared with the other offshore methods.
#include "engine/run.hpp"

namespace pileaxial {

// Incremental filling ratio (dimensionless) of an open pile estimated from its inside diameter in
// metres: min(1, (Di / 1.5 m)^0.2).  A closed section (Di = 0) fills nothing; a negative diameter
// counts as none.
double UwaFillingRatio(double insideDiameterMetres);

// Effective area ratio (dimensionless) Ars = 1 - IFR (Di / D)^2, D and Di in the same unit: 1 for a
// full-displacement pile, less the more soil enters the bore.  Never below 0 (a bore wider than the
// pile displaces nothing).
double UwaEffectiveAreaRatio(double fillingRatio, double outsideDiameter, double insideDiameter);

// Friction fatigue term (dimensionless) 1 / sqrt(max(2, h / D)) for a distance from the tip h and a
// diameter D in the same unit (in. or mm): the stationary stress falls with the number of diameters
// the soil has been sheared past, and stays at its value at two diameters nearer the tip.
double UwaFrictionFatigue(double distanceFromTip, double outsideDiameter);

// Stationary radial effective stress (units of q: ksf or kPa): 0.03 q Ars^0.3 times the fatigue term.
// No cone resistance (q <= 0) gives 0.
double UwaStationaryRadialStress(double coneResistance, double areaRatio, double fatigue);

// Increase of the radial stress by dilation (units of q) from the cone resistance q, the vertical
// effective stress sv and the reference pressure pa (all ksf, or all kPa), the dilation displacement
// 4 dr and the pile diameter D (both in. or mm):
//   qc1N = (q / pa) / sqrt(max(1.0E-7, sv / pa)), G = 185 q / qc1N^0.75, increase = G 4 dr / D.
// At the ground surface the stress floor keeps qc1N finite.  No cone resistance (q <= 0) or no
// diameter gives 0.
double UwaDilationStress(double coneResistance, double stress, double referencePressure,
                         double dilationDisplacement, double outsideDiameter);

// Unit side friction (units of the stresses) from the two parts of the radial stress at failure and
// the friction angle phi (degrees): (stationary + dilation) tan(phi - 5), the sum taken at 0.75 under
// tension.
double UwaSandFriction(double stationaryStress, double dilationStress, double frictionAngle, bool tension);

// Sets CurrentMethodId to 8.  Fills method[8].SegmentUnitFriction and SegmentRemoldedFriction (the same
// values), then the node and increment arrays of run.capacity().current, method[8].SavedSkin and
// PileLength with the vertical node depths.  Cohesive segments change the grid as the ICP clay rule
// does (the SI bottom stress held at 1.0E-10 or more) and report a missing plasticity index.
void UwaUnitTransfer(Run& run);

}  // namespace pileaxial
