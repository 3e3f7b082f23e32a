#pragma once
// Batch mode of the host program: many cases from a list file or a directory, run on a pool of
// threads, each case as direct mode runs one, with an optional CSV summary of every case.
#include "host/command_line.hpp"

namespace pileaxial::host {

// Runs the batch and returns the exit status: 0 when every case completed, otherwise the largest
// run status of its cases; 2 when the list cannot be used (nothing runs) or the CSV file cannot be
// written.  Progress and the cases' messages go to standard error, a closing summary to standard
// output.
int RunBatch(const BatchOptions& options);

}  // namespace pileaxial::host
