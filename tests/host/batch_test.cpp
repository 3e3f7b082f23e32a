// Batch mode of the host program: many cases from a list or a directory, the CSV summary, shards and
// the refusals, through the program itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "host/command_line.hpp"
#include "tests/test_support.hpp"

namespace pileaxial::host {
namespace {

struct Outcome {
    int exit = -1;
    std::string out;
    std::string err;
};

// The host program run in `cwd` with `arguments`, SOURCE_DATE_EPOCH fixed.
Outcome runHost(const std::string& cwd, const std::string& arguments) {
    testing::TempDir capture;
    const std::string command = "cd '" + cwd + "' && SOURCE_DATE_EPOCH=0 '" + PILEAXIAL_HOST_PATH + "' " + arguments +
                                " > '" + capture.file("out") + "' 2> '" + capture.file("err") + "' < /dev/null";
    const int raw = std::system(command.c_str());
    Outcome o;
    o.exit = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    o.out = testing::readFile(capture.file("out"));
    o.err = testing::readFile(capture.file("err"));
    return o;
}

// One CSV line split into its fields (quoted fields may hold commas and doubled quotes).
std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// The CSV file as one map per row, by column name.
std::vector<std::map<std::string, std::string>> csvRows(const std::string& path) {
    const std::vector<std::string> lines = testing::readLines(path);
    std::vector<std::map<std::string, std::string>> rows;
    if (lines.empty()) return rows;
    const std::vector<std::string> header = csvFields(lines[0]);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = csvFields(lines[i]);
        EXPECT_EQ(fields.size(), header.size()) << lines[i];
        std::map<std::string, std::string> row;
        for (std::size_t k = 0; k < std::min(fields.size(), header.size()); ++k) row[header[k]] = fields[k];
        rows.push_back(row);
    }
    return rows;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A list with both examples (the SI one with its CPT file named, its input path quoted), a case with
// bad input in a directory whose name has a blank, and a missing input, run in 2 threads from
// another directory: every case runs, the rows keep the list's order, the numbers are the run's.
TEST(Batch, WholeRunOverAList) {
    testing::TempDir dir;
    std::filesystem::create_directories(dir.path() / "study" / "my cases");
    std::filesystem::create_directories(dir.path() / "work");
    std::filesystem::copy(std::string(PILEAXIAL_SOURCE_DIR) + "/examples", dir.path() / "study",
                          std::filesystem::copy_options::recursive);
    testing::CaseText bad;
    bad.g2 = "0 0 abc 23 29000000 40 0";
    dir.write("study/my cases/bad.in", bad.str());
    dir.write("study/list.txt",
              "# the study\n"
              "english-pipe/english-pipe.in\n"
              "\n"
              "  \"si-closed-cpt/si-closed-cpt.in\"   si-closed-cpt/si-closed-cpt.cpt\r\n"
              "\"my cases/bad.in\"\n"
              "   # not a case\n"
              "missing.in\n");

    const Outcome o = runHost(dir.file("work"), "batch ../study/list.txt -j 2 --csv results.csv --json --html");
    EXPECT_EQ(o.exit, 2) << o.err;
    EXPECT_EQ(o.out, "pileaxial: 4 cases: 2 completed, 0 stopped, 2 failed; CSV written to results.csv\n");
    // One progress line per case, and each case's messages after it, led by its name.
    const std::vector<std::string> cases = {"english-pipe/english-pipe.in", "si-closed-cpt/si-closed-cpt.in",
                                            "my cases/bad.in", "missing.in"};
    const std::vector<int> statuses = {0, 0, 2, 2};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string line = "] " + cases[i] + ": status " + std::to_string(statuses[i]) + "\n";
        EXPECT_TRUE(contains(o.err, line)) << o.err;
        EXPECT_EQ(o.err.find(line), o.err.rfind(line));
    }
    EXPECT_TRUE(contains(o.err, "\nmy cases/bad.in: pileaxial: ")) << o.err;
    EXPECT_TRUE(contains(o.err, "record G2, field 3"));
    EXPECT_TRUE(contains(o.err, "\nmissing.in: pileaxial: the input data file")) << o.err;

