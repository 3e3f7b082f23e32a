#pragma once
// The golden cases: whole runs whose reports and plot-data files are kept under tests/golden and
// compared character for character.  The bundled examples; the table layouts of the three onshore
// methods; the load-settlement variants; every method with a sounding, the load transfers on each
// cone-based method in turn; the user method in both unit systems.  The re-entrancy test and the
// throughput benchmark run most of them too (tests/mixed_cases.hpp).
#include <string>
#include <vector>

#include "tests/test_support.hpp"

namespace pileaxial::testing {

// A whole case: its name (the golden files and the run's files are named after it), its input data
// file, its CPT data file (empty: no sounding) and the status its run ends with.
struct NamedCase {
    std::string name;
    std::string input;
    std::string cpt;
    int status = 0;
};

// `sourceDir` is the directory holding examples/.
inline std::vector<NamedCase> GoldenCases(const std::string& sourceDir) {
    std::vector<NamedCase> cases;
    const auto add = [&](const std::string& name, const CaseText& c, const std::string& cptText = "") {
        cases.push_back({name, c.str(), cptText, 0});
    };
    for (const auto& [name, withCpt] : {std::pair{"english-pipe", false}, std::pair{"si-closed-cpt", true}}) {
        const std::string base = sourceDir + "/examples/" + name + "/" + name;
        cases.push_back({name, readFile(base + ".in"), withCpt ? readFile(base + ".cpt") : "", 0});
    }

    struct Variant {
        const char* name;
        void (*change)(CaseText&);
    };
    {
        // The table layouts: all three onshore methods of the default test case, varied.
        const Variant variants[] = {
            {"battered-open-pipe", [](CaseText& c) { c.g3 = "0 0 10"; }},
            {"plugged", [](CaseText& c) { c.tail = "0\n0 1.0\n0 1 0\n0 0\n0 0\n0\n0\n0\n"; }},
            {"unplugged", [](CaseText& c) { c.tail = "0\n0 1.0\n0 2 0\n0 0\n0 0\n0\n0\n0\n"; }},
            {"closed-buoyant-tension",
             [](CaseText& c) {
                 c.g1 = "1 5 4 1";
                 c.g6 = "50 36";
                 c.points[0].first = "0 1 1 60 30 40";
                 c.points[1].first = "20 1 1 60 32 40";
                 c.tail = "0\n1 0.8\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
             }},
            {"battered-tension",
             [](CaseText& c) {
                 c.g3 = "0 0 15";
                 c.tail = "0\n1 0.8\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
             }},
            {"one-node", [](CaseText& c) { c.g2 = "0 0 24 23 29000000 0.5 0"; }},
            {"long-print-interval", [](CaseText& c) { c.g1 = "1 60 4 0"; }},
        };
        for (const Variant& v : variants) {
            CaseText c;
            c.g5 = "1 1 1 0 0 0 0 0 0";
            v.change(c);
            add(std::string("layout-") + v.name, c);
        }
    }
    {
        // The load-settlement analysis: the curve shapes, the stick-up and batter, the user's
        // multipliers and tip movements, in both unit systems.
        const Variant variants[] = {
            // FHWA curves on a battered pile standing 6 ft above the ground, with a zero friction length.
            {"battered-stickup",
             [](CaseText& c) {
                 c.g2 = "0 0 24 23 29000000 46 6";
                 c.g3 = "0 0 12";
                 c.g4 = "2 1 1 0 1 0 0";
             }},
            // USACE shapes: t-z curves in sand and clay, the tip in sand with its failure movement given.
            {"usace-shapes",
             [](CaseText& c) {
                 c.g4 = "0 1 1 0 2 0 0";
                 c.g5 = "0 1 0 0 0 0 0 0 0";
                 c.points = {{"0 1 1 115 30 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"},
                             {"20 1 1 115 32 40", "0 0 0 20 0 0 0 0 0 1 1 0 0 0"},
                             {"20 2 1 55 0 9", "0 0 1000 500 0 20 0 0 0 1 1 0 0 0"},
                             {"35 2 1 55 0 9", "0 0 2000 900 0 20 0 0 0 1 1 0 0 0"},
                             {"35 1 1 60 36 40", "0 0 0 30 0 0 0 0 0 1 1 0.8 0 0"},
                             {"60 1 1 60 36 40", "0 0 0 30 0 0 0 0 0 1 1 0.8 0 0"}};
                 c.g1 = "1 5 6 0";
             }},
            // SI, Revised Lambda curves with peak movements and residual ratios given, a t-z multiplier
            // table, a user list of tip movements and multipliers on the tip curve.
            {"si-multipliers",
             [](CaseText& c) {
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
             }},
        };
        for (const Variant& v : variants) {
            CaseText c;
            v.change(c);
            add(std::string("settlement-") + v.name, c);
        }
    }
    {
        // Every method selected with a sounding: all the tables in their order with their plot rows, and
        // the load-settlement analysis on each cone-based method in turn (two in each unit system).
        const std::string englishSounding = "1 7\n0 20000\n5 60000\n10 90000\n20 120000\n21 25000\n40 30000\n60 40000\n";
        const std::string siSounding = "1 6\n0 2000\n5 8000\n10 15000\n10.5 1500\n20 2500\n30 3500\n";
        const auto english = [](const char* loadTransfer) {
            CaseText c;
            c.g4 = std::string("0 1 1 0 ") + loadTransfer + " 1 0";
            c.g5 = "1 1 1 1 1 1 1 1 1";
            // Clay with yield stress ratios (position 5), which the cone-based clay rule needs.
            c.points[2].second = "0 0 1000 500 2 20 0 0 0 1 1 0 0 0";
            c.points[3].second = "0 0 2000 900 1.5 20 0 0 0 1 1 0 0 0";
            return c;
        };
        const auto si = [](const char* loadTransfer) {
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
        add("cpt-english-ngi", english("6"), englishSounding);
        add("cpt-english-fugro", english("8"), englishSounding);
        add("cpt-si-icp", si("7"), siSounding);
        add("cpt-si-uwa", si("9"), siSounding);
    }
    {
        // The user method, as the method for unit load transfers too: English in tension on an open
        // pile, SI on a battered closed pile.
        CaseText english;
        english.g4 = "0 1 1 0 5 0 0";
        english.g5 = "1 0 0 0 1 0 0 0 0";
        english.points[0].second = "0 0 0 10 0 0 0 400 20000 1 1 0 0 0";
        english.points[1].second = "0 0 0 20 0 0 0 600 30000 1 1 0 0 0";
        english.points[2].second = "0 0 1000 500 0 20 0 800 9000 0.9 0.8 0 0 0";
        english.points[3].second = "0 0 2000 900 0 20 0 1500 18000 0.9 0.8 0 0 0";
        english.tail = "0\n1 0.7\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
        add("user-english-tension-open", english);

        CaseText si;
        si.g1 = "2 4 4 1";
        si.g2 = "0 0 610 580 200000000 18 2";
        si.g3 = "0 0 8";
        si.g4 = "0 0.5 1 0 5 0 0";
        si.g5 = "0 0 0 1 1 0 0 0 0";
        si.g6 = "30 0";
        si.points = {{"0 1 1 10 32 0", "0 0 0 15 0 0 0 20 4000 1 1 0 0 0"},
                     {"10 1 1 10 35 0", "0 0 0 30 0 0 0 60 8000 1 1 0 0 0"},
                     {"10 2 1 8 0 0", "0 0 60 30 2 25 0 40 540 1 1 0 0 0"},
                     {"30 2 1 8 0 0", "0 0 140 60 1.5 25 0 90 1260 1 1 0 0 0"}};
        add("user-si-battered", si);
    }
    return cases;
}

}  // namespace pileaxial::testing
