// The C library interface (engine/pileaxial.h): one run object per call, its streams captured, its
// results gathered into a result handle.  Compiled into the shared library only.
#define PILEAXIAL_BUILDING_LIBRARY
#include "engine/pileaxial.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <sstream>
#include <string>

#include "engine/run.hpp"
#include "output/json_results.hpp"

struct pileaxial_result {
    int32_t status = pileaxial::kStatusFault;
    std::string json;
    std::string report;
    std::string plot;
    std::string messages;
    std::string console;
};

namespace {

// The document of a result whose own could not be put together: the only cause left once the run
// has caught its faults is memory running out.
static_assert(pileaxial::output::kJsonSchemaVersion == 1, "the fallback document below is of schema version 1");
constexpr const char* kOutOfMemoryJson =
    "{\"schema_version\":1,\"program\":\"pileaxial\",\"version\":\"" PILEAXIAL_VERSION
    "\",\"status\":2,\"statusName\":\"fault\",\"message\":\"out of memory\","
    "\"files\":{\"input\":\"\",\"report\":\"\",\"plot\":\"\",\"cpt\":\"\"}}";

std::string jsonText(const nlohmann::json& doc) {
    // A title or a file name in another encoding than UTF-8 would make the writer throw; such bytes
    // are replaced in the document (the report keeps them as read).
    return doc.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// The report and plot-data names the command-line program gives a case when none are given.
std::string besideInput(const std::string& input, const char* extension) {
    std::filesystem::path path(input);
    path.replace_extension(extension);
    return path.string();
}

std::string given(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

std::optional<std::string> readWhole(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return text;
}

// Marks a result as failed after the run (which catches its own faults) or around it.  Never throws.
void setFault(pileaxial_result& result, const char* message) noexcept {
    result.status = pileaxial::kStatusFault;
    try {
        result.messages += std::string("pileaxial: ") + message + "\n";
        nlohmann::json doc = {{"schema_version", pileaxial::output::kJsonSchemaVersion},
                              {"program", "pileaxial"},
                              {"version", PILEAXIAL_VERSION},
                              {"status", pileaxial::kStatusFault},
                              {"statusName", "fault"},
                              {"message", message},
                              {"files", {{"input", ""}, {"report", ""}, {"plot", ""}, {"cpt", ""}}}};
        result.json = jsonText(doc);
    } catch (...) {
        result.json.clear();  // pileaxial_json then gives the out-of-memory document
    }
}

// One whole run: a run object with its console and error stream captured, nothing read from standard
// input, handed to `body` (which executes it, or fails it at once), then its results gathered.
template <class Body>
pileaxial_result* runGuarded(bool onFiles, Body body) noexcept {
    auto* result = new (std::nothrow) pileaxial_result;
    if (result == nullptr) return nullptr;
    try {
        std::ostringstream console;
        std::ostringstream errors;
        std::istringstream noConsoleInput;
        pileaxial::RunEnvironment env;
        env.console = &console;
        env.errors = &errors;
        env.consoleIn = &noConsoleInput;
        env.inputsBeforeOutputs = true;  // a missing input leaves no report or plot-data file behind
        pileaxial::UseSourceDateEpoch(env, errors);
        // The run object is a few hundred kilobytes: keep it off the caller's thread stack.
        auto run = std::make_unique<pileaxial::Run>(env);
        result->status = body(*run);
        result->messages = errors.str();
        result->console = console.str();
        if (onFiles) {
            const auto readBack = [&](bool written, const std::string& name, std::string& text, const char* what) {
                if (!written) return;
                if (std::optional<std::string> whole = readWhole(name)) {
                    text = std::move(*whole);
                } else {
                    result->messages += std::string("pileaxial: the ") + what + " file \"" + name +
                                        "\" was written but could not be read back\n";
                }
            };
            readBack(run->reportWritten(), run->files.outputName, result->report, "report");
            readBack(run->plotWritten(), run->files.plotName, result->plot, "plot-data");
        } else {
            result->report = run->reportText();
            result->plot = run->plotText();
        }
        result->json = jsonText(pileaxial::output::ResultsJson(*run));
    } catch (const std::bad_alloc&) {
        setFault(*result, "out of memory");
    } catch (const std::exception& e) {
        try {
            setFault(*result, (std::string("internal error: ") + e.what()).c_str());
        } catch (...) {
            setFault(*result, "internal error");
        }
    } catch (...) {
        setFault(*result, "internal error");
    }
    return result;
}

const char* textOf(const pileaxial_result* result, std::string pileaxial_result::*member) {
    return result != nullptr ? (result->*member).c_str() : "";
}

}  // namespace

extern "C" {

PILEAXIAL_API pileaxial_result* pileaxial_run_files(const char* input_path, const char* cpt_path,
                                                    const char* report_path, const char* plot_path) {
    return runGuarded(true, [&](pileaxial::Run& run) {
        if (input_path == nullptr) return run.fail("no input data file was given (input_path is null)");
        pileaxial::RunFileSet files;
        files.inputName = input_path;
        files.cptName = given(cpt_path);
        files.outputName = given(report_path);
        if (files.outputName.empty()) files.outputName = besideInput(files.inputName, ".out");
        files.plotName = given(plot_path);
        if (files.plotName.empty()) files.plotName = besideInput(files.inputName, ".plt");
        return run.execute(files);
    });
}

PILEAXIAL_API pileaxial_result* pileaxial_run_text(const char* input_text, const char* cpt_text, const char* name) {
    return runGuarded(false, [&](pileaxial::Run& run) {
        pileaxial::RunFileSet labels;
        labels.inputName = given(name);
        if (labels.inputName.empty()) labels.inputName = "input.in";
        labels.outputName = besideInput(labels.inputName, ".out");
        labels.plotName = besideInput(labels.inputName, ".plt");
        if (cpt_text != nullptr) labels.cptName = besideInput(labels.inputName, ".cpt");
        if (input_text == nullptr) {
            run.files = labels;
            return run.fail("no input data was given for \"" + labels.inputName + "\" (input_text is null)");
        }
        return run.executeInMemory(labels, input_text, cpt_text != nullptr ? cpt_text : "");
    });
}

PILEAXIAL_API int32_t pileaxial_status(const pileaxial_result* result) {
    return result != nullptr ? result->status : pileaxial::kStatusFault;
}

PILEAXIAL_API const char* pileaxial_json(const pileaxial_result* result) {
    return result != nullptr && !result->json.empty() ? result->json.c_str() : kOutOfMemoryJson;
}

PILEAXIAL_API const char* pileaxial_report(const pileaxial_result* result) {
    return textOf(result, &pileaxial_result::report);
}

PILEAXIAL_API const char* pileaxial_plot(const pileaxial_result* result) {
    return textOf(result, &pileaxial_result::plot);
}

PILEAXIAL_API const char* pileaxial_messages(const pileaxial_result* result) {
    return textOf(result, &pileaxial_result::messages);
}

PILEAXIAL_API const char* pileaxial_console(const pileaxial_result* result) {
    return textOf(result, &pileaxial_result::console);
}

PILEAXIAL_API void pileaxial_free(pileaxial_result* result) { delete result; }

PILEAXIAL_API const char* pileaxial_version(void) { return PILEAXIAL_VERSION; }

}  // extern "C"
