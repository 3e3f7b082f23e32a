// Fugro 2004 method: sand friction from the cone resistance with friction fatigue by the distance from
// the tip in equivalent radii; clay by the ICP rule; the shared offshore integration.
#include "methods/offshore/fugro.hpp"

#include <algorithm>
#include <cmath>

#include "methods/offshore/icp_clay.hpp"
#include "methods/offshore/offshore_steps.hpp"

namespace pileaxial {

namespace {

// Segments at or below the tip are held this close to it (in. or mm), so hr stays positive.
constexpr double kLeastDistanceFromTip = 1.0e-5f;
// Within four equivalent radii of the tip the friction fatigue law would grow without bound; the
// friction is tapered linearly to zero there instead (compression), or held at its value at four
// radii (tension).
constexpr double kNearTipRadii = 4.0;

constexpr double kCompressionFactor = 0.08f;
constexpr double kCompressionStressExponent = 0.05f;
constexpr double kCompressionFatigueExponent = -0.9f;
constexpr double kTensionFactor = 0.045f;
constexpr double kTensionStressExponent = 0.15f;
constexpr double kTensionFatigueExponent = -0.85f;

// (sv / pa)^exponent for a positive exponent; a vertical stress of 0 or less (the ground surface)
// gives 0, the limit of the power.
double StressTerm(double stress, double referencePressure, double exponent) {
    return std::pow(std::max(stress, 0.0) / referencePressure, exponent);
}

// Distance (in. or mm) of segment s from the pile tip, converted to the diameter unit.
double TipDistanceInDiameterUnit(const PileModel& pile, int s) {
    const double lengthToDiameter = pile.english() ? 12.0 : 1000.0;
    return std::max(kLeastDistanceFromTip, DistanceFromTip(pile, s) * lengthToDiameter);
}

}  // namespace

double FugroEquivalentRadius(double outsideDiameter, double insideDiameter) {
    if (!(outsideDiameter > 0.0)) return 0.0;
    const double ratio = insideDiameter / outsideDiameter;
    // A bore as wide as the pile or wider leaves no steel area: no equivalent radius.
    return 0.5 * outsideDiameter * std::sqrt(std::max(1.0 - ratio * ratio, 0.0));
}

double FugroSandCompressionFriction(double coneResistance, double stress, double referencePressure,
                                    double distanceFromTip, double equivalentRadius) {
    // R* = 0: every point of the shaft is infinitely many radii from the tip, where the fatigue
    // term hr^-0.9 has fallen to 0.
    if (!(equivalentRadius > 0.0)) return 0.0;
    const double hr = distanceFromTip / equivalentRadius;
    const double f = kCompressionFactor * coneResistance *
                     StressTerm(stress, referencePressure, kCompressionStressExponent) *
                     std::pow(hr, kCompressionFatigueExponent);
    if (hr > kNearTipRadii) return f;
    return f * (0.25 * distanceFromTip / equivalentRadius);
}

double FugroSandTensionFriction(double coneResistance, double stress, double referencePressure,
                                double distanceFromTip, double equivalentRadius) {
    if (!(equivalentRadius > 0.0)) return 0.0;
    const double hr = distanceFromTip / equivalentRadius;
    return kTensionFactor * coneResistance * StressTerm(stress, referencePressure, kTensionStressExponent) *
           std::pow(std::max(kNearTipRadii, hr), kTensionFatigueExponent);
}

void FugroUnitTransfer(Run& run) {
    const PileModel& pile = run.pile;
    const SegmentGrid& grid = run.grid;
    const double pa = ConeReferencePressure(pile);
    const double equivalentRadius = FugroEquivalentRadius(pile.outsideDiameter, ConeMethodInsideDiameter(pile));
    const bool tension = pile.tensionLoading == 1;
    RunClayRuleMethod(run, kFugro, [&](int s) {
        const double q = OffshoreConeResistance(run, s);
        const double h = TipDistanceInDiameterUnit(pile, s);
        const auto friction = tension ? FugroSandTensionFriction : FugroSandCompressionFriction;
        const double bottom = friction(q, grid.segStressBottom[s], pa, h, equivalentRadius);
        const double top = friction(q, grid.segStressTop[s], pa, h, equivalentRadius);
        return FrictionPair{top, bottom};
    });
}

}  // namespace pileaxial
