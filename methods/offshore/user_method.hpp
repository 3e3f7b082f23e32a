#pragma once
// The user-specified method ("GENERAL METHOD", method 9): side resistance and end bearing straight from
// the unit side friction and unit end bearing the user gives at the soil points, carried onto the
// segment grid.  No soil mechanics enters.
#include "engine/run.hpp"

namespace pileaxial {

// Tip area (ft^2 or m^2) on which the user's unit end bearing acts: the steel annulus of an unplugged
// open pile (plug option 2), the gross section otherwise; an area given with the pile (above 1.0E-4)
// replaces either.  Diameters in in. or mm.
double UserTipArea(const PileModel& pile);

// Fills run.capacity().UserSkinFriction and UserEndBearing (kips or kN, before the end-bearing factor)
// for the pile nodes k = 1..tipNodeCount: the skin friction sums, increment by increment, the user's
// unit friction of the segment the node lies in times the perimeter, the increment length and the LRFD
// factor on friction of node k; the end bearing is the unit bearing of that segment on the tip area.
// Node 2 is looked up at lengthIncrement, later nodes at (k - 1) x verticalIncrement; PileLength holds
// those depths afterwards (the driver restores the pile lengths).
void UserUnitTransfer(Run& run);

}  // namespace pileaxial
