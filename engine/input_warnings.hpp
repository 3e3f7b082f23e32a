#pragma once
#include "engine/run.hpp"

namespace pileaxial {

// Warnings about input the program accepts but that is most likely a slip: a pile length that the
// increments do not divide, values far outside their usual ranges, and selected methods that cannot
// be computed from what was given.  They go to the run's error stream only; the report is not
// changed.  Expects the input read and the embedded length formed.
void WarnAboutUnusualInput(const Run& run);

}  // namespace pileaxial
