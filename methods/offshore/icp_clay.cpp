#include "methods/offshore/icp_clay.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "model/interpolation.hpp"

namespace pileaxial {

namespace {

constexpr double kReferencePressureKsf = 2.088554620742798;
constexpr double kReferencePressureKpa = 100.0;
constexpr double kSiSoilTypeTolerance = 1.0e-6f;
constexpr double kDegreesPerRadian = 57.2958f;
constexpr double kLeastRelativeDistance = 8.0;
constexpr double kNoStrength = 1.0e-10f;
constexpr double kSmallestStressSi = 1.0e-10f;

constexpr std::array<float, 17> kPlasticityIndex = {0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80};
constexpr std::array<float, 17> kInterfaceAngle = {34.0f, 32.0f, 29.0f, 27.0f, 24.5f, 22.5f,  20.0f, 18.5f, 17.0f,
                                                   15.2f, 14.7f, 13.0f, 12.3f, 11.5f, 10.0f, 9.2f,   8.5f};

}  // namespace

double ConeReferencePressure(const PileModel& pile) {
    return pile.english() ? kReferencePressureKsf : kReferencePressureKpa;
}

bool IsOffshoreClaySegment(const PileModel& pile, const SegmentGrid& grid, int s) {
    return grid.segSoilType[s] - 1.0 > (pile.english() ? 0.0 : kSiSoilTypeTolerance);
}

double DistanceFromTip(const PileModel& pile, int s) {
    return pile.embeddedLength - (s - 1) * pile.lengthIncrement;
}

double IcpInterfaceFrictionAngle(double plasticityIndex) {
    return ClampedInterpolation(kPlasticityIndex, kInterfaceAngle, plasticityIndex);
}

double IcpClayEarthPressure(double shearStrength, double remoldedStrength, double yieldStressRatio,
                            double relativeDistance) {
    const bool sensitivityKnown = shearStrength >= kNoStrength && remoldedStrength >= kNoStrength;
    const double logSensitivity = sensitivityKnown ? std::log10(shearStrength / remoldedStrength) : 0.0;
    return (2.0 - 0.625f * logSensitivity) * std::pow(std::max(yieldStressRatio, 0.0), 0.42f) *
           std::pow(relativeDistance, -0.2f);
}

double IcpEquivalentRadius(double outsideDiameter, double insideDiameter) {
    const double radicand = 0.25 * (outsideDiameter * outsideDiameter - insideDiameter * insideDiameter);
    return std::sqrt(std::max(radicand, 0.0));
}

double IcpRelativeDistance(double distanceFromTip, double lengthToDiameter, double outsideDiameter,
                           double insideDiameter) {
    const double equivalentRadius = IcpEquivalentRadius(outsideDiameter, insideDiameter);
    if (equivalentRadius <= 0.0) return std::numeric_limits<double>::infinity();
    return std::max(kLeastRelativeDistance, distanceFromTip * lengthToDiameter / equivalentRadius);
}

FrictionPair IcpClayFriction(Run& run, int s) {
    const PileModel& pile = run.pile;
    SegmentGrid& grid = run.grid;
    if (!pile.english()) grid.segStressBottom[s] = std::max(grid.segStressBottom[s], kSmallestStressSi);
    const double plasticityIndex = grid.segPlasticityIndex[s];
    if (plasticityIndex < 0.0) run.report.put(textio::Line().x(1).a("ERROR - NO DATA FOUND FOR PLASTIC INDEX."));
    const double delta = IcpInterfaceFrictionAngle(plasticityIndex);
    const double hr = IcpRelativeDistance(DistanceFromTip(pile, s), pile.english() ? 12.0 : 1000.0,
                                          pile.outsideDiameter, ConeMethodInsideDiameter(pile));
    const double kc = IcpClayEarthPressure(grid.segShearStrength[s], grid.segRemoldedStrength[s],
                                           grid.segBlowCount[s], hr);
    // Each level as 0.8 sv' tan(delta) Kc, multiplied in that order so the digits of the reports hold.
    const double tanDelta = std::tan(delta / kDegreesPerRadian);
    return {0.8f * grid.segStressTop[s] * tanDelta * kc, 0.8f * grid.segStressBottom[s] * tanDelta * kc};
}

}  // namespace pileaxial
