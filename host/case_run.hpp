#pragma once
// One case run by the host program: the analysis on files, then the optional JSON results and HTML
// page.  Direct mode runs one case this way, batch mode many, each on its own thread.
#include <memory>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "engine/run.hpp"

namespace pileaxial::host {

struct CaseRequest {
    RunFileSet files;
    std::string jsonName;  // the JSON results file, written whatever the run status (empty: none)
    std::string htmlName;  // the HTML page, written whenever the report is (empty: none)
};

struct CaseOutcome {
    int status = kStatusFault;   // the run status, made 2 when the JSON results or the page failed
    bool jsonWritten = false;
    bool htmlWritten = false;
    std::string messages;        // everything the case wrote to its error stream, in order
    std::unique_ptr<Run> run;    // the executed run, for its results
};

// Runs one case.  `env` gives the console and the report date; its error stream is replaced by one
// that keeps every warning and message of the case (CaseOutcome::messages, also shown at the top of
// the HTML page) and passes them on to `echo` as they come (null: kept only).  With
// `dateFromEnvironment`, SOURCE_DATE_EPOCH sets the report date and a bad value warns in the case's
// messages; a caller running many cases reads it once instead.  Input files are opened before any
// output file is created.  A JSON results file or HTML page named as a file of the case (or as each
// other) ends the case with status 2 before anything runs.
CaseOutcome RunCase(const CaseRequest& request, RunEnvironment env, std::streambuf* echo,
                    bool dateFromEnvironment);

// One spelling for one file, whether it exists yet or not; and whether two names are one file.
std::string FileKey(const std::string& name);
bool SameFile(const std::string& a, const std::string& b);

// Writes the HTML page of a run under a temporary name and puts it in place; says why on `errors`
// and returns false when it cannot.
bool WriteHtmlPage(const Run& run, const std::string& messages, const std::string& name, std::ostream& errors);

// Takes whatever is written and keeps nothing: the console of a quiet run.
class DiscardBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

// Keeps a copy of everything written and passes it on to `target` (null: kept only): a run's
// warnings and messages, shown again at the top of the HTML page or printed whole after a batch case.
class TeeBuffer : public std::streambuf {
public:
    explicit TeeBuffer(std::streambuf* target) : target_(target) {}
    std::string text() const { return copy_.str(); }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        copy_.put(traits_type::to_char_type(c));
        return target_ != nullptr ? target_->sputc(traits_type::to_char_type(c)) : c;
    }
    std::streamsize xsputn(const char* s, std::streamsize count) override {
        copy_.write(s, count);
        return target_ != nullptr ? target_->sputn(s, count) : count;
    }
    int sync() override { return target_ != nullptr ? target_->pubsync() : 0; }

private:
    std::streambuf* target_;
    std::ostringstream copy_;
};

}  // namespace pileaxial::host
