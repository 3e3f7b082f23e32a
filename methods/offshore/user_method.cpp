#include "methods/offshore/user_method.hpp"

namespace pileaxial {

namespace {

constexpr double kPi = 3.14159f;
constexpr double kQuarterPi = 0.7853975f;
constexpr double kGivenArea = 1.0e-4f;
constexpr double kTolerance = 1.0e-6f;

}  // namespace

double UserTipArea(const PileModel& pile) {
    if (pile.crossSectionArea > kGivenArea) return pile.crossSectionArea;
    const double d = pile.outsideDiameter;
    if (pile.plugOption == 2) {
        const double di = pile.enhancedEndDiameter;
        return (d * d - di * di) * kQuarterPi / (pile.english() ? 144.0 : 1.0e6);
    }
    const double diameter = d / (pile.english() ? 12.0 : 1000.0);
    return diameter * diameter * kQuarterPi;
}

void UserUnitTransfer(Run& run) {
    const PileModel& pile = run.pile;
    const SegmentGrid& grid = run.grid;
    CapacityState& cap = run.capacity();
    const int nodes = pile.tipNodeCount;
    const int segments = pile.segmentCount;
    if (nodes < 1 || segments < 1) return;

    const double diameter = pile.outsideDiameter / (pile.english() ? 12.0 : 1000.0);
    const double area = UserTipArea(pile);
    const double dL = pile.lengthIncrement;
    const double dZ = pile.verticalIncrement;

    cap.UserEndBearing[1] = grid.segUserBearing[1] * area;
    cap.UserSkinFriction[1] = 0.0;
    if (nodes >= 2) cap.PileLength[2] = dL;

    // The segment a node lies in: walking down from the top, the first whose bottom is within 1.0E-6
    // below the node or deeper (a node on a boundary belongs to the segment above).  The walk goes on
    // from where the last node left it unless the depth went up, which a steep batter can make happen
    // between node 2 (at dL) and node 3 (at 2 dZ).
    int s = 1;
    double bottom = grid.segBottom[1] - grid.segTop[1];
    double previous = 0.0;
    for (int k = 2; k <= nodes; ++k) {
        const double z = cap.PileLength[k];
        if (z < previous) {
            s = 1;
            bottom = grid.segBottom[1] - grid.segTop[1];
        }
        previous = z;
        while (z - bottom > kTolerance && s < segments) {
            ++s;
            bottom += grid.segBottom[s] - grid.segTop[s];
        }
        cap.UserEndBearing[k] = grid.segUserBearing[s] * area;
        cap.UserSkinFriction[k] =
            cap.UserSkinFriction[k - 1] + grid.segLrfdFriction[k] * dL * diameter * kPi * grid.segUserFriction[s];
        if (k + 1 <= nodes) cap.PileLength[k + 1] = k * dZ;
    }
}

}  // namespace pileaxial
