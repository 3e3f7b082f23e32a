#pragma once
// Turns the unit values of the method in hand into tip values: the unit end bearing along the pile,
// the friction of the soil plug inside an open pile and the bearing of the steel annulus, the bearing
// of the closed (gross) section averaged around the tip, and per pile length the decision between the
// plugged and the unplugged tip with the plug length, or in tension the pile's own weight.
#include "engine/run.hpp"

namespace pileaxial {

// The whole post-processing of run.capacity().CurrentMethodId: unit end bearing, plug and annulus,
// gross-section average, tip decision (with the self weight in tension).  Writes the plug, annulus,
// gross and end-bearing arrays of run.capacity().current for every segment and pile node, and the
// method's SavedUnfactoredEndBearing, SavedPlugLength and TipControl (and UserEndBearing for the
// user-specified method where the tip decision fixes it).
void PostProcessMethod(Run& run);

// Annulus bearing at the segment ends, inner (plug) unit friction and its running sum, and per pile
// node the plug friction over the enhanced end length, its step from the node above and the annulus
// bearing at the node's depth.
void ComputePlugAndAnnulus(Run& run);

// GrossBearingAt: the end bearing of the gross section averaged over a window of 1.5 diameters above
// and below the tip, held below the average of the maximum unit bearing over the same window.
void AverageGrossSectionBearing(Run& run);

// Per pile node: plugged or unplugged tip, the end bearing (the self weight in tension), the carried
// plug friction and the plug length; copies into the method's saved curves.
void DecideTipResistance(Run& run);

// Half-width of the averaging window around the tip: 1.5 outside diameters in the length unit.
double TipWindowHalfWidth(const PileModel& pile);

// Weight of the pile in tension at a pile length along the axis: the embedded part, buoyant below the
// water table, and the part above ground.  `closedSection` selects the buoyancy of the whole gross
// section for a closed pile.  A water table shallower than 1.0 is taken at 0.1.
struct PileWeight {
    double embedded = 0;
    double stickup = 0;
};
PileWeight ComputePileSelfWeight(const Model& model, double pileLength, bool closedSection);

}  // namespace pileaxial
