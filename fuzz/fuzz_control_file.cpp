// The control file names.dat on any text, with an empty console so that a file that falls short
// cannot wait for an answer.  Every fault must be an InputError; the names of a file that is read
// are those of the three files every run needs, none blank.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "engine/control_file.hpp"
#include "fuzz/fuzz_support.hpp"
#include "textio/input_error.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using pileaxial::fuzzing::Require;
    std::istringstream names(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream console;
    std::istringstream consoleIn;
    try {
        const pileaxial::RunFileSet files = pileaxial::ReadControlFile(names, console, consoleIn);
        Require(!files.inputName.empty() && !files.outputName.empty() && !files.plotName.empty(),
                "a blank file name accepted");
        Require(files.inputName.size() <= 255 && files.outputName.size() <= 255 && files.plotName.size() <= 255 &&
                    files.cptName.size() <= 255,
                "a file name longer than its record");
    } catch (const pileaxial::InputError& e) {
        Require(std::string(e.what()).find("names.dat") != std::string::npos,
                std::string("a control-file message that does not name names.dat: ") + e.what());
    }
    return 0;
}
