#include "methods/onshore/onshore_integration.hpp"

#include <algorithm>
#include <cmath>

namespace pileaxial {

namespace {

constexpr double kPi = 3.14159f;
constexpr double kDegreesToRadiansTaper = 0.01745f;
constexpr double kTolerance = 1.0e-6f;

}  // namespace

int OnshoreIncrementCount(const PileModel& pile) {
    return static_cast<int>(pile.embeddedLength / pile.lengthIncrement + kLengthTolerance);
}

double OnshoreNodeDepth(int k, double verticalIncrement) {
    return static_cast<double>(static_cast<float>((k - 1) * verticalIncrement));
}

void CarryToNodesAndIntegrate(Run& run, int methodId, const OnshoreIntegrationRule& rule) {
    const PileModel& pile = run.pile;
    const SegmentGrid& grid = run.grid;
    CapacityState& cap = run.capacity();
    MethodResult& r = cap.current;
    MethodCurves& curves = cap.method[methodId];
    const SegmentPairArray& f = curves.SegmentUnitFriction;

    const int n = pile.segmentCount;
    const int increments = OnshoreIncrementCount(pile);
    const double h = pile.verticalIncrement;
    const double dz = pile.lengthIncrement;
    const double diameterFt = pile.outsideDiameter / (pile.unitSystem < 2 ? 12.0 : 1000.0);
    const bool si = pile.unitSystem >= 2;

    auto thickness = [&grid](int s) { return grid.segBottom[s] - grid.segTop[s]; };

    // Unit side friction at the nodes.  The segment walk is a forward cursor: node depths only grow.
    int m = 1;
    double bottomOfM = n >= 1 ? thickness(1) : 0.0;
    for (int k = 1; k <= increments + 1; ++k) {
        const double z = OnshoreNodeDepth(k, h);
        double value = 0;
        if (n >= 1 && z - pile.zeroFrictionLength > -kTolerance) {
            if (rule.siNodeTakesSegmentBottom && si && z - thickness(1) > -kTolerance) {
                while (z - bottomOfM > kTolerance && m < n) bottomOfM += thickness(++m);
                value = f(2, m);
            } else if (z - thickness(1) <= kTolerance) {
                value = f(1, 1) + (f(2, 1) - f(1, 1)) / thickness(1) * z;
            } else {
                while (z - bottomOfM > kTolerance && m < n) bottomOfM += thickness(++m);
                const double tm = thickness(m);
                value = f(1, m) + (f(2, m) - f(1, m)) / tm * (z - (bottomOfM - tm));
            }
        }
        r.UnitSideFriction[k] = value;
        r.NodeFrictionLimit[k] = grid.segMaxFriction[k];
    }

    // Increments: side force of each, capped by the force the node limits allow.
    const bool tension = pile.tensionLoading == 1;
    const bool tapered = pile.taperAngle > 0;
    const double taperSlope = std::tan(pile.taperAngle * kDegreesToRadiansTaper);
    r.SideForceIncrement[1] = 0;
    r.SideForceLimit[1] = 0;
    r.TotalSkinFriction[1] = 0;
    r.ReducedCumulativeSideResistance[1] = 0;
    r.ReportedSkinFriction[1] = 0;
    for (int k = 1; k <= increments; ++k) {
        const double perimeter =
            tapered ? kPi * (diameterFt - 2 * taperSlope * (pile.stickupLength + OnshoreNodeDepth(k + 1, h)))
                    : kPi * diameterFt;
        if (tension) r.UnitSideFriction[k + 1] *= pile.tensionReductionFactor;
        double force = (r.UnitSideFriction[k] + r.UnitSideFriction[k + 1]) * (dz / 2) * perimeter;
        const double limit = (r.NodeFrictionLimit[k] + r.NodeFrictionLimit[k + 1]) * (dz / 2) * perimeter;
        r.UnitSideFriction[k + 1] = std::min(r.UnitSideFriction[k + 1], r.NodeFrictionLimit[k + 1]);
        if (force - limit > kTolerance) force = limit;
        r.SideForceIncrement[k + 1] = force;
        r.SideForceLimit[k + 1] = limit;
        r.TotalSkinFriction[k + 1] = r.TotalSkinFriction[k] + force;
        r.ReducedCumulativeSideResistance[k + 1] =
            r.ReducedCumulativeSideResistance[k] + force * grid.segLrfdFriction[k];
        // Any reporting option other than 1 reports the unfactored resistance, as the echo says.
        r.ReportedSkinFriction[k + 1] = pile.reducedSideFriction == 1 ? r.ReducedCumulativeSideResistance[k + 1]
                                                                      : r.TotalSkinFriction[k + 1];
    }
    for (int k = 1; k <= increments + 1; ++k) {
        if (k >= 2) r.TotalSkinFriction[k] = r.ReducedCumulativeSideResistance[k];
        r.LimitedUnitSideFriction[k] = r.UnitSideFriction[k];
        curves.SavedSkin[k] = r.ReportedSkinFriction[k];
    }
}

}  // namespace pileaxial