    // The outputs beside each input, named as direct mode names them; nothing for a missing input.
    for (const char* name : {"english-pipe/english-pipe", "si-closed-cpt/si-closed-cpt", "my cases/bad"}) {
        for (const char* extension : {".out", ".plt", ".json", ".html"}) {
            EXPECT_TRUE(std::filesystem::exists(dir.path() / "study" / (std::string(name) + extension))) << name << extension;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("study/missing.out")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("work/results.csv.tmp")));

    // The report is the one direct mode writes for the same case.
    const std::string batchReport = testing::readFile(dir.file("study/si-closed-cpt/si-closed-cpt.out"));
    ASSERT_EQ(runHost(dir.file("work"), "../study/si-closed-cpt/si-closed-cpt.in --cpt ../study/si-closed-cpt/si-closed-cpt.cpt -q").exit, 0);
    EXPECT_EQ(testing::readFile(dir.file("study/si-closed-cpt/si-closed-cpt.out")), batchReport);

    const auto rows = csvRows(dir.file("work/results.csv"));
    ASSERT_EQ(rows.size(), 4u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].at("number"), std::to_string(i + 1));
        EXPECT_EQ(rows[i].at("case"), cases[i]);
        EXPECT_EQ(rows[i].at("status"), std::to_string(statuses[i]));
    }
    EXPECT_EQ(rows[0].at("message"), "");
    EXPECT_TRUE(contains(rows[2].at("message"), "record G2, field 3")) << rows[2].at("message");
    EXPECT_TRUE(contains(rows[3].at("message"), "\"../study/missing.in\" cannot be opened")) << rows[3].at("message");
    EXPECT_EQ(rows[3].at("unit_system"), "");
    EXPECT_EQ(rows[3].at("capacity_fhwa"), "");

    // Units, and every number equal to the JSON results' (which match the report): the ultimate
    // capacity of each printed table at the tip, the top load and movement at the largest tip movement.
    const std::map<std::string, std::string> columnOf = {
        {"FHWA", "capacity_fhwa"}, {"USACE", "capacity_usace"}, {"Revised Lambda", "capacity_revised_lambda"},
        {"API RP-2A (2010)", "capacity_api_rp2a"}, {"NGI", "capacity_ngi"}, {"ICP/MTD", "capacity_icp_mtd"},
        {"Fugro 2004", "capacity_fugro_2004"}, {"UWA", "capacity_uwa"}};
    const std::vector<std::string> units[] = {{"English", "compression", "kip", "in"}, {"SI", "compression", "kN", "m"}};
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(cases[i]);
        const auto& row = rows[i];
        EXPECT_EQ(std::vector<std::string>({row.at("unit_system"), row.at("loading"), row.at("force_unit"),
                                            row.at("movement_unit")}),
                  units[i]);
        const std::string stem = dir.file("study/" + cases[i].substr(0, cases[i].size() - 3));
        const nlohmann::json doc = nlohmann::json::parse(testing::readFile(stem + ".json"));
        std::size_t compared = 0;
        for (const auto& table : doc.at("capacityTables")) {
            const std::string column = columnOf.at(table.at("method").get<std::string>());
            ASSERT_FALSE(row.at(column).empty()) << column;
            EXPECT_EQ(std::stod(row.at(column)), table.at("rows").back().at("ultimateCapacity").get<double>()) << column;
            ++compared;
        }
        EXPECT_GE(compared, i == 0 ? 1u : 5u);
        EXPECT_EQ(row.at("capacity_user"), "");  // no user values in either example
        EXPECT_EQ(row.at("capacity_ngi").empty(), i == 0);  // the cone-based methods need the sounding
        const auto& points = doc.at("loadSettlement").at("points");
        const auto largest = std::max_element(points.begin(), points.end(), [](const auto& a, const auto& b) {
            return a.at("tipMovement").template get<double>() < b.at("tipMovement").template get<double>();
        });
        EXPECT_EQ(std::stod(row.at("top_load")), largest->at("topLoad").get<double>());
        EXPECT_EQ(std::stod(row.at("top_movement")), largest->at("topMovement").get<double>());
        EXPECT_EQ(std::stod(row.at("tip_movement")), largest->at("tipMovement").get<double>());
    }
}

