// Unit end bearing of each capacity method at the top and bottom of every segment.
#include "capacity/end_bearing.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "capacity/bearing_charts.hpp"

namespace pileaxial {
namespace {

constexpr double kSoilTypeTolerance = 1.0e-6f;
constexpr double kAtmosphericEnglish = 2.1168f;  // ksf
constexpr double kAtmosphericSi = 100.0;         // kPa
constexpr double kKsfToKpa = 47.88f;
// Without any cone data the cone resistance is estimated from the blow count: 2.8 atmospheres per blow.
constexpr double kConePerBlow = 2.8f;
// A maximum unit bearing counts as given when it is not the "no limit" marker and not negligible.
constexpr double kGivenMaxBearing = 0.001f;
constexpr double kMmPerInch = 25.4f;
constexpr double kMetresPerInch = 0.0254f;
constexpr double kMetresPerMm = 0.001f;
constexpr double kNoInsideDiameter = 1.0e-4f;
constexpr double kNoInsideDiameterClay = 1.0e-6f;

struct BearingPair {
    double top = 0;
    double bottom = 0;
};

double AtmosphericPressure(const PileModel& pile) {
    return pile.english() ? kAtmosphericEnglish : kAtmosphericSi;
}

// Outside diameter in the length unit (feet or metres).
double DiameterInLengthUnit(const PileModel& pile) {
    return pile.english() ? pile.outsideDiameter / 12.0 : pile.outsideDiameter / 1000.0;
}

bool MaxBearingGiven(double maxBearing) { return maxBearing != kNoLimit && maxBearing > kGivenMaxBearing; }

BearingPair LimitedBy(BearingPair q, double limit) {
    return {std::min(q.top, limit), std::min(q.bottom, limit)};
}

// --- FHWA: Nordlund tip resistance --------------------------------------------------------------
// The bearing factor is the chart factor reduced by the tip coefficient of the pile's slenderness;
// the unit tip resistance is limited by the chart limit (tsf: twice the value is ksf) or the given
// maximum, whichever is lower.
BearingPair FhwaSandBearing(const Model& model, int s) {
    const PileModel& pile = model.pile;
    const SegmentGrid& grid = model.grid;
    const double phi = grid.segFrictionAngle[s];
    // Slenderness of the embedded pile, both lengths in the same unit.
    const double slenderness = pile.embeddedLength / DiameterInLengthUnit(pile);
    const double nq = FhwaTipCoefficient(phi, slenderness) * FhwaBearingFactor(phi);
    double limit = 2.0 * FhwaLimitTipResistance(phi);
    if (!pile.english()) limit = 2.0 * kKsfToKpa * FhwaLimitTipResistance(phi);
    limit = std::min(limit, grid.segMaxBearing[s]);
    return LimitedBy({nq * grid.segStressTop[s], nq * grid.segStressBottom[s]}, limit);
}

// --- USACE: bearing factor on the stress limited at the critical depth ------------------------------
// Below a critical depth of 10, 15 or 20 diameters (plus one length unit), by density class, the
// effective stress that drives the tip resistance stops growing.  The limiting stress of each class is
// the critical-depth stress of the first sand segment reached past that depth; it then holds for every
// deeper sand segment of the class.
class UsaceLimitingStress {
public:
    explicit UsaceLimitingStress(const PileModel& pile) {
        const double d = DiameterInLengthUnit(pile);
        loose_ = 10.0 * d + 1.0;
        medium_ = 15.0 * d + 1.0;
        dense_ = 20.0 * d + 1.0;
        if (pile.criticalDepthOption == 1 && pile.userCriticalDepth < kPresentTolerance) {
            // The effective stress never reached the critical stress within the profile: the whole pile
            // lies above the critical depth and no limiting stress applies.  (Read as a depth, the 0
            // would put the critical depth at the ground and hold the tip to the stress of the second
            // node for every pile length.)
            loose_ = medium_ = dense_ = std::numeric_limits<double>::infinity();
        } else if (pile.criticalDepthOption > 0) {
            loose_ = medium_ = dense_ = pile.userCriticalDepth;
        }
    }

