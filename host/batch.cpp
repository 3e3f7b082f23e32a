#include "host/batch.hpp"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "capacity/capacity_state.hpp"
#include "host/case_run.hpp"

namespace pileaxial::host {

namespace {

namespace fs = std::filesystem;

// A reason the batch cannot start; nothing has run when it is raised.
class BatchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One case: its place in the list or directory (from 1), the input path as the list gives it (the
// CSV's name for it), and the files it reads and writes.
struct BatchCase {
    std::size_t number = 0;
    std::string given;
    CaseRequest request;
};

// What the CSV keeps of a finished case.
struct CaseResult {
    int status = kStatusFault;
    std::string message;
    std::string unitSystem, loading, forceUnit, movementUnit;  // empty when the input was not read
    std::array<std::optional<double>, kMethodCount> capacity;  // ultimate capacity at the tip, input order
    std::optional<double> topLoad, topMovement, tipMovement;    // at the largest assumed tip movement
};

// The CSV column of each method's capacity, in the input's method order (G5).
constexpr std::array<const char*, kMethodCount> kCapacityColumns = {
    "capacity_fhwa", "capacity_usace", "capacity_revised_lambda", "capacity_api_rp2a", "capacity_user",
    "capacity_ngi",  "capacity_icp_mtd", "capacity_fugro_2004",  "capacity_uwa"};

// The outputs of a case: the input's name with its extension replaced, in `outDir` or beside it.
std::string outputName(const std::string& input, const std::string& outDir, const char* extension) {
    fs::path name = fs::path(input).filename();
    name.replace_extension(extension);
    const fs::path base = outDir.empty() ? fs::path(input).parent_path() : fs::path(outDir);
    return (base / name).string();
}

BatchCase makeCase(std::size_t number, std::string given, const std::string& input, const std::string& cpt,
                   const BatchOptions& options) {
    BatchCase c;
    c.number = number;
    c.given = std::move(given);
    c.request.files.inputName = input;
    c.request.files.cptName = cpt;
    c.request.files.outputName = outputName(input, options.outDir, ".out");
    c.request.files.plotName = outputName(input, options.outDir, ".plt");
    if (options.json) c.request.jsonName = outputName(input, options.outDir, ".json");
    if (options.html) c.request.htmlName = outputName(input, options.outDir, ".html");
    return c;
}

// The paths of one list line: separated by blanks or tabs, a path holding blanks in double quotes.
// Throws BatchError (with `where` naming the line) on an unclosed quote or an empty quoted path.
std::vector<std::string> splitListLine(const std::string& line, const std::string& where) {
    std::vector<std::string> paths;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string::npos) throw BatchError(where + ": a quote is not closed");
            if (close == i + 1) throw BatchError(where + ": an empty path (\"\")");
            paths.push_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        const std::size_t end = line.find_first_of(" \t", i);
        paths.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
        i = end == std::string::npos ? line.size() : end;
    }
    return paths;
}

// The cases of a list file: one a line, the input file and optionally the CPT file; blank lines
// and lines whose first character other than a blank is '#' are skipped; relative paths are taken
// from the list's directory.
std::vector<BatchCase> casesOfList(const std::string& listName, const BatchOptions& options) {
    std::ifstream in(listName, std::ios::binary);
    if (!in) {
        std::error_code ec;
        const bool exists = fs::exists(listName, ec);
        throw BatchError("the case list or directory \"" + listName + "\" " +
                         (exists ? "cannot be read" : "does not exist"));
    }
    const fs::path listDir = fs::path(listName).parent_path();
    const auto resolve = [&listDir](const std::string& path) {
        const fs::path p(path);
        return p.is_absolute() ? p.string() : (listDir / p).string();
    };
    std::vector<BatchCase> cases;
    std::string line;
    for (std::size_t lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        const std::string where = "the case list \"" + listName + "\", line " + std::to_string(lineNumber);
        const std::vector<std::string> paths = splitListLine(line, where);
        if (paths.size() > 2) {
            throw BatchError(where + ": more than two paths (an input file and its CPT file; quote a path "
                             "holding blanks)");
        }
        cases.push_back(makeCase(cases.size() + 1, paths[0], resolve(paths[0]),
                                 paths.size() == 2 ? resolve(paths[1]) : std::string(), options));
    }
    if (in.bad()) throw BatchError("the case list \"" + listName + "\" could not be read in full");
    if (cases.empty()) throw BatchError("the case list \"" + listName + "\" names no case");
    return cases;
}

// The cases of a directory: every regular file named *.in, sorted by name, each with the CPT file
// of the same name ending in .cpt when there is one beside it.
std::vector<BatchCase> casesOfDirectory(const std::string& dirName, const BatchOptions& options) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dirName, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->path().extension() == ".in" && it->is_regular_file(typeError)) {
            names.push_back(it->path().filename().string());
        }
    }
    if (ec) throw BatchError("the directory \"" + dirName + "\" cannot be read (" + ec.message() + ")");
    if (names.empty()) throw BatchError("the directory \"" + dirName + "\" holds no input file (*.in)");
    std::sort(names.begin(), names.end());
    std::vector<BatchCase> cases;
    for (const std::string& name : names) {
        const std::string input = (fs::path(dirName) / name).string();
        std::string cpt = (fs::path(dirName) / fs::path(name).replace_extension(".cpt")).string();
        std::error_code cptError;
        if (!fs::is_regular_file(cpt, cptError)) cpt.clear();
        cases.push_back(makeCase(cases.size() + 1, input, input, cpt, options));
    }
    return cases;
}

