#pragma once
// Storage for the large parts of a run: the model with its grid, the capacity results and the
// load-settlement state, near two megabytes of fixed-capacity arrays of which a run writes a
// scattered part.  From ordinary memory every 4 KiB page of it written for the first time costs a
// trap into the kernel, a few hundred per run, which dominate a short process.  These blocks are
// aligned to and sized in 2 MiB, and the system is asked to back them with large pages where it can,
// so a run's state is provided in one or two steps.  Where large pages are not available the blocks
// behave like any other memory.
#include <cstddef>

namespace pileaxial {

inline constexpr std::size_t kLargeBlockAlignment = std::size_t{2} << 20;

// A block of at least `size` bytes; throws std::bad_alloc when there is no memory for it.
void* AllocateLargeBlock(std::size_t size);
// Releases a block from AllocateLargeBlock; null does nothing.
void FreeLargeBlock(void* block) noexcept;

}  // namespace pileaxial
