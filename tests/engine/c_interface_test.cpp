// The C interface of the engine library (engine/pileaxial.h), loaded as a program loads it.
#include <dlfcn.h>

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "engine/pileaxial.h"
#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;
using testing::TempDir;

// The library's functions, looked up by name.
class CInterface : public ::testing::Test {
protected:
    void SetUp() override {
        library_ = dlopen(PILEAXIAL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library_, nullptr) << dlerror();
        lookUp(runFiles, "pileaxial_run_files");
        lookUp(runText, "pileaxial_run_text");
        lookUp(status, "pileaxial_status");
        lookUp(json, "pileaxial_json");
        lookUp(report, "pileaxial_report");
        lookUp(plot, "pileaxial_plot");
        lookUp(messages, "pileaxial_messages");
        lookUp(console, "pileaxial_console");
        lookUp(release, "pileaxial_free");
        lookUp(version, "pileaxial_version");
    }
    void TearDown() override {
        if (library_ != nullptr) dlclose(library_);
    }

    template <class Function>
    void lookUp(Function*& function, const char* name) {
        function = reinterpret_cast<Function*>(dlsym(library_, name));
        ASSERT_NE(function, nullptr) << name;
    }

    // A result released when the test ends.
    auto own(pileaxial_result* result) {
        return std::unique_ptr<pileaxial_result, decltype(release)>(result, release);
    }

    decltype(&pileaxial_run_files) runFiles = nullptr;
    decltype(&pileaxial_run_text) runText = nullptr;
    decltype(&pileaxial_status) status = nullptr;
    decltype(&pileaxial_json) json = nullptr;
    decltype(&pileaxial_report) report = nullptr;
    decltype(&pileaxial_plot) plot = nullptr;
    decltype(&pileaxial_messages) messages = nullptr;
    decltype(&pileaxial_console) console = nullptr;
    decltype(&pileaxial_free) release = nullptr;
    decltype(&pileaxial_version) version = nullptr;
    void* library_ = nullptr;
};

TEST_F(CInterface, RunsOnFilesAndInMemoryAndRefusesNullArguments) {
    // Only the C interface and the entry point are exported: not the engine, not the JSON writer.
    EXPECT_EQ(dlsym(library_, "_ZN9pileaxial3Run7executeERKNS_10RunFileSetE"), nullptr);
    EXPECT_EQ(dlsym(library_, "_ZN9pileaxial6output11ResultsJsonERKNS_3RunE"), nullptr);
    EXPECT_STREQ(version(), PILEAXIAL_VERSION);

    // On files: the report and plot-data file beside the input, and their text in the result.
    TempDir dir;
    const std::string input = dir.write("case.in", CaseText().str());
    auto onFiles = own(runFiles(input.c_str(), nullptr, nullptr, nullptr));
    ASSERT_NE(onFiles, nullptr);
    EXPECT_EQ(status(onFiles.get()), 0) << messages(onFiles.get());
    EXPECT_EQ(report(onFiles.get()), testing::readFile(dir.file("case.out")));
    EXPECT_EQ(plot(onFiles.get()), testing::readFile(dir.file("case.plt")));
    EXPECT_NE(std::string(json(onFiles.get())).find("\"capacityTables\":"), std::string::npos);
    EXPECT_NE(std::string(console(onFiles.get())).find("COMPUTATION IS PROCEEDING"), std::string::npos);

    // In memory: the same plot data, the name given in the report; nothing written on disk.
    auto inMemory = own(runText(CaseText().str().c_str(), nullptr, "memory-case.in"));
    EXPECT_EQ(status(inMemory.get()), 0);
    EXPECT_EQ(std::string(plot(inMemory.get())), plot(onFiles.get()));
    EXPECT_NE(std::string(report(inMemory.get())).find("memory-case.in"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists("memory-case.out"));

    // Null where a name or a text is needed: status 2 with a message, in the JSON too.
    struct Refused {
        const char* what;
        pileaxial_result* result;
        const char* named;
    };
    const Refused refused[] = {
        {"input path", runFiles(nullptr, nullptr, nullptr, nullptr), "input_path is null"},
        {"input text", runText(nullptr, "0 0\n", nullptr), "\"input.in\" (input_text is null)"},
        {"missing file", runFiles(dir.file("none.in").c_str(), nullptr, nullptr, nullptr), "none.in"},
    };
    for (const Refused& r : refused) {
        auto result = own(r.result);
        ASSERT_NE(result, nullptr) << r.what;
        EXPECT_EQ(status(result.get()), 2) << r.what;
        EXPECT_NE(std::string(messages(result.get())).find(r.named), std::string::npos) << r.what;
        EXPECT_NE(std::string(json(result.get())).find("\"status\":2"), std::string::npos) << r.what;
        EXPECT_STREQ(report(result.get()), "") << r.what;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.out")));

    // A null result reads as a fault and may be released.
    EXPECT_EQ(status(nullptr), 2);
    EXPECT_STREQ(report(nullptr), "");
    EXPECT_NE(std::string(json(nullptr)).find("\"status\":2"), std::string::npos);
    release(nullptr);
}

// A title that is not UTF-8 (an older editor's degree sign) reaches the report as read and the JSON
// document as valid text.
TEST_F(CInterface, ATitleInAnotherEncodingStillGivesTheJson) {
    CaseText c;
    c.t1 = "PILE AT 45\xB0 BATTER";
    auto result = own(runText(c.str().c_str(), nullptr, nullptr));
    EXPECT_EQ(status(result.get()), 0) << messages(result.get());
    EXPECT_NE(std::string(report(result.get())).find(c.t1), std::string::npos);
    EXPECT_NE(std::string(json(result.get())).find("\"title\":\"PILE AT 45\xEF\xBF\xBD BATTER\""), std::string::npos);
}

}  // namespace
}  // namespace pileaxial
