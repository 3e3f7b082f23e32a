#pragma once
// The control file names.dat: which input, report, plot-data and CPT files a run uses.
#include <istream>
#include <ostream>

#include "engine/run.hpp"

namespace pileaxial {

// Reads names.dat from `names`.  Records 1 to 4 are read and not used.  When the file ends before
// the input, output or plot-data name (records 5 to 7), the three names are asked for on the console
// instead.  A missing or blank record 8 means no CPT sounding.  Throws InputError on faults.
RunFileSet ReadControlFile(std::istream& names, std::ostream& console, std::istream& consoleIn);

}  // namespace pileaxial
