// Derived quantities of the pile and soil model and the computation grid of equal pile segments.
#include "model/grid.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/friction_correlation.hpp"

namespace pileaxial {

namespace {

// Depths closer than this are the same depth (single precision 1.0E-6, as the lengths are compared).
constexpr double kDepthTolerance = 1.0e-6f;
// Effective vertical stress at which the stress-based critical depth is reached in English units.
constexpr double kCriticalStressEnglish = 3.5;
// Undrained shear strength estimated from the cone resistance: su = qc / 15.
constexpr double kConeFactor = 15.0;

// Integer part of a length ratio (plus the truncation tolerance).  A ratio that is too large for an
// int, or not a number at all (a zero increment), comes back as a count far beyond every capacity,
// so the caller refuses it instead of the conversion being undefined.
int TruncateRatio(double ratio) {
    constexpr double kLargest = static_cast<double>(std::numeric_limits<int>::max() / 2);
    if (std::isnan(ratio) || ratio >= kLargest) return static_cast<int>(kLargest);
    if (ratio <= -kLargest) return -static_cast<int>(kLargest);
    return static_cast<int>(ratio);
}

// Soil properties that are carried onto the grid by interpolation (everything except the soil
// type, which is taken from the point above, and the depth itself).
struct InterpolatedField {
    Array1<double, kMaxNodes> SegmentGrid::*grid;
    double SoilLayer::*soil;
};

constexpr InterpolatedField kInterpolatedFields[] = {
    {&SegmentGrid::segEarthPressure, &SoilLayer::earthPressureCoeff},
    {&SegmentGrid::segUnitWeight, &SoilLayer::effectiveUnitWeight},
    {&SegmentGrid::segFrictionAngle, &SoilLayer::frictionAngle},
    {&SegmentGrid::segBearingFactor, &SoilLayer::bearingFactor},
    {&SegmentGrid::segMaxFriction, &SoilLayer::maxUnitFriction},
    {&SegmentGrid::segMaxBearing, &SoilLayer::maxUnitBearing},
    {&SegmentGrid::segShearStrength, &SoilLayer::undrainedShearStrength},
    {&SegmentGrid::segRemoldedStrength, &SoilLayer::remoldedShearStrength},
    {&SegmentGrid::segBlowCount, &SoilLayer::blowCount},
    {&SegmentGrid::segPlasticityIndex, &SoilLayer::plasticityIndex},
    {&SegmentGrid::segConeResistance, &SoilLayer::coneResistance},
    {&SegmentGrid::segUserFriction, &SoilLayer::userUnitFriction},
    {&SegmentGrid::segUserBearing, &SoilLayer::userUnitBearing},
    {&SegmentGrid::segLrfdFriction, &SoilLayer::lrfdFriction},
    {&SegmentGrid::segLrfdBearing, &SoilLayer::lrfdBearing},
    {&SegmentGrid::segTipOrCaseValue, &SoilLayer::tipOrCaseValue},
    {&SegmentGrid::segTipOrCaseValueFhwa, &SoilLayer::tipOrCaseValueAsRead},
    {&SegmentGrid::segPeakMovement, &SoilLayer::peakMovement},
};

// Where a segment samples the profile: between points `lower` and `upper` at `offset` below the
// lower point, or, when both are the same point, that point's values as they stand.
struct ProfileSample {
    int lower = 1;
    int upper = 1;
    double offset = 0;
    double span = 0;
};

double SampleProfile(const SoilProfile& soil, const ProfileSample& at, double SoilLayer::*field) {
    const double p0 = soil.point[at.lower].*field;
    if (at.upper == at.lower) return p0;
    const double p1 = soil.point[at.upper].*field;
    return p0 + (p1 - p0) * at.offset / at.span;
}

// Critical depth of a sand segment: 10, 15 or 20 pile diameters, the denser the sand (the larger
// its friction angle) the deeper.
double SandCriticalDepth(double frictionAngle, double diameter) {
    if (frictionAngle < 33.0) return 10.0 * diameter;
    if (frictionAngle < 36.0) return 15.0 * diameter;
    return 20.0 * diameter;
}

// Fills the soil arrays of indices 1..count (segments and, beyond them, the extra pile nodes of a
// battered or short pile) with the profile interpolated at each midpoint.
void FillSoilArrays(Model& model, int count) {
    const PileModel& pile = model.pile;
    const SoilProfile& soil = model.soil;
    SegmentGrid& grid = model.grid;
    const int n = soil.count;
    const double dz = pile.verticalIncrement;

    int k = 1;  // upper point of the bracketing pair; only ever moves down, and never below N-1
    double top = 0.0;
    for (int s = 1; s <= count; ++s) {
        const double bottom = top + dz;
        grid.segTop[s] = top;
        grid.segBottom[s] = bottom;

        while (k + 1 < n && soil.point[k + 1].depth - top <= kDepthTolerance) ++k;

        const double mid = top + dz / 2;
        ProfileSample at{k, k, 0.0, 0.0};
        int typePoint = k;
        if (n >= 2) {
            const double lastDepth = soil.point[n].depth;
            if (mid >= lastDepth) {
                // Below the profile: the deepest point's values hold, nothing is extrapolated.
                at.lower = at.upper = n;
            } else {
                // The segment belongs to the layer its top lies in.  When its midpoint falls outside
                // that pair of points (a point inside the segment, or a profile starting below the
                // ground) the nearer point's values hold: extrapolating past a point would carry a
                // layer's gradient into the next layer, and between a given limit and the "no limit"
                // marker it gives limits of minus millions.
                const double span = soil.point[k + 1].depth - soil.point[k].depth;
                if (span != 0.0) {
                    const double offset = std::clamp(mid - soil.point[k].depth, 0.0, span);
                    at = ProfileSample{k, k + 1, offset, span};
                }
            }
            if (top >= lastDepth - kDepthTolerance) typePoint = n;
        }

        grid.segSoilType[s] = soil.point[typePoint].soilType;
        for (const InterpolatedField& field : kInterpolatedFields) {
            (grid.*field.grid)[s] = SampleProfile(soil, at, field.soil);
        }
        if (grid.segEarthPressure[s] == 0.0) grid.segEarthPressure[s] = kEarthPressureDefault;
        // User unit values are kept as read (psf in English units, carried in ksf on the grid); a pile
        // pulled out of the ground mobilises them reduced by the tension factor.
        if (pile.tensionLoading == 1) {
            grid.segUserFriction[s] = grid.segUserFriction[s] * pile.tensionReductionFactor;
            grid.segUserBearing[s] = grid.segUserBearing[s] * pile.tensionReductionFactor;
        }
        if (pile.english()) {
            grid.segUserFriction[s] = grid.segUserFriction[s] / 1000.0;
            grid.segUserBearing[s] = grid.segUserBearing[s] / 1000.0;
        }
        top = bottom;
    }
}

}  // namespace

void SetUnitLabels(Model& model) {
    UnitLabels& labels = model.labels;
    if (model.pile.unitSystem == 1) {
        labels.length = "FT.";
        labels.diameter = "IN.";
        labels.force = "KIP";
        labels.stress = "KSF";
        labels.unitWeight = "LB/FT^3";
        labels.area = "IN2";
        labels.modulus = "PSI";
        return;
    }
    labels.length = "M. ";
    labels.diameter = "MM.";
    labels.force = "KN.";
    labels.stress = "KPA";
    labels.unitWeight = "KN/M^3 ";
    labels.area = "M2 ";
    if (model.pile.unitSystem == 2) labels.modulus = "KPA";
}

void ComputeSectionArea(PileModel& pile) {
    if (pile.areaMode == 1) {
        pile.sectionArea = pile.uniformArea;
        return;
    }
    if (pile.areaMode != 0) return;  // an area table along the pile, or no area at all

    // Non-circular sections give their area directly; it is used as entered.
    if (pile.pileType == 6 || (pile.pileType == 3 && pile.perimeter > 0.0)) {
        pile.sectionArea = pile.crossSectionAreaAsRead;
        return;
    }
    const double od = pile.outsideDiameter;
    const double id = pile.insideDiameter;
    double area = 0.0;
    if (pile.pileType == 1 || (pile.pileType == 3 && pile.perimeter == 0.0)) {
        area = kAreaFactor * (od * od - id * id);  // tubular: the annulus
    } else {
        area = kAreaFactor * (od * od);            // solid round section
    }
    // Diameters are in millimetres in SI, the area in square metres; English stays in square inches.
    if (pile.unitSystem == 2) area = area / 1000.0 / 1000.0;
    pile.sectionArea = area;
}

void SnapSoilPoints(Model& model) {
    SoilProfile& soil = model.soil;
    const double increment = model.pile.lengthIncrement;
    for (int v = 2; v <= soil.count; ++v) {
        const double above = soil.point[v - 1].depth;
        const double gap = soil.point[v].depth - above;
        if (gap < increment / 2) {
            soil.point[v].depth = above;              // a step in the profile
        } else if (gap < increment) {
            soil.point[v].depth = above + increment;  // thinner than one segment: widen it
        }
    }
}

int ComputeSegmentCount(const PileModel& pile) {
    return TruncateRatio(pile.deepestSoilDepth / pile.lengthIncrement + kLengthTolerance);
}

void BuildSegmentGrid(Model& model) {
    PileModel& pile = model.pile;
    SegmentGrid& grid = model.grid;
    GridCarry& carry = model.carry;
    const bool english = pile.english();
    const int segments = pile.segmentCount;

    pile.verticalIncrement = pile.lengthIncrement * std::cos(pile.batterAngle);
    pile.tipNodeCount = TruncateRatio(pile.embeddedLength / pile.lengthIncrement + kLengthTolerance) + 1;
    if (pile.criticalDepthOption == 1) pile.userCriticalDepth = 0.0;

    const int filled = segments > pile.tipNodeCount ? segments : pile.tipNodeCount;
    grid.filledCount = 0;
    FillSoilArrays(model, filled);
    grid.filledCount = filled;

    carry.unestimatedAngleSegments = 0;
    const double diameter = english ? pile.outsideDiameter / 12.0 : pile.outsideDiameter / 1000.0;
    const double criticalStress = english ? kCriticalStressEnglish : kCriticalStressSi;
    double& zc = carry.criticalDepth;

    // Stress sweep: effective vertical stress, missing friction angles and shear strengths, the
    // stress-based critical depth, and the first pass of the running sand critical depth.
    for (int s = 1; s <= segments; ++s) {
        const double top = s == 1 ? 0.0 : grid.segStressBottom[s - 1];
        grid.segStressTop[s] = top;
        double increase = (grid.segBottom[s] - grid.segTop[s]) * grid.segUnitWeight[s];
        if (english) increase = increase / 1000.0;  // pcf x ft -> ksf
        grid.segStressBottom[s] = top + increase;

        if (grid.segFrictionAngle[s] < kNotGivenTolerance) {
            if (grid.segBlowCount[s] > 0.0) {
                const double sigmaPsi = english ? 1000.0 * grid.segStressBottom[s] / 144.0
                                                : grid.segStressBottom[s] / kPsiPerKpa;
                EstimateFrictionAngle(carry.correlationAngle, grid.segBlowCount[s], sigmaPsi);
                carry.correlationReturned = true;
                grid.segFrictionAngle[s] = carry.correlationAngle;
            } else if (carry.correlationReturned) {
                grid.segFrictionAngle[s] = carry.correlationAngle;
            } else {
                grid.segFrictionAngle[s] = 0.0;
                // Only sand needs the angle; a clay segment without one is ordinary input.
                if (grid.segSoilType[s] == 1.0) ++carry.unestimatedAngleSegments;
            }
        }

        if (grid.segShearStrength[s] < kNotGivenTolerance) {
            // The cone resistance is kept as entered: psf in English units.
            const double cone = english ? grid.segConeResistance[s] / 1000.0 : grid.segConeResistance[s];
            grid.segShearStrength[s] = cone / kConeFactor;
        }

        if (s < 2) continue;
        if (pile.criticalDepthOption == 1 && pile.userCriticalDepth < kPresentTolerance &&
            grid.segStressBottom[s] > criticalStress) {
            pile.userCriticalDepth = grid.segBottom[s];
        }
        if (grid.segSoilType[s] < 1.5) zc = SandCriticalDepth(grid.segFrictionAngle[s], diameter);
    }

    // Stresses limited at the critical depth: below zc the stress stays at its value at zc.
    if (segments < 1) return;
    grid.segStressCapped[1] = grid.segStressBottom[1];
    grid.segStressCappedTop[1] = 0.0;
    int firstBelow = 0;        // first segment from 2 on whose bottom reaches `firstBelowDepth`
    double firstBelowDepth = 0.0;
    // A critical depth sought where the stress reaches its threshold, in a profile whose stress never
    // gets there, does not exist: the stresses stay unlimited (a critical depth of 0 would limit
    // them all to nothing).
    const bool noCriticalDepth = pile.criticalDepthOption == 1 && pile.userCriticalDepth < kPresentTolerance;
    for (int s = 2; s <= segments; ++s) {
        if (grid.segSoilType[s] < 1.5) zc = SandCriticalDepth(grid.segFrictionAngle[s], diameter);
        if (pile.criticalDepthOption > 0) zc = pile.userCriticalDepth;

        if (noCriticalDepth || zc > grid.segBottom[s]) {
            grid.segStressCapped[s] = grid.segStressBottom[s];
        } else {
            if (firstBelow == 0 || zc != firstBelowDepth) {
                firstBelow = 2;
                while (zc > grid.segBottom[firstBelow]) ++firstBelow;  // ends at s at the latest
                firstBelowDepth = zc;
            }
            const int i = firstBelow - 1;
            double increase = (zc - grid.segTop[i]) * grid.segUnitWeight[i];
            if (english) increase = increase / 1000.0;
            grid.segStressCapped[s] = grid.segStressTop[i] + increase;
        }
        grid.segStressCappedTop[s] = grid.segStressCapped[s - 1];
    }
}

}  // namespace pileaxial
