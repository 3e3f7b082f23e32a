#pragma once
// One analysis run.  Everything a run reads, computes and writes lives here and is passed explicitly,
// so runs are independent of each other and several may run side by side on separate threads.
#include <ctime>
#include <iosfwd>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "capacity/capacity_state.hpp"
#include "engine/output_file.hpp"
#include "model/model.hpp"
#include "settlement/settlement_state.hpp"
#include "textio/record_writer.hpp"

namespace pileaxial {

// RunStatus values.
inline constexpr int kStatusCompleted = 0;
inline constexpr int kStatusStopped = 1;    // soil profile too shallow, or more than 500 segments
inline constexpr int kStatusFault = 2;      // bad input, a file that cannot be opened, read or written,
                                            // a result that is not a finite number

// The four file names of a run, trailing blanks removed.  An empty CPT name means no sounding.
struct RunFileSet {
    std::string inputName;
    std::string outputName;
    std::string plotName;
    std::string cptName;
};

struct RunEnvironment {
    std::ostream* console = nullptr;   // progress lines and warnings; standard output when null
    std::istream* consoleIn = nullptr; // the file-name dialogue; standard input when null
    std::ostream* errors = nullptr;    // fault messages; standard error when null
    // The date and time printed in the report header; the local clock when not set.
    std::optional<std::tm> fixedTime;
    // Open the input data file (and the CPT data file) before any output file is created, so that a
    // run whose input is missing leaves no files behind.  A host calling the entry point gets the
    // report with the message instead.
    bool inputsBeforeOutputs = false;
};

// Sets env.fixedTime from the SOURCE_DATE_EPOCH environment variable when it is set (seconds since
// 1970-01-01 00:00:00 UTC, shown in UTC), so that two runs of one case can be compared line by line.
// A value that is not a whole number of seconds is ignored with a warning on `warnings`.
void UseSourceDateEpoch(RunEnvironment& env, std::ostream& warnings);

// A run holds its whole state, near two megabytes: make it with std::make_unique rather than on a
// thread's stack.
class Run : public Model {
public:
    explicit Run(RunEnvironment env = {});
    ~Run();
    Run(const Run&) = delete;
    // A run made with new (make_unique) takes one large block (engine/large_block.hpp).
    static void* operator new(std::size_t size);
    static void operator delete(void* block) noexcept;
    Run& operator=(const Run&) = delete;

    // The whole run for a file set that is already known (run sequence steps 3 to 12).
    int execute(const RunFileSet& files);
    // Reads names.dat in the current directory (with the console dialogue when it falls short) and
    // then runs; this is what the exported entry point does.
    int executeFromControlFile();
    // The whole run with its inputs given as text and its report and plot data kept in memory
    // (reportText(), plotText()); no file is read or written.  The names in `fileSet` only label the
    // report and the messages; an empty CPT name means no sounding, and `cptText` is then not read.
    int executeInMemory(const RunFileSet& fileSet, std::string_view inputText, std::string_view cptText = {});

    RunFileSet files;
    int status = kStatusCompleted;
    // Why the run ended early (status 1 or 2), as written to the error stream without the program
    // name; empty for a completed run.
    std::string faultMessage;

    // The capacity analysis results (large: kept on the heap, one allocation per run).
    CapacityState& capacity() { return capacity_; }
    const CapacityState& capacity() const { return capacity_; }
    // The load-settlement results: curves used, tip curve, load distribution and load-settlement points.
    LoadSettlementState& loadSettlement() { return loadSettlement_; }
    const LoadSettlementState& loadSettlement() const { return loadSettlement_; }

    // --- output channels ------------------------------------------------------------------------
    textio::RecordWriter report;
    textio::RecordWriter plot;
    textio::RecordWriter console;

    std::ostream& consoleStream() const;
    std::istream& consoleInput() const;
    std::ostream& errorStream() const;
    const RunEnvironment& environment() const { return env_; }

    // Ends the run with status 2: the message goes to the error stream and, when it is open, to the
    // report; the files are closed and put in place.
    int fail(const std::string& message);
    // Closes the report and plot-data files and puts each in place under its name, unless something
    // written did not reach it; returns what went wrong, or nothing.
    std::string closeFiles();
    // Closes the report and plot-data files after checking that everything written reached them;
    // throws InputError when one could not be written in full or put in place.
    void finishFiles();

    // The report and plot-data file this run left under their names.
    bool reportWritten() const { return reportWritten_; }
    bool plotWritten() const { return plotWritten_; }
    // The report and plot data of a run in memory (empty for a run on files).
    std::string reportText() const { return memory_ ? memory_->report.str() : std::string(); }
    std::string plotText() const { return memory_ ? memory_->plot.str() : std::string(); }

private:
    int executeSequence(const RunFileSet& fileSet);
    int runSequence();

    RunEnvironment env_;
    // The capacity and load-settlement results: with the model, near two megabytes, so a run belongs
    // on the heap, where it takes one large block (engine/large_block.hpp).
    CapacityState capacity_{};
    LoadSettlementState loadSettlement_{};
    // The inputs and outputs of a run in memory.
    struct MemoryStreams {
        std::istringstream input;
        std::istringstream cpt;
        std::ostringstream report;
        std::ostringstream plot;
        bool reportOpen = false;
        bool plotOpen = false;
    };
    std::unique_ptr<MemoryStreams> memory_;
    OutputFile reportFile_;
    OutputFile plotFile_;
    bool reportWritten_ = false;
    bool plotWritten_ = false;
};

}  // namespace pileaxial
