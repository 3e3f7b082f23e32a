#include "host/command_line.hpp"

#include <charconv>
#include <filesystem>
#include <string_view>
#include <utility>

namespace pileaxial::host {

namespace {

std::string besideInput(const std::string& input, const char* extension) {
    std::filesystem::path path(input);
    path.replace_extension(extension);
    return path.string();
}

// A whole number from 1 to `largest`, digits only.
bool parseCount(std::string_view text, unsigned largest, unsigned& value) {
    if (text.empty() || text.size() > 9) return false;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    unsigned long parsed = 0;
    std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (parsed < 1 || parsed > largest) return false;
    value = static_cast<unsigned>(parsed);
    return true;
}

// The arguments after "batch".
CommandLine parseBatch(const std::vector<std::string>& args) {
    CommandLine cl;
    auto error = [&cl](std::string text) {
        cl.action = CommandLine::Action::Error;
        cl.error = std::move(text);
        return cl;
    };
    BatchOptions& b = cl.batch;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg == "--help" || arg == "-h") {
            cl.action = CommandLine::Action::Help;
            return cl;
        }
        if (arg == "--json") { b.json = true; continue; }
        if (arg == "--html") { b.html = true; continue; }
        std::string value;
        bool attached = false;  // -j4
        if (arg.size() > 2 && arg.rfind("-j", 0) == 0) {
            value = arg.substr(2);
            arg = "-j";
            attached = true;
        }
        if (arg == "-j" || arg == "--jobs" || arg == "--out" || arg == "--csv" || arg == "--shard") {
            if (!attached) {
                if (i + 1 >= args.size() || args[i + 1].empty()) {
                    const char* what = arg == "--out" ? "a directory" : arg == "--csv" ? "a file name"
                                       : arg == "--shard" ? "I/N" : "a number of threads";
                    return error(arg + " needs " + what);
                }
                value = args[++i];
            }
            if (arg == "-j" || arg == "--jobs") {
                if (!parseCount(value, 100000, b.jobs)) {
                    return error(arg + " takes a number of threads from 1 to 100000, not \"" + value + "\"");
                }
            } else if (arg == "--out") {
                b.outDir = value;
            } else if (arg == "--csv") {
                b.csvName = value;
            } else {
                const std::size_t slash = value.find('/');
                unsigned index = 0, count = 0;
                if (slash == std::string::npos ||
                    !parseCount(std::string_view(value).substr(slash + 1), 1000000, count) ||
                    !parseCount(std::string_view(value).substr(0, slash), count, index)) {
                    return error("--shard takes I/N with 1 <= I <= N (shard I of N, counted from 1), not \"" +
                                 value + "\"");
                }
                b.shardIndex = index;
                b.shardCount = count;
            }
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') return error("unknown batch option " + arg);
        if (arg.empty()) return error("the case list or directory name is empty");
        if (!b.source.empty()) return error("more than one case list or directory given (" + b.source + ", " + arg + ")");
        b.source = arg;
    }
    if (b.source.empty()) return error("batch needs a case list or a directory");
    cl.action = CommandLine::Action::Batch;
    return cl;
}

}  // namespace

