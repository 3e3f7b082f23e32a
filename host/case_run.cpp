#include "host/case_run.hpp"

#include <filesystem>
#include <fstream>
#include <utility>

#include "output/html_report.hpp"
#include "output/json_results.hpp"

namespace pileaxial::host {

bool WriteHtmlPage(const Run& run, const std::string& messages, const std::string& name, std::ostream& errors) {
    const std::string temporary = name + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << HtmlReport(run, messages);
        out.close();
        if (!out) {
            std::error_code ec;
            std::filesystem::remove(temporary, ec);
            errors << "pileaxial: the HTML page " << name << " could not be written\n";
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, name, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        errors << "pileaxial: the HTML page " << name << " could not be put in place\n";
        return false;
    }
    return true;
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    return FileKey(a) == FileKey(b);
}

std::string FileKey(const std::string& name) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(name, ec);
    if (ec) return name;
    // Made absolute first: a name that does not exist yet is otherwise left as it was spelt.
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal().string() : canonical.string();
}

namespace {

// The JSON results and the HTML page must not replace a file of the case (nor each other): a slip
// of the command line would otherwise lose the input.  Returns why, or an empty string.
std::string extraOutputClash(const CaseRequest& request) {
    const RunFileSet& f = request.files;
    const std::pair<const std::string*, const char*> extras[] = {{&request.jsonName, "JSON results"},
                                                                 {&request.htmlName, "HTML page"}};
    const std::pair<const std::string*, const char*> others[] = {{&f.inputName, "input data"},
                                                                 {&f.cptName, "CPT data"},
                                                                 {&f.outputName, "report"},
                                                                 {&f.plotName, "plot-data"},
                                                                 {&request.jsonName, "JSON results"}};
    for (const auto& [extra, what] : extras) {
        for (const auto& [other, otherWhat] : others) {
            if (extra == other) break;
            if (SameFile(*extra, *other)) {
                return std::string("the ") + what + " file \"" + *extra + "\" is also the " + otherWhat +
                       " file; the run would overwrite it";
            }
        }
    }
    return "";
}

}  // namespace

CaseOutcome RunCase(const CaseRequest& request, RunEnvironment env, std::streambuf* echo, bool dateFromEnvironment) {
    TeeBuffer tee(echo);
    std::ostream errors(&tee);
    env.errors = &errors;
    env.inputsBeforeOutputs = true;
    if (dateFromEnvironment) UseSourceDateEpoch(env, errors);
    CaseOutcome outcome;
    outcome.run = std::make_unique<Run>(env);
    Run& run = *outcome.run;
    if (const std::string clash = extraOutputClash(request); !clash.empty()) {
        run.files = request.files;
        run.status = kStatusFault;
        run.faultMessage = clash;
        errors << "pileaxial: " << clash << '\n';
        errors.flush();
        outcome.status = kStatusFault;
        outcome.messages = tee.text();
        return outcome;
    }
    outcome.status = run.execute(request.files);
    errors.flush();
    // The page is written whenever the report is: a run that stopped shows why.
    if (!request.htmlName.empty() && run.reportWritten()) {
        outcome.htmlWritten = WriteHtmlPage(run, tee.text(), request.htmlName, errors);
        if (!outcome.htmlWritten && outcome.status == kStatusCompleted) outcome.status = kStatusFault;
    }
    if (!request.jsonName.empty()) {
        const std::string problem = output::WriteResultsJson(run, request.jsonName);
        outcome.jsonWritten = problem.empty();
        if (!problem.empty()) {
            errors << "pileaxial: " << problem << '\n';
            if (outcome.status == kStatusCompleted) outcome.status = kStatusFault;
        }
    }
    errors.flush();
    outcome.messages = tee.text();
    return outcome;
}

}  // namespace pileaxial::host
