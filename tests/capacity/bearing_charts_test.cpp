#include "capacity/bearing_charts.hpp"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace pileaxial {
namespace {

constexpr double kTol = 1.0e-5;
constexpr double kTolLarge = 1.0e-4;  // values in the hundreds carry single-precision rounding

// Each chart: the stated end rules (at and beyond both ends), a tabulated point and a midpoint.
TEST(BearingCharts, FhwaBearingFactorEndsAndMidpoints) {
    EXPECT_NEAR(FhwaBearingFactor(0.0), 4.8, kTol);
    EXPECT_NEAR(FhwaBearingFactor(15.0), 4.8, kTol);
    EXPECT_NEAR(FhwaBearingFactor(16.25), 5.5, kTol);     // (4.8 + 6.2) / 2
    EXPECT_NEAR(FhwaBearingFactor(31.25), 36.5, kTol);    // (30 + 43) / 2
    EXPECT_NEAR(FhwaBearingFactor(44.375), 422.5, kTolLarge);  // 265 + 0.75 * 210
    EXPECT_NEAR(FhwaBearingFactor(45.0), 475.0, kTol);
    EXPECT_NEAR(FhwaBearingFactor(60.0), 475.0, kTol);
}

TEST(BearingCharts, FhwaLimitTipResistanceEndsAndMidpoints) {
    EXPECT_NEAR(FhwaLimitTipResistance(20.0), 6.66, kTol);
    EXPECT_NEAR(FhwaLimitTipResistance(30.0), 6.66, kTol);
    EXPECT_NEAR(FhwaLimitTipResistance(30.625), 8.955, kTol);  // (6.66 + 11.25) / 2
    EXPECT_NEAR(FhwaLimitTipResistance(35.0), 53.8, kTol);
    EXPECT_NEAR(FhwaLimitTipResistance(43.75), 368.8, kTolLarge);
    EXPECT_NEAR(FhwaLimitTipResistance(50.0), 368.8, kTolLarge);
}

TEST(BearingCharts, UsaceBearingFactorUnevenSpacing) {
    EXPECT_NEAR(UsaceBearingFactor(-5.0), 1.0, kTol);
    EXPECT_NEAR(UsaceBearingFactor(2.5), 1.3, kTol);
    EXPECT_NEAR(UsaceBearingFactor(25.0), 15.2, kTol);  // 10-degree step: (7.4 + 23) / 2
    EXPECT_NEAR(UsaceBearingFactor(34.0), 43.0, kTol);  // 4-degree step: (30 + 56) / 2
    EXPECT_NEAR(UsaceBearingFactor(38.5), 73.5, kTol);  // 1-degree step: (68 + 79) / 2
    EXPECT_NEAR(UsaceBearingFactor(50.0), 415.1, kTolLarge);
    EXPECT_NEAR(UsaceBearingFactor(55.0), 415.1, kTolLarge);
}

TEST(BearingCharts, ApiFactorAndLimitFriction) {
    EXPECT_NEAR(ApiBearingFactor(10.0), 8.0, kTol);
    EXPECT_NEAR(ApiBearingFactor(22.5), 16.0, kTol);
    EXPECT_NEAR(ApiBearingFactor(25.0), 20.0, kTol);  // sand of phi 30: delta = 25
    EXPECT_NEAR(ApiBearingFactor(27.5), 30.0, kTol);
    EXPECT_NEAR(ApiBearingFactor(40.0), 50.0, kTol);

    EXPECT_NEAR(ApiLimitFriction(0.0), 1.0, kTol);
    EXPECT_NEAR(ApiLimitFriction(17.5), 1.2, kTol);
    EXPECT_NEAR(ApiLimitFriction(32.5), 2.2, kTol);
    EXPECT_NEAR(ApiLimitFriction(35.0), 2.4, kTol);
    EXPECT_NEAR(ApiLimitFriction(90.0), 2.4, kTol);
}

// Tabulated values are the single-precision decimals, returned exactly at their abscissae.
TEST(BearingCharts, TablePointsAreSinglePrecisionValues) {
    EXPECT_EQ(FhwaBearingFactor(17.5), static_cast<double>(6.2f));
    EXPECT_EQ(FhwaLimitTipResistance(10.0), static_cast<double>(6.66f));
    EXPECT_EQ(UsaceBearingFactor(60.0), static_cast<double>(415.1f));
    EXPECT_EQ(ApiLimitFriction(20.0), static_cast<double>(1.4f));
    EXPECT_EQ(FhwaTipCoefficient(30.0, 30.0), static_cast<double>(0.52f));
}

TEST(BearingCharts, TipCoefficientSlendernessBlend) {
    // phi = 30: curves 0.58 (L/D 20), 0.52 (30), 0.49 (45).
    EXPECT_NEAR(FhwaTipCoefficient(30.0, 5.0), 0.58, kTol);
    EXPECT_NEAR(FhwaTipCoefficient(30.0, 20.0), 0.58, kTol);
    EXPECT_NEAR(FhwaTipCoefficient(30.0, 25.0), 0.55, kTol);
    EXPECT_NEAR(FhwaTipCoefficient(30.0, 37.5), 0.505, kTol);
    EXPECT_NEAR(FhwaTipCoefficient(30.0, 40.0), 0.50, kTol);  // 0.52 - 10/15 * 0.03
    EXPECT_NEAR(FhwaTipCoefficient(30.0, 45.0), 0.49, kTol);
    EXPECT_NEAR(FhwaTipCoefficient(30.0, 100.0), 0.49, kTol);
}

TEST(BearingCharts, TipCoefficientBetweenAnglesAndCurves) {
    // phi halfway 25..27.5: curve 20 = 0.4975, curve 30 = 0.3945; L/D 25 halfway between them.
    EXPECT_NEAR(FhwaTipCoefficient(26.25, 25.0), 0.446, kTol);
    EXPECT_NEAR(FhwaTipCoefficient(20.25, 20.0), 0.37, kTol);   // short first step of 0.5 degree
    EXPECT_NEAR(FhwaTipCoefficient(10.0, 60.0), 0.177, kTol);   // clamped in phi and in L/D
    EXPECT_NEAR(FhwaTipCoefficient(50.0, 10.0), 0.8, kTol);
    EXPECT_NEAR(FhwaTipCoefficient(38.0, 33.0), 0.722, kTol);   // curves equal above 36.5
}

TEST(BearingCharts, UndefinedArgumentStaysUndefined) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(FhwaBearingFactor(nan)));
    EXPECT_TRUE(std::isnan(FhwaTipCoefficient(30.0, nan)));
}

}  // namespace
}  // namespace pileaxial
