#pragma once
// The limits on preview texture sizes and the upload layout of a preview image.
//
// `maxTexSize` (the settings' "Max tex size") is an unsigned 32-bit number and every
// comparison with it is unsigned, so a negative number typed into the settings reads as a
// very large limit. `hardwareMaxTexSize` is the OpenGL implementation's limit
// (GL_MAX_TEXTURE_SIZE), 0 while it is not known.

#include <cstddef>
#include <cstdint>

namespace bistrope {

// The preview bound used while the implementation's limit is unknown (no rendering
// context): no OpenGL implementation this program meets offers larger textures.
constexpr std::uint32_t kUnknownHardwareTextureLimit = 16384;

struct TextureLimits {
    std::uint32_t maxTexSize = 4096;
    std::uint32_t hardwareMaxTexSize = 0;
};

// What reading the implementation's limit m does to the settings: when m is positive,
// maxTexSize is lowered to m if it is larger (unsigned comparison) and hardwareMaxTexSize
// becomes m. A query that gives nothing usable (m <= 0, as without a current context)
// changes nothing, so a stored limit is not destroyed by a failed query.
[[nodiscard]] TextureLimits ApplyTextureLimit(TextureLimits current, std::int32_t implementationLimit);

// The bound handed to the preview conversion, so that a preview side never exceeds what
// the implementation can hold, whatever was typed into the settings since the start:
// maxTexSize, but at most the largest power of two not above the implementation's limit
// (or kUnknownHardwareTextureLimit while that is unknown). For every maxTexSize that fits
// the implementation this is maxTexSize itself, so 1000 still lets a side reach 1024.
[[nodiscard]] std::uint32_t PreviewSizeLimit(std::uint32_t maxTexSize, std::uint32_t hardwareMaxTexSize);

// The largest power of two not above v (0 for 0).
[[nodiscard]] std::uint32_t FloorPowerOfTwo(std::uint32_t v);

// A preview row of `width` pixels (bytes blue, green, red) widened for the texture upload
// to four bytes a pixel (blue, green, red, 255) at `bgra`. OpenGL implementations keep
// colour textures with four bytes a texel and copy such rows straight in, where three-byte
// rows go through a per-texel conversion several times slower.
void WidenRowToBgra(const std::uint8_t* bgr, std::int32_t width, std::uint8_t* bgra);

}  // namespace bistrope
