#pragma once
// Twenty cases of every kind a batch of runs meets, for the re-entrancy test and the throughput
// benchmark: both unit systems, the onshore methods, API RP-2A, the cone-based methods with a sounding,
// the user method, tension, batter, the load-settlement variants, and runs that end early (two with
// status 2, one with status 1).  The golden cases, the templates and three runs that end early.
#include <string>
#include <utility>
#include <vector>

#include "tests/golden_cases.hpp"
#include "tests/test_support.hpp"

namespace pileaxial::testing {

using MixedCase = NamedCase;

// `sourceDir` is the directory holding examples/.
inline std::vector<MixedCase> MixedCases(const std::string& sourceDir) {
    // The golden cases but three further table layouts of the onshore methods, which add no new kind.
    std::vector<MixedCase> cases;
    for (MixedCase& c : GoldenCases(sourceDir)) {
        if (c.name != "layout-unplugged" && c.name != "layout-one-node" && c.name != "layout-long-print-interval") {
            cases.push_back(std::move(c));
        }
    }
    for (const char* name : {"template-english", "template-si"}) {
        cases.push_back({name, readFile(sourceDir + "/examples/" + name + ".in"), "", 0});
    }

    // Runs that end early: a malformed value, a count over its capacity, a soil profile too shallow.
    const auto add = [&](const std::string& name, const CaseText& c, int status) {
        cases.push_back({name, c.str(), "", status});
    };
    {
        CaseText c;
        c.g2 = "0 0 abc 23 29000000 40 0";
        add("fault-malformed-value", c, 2);
    }
    {
        CaseText c;
        c.g1 = "1 5 81 0";
        add("fault-81-soil-points", c, 2);
    }
    {
        CaseText c;
        c.g6 = "43.9 0";
        add("stop-shallow-profile", c, 1);
    }
    return cases;
}

// The file set of case `c` in `dir`, every file named after the case and `prefix`; the inputs are
// written there.
inline RunFileSet MixedCaseFiles(const TempDir& dir, const MixedCase& c, const std::string& prefix = "") {
    RunFileSet files;
    files.inputName = dir.write(prefix + c.name + ".in", c.input);
    if (!c.cpt.empty()) files.cptName = dir.write(prefix + c.name + ".cpt", c.cpt);
    files.outputName = dir.file(prefix + c.name + ".out");
    files.plotName = dir.file(prefix + c.name + ".plt");
    return files;
}

}  // namespace pileaxial::testing
