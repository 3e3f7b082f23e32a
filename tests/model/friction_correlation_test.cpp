#include <gtest/gtest.h>

#include "model/friction_correlation.hpp"

namespace pileaxial {
namespace {

double Estimate(double blowCount, double sigmaPsi, double heldAngle = 0.0) {
    EstimateFrictionAngle(heldAngle, blowCount, sigmaPsi);
    return heldAngle;
}

TEST(FrictionCorrelation, ReferenceCasesGiveExactAngles) {
    EXPECT_EQ(Estimate(8, 30), 30.25);       // middle-band ramp 31, capped
    EXPECT_EQ(Estimate(20, 10), 36.25);      // 40.5 from the 20 psi curve, capped
    EXPECT_EQ(Estimate(1, 0), 16.0);         // first interval of the 0 psi curve, under its cap
    EXPECT_EQ(Estimate(5, 50, 35.0), 27.5);  // held angle, capped
    EXPECT_EQ(Estimate(100, 10), 41.75);     // 50, capped
}

TEST(FrictionCorrelation, HeldAngleWhereTheChartHasNoValueAndBandEdges) {
    EXPECT_EQ(Estimate(95, 45, 33.0), 33.0);
    EXPECT_EQ(Estimate(90, 30, 31.5), 31.5);   // exactly 90 between 20 and 40 psi
    EXPECT_EQ(Estimate(91, 30, 31.5), 39.25);  // past it: 50, capped
    EXPECT_EQ(Estimate(6, 20), 30.0);          // on the 20 psi curve, under the cap of 30.5
    EXPECT_DOUBLE_EQ(Estimate(55, 10), 41.25); // 20-40 psi blend extrapolated to 48, capped
    EXPECT_EQ(Estimate(20, 45), 32.5);         // 40 psi curve 34, capped
}

}  // namespace
}  // namespace pileaxial
