#pragma once
#include <istream>
#include <string>

#include "model/model.hpp"

namespace pileaxial {

// Reads the whole input data file into the model, with the adjustments made while reading (English
// stresses to ksf and areas to ft^2, the perimeter's equivalent diameter, the enhanced end section,
// the water table, the default limits).  Throws InputError on any fault.  `cptFileNamed` tells whether
// the run has a CPT data file: a case that asks for CPT data without one is refused.
void ReadInputFile(Model& model, std::istream& in, const std::string& fileName, bool cptFileNamed = true);

// Reads the CPT data file (count and depth/cone pairs).  Throws InputError on any fault.
void ReadCptFile(Model& model, std::istream& in, const std::string& fileName);

}  // namespace pileaxial
