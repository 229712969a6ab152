#include "engine/jpeg_writer.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <jpeglib.h>

#include "engine/file_replace.h"
#include "engine/parallel.h"

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

// Rows [y0, y1) of the image as one JPEG file; with restarts, a restart marker after
// every row of 8 x 8 blocks.
bool Encode(jpeg_compress_struct& cinfo, ErrorManager& err, const ConvertedImage& image, std::int32_t y0,
            std::int32_t y1, bool restarts, int quality, const std::vector<std::uint8_t>& exif, unsigned char** buffer,
            unsigned long* size) {
    if (setjmp(err.jump)) return false;
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(y1 - y0);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    cinfo.write_JFIF_header = FALSE;  // the EXIF segment comes first
    if (restarts) cinfo.restart_in_rows = 1;
    jpeg_start_compress(&cinfo, TRUE);
    jpeg_write_marker(&cinfo, JPEG_APP0 + 1, exif.data(), unsigned(exif.size()));
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.row(y0 + std::int32_t(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

// One JPEG file of rows [y0, y1); empty with a reason on failure.
std::vector<std::uint8_t> EncodeRows(const ConvertedImage& image, std::int32_t y0, std::int32_t y1, bool restarts,
                                     int quality, Status& status) {
    static const std::vector<std::uint8_t> exif = ExifSoftwareSegment(kSoftwareTag);
    std::vector<std::uint8_t> bytes;
    jpeg_compress_struct cinfo;
    ErrorManager err;
    std::memset(&cinfo, 0, sizeof cinfo);
    std::memset(&err, 0, sizeof err);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = Encode(cinfo, err, image, y0, y1, restarts, quality, exif, &buffer, &size);
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

// Where the entropy-coded data of a single-scan JPEG file starts (after the SOS segment)
// and where its frame header's height is; false when the file is not as expected.
bool FindScan(const std::vector<std::uint8_t>& b, std::size_t& scanAt, std::size_t& heightAt) {
    std::size_t i = 2;
    heightAt = 0;
    while (i + 4 <= b.size() && b[i] == 0xFF) {
        const int marker = b[i + 1];
        const std::size_t length = std::size_t(b[i + 2]) << 8 | b[i + 3];
        if (marker == 0xC0) heightAt = i + 5;
        if (marker == 0xDA) {
            scanAt = i + 2 + length;
            return heightAt != 0 && scanAt + 2 <= b.size();
        }
        i += 2 + length;
    }
    return false;
}

// Large images are encoded in bands on all worker threads: each band a JPEG file of its
// own with a restart marker after every row of blocks, its scan data appended to the
// first band's with one more restart marker in between. Bands hold a multiple of 8 block
// rows, so the markers' numbers (0 to 7 in turn) continue across them, and the first band's
// headers (with the full height) serve the whole file.
std::vector<std::uint8_t> EncodeInBands(const ConvertedImage& image, int quality, int bands, Status& status) {
    const std::int32_t blockRows = (image.height() + 7) / 8;
    const std::int32_t perBand = ((blockRows + bands - 1) / bands + 7) / 8 * 8;
    std::vector<std::vector<std::uint8_t>> parts(static_cast<std::size_t>(bands));
    std::vector<Status> results(static_cast<std::size_t>(bands));
    ParallelRows(
        bands,
        [&](std::int32_t b0, std::int32_t b1) {
            for (std::int32_t b = b0; b < b1; ++b) {
                const std::int32_t y0 = std::min(image.height(), b * perBand * 8);
                const std::int32_t y1 = std::min(image.height(), (b + 1) * perBand * 8);
                if (y0 < y1) parts[std::size_t(b)] = EncodeRows(image, y0, y1, true, quality, results[std::size_t(b)]);
            }
        },
        std::int64_t(1) << 20);
    for (const Status& r : results)
        if (!r.ok()) {
            status = r;
            return {};
        }
    std::vector<std::uint8_t> out = std::move(parts[0]);
    std::size_t scanAt = 0, heightAt = 0;
    if (!FindScan(out, scanAt, heightAt)) {
        status = Status::Error(ErrorCode::WriteFailed, "the JPEG encoder wrote an unexpected file");
        return {};
    }
    out[heightAt] = std::uint8_t(image.height() >> 8);
    out[heightAt + 1] = std::uint8_t(image.height());
    out.resize(out.size() - 2);  // its end-of-image marker
    for (std::size_t b = 1; b < parts.size(); ++b) {
        const std::vector<std::uint8_t>& part = parts[b];
        if (part.empty()) continue;
        std::size_t partScan = 0, partHeight = 0;
        if (!FindScan(part, partScan, partHeight)) {
            status = Status::Error(ErrorCode::WriteFailed, "the JPEG encoder wrote an unexpected file");
            return {};
        }
        out.push_back(0xFF);
        out.push_back(0xD7);  // restart 7: every band before this one had a multiple of 8 intervals
        out.insert(out.end(), part.begin() + std::ptrdiff_t(partScan), part.end() - 2);
    }
    out.push_back(0xFF);
    out.push_back(0xD9);
    status = Status::Ok();
    return out;
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const ConvertedImage& image, long long quality, Status& status, int threads) {
    if (image.empty()) {
        status = Status::Error(ErrorCode::NoImage, "there is no image to write");
        return {};
    }
    if (image.width() > 65500 || image.height() > 65500) {
        status = Status::Error(ErrorCode::TooLarge, "JPEG files cannot be wider or taller than 65500 pixels");
        return {};
    }
    const int q = ClampJpegQuality(quality);
    int bands = threads > 0 ? threads : WorkerCount();
    // Below about a megapixel, or when a band would hold fewer than 8 block rows, one
    // thread does it all.
    bands = std::min(bands, (image.height() + 63) / 64);
    if (threads <= 0 && std::int64_t(image.width()) * image.height() < (1 << 20)) bands = 1;
    if (bands > 1) return EncodeInBands(image, q, bands, status);
    return EncodeRows(image, 0, image.height(), false, q, status);
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
