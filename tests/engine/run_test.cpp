// Whole runs: the report header, the stops with status 1 and the faults with status 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <sstream>
#include <thread>

#include "capacity/result_check.hpp"
#include "engine/output_file.hpp"
#include "engine/run.hpp"
#include "output/json_results.hpp"
#include "tests/mixed_cases.hpp"
#include "tests/test_support.hpp"
#include "textio/input_error.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;
using testing::TempDir;

using testing::RunResult;
using testing::runCase;

TEST(ReportHeader, TitleFileNamesAndDateLineByLine) {
    TempDir dir;
    RunResult r = runCase(dir, CaseText().str());
    ASSERT_EQ(r.status, 0) << r.errors;
    const std::string rule = "     " + std::string(73, '=');
    const std::string dashes = "     " + std::string(73, '-');
    const std::vector<std::string> expected = {
        rule,
        "",
        "                       A Program for Analyzing the Axial Capacity ",
        "                       and Short-term Settlement of Driven Piles ",
        "                                 under Axial Loading. ",
        "",
        rule,
        "",
        "     Path to file locations      : " + dir.path().string() + "/",
        "     Name of input data file     : case.in",
        "     Name of output file         : case.out",
        "     Name of plot output file    : case.plt",
        "",
        dashes,
        "                          Time and Date of Analysis",
        dashes,
        "",
        "               Date:  March 01, 2026     Time:  00:00:00",
    };
    ASSERT_GE(r.report.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(r.report[i], expected[i]) << "line " << i + 1;
    // The console gets the title block too, then the progress line.
    EXPECT_EQ(r.console.rfind(rule + "\n\n", 0), 0u);
    EXPECT_NE(r.console.find("         COMPUTATION IS PROCEEDING........"), std::string::npos);
}

TEST(ReportHeader, DateLineOfEveryMonthAndTime) {
    TempDir dir;
    RunResult r = runCase(dir, CaseText().str(), "", testing::fixedTime(2025, 12, 31, 23, 59, 7));
    ASSERT_GE(r.report.size(), 18u);
    EXPECT_EQ(r.report[17], "               Date:  December 31, 2025     Time:  23:59:07");
    r = runCase(dir, CaseText().str(), "", testing::fixedTime(2027, 9, 9, 8, 5, 0));
    EXPECT_EQ(r.report[17], "               Date:  September 09, 2027     Time:  08:05:00");
}

TEST(RunSequence, CompletedRunGoesFromTheEchoToTheResults) {
    TempDir dir;
    RunResult r = runCase(dir, CaseText().str());
    ASSERT_EQ(r.status, 0) << r.errors;
    const auto banner = std::find(r.report.begin(), r.report.end(), "          * COMPUTATION RESULT *");
    ASSERT_NE(banner, r.report.end());
    EXPECT_EQ(*(banner + 1), "          **********************");
    EXPECT_EQ(*(banner + 6), "                            *  FED. HWY. METHOD  *");
    EXPECT_FALSE(r.plot.empty());
    EXPECT_TRUE(r.errors.empty());
}

TEST(RunSequence, SoilProfileExactlyAtTheRequiredDepthProceeds) {
    // 40 ft embedded + 2 x 24 in = 44 ft.
    TempDir dir;
    CaseText c;
    c.g6 = "44 0";
    EXPECT_EQ(runCase(dir, c.str()).status, 0);
}

TEST(RunSequence, ShallowSoilProfileStopsWithStatusOne) {
    TempDir dir;
    CaseText c;
    c.g6 = "43.9 0";
    RunResult r = runCase(dir, c.str());
    EXPECT_EQ(r.status, 1);
    ASSERT_GE(r.report.size(), 4u);
    const std::size_t n = r.report.size();
    EXPECT_EQ(r.report[n - 4], "");
    EXPECT_EQ(r.report[n - 3], "");
    EXPECT_EQ(r.report[n - 2],
              "          COMPUTATION DOES NOT PROCEED BECAUSE THE DEEPEST SOIL PROFILE   43.90 FT.");
    EXPECT_EQ(r.report[n - 1],
              "          IS LESS THAN PILE EMBEDDED LENGTH PLUS TWO TIMES THE PILE DIAMETER      44.00 FT.");
    EXPECT_TRUE(r.plot.empty());
}

TEST(RunSequence, FiveHundredSegmentsProceedAndFiveHundredOneStop) {
    TempDir dir;
    CaseText c;
    c.g2 = "0 0 12 11 29000000 40 0";
    c.g4 = "0 0.1 1 0 1 0 0";
    c.g6 = "50 0";
    EXPECT_EQ(runCase(dir, c.str()).status, 0);

    c.g6 = "50.1 0";
    RunResult r = runCase(dir, c.str());
    EXPECT_EQ(r.status, 1);
    const std::size_t n = r.report.size();
    ASSERT_GE(n, 7u);
    EXPECT_EQ(r.report[n - 7], "          * COMPUTATION RESULT *");
    EXPECT_EQ(r.report[n - 3], " YOUR NUMBERS OF SEGMENT  501 IS LARGER THAN");
    EXPECT_EQ(r.report[n - 2], " DEFAULT VALUE 500. USE A LONGER INCREMENT OF PILE LENGTH ");
    EXPECT_EQ(r.report[n - 1], " OR A SHALLOWER DEEPEST SOIL PROFILE.");
    EXPECT_NE(r.console.find(" YOUR NUMBERS OF SEGMENT  501 IS LARGER THAN\n"), std::string::npos);
    EXPECT_TRUE(r.plot.empty());
}

// Each stop with status 1 gives its reason on the error stream as well as in the report.
TEST(RunSequence, StopsGiveTheirReasonOnTheErrorStream) {
    struct Stop {
        const char* name;
        const char* g2;
        const char* g4;
        const char* g6;
        std::string reportLine;  // the first line of the report's message
        std::vector<std::string> errors;
    };
    const std::vector<Stop> stops = {
        {"profile too shallow", "0 0 24 23 29000000 40 0", "0 1 1 0 1 0 0", "43.9 0",
         "          COMPUTATION DOES NOT PROCEED BECAUSE THE DEEPEST SOIL PROFILE   43.90 FT.",
         {"the deepest soil profile reaches 43.9 ft (record G6, field 1), less than the 44 ft"}},
        {"501 segments", "0 0 12 11 29000000 40 0", "0 0.1 1 0 1 0 0", "50.1 0",
         " YOUR NUMBERS OF SEGMENT  501 IS LARGER THAN",
         {"makes 501 segments, more than the 500", "an increment of at least 0.1002 ft (record G4, field 2)",
          "a shallower soil profile (record G6, field 1)"}},
        // Too many for the four-digit field: written in full.
        {"12345 segments", "0 0 12 11 29000000 40 0", "0 0.1 1 0 1 0 0", "1234.5 0",
         " YOUR NUMBERS OF SEGMENT 12345 IS LARGER THAN", {"makes 12345 segments"}},
    };
    for (const Stop& stop : stops) {
        SCOPED_TRACE(stop.name);
        CaseText c;
        c.g2 = stop.g2;
        c.g4 = stop.g4;
        c.g6 = stop.g6;
        TempDir dir;
        RunResult r = runCase(dir, c.str());
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(std::find(r.report.begin(), r.report.end(), stop.reportLine), r.report.end());
        EXPECT_EQ(r.errors.rfind("pileaxial: the computation does not proceed: ", 0), 0u) << r.errors;
        EXPECT_EQ(std::count(r.errors.begin(), r.errors.end(), '\n'), 1) << r.errors;
        for (const std::string& part : stop.errors) EXPECT_NE(r.errors.find(part), std::string::npos) << part;
    }
}

// Every fault ends the run with status 2 and a message naming file, record and field, on the error
// stream and at the end of the report.
struct FaultCase {
    const char* name;
    std::string input;
    std::string cpt;
    std::vector<std::string> mustMention;
};

std::vector<FaultCase> faultCases() {
    std::vector<FaultCase> cases;
    auto with = [](auto change) {
        CaseText c;
        change(c);
        return c.str();
    };
    cases.push_back({"word for a number", with([](CaseText& c) { c.g2 = "0 0 abc 23 29000000 40 0"; }), "",
                     {"case.in", "line 5", "record G2", "field 3 (outside diameter)", "\"abc\""}});
    cases.push_back({"real for an integer", with([](CaseText& c) { c.g1 = "1 5.5 4 0"; }), "",
                     {"record G1", "field 2 (print interval)"}});
    cases.push_back({"ends inside a record", "T\nD\nJ\n1 5 4 0\n0 0 24\n", "",
                     {"case.in, line 5, record G2, field 4 (inside diameter): the file ends"}});
    cases.push_back({"81 soil points", with([](CaseText& c) { c.g1 = "1 5 81 0"; }), "",
                     {"record G1", "field 3 (number of soil data points)", "81"}});
    cases.push_back({"print interval 0", with([](CaseText& c) { c.g1 = "1 0 4 0"; }), "",
                     {"record G1", "field 2 (print interval)"}});
    cases.push_back({"increment 0", with([](CaseText& c) { c.g4 = "0 0 1 0 1 0 0"; }), "",
                     {"record G4", "field 2 (increment of pile length)"}});
    cases.push_back({"negative increment", with([](CaseText& c) { c.g4 = "0 -1 1 0 1 0 0"; }), "",
                     {"record G4", "field 2 (increment of pile length)"}});
    cases.push_back({"unit system 3", with([](CaseText& c) { c.g1 = "3 5 4 0"; }), "",
                     {"record G1", "field 1 (unit system)"}});
    cases.push_back({"pile type 8", with([](CaseText& c) { c.g4 = "0 1 8 0 1 0 0"; }), "",
                     {"record G4", "field 3 (pile type)"}});
    cases.push_back({"load-transfer method 0", with([](CaseText& c) { c.g4 = "0 1 1 0 0 0 0"; }), "",
                     {"record G4", "field 5 (method for unit load transfers)"}});
    cases.push_back({"no outside diameter", with([](CaseText& c) { c.g2 = "0 0 0 0 29000000 40 0"; }), "",
                     {"record G2", "field 3 (outside diameter)"}});
    cases.push_back({"no modulus", with([](CaseText& c) { c.g2 = "0 0 24 23 0 40 0"; }), "",
                     {"record G2", "field 5 (modulus of elasticity)"}});
    cases.push_back({"bore as wide as the pile", with([](CaseText& c) { c.g2 = "0 36 24 24 29000000 40 0"; }), "",
                     {"record G2", "field 4 (inside diameter)"}});
    cases.push_back({"enhanced end bore wider than the pile", with([](CaseText& c) { c.g3 = "5 25 0"; }), "",
                     {"record G3", "field 2 (internal diameter of enhanced end section)"}});
    // 24 in = 2 ft narrowed by 2 x tan(1.5 deg) x 40 ft = 2.09 ft: nothing left at the tip.
    cases.push_back({"taper to nothing", with([](CaseText& c) { c.g4 = "0 1 5 1.5 1 0 0"; }), "",
                     {"record G4", "field 4 (taper angle)"}});
    cases.push_back({"user critical depth 0", with([](CaseText& c) { c.tail = "0\n0 1.0\n0 0 0\n0 0\n2 0\n0\n0\n0\n"; }),
                     "", {"record C1", "field 2 (user-specified critical depth)"}});
    cases.push_back({"100 area rows", with([](CaseText& c) { c.tail = "0\n0 1.0\n0 0 0\n100 2\n"; }), "",
                     {"record A1", "field 1 (number of area rows)", "100"}});
    cases.push_back({"101 verification depths", with([](CaseText& c) { c.tail = "1\n101\n"; }), "",
                     {"record V1", "101"}});
    cases.push_back({"1001 CPT points", CaseText().str(), "0 1001\n",
                     {"case.cpt", "record P0", "field 2 (number of points)", "1001"}});
    cases.push_back({"CPT file ends early", CaseText().str(), "0 3\n0 100\n1 200\n",
                     {"case.cpt", "record P1 point 3"}});
    // At 90 degrees from the vertical or beyond, the pile no longer goes down into the soil.
    cases.push_back({"batter angle 90", with([](CaseText& c) { c.g3 = "0 0 90"; }), "",
                     {"case.in", "line 6", "record G3", "field 3 (batter angle)", "90 degrees"}});
    cases.push_back({"batter angle -120", with([](CaseText& c) { c.g3 = "0 0 -120"; }), "",
                     {"record G3", "field 3 (batter angle)", "-120 degrees"}});
    cases.push_back({"stickup longer than the pile", with([](CaseText& c) { c.g2 = "0 0 24 23 29000000 40 41"; }),
                     "", {"line 5, record G2, field 7 (pile stickup length)"}});

    // Values no pile or soil can have and option codes outside their ranges.  Lines of the valid case:
    // G1 4, G2 5, G3 6, G4 7, G5 8; soil point v S1 at 8 + 2v, S2 at 9 + 2v; L1 19, L2 20, C1 22.
    auto point = [&](int v, bool second, const char* text) {
        return with([=](CaseText& c) {
            auto& p = c.points[static_cast<std::size_t>(v - 1)];
            (second ? p.second : p.first) = text;
        });
    };
    auto tail = [&](const char* l1, const char* l2, const char* c1) {
        return with([=](CaseText& c) { c.tail = std::string("0\n") + l1 + "\n" + l2 + "\n0 0\n" + c1 + "\n0\n0\n0\n"; });
    };
    const std::string withCpt = with([](CaseText& c) { c.g4 = "0 1 1 0 1 1 0"; });
    const std::vector<FaultCase> rows = {
        {"total length 0", with([](CaseText& c) { c.g2 = "0 0 24 23 29000000 0 0"; }), "",
         {"line 5, record G2, field 6 (total pile length): the total pile length is 0"}},
        // Thousands separators split the modulus into three values: 29, 000 and 000 for the lengths.
        {"thousands separators", with([](CaseText& c) { c.g2 = "0 0 24 23 29,000,000 40 0"; }), "",
         {"line 5, record G2, field 6 (total pile length)"}},
        {"stickup equal to the length", with([](CaseText& c) { c.g2 = "0 0 24 23 29000000 40 40"; }), "",
         {"line 5, record G2, field 7 (pile stickup length)"}},
        // G2 short of its stickup takes it from line 6; every later record is a line late, and the
        // increment read from the selection line is 0.
        {"G2 short of a value", with([](CaseText& c) { c.g2 = "0 0 24 23 29000000 40"; }), "",
         {"line 8, record G4, field 2 (increment of pile length)", "(record G2 took its values from lines 5-6)"}},
        {"tip closure 2", with([](CaseText& c) { c.g1 = "1 5 4 2"; }), "", {"line 4, record G1, field 4 (tip closure)"}},
        {"taper angle -1", with([](CaseText& c) { c.g4 = "0 1 1 -1 1 0 0"; }), "", {"line 7, record G4, field 4 (taper angle)"}},
        {"taper angle 90", with([](CaseText& c) { c.g4 = "0 1 1 90 1 0 0"; }), "", {"line 7, record G4, field 4 (taper angle)"}},
        {"CPT switch 2", with([](CaseText& c) { c.g4 = "0 1 1 0 1 2 0"; }), "0 0\n",
         {"line 7, record G4, field 6 (CPT-data switch): the CPT-data switch 2 is not 0 or 1"}},
        {"CPT switch without a CPT file", withCpt, "", {"line 7, record G4, field 6 (CPT-data switch)", "names no CPT data file"}},
        {"method switch 2", with([](CaseText& c) { c.g5 = "1 0 0 2 0 0 0 0 0"; }), "", {"line 8, record G5, field 4 (API RP 2A)"}},
        {"decreasing depth", point(3, false, "19 2 1 55 0 9"), "", {"line 14, record S1 of soil point 3, field 1 (depth)"}},
        {"soil type 1.5", point(1, false, "0 1.5 1 115 30 40"), "", {"line 10, record S1 of soil point 1, field 2 (soil type)"}},
        {"soil type 4", point(4, false, "60 4 1 55 0 9"), "", {"line 16, record S1 of soil point 4, field 2 (soil type)"}},
        {"negative K", point(1, false, "0 1 -1 115 30 40"), "", {"line 10, record S1 of soil point 1, field 3"}},
        {"negative unit weight", point(2, false, "20 1 1 -115 32 40"), "",
         {"line 12, record S1 of soil point 2, field 4 (effective unit weight)"}},
        {"friction angle 90", point(1, false, "0 1 1 115 90 40"), "", {"line 10, record S1 of soil point 1, field 5 (friction angle)"}},
        {"friction angle -1", point(1, false, "0 1 1 115 -1 40"), "", {"line 10, record S1 of soil point 1, field 5 (friction angle)"}},
        {"negative undrained strength", point(3, true, "0 0 -1000 500 0 20 0 0 0 1 1 0 0 0"), "",
         {"line 15, record S2 of soil point 3, field 3 (undisturbed shear strength)"}},
        {"negative remolded strength", point(4, true, "0 0 2000 -900 0 20 0 0 0 1 1 0 0 0"), "",
         {"line 17, record S2 of soil point 4, field 4"}},
        {"negative LRFD on friction", point(1, true, "0 0 0 10 0 0 0 0 0 -1 1 0 0 0"), "",
         {"line 11, record S2 of soil point 1, field 10 (LRFD factor on unit friction)"}},
        {"negative LRFD on bearing", point(1, true, "0 0 0 10 0 0 0 0 0 1 -1 0 0 0"), "",
         {"line 11, record S2 of soil point 1, field 11 (LRFD factor on unit bearing)"}},
        {"S2 cut short by the end of the file", CaseText().str().substr(0, CaseText().str().rfind("0 0 2000 900")) + "0 0 2000\n",
         "", {"line 17, record S2 of soil point 4, field 4", "the file ends"}},
        {"negative tension factor", tail("1 -0.5", "0 0 0", "0 0"), "", {"line 19, record L1, field 2"}},
        {"plug option 3", tail("0 1", "0 3 0", "0 0"), "", {"line 20, record L2, field 2 (plug option)"}},
        {"long pile option 2", tail("0 1", "0 0 2", "0 0"), "", {"line 20, record L2, field 3 (long pile option)"}},
        {"critical depth option 3", tail("0 1", "0 0 0", "3 0"), "", {"line 22, record C1, field 1 (critical depth option)"}},
        {"CPT depths decreasing", withCpt, "0 2\n5 100\n4 200\n", {"case.cpt, line 3, record P1 point 2, field 1 (depth)"}},
        {"negative cone value", withCpt, "0 2\n0 100\n1 -5\n", {"case.cpt, line 3, record P1 point 2, field 2 (cone value)"}},
        // A NUL no longer ends the message, and a run-together value is cut.
        {"NUL in a value", with([](CaseText& c) { c.g2 = std::string("0 0 24\0x 23 29000000 40 0", 26); }), "",
         {"line 5, record G2, field 3 (outside diameter): \"24\\x00x\" is not a number"}},
        {"run-together value", with([](CaseText& c) { c.g2 = "0 0 " + std::string(100, '9') + "x 23 29000000 40 0"; }), "",
         {"\"" + std::string(40, '9') + "\"... (101 characters) is not a number"}},
    };
    cases.insert(cases.end(), rows.begin(), rows.end());
    return cases;
}

TEST(RunFaults, EachFaultEndsWithStatusTwoAndANamedMessage) {
    for (const FaultCase& fc : faultCases()) {
        SCOPED_TRACE(fc.name);
        TempDir dir;
        RunResult r = runCase(dir, fc.input, fc.cpt);
        EXPECT_EQ(r.status, 2);
        for (const std::string& word : fc.mustMention) EXPECT_NE(r.errors.find(word), std::string::npos) << word
                                                                                   << "\n" << r.errors;
        // The report is open by then: it ends with the same message.
        ASSERT_GE(r.report.size(), 2u);
        EXPECT_EQ(r.report[r.report.size() - 2],
                  " COMPUTATION DOES NOT PROCEED BECAUSE OF AN INPUT ERROR:");
        EXPECT_NE(r.errors.find(r.report.back().substr(1)), std::string::npos);
    }
}

TEST(RunFaults, MissingFilesAndOverwritingAnInput) {
    TempDir dir;
    std::ostringstream console, errors;
    RunEnvironment env;
    env.console = &console;
    env.errors = &errors;

    RunFileSet files{dir.file("none.in"), dir.file("a.out"), dir.file("a.plt"), ""};
    EXPECT_EQ(std::make_unique<pileaxial::Run>(env)->execute(files), 2);
    EXPECT_NE(errors.str().find("none.in"), std::string::npos);

    files.inputName = dir.write("case.in", CaseText().str());
    files.cptName = dir.file("missing.cpt");
    EXPECT_EQ(std::make_unique<pileaxial::Run>(env)->execute(files), 2);
    EXPECT_NE(errors.str().find("missing.cpt"), std::string::npos);

    // A directory opens like a file on some systems and reads as empty: it is named as what it is.
    files.cptName = dir.path().string();
    errors.str("");
    EXPECT_EQ(std::make_unique<pileaxial::Run>(env)->execute(files), 2);
    EXPECT_NE(errors.str().find("the CPT data file \"" + files.cptName + "\" is a directory"), std::string::npos)
        << errors.str();
    files.cptName.clear();
    files.inputName = dir.path().string();
    errors.str("");
    EXPECT_EQ(std::make_unique<pileaxial::Run>(env)->execute(files), 2);
    EXPECT_NE(errors.str().find("the input data file \"" + files.inputName + "\" is a directory"), std::string::npos)
        << errors.str();
    files.inputName = dir.file("case.in");

    // A report named like the input would destroy the input: refused before anything is opened.
    files.cptName.clear();
    files.outputName = files.inputName;
    EXPECT_EQ(std::make_unique<pileaxial::Run>(env)->execute(files), 2);
    EXPECT_EQ(testing::readFile(files.inputName), CaseText().str());

    // Report and plot file are one file spelt two ways, relative to the working directory, before
    // either exists.
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    files.outputName = "new.out";
    files.plotName = "./new.out";
    errors.str("");
    EXPECT_EQ(std::make_unique<pileaxial::Run>(env)->execute(files), 2);
    std::filesystem::current_path(home);
    EXPECT_NE(errors.str().find("is also the report file"), std::string::npos) << errors.str();
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.out")));
}

TEST(RunFaults, FilesThatCannotBeWrittenInFullEndWithStatusTwo) {
    // /dev/full takes the open and refuses every write, as a full disk does.
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    TempDir dir;
    std::ostringstream console, errors;
    RunEnvironment env;
    env.console = &console;
    env.errors = &errors;
    RunFileSet files{dir.write("case.in", CaseText().str()), "/dev/full", dir.file("case.plt"), ""};
    EXPECT_EQ(std::make_unique<pileaxial::Run>(env)->execute(files), 2);
    EXPECT_NE(errors.str().find("the report file \"/dev/full\" could not be written in full"), std::string::npos)
        << errors.str();

    // Only the plot file fails: the report, still open, says so at its end.
    errors.str("");
    files.outputName = dir.file("case.out");
    files.plotName = "/dev/full";
    EXPECT_EQ(std::make_unique<pileaxial::Run>(env)->execute(files), 2);
    const auto report = testing::readLines(files.outputName);
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report.back(), " the plot-data file \"/dev/full\" could not be written in full");

    // A stop with status 1 checks its files as well.
    CaseText shallow;
    shallow.g6 = "10 0";
    files.inputName = dir.write("shallow.in", shallow.str());
    files.plotName = dir.file("case.plt");
    files.outputName = "/dev/full";
    EXPECT_EQ(std::make_unique<pileaxial::Run>(env)->execute(files), 2);
}

