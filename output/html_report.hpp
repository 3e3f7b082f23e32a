#pragma once
// The run as one self-contained HTML page: the case, warnings, the capacity curves of every printed
// method beside the soil column, the load-transfer curves the solver used, the load-settlement curve
// and the capacity tables.  Charts are inline SVG; the page needs no script and no other file, so it
// reads offline and prints.
#include <string>

#include "engine/run.hpp"

namespace pileaxial {

// `messages` is what the run wrote to its error stream (warnings, and the reason a run did not
// complete); each line is shown at the top of the page.
std::string HtmlReport(const Run& run, const std::string& messages = "");

}  // namespace pileaxial
