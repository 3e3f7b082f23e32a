#pragma once
// ICP/MTD method (method 6): unit side friction from the cone resistance in sand, as the radial
// effective stress at failure (the stationary stress after installation, reduced by friction fatigue
// with the distance from the tip, plus the dilation of the shear band against the shaft) on the
// interface friction angle; in clay by the ICP clay rule shared with the Fugro 2004 and UWA methods.
// The segment values are integrated by the steps shared with the other offshore methods, with no
// limit and no tension factor on the node values.
#include "engine/run.hpp"

namespace pileaxial {

// Relative distance from the tip of a sand segment: h / R* held at 8 or more, with the distance h
// (ft or m) converted by lengthToDiameter (12 or 1000) and held at 1.0E-5 (in. or mm) or more first,
// so a segment at or below the tip reads as being at it.  R* = IcpEquivalentRadius(D, Di) in in. or
// mm; a section without area (R* = 0) is infinitely far in these terms.
double IcpSandRelativeDistance(double distanceFromTip, double lengthToDiameter, double outsideDiameter,
                               double insideDiameter);

// Stationary radial effective stress sigma_rc = 0.029 q (sv' / pa)^0.13 hr^-0.38 (the units of q,
// ksf or kPa), for cone resistance q, vertical effective stress sv' and reference pressure pa in the
// same stress unit, and relative distance hr.  A negative stress counts as none.
double IcpStationaryRadialStress(double cone, double stress, double referencePressure, double relativeDistance);

// Normalised cone resistance eta = q / sqrt(pa sv') (dimensionless; q, pa, sv' in one stress unit).
// The shear modulus fit below peaks at IcpPeakNormalisedCone and would fall to zero and then turn
// negative beyond it, so eta is held there, as it is for a stress of zero or less (eta unbounded).
// A negative cone resistance gives no less than 0.
double IcpNormalisedCone(double cone, double referencePressure, double stress);
// b / 2c of the fit 0.0203 + 0.00125 eta - 1.216e-6 eta^2: about 514.
double IcpPeakNormalisedCone();

// Operational shear modulus G = q / (0.0203 + 0.00125 eta - 1.216e-6 eta^2) (the units of q), with
// eta held to 0..IcpPeakNormalisedCone() as above.
double IcpShearModulus(double cone, double normalisedCone);

// Increase of radial stress by dilation d_sigma = 2 G dr / R (the units of G), for a radial
// displacement dr and the pile radius R in one length unit (in. or mm).  A pile without radius has
// no shaft to dilate against: 0.
double IcpDilationStress(double shearModulus, double radialDisplacement, double radius);

// Radial effective stress at failure (stress unit of its arguments): sigma_rc + d_sigma in compression;
// in tension (0.8 sigma_rc + d_sigma), times 0.9 on an open section.
double IcpRadialStressAtFailure(double stationary, double dilation, bool tension, bool openSection);

// Unit side friction sigma_rf tan(phi - 5 degrees) (the unit of sigma_rf), phi in degrees.
double IcpSandUnitFriction(double radialStressAtFailure, double frictionAngle);

// Sets CurrentMethodId to 6.  Fills method[6].SegmentUnitFriction and its SegmentRemoldedFriction
// (the same pairs), then the node and increment arrays of run.capacity().current, method[6].SavedSkin
// and PileLength (the vertical node depths).  In SI the bottom stress of a clay segment is raised to
// at least 1.0E-10 in the grid; a clay segment with a negative plasticity index is reported.
void IcpUnitTransfer(Run& run);

}  // namespace pileaxial
