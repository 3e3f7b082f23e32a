#pragma once
// The steps every offshore method runs once it knows the unit side friction at the top and bottom of
// each segment: carry the friction to the pile nodes, integrate it over the pile increments, and
// accumulate the side resistance both as computed and reduced by the LRFD friction factors.  The
// cone-based methods also share the cone resistance they read for a segment.
//
// A method routine fills its SegmentUnitFriction pairs and then calls CarryOffshoreFrictionToNodes
// and IntegrateOffshoreSideResistance (or FinishOffshoreMethod, which runs both without a node
// limit).  Everything in between (the node limit and the tension reduction of the API method) is the
// method's own.
#include "engine/run.hpp"

namespace pileaxial {

// Cone resistance q (ksf or kPa) of a segment for the side-friction rules of the cone-based methods:
//   - the segment's own cone resistance when it is at least 1.0E-5;
//   - otherwise, when the sounding has points, the sounding at `lookupDepth`;
//   - either of these as stored (psf in English units, divided by 1000 here; kPa in SI);
//   - with neither, from the blow count: 5.848 ksf (English) or 280 kPa (SI) per blow, which is
//     already in working units.
double OffshoreConeResistance(double segmentCone, double blowCount, double lookupDepth, const CptSounding& cpt,
                              bool english);

// The same for segment s of the model's grid, looked up at the pile length of node s,
// (s - 1) x lengthIncrement, also for segments below the last pile node.
double OffshoreConeResistance(const Model& model, int s);

// Shaft perimeter in the length unit: pi D / 12 (D in inches, feet) or pi D / 1000 (D in mm, metres).
double OffshorePerimeter(const PileModel& pile);

// Vertical depth of pile node k (length unit): 0 at the head, (k - 1) x verticalIncrement below.
double OffshoreNodeDepth(int k, double verticalIncrement);

// Finds, for node depths that never decrease, the segment a node takes its friction from: walking
// down from the top, the first segment whose bottom (the running sum of the segment thicknesses) is
// within 1.0E-6 below the node or deeper.  A node on a segment boundary therefore belongs to the
// upper segment.  The walk stops at the last segment of the grid.
class OffshoreSegmentWalk {
public:
    struct Position {
        int segment = 0;         // 0 when the grid has no segment
        double bottom = 0;       // running sum of the thicknesses down to the segment's bottom
        bool belowGrid = false;  // the node lies deeper than the last segment
    };

    OffshoreSegmentWalk(const SegmentGrid& grid, int segmentCount);
    Position locate(double depth);

private:
    const SegmentGrid& grid_;
    int segmentCount_;
    Position at_;
};

// Unit side friction at pile nodes 1..tipNodeCount from the segment pairs `friction` (top and
// bottom value of each segment, linear within the segment): 0 for nodes shallower than the zero
// friction length.  Writes UnitSideFriction, and PileLength[k] = the vertical node depth for the
// same nodes (the driver restores the pile lengths after the method).
void CarryOffshoreFrictionToNodes(Run& run, const SegmentPairArray& friction);

// Integrates UnitSideFriction over the pile increments (trapezoids over lengthIncrement along the
// pile, with the shaft perimeter) and accumulates TotalSkinFriction and
// ReducedCumulativeSideResistance (each increment times segLrfdFriction of the node it ends at).
// The method's SavedSkin is the reduced sum when reducedSideFriction is 1 and the plain sum otherwise;
// TotalSkinFriction is then left as the reduced sum whatever the option.
//
// `nodeLimit`, when given, is the largest unit side friction at each node: LimitedUnitSideFriction
// is the friction held to it, and an increment is held to the force the two limits of its ends
// allow.  Without it the friction is used as it is.
void IntegrateOffshoreSideResistance(Run& run, int methodId, const NodeArray* nodeLimit = nullptr);

// Both steps for a method without a node limit, from its own SegmentUnitFriction pairs.
void FinishOffshoreMethod(Run& run, int methodId);

}  // namespace pileaxial
