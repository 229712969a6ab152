#include "engine/jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <jpeglib.h>

#include "engine/file_replace.h"

namespace bistrope {
namespace {

// APP1 payload: "Exif\0\0", a little-endian TIFF header, IFD0 with one ASCII entry.
std::vector<std::uint8_t> ExifSoftwareSegment(const char* software) {
    const std::size_t count = std::strlen(software) + 1;  // with its terminating zero
    std::vector<std::uint8_t> s;
    s.reserve(64 + count);
    for (char c : {'E', 'x', 'i', 'f', '\0', '\0', 'I', 'I', '*', '\0'}) s.push_back(std::uint8_t(c));
    auto u16 = [&](unsigned v) {
        s.push_back(std::uint8_t(v));
        s.push_back(std::uint8_t(v >> 8));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    u32(8);        // IFD0 right after the header
    u16(1);        // one entry
    u16(0x0131);   // Software
    u16(2);        // ASCII
    u32(std::uint32_t(count));
    const std::uint32_t valueAt = 8 + 2 + 12 + 4;
    if (count <= 4) {
        for (std::size_t i = 0; i < 4; ++i) s.push_back(i < count ? std::uint8_t(software[i]) : 0);
    } else {
        u32(valueAt);
    }
    u32(0);  // no next IFD
    if (count > 4) {
        for (std::size_t i = 0; i < count; ++i) s.push_back(std::uint8_t(software[i]));
        if (count & 1) s.push_back(0);
    }
    return s;
}

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->pub.format_message(cinfo, err->message);
    std::longjmp(err->jump, 1);
}
void OnMessage(j_common_ptr, int) {}

bool Encode(jpeg_compress_struct& cinfo, ErrorManager& err, const ConvertedImage& image, int quality,
            const std::vector<std::uint8_t>& exif, unsigned char** buffer, unsigned long* size) {
    if (setjmp(err.jump)) return false;
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(image.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    cinfo.write_JFIF_header = FALSE;  // the EXIF segment comes first
    jpeg_start_compress(&cinfo, TRUE);
    jpeg_write_marker(&cinfo, JPEG_APP0 + 1, exif.data(), unsigned(exif.size()));
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.row(std::int32_t(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const ConvertedImage& image, long long quality, Status& status) {
    std::vector<std::uint8_t> bytes;
    if (image.empty()) {
        status = Status::Error(ErrorCode::NoImage, "there is no image to write");
        return bytes;
    }
    if (image.width() > 65500 || image.height() > 65500) {
        status = Status::Error(ErrorCode::TooLarge, "JPEG files cannot be wider or taller than 65500 pixels");
        return bytes;
    }
    static const std::vector<std::uint8_t> exif = ExifSoftwareSegment(kSoftwareTag);
    jpeg_compress_struct cinfo;
    ErrorManager err;
    std::memset(&cinfo, 0, sizeof cinfo);
    std::memset(&err, 0, sizeof err);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = Encode(cinfo, err, image, ClampJpegQuality(quality), exif, &buffer, &size);
    jpeg_destroy_compress(&cinfo);
    if (ok && buffer) {
        bytes.assign(buffer, buffer + size);
        status = Status::Ok();
    } else {
        status = Status::Error(ErrorCode::WriteFailed, std::string("the JPEG encoder failed (") + err.message + ")");
    }
    std::free(buffer);
    return bytes;
}

Status WriteJpegFile(const std::filesystem::path& path, const ConvertedImage& image, long long quality) {
    const auto u8 = path.u8string();
    const std::string name = "\"" + std::string(u8.begin(), u8.end()) + "\"";
    Status st;
    const std::vector<std::uint8_t> bytes = EncodeJpeg(image, quality, st);
    if (st.ok()) st = detail::ReplaceFileContents(path, bytes.data(), bytes.size());
    if (!st.ok()) st.message = "Cannot write " + name + ": " + st.message;
    return st;
}

}  // namespace bistrope