std::string UsageText() {
    return "Usage: pileaxial [INPUT [--cpt FILE] [--report FILE] [--plot FILE] [--json FILE] [--html FILE] [--quiet]]\n"
           "       pileaxial batch LIST_OR_DIR [-j N] [--out DIR] [--csv FILE] [--json] [--html] [--shard I/N]\n"
           "\n"
           "Axial capacity and load-settlement analysis of a single driven pile.\n"
           "\n"
           "  pileaxial               run the case named by names.dat in the current directory,\n"
           "                          exactly as a host program calling ITERVA does\n"
           "  pileaxial INPUT         run the input data file INPUT; the report and the plot-data\n"
           "                          file are written next to it as INPUT.out and INPUT.plt\n"
           "                          (the extension of INPUT replaced)\n"
           "  --cpt FILE              CPT data file (cone-penetration sounding)\n"
           "  --report FILE           report file\n"
           "  --plot FILE             plot-data file\n"
           "  --json FILE             also write the inputs and results as JSON to FILE (written\n"
           "                          whatever the exit status; see docs/json-schema.json)\n"
           "  --html FILE             also write the run as an HTML page with charts and tables\n"
           "                          (with no INPUT: the PILEAXIAL_HTML environment variable)\n"
           "  --quiet                 print nothing on standard output (no progress lines, no\n"
           "                          closing line naming the files written)\n"
           "\n"
           "  pileaxial batch LIST_OR_DIR\n"
           "                          run many cases, each as INPUT above (report and plot-data\n"
           "                          file beside it).  LIST_OR_DIR is a directory (every *.in\n"
           "                          in it, by name; case.cpt beside case.in is its sounding)\n"
           "                          or a list file: one case a line, the input file and\n"
           "                          optionally its CPT file, separated by blanks; relative\n"
           "                          paths from the list's directory; a path with blanks in\n"
           "                          double quotes; blank lines and lines starting with # skipped\n"
           "  -j N                    run N cases at a time (default: one per core)\n"
           "  --out DIR               write the outputs into DIR (created when missing); two\n"
           "                          cases that would write the same file stop the batch before\n"
           "                          anything runs\n"
           "  --csv FILE              one row per case, in list order: number, case, status,\n"
           "                          message, unit system, loading, units, every method's\n"
           "                          ultimate capacity at the tip, and the top load and movement\n"
           "                          at the largest assumed tip movement\n"
           "  --json, --html          also write case.json / case.html beside each report\n"
           "  --shard I/N             run only cases I, I+N, I+2N, ... (counted from 1), to spread\n"
           "                          a study over N jobs\n"
           "  A batch shows its progress on standard error (a bar on a terminal, else one line\n"
           "  per finished case) and each case's warnings and messages whole after it, every\n"
           "  line led by the case's name.\n"
           "\n"
           "  --help                  show this text\n"
           "  --version               show the version\n"
           "\n"
           "Warnings about unusual input and every error go to standard error.  When\n"
           "SOURCE_DATE_EPOCH is set, the report shows that time (UTC) instead of the clock's.\n"
           "\n"
           "Exit status: 0 completed; 1 computation did not proceed (soil profile too shallow\n"
           "or more than 500 segments; the report and standard error say why); 2 bad input, a\n"
           "file that could not be opened or written, or a result that is not a number (the\n"
           "message names the file, record and field); 64 a command line not understood.\n"
           "A batch exits 0 when every case completed, otherwise with the largest status of its\n"
           "cases (1 or 2); 2 also when the list or directory cannot be read, names no case, or\n"
           "two cases would write one file (then nothing runs), or the CSV file cannot be written.\n";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    if (args.empty()) return cl;
    if (args[0] == "batch") return parseBatch(args);
    auto error = [&cl](std::string text) {
        cl.action = CommandLine::Action::Error;
        cl.error = std::move(text);
        return cl;
    };
    std::string input, cpt, report, plot;
    bool haveReport = false, havePlot = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            cl.action = CommandLine::Action::Help;
            return cl;
        }
        if (arg == "--version") {
            cl.action = CommandLine::Action::Version;
            return cl;
        }
        if (arg == "--quiet" || arg == "-q") {
            cl.quiet = true;
            continue;
        }
        if (arg == "--cpt" || arg == "--report" || arg == "--plot" || arg == "--json" || arg == "--html") {
            if (i + 1 >= args.size() || args[i + 1].empty()) return error(arg + " needs a file name");
            const std::string& value = args[++i];
            if (arg == "--cpt") cpt = value;
            if (arg == "--report") { report = value; haveReport = true; }
            if (arg == "--plot") { plot = value; havePlot = true; }
            if (arg == "--json") cl.jsonName = value;
            if (arg == "--html") cl.htmlName = value;
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') return error("unknown option " + arg);
        if (!input.empty()) return error("more than one input file given (" + input + ", " + arg + ")");
        if (arg.empty()) return error("the input file name is empty");
        input = arg;
    }
    if (input.empty()) return error("no input file given");
    cl.action = CommandLine::Action::Direct;
    cl.files.inputName = input;
    cl.files.cptName = cpt;
    cl.files.outputName = haveReport ? report : besideInput(input, ".out");
    cl.files.plotName = havePlot ? plot : besideInput(input, ".plt");
    return cl;
}

}  // namespace pileaxial::host
