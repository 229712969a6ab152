// JPEG decoding with libjpeg-turbo, in both builds (so both give the same pixels): YCbCr,
// RGB and grey straight into BGRA; CMYK and YCCK (Adobe's inverted CMYK included) converted
// here.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "engine/decode_internal.h"

namespace bistrope::detail {
namespace {

struct JpegError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool hitEnd;
};

[[noreturn]] void OnJpegError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    err->pub.format_message(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void OnJpegMessage(j_common_ptr cinfo, int level) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    // A warning about the data ending early: the image is truncated.
    if (level < 0 && err->pub.msg_code == JWRN_JPEG_EOF) err->hitEnd = true;
}

// CMYK as stored (Adobe writes it inverted) to BGRA.
void CmykRowToBgra(const std::uint8_t* in, std::uint8_t* out, std::int32_t width, bool inverted) {
    for (std::int32_t x = 0; x < width; ++x, in += 4, out += 4) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[0] = std::uint8_t((y * k + 127) / 255);
        out[1] = std::uint8_t((m * k + 127) / 255);
        out[2] = std::uint8_t((c * k + 127) / 255);
        out[3] = 255;
    }
}

Status Decode(jpeg_decompress_struct& cinfo, JpegError& err, const std::uint8_t* bytes, std::size_t size,
              const DecodeLimits& limits, RowSink& sink, std::vector<std::uint8_t>& cmykRow) {
    if (setjmp(err.jump)) {
        if (err.hitEnd) return Truncated();
        return Status::Error(ErrorCode::Corrupt, std::string("the JPEG data is damaged (") + err.message + ")");
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (err.hitEnd) return Truncated();

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    const bool bgr = !cmyk && sink.TakesBgr();  // JPEG pixels are opaque
    if (cmyk) {
        cinfo.out_color_space = JCS_CMYK;
    } else if (cinfo.num_components == 1 || cinfo.num_components == 3) {
        cinfo.out_color_space = bgr ? JCS_EXT_BGR : JCS_EXT_BGRA;
    } else {
        return Status::Error(ErrorCode::Unsupported,
                             "JPEG files with " + std::to_string(cinfo.num_components) + " components are not supported");
    }
    // A reduced scale is made in the inverse DCT itself, which costs less the smaller it is.
    if (const int reduction = sink.Reduction(cinfo.image_width, cinfo.image_height);
        reduction == 2 || reduction == 4 || reduction == 8) {
        cinfo.scale_num = 1;
        cinfo.scale_denom = unsigned(reduction);
    }
    jpeg_calc_output_dimensions(&cinfo);
    Status st = sink.Begin(cinfo.output_width, cinfo.output_height, limits);
    if (!st.ok()) return st;
    jpeg_start_decompress(&cinfo);
    if (cmyk) cmykRow.resize(std::size_t(cinfo.output_width) * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        const std::int32_t y = std::int32_t(cinfo.output_scanline);
        std::uint8_t* target = bgr ? sink.BgrRow(y) : sink.Row(y);
        JSAMPROW row = cmyk ? cmykRow.data() : target;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
        if (cmyk) CmykRowToBgra(cmykRow.data(), target, std::int32_t(cinfo.output_width), cinfo.saw_Adobe_marker);
        if (bgr) sink.CommitBgr(y);
        else sink.Commit(y);
        if (err.hitEnd) return Truncated();
    }
    jpeg_finish_decompress(&cinfo);
    if (err.hitEnd) return Truncated();
    return Status::Ok();
}

// Rows straight into a SourceImage.
class SourceSink : public RowSink {
public:
    explicit SourceSink(SourceImage& out) : out_(out) {}
    Status Begin(std::int64_t w, std::int64_t h, const DecodeLimits& limits) override {
        return AllocateSource(w, h, limits, out_);
    }
    std::uint8_t* Row(std::int32_t y) override { return out_.row(y); }
    void Commit(std::int32_t) override {}

private:
    SourceImage& out_;
};

}  // namespace

Status DecodeJpeg(const std::uint8_t* bytes, std::size_t size, const DecodeLimits& limits, SourceImage& out) {
    SourceSink sink(out);
    return DecodeJpegRows(bytes, size, limits, sink);
}

Status DecodeJpegRows(const std::uint8_t* bytes, std::size_t size, const DecodeLimits& limits, RowSink& sink) {
    jpeg_decompress_struct cinfo;
    JpegError err;
    std::memset(&cinfo, 0, sizeof cinfo);
    std::memset(&err, 0, sizeof err);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnJpegError;
    err.pub.emit_message = OnJpegMessage;
    std::vector<std::uint8_t> cmykRow;
    const Status st = Decode(cinfo, err, bytes, size, limits, sink, cmykRow);
    jpeg_destroy_decompress(&cinfo);
    return st;
}

}  // namespace bistrope::detail
