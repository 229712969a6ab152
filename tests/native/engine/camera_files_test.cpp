// Camera files: EXIF orientation (reading, the eight transforms, applied on load), the
// multi-picture index and its damaged variants, side-by-side splitting.
#include <gtest/gtest.h>

#include "camera_files.h"
#include "engine/convert.h"
#include "engine/decode.h"
#include "engine/exif.h"
#include "engine/mpo.h"
#include "engine/side_by_side.h"
#include "engine/stereo_file.h"

namespace bistrope {
namespace {

using test::Bytes;
using Grid = std::vector<std::vector<int>>;

// Pixel (x, y) of a w x h picture is grey 1 + x + w * y, alpha 200.
SourceImage Labelled(int w, int h) {
    return test::MakeSource(w, h, [w](int x, int y, std::uint8_t* p) {
        p[0] = p[1] = p[2] = std::uint8_t(1 + x + w * y), p[3] = 200;
    });
}
// The labels, checking that every pixel moved whole.
Grid Labels(const SourceImage& img) {
    Grid g(std::size_t(img.height()));
    for (int y = 0; y < img.height(); ++y)
        for (const std::uint8_t* p = img.row(y); p < img.row(y) + 4 * img.width(); p += 4) {
            EXPECT_TRUE(p[1] == p[0] && p[2] == p[0] && p[3] == 200);
            g[std::size_t(y)].push_back(p[0]);
        }
    return g;
}
// A 16 x 8 JPEG: one colour, or (r < 0) quadrants that any wrong turn tells apart.
Bytes Jpeg(int r = -1, int g = 0, int b = 0) {
    return test::EngineJpeg(16, 8, [&](int x, int y, std::uint8_t* p) {
        p[0] = std::uint8_t(r < 0 ? (x < 8 ? 0 : 250) : b), p[1] = std::uint8_t(r < 0 ? (y < 4 ? 30 : 220) : g);
        p[2] = std::uint8_t(r < 0 ? x * 15 : r);
    });
}
const Bytes kPng = test::ReadBytes(test::DataFile("grey.png"));

TEST(Orientation, EightTransformsOfAnAsymmetricPicture) {
    const std::vector<Grid> expected = {
        {{1, 2, 3}, {4, 5, 6}}, {{3, 2, 1}, {6, 5, 4}}, {{6, 5, 4}, {3, 2, 1}}, {{4, 5, 6}, {1, 2, 3}},
        {{1, 4}, {2, 5}, {3, 6}}, {{4, 1}, {5, 2}, {6, 3}}, {{6, 3}, {5, 2}, {4, 1}}, {{3, 6}, {2, 5}, {1, 4}}};
    for (int o = 1; o <= 8; ++o) EXPECT_EQ(Labels(ApplyOrientation(Labelled(3, 2), o)), expected[o - 1]) << o;
    for (int o : {0, 9, -1}) EXPECT_EQ(Labels(ApplyOrientation(Labelled(3, 2), o)), expected[0]) << o;
    EXPECT_TRUE(ApplyOrientation(SourceImage(), 6).empty());
}

// The values 1-8 in both byte orders are read through the files below.
TEST(Orientation, OutOfRangeMalformedOrMissingTagsCountAsUpright) {
    const Bytes exif = test::ExifOrientationBody(6), good = test::WithSegment(Jpeg(), 0xE1, exif);
    Bytes cut(good.begin(), good.begin() + 26), longSegment = good, farIfd = exif, afterScan = Jpeg();
    longSegment[4] = 0x7F;  // segment length beyond the file
    farIfd[10] = 0xF0;      // IFD0 offset beyond the segment
    afterScan.insert(afterScan.end() - 2, good.begin() + 2, good.begin() + 4 + 2 + long(exif.size()));
    const std::vector<Bytes> cases = {Jpeg(), test::WithSegment(Jpeg(), 0xE1, test::ExifOrientationBody(0, true)),
                                      test::WithSegment(Jpeg(), 0xE1, test::ExifOrientationBody(9)),
                                      test::TiffWithEntry(true, 0x0112, 3, 1, 0xFFFF), test::TiffWithEntry(false, 0x0112, 4, 1, 6),
                                      test::TiffWithEntry(true, 0x0112, 3, 0, 6), test::TiffWithEntry(false, 0x0113, 3, 1, 6),
                                      cut, longSegment, test::WithSegment(Jpeg(), 0xE1, farIfd),
                                      test::WithSegment(Jpeg(), 0xE2, exif), afterScan, kPng, {}};
    for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(ReadOrientation(cases[i].data(), cases[i].size()), 1) << i;
    const Bytes second = test::WithSegment(good, 0xE1, {'h', 't', 't', 'p', 0});  // a first APP1 that is not EXIF
    EXPECT_EQ(ReadOrientation(second.data(), second.size()), 6);
}

// A file tagged o decodes to the untagged file's pixels turned by o, and the probe and the
// converting decoder (image and luma, row by row for upright JPEG) agree with that.
void CheckOrientedFiles(const Bytes& untagged, const std::function<Bytes(int)>& tagged) {
    test::ScratchDir dir;
    test::WriteBytes(dir / "plain", untagged);
    const DecodeResult plain = DecodeImageFile(dir / "plain");
    ASSERT_TRUE(plain.ok()) << plain.status.message;
    for (int o = 1; o <= 8; ++o) {
        test::WriteBytes(dir / "tagged", tagged(o));
        const DecodeResult got = DecodeImageFile(dir / "tagged");
        const ProbeResult probe = ProbeImageFile(dir / "tagged");
        const ConvertedDecodeResult converted = DecodeConvertedImageFile(dir / "tagged", std::nullopt, {}, true);
        ASSERT_TRUE(got.ok() && converted.ok()) << o;
        EXPECT_TRUE(test::SameBytes(got.image, ApplyOrientation(plain.image.Clone(), o))) << o;
        EXPECT_EQ(std::make_pair(probe.width, probe.height), std::make_pair(got.image.width(), got.image.height())) << o;
        EXPECT_TRUE(test::SameBytes(converted.image, ConvertImage(got.image, std::nullopt, got.image.width(), got.image.height())));
        EXPECT_TRUE(test::SameBytes(converted.luma, MakeGreyImage(got.image))) << o;
    }
}

TEST(OrientedFiles, JpegIsTurnedUpright) {
    CheckOrientedFiles(Jpeg(), [](int o) { return test::WithSegment(Jpeg(), 0xE1, test::ExifOrientationBody(o, o % 2)); });
}

TEST(OrientedFiles, TiffIsTurnedOnceNotTwice) {
    Bytes rgb;
    for (int i = 1; i <= 15; ++i) rgb.insert(rgb.end(), {std::uint8_t(i), std::uint8_t(i * 3), std::uint8_t(i * 7)});
    CheckOrientedFiles(test::RgbTiff(5, 3, rgb, 0), [&](int o) { return test::RgbTiff(5, 3, rgb, o, o % 2); });
}

const std::vector<Bytes> kFrames = {Jpeg(250, 0, 0), Jpeg(0, 0, 250), Jpeg(0, 250, 0)};

TEST(Mpo, IndexInBothByteOrdersWithTwoAndThreeViewpoints) {
    for (bool be : {false, true})
        for (long n : {2, 3}) {
            const test::MpoFile file = test::MakeMpo({kFrames.begin(), kFrames.begin() + n}, {be, -1, {}});
            const MpoIndex index = ReadMpoIndex(file.bytes.data(), file.bytes.size());
            ASSERT_TRUE(index.multiPicture()) << index.status.message;
            ASSERT_EQ(index.frames.size(), std::size_t(n));
            for (std::size_t i = 0; i < std::size_t(n); ++i)
                EXPECT_EQ(std::make_pair(index.frames[i].offset, index.frames[i].size), file.frames[i]);
        }
}

TEST(Mpo, WithoutAnIndexOrWithOneFrameItIsNotMultiPicture) {
    const Bytes mpfInApp1 = test::WithSegment(kFrames[0], 0xE1, {'M', 'P', 'F', 0, 'I', 'I', 42, 0, 8, 0, 0, 0});
    for (const Bytes& b : {kFrames[0], test::MakeMpo({kFrames[0]}).bytes, mpfInApp1, kPng, Bytes{}, Bytes{0xFF, 0xD8}}) {
        const MpoIndex index = ReadMpoIndex(b.data(), b.size());
        EXPECT_TRUE(index.kind == MpoIndex::Kind::NotMultiPicture && index.frames.empty());
    }
}

struct DamagedMpo {
    const char* name;
    std::int64_t count;
    std::function<void(std::vector<test::MpoEntry>&)> edit;
    std::size_t cut, poke;  // bytes cut from the end; a byte set to 0x7F
    const char* reason;     // of a damaged index, or (starting with "frame") of a truncated file
};
void PrintTo(const DamagedMpo& c, std::ostream* os) { *os << c.name; }
class DamagedMpoTest : public ::testing::TestWithParam<DamagedMpo> {};

TEST_P(DamagedMpoTest, GivesItsOwnError) {
    const DamagedMpo& c = GetParam();
    Bytes b = test::MakeMpo(kFrames, {false, c.count, c.edit}).bytes;
    b.resize(b.size() - c.cut);
    if (c.poke) b[c.poke] = 0x7F;
    const MpoIndex index = ReadMpoIndex(b.data(), b.size());
    const bool truncated = std::string(c.reason).rfind("frame 3 runs", 0) == 0;
    EXPECT_TRUE(index.kind == MpoIndex::Kind::Damaged && index.frames.empty());
    EXPECT_EQ(index.status.code, truncated ? ErrorCode::Truncated : ErrorCode::Corrupt);
    EXPECT_EQ(index.status.message, (truncated ? "the file is truncated (" : "the multi-picture index is damaged (") +
                                        std::string(c.reason) + ")");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedMpoTest,
    ::testing::Values(
        DamagedMpo{"NoFrames", 0, {}, 0, 0, "it lists no frames"},
        DamagedMpo{"SixtyFive", 65, {}, 0, 0, "65 frames; at most 64 are read"},
        DamagedMpo{"CountAndListDisagree", 4, {}, 0, 0, "the frame list does not match the frame count"},
        DamagedMpo{"LastFrameCut", -1, {}, 1, 0, "frame 3 runs past its end"},
        DamagedMpo{"OffsetPastTheEnd", -1, [](auto& e) { e[2].offset = 0xFFFFFFF0u; }, 0, 0, "frame 3 runs past its end"},
        DamagedMpo{"NotAJpegStream", -1, [](auto& e) { e[1].offset += 1, e[1].size -= 1; }, 0, 0,
                   "frame 2 is not a JPEG stream"},
        DamagedMpo{"FirstRunsIntoSecond", -1, [](auto& e) { e[0].size += 1; }, 0, 0, "two frames overlap"},
        DamagedMpo{"SecondAtOffsetZero", -1, [](auto& e) { e[1].offset = 0; }, 0, 0, "frame 2 has a bad offset"},
        DamagedMpo{"FirstNotAtTheStart", -1, [](auto& e) { e[0].offset = 4; }, 0, 0, "frame 1 has a bad offset"},
        DamagedMpo{"EmptyFrame", -1, [](auto& e) { e[1].size = 0; }, 0, 0, "frame 2 is empty"},
        DamagedMpo{"DirectoryOutsideTheSegment", -1, {}, 0, 10 + 5, "its directory lies outside the segment"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SideBySide, ParallelAndCrossHalvesOddWidthAndNoImage) {
    const Grid leftHalf = {{1, 2}, {5, 6}}, rightHalf = {{3, 4}, {7, 8}};  // of 1 2 3 4 over 5 6 7 8
    for (SideBySide layout : {SideBySide::Parallel, SideBySide::Cross}) {
        const StereoHalves h = SplitSideBySide(Labelled(4, 2), layout);
        ASSERT_TRUE(h.ok());
        EXPECT_EQ(Labels(h.left), layout == SideBySide::Parallel ? leftHalf : rightHalf);
        EXPECT_EQ(Labels(h.right), layout == SideBySide::Parallel ? rightHalf : leftHalf);
    }
    const StereoHalves odd = SplitSideBySide(Labelled(5, 2), SideBySide::Cross);
    EXPECT_EQ(odd.status.code, ErrorCode::InvalidArgument);
    EXPECT_EQ(odd.status.message,
              "the side-by-side picture is 5 pixels wide, an odd width that cannot be split into two equal halves");
    EXPECT_TRUE(odd.left.empty() && odd.right.empty());
    EXPECT_EQ(SplitSideBySide(SourceImage(), SideBySide::Parallel).status.code, ErrorCode::NoImage);
}

// Red-ness of a decoded eye's middle pixel: 1 for the red frame, 0 for the blue one.
int RedOf(const SourceImage& eye) { return eye.row(eye.height() / 2)[4 * (eye.width() / 2) + 2] > 128; }

TEST(StereoFiles, MpoFramesJpsHalvesSinglePicturesAndDamage) {
    test::ScratchDir dir;
    // Each frame is turned upright by its own orientation.
    const Bytes turned = test::WithSegment(kFrames[1], 0xE1, test::ExifOrientationBody(6, true));
    test::WriteBytes(dir / "pair.mpo", test::MakeMpo({kFrames[0], turned, kFrames[2]}).bytes);
    StereoDecodeResult r = DecodeStereoFile(dir / "pair.mpo");
    ASSERT_TRUE(r.ok()) << r.status.message;
    EXPECT_EQ(std::make_pair(RedOf(r.left), RedOf(r.right)), std::make_pair(1, 0));  // frames 1 and 2
    EXPECT_EQ(std::make_pair(r.left.width(), r.right.width()), std::make_pair(16, 8));
    EXPECT_EQ(DecodeStereoFile(dir / "pair.mpo", StereoLayout::Cross).left.width(), 8);  // the first frame, split

    // A cross-eyed side-by-side file: the red left half is the right eye. Parallel reads it the other way.
    const Bytes sideBySide = test::EngineJpeg(32, 8, [](int x, int, std::uint8_t* p) {
        p[0] = x < 16 ? 0 : 250, p[1] = 0, p[2] = x < 16 ? 250 : 0;
    });
    test::WriteBytes(dir / "pair.Pns", sideBySide);
    r = DecodeStereoFile(dir / "pair.Pns");
    ASSERT_TRUE(r.ok()) << r.status.message;
    EXPECT_EQ(std::make_pair(RedOf(r.left), RedOf(r.right)), std::make_pair(0, 1));
    EXPECT_EQ(r.left.width(), 16);
    test::WriteBytes(dir / "plain.jpg", sideBySide);
    EXPECT_TRUE(DecodeStereoFile(dir / "plain.jpg").single);
    r = DecodeStereoFile(dir / "plain.jpg", StereoLayout::Parallel);
    EXPECT_EQ(std::make_pair(RedOf(r.left), RedOf(r.right)), std::make_pair(1, 0));

    // An MPO without a second frame is one picture; damage and odd widths name the file.
    test::WriteBytes(dir / "one.mpo", kFrames[0]);
    EXPECT_TRUE(DecodeStereoFile(dir / "one.mpo").single && DecodeStereoFile(dir / "one.mpo").status.ok());
    const Bytes whole = test::MakeMpo(kFrames).bytes;
    test::WriteBytes(dir / "cut.mpo", Bytes(whole.begin(), whole.end() - 40));
    r = DecodeStereoFile(dir / "cut.mpo");
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.status.message.find("cut.mpo"), std::string::npos) << r.status.message;
    EXPECT_TRUE(r.left.empty() && r.right.empty());
    test::WriteBytes(dir / "odd.jps", test::EngineJpeg(15, 8, [](int, int, std::uint8_t* p) { p[0] = p[1] = p[2] = 9; }));
    EXPECT_EQ(DecodeStereoFile(dir / "odd.jps").status.code, ErrorCode::InvalidArgument);
    EXPECT_EQ(DecodeStereoFile(dir / "none.mpo").status.code, ErrorCode::NotFound);
}

TEST(DecodeImageBytes, BadBytesGiveTheReasonOnly) {
    const Bytes jpeg = Jpeg(), text = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(DecodeImageBytes(jpeg.data(), jpeg.size() / 2).status.message, "the file is truncated");
    EXPECT_EQ(DecodeImageBytes(nullptr, 0).status.code, ErrorCode::Empty);
    EXPECT_EQ(DecodeImageBytes(text.data(), text.size()).status.code, ErrorCode::NotAnImage);
}

}  // namespace
}  // namespace bistrope
