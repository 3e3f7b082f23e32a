// The command-line host: runs one analysis and exits with the run status.
#include <iostream>
#include <memory>
#include <streambuf>
#include <string>
#include <vector>

#include "engine/run.hpp"
#include "host/command_line.hpp"
#include "output/json_results.hpp"

namespace {

// Takes whatever is written and keeps nothing: the console of a quiet run.
class DiscardBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

// The input given on the command line is run; the closing line names the files it wrote.
int runDirect(const pileaxial::host::CommandLine& cl) {
    DiscardBuffer discard;
    std::ostream quietConsole(&discard);
    pileaxial::RunEnvironment env;
    if (cl.quiet) env.console = &quietConsole;
    env.inputsBeforeOutputs = true;
    pileaxial::UseSourceDateEpoch(env, std::cerr);
    auto run = std::make_unique<pileaxial::Run>(env);
    int status = run->execute(cl.files);
    if (!cl.jsonName.empty()) {
        const std::string problem = pileaxial::output::WriteResultsJson(*run, cl.jsonName);
        if (!problem.empty()) {
            std::cerr << "pileaxial: " << problem << '\n';
            if (status == pileaxial::kStatusCompleted) status = pileaxial::kStatusFault;
        }
    }
    if (!cl.quiet && run->reportWritten()) {
        std::cout << "pileaxial: report written to " << cl.files.outputName;
        if (run->plotWritten()) std::cout << ", plot data to " << cl.files.plotName;
        if (!cl.jsonName.empty() && status == run->status) std::cout << ", JSON results to " << cl.jsonName;
        std::cout << '\n';
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    using pileaxial::host::CommandLine;
    const CommandLine cl = pileaxial::host::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (cl.action) {
        case CommandLine::Action::Help:
            std::cout << pileaxial::host::UsageText();
            return 0;
        case CommandLine::Action::Version:
            std::cout << "pileaxial " << PILEAXIAL_VERSION << '\n';
            return 0;
        case CommandLine::Action::Error:
            std::cerr << "pileaxial: " << cl.error << " (pileaxial --help shows the usage)\n";
            return pileaxial::host::kExitUsage;
        case CommandLine::Action::ControlFile: {
            pileaxial::RunEnvironment env;
            pileaxial::UseSourceDateEpoch(env, std::cerr);
            return std::make_unique<pileaxial::Run>(env)->executeFromControlFile();
        }
        case CommandLine::Action::Direct:
            return runDirect(cl);
    }
    return pileaxial::kStatusFault;
}
