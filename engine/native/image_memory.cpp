// Pixel memory on Linux: blocks of 4 MiB and more are mapped directly, aligned to 2 MiB
// and marked for transparent huge pages, which spares most of the page faults of a
// first write (they dominate the cost of touching a fresh 12-megapixel buffer).
//
// Even so the kernel clears every fresh page on its first write, and on this (virtualised)
// machine that was about 45 % of one pair's CPU time in bistrope-cli. So a freed block is
// kept, up to kKeep bytes in all, for the next image of the same mapped size (a batch
// makes pair after pair of one size) and cleared in place when it is taken again, which
// is several times cheaper than faulting in new pages.
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include <sys/mman.h>

#include "engine/image.h"

namespace bistrope::detail {
namespace {
constexpr std::size_t kHuge = std::size_t(2) << 20;
constexpr std::size_t kMapFrom = std::size_t(4) << 20;
constexpr std::size_t kKeep = std::size_t(256) << 20;
std::size_t MappedSize(std::size_t size) { return (size + kHuge - 1) & ~(kHuge - 1); }

struct KeptBlock {
    void* start;
    std::size_t mapped;
};

// Freed mapped blocks, oldest first, and their total size.
struct Kept {
    std::mutex lock;
    std::vector<KeptBlock> blocks;
    std::size_t bytes = 0;
};
Kept& KeptBlocks() {
    static Kept* kept = new Kept;  // never destroyed: images may be freed during exit
    return *kept;
}

void* TakeKept(std::size_t mapped) {
    Kept& kept = KeptBlocks();
    void* start = nullptr;
    {
        const std::lock_guard<std::mutex> guard(kept.lock);
        for (auto it = kept.blocks.begin(); it != kept.blocks.end(); ++it)
            if (it->mapped == mapped) {
                start = it->start;
                kept.bytes -= mapped;
                kept.blocks.erase(it);
                break;
            }
    }
    if (start) std::memset(start, 0, mapped);
    return start;
}

// Keeps the block, giving back the oldest ones beyond kKeep; false when it is too large.
bool Keep(void* start, std::size_t mapped) {
    if (mapped > kKeep) return false;
    Kept& kept = KeptBlocks();
    std::vector<KeptBlock> released;
    {
        const std::lock_guard<std::mutex> guard(kept.lock);
        kept.blocks.push_back({start, mapped});
        kept.bytes += mapped;
        while (kept.bytes > kKeep) {
            released.push_back(kept.blocks.front());
            kept.bytes -= kept.blocks.front().mapped;
            kept.blocks.erase(kept.blocks.begin());
        }
    }
    for (const KeptBlock& b : released) munmap(b.start, b.mapped);
    return true;
}

}  // namespace

std::uint8_t* AllocatePixels(std::size_t size) {
    if (size < kMapFrom) return static_cast<std::uint8_t*>(std::calloc(size, 1));
    const std::size_t mapped = MappedSize(size);
    if (mapped < size) return nullptr;
    if (void* kept = TakeKept(mapped)) return static_cast<std::uint8_t*>(kept);
    // Over-allocate by one huge page to align the start, then give back the slack.
    void* raw = mmap(nullptr, mapped + kHuge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHuge - 1) & ~std::uintptr_t(kHuge - 1);
    if (aligned > start) munmap(raw, aligned - start);
    const std::size_t tail = (start + mapped + kHuge) - (aligned + mapped);
    if (tail) munmap(reinterpret_cast<void*>(aligned + mapped), tail);
#ifdef MADV_HUGEPAGE
    madvise(reinterpret_cast<void*>(aligned), mapped, MADV_HUGEPAGE);
#endif
    return reinterpret_cast<std::uint8_t*>(aligned);
}

void FreePixels(std::uint8_t* pixels, std::size_t size) {
    if (!pixels) return;
    if (size < kMapFrom) {
        std::free(pixels);
        return;
    }
    if (!Keep(pixels, MappedSize(size))) munmap(pixels, MappedSize(size));
}

}  // namespace bistrope::detail
