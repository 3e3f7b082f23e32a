#pragma once
// Design charts for unit end bearing and for the limiting unit side friction in sand.  Each chart is a
// pure function of its argument(s), read by clamped linear interpolation (model/interpolation.hpp):
// below the first abscissa the first value, beyond the last abscissa the last value.

namespace pileaxial {

// Bearing capacity factor N'q of the FHWA method against the friction angle phi (degrees).
// phi <= 15 gives 4.8, phi > 45 gives 475.
double FhwaBearingFactor(double frictionAngle);

// Limiting unit tip resistance of the FHWA method in tsf (twice the value is ksf) against phi
// (degrees).  phi <= 30 gives 6.66, phi > 43.75 gives 368.8.
double FhwaLimitTipResistance(double frictionAngle);

// Bearing capacity factor Nq of the USACE method against phi (degrees).
// phi <= 0 gives 1, phi > 50 gives 415.1.
double UsaceBearingFactor(double frictionAngle);

// Bearing capacity factor Nq of the API method against the soil-pile friction angle delta (degrees).
// delta <= 15 gives 8, delta > 35 gives 50.
double ApiBearingFactor(double frictionAngleDelta);

// Limiting unit side friction in sand of the API method in ksf against delta (degrees).
// delta <= 15 gives 1.0, delta > 35 gives 2.4.
double ApiLimitFriction(double frictionAngleDelta);

// Dimensionless coefficient alpha_t of the FHWA tip resistance against phi (degrees) and the
// slenderness L/D of the pile.  Three curves, for L/D = 20, 30 and 45, each clamped in phi;
// L/D <= 20 reads the first curve, L/D >= 45 the last, and an L/D between two curves is interpolated
// linearly between them.
double FhwaTipCoefficient(double frictionAngle, double lengthOverDiameter);

}  // namespace pileaxial
