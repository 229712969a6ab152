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

// The OpenGL unpack alignment (1, 2, 4 or 8) under which rows of `width` pixels of
// `bytesPerPixel` bytes are `stride` bytes apart: the smallest one that rounds a row up to
// exactly the stride. 0 when none does (the rows must then be repacked). A 24-bit preview
// 2 pixels wide has 6-byte rows padded to 8 and needs 4; widths of 4 and more need 1.
[[nodiscard]] int UnpackAlignmentFor(std::int32_t width, std::size_t stride, int bytesPerPixel);

}  // namespace bistrope
