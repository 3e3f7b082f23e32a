#include "methods/onshore/fhwa.hpp"

#include <algorithm>
#include <cmath>

#include "methods/onshore/fhwa_charts.hpp"
#include "methods/onshore/onshore_integration.hpp"

namespace pileaxial {

namespace {

// Design constants, single precision as the method was calibrated.
constexpr double kVolumeFactor = 0.7853975f;          // pi/4 in the displacement volume
constexpr double kSquareMetresPerSquareFoot = 0.0929f; // SI volumes go to the charts in ft^3/ft
constexpr double kDegreesPerRadian = 57.2958f;
constexpr double kTaperRadiansPerDegree = 0.01745f;
constexpr double kKpaPerKsf = 47.88f;
constexpr double kAreaGiven = 1.0e-6f;                // an input area below this was not given
constexpr double kEnhancedEndGiven = 0.001f;          // length of an enhanced end section
constexpr double kSolidEndDiameter = 1.0e-5f;         // inside diameter of a solid end section
constexpr double kCaseOverrideGiven = 1.0e-6f;
constexpr double kNearLayerBottom = 0.95f;            // a segment this close to a layer bottom ends it
constexpr double kTopAboveGround = -0.1f;             // layer top when no layer holds the segment
constexpr double kSoftClayKsf = 0.8f;                 // strength below which the overlying clay is soft
constexpr double kCohesionlessBelow = 0.9f;           // soil type - 1 below this: cohesionless
constexpr double kSameType = 1.0e-10f;
constexpr double kFrictionChartStep = 5.0;            // the K_delta charts are 5 degrees apart

// Adhesion cases: 1 cohesionless soil over stiff clay, 2 soft clay or silt over stiff clay,
// 3 stiff clay without different overlying strata; kNoCase means none chosen yet.
constexpr int kNoCase = 10;
constexpr int kLargestCaseValue = 1000;  // an override this large reads no chart, like 4 to 9

// A penetration ratio that reads the deepest curve of every adhesion chart.  Taken when the pile has
// no positive diameter at the layer: the penetration in diameters is then unbounded.
constexpr double kDeepestCurveRatio = 40.0;

// What the walk down the segments carries from one cohesive segment to the next.
struct CohesiveWalk {
    int adhesionCase = kNoCase;
    double accumulatedThickness = 0;  // cohesive strata passed through, H_acc
    double lastBottom = 0;            // bottom of the last layer reached, capped at the pile tip
    double penetrationRatio = 0;
    bool nextCohesionless = false;    // the segment below the last cohesive one is cohesionless
    Array1<bool, kMaxSoilPoints> layerCounted;  // layer (row j to j+1) already in H_acc
};

// Displacement volume of the pile per unit length (ft^3 per ft) at the bottom depth of a segment,
// as the delta/phi and K_delta charts read it.  An open section displaces its annulus (or the area
// the user gives), a plugged one its full section, a solid end section its full, possibly tapered,
// section; an H-pile always displaces the area given for it.
double DisplacementVolume(const PileModel& pile, int plugState, double depth) {
    const bool english = pile.unitSystem < 2;
    const double d = pile.outsideDiameter;
    const double di = pile.insideDiameter;
    const double areaScale = english ? 144.0 : 1.0e6;  // in^2 -> ft^2, mm^2 -> m^2
    const bool areaGiven = pile.crossSectionArea >= kAreaGiven;
    const double annulus = kVolumeFactor * (d * d - di * di) / areaScale;

    double volume = areaGiven ? pile.crossSectionArea : annulus;
    if (plugState == 1) {
        volume = (english ? kVolumeFactor : kAreaFactor) * (d * d) / areaScale;
    } else if (plugState == 2 && english) {
        volume = annulus;
    }
    if (pile.enhancedEndLength > kEnhancedEndGiven && pile.enhancedEndDiameter < kSolidEndDiameter) {
        if (pile.taperAngle > 0) {
            const double diameter = d / (english ? 12.0 : 1000.0);
            const double atDepth = diameter - 2 * std::tan(pile.taperAngle * kTaperRadiansPerDegree) *
                                                  (pile.stickupLength + depth);
            volume = kVolumeFactor * (atDepth * atDepth);
        } else {
            volume = kAreaFactor * (d * d) / areaScale;
        }
    }
    if (pile.pileType == 6 && areaGiven) volume = pile.crossSectionArea;
    if (!english) volume = volume / kSquareMetresPerSquareFoot;
    return volume;
}

// K_delta for the friction angle: the chart of the angle below and the chart of the angle above,
// blended linearly; below 25 and from 40 degrees on the end chart alone.
double EarthPressureCoefficient(double phi, double taperAngle, double volume) {
    if (phi < 25.0) return KDeltaChart25(taperAngle, volume);
    if (phi < 30.0) {
        const double k25 = KDeltaChart25(taperAngle, volume);
        return k25 + (KDeltaChart30(taperAngle, volume) - k25) * (phi - 25.0) / kFrictionChartStep;
    }
    if (phi < 35.0) {
        const double k30 = KDeltaChart30(taperAngle, volume);
        return k30 + (KDeltaChart35(taperAngle, volume) - k30) * (phi - 30.0) / kFrictionChartStep;
    }
    if (phi < 40.0) {
        const double k35 = KDeltaChart35(taperAngle, volume);
        return k35 + (KDeltaChart40(taperAngle, volume) - k35) * (phi - 35.0) / kFrictionChartStep;
    }
    return KDeltaChart40(taperAngle, volume);
}

// Penetration of the pile into the cohesive strata, in pile diameters, for the segment whose bottom
// is at `depth`.  The layer holding the segment is found in the soil data points; the penetration
// runs from the layer top to the layer bottom or the pile tip, plus the thickness of the strata the
// walk has already passed through.  A layer's thickness is counted once, by the first segment that
// comes within 0.95 of its bottom, however fine the segments are.
double PenetrationRatio(const Model& model, CohesiveWalk& walk, double depth) {
    const PileModel& pile = model.pile;
    const SoilProfile& soil = model.soil;
    double top = kTopAboveGround;
    double bottom = walk.lastBottom;
    for (int j = 1; j + 1 <= soil.count; ++j) {
        const double upper = soil.point[j].depth;
        const double lower = soil.point[j + 1].depth;
        if (upper < depth && depth <= lower) {
            top = upper;
            bottom = lower;
            if (std::abs(lower - depth) < kNearLayerBottom && !walk.layerCounted[j]) {
                walk.accumulatedThickness += lower - upper;
                walk.layerCounted[j] = true;
            }
        }
    }
    const double reach = std::min(bottom, pile.embeddedLength);
    walk.lastBottom = reach;
    const double diameter = pile.outsideDiameter / (pile.unitSystem < 2 ? 12.0 : 1000.0);
    const double width = diameter - std::tan(pile.taperAngle * kTaperRadiansPerDegree) *
                                        (2 * pile.stickupLength + bottom + top);
    if (!(width > 0)) return kDeepestCurveRatio;
    return (walk.accumulatedThickness - top + reach) / width;
}

// Adhesion factor of a cohesive segment for the case in force.  The charts leave their value for
// segments that choose no case; before any chart has been read in the run such a segment is taken
// as stiff clay without different overlying strata.
double AdhesionFactor(Run& run, int adhesionCase, double strength, double ratio) {
    CapacityState& cap = run.capacity();
    const int unitSystem = run.pile.unitSystem;
    double alpha = 0;
    switch (adhesionCase) {
        case 1: alpha = AdhesionChartCase1(strength, ratio, unitSystem); break;
        case 2: alpha = AdhesionChartCase2(strength, ratio, unitSystem); break;
        case 3: alpha = AdhesionChartCase3(strength, ratio, unitSystem); break;
        default:
            return cap.fhwaAdhesionSet ? cap.fhwaAdhesionFactor
                                       : AdhesionChartCase3(strength, ratio, unitSystem);
    }
    cap.fhwaAdhesionFactor = alpha;
    cap.fhwaAdhesionSet = true;
    return alpha;
}

void CohesionlessSegment(Run& run, int i, CohesiveWalk& walk) {
    const PileModel& pile = run.pile;
    const SegmentGrid& grid = run.grid;
    MethodCurves& curves = run.capacity().method[kFhwa];

    const double volume = DisplacementVolume(pile, curves.TipControl[i], grid.segBottom[i]);
    const double phi = grid.segFrictionAngle[i];
    const double deltaOverPhi = DeltaPhiRatioChart(volume, pile.pileType);
    const double delta = phi * deltaOverPhi;
    const double correction = CfCorrectionChart(deltaOverPhi, phi);
    const double kDelta = EarthPressureCoefficient(phi, pile.taperAngle, volume);
    const double taper = pile.taperAngle / kDegreesPerRadian;
    const double sine = std::sin(delta / kDegreesPerRadian + taper);
    const double cosine = std::cos(taper);

    const double top = grid.segStressTop[i] * correction * sine * kDelta / cosine;
    const double bottom = grid.segStressBottom[i] * correction * sine * kDelta / cosine;
    curves.SegmentUnitFriction(1, i) = top;
    curves.SegmentUnitFriction(2, i) = bottom;
    curves.SegmentRemoldedFriction(1, i) = top;
    curves.SegmentRemoldedFriction(2, i) = bottom;

    walk.adhesionCase = kNoCase;
    walk.nextCohesionless = false;
}

void CohesiveSegment(Run& run, int i, CohesiveWalk& walk) {
    const PileModel& pile = run.pile;
    const SegmentGrid& grid = run.grid;
    const int n = pile.segmentCount;

    if (!walk.nextCohesionless) walk.penetrationRatio = PenetrationRatio(run, walk, grid.segBottom[i]);
    if (i < n && grid.segSoilType[i + 1] - 1.0 < kCohesionlessBelow) walk.nextCohesionless = true;

    // The arrangement is read from the segment above the first cohesive segment of a stratum and
    // holds down to the next cohesionless segment.
    if (walk.adhesionCase == kNoCase && n >= 3 && i >= 2) {
        if (grid.segSoilType[i - 1] - 1.0 < kSameType) {
            walk.adhesionCase = 1;
        } else {
            const double aboveKsf = pile.unitSystem < 2 ? grid.segShearStrength[i - 1]
                                                        : grid.segShearStrength[i - 1] / kKpaPerKsf;
            walk.adhesionCase = aboveKsf < kSoftClayKsf ? 2 : 3;
        }
    }
    // The user may name the case; the value as entered, so SI input reads it unscaled.
    const double caseValue = grid.segTipOrCaseValueFhwa[i];
    if (caseValue > kCaseOverrideGiven) {
        walk.adhesionCase = caseValue >= kLargestCaseValue ? kLargestCaseValue : static_cast<int>(caseValue);
    }

    const double strength = grid.segShearStrength[i];
    const double alpha = AdhesionFactor(run, walk.adhesionCase, strength, walk.penetrationRatio);
    MethodCurves& curves = run.capacity().method[kFhwa];
    curves.SegmentUnitFriction(1, i) = alpha * strength;
    curves.SegmentUnitFriction(2, i) = alpha * strength;
    curves.SegmentRemoldedFriction(1, i) = alpha * grid.segRemoldedStrength[i];
    curves.SegmentRemoldedFriction(2, i) = alpha * grid.segRemoldedStrength[i];
}

}  // namespace

void FhwaUnitTransfer(Run& run) {
    run.capacity().CurrentMethodId = kFhwa;

    CohesiveWalk walk;
    for (int i = 1; i <= run.pile.segmentCount; ++i) {
        if (walk.adhesionCase < 1) walk.adhesionCase = kNoCase;
        if (run.grid.segSoilType[i] <= 1.0) {
            CohesionlessSegment(run, i, walk);
        } else {
            CohesiveSegment(run, i, walk);
        }
    }

    CarryToNodesAndIntegrate(run, kFhwa, {});
}

}  // namespace pileaxial
