// A whole run in memory.  The fuzz data is the input data file, then optionally a line "%%CPT%%" and
// the CPT data file after it (without that line the run has no sounding).  The run's report and plot
// data stay in memory, its console and error stream go to strings, its date is fixed.  The run must
// end with one of its statuses and keep every invariant of fuzz/run_invariants.hpp.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "engine/run.hpp"
#include "fuzz/fuzz_support.hpp"
#include "fuzz/run_invariants.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    constexpr std::string_view kSeparator = "\n%%CPT%%\n";
    pileaxial::RunFileSet files;
    files.inputName = "fuzz.in";
    files.outputName = "fuzz.out";
    files.plotName = "fuzz.plt";
    std::string_view input = all;
    std::string_view cpt;
    if (const std::size_t at = all.find(kSeparator); at != std::string_view::npos) {
        input = all.substr(0, at + 1);
        cpt = all.substr(at + kSeparator.size());
        files.cptName = "fuzz.cpt";
    }
    std::ostringstream console, errors;
    std::istringstream consoleIn;
    pileaxial::RunEnvironment env;
    env.console = &console;
    env.errors = &errors;
    env.consoleIn = &consoleIn;
    env.fixedTime = std::tm{};
    env.fixedTime->tm_year = 126;
    env.fixedTime->tm_mday = 1;
    auto run = std::make_unique<pileaxial::Run>(env);
    run->executeInMemory(files, input, cpt);
    if (const std::string broken = pileaxial::fuzzing::BrokenRunInvariant(*run); !broken.empty()) {
        pileaxial::fuzzing::Broken(broken);
    }
    return 0;
}