// A directory: every *.in by name with its .cpt beside it, outputs into --out; the shards of 2 and
// of 3 together give every row of the whole run exactly once; names that would clash refuse the batch.
TEST(Batch, DirectoryShardsAndClashingNames) {
    testing::TempDir dir;
    std::filesystem::create_directories(dir.path() / "cases");
    const std::string si = std::string(PILEAXIAL_SOURCE_DIR) + "/examples/si-closed-cpt/si-closed-cpt";
    testing::CaseText shallow;
    shallow.g6 = "10 0";
    dir.write("cases/a.in", testing::CaseText().str());
    dir.write("cases/b.in", shallow.str());
    std::filesystem::copy(si + ".in", dir.path() / "cases" / "c.in");
    std::filesystem::copy(si + ".cpt", dir.path() / "cases" / "c.cpt");
    dir.write("cases/d.in", testing::CaseText().str());
    dir.write("cases/notes.txt", "not a case\n");

    const Outcome all = runHost(dir.path().string(), "batch cases --out out --csv all.csv -j 3");
    EXPECT_EQ(all.exit, 1) << all.err;  // b stops: its soil profile is too shallow
    for (const char* name : {"a", "b", "c", "d"}) {
        EXPECT_TRUE(std::filesystem::exists(dir.path() / "out" / (std::string(name) + ".out"))) << name;
        EXPECT_TRUE(std::filesystem::exists(dir.path() / "out" / (std::string(name) + ".plt"))) << name;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "cases" / (std::string(name) + ".out"))) << name;
    }
    const auto rows = csvRows(dir.file("all.csv"));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].at("case"), "cases/a.in");
    EXPECT_EQ(rows[1].at("status"), "1");
    EXPECT_EQ(rows[1].at("unit_system"), "English");
    EXPECT_EQ(rows[1].at("capacity_fhwa"), "");
    EXPECT_FALSE(rows[2].at("capacity_uwa").empty());  // c.cpt was taken as c.in's sounding
    EXPECT_EQ(rows[3].at("case"), "cases/d.in");

    const std::vector<std::string> allLines = testing::readLines(dir.file("all.csv"));
    for (int count : {2, 3}) {
        std::multiset<std::string> joined;
        for (int index = 1; index <= count; ++index) {
            const std::string name = "shard" + std::to_string(index) + ".csv";
            const Outcome o = runHost(dir.path().string(), "batch cases --out out --csv " + name + " --shard " +
                                                               std::to_string(index) + "/" + std::to_string(count));
            EXPECT_LE(o.exit, 1) << o.err;
            const std::vector<std::string> lines = testing::readLines(dir.file(name));
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines[0], allLines[0]);
            joined.insert(lines.begin() + 1, lines.end());
        }
        EXPECT_EQ(joined, std::multiset<std::string>(allLines.begin() + 1, allLines.end())) << count;
    }

    // Two inputs of one name from two directories into one --out directory: nothing runs.
    std::filesystem::create_directories(dir.path() / "other");
    dir.write("other/a.in", testing::CaseText().str());
    dir.write("clash.txt", "cases/a.in\nother/a.in\n");
    const Outcome clash = runHost(dir.path().string(), "batch clash.txt --out fresh --csv clash.csv");
    EXPECT_EQ(clash.exit, 2);
    EXPECT_TRUE(contains(clash.err, "case 1 (cases/a.in) and case 2 (other/a.in) would both write")) << clash.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "fresh"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "clash.csv"));
}

