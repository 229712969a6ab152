// The sample files of tests/data decode to their documented pixels (the Windows build
// checks the same table through GDI+).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>

#include <unistd.h>

#include "../../data/samples.h"
#include "engine/decode.h"

namespace bistrope {
namespace {

TEST(SampleFiles, DecodeToTheirDocumentedPixels) {
    for (const auto& s : samples::kSamples) {
        SCOPED_TRACE(testing::Message() << s.file << " at " << s.x << "," << s.y);
        const DecodeResult r = DecodeImageFile(std::filesystem::path(BISTROPE_TEST_DATA_DIR) / s.file);
        ASSERT_TRUE(r.ok()) << r.status.message;
        ASSERT_EQ(r.image.width(), s.width);
        ASSERT_EQ(r.image.height(), s.height);
        EXPECT_EQ(samples::Mismatch(s, r.image.row(s.y) + 4 * s.x), "");
    }
}

}  // namespace
}  // namespace bistrope

namespace bistrope {
namespace {

// Damaged copies of every sample (bytes changed, cut short, grown) decode to an error or
// an image, never a crash or an out-of-bounds access (run under the sanitize preset).
TEST(SampleFiles, RandomlyDamagedCopiesNeverCrash) {
    const auto dir = std::filesystem::temp_directory_path() / ("bistrope-damage-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::mt19937 rng(1234);
    int decoded = 0, refused = 0;
    for (const char* name : {"rgba.png", "palette-trns.png", "rgb16.png", "cmyk.jpg", "grey.jpg", "anim.gif",
                             "lzw.tif", "bits1-bottomup.bmp", "bits4-bottomup.bmp", "bits32-alpha.bmp"}) {
        std::ifstream in(std::filesystem::path(BISTROPE_TEST_DATA_DIR) / name, std::ios::binary);
        const std::vector<std::uint8_t> original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (int round = 0; round < 150; ++round) {
            std::vector<std::uint8_t> bytes = original;
            switch (round % 3) {
                case 0:  // a few bytes changed
                    for (int k = 0; k < 1 + round % 4; ++k) bytes[rng() % bytes.size()] = std::uint8_t(rng());
                    break;
                case 1:  // cut short
                    bytes.resize(1 + rng() % bytes.size());
                    break;
                default:  // a changed header byte and junk appended
                    bytes[rng() % std::min<std::size_t>(bytes.size(), 40)] ^= std::uint8_t(1u << (rng() % 8));
                    for (int k = 0; k < 16; ++k) bytes.push_back(std::uint8_t(rng()));
            }
            const auto path = dir / name;
            std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            const DecodeResult r = DecodeImageFile(path);
            if (r.ok()) {
                ++decoded;
                EXPECT_FALSE(r.image.empty());
            } else {
                ++refused;
                EXPECT_TRUE(r.image.empty());
                EXPECT_NE(r.status.message.find(name), std::string::npos) << r.status.message;
            }
        }
    }
    std::filesystem::remove_all(dir);
    EXPECT_GT(refused, 0);
    EXPECT_GT(decoded, 0);
}

}  // namespace
}  // namespace bistrope
