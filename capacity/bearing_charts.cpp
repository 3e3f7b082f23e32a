#include "capacity/bearing_charts.hpp"

#include <array>
#include <cstddef>

#include "model/interpolation.hpp"

namespace pileaxial {
namespace {

// The chart values were digitised to single precision; the tables keep them that way.

constexpr std::array<float, 13> kFhwaBearingPhi = {15.0f, 17.5f, 20.0f, 22.5f, 25.0f, 27.5f, 30.0f,
                                                   32.5f, 35.0f, 37.5f, 40.0f, 42.5f, 45.0f};
constexpr std::array<float, 13> kFhwaBearingFactor = {4.8f,  6.2f,  8.2f,  12.0f, 15.0f,  21.0f, 30.0f,
                                                      43.0f, 64.0f, 98.0f, 160.0f, 265.0f, 475.0f};

constexpr std::array<float, 12> kFhwaLimitPhi = {30.0f, 31.25f, 32.5f, 33.75f, 35.0f,  36.25f,
                                                 37.5f, 38.75f, 40.0f, 41.25f, 42.5f, 43.75f};
constexpr std::array<float, 12> kFhwaLimitTsf = {6.66f,  11.25f, 20.0f,  32.5f,  53.8f,  81.3f,
                                                 117.5f, 159.5f, 208.8f, 262.5f, 318.8f, 368.8f};

constexpr std::array<float, 13> kUsacePhi = {0.0f,  5.0f,  10.0f, 15.0f, 20.0f, 30.0f, 32.0f,
                                             36.0f, 38.0f, 39.0f, 40.0f, 45.0f, 50.0f};
constexpr std::array<float, 13> kUsaceBearingFactor = {1.0f,  1.6f,  2.7f,  4.4f,  7.4f,   23.0f, 30.0f,
                                                       56.0f, 68.0f, 79.0f, 88.0f, 200.0f, 415.1f};

constexpr std::array<float, 5> kApiDelta = {15.0f, 20.0f, 25.0f, 30.0f, 35.0f};
constexpr std::array<float, 5> kApiBearingFactor = {8.0f, 12.0f, 20.0f, 40.0f, 50.0f};
constexpr std::array<float, 5> kApiLimitFrictionKsf = {1.0f, 1.4f, 1.7f, 2.0f, 2.4f};

// Tip coefficient: one row per friction angle, columns for L/D = 20, 30 and 45.  For dense sands the
// three curves meet: slenderness no longer matters above about 36 degrees.
constexpr std::array<float, 13> kTipPhi = {20.0f, 20.5f, 22.5f, 25.0f, 27.5f, 30.0f, 32.5f,
                                           35.0f, 36.5f, 37.5f, 40.0f, 42.5f, 45.0f};
constexpr std::array<float, 3> kTipSlenderness = {20.0f, 30.0f, 45.0f};
constexpr std::array<std::array<float, 3>, 13> kTipCoefficient = {{
    {0.365f, 0.256f, 0.177f},
    {0.375f, 0.267f, 0.19f},
    {0.416f, 0.319f, 0.242f},
    {0.47f, 0.389f, 0.318f},
    {0.525f, 0.4f, 0.4f},
    {0.58f, 0.52f, 0.49f},
    {0.637f, 0.605f, 0.578f},
    {0.68f, 0.67f, 0.66f},
    {0.7f, 0.7f, 0.7f},
    {0.715f, 0.715f, 0.715f},
    {0.75f, 0.75f, 0.75f},
    {0.78f, 0.78f, 0.78f},
    {0.8f, 0.8f, 0.8f},
}};

}  // namespace

double FhwaBearingFactor(double frictionAngle) {
    return ClampedInterpolation(kFhwaBearingPhi, kFhwaBearingFactor, frictionAngle);
}

double FhwaLimitTipResistance(double frictionAngle) {
    return ClampedInterpolation(kFhwaLimitPhi, kFhwaLimitTsf, frictionAngle);
}

double UsaceBearingFactor(double frictionAngle) {
    return ClampedInterpolation(kUsacePhi, kUsaceBearingFactor, frictionAngle);
}

double ApiBearingFactor(double frictionAngleDelta) {
    return ClampedInterpolation(kApiDelta, kApiBearingFactor, frictionAngleDelta);
}

double ApiLimitFriction(double frictionAngleDelta) {
    return ClampedInterpolation(kApiDelta, kApiLimitFrictionKsf, frictionAngleDelta);
}

double FhwaTipCoefficient(double frictionAngle, double lengthOverDiameter) {
    // Read each slenderness curve at phi, then interpolate across the curves in L/D with the same
    // clamped rule: at or below 20 the first curve, at or above 45 the last.
    std::array<double, 3> atPhi{};
    for (std::size_t c = 0; c < atPhi.size(); ++c) {
        atPhi[c] = ClampedInterpolation(kTipPhi, TableColumn(kTipCoefficient, c), frictionAngle);
    }
    return ClampedInterpolation(kTipSlenderness, atPhi, lengthOverDiameter);
}

}  // namespace pileaxial
