#pragma once
// A scratch folder, file bytes, the sample files of tests/data and small source images.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/image.h"

namespace bistrope::test {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with the object (also when
// a test made parts of it read-only).
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

void WriteBytes(const fs::path& path, const Bytes& bytes);
Bytes ReadBytes(const fs::path& path);
fs::path DataFile(const std::string& name);  // in tests/data

SourceImage MakeSource(int width, int height, const std::function<void(int x, int y, std::uint8_t* bgra)>& fill);
SourceImage RandomSource(int width, int height, unsigned seed, bool opaque = true);

template <int N>
bool SameBytes(const BasicImage<N>& a, const BasicImage<N>& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::equal(a.data(), a.data() + a.sizeBytes(), b.data());
}

}  // namespace bistrope::test