    // Advances the walk to a sand segment at pile length `pileLength` and returns the limiting stress
    // in force there (0 while none applies).
    double advance(double phi, double pileLength, double cappedStress) {
        if (phi <= 33.0 && pileLength > loose_ && limit_ < kPresentTolerance) limit_ = cappedStress;
        if (phi > 33.0 && pileLength > medium_) {
            if (phi <= 36.0 && mediumStress_ < kPresentTolerance) mediumStress_ = cappedStress;
            limit_ = mediumStress_;
        }
        if (phi > 36.0 && pileLength > dense_) {
            if (denseStress_ < kPresentTolerance) denseStress_ = cappedStress;
            limit_ = denseStress_;
        }
        return limit_;
    }

private:
    double loose_ = 0, medium_ = 0, dense_ = 0;
    double limit_ = 0, mediumStress_ = 0, denseStress_ = 0;
};

BearingPair UsaceSandBearing(const Model& model, int s, UsaceLimitingStress& walk) {
    const SegmentGrid& grid = model.grid;
    const double phi = grid.segFrictionAngle[s];
    const double nq = UsaceBearingFactor(phi);
    const double pileLength = (s - 1) * model.pile.lengthIncrement;
    const double limit = walk.advance(phi, pileLength, grid.segStressCapped[s]);
    BearingPair q{nq * grid.segStressTop[s], nq * grid.segStressBottom[s]};
    if (limit > kPresentTolerance && limit < grid.segStressBottom[s]) q = {nq * limit, nq * limit};
    if (MaxBearingGiven(grid.segMaxBearing[s])) q = LimitedBy(q, grid.segMaxBearing[s]);
    return q;
}

// --- Revised Lambda and API RP-2A: Nq sigma' with the offshore limiting unit end bearing ----------
double OffshoreBearingLimit(double nq, bool english) {
    if (english) {
        if (nq <= 8.0) return 40.0;
        if (nq <= 12.0) return 40.0 + 5.0 * (nq - 8.0);
        if (nq <= 20.0) return 60.0 + 5.0 * (nq - 12.0);
        if (nq <= 40.0) return 100.0 + 100.0 * (nq - 20.0) / 20.0;
        if (nq <= 50.0) return 200.0 + 50.0 * (nq - 40.0) / 10.0;
        return 250.0;
    }
    if (nq <= 8.0) return 1900.0;
    if (nq <= 12.0) return 1900.0 + 250.0 * (nq - 8.0);
    if (nq <= 20.0) return 2900.0 + 237.5 * (nq - 12.0);
    if (nq <= 40.0) return 4800.0 + 4800.0 * (nq - 20.0) / 20.0;
    if (nq <= 50.0) return 9600.0 + 2400.0 * (nq - 40.0) / 10.0;
    return 12000.0;
}

BearingPair OffshoreSandBearing(const Model& model, int s) {
    const SegmentGrid& grid = model.grid;
    const double nq = grid.segBearingFactor[s];
    const double qmax = grid.segMaxBearing[s];
    const double limit = qmax == kNoLimit ? OffshoreBearingLimit(nq, model.pile.english()) : qmax;
    return LimitedBy({nq * grid.segStressTop[s], nq * grid.segStressBottom[s]}, limit);
}

// --- cone-based methods -----------------------------------------------------------------------------

// NGI: relative density from the normalised cone resistance, tip resistance as a fraction of qc that
// falls with density (more steeply for an open pile).  A vanishing stress or cone resistance drives
// the density to infinity either way, where the fraction goes to 0.
double NgiBearing(double qc, double stress, double pa, bool openEnded) {
    if (qc <= 0.0 || stress <= 0.0) return 0.0;
    const double dr = 0.4f * std::log(qc / (22.0 * std::sqrt(pa * stress)));
    if (!openEnded) return 0.8f * qc / (1.0 + dr * dr);
    return 0.7f * qc / (1.0 + 3.0 * dr * dr);
}

// ICP/MTD: a fraction of qc that falls with the pile diameter (in mm, against the 36 mm cone).
double IcpSandBearing(const PileModel& pile, double qc) {
    const double d = pile.english() ? pile.outsideDiameter * kMmPerInch : pile.outsideDiameter;
    const double ratio = std::log10(d / 36.0);
    if (ConeMethodInsideDiameter(pile) >= kNoInsideDiameter) {
        if (pile.plugOption == 2) return qc;
        double q = qc * (0.5 - 0.25 * ratio);
        if (d > 900.0) q = std::max(q, 0.15f * qc);
        return q;
    }
    double q = qc * (1.0 - 0.5 * ratio);
    if (d > 900.0) q = std::max(q, 0.3f * qc);
    return q;
}

// Fugro 2004: depends on the area ratio of the open tip and on the square root of qc.
double FugroSandBearing(const PileModel& pile, double qc, double pa) {
    const double ratio = ConeMethodInsideDiameter(pile) / pile.outsideDiameter;
    const double area = 1.0 - ratio * ratio;
    return 8.5 * pa * std::pow(area, 0.25) * std::sqrt(qc / pa);
}

// UWA: effective area ratio of the open tip with the incremental filling ratio estimated from the
// inside diameter in metres.
double UwaSandBearing(const PileModel& pile, double qc) {
    const double di = ConeMethodInsideDiameter(pile);
    const double diMetres = pile.english() ? di * kMetresPerInch : di * kMetresPerMm;
    const double filling = std::min(1.0, std::pow(diMetres / 1.5, 0.2f));
    const double ratio = di / pile.outsideDiameter;
    const double area = 1.0 - filling * ratio * ratio;
    const double q = qc * (0.15f + 0.45f * area);
    const double floor = (di < kNoInsideDiameter || pile.plugOption == 1) ? 0.3f * qc : 0.15f * qc;
    return std::max(q, floor);
}

BearingPair ConeSandBearing(const Model& model, int method, int s) {
    const PileModel& pile = model.pile;
    const SegmentGrid& grid = model.grid;
    const double qc = EndBearingConeResistance(model, s);
    const double pa = AtmosphericPressure(pile);
    BearingPair q;
    switch (method) {
        case kNgi: {
            const bool open = ConeMethodInsideDiameter(pile) > kNoInsideDiameter;
            q = {NgiBearing(qc, grid.segStressTop[s], pa, open), NgiBearing(qc, grid.segStressBottom[s], pa, open)};
            break;
        }
        case kIcp: q.top = q.bottom = IcpSandBearing(pile, qc); break;
        case kFugro: q.top = q.bottom = FugroSandBearing(pile, qc, pa); break;
        default: q.top = q.bottom = UwaSandBearing(pile, qc); break;
    }
    if (MaxBearingGiven(grid.segMaxBearing[s])) q = LimitedBy(q, grid.segMaxBearing[s]);
    return q;
}

// Cohesive and other soils: 9 su; the ICP/MTD, Fugro and UWA methods take a fraction of qc for a
// plugged or closed tip, and for an open unplugged tip when the option says so.
BearingPair CohesiveBearing(const Model& model, int method, int s) {
    const PileModel& pile = model.pile;
    const double nine = 9.0 * model.grid.segShearStrength[s];
    BearingPair q{nine, nine};
    if (method != kIcp && method != kFugro && method != kUwa) return q;

    const bool drained = pile.clayDrained == 1;
    const double qc = EndBearingConeResistance(model, s);
    double value = nine;
    if (ConeMethodInsideDiameter(pile) < kNoInsideDiameterClay || pile.plugOption == 1) {
        if (drained) {
            value = pile.plugOption == 1 ? 0.65f * qc : 1.3f * qc;
        } else {
            value = pile.plugOption == 1 ? 0.4f * qc : 0.8f * qc;
        }
    } else if (pile.plugOption == 2) {
        value = drained ? 1.6f * qc : qc;
    }
    return {value, value};
}

}  // namespace

bool IsSandSegment(const SegmentGrid& grid, int s) {
    return std::fabs(grid.segSoilType[s] - 1.0) <= kSoilTypeTolerance;
}

double ConeResistanceAt(const CptSounding& cpt, double depth) {
    const int n = std::min(cpt.cptPointCount, kMaxCptPoints);
    if (n <= 0) return 0.0;
    if (depth <= cpt.cptDepth[1]) return cpt.cptValue[1];
    for (int i = 2; i <= n; ++i) {
        if (cpt.cptDepth[i] >= depth) {
            // depth(i-1) < depth <= depth(i): the span is positive.
            const double d0 = cpt.cptDepth[i - 1];
            const double v0 = cpt.cptValue[i - 1];
            return v0 + (cpt.cptValue[i] - v0) * (depth - d0) / (cpt.cptDepth[i] - d0);
        }
    }
    return cpt.cptValue[n];
}

double EndBearingConeResistance(const Model& model, int s) {
    const PileModel& pile = model.pile;
    const SegmentGrid& grid = model.grid;
    double qc = grid.segConeResistance[s];
    if (qc < kPresentTolerance) {
        if (model.cpt.cptPointCount <= 0) {
            return kConePerBlow * AtmosphericPressure(pile) * grid.segBlowCount[s];
        }
        qc = ConeResistanceAt(model.cpt, grid.segTop[s]);
    }
    return pile.english() ? qc / 1000.0 : qc;
}

void ComputeUnitEndBearing(Run& run) {
    CapacityState& cap = run.capacity();
    SegmentGrid& grid = run.grid;
    SegmentPairArray& bearing = cap.current.SegmentUnitBearing;
    const int method = cap.CurrentMethodId;
    UsaceLimitingStress usace(run.pile);

    for (int s = 1; s <= run.pile.segmentCount; ++s) {
        BearingPair q;
        if (IsSandSegment(grid, s)) {
            if (grid.segBearingFactor[s] == 0.0) {
                grid.segBearingFactor[s] = ApiBearingFactor(grid.segFrictionAngle[s] - 5.0);
            }
            switch (method) {
                case kFhwa: q = FhwaSandBearing(run, s); break;
                case kUsace: q = UsaceSandBearing(run, s, usace); break;
                case kLambda:
                case kApi: q = OffshoreSandBearing(run, s); break;
                case kNgi:
                case kIcp:
                case kFugro:
                case kUwa: q = ConeSandBearing(run, method, s); break;
                // The user gives the unit end bearing directly.
                default: q = {grid.segUserBearing[s], grid.segUserBearing[s]}; break;
            }
        } else {
            q = CohesiveBearing(run, method, s);
        }
        bearing(1, s) = q.top;
        bearing(2, s) = q.bottom;
    }
}

}  // namespace pileaxial
