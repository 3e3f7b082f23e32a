// API RP-2A (2010) method: alpha form in cohesive soil, beta form with the delta-table limit in sand,
// a maximum unit friction at every node, and the shared offshore integration.
#include "methods/offshore/api.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "capacity/bearing_charts.hpp"
#include "capacity/end_bearing.hpp"
#include "methods/offshore/icp_clay.hpp"
#include "methods/offshore/offshore_steps.hpp"

namespace pileaxial {

namespace {

constexpr double kDegreesPerRadian = 57.2958f;
// Soil-pile friction angle: the sand's friction angle less 5 degrees.
constexpr double kWallFrictionReduction = 5.0;
// The delta table is in ksf; SI converts it with 47.8 kPa per ksf.
constexpr double kKsfToKpaApi = 47.8f;
// A segment is cohesive when its soil type code exceeds 1 by more than this (silt goes with clay).
constexpr double kSmallestStress = 1.0e-10f;
constexpr double kSmallestStrengthRatio = 1.0e-10f;
constexpr double kLargestAdhesion = 1.0;

// Default maximum unit friction in sand: from 20 to 40 degrees in rows of 5 degrees, each row
// rising linearly from its value at the lower angle; flat below 20 and above 40 degrees.
struct DefaultFrictionRow {
    double phiFrom;  // degrees
    double base;     // ksf or kPa at phiFrom
    double rise;     // over the 5 degrees of the row
};
constexpr double kDefaultRowSpan = 5.0;
constexpr std::array<DefaultFrictionRow, 4> kDefaultFrictionKsf = {{
    {20.0, 1.0, 0.4f},
    {25.0, 1.4f, 0.3f},
    {30.0, 1.7f, 0.3f},
    {35.0, 2.0, 0.4f},
}};
constexpr double kDefaultFrictionAbove40Ksf = 2.4f;
constexpr std::array<DefaultFrictionRow, 4> kDefaultFrictionKpa = {{
    {20.0, 47.8f, 19.2f},
    {25.0, 67.0, 16.1f},
    {30.0, 83.1f, 12.4f},
    {35.0, 95.5, 19.3f},
}};
constexpr double kDefaultFrictionAbove40Kpa = 114.8f;


// Per segment: the unit side friction at its top and bottom.
void SegmentFriction(Run& run, SegmentPairArray& friction) {
    const PileModel& pile = run.pile;
    SegmentGrid& grid = run.grid;
    for (int s = 1; s <= pile.segmentCount; ++s) {
        if (IsOffshoreClaySegment(pile, grid, s)) {
            // Only the stress at the bottom of the segment enters, so the friction is uniform over it.
            grid.segStressBottom[s] = std::max(grid.segStressBottom[s], kSmallestStress);
            const double su = grid.segShearStrength[s];
            const double f = ApiClayAdhesionFactor(su, grid.segStressBottom[s]) * su;
            friction(1, s) = f;
            friction(2, s) = f;
            continue;
        }
        const double phi = grid.segFrictionAngle[s];
        const double earthPressure = grid.segEarthPressure[s];
        const double limit = ApiSandFrictionLimit(phi - kWallFrictionReduction, pile.english());
        friction(1, s) = std::min(ApiSandUnitFriction(earthPressure, phi, grid.segStressTop[s]), limit);
        friction(2, s) = std::min(ApiSandUnitFriction(earthPressure, phi, grid.segStressBottom[s]), limit);
    }
}

// NodeFrictionLimit[k]: the maximum unit friction of the segment node k takes its friction from
// (the zero friction length plays no part here).  In sand the marker asks for the default by the
// friction angle, which then replaces the marker in the grid.  A cohesive segment holding the marker
// keeps it as its limit, high enough to limit nothing.
void NodeFrictionLimits(Run& run) {
    const PileModel& pile = run.pile;
    SegmentGrid& grid = run.grid;
    MethodResult& r = run.capacity().current;
    OffshoreSegmentWalk walk(grid, pile.segmentCount);
    for (int k = 1; k <= pile.tipNodeCount; ++k) {
        const int s = walk.locate(OffshoreNodeDepth(k, pile.verticalIncrement)).segment;
        double limit = kNoLimit;
        if (s >= 1) {
            limit = grid.segMaxFriction[s];
            if (limit == kApiDefaultFrictionMarker && IsSandSegment(grid, s)) {
                limit = ApiDefaultMaxFriction(grid.segFrictionAngle[s], pile.english());
                grid.segMaxFriction[s] = limit;
            }
        }
        r.NodeFrictionLimit[k] = limit;
    }
}

}  // namespace

double ApiClayAdhesionFactor(double shearStrength, double stressBottom) {
    const double stress = std::max(stressBottom, kSmallestStress);
    const double psi = std::max(shearStrength / stress, kSmallestStrengthRatio);
    // Normally consolidated clay (psi <= 1) mobilises more of its strength than overconsolidated clay.
    const double alpha = psi <= 1.0 ? 0.5 * std::pow(psi, -0.5) : 0.5 * std::pow(psi, -0.25);
    return std::min(alpha, kLargestAdhesion);
}

double ApiSandUnitFriction(double earthPressure, double frictionAngle, double stress) {
    const double delta = frictionAngle - kWallFrictionReduction;
    const double beta = earthPressure * std::tan(delta / kDegreesPerRadian);
    return beta * stress;
}

double ApiSandFrictionLimit(double delta, bool english) {
    const double limitKsf = ApiLimitFriction(delta);
    return english ? limitKsf : limitKsf * kKsfToKpaApi;
}

double ApiDefaultMaxFriction(double frictionAngle, bool english) {
    const auto& rows = english ? kDefaultFrictionKsf : kDefaultFrictionKpa;
    if (frictionAngle <= rows.front().phiFrom) return rows.front().base;
    for (const DefaultFrictionRow& row : rows) {
        if (frictionAngle <= row.phiFrom + kDefaultRowSpan) {
            return row.base + (frictionAngle - row.phiFrom) * row.rise / kDefaultRowSpan;
        }
    }
    return english ? kDefaultFrictionAbove40Ksf : kDefaultFrictionAbove40Kpa;
}

void ApiUnitTransfer(Run& run) {
    const PileModel& pile = run.pile;
    CapacityState& cap = run.capacity();
    cap.CurrentMethodId = kApi;
    MethodResult& r = cap.current;

    SegmentFriction(run, cap.method[kApi].SegmentUnitFriction);
    CarryOffshoreFrictionToNodes(run, cap.method[kApi].SegmentUnitFriction);
    NodeFrictionLimits(run);
    // A pile pulled out mobilises less friction than one pushed in.  The reduction applies to the
    // friction itself, so a node limit caps the reduced friction (not a reduced limit).
    if (pile.tensionLoading == 1) {
        for (int k = 1; k <= pile.tipNodeCount; ++k) {
            r.UnitSideFriction[k] = r.UnitSideFriction[k] * pile.tensionReductionFactor;
        }
    }
    IntegrateOffshoreSideResistance(run, kApi, &r.NodeFrictionLimit);
}

}  // namespace pileaxial
