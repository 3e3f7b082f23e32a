// The command-line host: runs one analysis (or a batch of them) and exits with the run status.
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "engine/run.hpp"
#include "host/batch.hpp"
#include "host/case_run.hpp"
#include "host/command_line.hpp"
#include "output/json_results.hpp"

namespace {

// The run of names.dat; with PILEAXIAL_HTML or PILEAXIAL_JSON set, its HTML page or JSON results are
// written there too.
int runControlFile() {
    const char* htmlVariable = std::getenv("PILEAXIAL_HTML");
    const std::string htmlName = htmlVariable != nullptr ? htmlVariable : "";
    const char* jsonVariable = std::getenv("PILEAXIAL_JSON");
    const std::string jsonName = jsonVariable != nullptr ? jsonVariable : "";
    pileaxial::host::TeeBuffer tee(std::cerr.rdbuf());
    std::ostream errors(&tee);
    pileaxial::RunEnvironment env;
    env.errors = &errors;
    pileaxial::UseSourceDateEpoch(env, errors);
    auto run = std::make_unique<pileaxial::Run>(env);
    int status = run->executeFromControlFile();
    errors.flush();
    if (!htmlName.empty() && run->reportWritten() && !pileaxial::host::WriteHtmlPage(*run, tee.text(), htmlName, errors) &&
        status == pileaxial::kStatusCompleted) {
        status = pileaxial::kStatusFault;
    }
    if (!jsonName.empty()) {
        const std::string problem = pileaxial::output::WriteResultsJson(*run, jsonName);
        if (!problem.empty()) {
            std::cerr << "pileaxial: " << problem << '\n';
            if (status == pileaxial::kStatusCompleted) status = pileaxial::kStatusFault;
        }
    }
    return status;
}

// The input given on the command line is run; the closing line names the files it wrote.
int runDirect(const pileaxial::host::CommandLine& cl) {
    pileaxial::host::DiscardBuffer discard;
    std::ostream quietConsole(&discard);
    pileaxial::RunEnvironment env;
    if (cl.quiet) env.console = &quietConsole;
    const pileaxial::host::CaseOutcome outcome =
        pileaxial::host::RunCase({cl.files, cl.jsonName, cl.htmlName}, env, std::cerr.rdbuf(), true);
    if (!cl.quiet && outcome.run->reportWritten()) {
        std::cout << "pileaxial: report written to " << cl.files.outputName;
        if (outcome.run->plotWritten()) std::cout << ", plot data to " << cl.files.plotName;
        if (outcome.jsonWritten) std::cout << ", JSON results to " << cl.jsonName;
        if (outcome.htmlWritten) std::cout << ", HTML page to " << cl.htmlName;
        std::cout << '\n';
    }
    return outcome.status;
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
        case CommandLine::Action::ControlFile:
            return runControlFile();
        case CommandLine::Action::Direct:
            return runDirect(cl);
        case CommandLine::Action::Batch:
            return pileaxial::host::RunBatch(cl.batch);
    }
    return pileaxial::kStatusFault;
}
