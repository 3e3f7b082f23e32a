// USACE static method: beta form in cohesionless soil, alpha form in cohesive soil.
#include "methods/onshore/usace.hpp"

#include <cmath>

#include "methods/onshore/onshore_integration.hpp"

namespace pileaxial {

namespace {

constexpr double kDegreesPerRadian = 57.2958f;
// Earth-pressure coefficient used when none is given, or when the API method runs alongside (the
// two methods then share one coefficient of horizontal stress): lower in tension, where the pile
// pulls the soil with it instead of pushing it aside.
constexpr double kDefaultKCompression = 1.25f;
constexpr double kDefaultKTension = 0.6f;
// Wall friction delta / phi by pile material: smooth steel, rough timber, cast concrete.
constexpr double kSteelWallRatio = 0.75f;
constexpr double kTimberWallRatio = 0.9f;
constexpr double kConcreteWallRatio = 0.95f;
constexpr double kOtherWallReduction = 5.0f;  // degrees
// A soil type code counts as cohesionless up to 1 plus this in SI (exactly 1 in English).
constexpr double kSiSoilTypeTolerance = 1.0e-6f;
constexpr double kMixedSoilType = 3.0;
// Effective stress at which the stress-based critical depth is reached: 3.5 ksf, or 168 kPa.
constexpr double kCriticalStressEnglish = 3.5f;
constexpr double kCriticalStressSiUsace = 168.0f;
constexpr double kSiCriticalDepthRatio = 0.5f;

// Wall friction angle delta (degrees) from the soil friction angle phi for the pile material.  An
// H-pile fails partly along the soil between its flanges (delta = phi) and partly along the steel
// (0.75 phi): the mean of both.
double WallFrictionAngle(double phi, int pileType) {
    switch (pileType) {
        case 1:
        case 4:
        case 5:
        case 7:
            return kSteelWallRatio * phi;
        case 2:
            return kTimberWallRatio * phi;
        case 3:
            return kConcreteWallRatio * phi;
        case 6:
            return (phi + kSteelWallRatio * phi) / 2;
        default:
            return phi - kOtherWallReduction;
    }
}

// Adhesion factor on the undrained shear strength: full adhesion in soft clay (up to 0.5 ksf, 24 kPa),
// falling linearly to one half at 1.5 ksf (72 kPa) and staying there for stiffer clay.
double AdhesionFactor(double cu, bool si) {
    if (si) {
        if (cu <= 24.0) return 1.0;
        if (cu <= 72.0) return 1.0 - ((cu - 24.0) / 48.0) * 0.5;
        return 0.5;
    }
    if (cu <= 0.5) return 1.0;
    if (cu <= 1.5) return 1.0 - (cu - 0.5) * 0.5;
    return 0.5;
}

}  // namespace

void UsaceUnitTransfer(Run& run) {
    PileModel& pile = run.pile;
    const SegmentGrid& grid = run.grid;
    CapacityState& cap = run.capacity();
    cap.CurrentMethodId = kUsace;
    MethodCurves& curves = cap.method[kUsace];

    const bool si = pile.unitSystem >= 2;
    const bool criticalDepthByStress = pile.criticalDepthOption == 1;
    if (criticalDepthByStress) pile.userCriticalDepth = 0.0;
    const double criticalStress = si ? kCriticalStressSiUsace : kCriticalStressEnglish;

    const double defaultK = pile.tensionLoading == 1 ? kDefaultKTension : kDefaultKCompression;
    const bool apiSelected = pile.methodSelected[InputOrderOf(kApi)] == 1;
    const double batter = pile.batterAngle;  // radians
    const double cohesionlessLimit = si ? kSiSoilTypeTolerance : 0.0;

    for (int i = 1; i <= pile.segmentCount; ++i) {
        const double code = grid.segSoilType[i];
        const bool cohesionless = code - 1.0 <= cohesionlessLimit;
        const bool mixed = !cohesionless && code == kMixedSoilType;

        // Cohesionless part on the stresses limited at the critical depth.
        double frictionTop = 0.0;
        double frictionBottom = 0.0;
        if (cohesionless || mixed) {
            const double delta = WallFrictionAngle(grid.segFrictionAngle[i], pile.pileType);
            const double earthPressure = grid.segEarthPressure[i];
            const double k = apiSelected || earthPressure == 0.0 ? defaultK : earthPressure;
            const double tanDelta = std::tan(delta / kDegreesPerRadian);
            const double stressTop = grid.segStressCappedTop[i];
            const double stressBottom = grid.segStressCapped[i];
            if (batter > 0.0) {
                // On a battered pile the vertical stress also acts normal to the inclined shaft.
                const double inclination = k * std::cos(batter) + std::sin(batter);
                frictionTop = stressTop * tanDelta * inclination;
                frictionBottom = stressBottom * tanDelta * inclination;
            } else {
                frictionTop = k * stressTop * tanDelta;
                frictionBottom = k * stressBottom * tanDelta;
            }
        }

        // The stress-based critical depth is recorded where the full (unlimited) stress first passes
        // the threshold; in SI it is taken at half that depth.
        if (criticalDepthByStress && pile.userCriticalDepth < kPresentTolerance &&
            grid.segStressBottom[i] > criticalStress) {
            pile.userCriticalDepth = si ? kSiCriticalDepthRatio * grid.segBottom[i] : grid.segBottom[i];
        }

        if (cohesionless) {
            curves.SegmentUnitFriction(1, i) = frictionTop;
            curves.SegmentUnitFriction(2, i) = frictionBottom;
            curves.SegmentRemoldedFriction(1, i) = frictionTop;
            curves.SegmentRemoldedFriction(2, i) = frictionBottom;
            curves.SegmentThirdFriction(1, i) = 0.0;
            curves.SegmentThirdFriction(2, i) = 0.0;
            continue;
        }

        const double alpha = AdhesionFactor(grid.segShearStrength[i], si);
        const double adhesion = alpha * grid.segShearStrength[i];
        const double remoldedAdhesion = alpha * grid.segRemoldedStrength[i];
        curves.SegmentUnitFriction(1, i) = adhesion + frictionTop;
        curves.SegmentUnitFriction(2, i) = adhesion + frictionBottom;
        curves.SegmentRemoldedFriction(1, i) = remoldedAdhesion;
        curves.SegmentRemoldedFriction(2, i) = remoldedAdhesion;
        // Mixed soil: the remolded cohesive part together with the frictional part.
        curves.SegmentThirdFriction(1, i) = mixed ? remoldedAdhesion + frictionTop : 0.0;
        curves.SegmentThirdFriction(2, i) = mixed ? remoldedAdhesion + frictionBottom : 0.0;
    }

    CarryToNodesAndIntegrate(run, kUsace, {.siNodeTakesSegmentBottom = true});
}

}  // namespace pileaxial
