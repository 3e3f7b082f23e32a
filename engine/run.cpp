#include "engine/run.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <new>
#include <sstream>
#include <utility>

#include "capacity/driver.hpp"
#include "engine/control_file.hpp"
#include "engine/input_warnings.hpp"
#include "engine/large_block.hpp"
#include "engine/report_header.hpp"
#include "input/echo.hpp"
#include "input/input_reader.hpp"
#include "model/grid.hpp"
#include "textio/input_error.hpp"

namespace pileaxial {

namespace {

std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// The name a file is known by, for telling whether two names refer to one file (or would, once
// created): made absolute first, since a name that does not exist yet is otherwise left as it was
// spelt, and "x.out" and "./x.out" would pass for two files.  Empty when it cannot be resolved.
std::filesystem::path resolvedName(const std::string& name) {
    if (name.empty()) return {};
    std::error_code ec;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(std::filesystem::absolute(name, ec), ec);
    if (ec) return {};
    return resolved;
}

// Output files must never overwrite an input of the same run, nor each other.  Each name is resolved
// once (a walk of its directories with a system call or two for each).
void checkDistinctFiles(const RunFileSet& files) {
    struct Named {
        const std::string& name;
        std::filesystem::path resolved;
    };
    const Named input{files.inputName, resolvedName(files.inputName)};
    const Named report{files.outputName, resolvedName(files.outputName)};
    const Named plot{files.plotName, resolvedName(files.plotName)};
    const Named cpt{files.cptName, resolvedName(files.cptName)};
    const auto same = [](const Named& a, const Named& b) {
        if (a.name.empty() || b.name.empty()) return false;
        if (a.resolved.empty() || b.resolved.empty()) return a.name == b.name;
        return a.resolved == b.resolved;
    };
    const auto refuse = [](const std::string& what, const std::string& other, const std::string& name) {
        throw InputError("the " + what + " file \"" + name + "\" is also the " + other +
                         " file; the run would overwrite it");
    };
    if (same(report, input)) refuse("report", "input data", files.outputName);
    if (same(plot, input)) refuse("plot-data", "input data", files.plotName);
    if (same(report, cpt)) refuse("report", "CPT data", files.outputName);
    if (same(plot, cpt)) refuse("plot-data", "CPT data", files.plotName);
    if (same(plot, report)) refuse("plot-data", "report", files.plotName);
}

// Opens a file the run reads and says why it cannot be read (empty when it opened).  A directory
// opens like a file on some systems and then reads as empty, which would be reported as a file that
// ends too early.
std::string openForReading(std::ifstream& in, const std::string& name) {
    std::error_code ec;
    if (std::filesystem::is_directory(name, ec)) return "is a directory, not a file";
    errno = 0;
    in.open(name);
    if (in) return "";
    const int reason = errno;
    return reason != 0 ? std::string("cannot be opened (") + std::strerror(reason) + ")" : "cannot be opened";
}

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

// The segment count of the stop message, in full however wide it is.
std::string segmentCountText(double ratio) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(0) << std::floor(ratio);
    return text.str();
}

}  // namespace

void UseSourceDateEpoch(RunEnvironment& env, std::ostream& warnings) {
    const char* value = std::getenv("SOURCE_DATE_EPOCH");
    if (value == nullptr || *value == '\0') return;  // an empty value counts as not set
    if (std::optional<std::tm> when = UtcTimeOfEpochSeconds(value)) {
        env.fixedTime = when;
    } else {
        warnings << "pileaxial: warning: SOURCE_DATE_EPOCH=\"" << value
                 << "\" is not a number of seconds since 1970 before the year 10000; the report shows the "
                    "local time\n";
    }
}

void* Run::operator new(std::size_t size) { return AllocateLargeBlock(size); }
void Run::operator delete(void* block) noexcept { FreeLargeBlock(block); }

Run::Run(RunEnvironment env) : env_(std::move(env)) {
    console.attach(&consoleStream());
}

Run::~Run() = default;

std::ostream& Run::consoleStream() const { return env_.console ? *env_.console : std::cout; }
std::istream& Run::consoleInput() const { return env_.consoleIn ? *env_.consoleIn : std::cin; }
std::ostream& Run::errorStream() const { return env_.errors ? *env_.errors : std::cerr; }

