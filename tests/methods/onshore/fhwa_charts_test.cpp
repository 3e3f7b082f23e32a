#include "methods/onshore/fhwa_charts.hpp"

#include <stdexcept>

#include <gtest/gtest.h>

namespace pileaxial {
namespace {

constexpr double kTol = 1.0e-5;
constexpr int kEnglish = 1;
constexpr int kSi = 2;

TEST(DeltaPhiRatioChart, ClampsInVolumeAndPicksThePileTypeColumn) {
    EXPECT_NEAR(DeltaPhiRatioChart(0.01, 6), 0.727, kTol);  // below 0.08: first row
    EXPECT_NEAR(DeltaPhiRatioChart(0.08, 6), 0.727, kTol);
    EXPECT_NEAR(DeltaPhiRatioChart(0.15, 6), 0.787, kTol);  // (0.747 + 0.827) / 2
    EXPECT_NEAR(DeltaPhiRatioChart(0.46, 1), 0.443, kTol);  // (0.41 + 0.476) / 2
    EXPECT_NEAR(DeltaPhiRatioChart(0.7, 7), 0.826, kTol);   // (0.792 + 0.86) / 2
    EXPECT_NEAR(DeltaPhiRatioChart(1.0, 3), 0.767, kTol);
    EXPECT_NEAR(DeltaPhiRatioChart(1.9, 5), 1.27, kTol);
    EXPECT_NEAR(DeltaPhiRatioChart(5.0, 5), 1.27, kTol);    // above 1.9: last row
    EXPECT_NEAR(DeltaPhiRatioChart(5.0, 2), 0.825, kTol);
}

TEST(DeltaPhiRatioChart, PileTypeWithoutColumnIsRejected) {
    EXPECT_THROW(DeltaPhiRatioChart(0.5, 0), std::out_of_range);
    EXPECT_THROW(DeltaPhiRatioChart(0.5, 8), std::out_of_range);
}

TEST(CfCorrectionChart, BlendsTheBracketingColumns) {
    EXPECT_NEAR(CfCorrectionChart(1.3, 30.0), 1.045, kTol);  // between 1.03 and 1.06
    EXPECT_NEAR(CfCorrectionChart(0.5, 20.0), 0.865, kTol);  // columns 0.825 and 0.905 at phi 20
    EXPECT_NEAR(CfCorrectionChart(0.7, 45.0), 0.73, kTol);   // (0.62 + 0.84) / 2
    EXPECT_NEAR(CfCorrectionChart(1.0, 33.0), 1.0, kTol);
    EXPECT_NEAR(CfCorrectionChart(0.4, 34.0), 0.63, kTol);   // on a column
}

TEST(CfCorrectionChart, ClampsInRatioAndInPhi) {
    EXPECT_NEAR(CfCorrectionChart(0.1, 14.0), 0.83, kTol);
    EXPECT_NEAR(CfCorrectionChart(0.2, 10.0), 0.83, kTol);
    EXPECT_NEAR(CfCorrectionChart(0.05, 50.0), 0.24, kTol);
    EXPECT_NEAR(CfCorrectionChart(1.4, 45.0), 1.16, kTol);
    EXPECT_NEAR(CfCorrectionChart(2.0, 5.0), 1.02, kTol);
}

TEST(KDeltaCharts, VolumeBlendBetweenCurves) {
    EXPECT_NEAR(KDeltaChart30(0.0, 0.5), 0.983333, kTol);      // 1.15 - 0.5 * 0.30 / 0.9
    EXPECT_NEAR(KDeltaChart25(0.0, 5.5), 0.925, kTol);         // 1.00 - 4.5 * 0.15 / 9
    EXPECT_NEAR(KDeltaChart40(0.05, 0.55), 4.043, kTol);       // curves 3.41 and 4.676 at omega 0.05
    EXPECT_NEAR(KDeltaChart35(0.25, 1.0), 2.98, kTol);         // V = 1 reads its own curve
    EXPECT_NEAR(KDeltaChart35(0.35, 0.1), 3.54, kTol);         // (2.90 + 4.18) / 2
    EXPECT_NEAR(KDeltaChart30(1.85, 1.0), 6.4905, kTol);       // (6.487 + 6.494) / 2
}

TEST(KDeltaCharts, ClampsInVolumeAndTaper) {
    EXPECT_NEAR(KDeltaChart25(0.0, 0.05), 0.70, kTol);
    EXPECT_NEAR(KDeltaChart25(0.0, 0.1), 0.70, kTol);
    EXPECT_NEAR(KDeltaChart25(0.0, 10.0), 1.00, kTol);
    EXPECT_NEAR(KDeltaChart25(0.0, 50.0), 1.00, kTol);
    EXPECT_NEAR(KDeltaChart40(-1.0, 1.0), 3.00, kTol);
    for (double volume : {0.05, 0.5, 5.0, 20.0}) {
        EXPECT_NEAR(KDeltaChart40(3.0, volume), 17.54, kTol) << volume;
        EXPECT_NEAR(KDeltaChart35(3.0, volume), 10.34, kTol) << volume;
        EXPECT_NEAR(KDeltaChart30(3.0, volume), 6.494, kTol) << volume;
        EXPECT_NEAR(KDeltaChart25(3.0, volume), 2.917, kTol) << volume;
    }
}

TEST(AdhesionCharts, CaseOneBlendsThreeCurves) {
    EXPECT_NEAR(AdhesionChartCase1(2.5, 5.0, kEnglish), 1.0, kTol);
    EXPECT_NEAR(AdhesionChartCase1(2.5, 10.0, kEnglish), 1.0, kTol);
    EXPECT_NEAR(AdhesionChartCase1(2.5, 15.0, kEnglish), 0.9375, kTol);  // 0.875 + 5 * 0.125 / 10
    EXPECT_NEAR(AdhesionChartCase1(2.5, 20.0, kEnglish), 0.875, kTol);
    EXPECT_NEAR(AdhesionChartCase1(2.5, 30.0, kEnglish), 0.6875, kTol);  // 0.5 + 10 * 0.375 / 20
    EXPECT_NEAR(AdhesionChartCase1(2.5, 40.0, kEnglish), 0.5, kTol);
    EXPECT_NEAR(AdhesionChartCase1(1.25, 100.0, kEnglish), 0.8575, kTol);  // (0.9 + 0.815) / 2
}

TEST(AdhesionCharts, CasesTwoAndThree) {
    EXPECT_NEAR(AdhesionChartCase2(0.75, 5.0, kEnglish), 0.4585, kTol);  // (0.519 + 0.398) / 2
    EXPECT_NEAR(AdhesionChartCase2(1.0, 15.0, kEnglish), 0.572, kTol);   // (0.398 + 0.746) / 2
    EXPECT_NEAR(AdhesionChartCase2(4.5, 25.0, kEnglish), 0.54, kTol);
    EXPECT_NEAR(AdhesionChartCase3(2.0, 25.0, kEnglish), 0.794, kTol);   // 0.688 + 15 * 0.212 / 30
    EXPECT_NEAR(AdhesionChartCase3(3.0, 9.9, kEnglish), 0.303, kTol);
    EXPECT_NEAR(AdhesionChartCase3(3.0, 40.0, kEnglish), 0.502, kTol);
}

TEST(AdhesionCharts, StrengthBeyondChartReadsLastColumn) {
    EXPECT_NEAR(AdhesionChartCase1(5.0, 30.0, kEnglish), 0.575, kTol);   // (0.4 + 0.75) / 2
    EXPECT_NEAR(AdhesionChartCase2(5.0, 5.0, kEnglish), 0.186, kTol);
    EXPECT_NEAR(AdhesionChartCase2(5.0, 20.0, kEnglish), 0.54, kTol);
    EXPECT_NEAR(AdhesionChartCase3(5.0, 5.0, kEnglish), 0.238, kTol);
    EXPECT_NEAR(AdhesionChartCase3(5.0, 40.0, kEnglish), 0.299, kTol);
}

TEST(AdhesionCharts, SiStrengthIsConvertedFromKpa) {
    EXPECT_NEAR(AdhesionChartCase2(47.88, 5.0, kSi), 0.398, kTol);       // 1 ksf
    EXPECT_NEAR(AdhesionChartCase3(119.7, 10.0, kSi), 0.443, kTol);      // 2.5 ksf
    EXPECT_NEAR(AdhesionChartCase1(95.76, 100.0, kSi), 0.68, kTol);      // 2 ksf
    // Any unit-system code below 2 is taken as ksf.
    EXPECT_NEAR(AdhesionChartCase2(1.0, 5.0, 0), 0.398, kTol);
}

}  // namespace
}  // namespace pileaxial
