// The bundled examples, run end to end, against their reviewed reports and plot-data files.  Any change
// to a number, a column or a line of the output shows up here.  After an intended change, rerun with
// PILEAXIAL_UPDATE_GOLDEN=1 and review the difference of the files under tests/golden before committing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

const std::string kSource = PILEAXIAL_SOURCE_DIR;

// The path line depends on where the run happens; everything else is fixed (the clock included).
std::string normalised(std::vector<std::string> lines) {
    std::string text;
    for (std::string& line : lines) {
        if (line.rfind("     Path to file locations      : ", 0) == 0) line = "     Path to file locations      : <dir>";
        text += line + "\n";
    }
    return text;
}

void checkExample(const std::string& name, bool withCpt) {
    testing::TempDir dir;
    const std::string base = kSource + "/examples/" + name + "/" + name;
    RunFileSet files;
    files.inputName = dir.write(name + ".in", testing::readFile(base + ".in"));
    if (withCpt) files.cptName = dir.write(name + ".cpt", testing::readFile(base + ".cpt"));
    files.outputName = dir.file(name + ".out");
    files.plotName = dir.file(name + ".plt");
    std::ostringstream console, errors;
    RunEnvironment env;
    env.console = &console;
    env.errors = &errors;
    env.fixedTime = testing::fixedTime(2026, 12, 9, 10, 30, 0);
    Run run(env);
    ASSERT_EQ(run.execute(files), 0) << errors.str();

    const std::string report = normalised(testing::readLines(files.outputName));
    const std::string plot = testing::readFile(files.plotName);
    const std::string golden = kSource + "/tests/golden/" + name;
    const char* update = std::getenv("PILEAXIAL_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(golden + ".out", std::ios::binary) << report;
        std::ofstream(golden + ".plt", std::ios::binary) << plot;
    }
    EXPECT_EQ(report, testing::readFile(golden + ".out"));
    EXPECT_EQ(plot, testing::readFile(golden + ".plt"));
}

TEST(GoldenReports, EnglishOpenPipeInSandAndClay) { checkExample("english-pipe", false); }

TEST(GoldenReports, SiClosedPipeWithSounding) { checkExample("si-closed-cpt", true); }

}  // namespace
}  // namespace pileaxial
