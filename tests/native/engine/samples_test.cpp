// The sample files of tests/data decode to their documented pixels (the Windows build
// checks the same table through GDI+).
#include <gtest/gtest.h>

#include <cstdlib>

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
        const std::uint8_t* p = r.image.row(s.y) + 4 * s.x;
        if (s.a >= 0) EXPECT_EQ(p[3], s.a);
        if (s.a == 0) continue;
        EXPECT_LE(std::abs(p[0] - s.b), s.tolerance) << int(p[0]);
        EXPECT_LE(std::abs(p[1] - s.g), s.tolerance) << int(p[1]);
        EXPECT_LE(std::abs(p[2] - s.r), s.tolerance) << int(p[2]);
    }
}

}  // namespace
}  // namespace bistrope
