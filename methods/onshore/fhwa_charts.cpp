#include "methods/onshore/fhwa_charts.hpp"

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

#include "model/interpolation.hpp"

namespace pileaxial {
namespace {

// All chart values were digitised to single precision; the tables keep them that way and the lookups
// widen them to double.

// --- delta/phi ------------------------------------------------------------------------------------
// Rows: displacement volume V (ft^3/ft).  Columns: pile types 1..7.  Small displacement piles mobilise
// a smaller share of phi at the interface; the H-pile column levels off at 0.98 from V = 0.6.
constexpr std::array<float, 13> kDeltaPhiVolume = {0.08f, 0.1f, 0.2f, 0.3f, 0.4f, 0.52f, 0.6f,
                                                   0.8f,  1.0f, 1.2f, 1.4f, 1.6f,  1.9f};
constexpr std::array<std::array<float, 7>, 13> kDeltaPhiRatio = {{
    {0.342f, 0.404f, 0.466f, 0.571f, 0.801f, 0.727f, 0.643f},
    {0.342f, 0.404f, 0.466f, 0.571f, 0.801f, 0.747f, 0.643f},
    {0.342f, 0.404f, 0.466f, 0.571f, 0.801f, 0.827f, 0.643f},
    {0.342f, 0.404f, 0.466f, 0.571f, 0.801f, 0.8875f, 0.643f},
    {0.41f, 0.466f, 0.525f, 0.637f, 0.845f, 0.933f, 0.696f},
    {0.476f, 0.527f, 0.59f, 0.699f, 0.895f, 0.972f, 0.757f},
    {0.516f, 0.562f, 0.63f, 0.736f, 0.925f, 0.98f, 0.792f},
    {0.593f, 0.637f, 0.708f, 0.814f, 0.994f, 0.98f, 0.86f},
    {0.652f, 0.693f, 0.767f, 0.873f, 1.053f, 0.98f, 0.916f},
    {0.697f, 0.734f, 0.813f, 0.917f, 1.11f, 0.98f, 0.958f},
    {0.733f, 0.766f, 0.848f, 0.953f, 1.159f, 0.98f, 0.994f},
    {0.763f, 0.793f, 0.877f, 0.985f, 1.207f, 0.98f, 1.024f},
    {0.798f, 0.825f, 0.914f, 1.024f, 1.27f, 0.98f, 1.062f},
}};

// --- C_F ------------------------------------------------------------------------------------------
// Rows: phi (degrees).  Columns: delta/phi.  C_F = 1 where delta = phi.
constexpr std::array<float, 9> kCfPhi = {14.0f, 18.0f, 22.0f, 26.0f, 30.0f, 34.0f, 38.0f, 42.0f, 45.0f};
constexpr std::array<float, 7> kCfRatio = {0.2f, 0.4f, 0.6f, 0.8f, 1.0f, 1.2f, 1.4f};
constexpr std::array<std::array<float, 7>, 9> kCf = {{
    {0.83f, 0.90f, 0.95f, 0.99f, 1.00f, 1.01f, 1.02f},
    {0.77f, 0.85f, 0.92f, 0.98f, 1.00f, 1.02f, 1.03f},
    {0.71f, 0.80f, 0.89f, 0.97f, 1.00f, 1.02f, 1.03f},
    {0.64f, 0.74f, 0.85f, 0.95f, 1.00f, 1.02f, 1.04f},
    {0.58f, 0.69f, 0.82f, 0.94f, 1.00f, 1.03f, 1.06f},
    {0.50f, 0.63f, 0.77f, 0.92f, 1.00f, 1.05f, 1.08f},
    {0.42f, 0.56f, 0.72f, 0.90f, 1.00f, 1.07f, 1.10f},
    {0.32f, 0.49f, 0.66f, 0.87f, 1.00f, 1.09f, 1.13f},
    {0.24f, 0.43f, 0.62f, 0.84f, 1.00f, 1.12f, 1.16f},
}};

// --- K_delta --------------------------------------------------------------------------------------
// One chart per friction angle: three curves against the taper angle omega, for displacement volumes
// of 0.1, 1.0 and 10 ft^3/ft, sharing their omega abscissae.  Taper raises K_delta steeply, and at
// large taper the volume no longer matters (the curves meet).
template <std::size_t N>
struct KDeltaCurves {
    std::array<float, N> taper;
    std::array<float, N> volumeSmall;   // V = 0.1
    std::array<float, N> volumeMedium;  // V = 1.0
    std::array<float, N> volumeLarge;   // V = 10
};

constexpr KDeltaCurves<10> kKDelta25 = {
    {0.0f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.8f, 1.0f, 1.2f},
    {0.70f, 0.739f, 0.817f, 0.922f, 1.042f, 1.194f, 1.40f, 1.808f, 2.322f, 2.917f},
    {0.85f, 0.902f, 0.992f, 1.085f, 1.206f, 1.353f, 1.536f, 1.886f, 2.337f, 2.917f},
    {1.00f, 1.05f, 1.136f, 1.237f, 1.349f, 1.478f, 1.646f, 1.944f, 2.316f, 2.917f},
};

constexpr KDeltaCurves<14> kKDelta30 = {
    {0.0f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.8f, 1.0f, 1.2f, 1.4f, 1.6f, 1.8f, 1.9f},
    {0.85f, 1.043f, 1.26f, 1.551f, 2.017f, 2.56f, 3.18f, 4.332f, 5.36f, 5.934f, 6.244f, 6.399f, 6.487f,
     6.494f},
    {1.15f, 1.408f, 1.629f, 1.958f, 2.435f, 2.928f, 3.444f, 4.421f, 5.36f, 5.934f, 6.244f, 6.399f, 6.487f,
     6.494f},
    {1.45f, 1.745f, 1.978f, 2.339f, 2.746f, 3.18f, 3.638f, 4.499f, 5.36f, 5.934f, 6.244f, 6.399f, 6.487f,
     6.494f},
};

constexpr KDeltaCurves<13> kKDelta35 = {
    {0.0f, 0.1f, 0.2f, 0.25f, 0.3f, 0.4f, 0.5f, 0.6f, 0.75f, 0.88f, 1.0f, 1.11f, 2.0f},
    {1.15f, 1.47f, 2.00f, 2.32f, 2.90f, 4.18f, 5.42f, 6.81f, 8.55f, 9.75f, 10.18f, 10.34f, 10.34f},
    {1.75f, 2.01f, 2.59f, 2.98f, 3.56f, 4.66f, 5.65f, 6.85f, 8.55f, 9.75f, 10.18f, 10.34f, 10.34f},
    {2.35f, 2.76f, 3.37f, 3.72f, 4.26f, 5.19f, 6.08f, 7.12f, 8.55f, 9.75f, 10.18f, 10.34f, 10.34f},
};

constexpr KDeltaCurves<10> kKDelta40 = {
    {0.0f, 0.1f, 0.15f, 0.22f, 0.3f, 0.4f, 0.43f, 0.5f, 0.56f, 2.0f},
    {1.70f, 5.12f, 7.36f, 10.56f, 13.60f, 15.84f, 16.64f, 17.28f, 17.54f, 17.54f},
    {3.00f, 6.352f, 8.00f, 10.56f, 13.60f, 15.84f, 16.64f, 17.28f, 17.54f, 17.54f},
    {4.30f, 7.04f, 8.48f, 10.56f, 13.60f, 15.84f, 16.64f, 17.28f, 17.54f, 17.54f},
};

constexpr double kSmallVolume = 0.1f;
constexpr double kMediumVolume = 1.0;
constexpr double kLargeVolume = 10.0;
constexpr double kSmallToMediumSpan = 0.9f;
constexpr double kMediumToLargeSpan = 9.0;

template <std::size_t N>
double KDeltaLookup(const KDeltaCurves<N>& chart, double taperAngle, double volume) {
    if (volume <= kSmallVolume) {
        return ClampedInterpolation(chart.taper, chart.volumeSmall, taperAngle);
    }
    if (volume < kMediumVolume) {
        const double atSmall = ClampedInterpolation(chart.taper, chart.volumeSmall, taperAngle);
        const double atMedium = ClampedInterpolation(chart.taper, chart.volumeMedium, taperAngle);
        return atMedium + (kMediumVolume - volume) * (atSmall - atMedium) / kSmallToMediumSpan;
    }
    if (volume < kLargeVolume) {
        const double atMedium = ClampedInterpolation(chart.taper, chart.volumeMedium, taperAngle);
        const double atLarge = ClampedInterpolation(chart.taper, chart.volumeLarge, taperAngle);
        return atLarge + (kLargeVolume - volume) * (atMedium - atLarge) / kMediumToLargeSpan;
    }
    if (volume >= kLargeVolume) {
        return ClampedInterpolation(chart.taper, chart.volumeLarge, taperAngle);
    }
    return volume;  // NaN: no curve applies
}

// --- alpha ----------------------------------------------------------------------------------------
// Adhesion factor against undrained shear strength (ksf), one curve per penetration ratio.
constexpr double kKpaPerKsf = 47.88f;
constexpr std::array<float, 10> kAdhesionStrength = {0.0f, 0.5f, 1.0f, 1.5f, 2.0f,
                                                     2.5f, 3.0f, 3.5f, 4.0f, 4.5f};
constexpr std::array<float, 10> kCase1Ratio10 = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
constexpr std::array<float, 10> kCase1Ratio20 = {1.0f,   1.0f,  1.0f,  1.0f,  0.95f,
                                                 0.875f, 0.75f, 0.75f, 0.75f, 0.75f};
constexpr std::array<float, 10> kCase1Ratio40 = {1.0f, 1.0f,  0.9f, 0.815f, 0.68f,
                                                 0.5f, 0.44f, 0.4f, 0.4f,   0.4f};
constexpr std::array<float, 10> kCase2Ratio10 = {0.7f,   0.519f, 0.398f, 0.334f, 0.298f,
                                                 0.272f, 0.246f, 0.226f, 0.206f, 0.186f};
constexpr std::array<float, 10> kCase2Ratio20 = {0.97f,  0.84f,  0.746f, 0.694f, 0.675f,
                                                 0.656f, 0.626f, 0.599f, 0.568f, 0.54f};
constexpr std::array<float, 10> kCase3Ratio10 = {1.0f,   0.984f, 0.923f, 0.829f, 0.688f,
                                                 0.443f, 0.303f, 0.245f, 0.238f, 0.238f};
constexpr std::array<float, 10> kCase3Ratio40 = {1.0f,   1.0f,   1.0f,   1.0f,   0.9f,
                                                 0.701f, 0.502f, 0.388f, 0.315f, 0.299f};

double StrengthKsf(double shearStrength, int unitSystem) {
    return unitSystem < 2 ? shearStrength : shearStrength / kKpaPerKsf;
}

double Alpha(const std::array<float, 10>& curve, double strengthKsf) {
    return ClampedInterpolation(kAdhesionStrength, curve, strengthKsf);
}

}  // namespace

double DeltaPhiRatioChart(double displacementVolume, int pileType) {
    if (pileType < 1 || pileType > 7) {
        throw std::out_of_range("pile type " + std::to_string(pileType) +
                                " has no delta/phi curve (types 1 to 7)");
    }
    return ClampedInterpolation(kDeltaPhiVolume, TableColumn(kDeltaPhiRatio, pileType - 1),
                                displacementVolume);
}

double CfCorrectionChart(double deltaPhiRatio, double frictionAngle) {
    const auto column = [frictionAngle](std::size_t c) {
        return ClampedInterpolation(kCfPhi, TableColumn(kCf, c), frictionAngle);
    };
    const std::size_t last = kCfRatio.size() - 1;
    if (deltaPhiRatio <= static_cast<double>(kCfRatio[0])) {
        return column(0);
    }
    if (deltaPhiRatio >= static_cast<double>(kCfRatio[last])) {
        return column(last);
    }
    // The band [a, b) between two neighbouring columns.
    for (std::size_t c = 0; c < last; ++c) {
        const double upper = kCfRatio[c + 1];
        if (deltaPhiRatio < upper) {
            const double lower = kCfRatio[c];
            const double cfLower = column(c);
            const double cfUpper = column(c + 1);
            return cfLower + (deltaPhiRatio - lower) * (cfUpper - cfLower) / (upper - lower);
        }
    }
    return deltaPhiRatio;  // NaN: no band applies
}

double KDeltaChart25(double taperAngle, double displacementVolume) {
    return KDeltaLookup(kKDelta25, taperAngle, displacementVolume);
}

double KDeltaChart30(double taperAngle, double displacementVolume) {
    return KDeltaLookup(kKDelta30, taperAngle, displacementVolume);
}

double KDeltaChart35(double taperAngle, double displacementVolume) {
    return KDeltaLookup(kKDelta35, taperAngle, displacementVolume);
}

double KDeltaChart40(double taperAngle, double displacementVolume) {
    return KDeltaLookup(kKDelta40, taperAngle, displacementVolume);
}

double AdhesionChartCase1(double shearStrength, double penetrationRatio, int unitSystem) {
    const double c = StrengthKsf(shearStrength, unitSystem);
    const double ratio = penetrationRatio;
    if (ratio < 10.0) {
        return Alpha(kCase1Ratio10, c);
    }
    if (ratio < 20.0) {
        const double a10 = Alpha(kCase1Ratio10, c);
        const double a20 = Alpha(kCase1Ratio20, c);
        return a20 + (20.0 - ratio) * (a10 - a20) / 10.0;
    }
    if (ratio < 40.0) {
        const double a20 = Alpha(kCase1Ratio20, c);
        const double a40 = Alpha(kCase1Ratio40, c);
        return a40 + (40.0 - ratio) * (a20 - a40) / 20.0;
    }
    if (ratio >= 40.0) {
        return Alpha(kCase1Ratio40, c);
    }
    return ratio;  // NaN: no curve applies
}

double AdhesionChartCase2(double shearStrength, double penetrationRatio, int unitSystem) {
    const double c = StrengthKsf(shearStrength, unitSystem);
    const double ratio = penetrationRatio;
    if (ratio < 10.0) {
        return Alpha(kCase2Ratio10, c);
    }
    if (ratio < 20.0) {
        const double a10 = Alpha(kCase2Ratio10, c);
        const double a20 = Alpha(kCase2Ratio20, c);
        return a10 + (ratio - 10.0) * (a20 - a10) / 10.0;
    }
    if (ratio >= 20.0) {
        return Alpha(kCase2Ratio20, c);
    }
    return ratio;  // NaN: no curve applies
}

double AdhesionChartCase3(double shearStrength, double penetrationRatio, int unitSystem) {
    const double c = StrengthKsf(shearStrength, unitSystem);
    const double ratio = penetrationRatio;
    if (ratio < 10.0) {
        return Alpha(kCase3Ratio10, c);
    }
    if (ratio < 40.0) {
        const double a10 = Alpha(kCase3Ratio10, c);
        const double a40 = Alpha(kCase3Ratio40, c);
        return a10 + (ratio - 10.0) * (a40 - a10) / 30.0;
    }
    if (ratio >= 40.0) {
        return Alpha(kCase3Ratio40, c);
    }
    return ratio;  // NaN: no curve applies
}

}  // namespace pileaxial
