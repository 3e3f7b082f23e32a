#include "engine/large_block.hpp"

#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace pileaxial {

void* AllocateLargeBlock(std::size_t size) {
    const std::size_t rounded = (size + kLargeBlockAlignment - 1) / kLargeBlockAlignment * kLargeBlockAlignment;
    void* block = ::operator new(rounded == 0 ? kLargeBlockAlignment : rounded, std::align_val_t{kLargeBlockAlignment});
#if defined(MADV_HUGEPAGE)
    // Only advice: refused or not, the block is usable as it is.
    (void)::madvise(block, rounded, MADV_HUGEPAGE);
#endif
    return block;
}

void FreeLargeBlock(void* block) noexcept { ::operator delete(block, std::align_val_t{kLargeBlockAlignment}); }

}  // namespace pileaxial
