// The multi-picture index reader (see engine/mpo.h).
#include "engine/mpo.h"

#include <algorithm>
#include <string>

namespace bistrope {
namespace {

constexpr std::uint16_t kNumberOfImages = 0xB001;
constexpr std::uint16_t kMpEntry = 0xB002;
constexpr std::size_t kEntrySize = 16;

std::uint32_t Be16(const std::uint8_t* p) { return std::uint32_t(p[0]) << 8 | p[1]; }

MpoIndex Plain() { return {}; }

MpoIndex Damaged(ErrorCode code, const std::string& reason) {
    MpoIndex r;
    r.kind = MpoIndex::Kind::Damaged;
    r.status = Status::Error(code, reason);
    return r;
}

MpoIndex Corrupt(const std::string& what) {
    return Damaged(ErrorCode::Corrupt, "the multi-picture index is damaged (" + what + ")");
}

// The index in segment body t[0, n) (starting at its TIFF header, which lies at `base` in
// the file of `fileSize` bytes).
MpoIndex ReadIndex(const std::uint8_t* file, std::size_t fileSize, std::size_t base, std::size_t n) {
    const std::uint8_t* t = file + base;
    if (n < 8) return Corrupt("no header");
    const bool le = t[0] == 'I' && t[1] == 'I';
    if (!le && !(t[0] == 'M' && t[1] == 'M')) return Corrupt("unknown byte order");
    auto u16 = [&](std::size_t at) -> std::uint32_t { return le ? (t[at + 1] << 8 | t[at]) : Be16(t + at); };
    auto u32 = [&](std::size_t at) { return le ? u16(at + 2) << 16 | u16(at) : u16(at) << 16 | u16(at + 2); };
    if (u16(2) != 42) return Corrupt("bad header");
    const std::uint32_t ifd = u32(4);
    if (ifd < 8 || ifd > n - 2) return Corrupt("its directory lies outside the segment");
    const std::size_t count = u16(ifd);
    if (ifd + 2 + count * 12 > n) return Corrupt("its directory runs past the segment");
    std::int64_t declared = -1, entriesAt = -1, entriesSize = 0;
    for (std::size_t e = 0; e < count; ++e) {
        const std::size_t at = ifd + 2 + e * 12;
        const std::uint32_t tag = u16(at), type = u16(at + 2), values = u32(at + 4);
        if (tag == kNumberOfImages && type == 4 && values == 1) declared = u32(at + 8);
        if (tag == kMpEntry && type == 7) {
            entriesSize = values;
            entriesAt = values <= 4 ? std::int64_t(at + 8) : std::int64_t(u32(at + 8));
        }
    }
    if (declared < 0 || entriesAt < 0) return Corrupt("no frame count or frame list");
    if (declared == 0) return Corrupt("it lists no frames");
    if (std::size_t(declared) > kMaxMpoFrames)
        return Corrupt(std::to_string(declared) + " frames; at most " + std::to_string(kMaxMpoFrames) + " are read");
    if (std::uint64_t(entriesSize) != std::uint64_t(declared) * kEntrySize)
        return Corrupt("the frame list does not match the frame count");
    if (std::uint64_t(entriesAt) + std::uint64_t(entriesSize) > n) return Corrupt("the frame list runs past the segment");
    if (declared == 1) return Plain();

    MpoIndex r;
    for (std::int64_t i = 0; i < declared; ++i) {
        const std::size_t at = std::size_t(entriesAt) + std::size_t(i) * kEntrySize;
        const std::uint64_t size = u32(at + 4), offset = u32(at + 8);
        const std::string name = "frame " + std::to_string(i + 1);
        if (size == 0) return Corrupt(name + " is empty");
        if ((offset == 0) != (i == 0)) return Corrupt(name + " has a bad offset");
        const std::uint64_t start = i == 0 ? 0 : base + offset;
        if (start >= fileSize || size > fileSize - start)
            return Damaged(ErrorCode::Truncated, "the file is truncated (" + name + " runs past its end)");
        if (size < 2 || file[start] != 0xFF || file[start + 1] != 0xD8)
            return Corrupt(name + " is not a JPEG stream");
        r.frames.push_back({std::size_t(start), std::size_t(size)});
    }
    std::vector<ByteRange> sorted = r.frames;
    std::sort(sorted.begin(), sorted.end(), [](const ByteRange& a, const ByteRange& b) { return a.offset < b.offset; });
    for (std::size_t i = 1; i < sorted.size(); ++i)
        if (sorted[i - 1].offset + sorted[i - 1].size > sorted[i].offset) return Corrupt("two frames overlap");
    r.kind = MpoIndex::Kind::MultiPicture;
    return r;
}

}  // namespace

MpoIndex ReadMpoIndex(const std::uint8_t* b, std::size_t n) {
    if (!b || n < 4 || b[0] != 0xFF || b[1] != 0xD8) return Plain();
    std::size_t i = 2;
    while (i + 4 <= n) {
        if (b[i] != 0xFF) return Plain();
        const std::uint8_t marker = b[i + 1];
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return Plain();
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            i += 2;
            continue;
        }
        const std::size_t length = Be16(b + i + 2);
        if (length < 2 || length > n - i - 2) return Plain();
        static const std::uint8_t kMpf[4] = {'M', 'P', 'F', 0};
        if (marker == 0xE2 && length >= 6 && std::equal(kMpf, kMpf + 4, b + i + 4))
            return ReadIndex(b, n, i + 8, length - 6);
        i += 2 + length;
    }
    return Plain();
}

}  // namespace bistrope
