// NGI method: relative-density rule in sand, strength-ratio rule in clay, and the shared offshore
// integration.
#include "methods/offshore/ngi.hpp"

#include <algorithm>
#include <cmath>

#include "methods/offshore/icp_clay.hpp"
#include "methods/offshore/offshore_steps.hpp"

namespace pileaxial {

namespace {

// Sand.  The cone resistance is normalised by 22 sqrt(pa sv), the resistance of a very loose sand at
// that stress, so Dr = 0 there.
constexpr double kDensityCoefficient = 0.4f;
constexpr double kConeReference = 22.0;
constexpr double kSiConeRaise = 1.01f;
// Floors of the relative density: just above 0.2 in both unit systems, not quite the same value.
constexpr double kDensityFloorEnglish = 0.200001f;
constexpr double kDensityFloorSi = 0.20001f;
constexpr double kDensityOffset = 0.1f;
constexpr double kDensityExponent = 1.7f;
constexpr double kDensityFactorScale = 2.1f;
constexpr double kStressExponent = 0.25;
constexpr double kOpenSection = 1.0e-5f;   // inside diameter (in. or mm) of an open section
constexpr double kClosedTipFactor = 1.6f;  // full displacement raises the radial stress
constexpr double kCompressionFactor = 1.3f;
constexpr double kRoughMaterialFactor = 1.2f;  // timber and concrete against sand
constexpr int kTimberPile = 2;
constexpr int kPrecastConcretePile = 3;
// English units keep the top stress of a sand segment off zero once the segment is done.
constexpr double kLeastSandStressEnglish = 1.0e-8f;

// Clay.
constexpr double kSmallestStress = 1.0e-10f;
constexpr double kSmallestStrengthRatio = 1.0e-10f;
constexpr double kNormallyConsolidated = 0.25;  // psi below this
constexpr double kOverconsolidated = 1.0;       // psi above this
constexpr double kBandWidth = 0.75;             // the psi span between the two
constexpr double kNcCoefficient = 0.08f;
constexpr double kLeastPlasticityNc = 10.000001f;
constexpr double kPlasticityOffsetA = 10.0;
constexpr double kPlasticityExponentA = 0.3f;
constexpr double kAlphaCoefficient = 0.32f;
constexpr double kOcCoefficient = 0.5;
constexpr double kOcExponent = 0.3f;
constexpr double kMinimumCoefficient = 0.06f;
constexpr double kLeastPlasticityBand = 12.000001f;
constexpr double kPlasticityOffsetMin = 12.0;
constexpr double kMinimumExponent = 0.33f;
constexpr double kOpenTipBase = 0.8f;
constexpr double kOpenTipSlope = 0.2f;

double DensityFloor(bool english) { return english ? kDensityFloorEnglish : kDensityFloorSi; }

double ConeReferenceResistance(double stress, double referencePressure) {
    return kConeReference * std::sqrt(referencePressure * stress);
}

// Tip factor of the clay rule for an open-ended pile in English units: 0.9 at psi = 0.25, 1 at
// psi = 1 and more in stiffer clay.  Closed-ended piles, and every pile in SI, take 1.
double ClayTipFactor(double psi, double insideDiameter, bool english) {
    if (!english || insideDiameter < kOpenSection) return 1.0;
    return kOpenTipBase + kOpenTipSlope * std::sqrt(psi);
}

// Sand segment s: the bottom level first, whose (SI) raised cone resistance the top level keeps.
void SandFriction(Run& run, int s, const NgiSandFactors& factors, double& top, double& bottom) {
    const PileModel& pile = run.pile;
    SegmentGrid& grid = run.grid;
    const bool english = pile.english();
    const double pa = ConeReferencePressure(pile);
    const double zr = NgiRelativeDepth(grid.segTop[s], pile.embeddedLength);
    double q = OffshoreConeResistance(run, s);

    const double svBottom = grid.segStressBottom[s];
    if (!english) q = NgiSiConeResistance(q, svBottom, pa);
    const double densityBottom = NgiRelativeDensity(q, svBottom, pa, english);
    bottom = NgiSandUnitFriction(densityBottom, svBottom, pa, zr, factors, english);

    const double svTop = grid.segStressTop[s];
    if (!english) q = NgiSiConeResistance(q, svTop, pa);
    // The top of the profile has no stress to normalise by; it takes the density of the bottom level
    // (its friction is 0 whatever the density).
    const double densityTop = svTop > 0.0 ? NgiRelativeDensity(q, svTop, pa, english) : densityBottom;
    top = NgiSandUnitFriction(densityTop, svTop, pa, zr, factors, english);

    if (english) grid.segStressTop[s] = std::max(svTop, kLeastSandStressEnglish);
}

}  // namespace

double NgiSiConeResistance(double coneResistance, double stress, double referencePressure) {
    if (stress <= 0.0) return coneResistance;
    const double reference = ConeReferenceResistance(stress, referencePressure);
    return reference > coneResistance ? kSiConeRaise * reference : coneResistance;
}

double NgiRelativeDensity(double coneResistance, double stress, double referencePressure, bool english) {
    const double floor = DensityFloor(english);
    if (coneResistance <= 0.0 || stress <= 0.0 || referencePressure <= 0.0) return floor;
    const double density =
        kDensityCoefficient * std::log(coneResistance / ConeReferenceResistance(stress, referencePressure));
    return std::max(floor, density);
}

double NgiDensityFactor(double relativeDensity, bool english) {
    const double density = std::max(DensityFloor(english), relativeDensity);
    return kDensityFactorScale * std::pow(density - kDensityOffset, kDensityExponent);
}

NgiSandFactors NgiSandFactorsFor(double insideDiameter, bool tension, int pileType) {
    NgiSandFactors f;
    f.tip = insideDiameter > kOpenSection ? 1.0 : kClosedTipFactor;
    f.load = tension ? 1.0 : kCompressionFactor;
    f.material = pileType == kTimberPile || pileType == kPrecastConcretePile ? kRoughMaterialFactor : 1.0;
    return f;
}

double NgiSandUnitFriction(double relativeDensity, double stress, double referencePressure, double relativeDepth,
                           const NgiSandFactors& factors, bool english) {
    if (stress <= 0.0 || referencePressure <= 0.0) return 0.0;
    const double density = std::max(DensityFloor(english), relativeDensity);
    const double shape = std::pow(density - kDensityOffset, kDensityExponent);
    // SI carries 2.1 pa as one constant (210 kPa); English scales F_Dr by pa.
    const double scaled =
        english ? referencePressure * (kDensityFactorScale * shape) : (kDensityFactorScale * referencePressure) * shape;
    return scaled * std::pow(stress / referencePressure, kStressExponent) * relativeDepth * factors.tip * factors.load *
           factors.material;
}

double NgiRelativeDepth(double segmentTop, double embeddedLength) {
    return embeddedLength > 0.0 ? segmentTop / embeddedLength : 0.0;
}

NgiClayFriction NgiClayUnitFriction(double shearStrength, double remoldedStrength, double plasticityIndex,
                                    double stressBottom, double insideDiameter, bool english) {
    const double su = shearStrength;
    const double sur = remoldedStrength;
    const double sv = std::max(stressBottom, kSmallestStress);
    const double psi = std::max(su / sv, kSmallestStrengthRatio);
    NgiClayFriction f;

    if (psi < kNormallyConsolidated) {
        const double pi = std::max(plasticityIndex, kLeastPlasticityNc);
        f.intact = kNcCoefficient * sv * std::pow(pi - kPlasticityOffsetA, kPlasticityExponentA);
        // The rule has no strength in it; the remolded friction keeps the ratio of the strengths.
        f.remolded = su < kNotGivenTolerance ? 0.0 : f.intact * sur / su;
        return f;
    }

    const double fc = ClayTipFactor(psi, insideDiameter, english);
    const double overconsolidated = kOcCoefficient / std::pow(psi, kOcExponent);
    if (psi > kOverconsolidated) {
        f.intact = su * fc * overconsolidated;
        f.remolded = fc * sur * overconsolidated;
        return f;
    }

    const double pi = std::max(plasticityIndex, kLeastPlasticityBand);
    const double least = kMinimumCoefficient * sv * std::pow(pi - kPlasticityOffsetMin, kMinimumExponent);
    const double normallyConsolidated = kAlphaCoefficient * std::pow(pi - kPlasticityOffsetA, kPlasticityExponentA);
    const double alpha =
        normallyConsolidated + (psi - kNormallyConsolidated) * (overconsolidated - normallyConsolidated) / kBandWidth;
    f.intact = std::max(least, su * fc * alpha);
    f.remolded = std::max(least, fc * sur * alpha);
    return f;
}

void NgiUnitTransfer(Run& run) {
    const PileModel& pile = run.pile;
    SegmentGrid& grid = run.grid;
    CapacityState& cap = run.capacity();
    cap.CurrentMethodId = kNgi;
    MethodCurves& curves = cap.method[kNgi];

    // A closed-ended pile displaces the soil over its whole section, whatever its bore.
    const double insideDiameter = ConeMethodInsideDiameter(pile);
    const NgiSandFactors factors = NgiSandFactorsFor(insideDiameter, pile.tensionLoading == 1, pile.pileType);
    for (int s = 1; s <= pile.segmentCount; ++s) {
        if (IsOffshoreClaySegment(pile, grid, s)) {
            grid.segStressBottom[s] = std::max(grid.segStressBottom[s], kSmallestStress);
            const NgiClayFriction f =
                NgiClayUnitFriction(grid.segShearStrength[s], grid.segRemoldedStrength[s], grid.segPlasticityIndex[s],
                                    grid.segStressBottom[s], insideDiameter, pile.english());
            curves.SegmentUnitFriction(1, s) = f.intact;
            curves.SegmentUnitFriction(2, s) = f.intact;
            curves.SegmentRemoldedFriction(1, s) = f.remolded;
            curves.SegmentRemoldedFriction(2, s) = f.remolded;
            continue;
        }
        double top = 0.0;
        double bottom = 0.0;
        SandFriction(run, s, factors, top, bottom);
        curves.SegmentUnitFriction(1, s) = top;
        curves.SegmentUnitFriction(2, s) = bottom;
        curves.SegmentRemoldedFriction(1, s) = top;
        curves.SegmentRemoldedFriction(2, s) = bottom;
    }
    FinishOffshoreMethod(run, kNgi);
}

}  // namespace pileaxial
