#pragma once
// Test files written with the format libraries themselves (independently of the engine's
// decoders), a scratch folder, and small image helpers.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/image.h"

namespace bistrope::test {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

void WriteBytes(const fs::path& path, const Bytes& bytes);
Bytes ReadBytes(const fs::path& path);

// PNG with libpng. `pixels` holds rows top first, `channels` samples of `bitDepth` bits
// per pixel, big-endian for 16 bits, packed for less than 8 bits.
struct PngSpec {
    int width = 1, height = 1;
    int colorType = 2;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    Bytes pixels;
    std::vector<std::uint8_t> paletteRgb;  // 3 bytes per entry
    std::vector<std::uint8_t> trns;        // alpha per palette entry
};
Bytes EncodePng(const PngSpec& spec);

// JPEG with libjpeg: components 1 (grey), 3 (RGB input) or 4 (CMYK as stored, with the
// Adobe marker, which marks the values as inverted).
Bytes EncodeJpegRaw(int width, int height, int components, const Bytes& samples, int quality = 95);

// A GIF with one or more frames of the same size, 4-colour global palette, optional
// transparent index for the first frame.
Bytes EncodeGif(int width, int height, const std::vector<Bytes>& frames, const std::vector<std::uint8_t>& paletteRgb,
                int transparentIndex = -1);

// An RGB (or RGBA) TIFF, uncompressed or LZW.
Bytes EncodeTiff(int width, int height, int channels, const Bytes& samples, bool lzw);

// A BMP: bits 1/4/8 (with palette BGRx), 24, 32 (BI_RGB, or BI_BITFIELDS with alpha when
// alphaMask), topDown. `rows` are the stored rows, top first, already padded.
Bytes EncodeBmp(int width, int height, int bits, const std::vector<Bytes>& rows, const Bytes& paletteBgrx,
                bool topDown, bool alphaMask = false);

// Random and gradient images.
SourceImage MakeSource(int width, int height, const std::function<void(int x, int y, std::uint8_t* bgra)>& fill);
SourceImage RandomSource(int width, int height, unsigned seed, bool opaque = true);

}  // namespace bistrope::test
