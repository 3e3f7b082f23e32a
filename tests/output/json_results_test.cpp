// The JSON results against the report of the same run: every number of a capacity table, of the t-z
// and tip curves and of the load versus settlement table, formatted as the report formats it, gives the
// report's line; the load distribution gives the plot-data file's lines.  The document also follows the
// "type" and "required" keywords of docs/json-schema.json.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include <nlohmann/json.hpp>

#include "output/json_results.hpp"
#include "tests/output/json_checks.hpp"
#include "tests/test_support.hpp"
#include "textio/fortran_format.hpp"

namespace pileaxial {
namespace {

using nlohmann::json;
using namespace json_checks;

std::string example(const std::string& name, const char* extension) {
    return testing::readFile(kSource + "/examples/" + name + "/" + name + extension);
}

struct Case {
    const char* name;
    std::string input;
    std::string cpt;
    int status;
    std::size_t tables;       // capacity tables printed (none when the run did not complete)
};

std::vector<Case> cases() {
    using testing::CaseText;
    CaseText tension;          // the golden battered tension layout
    tension.g5 = "1 1 1 0 0 0 0 0 0";
    tension.g3 = "0 0 15";
    tension.tail = "0\n1 0.8\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
    CaseText plug;             // an open pipe with its plug computed: the plug columns
    plug.g5 = "1 1 1 1 0 0 0 0 0";
    CaseText user;             // the golden user-specified method in tension on an open pipe
    user.g4 = "0 1 1 0 5 0 0";
    user.g5 = "1 0 0 0 1 0 0 0 0";
    user.points[0].second = "0 0 0 10 0 0 0 400 20000 1 1 0 0 0";
    user.points[1].second = "0 0 0 20 0 0 0 600 30000 1 1 0 0 0";
    user.points[2].second = "0 0 1000 500 0 20 0 800 9000 0.9 0.8 0 0 0";
    user.points[3].second = "0 0 2000 900 0 20 0 1500 18000 0.9 0.8 0 0 0";
    user.tail = "0\n1 0.7\n0 0 0\n0 0\n0 0\n0\n0\n0\n";
    CaseText shallow;          // the profile does not reach two diameters below the tip
    shallow.g6 = "40.5 0";
    CaseText bad;              // a soil type that does not exist
    bad.points[1].first = "20 4 1 115 32 40";
    return {
        {"english example", example("english-pipe", ".in"), "", kStatusCompleted, 4},
        {"SI example with sounding", example("si-closed-cpt", ".in"), example("si-closed-cpt", ".cpt"), kStatusCompleted, 6},
        {"battered tension", tension.str(), "", kStatusCompleted, 3},
        {"plug columns", plug.str(), "", kStatusCompleted, 4},
        {"user values in tension", user.str(), "", kStatusCompleted, 2},
        {"profile too shallow", shallow.str(), "", kStatusStopped, 0},
        {"bad soil type", bad.str(), "", kStatusFault, 0},
    };
}

TEST(JsonResults, NumbersAreTheReportsAndTheDocumentFollowsTheSchema) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const JsonRun r = runWithJson(c.input, c.cpt);
        ASSERT_EQ(r.status, c.status) << r.errors;
        const json& doc = r.doc;
        EXPECT_EQ(doc.at("schema_version"), 1);
        EXPECT_EQ(doc.at("status"), c.status);
        expectFollowsSchema(doc);
        if (c.status != kStatusCompleted) {
            // The message is the one on the error stream, without the program name.
            EXPECT_FALSE(doc.at("message").get<std::string>().empty());
            EXPECT_NE(r.errors.find("pileaxial: " + doc.at("message").get<std::string>()), std::string::npos) << r.errors;
            EXPECT_FALSE(doc.contains("capacityTables"));
            EXPECT_EQ(doc.contains("input"), c.status == kStatusStopped);
            continue;
        }
        EXPECT_EQ(doc.at("message"), "");
        EXPECT_EQ(doc.at("capacityTables").size(), c.tables);
        expectTablesInReport(r);
        expectLoadSettlementInReport(r);
    }
}

TEST(JsonResults, SoundingAndCodedInputsByName) {
    const JsonRun r = runWithJson(example("si-closed-cpt", ".in"), example("si-closed-cpt", ".cpt"));
    ASSERT_EQ(r.status, 0) << r.errors;
    const json& in = r.doc.at("input");
    EXPECT_EQ(in.at("unitSystem"), "SI");
    EXPECT_EQ(in.at("pile").at("tipClosure"), "closed");
    EXPECT_EQ(in.at("pile").at("units").at("outsideDiameter"), "mm");
    EXPECT_EQ(in.at("cpt").at("depth").at("values").size(), in.at("cpt").at("pointCount").get<std::size_t>());
    EXPECT_GT(in.at("cpt").at("pointCount").get<int>(), 0);
    EXPECT_EQ(in.at("soil").at("points").size(), in.at("soil").at("points").size());
    EXPECT_EQ(r.doc.at("loadSettlement").at("units").at("t"), "kPa");
    // Every table of the report is in the document, in the report's order.
    std::size_t banners = 0;
    for (const std::string& line : r.report) {
        const bool banner = line.find('*') != std::string::npos &&
                            (line.find(" METHOD ") != std::string::npos || line.find("API RP-2A") != std::string::npos);
        banners += banner ? 1 : 0;
    }
    EXPECT_EQ(r.doc.at("capacityTables").size(), banners);
}

// The host writes the document with --json, for a completed run and for a failed one.
TEST(JsonResults, HostWritesTheDocumentWhateverTheStatus) {
    testing::TempDir dir;
    const std::string host = PILEAXIAL_HOST_PATH;
    const std::string input = dir.write("case.in", example("english-pipe", ".in"));
    const std::string command = "'" + host + "' '" + input + "' --quiet --json '" + dir.file("case.json") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const json doc = json::parse(testing::readFile(dir.file("case.json")));
    EXPECT_EQ(doc.at("status"), 0);
    EXPECT_FALSE(doc.at("capacityTables").empty());

    const std::string missing = "'" + host + "' '" + dir.file("none.in") + "' --quiet --json '" +
                                dir.file("none.json") + "' 2>/dev/null";
    const int raw = std::system(missing.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), kStatusFault);
    const json failed = json::parse(testing::readFile(dir.file("none.json")));
    EXPECT_EQ(failed.at("status"), 2);
    EXPECT_NE(failed.at("message").get<std::string>().find("none.in"), std::string::npos);

    // A title that is not UTF-8 (a Latin-1 degree sign) is replaced in the document, not a crash.
    std::string latin = example("english-pipe", ".in");
    latin.replace(0, latin.find('\n'), "PILE AT 45\xB0 BATTER");
    const std::string titled = dir.write("latin.in", latin);
    const std::string latinRun = "'" + host + "' '" + titled + "' --quiet --json '" + dir.file("latin.json") + "'";
    ASSERT_EQ(std::system(latinRun.c_str()), 0);
    EXPECT_EQ(json::parse(testing::readFile(dir.file("latin.json"))).at("input").at("titles").at("title"),
              "PILE AT 45\xEF\xBF\xBD BATTER");
}

}  // namespace
}  // namespace pileaxial
