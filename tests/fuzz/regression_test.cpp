// Inputs the fuzzers once broke the engine with, kept in fuzz/regressions (NAME.in, with NAME.cpt when
// the run has a sounding).  Each runs whole in memory and must keep every invariant the whole-run fuzz
// target checks (fuzz/run_invariants.hpp): a status of 0, 1 or 2, a fault message naming the file, only
// finite results and no asterisks for a value that fits its field.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/run.hpp"
#include "fuzz/run_invariants.hpp"
#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

TEST(FuzzRegressions, EveryKeptInputKeepsTheRunInvariants) {
    const std::filesystem::path dir = std::filesystem::path(PILEAXIAL_SOURCE_DIR) / "fuzz" / "regressions";
    ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() == ".in") inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    ASSERT_FALSE(inputs.empty());
    for (const std::filesystem::path& input : inputs) {
        SCOPED_TRACE(input.filename().string());
        std::filesystem::path cpt = input;
        cpt.replace_extension(".cpt");
        RunFileSet files;
        files.inputName = input.filename().string();
        files.outputName = input.stem().string() + ".out";
        files.plotName = input.stem().string() + ".plt";
        std::string cptText;
        if (std::filesystem::exists(cpt)) {
            files.cptName = cpt.filename().string();
            cptText = testing::readFile(cpt.string());
        }
        std::ostringstream console, errors;
        std::istringstream consoleIn;
        RunEnvironment env = testing::capturingEnvironment(console, errors, testing::fixedTime(2026, 1, 1, 0, 0, 0));
        env.consoleIn = &consoleIn;
        auto run = std::make_unique<pileaxial::Run>(env);
        run->executeInMemory(files, testing::readFile(input.string()), cptText);
        EXPECT_EQ(fuzzing::BrokenRunInvariant(*run), "") << "status " << run->status << ": " << run->faultMessage;
    }
}

}  // namespace
}  // namespace pileaxial