TEST(RunSequence, PileNodesUpToTheirCapacityProceed) {
    // A 61 degree batter reaches 999 ft along the axis in 500 ft of soil: 1000 nodes at 1 ft, the
    // most the node arrays hold.  One foot more needs node 1001 and is refused.
    CaseText c;
    c.g2 = "0 0 12 11 29000000 999 0";
    c.g3 = "0 0 61";
    c.g6 = "500 0";
    c.points = {{"0 1 1 115 32 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"},
                {"500 1 1 115 32 40", "0 0 0 20 0 0 0 0 0 1 1 0 0 0"}};
    c.g1 = "1 100 2 0";
    TempDir dir;
    RunResult r = runCase(dir, c.str());
    EXPECT_EQ(r.status, 0) << r.errors;
    const auto last = std::find_if(r.report.rbegin(), r.report.rend(),
                                   [](const std::string& line) { return line.rfind(std::string(12, ' ') + "999.00", 0) == 0; });
    EXPECT_NE(last, r.report.rend());

    c.g2 = "0 0 12 11 29000000 1000 0";
    r = runCase(dir, c.str());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.errors.find("record G4, field 2 (increment of pile length)"), std::string::npos) << r.errors;
}

TEST(RunFaults, RunsAreIndependentObjects) {
    // Two runs of one process share nothing: a stopped run does not leak into the next.
    TempDir dir;
    CaseText shallow;
    shallow.g6 = "10 0";
    EXPECT_EQ(runCase(dir, shallow.str()).status, 1);
    EXPECT_EQ(runCase(dir, CaseText().str()).status, 0);
}

