// PNG decoding with libpng: every colour type and depth expanded to 8-bit BGRA
// (palette with transparency, grey, 16-bit scaled down, interlaced).
#include <csetjmp>
#include <cstring>
#include <vector>

#include <png.h>

#include "engine/native/native_decoders.h"

namespace bistrope::detail {
namespace {

struct PngReader {
    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t pos;
    bool hitEnd;
    char message[256];
};

void OnPngRead(png_structp png, png_bytep data, png_size_t length) {
    auto* r = static_cast<PngReader*>(png_get_io_ptr(png));
    if (length > r->size - r->pos) {
        r->hitEnd = true;
        png_error(png, "the data ends early");
    }
    std::memcpy(data, r->bytes + r->pos, length);
    r->pos += length;
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
    auto* r = static_cast<PngReader*>(png_get_error_ptr(png));
    std::snprintf(r->message, sizeof r->message, "%s", message ? message : "unknown error");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

Status Decode(png_structp png, png_infop info, PngReader& reader, const DecodeLimits& limits, SourceImage& out,
              std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) {
        if (reader.hitEnd) return Truncated();
        return Status::Error(ErrorCode::Corrupt, std::string("the PNG data is damaged (") + reader.message + ")");
    }
    png_set_read_fn(png, &reader, OnPngRead);
    png_set_user_limits(png, std::uint32_t(limits.maxSide), std::uint32_t(limits.maxSide));
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colorType = png_get_color_type(png, info);
    Status st = AllocateSource(width, height, limits, out);
    if (!st.ok()) return st;

    png_set_expand(png);  // palette to RGB, tRNS to alpha, low-bit grey to 8 bits
    png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);  // no effect when alpha is present
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t(width) * 4)
        return Status::Error(ErrorCode::Unsupported, "this PNG variant is not supported");
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = out.row(std::int32_t(y));
    png_read_image(png, rows.data());
    // The image is complete; damage after it (a bad chunk after IDAT) does not matter.
    return Status::Ok();
}

}  // namespace

Status DecodePng(const std::uint8_t* bytes, std::size_t size, const DecodeLimits& limits, SourceImage& out) {
    PngReader reader{bytes, size, 0, false, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reader, OnPngError, OnPngWarning);
    if (!png) return OutOfMemory(0, 0);
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return OutOfMemory(0, 0);
    }
    std::vector<png_bytep> rows;
    const Status st = Decode(png, info, reader, limits, out, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    return st;
}

}  // namespace bistrope::detail
