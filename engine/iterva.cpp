#define PILEAXIAL_BUILDING_LIBRARY
#include "engine/iterva.h"

#include "engine/run.hpp"

extern "C" PILEAXIAL_EXPORT int32_t PILEAXIAL_CALL ITERVA(int32_t /*unused1*/, int32_t /*unused2*/) {
    // Nothing may escape through the C interface: every fault becomes a status.
    try {
        pileaxial::Run run;
        return run.executeFromControlFile();
    } catch (...) {
        return pileaxial::kStatusFault;
    }
}
