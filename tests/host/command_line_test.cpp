// The command-line program: argument handling, and the program itself on the bundled examples.
#include <gtest/gtest.h>

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

    EXPECT_EQ(ParseCommandLine({"a.in", "b.in"}).action, CommandLine::Action::Error);
    EXPECT_EQ(ParseCommandLine({"a.in", "--cpt"}).action, CommandLine::Action::Error);
    EXPECT_EQ(ParseCommandLine({"--frobnicate"}).action, CommandLine::Action::Error);
    EXPECT_EQ(ParseCommandLine({"--report", "r.txt"}).action, CommandLine::Action::Error);
}

int shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
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
    EXPECT_EQ(shell("'" + host + "' --bogus > /dev/null 2>&1"), 2);
    EXPECT_EQ(shell("'" + host + "' '" + dir.file("nothing.in") + "' > /dev/null 2>&1"), 2);
    EXPECT_EQ(shell("cd '" + dir.path().string() + "' && '" + host + "' > /dev/null 2>&1 < /dev/null"), 2);
}

}  // namespace
}  // namespace pileaxial::host
