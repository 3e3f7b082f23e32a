#include "host/command_line.hpp"

#include <filesystem>

namespace pileaxial::host {

namespace {

std::string besideInput(const std::string& input, const char* extension) {
    std::filesystem::path path(input);
    path.replace_extension(extension);
    return path.string();
}

}  // namespace

std::string UsageText() {
    return "Usage: pileaxial [INPUT [--cpt FILE] [--report FILE] [--plot FILE] [--json FILE] [--html FILE] [--quiet]]\n"
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
           "  --help                  show this text\n"
           "  --version               show the version\n"
           "\n"
           "Warnings about unusual input and every error go to standard error.  When\n"
           "SOURCE_DATE_EPOCH is set, the report shows that time (UTC) instead of the clock's.\n"
           "\n"
           "Exit status: 0 completed; 1 computation did not proceed (soil profile too shallow\n"
           "or more than 500 segments; the report and standard error say why); 2 bad input, a\n"
           "file that could not be opened or written, or a result that is not a number (the\n"
           "message names the file, record and field); 64 a command line not understood.\n";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    if (args.empty()) return cl;
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
