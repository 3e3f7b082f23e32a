// The command-line program: argument handling, and the program itself on the bundled examples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "host/command_line.hpp"
#include "tests/test_support.hpp"

namespace pileaxial::host {
namespace {

TEST(CommandLine, Forms) {
    EXPECT_EQ(ParseCommandLine({}).action, CommandLine::Action::ControlFile);
    EXPECT_EQ(ParseCommandLine({"--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(ParseCommandLine({"case.in", "--version"}).action, CommandLine::Action::Version);

    CommandLine cl = ParseCommandLine({"runs/case.in"});
    ASSERT_EQ(cl.action, CommandLine::Action::Direct);
    EXPECT_EQ(cl.files.inputName, "runs/case.in");
    EXPECT_EQ(cl.files.outputName, "runs/case.out");
    EXPECT_EQ(cl.files.plotName, "runs/case.plt");
    EXPECT_EQ(cl.files.cptName, "");

    cl = ParseCommandLine({"--cpt", "s.cpt", "case", "--report", "r.txt", "--plot", "p.txt"});
    ASSERT_EQ(cl.action, CommandLine::Action::Direct);
    EXPECT_EQ(cl.files.inputName, "case");
    EXPECT_EQ(cl.files.cptName, "s.cpt");
    EXPECT_EQ(cl.files.outputName, "r.txt");
    EXPECT_EQ(cl.files.plotName, "p.txt");
    EXPECT_EQ(cl.jsonName, "");
    EXPECT_EQ(ParseCommandLine({"case.in", "--json", "case.json"}).jsonName, "case.json");
    EXPECT_EQ(ParseCommandLine({"case.in", "--json"}).action, CommandLine::Action::Error);

    EXPECT_EQ(ParseCommandLine({"a.in", "b.in"}).action, CommandLine::Action::Error);
    EXPECT_EQ(ParseCommandLine({"a.in", "--cpt"}).action, CommandLine::Action::Error);
    EXPECT_EQ(ParseCommandLine({"--frobnicate"}).action, CommandLine::Action::Error);
    EXPECT_EQ(ParseCommandLine({"--report", "r.txt"}).action, CommandLine::Action::Error);
}

TEST(CommandLine, HtmlPage) {
    CommandLine cl = ParseCommandLine({"case.in", "--html", "page.html"});
    ASSERT_EQ(cl.action, CommandLine::Action::Direct);
    EXPECT_EQ(cl.htmlName, "page.html");
    EXPECT_EQ(cl.files.outputName, "case.out");
    EXPECT_EQ(ParseCommandLine({"case.in"}).htmlName, "");
    EXPECT_EQ(ParseCommandLine({"case.in", "--html"}).action, CommandLine::Action::Error);
    EXPECT_EQ(ParseCommandLine({"case.in", "--html", ""}).action, CommandLine::Action::Error);
    EXPECT_NE(UsageText().find("--html FILE"), std::string::npos);
}

int shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(HostProgram, WritesTheHtmlPageBothWays) {
    testing::TempDir dir;
    const std::string examples = std::string(PILEAXIAL_SOURCE_DIR) + "/examples";
    const std::string host = PILEAXIAL_HOST_PATH;
    std::filesystem::copy(examples, dir.path(), std::filesystem::copy_options::recursive);

    EXPECT_EQ(shell("cd '" + dir.file("english-pipe") + "' && PILEAXIAL_HTML=page.html PILEAXIAL_JSON=r.json '" +
                    host + "' > /dev/null"),
              0);
    EXPECT_NE(testing::readFile(dir.file("english-pipe/r.json")).find("\"schema_version\""), std::string::npos);
    const std::string fromNames = testing::readFile(dir.file("english-pipe/page.html"));
    EXPECT_EQ(fromNames.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(fromNames.find("</html>"), std::string::npos);

    EXPECT_EQ(shell("'" + host + "' '" + dir.file("si-closed-cpt/si-closed-cpt.in") + "' --cpt '" +
                    dir.file("si-closed-cpt/si-closed-cpt.cpt") + "' --html '" + dir.file("si.html") +
                    "' > /dev/null"),
              0);
    const std::string direct = testing::readFile(dir.file("si.html"));
    EXPECT_NE(direct.find("<svg"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("si.html.tmp")));

    // A missing input leaves no page, as it leaves no report.
    EXPECT_EQ(shell("'" + host + "' '" + dir.file("nothing.in") + "' --html '" + dir.file("none.html") +
                    "' > /dev/null 2>&1"),
              2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.html")));
}

TEST(HostProgram, RunsTheBundledExamplesBothWays) {
    testing::TempDir dir;
    const std::string examples = std::string(PILEAXIAL_SOURCE_DIR) + "/examples";
    const std::string host = PILEAXIAL_HOST_PATH;
    std::filesystem::copy(examples, dir.path(), std::filesystem::copy_options::recursive);

    // With names.dat, exactly as a host calling the library does.
    EXPECT_EQ(shell("cd '" + dir.file("english-pipe") + "' && '" + host + "' > /dev/null"), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("english-pipe/english-pipe.out")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("english-pipe/english-pipe.plt")));

    // Directly, with the CPT file, outputs next to the input.
    EXPECT_EQ(shell("'" + host + "' '" + dir.file("si-closed-cpt/si-closed-cpt.in") + "' --cpt '" +
                    dir.file("si-closed-cpt/si-closed-cpt.cpt") + "' > /dev/null"),
              0);
    const std::string report = testing::readFile(dir.file("si-closed-cpt/si-closed-cpt.out"));
    EXPECT_NE(report.find("KN/M^3 "), std::string::npos);
    EXPECT_NE(report.find("* COMPUTATION RESULT *"), std::string::npos);

    EXPECT_EQ(shell("'" + host + "' --version > /dev/null"), 0);
    EXPECT_EQ(shell("'" + host + "' --help > /dev/null"), 0);
    EXPECT_EQ(shell("'" + host + "' --bogus > /dev/null 2>&1"), kExitUsage);
    EXPECT_EQ(shell("'" + host + "' '" + dir.file("nothing.in") + "' > /dev/null 2>&1"), 2);
    EXPECT_EQ(shell("cd '" + dir.path().string() + "' && '" + host + "' > /dev/null 2>&1 < /dev/null"), 2);
}


// What a shell command printed and how it ended.
struct Outcome {
    int exit = -1;
    std::string out;
    std::string err;
};

Outcome runHost(const testing::TempDir& dir, const std::string& arguments, const std::string& environment = "") {
    testing::TempDir capture;
    Outcome o;
    o.exit = shell("cd '" + dir.path().string() + "' && " + environment + " '" + PILEAXIAL_HOST_PATH + "' " +
                   arguments + " > '" + capture.file("out") + "' 2> '" + capture.file("err") + "' < /dev/null");
    o.out = testing::readFile(capture.file("out"));
    o.err = testing::readFile(capture.file("err"));
    return o;
}

std::vector<std::string> namesIn(const testing::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Exit statuses, the closing line naming the files written, --quiet, and a missing input that
// leaves no files.
TEST(HostProgram, ExitStatusClosingLineAndQuiet) {
    struct Case {
        const char* arguments;
        int exit;
        std::string out;          // the last line of standard output; empty: nothing at all
        std::string err;          // in the only line of standard error; empty: nothing at all
        std::vector<std::string> created;
    };
    const std::vector<Case> cases = {
        {"--bogus", kExitUsage, "", "pileaxial: unknown option --bogus (pileaxial --help shows the usage)", {}},
        {"case.in other.in", kExitUsage, "", "more than one input file given", {}},
        {"--quiet", kExitUsage, "", "no input file given", {}},
        {"case.in --report", kExitUsage, "", "--report needs a file name", {}},
        {"missing.in", 2, "", "the input data file \"missing.in\" cannot be opened", {}},
        {"case.in --cpt none.cpt", 2, "", "the CPT data file \"none.cpt\" cannot be opened", {}},
        {"case.in --json ./case.in", 2, "", "the JSON results file \"./case.in\" is also the input data file", {}},
        {"case.in --html case.out", 2, "", "the HTML page file \"case.out\" is also the report file", {}},
        {"case.in --json r.json --html r.json", 2, "", "the HTML page file \"r.json\" is also the JSON results", {}},
        {"case.in", 0, "pileaxial: report written to case.out, plot data to case.plt", "", {"case.out", "case.plt"}},
        {"case.in --quiet", 0, "", "", {"case.out", "case.plt"}},
        {"shallow.in --report s.txt", 1, "pileaxial: report written to s.txt, plot data to shallow.plt",
         "the deepest soil profile reaches 10 ft", {"s.txt", "shallow.plt"}},
        {"-q shallow.in", 1, "", "the computation does not proceed", {"shallow.out", "shallow.plt"}},
        {"bad.in", 2, "pileaxial: report written to bad.out, plot data to bad.plt", "record G2, field 3",
         {"bad.out", "bad.plt"}},
    };
    testing::CaseText shallow, bad;
    shallow.g6 = "10 0";
    bad.g2 = "0 0 abc 23 29000000 40 0";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        testing::TempDir dir;
        dir.write("case.in", testing::CaseText().str());
        dir.write("shallow.in", shallow.str());
        dir.write("bad.in", bad.str());
        const std::vector<std::string> before = namesIn(dir);
        const Outcome o = runHost(dir, c.arguments);
        EXPECT_EQ(o.exit, c.exit) << o.err;
        const std::vector<std::string> out = testing::splitLines(o.out);
        if (c.out.empty()) {
            EXPECT_EQ(o.out, "");
        } else {
            ASSERT_FALSE(out.empty());
            EXPECT_EQ(out.back(), c.out);
        }
        if (c.err.empty()) {
            EXPECT_EQ(o.err, "");
        } else {
            EXPECT_EQ(testing::splitLines(o.err).size(), 1u) << o.err;
            EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;
        }
        std::vector<std::string> after = before;
        after.insert(after.end(), c.created.begin(), c.created.end());
        std::sort(after.begin(), after.end());
        EXPECT_EQ(namesIn(dir), after);
    }
}

// SOURCE_DATE_EPOCH fixes the report's date line (in UTC), so that two runs of one case compare
// equal; a value that is not a number of seconds is ignored with a warning.
TEST(HostProgram, SourceDateEpochFixesTheDateLine) {
    struct Case {
        const char* value;
        std::string dateLine;  // empty: the clock's, with a warning
    };
    const std::vector<Case> cases = {
        {"0", "Date:  January 01, 1970     Time:  00:00:00"},
        {"951825599", "Date:  February 29, 2000     Time:  11:59:59"},
        {"1772326923", "Date:  March 01, 2026     Time:  01:02:03"},
        {"253402300799", "Date:  December 31, 9999     Time:  23:59:59"},
        {"253402300800", ""},
        {"-1", ""},
        {"12h", ""},
    };
    testing::TempDir dir;
    dir.write("case.in", testing::CaseText().str());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const Outcome o = runHost(dir, "case.in --quiet", std::string("SOURCE_DATE_EPOCH='") + c.value + "'");
        EXPECT_EQ(o.exit, 0) << o.err;
        const std::vector<std::string> report = testing::readLines(dir.file("case.out"));
        ASSERT_GE(report.size(), 18u);
        if (!c.dateLine.empty()) {
            EXPECT_EQ(report[17], std::string(15, ' ') + c.dateLine);
            EXPECT_EQ(o.err, "");
            // A second run gives the same report, line for line.
            const std::string first = testing::readFile(dir.file("case.out"));
            EXPECT_EQ(runHost(dir, "case.in --quiet", std::string("SOURCE_DATE_EPOCH=") + c.value).exit, 0);
            EXPECT_EQ(testing::readFile(dir.file("case.out")), first);
        } else {
            EXPECT_EQ(o.err, std::string("pileaxial: warning: SOURCE_DATE_EPOCH=\"") + c.value +
                                 "\" is not a number of seconds since 1970 before the year 10000; the report "
                                 "shows the local time\n");
        }
    }
}

}  // namespace
}  // namespace pileaxial::host
