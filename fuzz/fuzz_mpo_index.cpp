// The multi-picture index reader: every frame it returns lies inside the input, starts a
// JPEG stream and overlaps no other.
#include <cstdlib>

#include "engine/mpo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bistrope::MpoIndex index = bistrope::ReadMpoIndex(data, size);
    if (!index.multiPicture()) {
        if (!index.frames.empty() || (index.kind == bistrope::MpoIndex::Kind::Damaged) == index.status.ok()) std::abort();
        return 0;
    }
    if (index.frames.size() < 2 || index.frames.size() > bistrope::kMaxMpoFrames) std::abort();
    for (const bistrope::ByteRange& f : index.frames) {
        if (f.offset >= size || f.size > size - f.offset || data[f.offset] != 0xFF || data[f.offset + 1] != 0xD8)
            std::abort();
        for (const bistrope::ByteRange& g : index.frames)
            if (&f != &g && f.offset < g.offset + g.size && g.offset < f.offset + f.size) std::abort();
    }
    return 0;
}
