// The command-line host: runs one analysis and exits with the run status.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "engine/run.hpp"
#include "host/command_line.hpp"
#include "output/json_results.hpp"
#include "output/html_report.hpp"

namespace {

// Takes whatever is written and keeps nothing: the console of a quiet run.
class DiscardBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

// Passes everything on to standard error and keeps a copy: the run's warnings and messages, shown
// again at the top of the HTML page.
class TeeBuffer : public std::streambuf {
public:
    explicit TeeBuffer(std::streambuf* target) : target_(target) {}
    std::string text() const { return copy_.str(); }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        copy_.put(traits_type::to_char_type(c));
        return target_->sputc(traits_type::to_char_type(c));
    }
    std::streamsize xsputn(const char* s, std::streamsize count) override {
        copy_.write(s, count);
        return target_->sputn(s, count);
    }
    int sync() override { return target_->pubsync(); }

private:
    std::streambuf* target_;
    std::ostringstream copy_;
};

// Writes the HTML page under a temporary name and puts it in place, like the report.  Returns false
// (with a message on standard error) when it cannot be written.
bool writeHtml(const pileaxial::Run& run, const std::string& messages, const std::string& name) {
    const std::string temporary = name + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << pileaxial::HtmlReport(run, messages);
        out.close();
        if (!out) {
            std::error_code ec;
            std::filesystem::remove(temporary, ec);
            std::cerr << "pileaxial: the HTML page " << name << " could not be written\n";
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, name, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        std::cerr << "pileaxial: the HTML page " << name << " could not be put in place\n";
        return false;
    }
    return true;
}

// The run of names.dat; with PILEAXIAL_HTML or PILEAXIAL_JSON set, its HTML page or JSON results are
// written there too.
int runControlFile() {
    const char* htmlVariable = std::getenv("PILEAXIAL_HTML");
    const std::string htmlName = htmlVariable != nullptr ? htmlVariable : "";
    const char* jsonVariable = std::getenv("PILEAXIAL_JSON");
    const std::string jsonName = jsonVariable != nullptr ? jsonVariable : "";
    TeeBuffer tee(std::cerr.rdbuf());
    std::ostream errors(&tee);
    pileaxial::RunEnvironment env;
    env.errors = &errors;
    pileaxial::UseSourceDateEpoch(env, errors);
    auto run = std::make_unique<pileaxial::Run>(env);
    int status = run->executeFromControlFile();
    errors.flush();
    if (!htmlName.empty() && run->reportWritten() && !writeHtml(*run, tee.text(), htmlName) &&
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
    DiscardBuffer discard;
    std::ostream quietConsole(&discard);
    TeeBuffer tee(std::cerr.rdbuf());
    std::ostream errors(&tee);
    pileaxial::RunEnvironment env;
    if (cl.quiet) env.console = &quietConsole;
    env.errors = &errors;
    env.inputsBeforeOutputs = true;
    pileaxial::UseSourceDateEpoch(env, errors);
    auto run = std::make_unique<pileaxial::Run>(env);
    int status = run->execute(cl.files);
    errors.flush();
    // The page is written whenever the report is: a run that stopped shows why.
    bool htmlWritten = false;
    if (!cl.htmlName.empty() && run->reportWritten()) {
        htmlWritten = writeHtml(*run, tee.text(), cl.htmlName);
        if (!htmlWritten && status == pileaxial::kStatusCompleted) status = pileaxial::kStatusFault;
    }
    bool jsonWritten = false;
    if (!cl.jsonName.empty()) {
        const std::string problem = pileaxial::output::WriteResultsJson(*run, cl.jsonName);
        jsonWritten = problem.empty();
        if (!problem.empty()) {
            std::cerr << "pileaxial: " << problem << '\n';
            if (status == pileaxial::kStatusCompleted) status = pileaxial::kStatusFault;
        }
    }
    if (!cl.quiet && run->reportWritten()) {
        std::cout << "pileaxial: report written to " << cl.files.outputName;
        if (run->plotWritten()) std::cout << ", plot data to " << cl.files.plotName;
        if (jsonWritten) std::cout << ", JSON results to " << cl.jsonName;
        if (htmlWritten) std::cout << ", HTML page to " << cl.htmlName;
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
        case CommandLine::Action::ControlFile:
            return runControlFile();
        case CommandLine::Action::Direct:
            return runDirect(cl);
    }
    return pileaxial::kStatusFault;
}
