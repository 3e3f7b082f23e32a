// Revised Lambda method: total side resistance lambda (sigma-bar' + 2 c-bar) P z at every pile node,
// lambda depending on the pile-soil stiffness ratio pi2; unit side friction by differencing.
#include "methods/onshore/lambda.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "methods/onshore/onshore_integration.hpp"
#include "textio/input_error.hpp"

namespace pileaxial {

namespace {

constexpr double kPi = 3.14159f;
constexpr double kDegreesPerRadian = 57.2958f;
constexpr double kTolerance = 1.0e-6f;
constexpr double kEarthPressureWhenZero = 1.0;
constexpr double kAreaGiven = 1.0e-4f;  // an input section area counts as given above this
constexpr double kAnnulusFactor = 0.7853975f;
// A differenced unit friction below this is numerical noise (or a drop of the averaged strength
// with depth): the friction of the increment above is kept instead.
constexpr double kSmallestFriction = 1.0e-7f;

// Pile-soil stiffness ratio pi2 = pi D z^2 c-bar / (A E delta_f): the shaft load the soil can take
// against the load that shortens the pile elastically by the reference movement delta_f = 0.1 in
// (2.54 mm).  The constants carry pi times the unit factor that makes the ratio dimensionless:
//   English: D in, z ft, c-bar ksf (x 1000 to psf), A in^2, E psi, delta_f in:
//            in x ft^2 x lb/ft^2 / (in^2 x lb/in^2 x in) = 1, so 3141.59 = pi x 1000;
//   SI:      D mm, z m, c-bar kPa, A mm^2, E kPa, delta_f mm:
//            mm x m^2 x kPa / (mm^2 x kPa x mm) = m^2 / mm^2 = 1.0E6, so 3141590.1 = pi x 1.0E6.
// Both constants are written for the section area in in^2 or mm^2, the unit of the area computed from
// the diameters; an input area (ft^2 after reading, or m^2) is brought to that unit first.
constexpr double kStiffnessEnglish = 3141.59f;
constexpr double kReferenceMovementEnglish = 0.1f;  // in
constexpr double kStiffnessSi = 3141590.1f;
constexpr double kReferenceMovementSi = 2.54f;      // mm
constexpr double kSquareInchesPerSquareFoot = 144.0;
constexpr double kSquareMillimetresPerSquareMetre = 1.0e6;

// lambda against pi2: a stiffer pile relative to the soil (small pi2) mobilises more of the soil's
// strength along its whole length.  Mainly frictional soil (c-bar below 0.4 sigma-bar') and mainly
// cohesive soil have their own curves; lambda is never taken below 0.14.
constexpr double kLambdaFrictionalIntercept = 0.178f;
constexpr double kLambdaFrictionalSlope = 0.016f;
constexpr double kLambdaCohesiveIntercept = 0.232f;
constexpr double kLambdaCohesiveSlope = 0.032f;
constexpr double kFrictionalRatio = 0.4f;
constexpr double kLambdaFloor = 0.14f;

double Lambda(double pi2, double cBar, double sigmaBar) {
    // pi2 is zero at the head (z = 0) and without strength; no strength mobilises no friction.
    if (pi2 <= 0.0) return 0.0;
    // Without effective stress (sigma-bar' = 0) the soil is purely cohesive: the ratio is infinite.
    const bool frictional = sigmaBar > 0.0 && cBar / sigmaBar < kFrictionalRatio;
    const double lambda = frictional ? kLambdaFrictionalIntercept - kLambdaFrictionalSlope * std::log(pi2)
                                     : kLambdaCohesiveIntercept - kLambdaCohesiveSlope * std::log(pi2);
    return std::max(lambda, kLambdaFloor);
}

std::string InputFileName(const Run& run) {
    return run.files.inputName.empty() ? std::string("input data file") : run.files.inputName;
}

// The perimeter and the stiffness ratio need a pile with a diameter, a stiffness and a section; a
// zero there would divide by zero and leave no number at all, so the run is refused instead.
void CheckPileSection(const Run& run, double sectionArea) {
    const PileModel& pile = run.pile;
    if (!(pile.outsideDiameter > 0.0)) {
        throw InputError(InputFileName(run) + ", record G2, field 3 (outside diameter): the Revised Lambda "
                         "method needs a positive pile diameter for the shaft perimeter");
    }
    if (!(pile.elasticModulus > 0.0)) {
        throw InputError(InputFileName(run) + ", record G2, field 5 (modulus of elasticity): the pile-soil "
                         "stiffness ratio of the Revised Lambda method needs a positive modulus of elasticity");
    }
    if (!(sectionArea > 0.0)) {
        throw InputError(InputFileName(run) + ", record G3, field 2 (internal diameter of enhanced end "
                         "section): the internal diameter is not smaller than the outside diameter, so the "
                         "pile section of the Revised Lambda stiffness ratio is not positive; give the "
                         "cross-section area in record G2, field 2");
    }
}

}  // namespace

void LambdaUnitTransfer(Run& run) {
    const PileModel& pile = run.pile;
    SegmentGrid& grid = run.grid;
    CapacityState& cap = run.capacity();
    cap.CurrentMethodId = kLambda;
    MethodResult& r = cap.current;
    MethodCurves& curves = cap.method[kLambda];

    const int n = pile.segmentCount;
    const int increments = OnshoreIncrementCount(pile);
    const double h = pile.verticalIncrement;
    const double dz = pile.lengthIncrement;
    const bool si = pile.unitSystem >= 2;
    const double d = pile.outsideDiameter;  // in or mm, as the stiffness constants expect
    const double perimeter = kPi * (d / (si ? 1000.0 : 12.0));

    // Section area in in^2 or mm^2 (see the stiffness constants above).
    const double sectionArea =
        pile.crossSectionArea > kAreaGiven
            ? pile.crossSectionArea * (si ? kSquareMillimetresPerSquareMetre : kSquareInchesPerSquareFoot)
            : kAnnulusFactor * (d * d - pile.enhancedEndDiameter * pile.enhancedEndDiameter);
    CheckPileSection(run, sectionArea);
    const double stiffnessConstant = si ? kStiffnessSi : kStiffnessEnglish;
    const double referenceMovement = si ? kReferenceMovementSi : kReferenceMovementEnglish;
    const double modulus = pile.elasticModulus;

    // Per segment: the strength term s (c_u in cohesive soil, K sigma'_mean tan(phi) in cohesionless
    // soil) and the depth integrals of the effective stress and of s over the segment.
    Array1<double, kMaxSegments> strength, stressIntegral, strengthIntegral;
    for (int i = 1; i <= n; ++i) {
        // A coefficient left at 0 takes 1.0, and the grid keeps it for whatever reads it later.
        if (grid.segEarthPressure[i] == 0.0) grid.segEarthPressure[i] = kEarthPressureWhenZero;
        const double meanStress = (grid.segStressTop[i] + grid.segStressBottom[i]) / 2;
        strength[i] = grid.segSoilType[i] > 1.0
                          ? grid.segShearStrength[i]
                          : grid.segEarthPressure[i] * meanStress *
                                std::tan(grid.segFrictionAngle[i] / kDegreesPerRadian);
    }
    // No friction above the zero friction length.
    for (int i = 1; i <= n && grid.segBottom[i] - pile.zeroFrictionLength <= kTolerance; ++i) strength[i] = 0.0;
    for (int i = 1; i <= n; ++i) {
        const double thickness = grid.segBottom[i] - grid.segTop[i];
        stressIntegral[i] = thickness * (grid.segStressTop[i] + grid.segStressBottom[i]) / 2;
        strengthIntegral[i] = thickness * strength[i];
    }

    const bool tension = pile.tensionLoading == 1;
    const double reduction = tension ? pile.tensionReductionFactor : 1.0;
    auto thickness = [&grid](int s) { return grid.segBottom[s] - grid.segTop[s]; };

    // Nodes.  The segment walk is a forward cursor (node depths only grow) carrying the integrals of
    // the segments above the one that holds the node.
    int m = 1;
    double bottomOfM = n >= 1 ? thickness(1) : 0.0;
    double stressAbove = 0.0;    // sum of stressIntegral over the segments above m
    double strengthAbove = 0.0;  // sum of strengthIntegral over the segments above m
    double cumulative = 0.0;     // side resistance in compression (tension: before the reduction)
    double friction = 0.0;       // unit side friction of the last increment, likewise
    for (int k = 1; k <= increments + 1; ++k) {
        const double z = OnshoreNodeDepth(k, h);
        double sigmaBar = 0.0;
        double cBar = 0.0;
        if (n >= 1 && z - thickness(1) <= kTolerance) {
            // Within the first segment, the head included: c-bar is that segment's strength.
            const double t1 = thickness(1);
            const double sigma = grid.segStressTop[1] + (grid.segStressBottom[1] - grid.segStressTop[1]) / t1 * z;
            sigmaBar = (sigma + grid.segStressTop[1]) / 2;
            cBar = strength[1];
        } else if (n >= 1) {
            while (z - bottomOfM > kTolerance && m < n) {
                stressAbove += stressIntegral[m];
                strengthAbove += strengthIntegral[m];
                bottomOfM += thickness(++m);
            }
            const double tm = thickness(m);
            const double part = z - (bottomOfM - tm);  // part of segment m above the node
            const double sigma = grid.segStressTop[m] + (grid.segStressBottom[m] - grid.segStressTop[m]) / tm * part;
            sigmaBar = (stressAbove + (sigma + grid.segStressTop[m]) / 2 * part) / z;
            cBar = (strengthAbove + strength[m] * part) / z;
        }

        const double pi2 = stiffnessConstant * d * (z * z) * cBar / (sectionArea * referenceMovement * modulus);
        const double lambda = Lambda(pi2, cBar, sigmaBar);
        const double resistance = (2 * cBar + sigmaBar) * perimeter * z * lambda;

        // Unit friction of the increment ending at node k, then the node's limit.  The resistance is
        // accumulated unreduced in tension too, so that a limit applied at one node does not reduce
        // the resistance already accumulated above it again at every later node.
        double f = k == 1 ? resistance / perimeter / dz : (resistance - cumulative) / perimeter / dz;
        if (k >= 2 && f < kSmallestFriction) f = friction;
        const double limit = grid.segMaxFriction[k];
        f = std::min(f, limit);
        cumulative = k == 1 ? dz * perimeter * f : cumulative + dz * perimeter * f;
        friction = f;

        // The increment force dz P f can exceed the limit force dz P limit only where f exceeds the
        // unit limit, which the minimum above has excluded: the unit limit is the whole check.
        const double stored = reduction * cumulative;
        r.UnitSideFriction[k] = reduction * f;
        r.LimitedUnitSideFriction[k] = reduction * f;
        r.NodeFrictionLimit[k] = limit;
        r.SideForceIncrement[k] = k == 1 ? stored : stored - r.TotalSkinFriction[k - 1];
        r.SideForceLimit[k] = k == 1 ? 0.0 : limit * dz * perimeter;
        r.TotalSkinFriction[k] = stored;
    }

    // Factored side resistance: each increment with the factor of segment index k.
    for (int k = 1; k <= increments + 1; ++k) {
        const double previous = k == 1 ? 0.0 : r.ReducedCumulativeSideResistance[k - 1];
        r.ReducedCumulativeSideResistance[k] = previous + r.SideForceIncrement[k] * grid.segLrfdFriction[k];
    }
    for (int k = 1; k <= increments + 1; ++k) {
        // Any reporting option other than 1 reports the unfactored resistance, as the echo says.
        r.ReportedSkinFriction[k] =
            pile.reducedSideFriction == 1 ? r.ReducedCumulativeSideResistance[k] : r.TotalSkinFriction[k];
        r.TotalSkinFriction[k] = r.ReducedCumulativeSideResistance[k];
        curves.SavedSkin[k] = r.ReportedSkinFriction[k];
    }

    // Per segment: the unit friction of the pile increment that lies in it.
    for (int s = 1; s <= n; ++s) {
        const double f = s <= increments ? r.LimitedUnitSideFriction[s + 1] : 0.0;
        curves.SegmentUnitFriction(1, s) = f;
        curves.SegmentUnitFriction(2, s) = f;
        curves.SegmentRemoldedFriction(1, s) = f;
        curves.SegmentRemoldedFriction(2, s) = f;
    }
}

}  // namespace pileaxial
