// UWA method: sand friction from the cone resistance with the effective area ratio, friction fatigue
// by diameters from the tip and dilation; clay by the ICP rule; the shared offshore integration.
#include "methods/offshore/uwa.hpp"

#include <algorithm>
#include <cmath>

#include "methods/offshore/icp_clay.hpp"
#include "methods/offshore/offshore_steps.hpp"

namespace pileaxial {

namespace {

constexpr double kDegreesPerRadian = 57.2958f;
// Soil-pile friction angle: the sand's friction angle less 5 degrees.
constexpr double kWallFrictionReduction = 5.0;
constexpr double kMetresPerInch = 0.0254f;
constexpr double kMetresPerMm = 0.001f;
// Segments at or below the tip are held this close to it (in. or mm).
constexpr double kLeastDistanceFromTip = 1.0e-5f;

// Filling ratio: the bore of 1.5 m and more fills fully while driven.
constexpr double kFullyFillingBoreMetres = 1.5;
constexpr double kFillingExponent = 0.2f;
constexpr double kAreaRatioExponent = 0.3f;
// Friction fatigue is not carried nearer the tip than two diameters.
constexpr double kLeastDiametersFromTip = 2.0;
constexpr double kStationaryFactor = 0.03f;
// Normalised cone resistance and small-strain shear modulus of the sand.
constexpr double kLeastNormalisedStress = 1.0e-7f;
constexpr double kShearModulusFactor = 185.0;
constexpr double kShearModulusExponent = 0.75;
constexpr double kTensionFactor = 0.75;
// Dilation displacement of the shear band, 4 dr = 0.08 mm (0.08 / 25.4 in.).
constexpr double kDilationDisplacementIn = 0.0031496062874794006;
constexpr double kDilationDisplacementMm = 0.08f;

}  // namespace

double UwaFillingRatio(double insideDiameterMetres) {
    const double bore = std::max(insideDiameterMetres, 0.0);
    return std::min(1.0, std::pow(bore / kFullyFillingBoreMetres, kFillingExponent));
}

double UwaEffectiveAreaRatio(double fillingRatio, double outsideDiameter, double insideDiameter) {
    if (!(outsideDiameter > 0.0)) return 0.0;
    const double ratio = insideDiameter / outsideDiameter;
    return std::max(1.0 - fillingRatio * ratio * ratio, 0.0);
}

double UwaFrictionFatigue(double distanceFromTip, double outsideDiameter) {
    // No diameter: every point is infinitely many diameters from the tip, where the term is 0.
    if (!(outsideDiameter > 0.0)) return 0.0;
    return 1.0 / std::sqrt(std::max(kLeastDiametersFromTip, distanceFromTip / outsideDiameter));
}

double UwaStationaryRadialStress(double coneResistance, double areaRatio, double fatigue) {
    if (!(coneResistance > 0.0)) return 0.0;
    return kStationaryFactor * coneResistance * std::pow(areaRatio, kAreaRatioExponent) * fatigue;
}

double UwaDilationStress(double coneResistance, double stress, double referencePressure,
                         double dilationDisplacement, double outsideDiameter) {
    // Without cone resistance the modulus is 0 / 0; the sand then has no stiffness to dilate against.
    if (!(coneResistance > 0.0) || !(outsideDiameter > 0.0)) return 0.0;
    const double normalisedStress = std::max(kLeastNormalisedStress, stress / referencePressure);
    const double qc1n = (coneResistance / referencePressure) / std::sqrt(normalisedStress);
    const double shearModulus = kShearModulusFactor * coneResistance / std::pow(qc1n, kShearModulusExponent);
    return shearModulus * dilationDisplacement / outsideDiameter;
}

double UwaSandFriction(double stationaryStress, double dilationStress, double frictionAngle, bool tension) {
    double radialStress = stationaryStress + dilationStress;
    if (tension) radialStress = radialStress * kTensionFactor;
    return radialStress * std::tan((frictionAngle - kWallFrictionReduction) / kDegreesPerRadian);
}

void UwaUnitTransfer(Run& run) {
    const PileModel& pile = run.pile;
    const SegmentGrid& grid = run.grid;
    const bool english = pile.english();
    const double pa = ConeReferencePressure(pile);
    const double diameter = pile.outsideDiameter;
    const double insideDiameter = ConeMethodInsideDiameter(pile);
    const double filling = UwaFillingRatio(insideDiameter * (english ? kMetresPerInch : kMetresPerMm));
    const double areaRatio = UwaEffectiveAreaRatio(filling, diameter, insideDiameter);
    const double dilationDisplacement = english ? kDilationDisplacementIn : kDilationDisplacementMm;
    const double lengthToDiameter = english ? 12.0 : 1000.0;
    const bool tension = pile.tensionLoading == 1;
    RunClayRuleMethod(run, kUwa, [&](int s) {
        const double q = OffshoreConeResistance(run, s);
        const double h = std::max(kLeastDistanceFromTip, DistanceFromTip(pile, s) * lengthToDiameter);
        const double stationary = UwaStationaryRadialStress(q, areaRatio, UwaFrictionFatigue(h, diameter));
        const double phi = grid.segFrictionAngle[s];
        const double bottom = UwaSandFriction(
            stationary, UwaDilationStress(q, grid.segStressBottom[s], pa, dilationDisplacement, diameter), phi,
            tension);
        const double top = UwaSandFriction(
            stationary, UwaDilationStress(q, grid.segStressTop[s], pa, dilationDisplacement, diameter), phi,
            tension);
        return FrictionPair{top, bottom};
    });
}

}  // namespace pileaxial