// Command lines and case lists the batch refuses, each with its exit status and message; none runs
// a case or writes a file.
TEST(Batch, Refusals) {
    EXPECT_EQ(ParseCommandLine({"batch", "--help"}).action, CommandLine::Action::Help);
    const CommandLine cl = ParseCommandLine(
        {"batch", "study.txt", "-j", "3", "--out", "o", "--csv", "r.csv", "--json", "--html", "--shard", "2/5"});
    ASSERT_EQ(cl.action, CommandLine::Action::Batch) << cl.error;
    EXPECT_EQ(cl.batch.source, "study.txt");
    EXPECT_EQ(cl.batch.jobs, 3u);
    EXPECT_EQ(cl.batch.outDir, "o");
    EXPECT_EQ(cl.batch.csvName, "r.csv");
    EXPECT_TRUE(cl.batch.json && cl.batch.html);
    EXPECT_EQ(cl.batch.shardIndex, 2u);
    EXPECT_EQ(cl.batch.shardCount, 5u);
    const BatchOptions defaults = ParseCommandLine({"batch", "cases"}).batch;
    EXPECT_EQ(defaults.jobs, 0u);
    EXPECT_EQ(defaults.shardIndex, 1u);
    EXPECT_EQ(defaults.shardCount, 1u);
    EXPECT_EQ(ParseCommandLine({"batch", "cases", "-j4"}).batch.jobs, 4u);

    struct Case {
        std::string arguments;
        int exit;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"batch", kExitUsage, "batch needs a case list or a directory"},
        {"batch a.txt b.txt", kExitUsage, "more than one case list or directory given"},
        {"batch list.txt --bogus", kExitUsage, "unknown batch option --bogus"},
        {"batch list.txt -j", kExitUsage, "-j needs a number of threads"},
        {"batch list.txt -j 0", kExitUsage, "-j takes a number of threads from 1"},
        {"batch list.txt -j two", kExitUsage, "-j takes a number of threads from 1"},
        {"batch list.txt --csv", kExitUsage, "--csv needs a file name"},
        {"batch list.txt --out", kExitUsage, "--out needs a directory"},
        {"batch list.txt --shard 0/2", kExitUsage, "--shard takes I/N"},
        {"batch list.txt --shard 3/2", kExitUsage, "--shard takes I/N"},
        {"batch list.txt --shard 1/0", kExitUsage, "--shard takes I/N"},
        {"batch list.txt --shard 2", kExitUsage, "--shard takes I/N"},
        {"batch list.txt --shard -1/2", kExitUsage, "--shard takes I/N"},
        {"batch list.txt --shard 1/2/3", kExitUsage, "--shard takes I/N"},
        {"batch nowhere.txt", 2, "the case list or directory \"nowhere.txt\" does not exist"},
        {"batch empty.txt", 2, "the case list \"empty.txt\" names no case"},
        {"batch empty", 2, "the directory \"empty\" holds no input file (*.in)"},
        {"batch quote.txt", 2, "the case list \"quote.txt\", line 2: a quote is not closed"},
        {"batch three.txt", 2, "the case list \"three.txt\", line 1: more than two paths"},
        {"batch same.txt", 2, "case 1 (case.in) and case 2 (./case.in) would both write"},
        {"batch self.txt --json", 2, "case 1 (case.json) would write its output"},
        {"batch list.txt --csv ./list.txt", 2, "the CSV file \"./list.txt\" is also the case list"},
        {"batch list.txt --csv case.plt", 2, "the CSV file \"case.plt\" is also the case list or a file"},
        {"batch list.txt --csv nodir/r.csv", 2, "the CSV file \"nodir/r.csv\" cannot be created"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        testing::TempDir dir;
        dir.write("case.in", testing::CaseText().str());
        dir.write("case.json", testing::CaseText().str());
        dir.write("list.txt", "case.in\n");
        dir.write("empty.txt", "# nothing\n\n");
        std::filesystem::create_directories(dir.path() / "empty");
        dir.write("quote.txt", "case.in\n\"case.in\n");
        dir.write("three.txt", "case.in a.cpt b.cpt\n");
        dir.write("same.txt", "case.in\n./case.in\n");
        dir.write("self.txt", "case.json\n");
        const Outcome o = runHost(dir.path().string(), c.arguments);
        EXPECT_EQ(o.exit, c.exit);
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(testing::splitLines(o.err).size(), 1u) << o.err;
        EXPECT_TRUE(contains(o.err, c.message)) << o.err;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "case.out"));
        EXPECT_EQ(testing::readFile(dir.file("case.json")), testing::CaseText().str());
        EXPECT_EQ(testing::readFile(dir.file("list.txt")), "case.in\n");
    }
}

}  // namespace
}  // namespace pileaxial::host
