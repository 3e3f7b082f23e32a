// The input data file reader on any text.  Every fault must be an InputError that names the file; an
// input that is read must leave its counts within the capacities of their arrays.
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
        pileaxial::ReadInputFile(*model, in, "fuzz.in", true);
    } catch (const pileaxial::InputError& e) {
        Require(std::string(e.what()).rfind("fuzz.in, line ", 0) == 0,
                std::string("an input-file message that does not start with the file and line: ") + e.what());
        return 0;
    }
    const pileaxial::PileModel& p = model->pile;
    const pileaxial::SettlementInput& st = model->settlement;
    Require(model->soil.count >= 1 && model->soil.count <= pileaxial::kMaxSoilPoints, "soil point count");
    Require(p.areaCount >= 0 && p.areaCount <= pileaxial::kMaxAreaRows, "area row count");
    Require(st.verificationCount >= 0 && st.verificationCount <= pileaxial::kMaxVerificationDepths,
            "verification depth count");
    Require(st.tzRowCount >= 0 && st.tzRowCount <= pileaxial::kMaxTzRows, "t-z row count");
    Require(st.tipMovementCount >= 0 && st.tipMovementCount <= pileaxial::kMaxTipMovements, "tip movement count");
    Require(p.lengthIncrement > 0 && p.outsideDiameter > 0 && p.totalLength > 0, "pile geometry accepted");
    return 0;
}