// Refuses, before anything runs, a batch in which two cases would write one file or a case would
// write over an input or CPT file of the batch: threads writing one file at once would leave it
// garbled.  The whole list is checked, so every shard of a study refuses alike.
void checkOutputNames(const std::vector<BatchCase>& cases, const BatchOptions& options) {
    std::map<std::string, std::size_t> inputs;
    for (const BatchCase& c : cases) {
        inputs.emplace(FileKey(c.request.files.inputName), c.number);
        if (!c.request.files.cptName.empty()) inputs.emplace(FileKey(c.request.files.cptName), c.number);
    }
    std::map<std::string, std::size_t> outputs;
    const auto describe = [&cases](std::size_t number) {
        return "case " + std::to_string(number) + " (" + cases[number - 1].given + ")";
    };
    for (const BatchCase& c : cases) {
        const CaseRequest& r = c.request;
        for (const std::string* name : {&r.files.outputName, &r.files.plotName, &r.jsonName, &r.htmlName}) {
            if (name->empty()) continue;
            const std::string key = FileKey(*name);
            if (const auto input = inputs.find(key); input != inputs.end()) {
                throw BatchError(describe(c.number) + " would write its output " + *name + " over an input file of " +
                                 describe(input->second) + "; nothing was run");
            }
            const auto [at, inserted] = outputs.emplace(key, c.number);
            if (!inserted) {
                throw BatchError(describe(at->second) + " and " + describe(c.number) + " would both write " + *name +
                                 "; give their input files different names (or leave out --out); nothing was run");
            }
        }
    }
    // Nor may the CSV file take the place of the list or of a file of a case.
    if (!options.csvName.empty()) {
        const std::string key = FileKey(options.csvName);
        if (key == FileKey(options.source) || inputs.count(key) != 0 || outputs.count(key) != 0) {
            throw BatchError("the CSV file \"" + options.csvName +
                             "\" is also the case list or a file a case reads or writes; nothing was run");
        }
    }
}

// The shortest text that reads back as the same double.
std::string numberText(double value) {
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return ec == std::errc() ? std::string(buffer.data(), end) : std::string();
}

std::string csvQuoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string optionalNumber(const std::optional<double>& value) { return value ? numberText(*value) : std::string(); }

// The last message line of a case, without the program's name: why a run that completed still
// failed (its JSON results or HTML page could not be written).
std::string lastMessage(const std::string& messages) {
    std::istringstream in(messages);
    std::string line, last;
    while (std::getline(in, line)) {
        if (!line.empty()) last = line;
    }
    const std::string prefix = "pileaxial: ";
    return last.rfind(prefix, 0) == 0 ? last.substr(prefix.size()) : last;
}

