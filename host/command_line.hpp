#pragma once
// Command line of the host program.
#include <string>
#include <vector>

#include "engine/run.hpp"

namespace pileaxial::host {

// Exit status of a command line the program cannot make sense of (the usual value for a usage error),
// kept apart from the run statuses 0, 1 and 2.
inline constexpr int kExitUsage = 64;

// pileaxial batch LIST_OR_DIR [-j N] [--out DIR] [--csv FILE] [--json] [--html] [--shard I/N]
struct BatchOptions {
    std::string source;         // a list file (one case per line) or a directory of *.in files
    unsigned jobs = 0;          // threads; 0: one per core
    std::string outDir;         // where the outputs go (empty: beside each input)
    std::string csvName;        // one row per case (empty: none)
    bool json = false;          // also case.json beside the report
    bool html = false;          // also case.html beside the report
    unsigned shardIndex = 1;    // this process runs cases shardIndex, shardIndex + shardCount, ...
    unsigned shardCount = 1;    // (counted from 1 in list order)
};

struct CommandLine {
    enum class Action { ControlFile, Direct, Batch, Help, Version, Error };
    Action action = Action::ControlFile;
    RunFileSet files;      // for Direct
    bool quiet = false;    // for Direct: nothing on standard output
    std::string jsonName;  // for Direct: the JSON results file, written whatever the run status
    std::string htmlName;  // for Direct: the HTML page of the run, written after it (empty: none)
    BatchOptions batch;    // for Batch
    std::string error;     // for Error
};

// pileaxial                      -> run as a host calling the engine does (names.dat in this directory)
// pileaxial INPUT [--cpt FILE] [--report FILE] [--plot FILE] [--json FILE] [--html FILE] [--quiet]
// pileaxial batch LIST_OR_DIR [-j N] [--out DIR] [--csv FILE] [--json] [--html] [--shard I/N]
// pileaxial --help | --version
// Without --report/--plot the files are written next to the input and named after it
// (case.in -> case.out and case.plt).
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace pileaxial::host
