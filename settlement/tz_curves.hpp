#pragma once
// Shapes of the load-transfer curves along the pile (t-z) and at the tip (Q-w), the soil lookups that
// feed them, and reading a value off a curve.  Pure functions of explicit values.
//
// Working units: English t in psi, z in inches, loads in pounds; SI t in kPa, z in metres, loads in kN.
#include <array>

#include "model/model.hpp"
#include "settlement/settlement_state.hpp"

namespace pileaxial {

// Curve family: the standard shapes, or the USACE shapes chosen with USACE as the method for unit load
// transfers.
enum class TzShape { Standard, Usace };

// Cohesive t-z curve.  Standard: z = 0, 0.16, 0.31, 0.57, 0.8, 1, 2, 3, 5, 20 times zPeak (in. or m) and
// t = 0, 0.3, 0.5, 0.75, 0.9, 1.0 times tMax, then rRes x tMax (softening to the residual) for the last
// four.  USACE: fixed movements 0.01 .. 10 in. (SI: divided by 39.37, metres) with
// t = 0.18 .. 1.0 .. 0.93 times tMax.  zPeak and rRes must already carry their defaults.
void ClayTzCurve(TzCurve& curve, double zPeak, double rRes, TzShape shape, bool si);

// Cohesionless t-z curve.  Standard: the cohesive movements with t rising to tMax and holding there.
// USACE: the hyperbola t = z / (z / tau + 1 / Es) in psf and inches, with tau = tMax in psf and the
// soil modulus Es from the friction angle at the curve (degrees), turned back into psi or kPa.
void SandTzCurve(TzCurve& curve, double zPeak, TzShape shape, bool si);

// Modulus Es of the USACE cohesionless curve against the friction angle phi (degrees).
double UsaceSandModulus(double frictionAngle);

// Multipliers on t and on z at a depth below the ground (ft or m) from the user's table of rows
// (depth, multiplier on t, multiplier on z): the first row's pair at or above the first depth, the
// last row's pair at or beyond the last depth, linear between rows.
struct TzMultipliers {
    double onT = 1;
    double onZ = 1;
};
TzMultipliers TzMultipliersAt(const SettlementInput& input, double depthBelowGround);
void ApplyTzMultipliers(TzCurve& curve, const TzMultipliers& m);

// Unit load transfer of a curve at movement w: linear between the bracketing points, the last t at or
// beyond the last point, the first t at or below the first point.
double TzTransferAt(const TzCurve& curve, double w);

// Tip curve (movement in in. or m, load in lb or kN).  Standard: movements 0 .. 0.2 D with loads
// rising to Qmax at 0.1 D.  USACE: fixed movements 0 .. 2 in. (SI: divided by 39.79, metres); in
// cohesionless or mixed soil at the tip Q = Qmax (w / zc)^e with e from the friction angle (not capped),
// in cohesive soil Q = min(Qmax, 0.5 Qmax sqrt(w / (0.01 D))).
TipCurve StandardTipCurve(double maxTipLoad, double diameter);
TipCurve UsaceTipCurve(double maxTipLoad, double diameter, double failureMovement, double tipSoilType,
                       double frictionAngle, bool si);

// Tip load at tip movement w: linear between the bracketing points, the first load at or below the
// first point, the last load at or beyond the last point.
double TipLoadAt(const TipCurve& curve, double w);

// Layer lookups over the soil points taken in pairs (layer i: points 2i-1 and 2i), depth below the
// ground in ft or m.  At or above the first point the first point's value, at or below point N the
// last point's value; otherwise the first layer whose bottom lies deeper than the depth, linear between
// its top and bottom, its top value in a gap above its top.  Below the last layer of an odd N the
// value of point N.
double LayerValueAt(const SoilProfile& soil, double depth, double SoilLayer::*field);
// Soil type code: the bottom point of the first layer whose bottom is at or below the depth.
double LayerSoilTypeAt(const SoilProfile& soil, double depth);

}  // namespace pileaxial