// The CSV values of a finished case, taken from what the run kept: the numbers its report prints.
CaseResult resultOf(const CaseOutcome& outcome) {
    const Run& run = *outcome.run;
    CaseResult r;
    r.status = outcome.status;
    r.message = run.faultMessage;
    if (r.message.empty() && r.status != kStatusCompleted) r.message = lastMessage(outcome.messages);
    if (run.status != kStatusCompleted && run.status != kStatusStopped) return r;
    const bool english = run.pile.english();
    r.unitSystem = english ? "English" : "SI";
    r.loading = run.pile.tensionLoading == 1 ? "tension" : "compression";
    r.forceUnit = english ? "kip" : "kN";
    r.movementUnit = english ? "in" : "m";
    if (run.status != kStatusCompleted) return r;
    const CapacityState& cap = run.capacity();
    const int tip = cap.pileNodeCount;
    if (tip >= 1 && tip <= kMaxNodes) {
        for (int input = 1; input <= kMethodCount; ++input) {
            const MethodCurves& curves = cap.method[MethodIdOfInput(input)];
            // Only the methods the case selects: the others are computed for the driver's own use but
            // never printed, and their numbers have not been through the checks a printed table gets.
            if (curves.computed && run.pile.methodSelected[input] == 1) {
                r.capacity[static_cast<std::size_t>(input - 1)] = curves.SavedUltimateCapacity[tip];
            }
        }
    }
    const LoadSettlementState& ls = run.loadSettlement();
    if (ls.computed && ls.pointCount >= 1) {
        int largest = 1;
        for (int i = 2; i <= std::min(ls.pointCount, kMaxTipMovements); ++i) {
            if (ls.points[i].tipMovement > ls.points[largest].tipMovement) largest = i;
        }
        r.topLoad = ls.points[largest].topLoad;
        r.topMovement = ls.points[largest].topMovement;
        r.tipMovement = ls.points[largest].tipMovement;
    }
    return r;
}

std::string csvHeader() {
    std::string header = "number,case,status,message,unit_system,loading,force_unit,movement_unit";
    for (const char* column : kCapacityColumns) header += std::string(",") + column;
    return header + ",top_load,top_movement,tip_movement\n";
}

std::string csvRow(const BatchCase& c, const CaseResult& r) {
    std::string row = std::to_string(c.number) + "," + csvQuoted(c.given) + "," + std::to_string(r.status) + "," +
                      csvQuoted(r.message) + "," + r.unitSystem + "," + r.loading + "," + r.forceUnit + "," +
                      r.movementUnit;
    for (const std::optional<double>& value : r.capacity) row += "," + optionalNumber(value);
    return row + "," + optionalNumber(r.topLoad) + "," + optionalNumber(r.topMovement) + "," +
           optionalNumber(r.tipMovement) + "\n";
}

// Progress on standard error, shared by the workers: on a terminal a bar redrawn in place, else one
// line per finished case.  A case's messages are printed whole after it, each line led by the case's
// name, so that those of cases running side by side never interleave.
class Progress {
public:
    Progress(std::ostream& out, bool terminal, std::size_t total) : out_(out), terminal_(terminal), total_(total) {
        if (terminal_ && total_ > 0) write(bar());
    }

    void finished(const std::string& name, int status, const std::string& messages) {
        std::lock_guard<std::mutex> lock(mutex_);
        ++done_;
        if (status != kStatusCompleted) ++failed_;
        std::string text;
        if (terminal_) {
            text += "\r\033[K";
        } else {
            text += "[" + std::to_string(done_) + "/" + std::to_string(total_) + "] " + name + ": status " +
                    std::to_string(status) + "\n";
        }
        std::istringstream lines(messages);
        for (std::string line; std::getline(lines, line);) text += name + ": " + line + "\n";
        if (terminal_) text += bar();
        write(text);
    }

    // Ends the bar's line.
    void close() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (terminal_ && total_ > 0) write("\n");
    }

private:
    std::string bar() const {
        constexpr std::size_t kWidth = 30;
        const std::size_t filled = total_ == 0 ? kWidth : done_ * kWidth / total_;
        return "\r[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "] " + std::to_string(done_) +
               "/" + std::to_string(total_) + " done, " + std::to_string(failed_) + " not completed";
    }
    void write(const std::string& text) {
        out_ << text;
        out_.flush();
    }

    std::mutex mutex_;
    std::ostream& out_;
    const bool terminal_;
    const std::size_t total_;
    std::size_t done_ = 0;
    std::size_t failed_ = 0;  // cases that stopped or failed
};

// Runs one case with its own run object, a discarded console and its own error stream.
CaseResult runOne(const BatchCase& c, const std::optional<std::tm>& when, std::string& messages) {
    DiscardBuffer discard;
    std::ostream console(&discard);
    RunEnvironment env;
    env.console = &console;
    env.fixedTime = when;
    const CaseOutcome outcome = RunCase(c.request, env, nullptr, false);
    messages = outcome.messages;
    return resultOf(outcome);
}

// The CSV file is created under a temporary name before the cases run, so that a name that cannot
// be written is known at once, and put in place when every row is in it.
class CsvFile {
public:
    explicit CsvFile(std::string name) : name_(std::move(name)), temporary_(name_ + ".tmp") {
        out_.open(temporary_, std::ios::binary | std::ios::trunc);
        if (!out_) throw BatchError("the CSV file \"" + name_ + "\" cannot be created");
    }
    ~CsvFile() {
        if (!done_) {
            out_.close();
            std::remove(temporary_.c_str());
        }
    }
    CsvFile(const CsvFile&) = delete;
    CsvFile& operator=(const CsvFile&) = delete;

