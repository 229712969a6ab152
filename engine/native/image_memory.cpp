// Pixel memory on Linux: blocks of 4 MiB and more are mapped directly, aligned to 2 MiB
// and marked for transparent huge pages, which spares most of the page faults of a
// first write (they dominate the cost of touching a fresh 12-megapixel buffer).
#include <cstdlib>

#include <sys/mman.h>

#include "engine/image.h"

namespace bistrope::detail {
namespace {
constexpr std::size_t kHuge = std::size_t(2) << 20;
constexpr std::size_t kMapFrom = std::size_t(4) << 20;
std::size_t MappedSize(std::size_t size) { return (size + kHuge - 1) & ~(kHuge - 1); }
}  // namespace

std::uint8_t* AllocatePixels(std::size_t size) {
    if (size < kMapFrom) return static_cast<std::uint8_t*>(std::calloc(size, 1));
    const std::size_t mapped = MappedSize(size);
    if (mapped < size) return nullptr;
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
    munmap(pixels, MappedSize(size));
}

}  // namespace bistrope::detail
