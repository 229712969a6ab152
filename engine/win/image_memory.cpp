#include <cstdlib>

#include "engine/image.h"

namespace bistrope::detail {

std::uint8_t* AllocatePixels(std::size_t size) { return static_cast<std::uint8_t*>(std::calloc(size, 1)); }

void FreePixels(std::uint8_t* pixels, std::size_t) { std::free(pixels); }

}  // namespace bistrope::detail