    // Writes `text` and puts the file in place; returns what went wrong, or an empty string.
    std::string finish(const std::string& text) {
        out_ << text;
        out_.close();
        if (!out_) return "the CSV file \"" + name_ + "\" could not be written in full";
        std::error_code ec;
        fs::rename(temporary_, name_, ec);
        if (ec) return "the CSV file \"" + name_ + "\" could not be put in place: " + ec.message();
        done_ = true;
        return "";
    }

private:
    std::string name_;
    std::string temporary_;
    std::ofstream out_;
    bool done_ = false;
};

}  // namespace

int RunBatch(const BatchOptions& options) {
    std::vector<BatchCase> selected;
    std::optional<CsvFile> csv;
    try {
        std::error_code ec;
        const std::vector<BatchCase> all = fs::is_directory(options.source, ec) ? casesOfDirectory(options.source, options)
                                                                               : casesOfList(options.source, options);
        checkOutputNames(all, options);
        for (const BatchCase& c : all) {
            if ((c.number - 1) % options.shardCount == options.shardIndex - 1) selected.push_back(c);
        }
        if (!options.outDir.empty()) {
            fs::create_directories(options.outDir, ec);
            if (!fs::is_directory(options.outDir, ec)) {
                throw BatchError("the output directory \"" + options.outDir + "\" cannot be created");
            }
        }
        if (!options.csvName.empty()) csv.emplace(options.csvName);
    } catch (const BatchError& e) {
        std::cerr << "pileaxial: " << e.what() << '\n';
        return kStatusFault;
    }

    // The report date is read once for the whole batch (a bad value warns once).
    RunEnvironment dateSource;
    UseSourceDateEpoch(dateSource, std::cerr);
    const std::optional<std::tm> when = dateSource.fixedTime;

    std::vector<CaseResult> results(selected.size());
    Progress progress(std::cerr, ::isatty(STDERR_FILENO) == 1, selected.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < selected.size(); i = next++) {
            std::string messages;
            try {
                results[i] = runOne(selected[i], when, messages);
            } catch (const std::exception& e) {
                results[i] = CaseResult();
                results[i].message = std::string("internal error: ") + e.what();
                messages += "pileaxial: " + results[i].message + "\n";
            } catch (...) {
                results[i] = CaseResult();
                results[i].message = "internal error";
                messages += "pileaxial: internal error\n";
            }
            progress.finished(selected[i].given, results[i].status, messages);
        }
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threads = std::min<std::size_t>(options.jobs != 0 ? options.jobs : cores,
                                                      std::max<std::size_t>(selected.size(), 1));
    std::vector<std::thread> workers;
    // This thread is one of the workers; when the system gives fewer threads than asked, the cases
    // run on those it gave.
    for (std::size_t t = 1; t < threads; ++t) {
        try {
            workers.emplace_back(work);
        } catch (const std::system_error&) {
            break;
        }
    }
    work();
    for (std::thread& worker : workers) worker.join();
    progress.close();

    int exitStatus = kStatusCompleted;
    std::array<std::size_t, 3> counts{};
    for (const CaseResult& r : results) {
        exitStatus = std::max(exitStatus, r.status);
        ++counts[static_cast<std::size_t>(std::clamp(r.status, 0, 2))];
    }
    std::string summary = "pileaxial: " + std::to_string(selected.size()) + (selected.size() == 1 ? " case" : " cases");
    if (options.shardCount > 1) {
        summary += " (shard " + std::to_string(options.shardIndex) + "/" + std::to_string(options.shardCount) + ")";
    }
    summary += ": " + std::to_string(counts[0]) + " completed, " + std::to_string(counts[1]) + " stopped, " +
               std::to_string(counts[2]) + " failed";
    if (csv) {
        std::string text = csvHeader();
        for (std::size_t i = 0; i < selected.size(); ++i) text += csvRow(selected[i], results[i]);
        const std::string problem = csv->finish(text);
        if (!problem.empty()) {
            std::cerr << "pileaxial: " << problem << '\n';
            exitStatus = kStatusFault;
        } else {
            summary += "; CSV written to " + options.csvName;
        }
    }
    std::cout << summary << '\n';
    return exitStatus;
}

}  // namespace pileaxial::host