// What a run leaves: its status and message, report, plot-data file, JSON results and console, with
// the scratch directory's path written as <dir>.
struct RunOutcome {
    int status = -1;
    std::string faultMessage, report, plot, json, console, errors;
    bool operator==(const RunOutcome&) const = default;
};

RunOutcome runMixedCase(const TempDir& dir, const testing::MixedCase& c) {
    const RunFileSet files = testing::MixedCaseFiles(dir, c);
    std::ostringstream console, errors;
    auto run = std::make_unique<Run>(
        testing::capturingEnvironment(console, errors, testing::fixedTime(2026, 3, 1, 0, 0, 0)));
    RunOutcome o;
    o.status = run->execute(files);
    o.faultMessage = run->faultMessage;
    o.report = testing::readFile(files.outputName);
    o.plot = testing::readFile(files.plotName);
    o.json = output::ResultsJson(*run).dump(1);
    o.console = console.str();
    o.errors = errors.str();
    const std::string path = dir.path().string();
    for (std::string* text : {&o.faultMessage, &o.report, &o.plot, &o.json, &o.console, &o.errors}) {
        for (std::size_t at = text->find(path); at != std::string::npos; at = text->find(path, at)) {
            text->replace(at, path.size(), "<dir>");
        }
    }
    return o;
}

