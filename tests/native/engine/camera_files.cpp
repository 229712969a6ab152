#include "camera_files.h"

namespace bistrope::test {
namespace {

struct Writer {
    bool be;
    Bytes out;
    void u16(std::uint32_t v) {
        const std::uint8_t hi = std::uint8_t(v >> 8), lo = std::uint8_t(v);
        out.insert(out.end(), be ? std::initializer_list<std::uint8_t>{hi, lo} : std::initializer_list<std::uint8_t>{lo, hi});
    }
    void u32(std::uint32_t v) {
        if (be) u16(v >> 16), u16(v & 0xFFFF);
        else u16(v & 0xFFFF), u16(v >> 16);
    }
    void header() {
        out.insert(out.end(), {std::uint8_t(be ? 'M' : 'I'), std::uint8_t(be ? 'M' : 'I')});
        u16(42);
        u32(8);
    }
};

}  // namespace

Bytes TiffWithEntry(bool bigEndian, std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
    Writer w{bigEndian, {}};
    w.header();
    w.u16(1);
    w.u16(tag), w.u16(type), w.u32(count);
    if (type == 3) w.u16(value), w.u16(0);
    else w.u32(value);
    w.u32(0);
    return w.out;
}

Bytes ExifOrientationBody(int value, bool bigEndian) {
    Bytes body = {'E', 'x', 'i', 'f', 0, 0};
    const Bytes tiff = TiffWithEntry(bigEndian, 0x0112, 3, 1, std::uint32_t(value));
    body.insert(body.end(), tiff.begin(), tiff.end());
    return body;
}

Bytes WithSegment(const Bytes& jpeg, std::uint8_t marker, const Bytes& body) {
    Bytes out(jpeg.begin(), jpeg.begin() + 2);
    const std::size_t length = body.size() + 2;
    out.insert(out.end(), {0xFF, marker, std::uint8_t(length >> 8), std::uint8_t(length)});
    out.insert(out.end(), body.begin(), body.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

MpoFile MakeMpo(const std::vector<Bytes>& frames, const MpoOptions& options) {
    const std::size_t n = frames.size();
    // "MPF\0", TIFF header, IFD of 3 entries and its next-IFD link, the entry table.
    const std::size_t bodySize = 4 + 8 + 2 + 3 * 12 + 4 + 16 * n;
    const std::size_t tiffStart = 2 + 4 + 4;
    MpoFile file;
    std::vector<MpoEntry> entries;
    std::size_t at = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t size = frames[i].size() + (i == 0 ? bodySize + 4 : 0);
        file.frames.emplace_back(at, size);
        entries.push_back({i == 0 ? 0x20030000u : 0x00020002u, std::uint32_t(size),
                           std::uint32_t(i == 0 ? 0 : at - tiffStart)});
        at += size;
    }
    if (options.edit) options.edit(entries);
    Writer w{options.bigEndian, {'M', 'P', 'F', 0}};
    w.header();
    w.u16(3);
    w.u16(0xB000), w.u16(7), w.u32(4), w.out.insert(w.out.end(), {'0', '1', '0', '0'});
    w.u16(0xB001), w.u16(4), w.u32(1), w.u32(std::uint32_t(options.declaredCount < 0 ? n : options.declaredCount));
    w.u16(0xB002), w.u16(7), w.u32(std::uint32_t(16 * n)), w.u32(8 + 2 + 3 * 12 + 4);
    w.u32(0);
    for (const MpoEntry& e : entries) w.u32(e.attribute), w.u32(e.size), w.u32(e.offset), w.u16(0), w.u16(0);
    file.bytes = WithSegment(frames[0], 0xE2, w.out);
    for (std::size_t i = 1; i < n; ++i) file.bytes.insert(file.bytes.end(), frames[i].begin(), frames[i].end());
    return file;
}

}  // namespace bistrope::test
