// ICP/MTD method: radial effective stress at failure from the cone resistance in sand, the ICP clay
// rule in clay and silt, and the shared offshore integration.
#include "methods/offshore/icp.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "methods/offshore/icp_clay.hpp"
#include "methods/offshore/offshore_steps.hpp"

namespace pileaxial {

namespace {

constexpr double kDegreesPerRadian = 57.2958f;
// Interface friction angle in sand: the soil's friction angle less 5 degrees.
constexpr double kWallFrictionReduction = 5.0;

// Friction fatigue: the stationary radial stress is no longer raised within 8 equivalent radii of
// the tip, and a distance (in. or mm) below this counts as this.
constexpr double kLeastRelativeDistance = 8.0;
constexpr double kLeastDistance = 1.0e-5f;

constexpr double kStationaryFactor = 0.029f;
constexpr double kStressExponent = 0.13f;
constexpr double kFatigueExponent = -0.38f;

// Operational shear modulus G = q / (a + b eta - c eta^2), fitted over the usual range of eta.
constexpr double kModulusA = 0.0203f;
constexpr double kModulusB = 0.00125f;
constexpr double kModulusC = 1.216e-6f;
// The fit's largest denominator; beyond it the denominator falls and reaches 0 near eta = 1044.
constexpr double kPeakNormalisedCone = kModulusB / (2.0 * kModulusC);

// Radial displacement of the shear band as the pile is loaded: 0.02 mm, i.e. 0.02 / 25.4 in.
constexpr double kRadialDisplacementIn = 7.874016e-4f;
constexpr double kRadialDisplacementMm = 0.02f;

// A pile pulled out: the stationary stress drops by a fifth, and an open section (which does not
// displace the soil fully) loses another tenth.
constexpr double kTensionStationaryFactor = 0.8f;
constexpr double kOpenSectionTensionFactor = 0.9f;
// An inside diameter (in. or mm) above this makes the section open.
constexpr double kOpenSection = 1.0e-5f;

// Top and bottom unit friction of sand segment s.  Both levels share the cone resistance, the
// distance from the tip and eta (from the bottom stress); each takes its own stress in sigma_rc.
FrictionPair SandFriction(const Run& run, int s) {
    const PileModel& pile = run.pile;
    const SegmentGrid& grid = run.grid;
    const bool english = pile.english();
    // A closed-ended pile displaces the soil over its whole section, whatever its bore.
    const double insideDiameter = ConeMethodInsideDiameter(pile);
    const double q = OffshoreConeResistance(run, s);
    const double pa = ConeReferencePressure(pile);
    const double hr = IcpSandRelativeDistance(DistanceFromTip(pile, s), english ? 12.0 : 1000.0,
                                              pile.outsideDiameter, insideDiameter);
    const double eta = IcpNormalisedCone(q, pa, grid.segStressBottom[s]);
    const double dilation = IcpDilationStress(IcpShearModulus(q, eta),
                                              english ? kRadialDisplacementIn : kRadialDisplacementMm,
                                              0.5 * pile.outsideDiameter);
    const bool tension = pile.tensionLoading == 1;
    const bool open = insideDiameter > kOpenSection;
    const auto at = [&](double stress) {
        const double stationary = IcpStationaryRadialStress(q, stress, pa, hr);
        return IcpSandUnitFriction(IcpRadialStressAtFailure(stationary, dilation, tension, open),
                                   grid.segFrictionAngle[s]);
    };
    FrictionPair f;
    f.bottom = at(grid.segStressBottom[s]);
    f.top = at(grid.segStressTop[s]);
    return f;
}

}  // namespace

double IcpSandRelativeDistance(double distanceFromTip, double lengthToDiameter, double outsideDiameter,
                               double insideDiameter) {
    const double equivalentRadius = IcpEquivalentRadius(outsideDiameter, insideDiameter);
    if (equivalentRadius <= 0.0) return std::numeric_limits<double>::infinity();
    return std::max(kLeastRelativeDistance,
                    std::max(kLeastDistance, distanceFromTip * lengthToDiameter) / equivalentRadius);
}

double IcpStationaryRadialStress(double cone, double stress, double referencePressure, double relativeDistance) {
    return kStationaryFactor * cone * std::pow(std::max(stress, 0.0) / referencePressure, kStressExponent) *
           std::pow(relativeDistance, kFatigueExponent);
}

double IcpPeakNormalisedCone() { return kPeakNormalisedCone; }

double IcpNormalisedCone(double cone, double referencePressure, double stress) {
    // No stress: eta grows without bound (for a positive cone resistance) and is held at the peak.
    if (!(stress > 0.0)) return cone < 0.0 ? 0.0 : kPeakNormalisedCone;
    return std::clamp(cone / std::sqrt(referencePressure * stress), 0.0, kPeakNormalisedCone);
}

double IcpShearModulus(double cone, double normalisedCone) {
    const double eta = std::clamp(normalisedCone, 0.0, kPeakNormalisedCone);
    return cone / (kModulusA + kModulusB * eta - kModulusC * (eta * eta));
}

double IcpDilationStress(double shearModulus, double radialDisplacement, double radius) {
    if (!(radius > 0.0)) return 0.0;
    return 2.0 * shearModulus * radialDisplacement / radius;
}

double IcpRadialStressAtFailure(double stationary, double dilation, bool tension, bool openSection) {
    if (!tension) return stationary + dilation;
    const double pulled = kTensionStationaryFactor * stationary + dilation;
    return openSection ? pulled * kOpenSectionTensionFactor : pulled;
}

double IcpSandUnitFriction(double radialStressAtFailure, double frictionAngle) {
    return radialStressAtFailure * std::tan((frictionAngle - kWallFrictionReduction) / kDegreesPerRadian);
}

void IcpUnitTransfer(Run& run) {
    RunClayRuleMethod(run, kIcp, [&run](int s) { return SandFriction(run, s); });
}

}  // namespace pileaxial
