// Tip values of the method in hand: plug and annulus, gross-section average, tip decision and, in
// tension, the pile's self weight.
#include "capacity/post_processing.hpp"

#include <algorithm>
#include <cmath>

#include "capacity/bearing_charts.hpp"
#include "capacity/end_bearing.hpp"

namespace pileaxial {
namespace {

constexpr double kTolerance = 1.0e-6f;
constexpr double kQuarterPi = 0.7853975f;
constexpr double kHalfPi = 1.570795f;
constexpr double kGivenArea = 1.0e-4f;          // a cross-section area counts as given above this
constexpr double kNoEnhancedEnd = 1.0e-4f;      // enhanced-end diameter and length: absent below this
constexpr double kGivenUniformArea = 1.0e-6f;
constexpr double kKsfToKpaInner = 47.8f;        // converts the chart's ksf limit of the plug friction
constexpr double kDegreesToRadians = kSinglePi / 180.0;
constexpr double kTaperDegreesToRadians = 0.01745f;
constexpr double kWindowDiameters = 1.5;

double LengthUnitDivisor(const PileModel& pile) { return pile.english() ? 12.0 : 1000.0; }
double AreaUnitDivisor(const PileModel& pile) { return pile.english() ? 144.0 : 1.0e6; }

// An open-ended pile with a bore: the soil may enter it and form a plug.
bool OpenSection(const PileModel& pile) {
    return pile.insideDiameter >= kNotGivenTolerance && pile.tipClosure != 1;
}

// Reads a quantity given at the top and bottom of every segment as a profile over vertical depth:
// linear within a segment, the bottom value of the upper segment on a boundary, the head value at and
// above the ground and the last value below the last segment.  The depths asked for must not
// decrease, so a walk over all the pile nodes costs one pass over the segments.
class SegmentProfileReader {
public:
    // The walk stays within segments 1..segments, which the grid's arrays hold.
    SegmentProfileReader(const SegmentGrid& grid, const SegmentPairArray& values, int segments)
        : top_(grid.segTop.data()),
          bottom_(grid.segBottom.data()),
          v1_(values.top().data()),
          v2_(values.bottom().data()),
          last_(std::min(segments, kMaxSegments) - 1) {}

