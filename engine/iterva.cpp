#define PILEAXIAL_BUILDING_LIBRARY
#include "engine/iterva.h"

#include <iostream>
#include <memory>

#include "engine/run.hpp"

extern "C" PILEAXIAL_EXPORT int32_t PILEAXIAL_CALL ITERVA(int32_t /*unused1*/, int32_t /*unused2*/) {
    // Nothing may escape through the C interface: every fault becomes a status.
    try {
        pileaxial::RunEnvironment env;
        pileaxial::UseSourceDateEpoch(env, std::cerr);
        // The run object is a few hundred kilobytes: keep it off the caller's thread stack.
        auto run = std::make_unique<pileaxial::Run>(env);
        return run->executeFromControlFile();
    } catch (...) {
        return pileaxial::kStatusFault;
    }
}