int Run::executeFromControlFile() {
    try {
        std::ifstream names("names.dat");
        if (!names) {
            throw InputError("names.dat: the control file cannot be opened in the current directory");
        }
        const RunFileSet fileSet = ReadControlFile(names, consoleStream(), consoleInput());
        names.close();
        return execute(fileSet);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
}

int Run::execute(const RunFileSet& fileSet) {
    memory_.reset();
    return executeSequence(fileSet);
}

int Run::executeInMemory(const RunFileSet& fileSet, std::string_view inputText, std::string_view cptText) {
    memory_ = std::make_unique<MemoryStreams>();
    memory_->input.str(std::string(inputText));
    memory_->cpt.str(std::string(cptText));
    return executeSequence(fileSet);
}

int Run::executeSequence(const RunFileSet& fileSet) {
    files = fileSet;
    reportWritten_ = false;
    plotWritten_ = false;
    faultMessage.clear();
    try {
        status = runSequence();
    } catch (const InputError& e) {
        return fail(e.what());
    } catch (const IndexError& e) {
        return fail(std::string("internal error, an index left its array: ") + e.what());
    } catch (const std::bad_alloc&) {
        return fail("out of memory");
    } catch (const std::exception& e) {
        return fail(std::string("internal error: ") + e.what());
    }
    return status;
}

int Run::runSequence() {
    status = kStatusCompleted;
    if (!memory_) checkDistinctFiles(files);

    // The inputs are opened first; a host calling the entry point learns of a missing one from the
    // report, so there the fault is raised only once the report exists.
    std::ifstream inputFile;
    std::ifstream cptFile;
    std::istream* input = &inputFile;
    std::istream* cptInput = nullptr;
    std::string inputProblem;
    std::string cptProblem;
    if (memory_) {
        input = &memory_->input;
        if (!files.cptName.empty()) cptInput = &memory_->cpt;
    } else {
        inputProblem = openForReading(inputFile, files.inputName);
        if (!files.cptName.empty()) {
            cptProblem = openForReading(cptFile, files.cptName);
            cptInput = &cptFile;
        }
    }
    const auto checkInput = [&] {
        if (!inputProblem.empty()) {
            throw InputError("the input data file \"" + files.inputName + "\" " + inputProblem);
        }
    };
    const auto checkCptInput = [&] {
        if (!cptProblem.empty()) throw InputError("the CPT data file \"" + files.cptName + "\" " + cptProblem);
    };
    if (env_.inputsBeforeOutputs) {
        checkInput();
        checkCptInput();
    }

    // Title block on the console, then the report file with its header.
    WriteTitleBlock(console);
    if (memory_) {
        memory_->reportOpen = true;
        report.attach(&memory_->report);
    } else {
        if (!reportFile_.open(files.outputName)) {
            throw InputError("the report file \"" + files.outputName + "\" cannot be created");
        }
        report.attach(&reportFile_.stream());
    }
    WriteTitleBlock(report);
    WriteFileNameLines(report, files.inputName, files.outputName, files.plotName);
    report.blank();
    WriteDateBlock(report, env_.fixedTime ? *env_.fixedTime : localNow());

    // Input, plot-data and CPT files, in this order.
    checkInput();
    if (memory_) {
        memory_->plotOpen = true;
        plot.attach(&memory_->plot);
    } else {
        if (!plotFile_.open(files.plotName)) {
            throw InputError("the plot-data file \"" + files.plotName + "\" cannot be created");
        }
        plot.attach(&plotFile_.stream());
    }
    checkCptInput();

    ReadInputFile(*this, *input, files.inputName, !files.cptName.empty());
    inputFile.close();
    SetUnitLabels(*this);
    if (cptInput != nullptr) {
        ReadCptFile(*this, *cptInput, files.cptName);
        cptFile.close();
    }

    pile.batterAngle = pile.batterAngle * (kSinglePi / 180.0);
    pile.embeddedLength = pile.totalLength - pile.stickupLength;

    WarnAboutUnusualInput(*this);

    if (!CheckSoilExtent(*this)) {
        const char* unit = pile.english() ? " ft" : " m";
        std::ostringstream why;
        why << "the computation does not proceed: the deepest soil profile reaches "
            << number(pile.deepestSoilDepth) << unit << " (record G6, field 1), less than the "
            << number(RequiredSoilDepth(pile)) << unit
            << " the pile needs (its embedded length, projected on the vertical, plus two diameters)";
        faultMessage = why.str();
        errorStream() << "pileaxial: " << faultMessage << '\n';
        finishFiles();
        return status;
    }

    WriteInputEcho(*this);
    pile.totalLength = pile.embeddedLength;

    SnapSoilPoints(*this);
    const double segmentRatio = pile.deepestSoilDepth / pile.lengthIncrement + kLengthTolerance;
    if (segmentRatio >= kMaxSegments + 1) {
        const std::string count = segmentCountText(segmentRatio);
        for (textio::RecordWriter* out : {&console, &report}) {
            textio::Line first = textio::Line().x(1).a("YOUR NUMBERS OF SEGMENT ");
            if (count.size() <= 4) {
                first.i(std::stoi(count), 4);
            } else {
                first.a(count);
            }
            out->blank(2);
            out->put(first.a(" IS LARGER THAN"));
            out->put(textio::Line().x(1).a("DEFAULT VALUE 500. USE A LONGER INCREMENT OF PILE LENGTH "));
            out->put(textio::Line().x(1).a("OR A SHALLOWER DEEPEST SOIL PROFILE."));
        }
        const char* unit = pile.english() ? " ft" : " m";
        std::ostringstream why;
        why << "the computation does not proceed: the deepest soil profile of " << number(pile.deepestSoilDepth)
            << unit << " in increments of " << number(pile.lengthIncrement) << unit << " makes " << count
            << " segments, more than the " << kMaxSegments << " the program takes; use an increment of at least "
            << number(pile.deepestSoilDepth / kMaxSegments) << unit
            << " (record G4, field 2) or a shallower soil profile (record G6, field 1)";
        faultMessage = why.str();
        errorStream() << "pileaxial: " << faultMessage << '\n';
        status = kStatusStopped;
        finishFiles();
        return status;
    }
    pile.segmentCount = ComputeSegmentCount(pile);

    BuildSegmentGrid(*this);
    if (grid.filledCount > 0 && carry.unestimatedAngleSegments > 0) {
        console.blank();
        console.put(textio::Line().x(1).a("WARNING: ").i(carry.unestimatedAngleSegments, 4)
                        .a(" SAND SEGMENT(S) HAVE NEITHER A FRICTION ANGLE NOR A BLOW COUNT;"));
        console.put(textio::Line().x(1).a("         THEIR FRICTION ANGLE IS TAKEN AS 0."));
    }

    RunCapacityAnalysis(*this);

    finishFiles();
    return status;
}

int Run::fail(const std::string& message) {
    faultMessage = message;
    errorStream() << "pileaxial: " << message << '\n';
    if (report.attached()) {
        report.blank(2);
        report.put(textio::Line().x(1).a("COMPUTATION DOES NOT PROCEED BECAUSE OF AN INPUT ERROR:"));
        report.put(textio::Line().x(1).a(message));
    }
    const std::string problem = closeFiles();
    if (!problem.empty() && problem != message) errorStream() << "pileaxial: " << problem << '\n';
    status = kStatusFault;
    return status;
}

void Run::finishFiles() {
    // Everything written so far must have reached the files: a full disk or a lost medium leaves a
    // report that ends early, and such a run must not end as completed.  The files stay open while
    // this is checked, so the message still reaches the report when only the plot file failed.
    if (reportFile_.isOpen() && !reportFile_.stream().flush()) {
        throw InputError("the report file \"" + files.outputName + "\" could not be written in full");
    }
    if (plotFile_.isOpen() && !plotFile_.stream().flush()) {
        throw InputError("the plot-data file \"" + files.plotName + "\" could not be written in full");
    }
    const std::string problem = closeFiles();
    if (!problem.empty()) throw InputError(problem);
}

std::string Run::closeFiles() {
    report.detach();
    plot.detach();
    if (memory_) {
        // Text in memory cannot fail to be written.
        reportWritten_ = reportWritten_ || std::exchange(memory_->reportOpen, false);
        plotWritten_ = plotWritten_ || std::exchange(memory_->plotOpen, false);
        return {};
    }
    // A file whose writing failed is dropped: whatever stood under its name before is better than a
    // file that ends part way.
    std::string problem;
    const auto close = [&problem](OutputFile& file, bool& written, const std::string& what,
                                  const std::string& name) {
        if (!file.isOpen()) return;
        const bool complete = file.stream().flush().good();
        written = file.commit();
        if (!written && problem.empty()) {
            problem = "the " + what + " file \"" + name + "\" could not be " +
                      (complete ? "put in place" : "written in full");
        }
    };
    close(reportFile_, reportWritten_, "report", files.outputName);
    close(plotFile_, plotWritten_, "plot-data", files.plotName);
    return problem;
}

}  // namespace pileaxial
