#pragma once
// The results of a run as one JSON document, for programs that read them rather than the fixed-column
// report.  Built from what the run kept after execute(): nothing is computed again, and every number
// is the one the report prints, at full precision, in the report's units (named beside each series).
// The layout is described by docs/json-schema.json.
#include <string>

#include <nlohmann/json.hpp>

#include "engine/run.hpp"

namespace pileaxial::output {

inline constexpr int kJsonSchemaVersion = 1;

// The document of a run that has been executed.  A run that did not complete still gives its status
// and message; the inputs are included when they were read in full (status 0 or 1) and the results
// when the run completed.
nlohmann::json ResultsJson(const Run& run);

// Writes ResultsJson(run) to `path` (under a temporary name, put in place when complete); returns
// what went wrong, or an empty string.
std::string WriteResultsJson(const Run& run, const std::string& path);

}  // namespace pileaxial::output