TEST(RunsSideBySide, MixedCasesInFourThreadsMatchRunsOneAfterAnother) {
    // The twenty mixed cases one after another, then again in four threads, each thread taking the
    // next case: every run ends as before, byte for byte.
    const std::vector<testing::MixedCase> cases = testing::MixedCases(PILEAXIAL_SOURCE_DIR);
    ASSERT_EQ(cases.size(), 20u);
    TempDir oneByOneDir, sideBySideDir;
    std::vector<RunOutcome> oneByOne, sideBySide(cases.size());
    for (const testing::MixedCase& c : cases) oneByOne.push_back(runMixedCase(oneByOneDir, c));

    std::atomic<std::size_t> next{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (std::size_t i = next++; i < cases.size(); i = next++) sideBySide[i] = runMixedCase(sideBySideDir, cases[i]);
        });
    }
    for (std::thread& t : threads) t.join();

    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(oneByOne[i].status, cases[i].status) << oneByOne[i].errors;
        EXPECT_FALSE(oneByOne[i].report.empty());
        EXPECT_EQ(oneByOne[i].plot.empty(), cases[i].status != 0);
        EXPECT_EQ(sideBySide[i].status, oneByOne[i].status);
        EXPECT_EQ(sideBySide[i].faultMessage, oneByOne[i].faultMessage);
        EXPECT_EQ(sideBySide[i].report, oneByOne[i].report);
        EXPECT_EQ(sideBySide[i].plot, oneByOne[i].plot);
        EXPECT_EQ(sideBySide[i].json, oneByOne[i].json);
        EXPECT_EQ(sideBySide[i].console, oneByOne[i].console);
        EXPECT_EQ(sideBySide[i].errors, oneByOne[i].errors);
    }
}

