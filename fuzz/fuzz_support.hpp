#pragma once
// Shared by the fuzz targets: stopping with a message when an invariant breaks.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace pileaxial::fuzzing {

// Prints the broken invariant and aborts, so that the fuzzer keeps the input as a crash.
[[noreturn]] inline void Broken(const std::string& what) {
    std::fprintf(stderr, "broken invariant: %s\n", what.c_str());
    std::abort();
}

inline void Require(bool condition, const std::string& what) {
    if (!condition) Broken(what);
}

}  // namespace pileaxial::fuzzing
