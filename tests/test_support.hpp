#pragma once
// Helpers shared by the tests: scratch directories, whole files, and a compact way to write input cases.
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace pileaxial::testing {

// A scratch directory removed when the test ends.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pileaxial-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string write(const std::string& name, const std::string& text) const {
        std::ofstream(path_ / name, std::ios::binary) << text;
        return file(name);
    }

private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

inline std::vector<std::string> readLines(const std::string& path) { return splitLines(readFile(path)); }

// An input data file, record by record, with a small valid English case as the default: a 24 in open
// steel pipe, 40 ft long, in 50 ft of sand over clay.
struct CaseText {
    std::string t1 = "TEST CASE";
    std::string t2 = "TESTER";
    std::string t3 = "JOB 1";
    std::string g1 = "1 5 4 0";
    std::string g2 = "0 0 24 23 29000000 40 0";
    std::string g3 = "0 0 0";
    std::string g4 = "0 1 1 0 1 0 0";
    std::string g5 = "1 0 0 0 0 0 0 0 0";
    std::string g6 = "50 0";
    std::vector<std::pair<std::string, std::string>> points = {
        {"0 1 1 115 30 40", "0 0 0 10 0 0 0 0 0 1 1 0 0 0"},
        {"20 1 1 115 32 40", "0 0 0 20 0 0 0 0 0 1 1 0 0 0"},
        {"20 2 1 55 0 9", "0 0 1000 500 0 20 0 0 0 1 1 0 0 0"},
        {"60 2 1 55 0 9", "0 0 2000 900 0 20 0 0 0 1 1 0 0 0"}};
    std::string tail = "0\n0 1.0\n0 0 0\n0 0\n0 0\n0\n0\n0\n";

    std::string str() const {
        std::string s = t1 + "\n" + t2 + "\n" + t3 + "\n" + g1 + "\n" + g2 + "\n" + g3 + "\n" + g4 + "\n" +
                        g5 + "\n" + g6 + "\n";
        for (const auto& [s1, s2] : points) s += s1 + "\n" + s2 + "\n";
        return s + tail;
    }
};

inline std::tm fixedTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

}  // namespace pileaxial::testing

#include "engine/run.hpp"
#include "input/input_reader.hpp"
#include "model/grid.hpp"

namespace pileaxial::testing {

// Brings a run to the state the capacity analysis starts from, without files: the input read from
// text, the derived pile quantities, the snapped soil points and the grid built once; the driver's
// node count and pile lengths set.
inline void PrepareRun(Run& run, const std::string& inputText) {
    std::istringstream in(inputText);
    ReadInputFile(run, in, "case.in");
    SetUnitLabels(run);
    run.pile.batterAngle = run.pile.batterAngle * (kSinglePi / 180.0);
    run.pile.embeddedLength = run.pile.totalLength - run.pile.stickupLength;
    ComputeSectionArea(run.pile);
    run.pile.totalLength = run.pile.embeddedLength;
    SnapSoilPoints(run);
    run.pile.segmentCount = ComputeSegmentCount(run.pile);
    BuildSegmentGrid(run);
    CapacityState& cap = run.capacity();
    cap.pileNodeCount = run.pile.tipNodeCount;
    for (int k = 1; k <= cap.pileNodeCount; ++k) cap.PileLength[k] = (k - 1) * run.pile.lengthIncrement;
}

// A run of the case `c` prepared as above, on the heap (a run object is large).
inline std::unique_ptr<Run> PreparedRun(const CaseText& c) {
    auto run = std::make_unique<Run>();
    PrepareRun(*run, c.str());
    return run;
}

// The input refuses a pile without a diameter; the methods still guard against one.  This takes the
// diameters out of a prepared run and rebuilds its grid, to reach those guards.
inline void RemoveDiameters(Run& run) {
    run.pile.outsideDiameter = 0;
    run.pile.insideDiameter = 0;
    run.pile.enhancedEndDiameter = 0;
    BuildSegmentGrid(run);
}

}  // namespace pileaxial::testing

namespace pileaxial::testing {

struct RunResult {
    int status = -1;
    std::vector<std::string> report;
    std::string plot;
    std::string console;
    std::string errors;
};

// The file set of a case written to `dir`: case.in (and case.cpt when `cptText` is given), with the
// report and plot-data file beside them.
inline RunFileSet caseFiles(const TempDir& dir, const std::string& inputText, const std::string& cptText = "") {
    RunFileSet files;
    files.inputName = dir.write("case.in", inputText);
    files.outputName = dir.file("case.out");
    files.plotName = dir.file("case.plt");
    if (!cptText.empty()) files.cptName = dir.write("case.cpt", cptText);
    return files;
}

// A run environment that captures the console and the error stream, at a fixed date and time.
inline RunEnvironment capturingEnvironment(std::ostream& console, std::ostream& errors, std::tm when) {
    RunEnvironment env;
    env.console = &console;
    env.errors = &errors;
    env.fixedTime = when;
    return env;
}

// A whole run of `inputText` (and a CPT file when `cptText` is given) in `dir`, as the host runs it.
inline RunResult runCase(const TempDir& dir, const std::string& inputText, const std::string& cptText = "",
                         std::tm when = fixedTime(2026, 3, 1, 0, 0, 0)) {
    const RunFileSet files = caseFiles(dir, inputText, cptText);
    std::ostringstream console, errors;
    const RunEnvironment env = capturingEnvironment(console, errors, when);
    auto heapRun = std::make_unique<Run>(env);
    Run& run = *heapRun;
    RunResult result;
    result.status = run.execute(files);
    result.report = readLines(files.outputName);
    result.plot = readFile(files.plotName);
    result.console = console.str();
    result.errors = errors.str();
    return result;
}

}  // namespace pileaxial::testing
