#pragma once
// Derived quantities of the pile and soil model and the computation grid.
#include "model/model.hpp"

namespace pileaxial {

// Unit labels of the report for the unit system read.
void SetUnitLabels(Model& model);

// Cross-section area used for the axial stiffness, from the area mode and the section.
void ComputeSectionArea(PileModel& pile);

// Soil points closer together than an increment are pulled onto the increment (once per run).
void SnapSoilPoints(Model& model);

// Number of segments the profile needs: integer part of deepestSoilDepth / lengthIncrement + 1.0E-6.
int ComputeSegmentCount(const PileModel& pile);

// Builds the grid with its interpolated soil data, effective stresses, estimated friction angles,
// missing shear strengths, the stress-based critical depth and the critical-depth stresses.
// pile.segmentCount must be set.  Called once before the analysis and again at the start of each
// analysis pass; model.carry holds what carries from one build to the next.
void BuildSegmentGrid(Model& model);

}  // namespace pileaxial
