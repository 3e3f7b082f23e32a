// The CPT data file reader on any text.  Every fault must be an InputError that names the file; a
// sounding that is read has a count within its capacity, depths that do not go up and cone values
// that are not negative.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.hpp"
#include "input/input_reader.hpp"
#include "textio/input_error.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using pileaxial::fuzzing::Require;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    auto model = std::make_unique<pileaxial::Model>();
    try {
        pileaxial::ReadCptFile(*model, in, "fuzz.cpt");
    } catch (const pileaxial::InputError& e) {
        Require(std::string(e.what()).rfind("fuzz.cpt, line ", 0) == 0,
                std::string("a CPT-file message that does not start with the file and line: ") + e.what());
        return 0;
    }
    const pileaxial::CptSounding& cpt = model->cpt;
    Require(cpt.cptPointCount >= 0 && cpt.cptPointCount <= pileaxial::kMaxCptPoints, "CPT point count");
    for (int i = 1; i <= cpt.cptPointCount; ++i) {
        Require(cpt.cptValue[i] >= 0, "a negative cone value accepted");
        if (i > 1) Require(cpt.cptDepth[i] >= cpt.cptDepth[i - 1], "a sounding going up accepted");
    }
    return 0;
}
