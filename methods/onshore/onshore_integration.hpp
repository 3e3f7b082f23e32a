#pragma once
// The steps the FHWA and USACE methods share once their unit side friction is known at the top and
// bottom of every segment: carry it to the pile nodes, integrate it over the pile increments with the
// node limits, and accumulate the side resistance unfactored, factored and as reported.
#include "engine/run.hpp"

namespace pileaxial {

struct OnshoreIntegrationRule {
    // USACE in SI units gives a node below the first segment the bottom value of its segment instead
    // of interpolating within it.
    bool siNodeTakesSegmentBottom = false;
};

// Number of pile increments N: integer part of embeddedLength / lengthIncrement + 1.0E-6; the pile
// has N + 1 nodes.
int OnshoreIncrementCount(const PileModel& pile);

// Vertical depth of node k, (k - 1) x verticalIncrement held to single precision as the charts were
// digitised against it.
double OnshoreNodeDepth(int k, double verticalIncrement);

// Reads run.capacity().method[methodId].SegmentUnitFriction; writes the node and increment arrays of
// run.capacity().current (UnitSideFriction, NodeFrictionLimit, LimitedUnitSideFriction,
// SideForceIncrement, SideForceLimit, TotalSkinFriction, ReducedCumulativeSideResistance,
// ReportedSkinFriction) and the method's SavedSkin.  TotalSkinFriction ends as the factored
// cumulative.  On a tapered pile (taper angle above 0) each increment takes the perimeter at its
// lower node, narrowing from the head diameter by the taper over the stick-up and the depth.
void CarryToNodesAndIntegrate(Run& run, int methodId, const OnshoreIntegrationRule& rule);

}  // namespace pileaxial
