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
// An IFD entry; a value of at most one SHORT is written left-justified.
void Entry(Bytes& out, bool be, std::uint32_t tag, std::uint32_t type, std::uint32_t count, std::uint32_t value) {
    const int size = type == 3 && count < 2 ? 2 : 4;
    Put(out, be, tag, 2), Put(out, be, type, 2), Put(out, be, count, 4);
    Put(out, be, value, size), Put(out, be, 0, 4 - size);
}

}  // namespace

Bytes TiffWithEntry(bool be, std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
    Bytes b = TiffStart({}, be, 1);
    Entry(b, be, tag, type, count, value), Put(b, be, 0, 4);
    return b;
}

Bytes RgbTiff(int w, int h, int orientation, bool be) {
    const std::uint32_t n = orientation ? 10 : 9, bitsAt = 8 + 2 + 12 * n + 4, size = std::uint32_t(w * h * 3);
    Bytes b = TiffStart({}, be, n);
    Entry(b, be, 256, 3, 1, std::uint32_t(w)), Entry(b, be, 257, 3, 1, std::uint32_t(h)), Entry(b, be, 258, 3, 3, bitsAt);
    Entry(b, be, 259, 3, 1, 1), Entry(b, be, 262, 3, 1, 2), Entry(b, be, 273, 4, 1, bitsAt + 6);
    if (orientation) Entry(b, be, 274, 3, 1, std::uint32_t(orientation));
    Entry(b, be, 277, 3, 1, 3), Entry(b, be, 278, 3, 1, std::uint32_t(h)), Entry(b, be, 279, 4, 1, size), Put(b, be, 0, 4);
    for (int i = 0; i < 3; ++i) Put(b, be, 8, 2);
    for (std::uint32_t i = 0; i < size; ++i) b.push_back(std::uint8_t(i * 7));  // 7 is odd: 256 bytes differ
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
    Bytes body = TiffWithEntry(bigEndian, 0x0112, 3, 1, std::uint32_t(value));
    body.insert(body.begin(), {'E', 'x', 'i', 'f', 0, 0});
    return body;
}

Bytes WithSegment(const Bytes& jpeg, std::uint8_t marker, const Bytes& body) {
    Bytes out = {0xFF, 0xD8, 0xFF, marker};
    Put(out, true, std::uint32_t(body.size() + 2), 2);
    out.insert(out.end(), body.begin(), body.end()), out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

MpoFile MakeMpo(const std::vector<Bytes>& frames, bool be, std::int64_t declaredCount,
                const std::function<void(std::vector<MpoEntry>&)>& edit) {
    const std::uint32_t n = std::uint32_t(frames.size()), tableAt = 8 + 2 + 3 * 12 + 4;
    const std::size_t segmentSize = 4 + 4 + tableAt + 16 * n, tiffStart = 10;  // SOI, marker, length, "MPF\0"
    MpoFile file;
    std::vector<MpoEntry> entries;
    for (std::size_t i = 0, at = 0; i < n; at += file.frames.back().second, ++i) {
        file.frames.emplace_back(at, frames[i].size() + (i == 0 ? segmentSize : 0));
        const std::uint32_t size = std::uint32_t(file.frames[i].second), offset = std::uint32_t(i ? at - tiffStart : 0);
        entries.push_back({i ? 0x20002u : 0x20030000u, size, offset});
    }
    if (edit) edit(entries);
    // Version "0100", the frame count, and the frame list right after the directory.
    Bytes index = TiffStart({'M', 'P', 'F', 0}, be, 3);
    Put(index, be, 0xB000, 2), Put(index, be, 7, 2), Put(index, be, 4, 4), Put(index, true, 0x30313030, 4);
    Entry(index, be, 0xB001, 4, 1, std::uint32_t(declaredCount < 0 ? n : declaredCount));
    Entry(index, be, 0xB002, 7, 16 * n, tableAt), Put(index, be, 0, 4);
    for (const MpoEntry& e : entries)
        Put(index, be, e.attribute, 4), Put(index, be, e.size, 4), Put(index, be, e.offset, 4), Put(index, be, 0, 4);
    file.bytes = WithSegment(frames[0], 0xE2, index);
    for (std::size_t i = 1; i < n; ++i) file.bytes.insert(file.bytes.end(), frames[i].begin(), frames[i].end());
    return file;
}

}  // namespace bistrope::test
