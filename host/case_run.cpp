#include "host/case_run.hpp"

#include <filesystem>
#include <fstream>

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

CaseOutcome RunCase(const CaseRequest& request, RunEnvironment env, std::streambuf* echo, bool dateFromEnvironment) {
    TeeBuffer tee(echo);
    std::ostream errors(&tee);
    env.errors = &errors;
    env.inputsBeforeOutputs = true;
    if (dateFromEnvironment) UseSourceDateEpoch(env, errors);
    CaseOutcome outcome;
    outcome.run = std::make_unique<Run>(env);
    Run& run = *outcome.run;
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
