#pragma once
// The clay rule of the ICP/MTD method, which the Fugro 2004 and UWA methods use for their cohesive
// segments too: the radial effective stress at failure from the vertical stress, the yield stress
// ratio, the sensitivity and the distance from the tip (friction fatigue), on an interface friction
// angle that falls with the plasticity index.
#include "engine/run.hpp"
#include "methods/offshore/offshore_steps.hpp"

namespace pileaxial {

// Reference pressure of the cone-based side-friction rules: 100 kPa, i.e. 2.0886 ksf.
double ConeReferencePressure(const PileModel& pile);

// A segment takes the cohesive rule of an offshore method when its soil type exceeds 1 (by more than
// 1.0E-6 in SI): clay and silt.
bool IsOffshoreClaySegment(const PileModel& pile, const SegmentGrid& grid, int s);

// Distance (ft or m) of segment s from the pile tip: embedded length less the pile length (s - 1) x
// lengthIncrement at which the segment's values are read.
double DistanceFromTip(const PileModel& pile, int s);

// Interface friction angle (degrees) of clay against the plasticity index PI (%): 34 at PI <= 0,
// 8.5 beyond 80, linear between the tabulated points.
double IcpInterfaceFrictionAngle(double plasticityIndex);

// Earth pressure coefficient at failure Kc = (2 - 0.625 log10(su / sur)) YSR^0.42 hr^-0.2 for a
// relative distance from the tip hr (already held at 8 or more).  A strength (intact or remolded)
// below 1.0E-10 counts as a sensitivity of 1; a negative yield stress ratio as 0.
double IcpClayEarthPressure(double shearStrength, double remoldedStrength, double yieldStressRatio,
                            double relativeDistance);

// Equivalent radius R* = sqrt((D^2 - Di^2) / 4) (in. or mm) of a section of outside diameter D and
// inside diameter Di (in. or mm): the radius of the solid section of the same steel area.  A bore as
// wide as the pile or wider leaves no section: 0.
double IcpEquivalentRadius(double outsideDiameter, double insideDiameter);

// Relative distance from the tip h / R* held at 8 or more, with h in ft or m and the equivalent
// radius R* = sqrt((D^2 - Di^2) / 4) in in. or mm (lengthToDiameter: 12 or 1000).  A section without
// area (R* = 0) is infinitely far in these terms.
double IcpRelativeDistance(double distanceFromTip, double lengthToDiameter, double outsideDiameter,
                           double insideDiameter);

struct FrictionPair {
    double top = 0;
    double bottom = 0;
};

// The unit side friction (ksf or kPa) at the top and bottom of clay segment s by the ICP clay rule:
// 0.8 sv' tan(delta) Kc.  In SI the bottom stress is first held at 1.0E-10 or more (and kept so in the
// grid).  A negative plasticity index is reported in the report as the rule is computed with PI = 0.
FrictionPair IcpClayFriction(Run& run, int s);

// Runs a method that takes this clay rule for its cohesive segments and `sandFriction(s)` (a
// FrictionPair, ksf or kPa) for the others, with its second pair repeating the first (these methods
// have one shaft friction, inside and out), then the steps all offshore methods share.
template <typename SandRule>
void RunClayRuleMethod(Run& run, int methodId, SandRule sandFriction) {
    CapacityState& cap = run.capacity();
    cap.CurrentMethodId = methodId;
    MethodCurves& curves = cap.method[methodId];
    for (int s = 1; s <= run.pile.segmentCount; ++s) {
        const FrictionPair f =
            IsOffshoreClaySegment(run.pile, run.grid, s) ? IcpClayFriction(run, s) : sandFriction(s);
        curves.SegmentUnitFriction(1, s) = f.top;
        curves.SegmentUnitFriction(2, s) = f.bottom;
        curves.SegmentRemoldedFriction(1, s) = f.top;
        curves.SegmentRemoldedFriction(2, s) = f.bottom;
    }
    FinishOffshoreMethod(run, methodId);
}

}  // namespace pileaxial
