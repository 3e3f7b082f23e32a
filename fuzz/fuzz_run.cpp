// A whole run in memory.  The fuzz data is the input data file, then optionally a line "%%CPT%%" and
// the CPT data file after it (without that line the run has no sounding).  The run's report and plot
// data stay in memory, its console and error stream go to strings, its date is fixed.  The run must
// end with one of its statuses and keep every invariant of fuzz/run_invariants.hpp.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

#include "engine/run.hpp"
#include "fuzz/fuzz_support.hpp"
#include "fuzz/run_invariants.hpp"

// A run allocates a few large blocks (its capacity and load-settlement results).  Under
// AddressSanitizer every block that large is mapped afresh and unmapped again, and the page faults of
// touching it cost far more than the run itself; so this harness keeps a few freed large blocks for the
// next run of the same size.  Everything else goes to the sanitizer's allocator as usual.
namespace {

constexpr std::size_t kLargeBlock = 64 * 1024;
constexpr int kKeptBlocks = 8;
struct KeptBlock {
    void* block = nullptr;
    std::size_t size = 0;
};
KeptBlock kept[kKeptBlocks];  // this harness is single-threaded

void* allocate(std::size_t size) {
    if (size >= kLargeBlock) {
        for (KeptBlock& k : kept) {
            if (k.block != nullptr && k.size == size) return std::exchange(k.block, nullptr);
        }
    }
    // The size goes in front of the block, so that a sized or unsized delete can tell large blocks.
    void* raw = std::malloc(size + alignof(std::max_align_t));
    if (raw == nullptr) throw std::bad_alloc();
    *static_cast<std::size_t*>(raw) = size;
    return static_cast<char*>(raw) + alignof(std::max_align_t);
}

void release(void* block) noexcept {
    if (block == nullptr) return;
    void* raw = static_cast<char*>(block) - alignof(std::max_align_t);
    const std::size_t size = *static_cast<std::size_t*>(raw);
    if (size >= kLargeBlock) {
        for (KeptBlock& k : kept) {
            if (k.block == nullptr) {
                k = {block, size};
                return;
            }
        }
    }
    std::free(raw);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { release(block); }

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