    double at(double z) {
        if (last_ < 0) return 0.0;
        if (z <= top_[0]) return v1_[0];
        while (i_ < last_ && z - bottom_[i_] > kTolerance) ++i_;
        if (z - bottom_[i_] > kTolerance) return v2_[last_];
        const double top = top_[i_];
        const double span = bottom_[i_] - top;
        const double v1 = v1_[i_];
        const double v2 = v2_[i_];
        if (span <= 0.0 || z >= bottom_[i_]) return v2;
        return v1 + (v2 - v1) * (z - top) / span;
    }

private:
    const double* top_;
    const double* bottom_;
    const double* v1_;
    const double* v2_;
    int last_;   // index of the last segment (from 0)
    int i_ = 0;  // index of the segment the walk has reached
};

// Inner unit friction of a segment computed from the soil: in sand the earth pressure on a wall of
// friction angle phi - 5 (offshore methods also hold it to the chart limit), in clay the remolded
// strength times the adhesion factor of the strength ratio.
void SoilInnerFriction(const Run& run, int method, int s, double& f1, double& f2) {
    const SegmentGrid& grid = run.grid;
    if (IsSandSegment(grid, s)) {
        const double delta = grid.segFrictionAngle[s] - 5.0;
        const double tanDelta = std::tan(delta * kDegreesToRadians);
        f1 = std::min(tanDelta * grid.segEarthPressure[s] * grid.segStressTop[s], grid.segMaxFriction[s]);
        f2 = std::min(tanDelta * grid.segEarthPressure[s] * grid.segStressBottom[s], grid.segMaxFriction[s]);
        if (method == kApi) {
            double limit = ApiLimitFriction(delta);
            if (!run.pile.english()) limit = limit * kKsfToKpaInner;
            f1 = std::min(f1, limit);
            f2 = std::min(f2, limit);
        }
        return;
    }
    double psi = grid.segShearStrength[s] / std::max(grid.segStressBottom[s], kNotGivenTolerance);
    psi = std::max(psi, kNotGivenTolerance);
    double alpha = psi <= 1.0 ? 0.5 * std::pow(psi, -0.5) : 0.5 * std::pow(psi, -0.25);
    alpha = std::min(alpha, 1.0);
    f1 = f2 = alpha * grid.segRemoldedStrength[s];
}

// The methods that give their own friction for the inside of the pile.
bool MethodGivesInnerFriction(int method) {
    return method == kFhwa || method == kUsace || method == kNgi || method == kIcp || method == kFugro ||
           method == kUwa;
}

}  // namespace

double TipWindowHalfWidth(const PileModel& pile) {
    return kWindowDiameters * pile.outsideDiameter / LengthUnitDivisor(pile);
}

void ComputePlugAndAnnulus(Run& run) {
    CapacityState& cap = run.capacity();
    MethodResult& cur = cap.current;
    const PileModel& pile = run.pile;
    const SegmentGrid& grid = run.grid;
    const int method = cap.CurrentMethodId;
    const int n = pile.segmentCount;
    const double d = pile.enhancedEndDiameter;

    // Bearing of the steel annulus at every segment end.  The cone-based methods (and the user's) put
    // the full cone resistance on the annulus of an open pile; a segment's bottom takes the cone
    // resistance of the segment below, so the annulus bearing is continuous down the pile.
    const bool coneOnAnnulus = method >= kNgi && d > kNoEnhancedEnd;
    const bool givenArea = pile.crossSectionArea > kGivenArea;
    for (int s = 1; s <= n; ++s) {
        for (int end = 1; end <= 2; ++end) {
            double q = cur.SegmentUnitBearing(end, s);
            if (coneOnAnnulus) q = EndBearingConeResistance(run, end == 1 ? s : std::min(s + 1, n));
            cur.AnnulusBearing(end, s) =
                givenArea ? q * pile.crossSectionArea
                          : q * kQuarterPi * (pile.outsideDiameter * pile.outsideDiameter - d * d) /
                                AreaUnitDivisor(pile);
        }
    }

    // Unit friction between the pile and the soil plug, and its integral over the inner wall.
    const MethodCurves& own = cap.method[method];
    const bool ownInner = MethodGivesInnerFriction(method);
    const double innerDiameter = d / LengthUnitDivisor(pile);
    double sum = 0.0;
    for (int s = 1; s <= n; ++s) {
        double f1 = 0.0;
        double f2 = 0.0;
        if (ownInner) {
            f1 = own.SegmentRemoldedFriction(1, s);
            f2 = IsSandSegment(grid, s) ? own.SegmentRemoldedFriction(2, s) : f1;
        } else {
            SoilInnerFriction(run, method, s, f1, f2);
        }
        cur.InnerUnitFriction(1, s) = f1;
        cur.InnerUnitFriction(2, s) = f2;
        cur.InnerFrictionSum(1, s) = sum;
        sum = sum + kHalfPi * innerDiameter * (grid.segBottom[s] - grid.segTop[s]) * (f1 + f2);
        cur.InnerFrictionSum(2, s) = sum;
    }
    // An unplugged pile by choice: the soil inside carries nothing.
    if (pile.plugOption == 2) {
        for (int s = 1; s <= n; ++s) cur.InnerFrictionSum(1, s) = cur.InnerFrictionSum(2, s) = 0.0;
    }

    // Per pile node: plug friction over the enhanced end length above the tip, and the annulus.
    SegmentProfileReader sumAtTip(grid, cur.InnerFrictionSum, n);
    SegmentProfileReader sumAtEndTop(grid, cur.InnerFrictionSum, n);
    SegmentProfileReader annulus(grid, cur.AnnulusBearing, n);
    const int nodes = cap.pileNodeCount;
    for (int k = 1; k <= nodes; ++k) {
        const double z = (k - 1) * pile.verticalIncrement;
        if (k == 1) {
            cur.PlugFriction[1] = 0.0;
            cur.PlugFrictionStep[1] = 0.0;
            cur.AnnulusBearingAt[1] = annulus.at(z);
            cur.CarriedPlugFriction[1] = 0.0;
            cur.PlugLength[1] = 0.0;
            continue;
        }
        const double endTop = z - pile.enhancedEndLength;
        const double above = endTop > kTolerance ? sumAtEndTop.at(endTop) : 0.0;
        cur.PlugFriction[k] = sumAtTip.at(z) - above;
        cur.PlugFrictionStep[k] = cur.PlugFriction[k] - cur.PlugFriction[k - 1];
        cur.AnnulusBearingAt[k] = annulus.at(z);
    }
}

void AverageGrossSectionBearing(Run& run) {
    CapacityState& cap = run.capacity();
    MethodResult& cur = cap.current;
    const PileModel& pile = run.pile;
    const SegmentGrid& grid = run.grid;
    const int n = pile.segmentCount;

    // Gross area at the tip; a tapered pile narrows over its whole length.
    double tipDiameter = pile.outsideDiameter / LengthUnitDivisor(pile);
    if (pile.taperAngle > 0.0) {
        tipDiameter = tipDiameter - 2.0 * (pile.stickupLength + pile.embeddedLength) *
                                        std::tan(pile.taperAngle * kTaperDegreesToRadians);
    }
    const double area = pile.crossSectionArea > kGivenArea ? pile.crossSectionArea
                                                           : kQuarterPi * tipDiameter * tipDiameter;

    // Gross-section bearing force and its cap at the segment ends, and their running integrals over
    // depth (trapezoids for the bearing, steps for the cap).  ICP/MTD never lets the closed section
    // carry less than the annulus alone.
    SegmentPairArray& gross = cur.GrossForce;
    SegmentPairArray& capForce = cur.GrossCapForce;
    SegmentPairArray& grossIntegral = cur.GrossIntegral;
    SegmentPairArray& capIntegral = cur.GrossCapIntegral;
    double grossSum = 0.0;
    double capSum = 0.0;
    for (int s = 1; s <= n; ++s) {
        for (int end = 1; end <= 2; ++end) {
            double force = cur.SegmentUnitBearing(end, s) * area;
            if (cap.CurrentMethodId == kIcp) force = std::max(force, cur.AnnulusBearing(end, s));
            gross(end, s) = force;
            capForce(end, s) = grid.segMaxBearing[s] * area;
        }
        const double dz = grid.segBottom[s] - grid.segTop[s];
        grossIntegral(1, s) = grossSum;
        capIntegral(1, s) = capSum;
        grossSum = grossSum + (gross(1, s) + gross(2, s)) * 0.5 * dz;
        capSum = capSum + capForce(1, s) * dz;
        grossIntegral(2, s) = grossSum;
        capIntegral(2, s) = capSum;
    }

    const double h = TipWindowHalfWidth(pile);
    SegmentProfileReader grossBelow(grid, grossIntegral, n), grossAbove(grid, grossIntegral, n);
    SegmentProfileReader capBelow(grid, capIntegral, n), capAbove(grid, capIntegral, n);
    SegmentProfileReader grossAtTip(grid, gross, n), capAtTip(grid, capForce, n);
    for (int k = 1; k <= cap.pileNodeCount; ++k) {
        const double z = (k - 1) * pile.verticalIncrement;
        double average = 0.0;
        double limit = 0.0;
        if (h > 0.0) {
            average = (grossBelow.at(z + h) - grossAbove.at(z - h)) / (2.0 * h);
            limit = (capBelow.at(z + h) - capAbove.at(z - h)) / (2.0 * h);
        } else {
            // No diameter, no window: the values at the tip itself.
            average = grossAtTip.at(z);
            limit = capAtTip.at(z);
        }
        cur.GrossBearingAt[k] = average - limit > kTolerance ? limit : average;
    }
}

PileWeight ComputePileSelfWeight(const Model& model, double pileLength, bool closedSection) {
    const PileModel& pile = model.pile;
    const bool english = pile.english();

    double gamma = 0.0;
    if (pile.pileType == 2) {
        gamma = english ? 0.05f : 7.8543505f;      // timber
    } else if (pile.pileType == 3) {
        gamma = english ? 0.15f : 23.563051f;      // precast concrete
    } else {
        gamma = english ? 0.49f : 76.97263f;       // steel
    }
    const double gammaWater = english ? 0.0624f : 9.8f;
    const double gammaBuoyant = gamma - gammaWater;

    const double od = pile.outsideDiameter;
    const double id = pile.insideDiameter;
    double steelArea = kQuarterPi * (od * od - id * id) / AreaUnitDivisor(pile);
    if (pile.uniformArea > kGivenUniformArea) {
        steelArea = english ? pile.uniformArea / 144.0 : pile.uniformArea;
    }
    const double grossArea = kQuarterPi * od * od / AreaUnitDivisor(pile);

    // A water table at or near the ground is taken just below it.
    double water = model.soil.waterTableDepth;
    if (water < 1.0) water = 0.1f;

    const double length = pileLength;
    const bool submerged = water < length + TipWindowHalfWidth(pile);
    PileWeight weight;
    weight.stickup = gamma * steelArea * pile.stickupLength;
    if (!submerged) {
        weight.embedded = gamma * steelArea * length;
        return weight;
    }
    const bool closedShell = (pile.pileType == 1 && pile.tipClosure == 1) || pile.pileType == 4 ||
                             pile.pileType == 5 || pile.pileType == 7;
    if (closedSection && closedShell && pile.uniformArea > kPresentTolerance) {
        // A closed shell displaces water over its whole gross section.
        weight.embedded = gamma * steelArea * length - (length - water) * gammaWater * grossArea;
    } else {
        weight.embedded = gamma * steelArea * water + gammaBuoyant * steelArea * (length - water);
    }
    return weight;
}

void DecideTipResistance(Run& run) {
    CapacityState& cap = run.capacity();
    MethodResult& cur = cap.current;
    const PileModel& pile = run.pile;
    const int method = cap.CurrentMethodId;
    MethodCurves& saved = cap.method[method];
    const bool tension = pile.tensionLoading == 1;
    const bool open = OpenSection(pile);
    const double dl = pile.lengthIncrement;

    for (int k = 1; k <= cap.pileNodeCount; ++k) {
        const double length = (k - 1) * dl;
        const double step = length - (k - 2) * dl;  // pile length k minus pile length k-1
        const double gross = cur.GrossBearingAt[k];
        const PileWeight weight = tension ? ComputePileSelfWeight(run, length, !open) : PileWeight{};
        int control = 1;

        if (!open) {
            cur.EndBearing[k] = tension ? weight.embedded + weight.stickup : gross;
            cur.CarriedPlugFriction[k] = 0.0;
            cur.PlugLength[k] = 0.0;
        } else {
            const double unplugged = k == 1 ? cur.AnnulusBearingAt[1]
                                            : cur.CarriedPlugFriction[k - 1] + cur.PlugFrictionStep[k] +
                                                  cur.AnnulusBearingAt[k];
            if (unplugged - gross <= kTolerance || pile.plugOption == 2) {
                // The plug slips: annulus plus plug friction, and the plug grows with the pile.
                cur.EndBearing[k] = tension ? weight.embedded : unplugged;
                if (k >= 2) {
                    cur.CarriedPlugFriction[k] = cur.CarriedPlugFriction[k - 1] + cur.PlugFrictionStep[k];
                    cur.PlugLength[k] = cur.PlugLength[k - 1] + step;
                }
                if (pile.plugOption == 1) {
                    if (!tension) cur.EndBearing[k] = gross;
                    control = 1;
                } else if (pile.plugOption == 2) {
                    control = 2;
                } else {
                    const bool thickenedTipOnly = pile.enhancedEndDiameter < kNoEnhancedEnd &&
                                                  pile.enhancedEndLength > kNoEnhancedEnd;
                    control = thickenedTipOnly ? 1 : 2;
                }
            } else {
                // The plug holds: the gross section governs; the plug takes up only the part of the
                // gross bearing that the annulus and the friction carried so far do not.
                cur.EndBearing[k] = tension ? weight.embedded + weight.stickup : gross;
                control = 1;
                if (k >= 2) {
                    const double excess = (gross - cur.CarriedPlugFriction[k - 1]) - cur.AnnulusBearingAt[k];
                    cur.CarriedPlugFriction[k] = cur.CarriedPlugFriction[k - 1];
                    cur.PlugLength[k] = cur.PlugLength[k - 1];
                    if (excess > kTolerance) {
                        cur.CarriedPlugFriction[k] = cur.CarriedPlugFriction[k - 1] + excess;
                        // Without a friction step the plug cannot be said to have grown.
                        if (cur.PlugFrictionStep[k] != 0.0) {
                            cur.PlugLength[k] = cur.PlugLength[k - 1] + step * excess / cur.PlugFrictionStep[k];
                        }
                    }
                }
            }
        }

        saved.SavedUnfactoredEndBearing[k] = cur.EndBearing[k];
        saved.SavedPlugLength[k] = cur.PlugLength[k];
        saved.TipControl[k] = control;
        if (method == kUserMethod && (!open || pile.plugOption == 1 || pile.plugOption == 2)) {
            cap.UserEndBearing[k] = cur.EndBearing[k];
        }
    }
}

void PostProcessMethod(Run& run) {
    ComputeUnitEndBearing(run);
    ComputePlugAndAnnulus(run);
    AverageGrossSectionBearing(run);
    DecideTipResistance(run);
}

}  // namespace pileaxial
