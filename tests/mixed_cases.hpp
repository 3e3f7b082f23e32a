#pragma once
// Twenty cases of every kind a batch of runs meets, for the re-entrancy test and the throughput
// benchmark: both unit systems, the onshore methods, API RP-2A, the cone-based methods with a sounding,
// the user method, tension, batter, the load-settlement variants, and runs that end early (two with
// status 2, one with status 1).  Built from the bundled examples and from CaseText variants.
#include <string>
#include <vector>

#include "tests/test_support.hpp"

namespace pileaxial::testing {

struct MixedCase {
    std::string name;    // unique within the set; the run's files are named after it
    std::string input;   // the input data file
    std::string cpt;     // the CPT data file; empty for a case without a sounding
    int status = 0;      // the status the run ends with
};

// `sourceDir` is the directory holding examples/.
inline std::vector<MixedCase> MixedCases(const std::string& sourceDir) {
    std::vector<MixedCase> cases;
    const auto example = [&](const std::string& name, const std::string& path, bool withCpt) {
        const std::string base = sourceDir + "/examples/" + path;
        cases.push_back({name, readFile(base + ".in"), withCpt ? readFile(base + ".cpt") : "", 0});
    };
    example("english-pipe", "english-pipe/english-pipe", false);
    example("si-closed-cpt", "si-closed-cpt/si-closed-cpt", true);
    example("template-english", "template-english", false);
    example("template-si", "template-si", false);

    const auto add = [&](const std::string& name, const CaseText& c, const std::string& cpt = "", int status = 0) {
        cases.push_back({name, c.str(), cpt, status});
    };
    const auto onshore = [] {
        CaseText c;
        c.g5 = "1 1 1 0 0 0 0 0 0";
        return c;
    };
    add("onshore-all", onshore());
    {
        CaseText c = onshore();
        c.g3 = "0 0 10";
        add("battered-open-pipe", c);
    }
    {
        CaseText c = onshore();
        c.tail = "0\n0 1.0\n0 1 0\n0 0\n0 0\n0\n0\n0\n";
        add("plugged", c);
    }
    {
        CaseText c = onshore();
        c.g1 = "1 5 4 1";
        c.g6 = "50 36";
        c.points[0].first = "0 1 1 60 30 40";
        c.points[1].first = "20 1 1 60 32 40";
        c.tail = "0\n1 0.8\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
        add("closed-buoyant-tension", c);
    }
    {
        CaseText c;
        c.g4 = "0 1 1 0 4 0 0";
        c.g5 = "0 0 0 1 0 0 0 0 0";
        add("api-english", c);
    }
    {
        CaseText c;
        c.g2 = "0 0 24 23 29000000 46 6";
        c.g3 = "0 0 12";
        c.g4 = "2 1 1 0 1 0 0";
        add("settlement-battered-stickup", c);
    }
    {
        CaseText c;
        c.g1 = "1 5 6 0";
        c.g4 = "0 1 1 0 2 0 0";
        c.g5 = "0 1 0 0 0 0 0 0 0";
        c.points = {{"0 1 1 115 30 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"},
                    {"20 1 1 115 32 40", "0 0 0 20 0 0 0 0 0 1 1 0 0 0"},
                    {"20 2 1 55 0 9", "0 0 1000 500 0 20 0 0 0 1 1 0 0 0"},
                    {"35 2 1 55 0 9", "0 0 2000 900 0 20 0 0 0 1 1 0 0 0"},
                    {"35 1 1 60 36 40", "0 0 0 30 0 0 0 0 0 1 1 0.8 0 0"},
                    {"60 1 1 60 36 40", "0 0 0 30 0 0 0 0 0 1 1 0.8 0 0"}};
        add("settlement-usace-shapes", c);
    }
    {
        CaseText c;
        c.g1 = "2 4 4 1";
        c.g2 = "0 0 457 0 30000000 15 0";
        c.g4 = "0 0.5 3 0 3 0 0";
        c.g5 = "0 0 1 0 0 0 0 0 0";
        c.g6 = "20 0";
        c.points = {{"0 2 1 8 0 9", "0 0 40 20 0 20 0 0 0 1 1 0 6 0.7"},
                    {"8 2 1 8 0 9", "0 0 60 30 0 20 0 0 0 1 1 0 6 0.7"},
                    {"8 1 1 10 34 40", "0 0 0 25 0 0 0 0 0 1 1 0 4 0"},
                    {"20 1 1 10 36 40", "0 0 0 35 0 0 0 0 0 1 1 0 4 0"}};
        c.tail = "0\n0 1.0\n0 0 0\n0 0\n0 0\n1\n3\n0 0.8 1.2\n8 1.0 1.0\n20 1.5 0.5\n"
                 "1\n5\n0.0005\n0.002\n0.005\n0.02\n0.05\n1\n0.9 1.1\n";
        add("settlement-si-multipliers", c);
    }

    // Every method with a sounding, the load-settlement analysis on a cone-based method.
    {
        CaseText c;
        c.g4 = "0 1 1 0 6 1 0";
        c.g5 = "1 1 1 1 1 1 1 1 1";
        c.points[2].second = "0 0 1000 500 2 20 0 0 0 1 1 0 0 0";
        c.points[3].second = "0 0 2000 900 1.5 20 0 0 0 1 1 0 0 0";
        add("cpt-english-ngi", c, "1 7\n0 20000\n5 60000\n10 90000\n20 120000\n21 25000\n40 30000\n60 40000\n");
    }
    const auto siCpt = [](const char* loadTransfer) {
        CaseText c;
        c.g1 = "2 4 4 0";
        c.g2 = "0 0 762 712 200000000 20 0";
        c.g4 = std::string("0 0.5 1 0 ") + loadTransfer + " 1 0";
        c.g5 = "1 1 1 1 1 1 1 1 1";
        c.g6 = "30 0";
        c.points = {{"0 1 1 10 32 0", "0 0 0 15 0 0 0 0 0 1 1 0 0 0"},
                    {"10 1 1 10 35 0", "0 0 0 30 0 0 0 0 0 1 1 0 0 0"},
                    {"10 2 1 8 0 0", "0 0 60 30 2 25 0 0 0 1 1 0 0 0"},
                    {"30 2 1 8 0 0", "0 0 140 60 1.5 25 0 0 0 1 1 0 0 0"}};
        return c;
    };
    const std::string siSounding = "1 6\n0 2000\n5 8000\n10 15000\n10.5 1500\n20 2500\n30 3500\n";
    add("cpt-si-icp", siCpt("7"), siSounding);
    add("cpt-si-uwa", siCpt("9"), siSounding);

    // The user method, also for the load transfers: English in tension, SI battered and closed.
    {
        CaseText c;
        c.g4 = "0 1 1 0 5 0 0";
        c.g5 = "1 0 0 0 1 0 0 0 0";
        c.points[0].second = "0 0 0 10 0 0 0 400 20000 1 1 0 0 0";
        c.points[1].second = "0 0 0 20 0 0 0 600 30000 1 1 0 0 0";
        c.points[2].second = "0 0 1000 500 0 20 0 800 9000 0.9 0.8 0 0 0";
        c.points[3].second = "0 0 2000 900 0 20 0 1500 18000 0.9 0.8 0 0 0";
        c.tail = "0\n1 0.7\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
        add("user-english-tension", c);
    }
    {
        CaseText c = siCpt("5");
        c.g1 = "2 4 4 1";
        c.g2 = "0 0 610 580 200000000 18 2";
        c.g3 = "0 0 8";
        c.g4 = "0 0.5 1 0 5 0 0";
        c.g5 = "0 0 0 1 1 0 0 0 0";
        c.points = {{"0 1 1 10 32 0", "0 0 0 15 0 0 0 20 4000 1 1 0 0 0"},
                    {"10 1 1 10 35 0", "0 0 0 30 0 0 0 60 8000 1 1 0 0 0"},
                    {"10 2 1 8 0 0", "0 0 60 30 2 25 0 40 540 1 1 0 0 0"},
                    {"30 2 1 8 0 0", "0 0 140 60 1.5 25 0 90 1260 1 1 0 0 0"}};
        add("user-si-battered", c);
    }

    // Runs that end early: a malformed value, a count over its capacity, a soil profile too shallow.
    {
        CaseText c;
        c.g2 = "0 0 abc 23 29000000 40 0";
        add("fault-malformed-value", c, "", 2);
    }
    {
        CaseText c;
        c.g1 = "1 5 81 0";
        add("fault-81-soil-points", c, "", 2);
    }
    {
        CaseText c;
        c.g6 = "43.9 0";
        add("stop-shallow-profile", c, "", 1);
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