TEST(RunInMemory, GivesTheFileRunsReportAndPlotAndNamesItsFaults) {
    // The SI example with its sounding: the same names, once on files and once in memory.
    const std::string base = std::string(PILEAXIAL_SOURCE_DIR) + "/examples/si-closed-cpt/si-closed-cpt";
    const std::string input = testing::readFile(base + ".in");
    const std::string cpt = testing::readFile(base + ".cpt");
    TempDir dir;
    const RunFileSet files = testing::caseFiles(dir, input, cpt);
    std::ostringstream console, errors;
    const RunEnvironment env = testing::capturingEnvironment(console, errors, testing::fixedTime(2026, 3, 1, 0, 0, 0));
    auto onFilesRun = std::make_unique<pileaxial::Run>(env);
    pileaxial::Run& onFiles = *onFilesRun;
    ASSERT_EQ(onFiles.execute(files), 0) << errors.str();
    auto inMemory = std::make_unique<pileaxial::Run>(env);
    ASSERT_EQ(inMemory->executeInMemory(files, input, cpt), 0) << errors.str();
    EXPECT_TRUE(inMemory->reportWritten() && inMemory->plotWritten());
    EXPECT_EQ(inMemory->reportText(), testing::readFile(files.outputName));
    EXPECT_EQ(inMemory->plotText(), testing::readFile(files.plotName));

    // A fault names the input and reaches the report in memory; nothing is written to disk.
    RunFileSet named{"memory.in", "memory.out", "memory.plt", ""};
    auto bad = std::make_unique<pileaxial::Run>(env);
    EXPECT_EQ(bad->executeInMemory(named, "TITLE\n"), 2);
    EXPECT_NE(bad->faultMessage.find("memory.in"), std::string::npos) << bad->faultMessage;
    EXPECT_NE(bad->reportText().find(bad->faultMessage), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists("memory.out"));
}


