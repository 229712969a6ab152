#pragma once
// Image buffers of the engine.
//
// Conventions (every pixel operation of the engine uses them):
//   * Rows are stored top row first; x grows to the right, y downwards.
//   * Pixel (i, j) covers the square [i, i+1) x [j, j+1); its centre is (i + 0.5, j + 0.5).
//   * SourceImage: a decoded file, 32 bits per pixel, bytes blue, green, red, alpha in that
//     memory order (straight, not premultiplied alpha); stride = 4 * width.
//   * ConvertedImage: the result of a colour-matrix conversion, 24 bits per pixel, bytes
//     blue, green, red; every row padded to a multiple of 4 bytes,
//     stride = (3 * width + 3) & ~3. Padding bytes are zero.
//   * GreyImage: one byte a pixel (the luma of a source for the aligner), rows padded to a
//     multiple of 4 bytes.
//   * Buffers never throw: Create returns an empty image when a side is not positive, the
//     size overflows, or the memory cannot be had. A new image is all zero (black,
//     transparent).
//   * Images are move-only; Clone makes an explicit copy (empty on failure).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

namespace bistrope {

namespace detail {
// Zeroed pixel memory (large blocks are given huge pages where the system allows it);
// nullptr on failure. Released with FreePixels and the same size.
std::uint8_t* AllocatePixels(std::size_t size);
void FreePixels(std::uint8_t* pixels, std::size_t size);
}  // namespace detail

template <int BytesPerPixel>
class BasicImage {
public:
    static constexpr int kBytesPerPixel = BytesPerPixel;

    BasicImage() = default;
    BasicImage(BasicImage&&) noexcept = default;
    BasicImage& operator=(BasicImage&&) noexcept = default;
    BasicImage(const BasicImage&) = delete;
    BasicImage& operator=(const BasicImage&) = delete;

    // Row stride in bytes for a width, or 0 when it does not fit.
    static std::size_t StrideFor(std::int32_t width) {
        if (width <= 0) return 0;
        const std::size_t row = std::size_t(width) * BytesPerPixel;
        return (row + 3) & ~std::size_t(3);
    }

    // A zeroed image of that size; empty when the size is not positive or cannot be allocated.
    [[nodiscard]] static BasicImage Create(std::int32_t width, std::int32_t height) {
        BasicImage image;
        if (width <= 0 || height <= 0) return image;
        const std::size_t stride = StrideFor(width);
        if (std::size_t(height) > std::numeric_limits<std::size_t>::max() / stride) return image;
        const std::size_t size = std::size_t(height) * stride;
        std::uint8_t* memory = detail::AllocatePixels(size);
        if (!memory) return image;
        image.pixels_ = Pixels(memory, PixelDeleter{size});
        image.width_ = width;
        image.height_ = height;
        image.stride_ = stride;
        return image;
    }

    // A copy of this image; empty when this one is empty or memory runs out.
    [[nodiscard]] BasicImage Clone() const {
        BasicImage copy = Create(width_, height_);
        if (!copy.empty()) std::memcpy(copy.data(), data(), sizeBytes());
        return copy;
    }

    [[nodiscard]] bool empty() const { return !pixels_; }
    explicit operator bool() const { return !empty(); }

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::size_t stride() const { return stride_; }
    std::size_t sizeBytes() const { return stride_ * std::size_t(height_); }

    std::uint8_t* data() { return pixels_.get(); }
    const std::uint8_t* data() const { return pixels_.get(); }
    std::uint8_t* row(std::int32_t y) { return pixels_.get() + std::size_t(y) * stride_; }
    const std::uint8_t* row(std::int32_t y) const { return pixels_.get() + std::size_t(y) * stride_; }

    // Cuts the image down to the w x h rectangle at (x, y), in its own memory: the rows move
    // to the start at the narrower stride and their padding is cleared. False, with nothing
    // changed, when the rectangle is empty or not inside the image.
    bool CropInPlace(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
        if (w <= 0 || h <= 0 || x < 0 || y < 0 || x > width_ - w || y > height_ - h) return false;
        if (w == width_ && h == height_) return true;
        const std::size_t stride = StrideFor(w), used = std::size_t(w) * BytesPerPixel;
        // Row j moves from at least as far on as it lands, so going down in order never
        // overwrites a row still to be moved.
        for (std::int32_t j = 0; j < h; ++j) {
            std::uint8_t* to = data() + std::size_t(j) * stride;
            std::memmove(to, row(y + j) + std::size_t(x) * BytesPerPixel, used);
            std::memset(to + used, 0, stride - used);
        }
        width_ = w;
        height_ = h;
        stride_ = stride;
        return true;
    }

    // Releases the pixels; the image becomes empty.
    void reset() { *this = BasicImage(); }

private:
    struct PixelDeleter {
        std::size_t size = 0;
        void operator()(std::uint8_t* p) const { detail::FreePixels(p, size); }
    };
    using Pixels = std::unique_ptr<std::uint8_t[], PixelDeleter>;
    Pixels pixels_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::size_t stride_ = 0;
};

// A decoded image: 32-bit blue, green, red, alpha.
using SourceImage = BasicImage<4>;
// A converted image: 24-bit blue, green, red, rows padded to 4 bytes.
using ConvertedImage = BasicImage<3>;
// A greyscale image: one byte a pixel.
using GreyImage = BasicImage<1>;

}  // namespace bistrope
