// Derived quantities computed once per run: unit labels, section area, snapping, segment count.
#include <gtest/gtest.h>

#include <memory>

#include "model/grid.hpp"

namespace pileaxial {
namespace {

TEST(ModelSetup, UnitLabelsOfUnknownSystemsAreSiWithoutModulus) {
    auto model = std::make_unique<Model>();
    model->pile.unitSystem = 3;
    SetUnitLabels(*model);
    EXPECT_EQ(model->labels.length + model->labels.unitWeight + model->labels.area, "M. KN/M^3 M2 ");
    EXPECT_EQ(model->labels.modulus, "");
    model->pile.unitSystem = 1;
    SetUnitLabels(*model);
    EXPECT_EQ(model->labels.unitWeight + model->labels.modulus, "LB/FT^3PSI");
}

TEST(ModelSetup, SectionAreaByPileType) {
    PileModel pile;
    pile.unitSystem = 1;
    pile.outsideDiameter = 24;
    pile.insideDiameter = 22;
    pile.crossSectionAreaAsRead = 15.5;
    pile.pileType = 1;  // pipe: annulus, in square inches
    ComputeSectionArea(pile);
    EXPECT_EQ(pile.sectionArea, kAreaFactor * (576.0 - 484.0));
    pile.pileType = 3;
    pile.perimeter = -1;  // solid round precast
    ComputeSectionArea(pile);
    EXPECT_EQ(pile.sectionArea, kAreaFactor * 576.0);
    pile.perimeter = 48;  // square precast: as entered
    ComputeSectionArea(pile);
    EXPECT_EQ(pile.sectionArea, 15.5);
    pile.areaMode = 2;  // area table: left alone
    pile.sectionArea = 3.0;
    ComputeSectionArea(pile);
    EXPECT_EQ(pile.sectionArea, 3.0);

    PileModel si;  // SI: millimetres in, square metres out
    si.unitSystem = 2;
    si.pileType = 1;
    si.outsideDiameter = 600;
    si.insideDiameter = 560;
    ComputeSectionArea(si);
    EXPECT_EQ(si.sectionArea, kAreaFactor * (360000.0 - 313600.0) / 1000.0 / 1000.0);
}

double SnappedDepth(std::initializer_list<double> depths, int index) {
    auto model = std::make_unique<Model>();
    model->pile.lengthIncrement = 1.0;
    for (double depth : depths) model->soil.point[++model->soil.count].depth = depth;
    SnapSoilPoints(*model);
    return model->soil.point[index].depth;
}

TEST(ModelSetup, SoilPointsSnapToStepsAndWholeIncrements) {
    EXPECT_EQ(SnappedDepth({0, 10.3, 10.45}, 2), 10.3);
    EXPECT_EQ(SnappedDepth({0, 10.3, 10.45}, 3), 10.3);  // under half an increment: a step
    EXPECT_EQ(SnappedDepth({0, 0.7}, 2), 1.0);           // under one increment: widened
    // Gaps are measured from the point above as already moved (from 0.7 it would be 1.7).
    EXPECT_EQ(SnappedDepth({0, 0.7, 1.6}, 3), 2.0);
}

TEST(ModelSetup, SegmentCount) {
    PileModel pile;
    pile.lengthIncrement = 0.1;
    pile.deepestSoilDepth = 50;
    EXPECT_EQ(ComputeSegmentCount(pile), 500);
    pile.deepestSoilDepth = 50.1;
    EXPECT_EQ(ComputeSegmentCount(pile), 501);
    pile.lengthIncrement = 0;  // far beyond every capacity, never an undefined conversion
    EXPECT_GT(ComputeSegmentCount(pile), kMaxNodes);
}

}  // namespace
}  // namespace pileaxial