// A small SI case: a 610 mm open pipe, 12 m long, in sand over clay.
CaseText siCase() {
    CaseText c;
    c.g1 = "2 3 4 0";
    c.g2 = "0 0 610 580 200000000 12 0";
    c.g6 = "15 0";
    c.points = {{"0 1 1 18 30 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"},
                {"6 1 1 18 32 40", "0 0 0 20 0 0 0 0 0 1 1 0 0 0"},
                {"6 2 1 8 0 9", "0 0 50 25 0 20 0 0 0 1 1 0 0 0"},
                {"20 2 1 8 0 9", "0 0 90 45 0 20 0 0 0 1 1 0 0 0"}};
    return c;
}

// Input that is legal but most likely a slip is named on the error stream; the run goes on and the
// report says nothing of it.
TEST(RunWarnings, UnusualInputIsNamedOnTheErrorStreamOnly) {
    struct Case {
        const char* name;
        CaseText input;
        std::vector<std::string> warnings;  // one per line, in order; none for an ordinary case
    };
    auto english = [](auto change) {
        CaseText c;
        change(c);
        return c;
    };
    auto si = [](auto change) {
        CaseText c = siCase();
        change(c);
        return c;
    };
    const std::vector<Case> cases = {
        {"ordinary English case", CaseText(), {}},
        {"ordinary SI case", siCase(), {}},
        {"length between increments", english([](CaseText& c) { c.g2 = "0 0 24 23 29000000 40.5 0"; }),
         {"the embedded pile length of 40.5 ft is not a whole number of increments of 1 ft (record G4, field 2); "
          "the tables end at a pile length of 40 ft"}},
        {"stickup leaves a part increment", si([](CaseText& c) { c.g2 = "0 0 610 580 200000000 12 0.25"; }),
         {"the tables end at a pile length of 11 m"}},
        {"friction angle", english([](CaseText& c) {
             c.points[0].first = "0 1 1 115 50 40";
             c.points[1].first = "20 1 1 115 46 40";
         }),
         {"the friction angle at soil points 1, 2 is above 45 degrees (up to 50; record S1, field 5)"}},
        {"modulus in millions of psi", english([](CaseText& c) { c.g2 = "0 0 24 23 29 40 0"; }),
         {"the modulus of elasticity of the pile, 29 psi, is below 1000 psi"}},
        {"modulus in MPa", si([](CaseText& c) { c.g2 = "0 0 610 580 200 12 0"; }),
         {"the modulus of elasticity of the pile, 200 kPa, is below 7000 kPa (record G2, field 5)"}},
        {"unit weight", english([](CaseText& c) { c.points[3].first = "60 2 1 1150 0 9"; }),
         {"the effective unit weight at soil point 4 is above 150 pcf (up to 1150; record S1, field 4)"}},
        {"SI unit weight", si([](CaseText& c) { c.points[0].first = "0 1 1 25 30 40"; }),
         {"is above 24 kN/m3 (up to 25"}},
        {"LRFD factors of 0", english([](CaseText& c) {
             c.points[2].second = "0 0 1000 500 0 20 0 0 0 0 1 0 0 0";
             c.points[3].second = "0 0 2000 900 0 20 0 0 0 0 0 0 0 0";
         }),
         {"the LRFD factor on unit friction is 0 at soil points 3, 4 (record S2, field 10)",
          "the LRFD factor on unit bearing is 0 at soil point 4 (record S2, field 11)"}},
        {"cone methods without CPT data", english([](CaseText& c) { c.g5 = "1 0 0 0 0 1 0 0 1"; }),
         {"NGI and UWA are selected (record G5) but the CPT-data switch (record G4, field 6) is not 1"}},
        {"user method without values", english([](CaseText& c) {
             c.g5 = "0 0 0 0 1 0 0 0 0";
             c.g4 = "0 1 1 0 5 0 0";
         }),
         {"the user-specified method is selected (record G5, field 5) but no soil point gives",
          "the user-specified method is the method for unit load transfers (record G4, field 5)"}},
        {"load transfers by a cone method", english([](CaseText& c) { c.g4 = "0 1 1 0 8 0 0"; }),
         {"Fugro 2004 is the method for unit load transfers (record G4, field 5) but the CPT-data switch"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        RunResult r = runCase(dir, c.input.str());
        EXPECT_EQ(r.status, 0) << r.errors;
        const std::vector<std::string> lines = testing::splitLines(r.errors);
        ASSERT_EQ(lines.size(), c.warnings.size()) << r.errors;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].rfind("pileaxial: warning: ", 0), 0u) << lines[i];
            EXPECT_NE(lines[i].find(c.warnings[i]), std::string::npos) << lines[i];
        }
        for (const std::string& line : r.report) EXPECT_EQ(line.find("warning"), std::string::npos) << line;
        EXPECT_EQ(r.console.find("warning"), std::string::npos);
    }
}


