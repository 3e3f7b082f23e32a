#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>

// Linked into every fuzz target.  A run and a model are large blocks (the model, the capacity and the
// load-settlement results).  Under AddressSanitizer every block that large is mapped afresh and
// unmapped again, and the page faults of touching it cost far more than reading or running the case;
// so the targets keep a few freed large blocks for the next execution that asks for the same size.
// Everything else goes to the sanitizer's allocator as usual, which still guards every block's ends.
// The run's own large blocks come aligned (engine/large_block.hpp) and are kept the same way.
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

// Aligned blocks: the ones in use are listed with their sizes, since an aligned delete is not told
// the size.
struct AlignedBlock {
    void* block = nullptr;
    std::size_t size = 0;
    std::size_t alignment = 0;
};
AlignedBlock keptAligned[kKeptBlocks];
AlignedBlock liveAligned[kKeptBlocks];

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    const auto align = static_cast<std::size_t>(alignment);
    void* block = nullptr;
    for (AlignedBlock& k : keptAligned) {
        if (k.block != nullptr && k.size == size && k.alignment == align) {
            block = std::exchange(k.block, nullptr);
            break;
        }
    }
    if (block == nullptr) {
        block = std::aligned_alloc(align, (size + align - 1) / align * align);
        if (block == nullptr) throw std::bad_alloc();
    }
    for (AlignedBlock& l : liveAligned) {
        if (l.block == nullptr) {
            l = {block, size, align};
            break;
        }
    }
    return block;
}

void releaseAligned(void* block) noexcept {
    if (block == nullptr) return;
    for (AlignedBlock& l : liveAligned) {
        if (l.block != block) continue;
        const AlignedBlock freed = std::exchange(l, AlignedBlock{});
        for (AlignedBlock& k : keptAligned) {
            if (k.block == nullptr) {
                k = freed;
                return;
            }
        }
        break;
    }
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void operator delete(void* block, std::align_val_t) noexcept { releaseAligned(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { releaseAligned(block); }

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

