#pragma once
// A colour matrix compiled for whole rows: turns rows of 32-bit BGRA source pixels into
// rows of 24-bit BGR pixels. Results equal ApplyColorMatrix (engine/color_matrix.h) for
// every pixel, followed by composition over black by the output alpha
// (c' = round(c * a / 255)); opaque pixels of the fixed matrices are not touched by it.
// Without a matrix the source colours are copied, composed over black the same way.

#include <cstdint>
#include <optional>

#include "engine/color_matrix.h"

namespace bistrope {

// Writes width pixels of BGR from three planes.
void InterleaveBgr(const std::uint8_t* b, const std::uint8_t* g, const std::uint8_t* r, std::uint8_t* dst,
                   std::int32_t width);

class ColorRowConverter {
public:
    explicit ColorRowConverter(const std::optional<ColorMatrix>& matrix);

    // Converts `width` pixels of src (BGRA) into dst (BGR); dst needs 3 * width bytes.
    void ConvertRow(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width) const;

    // The same into three planes of `width` bytes each.
    void ConvertRowPlanes(const std::uint8_t* src, std::uint8_t* blue, std::uint8_t* green, std::uint8_t* red,
                          std::int32_t width) const;

    // True when opaque pixels are converted channel by channel: each output a constant or a
    // function of the same colour component. A row of opaque BGR pixels can then be
    // converted where it lies, giving the bytes ConvertRow gives for those pixels.
    bool ConvertsOpaqueBgrInPlace() const { return inPlace_; }
    void ConvertOpaqueBgrInPlace(std::uint8_t* row, std::int32_t width) const;

    // True when output channel `byteIndex` (0 blue, 1 green, 2 red) is 0 for every
    // pixel, whatever its colour and alpha.
    bool AlwaysZero(int byteIndex) const { return alwaysZero_[byteIndex]; }

private:
    enum class Kind : std::uint8_t { Constant, Single, General, SameAs };
    struct Output {
        Kind kind = Kind::Constant;
        std::uint8_t constant = 0;   // Kind::Constant
        int input = 0;               // Kind::Single: input component; Kind::SameAs: the output to copy
        std::uint8_t lut[256] = {};  // Kind::Single: output byte for each input byte (alpha 255)
        bool uses[3] = {};           // Kind::General: colour inputs with a non-zero element
    };

    void ComputeOpaque(const std::uint8_t* src, std::int32_t n, std::uint8_t* const planes[3]) const;  // red, green, blue
    void ConvertOpaque(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width) const;
    void ConvertTranslucent(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width) const;
    std::uint8_t General(int out, const std::uint8_t* px) const;

    enum class InPlace : std::uint8_t { Keep, Fill, Lut };

    bool hasMatrix_ = false;
    bool inPlace_ = true;
    InPlace inPlaceSteps_[3] = {};  // red, green, blue
    std::uint8_t fill_[3] = {};     // InPlace::Fill
    bool maskOnly_ = false;         // every step Keep or Fill: keepMask_ and fillBits_
    std::uint64_t keepMask_[3] = {};  // bytes of eight BGR pixels: 0xFF kept, 0 filled
    std::uint64_t fillBits_[3] = {};
    bool alwaysZero_[3] = {};  // by byte index: blue, green, red
    bool opaqueStaysOpaque_ = true;  // the matrix maps alpha 255 to 255 whatever the colour
    ColorMatrix matrix_;
    float terms_[4][4][256];  // terms_[in][out][v] = (v / 255.0f) * m[in][out]
    Output outputs_[4];       // red, green, blue, alpha (alpha only used for translucent pixels)
};

}  // namespace bistrope
