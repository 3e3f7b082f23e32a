#include "settlement/tz_curves.hpp"

#include <algorithm>
#include <cmath>

namespace pileaxial {

namespace {

constexpr double kTolerance = 1.0e-6f;

// Standard t-z movements as multiples of the movement at peak friction.
constexpr std::array<float, kTzPointCount> kStandardZ = {0.0f, 0.16f, 0.31f, 0.57f, 0.8f,
                                                         1.0f, 2.0f,  3.0f,  5.0f,  20.0f};
constexpr std::array<float, kTzPointCount> kStandardSandT = {0.0f, 0.3f, 0.5f, 0.75f, 0.9f,
                                                             1.0f, 1.0f, 1.0f, 1.0f,  1.0f};
// Cohesive: the first six ratios; the last four are the residual ratio.
constexpr std::array<float, 6> kStandardClayT = {0.0f, 0.3f, 0.5f, 0.75f, 0.9f, 1.0f};

// USACE t-z movements in inches, and the cohesive transfer ratios.
constexpr std::array<float, kTzPointCount> kUsaceZInches = {0.0f,  0.01f, 0.02f, 0.04f, 0.06f,
                                                            0.08f, 0.12f, 0.16f, 0.5f,  10.0f};
constexpr std::array<float, kTzPointCount> kUsaceClayT = {0.0f,  0.18f, 0.38f, 0.79f, 0.97f,
                                                          1.0f,  0.97f, 0.93f, 0.93f, 0.93f};
constexpr double kInchesPerMetreTz = 39.37f;
constexpr double kPsfPerPsi = 144.0;
constexpr double kPsfPerKpa = 20.89f;

// Standard tip curve: movements as multiples of the diameter, loads as multiples of Qmax.
constexpr std::array<float, kTzPointCount> kTipMovementRatio = {0.0f,   0.0005f, 0.001f, 0.002f, 0.013f,
                                                                0.042f, 0.073f,  0.1f,   0.15f,  0.2f};
constexpr std::array<float, kTzPointCount> kTipLoadRatio = {0.0f,  0.0625f, 0.125f, 0.25f, 0.5f,
                                                            0.75f, 0.9f,    1.0f,   1.0f,  1.0f};
// USACE tip movements in inches, and the same in metres (each divided by 39.79).
constexpr std::array<float, kTzPointCount> kUsaceTipInches = {0.0f, 0.0001f, 0.005f, 0.01f, 0.05f,
                                                              0.1f, 0.2f,    0.5f,   1.0f,  2.0f};
constexpr std::array<double, kTzPointCount> kUsaceTipMetres = {
    0.0,
    2.5131941486024012e-06,
    0.00012565970779583797,
    0.00025131941559167594,
    0.0012565971247702698,
    0.0025131942495405396,
    0.005026388499081079,
    0.012565971060455136,
    0.025131942120910272,
    0.050263884241820544};

}  // namespace

void ClayTzCurve(TzCurve& curve, double zPeak, double rRes, TzShape shape, bool si) {
    for (int i = 0; i < kTzPointCount; ++i) {
        const auto j = static_cast<std::size_t>(i);
        if (shape == TzShape::Usace) {
            const double zInches = kUsaceZInches[j];
            curve.z[j] = si ? zInches / kInchesPerMetreTz : zInches;
            curve.t[j] = static_cast<double>(kUsaceClayT[j]) * curve.tMax;
        } else {
            curve.z[j] = static_cast<double>(kStandardZ[j]) * zPeak;
            curve.t[j] = (j < kStandardClayT.size() ? static_cast<double>(kStandardClayT[j]) : rRes) * curve.tMax;
        }
    }
}

double UsaceSandModulus(double frictionAngle) {
    constexpr double kSlope = 1333.3f;
    const double phi = frictionAngle;
    if (phi <= 28.0) return 6000.0;
    if (phi <= 31.0) return 6000.0 + kSlope * (phi - 28.0);
    if (phi <= 32.0) return 10000.0;
    if (phi <= 34.0) return 10000.0 + kSlope * (phi - 32.0);
    if (phi <= 35.0) return 14000.0;
    if (phi <= 38.0) return 14000.0 + kSlope * (phi - 35.0);
    return 18000.0;
}

void SandTzCurve(TzCurve& curve, double zPeak, TzShape shape, bool si) {
    if (shape == TzShape::Standard) {
        for (std::size_t j = 0; j < kTzPointCount; ++j) {
            curve.z[j] = static_cast<double>(kStandardZ[j]) * zPeak;
            curve.t[j] = static_cast<double>(kStandardSandT[j]) * curve.tMax;
        }
        return;
    }
    // Hyperbola in psf against inches: initial slope Es, asymptote tau.
    const double stressToPsf = si ? kPsfPerKpa : kPsfPerPsi;
    const double tau = curve.tMax * stressToPsf;
    const double modulus = UsaceSandModulus(curve.frictionAngle);
    for (std::size_t j = 0; j < kTzPointCount; ++j) {
        const double zInches = kUsaceZInches[j];
        const double tPsf = tau <= 1.0e-9 ? 0.0 : zInches / (zInches / tau + 1.0 / modulus);
        curve.t[j] = tPsf / stressToPsf;
        curve.z[j] = si ? zInches / kInchesPerMetreTz : zInches;
    }
}

TzMultipliers TzMultipliersAt(const SettlementInput& input, double depthBelowGround) {
    TzMultipliers m;
    if (input.tzTableSwitch != 1 || input.tzRowCount < 2) return m;
    const int rows = std::min(input.tzRowCount, kMaxTzRows);
    const double d = depthBelowGround;
    if (d <= input.tzDepth[1]) return {input.tzMultiplierT[1], input.tzMultiplierZ[1]};
    for (int i = 2; i <= rows; ++i) {
        if (d <= input.tzDepth[i]) {
            // tzDepth[i-1] < d <= tzDepth[i]: the span is positive.
            const double f = (d - input.tzDepth[i - 1]) / (input.tzDepth[i] - input.tzDepth[i - 1]);
            m.onT = input.tzMultiplierT[i - 1] + (input.tzMultiplierT[i] - input.tzMultiplierT[i - 1]) * f;
            m.onZ = input.tzMultiplierZ[i - 1] + (input.tzMultiplierZ[i] - input.tzMultiplierZ[i - 1]) * f;
            return m;
        }
    }
    return {input.tzMultiplierT[rows], input.tzMultiplierZ[rows]};
}

void ApplyTzMultipliers(TzCurve& curve, const TzMultipliers& m) {
    for (std::size_t j = 0; j < kTzPointCount; ++j) {
        curve.t[j] *= m.onT;
        curve.z[j] *= m.onZ;
    }
}

namespace {

// Linear reading of a ten-point curve: the last ordinate at or beyond the last abscissa, the first at or
// below the first.  Abscissae that do not increase (a zero multiplier, say) never divide by zero: a
// bracket needs x(i-1) < x <= x(i).
double ReadCurve(const std::array<double, kTzPointCount>& xs, const std::array<double, kTzPointCount>& ys,
                 double x) {
    constexpr std::size_t last = kTzPointCount - 1;
    if (x >= xs[last]) return ys[last];
    if (x <= xs[0]) return ys[0];
    for (std::size_t i = 1; i <= last; ++i) {
        if (x <= xs[i] && x > xs[i - 1]) {
            return ys[i - 1] + (ys[i] - ys[i - 1]) * (x - xs[i - 1]) / (xs[i] - xs[i - 1]);
        }
    }
    return ys[last];
}

}  // namespace

double TzTransferAt(const TzCurve& curve, double w) { return ReadCurve(curve.z, curve.t, w); }

double TipLoadAt(const TipCurve& curve, double w) { return ReadCurve(curve.movement, curve.load, w); }

TipCurve StandardTipCurve(double maxTipLoad, double diameter) {
    TipCurve c;
    for (std::size_t j = 0; j < kTzPointCount; ++j) {
        c.movement[j] = static_cast<double>(kTipMovementRatio[j]) * diameter;
        c.load[j] = static_cast<double>(kTipLoadRatio[j]) * maxTipLoad;
    }
    return c;
}

TipCurve UsaceTipCurve(double maxTipLoad, double diameter, double failureMovement, double tipSoilType,
                       double frictionAngle, bool si) {
    TipCurve c;
    const bool granular = tipSoilType == 1.0 || tipSoilType == 3.0;
    double exponent = 0.25;
    if (frictionAngle <= 31.0) {
        exponent = 0.5;
    } else if (frictionAngle <= 38.0) {
        exponent = 0.333f;
    }
    for (std::size_t j = 0; j < kTzPointCount; ++j) {
        const double w = si ? kUsaceTipMetres[j] : static_cast<double>(kUsaceTipInches[j]);
        c.movement[j] = w;
        if (granular) {
            c.load[j] = maxTipLoad * std::pow(w / failureMovement, exponent);
        } else {
            c.load[j] = std::min(maxTipLoad, 0.5 * maxTipLoad * std::sqrt(w / (0.01f * diameter)));
        }
    }
    return c;
}

double LayerValueAt(const SoilProfile& soil, double depth, double SoilLayer::*field) {
    const int n = soil.count;
    if (n < 1) return 0.0;
    const SoilLayer& first = soil.point[1];
    const SoilLayer& last = soil.point[n];
    if (depth - first.depth <= kTolerance) return first.*field;
    if (depth - last.depth >= -kTolerance) return last.*field;
    for (int i = 1; i <= n / 2; ++i) {
        const SoilLayer& top = soil.point[2 * i - 1];
        const SoilLayer& bottom = soil.point[2 * i];
        if (bottom.depth - depth > kTolerance) {
            // At or above this layer's top (a gap between layers included) the top value holds, so a
            // layer whose rows share a depth never divides by zero.
            if (depth <= top.depth) return top.*field;
            return top.*field + (bottom.*field - top.*field) * (depth - top.depth) / (bottom.depth - top.depth);
        }
    }
    return last.*field;
}

double LayerSoilTypeAt(const SoilProfile& soil, double depth) {
    const int n = soil.count;
    if (n < 1) return 0.0;
    const SoilLayer& first = soil.point[1];
    const SoilLayer& last = soil.point[n];
    if (depth - first.depth <= kTolerance) return first.soilType;
    if (depth - last.depth >= -kTolerance) return last.soilType;
    for (int i = 1; i <= n / 2; ++i) {
        const SoilLayer& bottom = soil.point[2 * i];
        if (bottom.depth - depth >= -kTolerance) return bottom.soilType;
    }
    return last.soilType;
}

}  // namespace pileaxial
