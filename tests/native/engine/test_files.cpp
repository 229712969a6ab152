#include "test_files.h"

#include <fstream>
#include <random>

#include <unistd.h>

namespace bistrope::test {

ScratchDir::ScratchDir() {
    static int counter = 0;
    path_ = fs::temp_directory_path() /
            ("bistrope-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    for (auto& e : fs::recursive_directory_iterator(path_, ec))
        fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

fs::path DataFile(const std::string& name) { return fs::path(BISTROPE_TEST_DATA_DIR) / name; }

SourceImage MakeSource(int width, int height, const std::function<void(int, int, std::uint8_t*)>& fill) {
    SourceImage s = SourceImage::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) fill(x, y, s.row(y) + 4 * x);
    return s;
}

SourceImage RandomSource(int width, int height, unsigned seed, bool opaque) {
    std::mt19937 rng(seed);
    return MakeSource(width, height, [&](int, int, std::uint8_t* p) {
        for (int c = 0; c < 4; ++c) p[c] = std::uint8_t(rng());
        if (opaque) p[3] = 255;
    });
}

}  // namespace bistrope::test
