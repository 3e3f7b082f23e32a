// The bundled examples, run end to end, against their reviewed reports and plot-data files.  Any change
// to a number, a column or a line of the output shows up here.  After an intended change, rerun with
// PILEAXIAL_UPDATE_GOLDEN=1 and review the difference of the files under tests/golden before committing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <fstream>

#include "tests/golden_cases.hpp"
#include "tests/output/json_checks.hpp"
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

void checkCase(const std::string& name, const std::string& input, const std::string& cpt) {
    testing::TempDir dir;
    RunFileSet files;
    files.inputName = dir.write(name + ".in", input);
    if (!cpt.empty()) files.cptName = dir.write(name + ".cpt", cpt);
    files.outputName = dir.file(name + ".out");
    files.plotName = dir.file(name + ".plt");
    std::ostringstream console, errors;
    RunEnvironment env;
    env.console = &console;
    env.errors = &errors;
    env.fixedTime = testing::fixedTime(2026, 12, 9, 10, 30, 0);
    auto heapRun = std::make_unique<Run>(env);
    Run& run = *heapRun;
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

    // The JSON results of every golden case follow the schema and hold the report's numbers.
    json_checks::JsonRun r;
    r.status = run.status;
    r.report = testing::readLines(files.outputName);
    r.plot = testing::readLines(files.plotName);
    r.doc = nlohmann::json::parse(output::ResultsJson(run).dump());
    json_checks::expectFollowsSchema(r.doc);
    json_checks::expectTablesInReport(r);
    json_checks::expectLoadSettlementInReport(r);
}

// Every golden case: the examples, the table layouts, the load-settlement variants, every method with a
// sounding and the user method (tests/golden_cases.hpp).
TEST(GoldenReports, EveryCaseMatchesItsReviewedFiles) {
    std::set<std::string> names;
    for (const testing::NamedCase& c : testing::GoldenCases(kSource)) {
        SCOPED_TRACE(c.name);
        checkCase(c.name, c.input, c.cpt);
        names.insert(c.name);
    }
    // Every reviewed report has its case: none is left unchecked.
    for (const auto& entry : std::filesystem::directory_iterator(kSource + "/tests/golden")) {
        if (entry.path().extension() == ".out") {
            EXPECT_EQ(names.count(entry.path().stem().string()), 1u) << entry.path();
        }
    }
    EXPECT_EQ(names.size(), 18u);
}

// The templates a user copies to start a case run as they are.
TEST(Templates, RunWithStatusZero) {
    for (const char* name : {"template-english", "template-si"}) {
        SCOPED_TRACE(name);
        testing::TempDir dir;
        const auto r = testing::runCase(dir, testing::readFile(kSource + "/examples/" + name + ".in"));
        EXPECT_EQ(r.status, 0) << r.errors;
        EXPECT_NE(r.report.size(), 0u);
    }
}

}  // namespace
}  // namespace pileaxial
