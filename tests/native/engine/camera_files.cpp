#include "camera_files.h"

#include "engine/jpeg_writer.h"

namespace bistrope::test {
namespace {

void Put(Bytes& out, bool be, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(v >> 8 * (be ? bytes - 1 - i : i)));
}
// A TIFF header whose IFD0 follows it, with n entries.
Bytes TiffStart(Bytes out, bool be, std::uint32_t n) {
    out.insert(out.end(), 2, std::uint8_t(be ? 'M' : 'I'));
    Put(out, be, 42, 2), Put(out, be, 8, 4), Put(out, be, n, 2);
    return out;
}

}  // namespace

Bytes TiffWithEntry(bool be, std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
    Bytes b = TiffStart({}, be, 1);
    Put(b, be, tag, 2), Put(b, be, type, 2), Put(b, be, count, 4);
    Put(b, be, value, type == 3 ? 2 : 4), Put(b, be, 0, type == 3 ? 2 : 0), Put(b, be, 0, 4);
    return b;
}

Bytes RgbTiff(int w, int h, const Bytes& rgb, int orientation, bool be) {
    const std::uint32_t n = orientation ? 10 : 9, bitsAt = 8 + 2 + 12 * n + 4, size = std::uint32_t(w * h * 3);
    Bytes b = TiffStart({}, be, n);
    auto entry = [&](std::uint32_t tag, std::uint32_t type, std::uint32_t count, std::uint32_t value) {
        Put(b, be, tag, 2), Put(b, be, type, 2), Put(b, be, count, 4);
        Put(b, be, value, type == 3 && count == 1 ? 2 : 4), Put(b, be, 0, type == 3 && count == 1 ? 2 : 0);
    };
    entry(256, 3, 1, std::uint32_t(w)), entry(257, 3, 1, std::uint32_t(h)), entry(258, 3, 3, bitsAt);
    entry(259, 3, 1, 1), entry(262, 3, 1, 2), entry(273, 4, 1, bitsAt + 6);
    if (orientation) entry(274, 3, 1, std::uint32_t(orientation));
    entry(277, 3, 1, 3), entry(278, 3, 1, std::uint32_t(h)), entry(279, 4, 1, size);
    Put(b, be, 0, 4);
    for (int i = 0; i < 3; ++i) Put(b, be, 8, 2);
    b.insert(b.end(), rgb.begin(), rgb.end());
    return b;
}

Bytes EngineJpeg(int width, int height, const std::function<void(int, int, std::uint8_t*)>& fill) {
    ConvertedImage image = ConvertedImage::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) fill(x, y, image.row(y) + 3 * x);
    Status status;
    return EncodeJpeg(image, 95, status, 1);
}

Bytes ExifOrientationBody(int value, bool bigEndian) {
    Bytes body = {'E', 'x', 'i', 'f', 0, 0}, tiff = TiffWithEntry(bigEndian, 0x0112, 3, 1, std::uint32_t(value));
    body.insert(body.end(), tiff.begin(), tiff.end());
    return body;
}

Bytes WithSegment(const Bytes& jpeg, std::uint8_t marker, const Bytes& body) {
    Bytes out = {0xFF, 0xD8, 0xFF, marker};
    Put(out, true, std::uint32_t(body.size() + 2), 2);
    out.insert(out.end(), body.begin(), body.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

MpoFile MakeMpo(const std::vector<Bytes>& frames, const MpoOptions& options) {
    const std::uint32_t n = std::uint32_t(frames.size()), tableAt = 8 + 2 + 3 * 12 + 4;
    const std::size_t segmentSize = 4 + 4 + tableAt + 16 * n, tiffStart = 10;  // SOI, marker, length, "MPF\0"
    MpoFile file;
    std::vector<MpoEntry> entries;
    for (std::size_t i = 0, at = 0; i < n; at += file.frames.back().second, ++i) {
        file.frames.emplace_back(at, frames[i].size() + (i == 0 ? segmentSize : 0));
        entries.push_back({i ? 0x20002u : 0x20030000u, std::uint32_t(file.frames[i].second),
                           std::uint32_t(i ? at - tiffStart : 0)});
    }
    if (options.edit) options.edit(entries);
    const bool be = options.bigEndian;
    Bytes index = TiffStart({'M', 'P', 'F', 0}, be, 3);
    Put(index, be, 0xB000, 2), Put(index, be, 7, 2), Put(index, be, 4, 4), Put(index, true, 0x30313030, 4);
    Put(index, be, 0xB001, 2), Put(index, be, 4, 2), Put(index, be, 1, 4);
    Put(index, be, std::uint32_t(options.declaredCount < 0 ? n : options.declaredCount), 4);
    Put(index, be, 0xB002, 2), Put(index, be, 7, 2), Put(index, be, 16 * n, 4), Put(index, be, tableAt, 4);
    Put(index, be, 0, 4);
    for (const MpoEntry& e : entries)
        Put(index, be, e.attribute, 4), Put(index, be, e.size, 4), Put(index, be, e.offset, 4), Put(index, be, 0, 4);
    file.bytes = WithSegment(frames[0], 0xE2, index);
    for (std::size_t i = 1; i < n; ++i) file.bytes.insert(file.bytes.end(), frames[i].begin(), frames[i].end());
    return file;
}

}  // namespace bistrope::test
