#include "engine/large_block.hpp"

#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace pileaxial {

// The block is carved out of an ordinary allocation one alignment larger, with the allocation's own
// address kept just before the block.  Ordinary allocations are what the allocator recycles from run
// to run without handing the memory back to the system (an aligned one of this size is mapped and
// unmapped every time, and each run would pay for fresh pages again).
void* AllocateLargeBlock(std::size_t size) {
    const std::size_t rounded =
        (size + kLargeBlockAlignment - 1) / kLargeBlockAlignment * kLargeBlockAlignment + (size == 0 ? kLargeBlockAlignment : 0);
    void* raw = ::operator new(rounded + kLargeBlockAlignment);
    const auto first = reinterpret_cast<std::uintptr_t>(raw) + sizeof(void*);
    const std::uintptr_t aligned = (first + kLargeBlockAlignment - 1) / kLargeBlockAlignment * kLargeBlockAlignment;
    void* block = reinterpret_cast<void*>(aligned);
    static_cast<void**>(block)[-1] = raw;
#if defined(MADV_HUGEPAGE)
    // Only advice: refused or not, the block is usable as it is.
    (void)::madvise(block, rounded, MADV_HUGEPAGE);
#endif
    return block;
}

void FreeLargeBlock(void* block) noexcept {
    if (block != nullptr) ::operator delete(static_cast<void**>(block)[-1]);
}

}  // namespace pileaxial