// A result that is not a finite number (an earth pressure coefficient of 1e308 overflows the methods
// that use it) ends the run with status 2 naming the method, the quantity and the pile length, before
// the table would show it as asterisks.  A method whose results are written nowhere does not stop the
// run.
TEST(RunFaults, ResultsThatAreNotFiniteEndTheRunWithStatusTwo) {
    struct Case {
        const char* name;
        const char* g4;
        const char* g5;
        int status;
        std::string message;  // its start, after "pileaxial: "
        const char* banner;   // the table that must not be printed
    };
    const std::vector<Case> cases = {
        {"Lambda printed", "0 1 1 0 1 0 0", "0 0 1 0 0 0 0 0 0", 2,
         "the Revised Lambda method gives a unit side friction that is not a finite number at a pile length of ",
         "*  LAMBDA 2 METHOD   *"},
        {"API printed", "0 1 1 0 4 0 0", "0 0 0 1 0 0 0 0 0", 2,
         "the API RP-2A (2010) method gives a unit side friction that is not a finite number at a pile length of ",
         "*  API RP-2A (2010)  *"},
        {"Lambda for load transfers only", "0 1 1 0 3 0 0", "1 0 0 0 0 0 0 0 0", 2,
         "the Revised Lambda method gives", "* COMPUTE LOAD-DISTRIBUTION AND LOAD-SETTLEMENT *"},
        {"neither printed nor handed over", "0 1 1 0 1 0 0", "1 0 0 0 0 0 0 0 0", 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CaseText input;
        input.points[0].first = "0 1 1e308 115 30 40";
        input.g4 = c.g4;
        input.g5 = c.g5;
        TempDir dir;
        RunResult r = runCase(dir, input.str());
        EXPECT_EQ(r.status, c.status) << r.errors;
        if (c.status == 0) continue;
        EXPECT_EQ(r.errors.rfind("pileaxial: " + c.message, 0), 0u) << r.errors;
        ASSERT_FALSE(r.report.empty());
        EXPECT_EQ(r.report.back().rfind(" " + c.message, 0), 0u) << r.report.back();
        for (const std::string& line : r.report) EXPECT_EQ(line.find(c.banner), std::string::npos) << line;
    }

    // The load-settlement results are checked the same way.
    auto run = testing::PreparedRun(CaseText());
    run->loadSettlement().pointCount = 1;
    run->loadSettlement().points[1].topLoad = std::nan("");
    try {
        CheckLoadSettlementFinite(*run);
        ADD_FAILURE() << "no error";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("the load-settlement analysis gives a load or settlement that is not "
                                             "a finite number at the assumed tip movement 1"),
                  std::string::npos)
            << e.what();
    }
}


