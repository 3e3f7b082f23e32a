// Node friction, integration and accumulation shared by the offshore methods, and the cone resistance
// the cone-based methods read for a segment.
#include "methods/offshore/offshore_steps.hpp"

#include <algorithm>

#include "capacity/end_bearing.hpp"

namespace pileaxial {

namespace {

constexpr double kPerimeterPiOffshore = 3.14159f;
constexpr double kTolerance = 1.0e-6f;
// Without any cone data the side-friction rules estimate the cone resistance from the blow count:
// 2.8 atmospheres per blow, the atmosphere taken as 100 kPa, or 100 / 47.88 = 2.0885546 ksf.
constexpr double kConePerBlowRatio = 2.8f;
constexpr double kAtmosphereKpa = 100.0;
constexpr double kAtmosphereKsf = 2.0885546f;
constexpr double kConePerBlowEnglish = kConePerBlowRatio * kAtmosphereKsf;  // ksf per blow
constexpr double kConePerBlowSi = kConePerBlowRatio * kAtmosphereKpa;       // kPa per blow

double Thickness(const SegmentGrid& grid, int s) { return grid.segBottom[s] - grid.segTop[s]; }

}  // namespace

double OffshoreConeResistance(double segmentCone, double blowCount, double lookupDepth, const CptSounding& cpt,
                              bool english) {
    const bool segmentGiven = segmentCone >= kPresentTolerance;
    if (!segmentGiven && cpt.cptPointCount <= 0) {
        return (english ? kConePerBlowEnglish : kConePerBlowSi) * blowCount;
    }
    const double q = segmentGiven ? segmentCone : ConeResistanceAt(cpt, lookupDepth);
    return english ? q / 1000.0 : q;
}

double OffshoreConeResistance(const Model& model, int s) {
    // The pile length of node s, computed rather than read from the pile-length array: a segment
    // below the pile tip has no node there, and the array holds nothing meaningful for it.
    const double lookupDepth = (s - 1) * model.pile.lengthIncrement;
    return OffshoreConeResistance(model.grid.segConeResistance[s], model.grid.segBlowCount[s], lookupDepth,
                                  model.cpt, model.pile.english());
}

double OffshorePerimeter(const PileModel& pile) {
    return kPerimeterPiOffshore * pile.outsideDiameter / (pile.english() ? 12.0 : 1000.0);
}

double OffshoreNodeDepth(int k, double verticalIncrement) { return k == 1 ? 0.0 : (k - 1) * verticalIncrement; }

OffshoreSegmentWalk::OffshoreSegmentWalk(const SegmentGrid& grid, int segmentCount)
    : grid_(grid), segmentCount_(segmentCount) {
    if (segmentCount_ >= 1) {
        at_.segment = 1;
        at_.bottom = Thickness(grid_, 1);
    }
}

OffshoreSegmentWalk::Position OffshoreSegmentWalk::locate(double depth) {
    if (segmentCount_ < 1) return {};
    // The bottoms only grow down the grid and the depths asked for never decrease, so the walk goes
    // on from where the previous node stopped; the sums are the same as walking from the top.
    while (depth - at_.bottom > kTolerance && at_.segment < segmentCount_) {
        ++at_.segment;
        at_.bottom = at_.bottom + Thickness(grid_, at_.segment);
    }
    Position found = at_;
    found.belowGrid = depth - at_.bottom > kTolerance;
    return found;
}

void CarryOffshoreFrictionToNodes(Run& run, const SegmentPairArray& friction) {
    const PileModel& pile = run.pile;
    const SegmentGrid& grid = run.grid;
    CapacityState& cap = run.capacity();
    MethodResult& r = cap.current;

    OffshoreSegmentWalk walk(grid, pile.segmentCount);
    for (int k = 1; k <= pile.tipNodeCount; ++k) {
        const double z = OffshoreNodeDepth(k, pile.verticalIncrement);
        cap.PileLength[k] = z;
        double value = 0.0;
        // The shaft above the zero friction length (a casing, a scour zone) carries nothing.
        if (z - pile.zeroFrictionLength > -kTolerance) {
            const OffshoreSegmentWalk::Position at = walk.locate(z);
            const int s = at.segment;
            if (s >= 1 && at.belowGrid) {
                // Deeper than the grid reaches (the input checks keep the soil profile below the
                // tip, so this is a guard): the last value holds, nothing is extrapolated.
                value = friction(2, s);
            } else if (s >= 1) {
                const double t = Thickness(grid, s);
                const double top = friction(1, s);
                value = top + (friction(2, s) - top) / t * (z - (at.bottom - t));
            }
        }
        r.UnitSideFriction[k] = value;
    }
}

void IntegrateOffshoreSideResistance(Run& run, int methodId, const NodeArray* nodeLimit) {
    const PileModel& pile = run.pile;
    const SegmentGrid& grid = run.grid;
    CapacityState& cap = run.capacity();
    MethodResult& r = cap.current;
    MethodCurves& curves = cap.method[methodId];
    const NodeArray& f = r.UnitSideFriction;

    const int nodes = pile.tipNodeCount;
    const double dL = pile.lengthIncrement;  // the increment along the pile, also on a battered pile
    const double perimeter = OffshorePerimeter(pile);
    const bool reported = pile.reducedSideFriction == 1;

    r.LimitedUnitSideFriction[1] = nodeLimit != nullptr ? std::min(f[1], (*nodeLimit)[1]) : f[1];
    r.SideForceIncrement[1] = 0.0;
    r.SideForceLimit[1] = 0.0;
    r.TotalSkinFriction[1] = 0.0;
    r.ReducedCumulativeSideResistance[1] = 0.0;
    r.ReportedSkinFriction[1] = 0.0;
    curves.SavedSkin[1] = 0.0;

    for (int k = 2; k <= nodes; ++k) {
        double force = (f[k - 1] + f[k]) * dL * 0.5 * perimeter;
        if (nodeLimit != nullptr) {
            const NodeArray& b = *nodeLimit;
            r.LimitedUnitSideFriction[k] = std::min(f[k], b[k]);
            const double limit = (b[k - 1] + b[k]) * dL * 0.5 * perimeter;
            r.SideForceLimit[k] = limit;
            if (force - limit > kTolerance) force = limit;
        } else {
            r.LimitedUnitSideFriction[k] = f[k];
            r.SideForceLimit[k] = force;
        }
        r.SideForceIncrement[k] = force;
        r.TotalSkinFriction[k] = r.TotalSkinFriction[k - 1] + force;
        r.ReducedCumulativeSideResistance[k] =
            r.ReducedCumulativeSideResistance[k - 1] + force * grid.segLrfdFriction[k];
        r.ReportedSkinFriction[k] = reported ? r.ReducedCumulativeSideResistance[k] : r.TotalSkinFriction[k];
        curves.SavedSkin[k] = r.ReportedSkinFriction[k];
    }
    // The method's own curve follows the reporting option; what stays behind for its table is the
    // reduced resistance.
    for (int k = 2; k <= nodes; ++k) r.TotalSkinFriction[k] = r.ReducedCumulativeSideResistance[k];
}

void FinishOffshoreMethod(Run& run, int methodId) {
    CarryOffshoreFrictionToNodes(run, run.capacity().method[methodId].SegmentUnitFriction);
    IntegrateOffshoreSideResistance(run, methodId);
}

}  // namespace pileaxial