std::vector<std::string> namesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The report and the plot-data file are written under temporary names and put in place when the run
// ends, whatever its status; a run that stops part way leaves the earlier files as they were and no
// temporary file behind.
TEST(OutputFiles, WrittenUnderTemporaryNamesAndPutInPlaceAtTheEnd) {
    struct WholeRun {
        const char* name;
        std::string input;
        std::string cpt;
        int status;
        std::string lastReportLine;
    };
    CaseText shallow;
    shallow.g6 = "10 0";
    CaseText bad;
    bad.tail = "0\n0 1.0\n0 0 0\n100 2\n";  // refused while the input is read, the report begun
    const std::vector<WholeRun> runs = {
        {"completed", CaseText().str(), "", 0, ""},
        {"stopped", shallow.str(), "", 1,
         "          IS LESS THAN PILE EMBEDDED LENGTH PLUS TWO TIMES THE PILE DIAMETER      44.00 FT."},
        {"bad input", bad.str(), "", 2, ""},
        {"CPT file ends early", CaseText().str(), "0 3\n0 100\n", 2, ""},
    };
    for (const WholeRun& w : runs) {
        SCOPED_TRACE(w.name);
        TempDir dir;
        dir.write("case.out", "an earlier report\n");
        RunResult r = runCase(dir, w.input, w.cpt);
        EXPECT_EQ(r.status, w.status) << r.errors;
        std::vector<std::string> expected = {"case.in", "case.out", "case.plt"};
        if (!w.cpt.empty()) expected.insert(expected.begin(), "case.cpt");
        EXPECT_EQ(namesIn(dir), expected);
        ASSERT_FALSE(r.report.empty());
        EXPECT_EQ(r.report[0], "     " + std::string(73, '='));
        if (!w.lastReportLine.empty()) {
            EXPECT_EQ(r.report.back(), w.lastReportLine);
        }
        if (w.status == 2) {
            EXPECT_NE(r.errors.find(r.report.back().substr(1)), std::string::npos);
        }
    }

    // The file itself.  While it is written the earlier file stands untouched; what ends it decides
    // whether the new one takes its place.
    enum class End { Commit, Discard, Destroy };
    struct Ending {
        const char* name;
        End end;
        std::string content;  // under the name afterwards
    };
    for (const Ending& e : {Ending{"commit", End::Commit, "new\n"}, Ending{"discard", End::Discard, "old\n"},
                            Ending{"destroyed while open", End::Destroy, "old\n"}}) {
        SCOPED_TRACE(e.name);
        TempDir dir;
        const std::string name = dir.write("r.out", "old\n");
        {
            OutputFile file;
            ASSERT_TRUE(file.open(name));
            file.stream() << "new\n";
            file.stream().flush();
            EXPECT_EQ(testing::readFile(name), "old\n");
            EXPECT_EQ(namesIn(dir).size(), 2u);
            if (e.end == End::Commit) {
                EXPECT_TRUE(file.commit());
            }
            if (e.end == End::Discard) file.discard();
        }
        EXPECT_EQ(testing::readFile(name), e.content);
        EXPECT_EQ(namesIn(dir), std::vector<std::string>{"r.out"});
    }

    // A device is written directly and stays a device; a directory or a missing one cannot be created.
    OutputFile device;
    ASSERT_TRUE(device.open("/dev/null"));
    device.stream() << "nothing\n";
    EXPECT_TRUE(device.commit());
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    TempDir dir;
    EXPECT_FALSE(OutputFile().open(dir.path().string()));
    EXPECT_FALSE(OutputFile().open(dir.file("no/such/dir/r.out")));
    EXPECT_TRUE(namesIn(dir).empty());
}

}  // namespace
}  // namespace pileaxial
