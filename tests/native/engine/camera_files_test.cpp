// Camera files: EXIF orientation (reading, the eight transforms, applied on load), the
// multi-picture index and its damaged variants, side-by-side splitting.
#include <gtest/gtest.h>

#include "camera_files.h"
#include "engine/convert.h"
#include "engine/decode.h"
#include "engine/exif.h"
#include "engine/mpo.h"
#include "engine/side_by_side.h"

namespace bistrope {
namespace {

using test::Bytes;
using Grid = std::vector<std::vector<int>>;

// Pixel (x, y) of a w x h picture carries label 1 + x + w * y in every channel (blue as is).
SourceImage Labelled(int w, int h) {
    return test::MakeSource(w, h, [w](int x, int y, std::uint8_t* p) {
        const int label = 1 + x + w * y;
        p[0] = std::uint8_t(label), p[1] = std::uint8_t(label ^ 0x55), p[2] = std::uint8_t(label ^ 0xAA), p[3] = 200;
    });
}
// The labels of a picture, checking that every pixel moved whole.
Grid Labels(const SourceImage& img) {
    Grid g(std::size_t(img.height()));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const std::uint8_t* p = img.row(y) + 4 * x;
            EXPECT_TRUE(p[1] == (p[0] ^ 0x55) && p[2] == (p[0] ^ 0xAA) && p[3] == 200) << x << "," << y;
            g[std::size_t(y)].push_back(p[0]);
        }
    return g;
}
bool SamePixels(const SourceImage& a, const SourceImage& b) {
    return a.width() == b.width() && a.height() == b.height() && std::equal(a.data(), a.data() + a.sizeBytes(), b.data());
}

Bytes SolidJpeg(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    Bytes rgb;
    for (int i = 0; i < w * h; ++i) rgb.insert(rgb.end(), {r, g, b});
    return test::EncodeJpegRaw(w, h, 3, rgb);
}
// A JPEG whose quadrants differ (orientation mistakes change its pixels).
Bytes QuadrantJpeg() {
    const SourceImage s = test::MakeSource(16, 8, [](int x, int y, std::uint8_t* p) {
        p[0] = x < 8 ? 0 : 250, p[1] = y < 4 ? 30 : 220, p[2] = std::uint8_t(x * 15), p[3] = 255;
    });
    Bytes rgb;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) rgb.insert(rgb.end(), {s.row(y)[4 * x + 2], s.row(y)[4 * x + 1], s.row(y)[4 * x]});
    return test::EncodeJpegRaw(16, 8, 3, rgb);
}

TEST(Orientation, EightTransformsOfAnAsymmetricPicture) {
    const std::vector<Grid> expected = {
        {{1, 2, 3}, {4, 5, 6}},          // 1 upright
        {{3, 2, 1}, {6, 5, 4}},          // 2 mirror
        {{6, 5, 4}, {3, 2, 1}},          // 3 rotate 180
        {{4, 5, 6}, {1, 2, 3}},          // 4 flip
        {{1, 4}, {2, 5}, {3, 6}},        // 5 transpose
        {{4, 1}, {5, 2}, {6, 3}},        // 6 rotate 90 clockwise
        {{6, 3}, {5, 2}, {4, 1}},        // 7 transverse
        {{3, 6}, {2, 5}, {1, 4}},        // 8 rotate 90 anticlockwise
    };
    for (int o = 1; o <= 8; ++o) EXPECT_EQ(Labels(ApplyOrientation(Labelled(3, 2), o)), expected[o - 1]) << o;
    for (int o : {0, 9, -1, 0x10000}) EXPECT_EQ(Labels(ApplyOrientation(Labelled(3, 2), o)), expected[0]) << o;
    EXPECT_TRUE(ApplyOrientation(SourceImage(), 6).empty());
}

TEST(Orientation, ReadFromJpegAndTiffInBothByteOrdersOutOfRangeIsUpright) {
    const Bytes jpeg = SolidJpeg(8, 8, 10, 20, 30);
    for (bool be : {false, true})
        for (int v : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 255, 0xFFFF}) {
            const int want = v >= 1 && v <= 8 ? v : 1;
            const Bytes j = test::WithSegment(jpeg, 0xE1, test::ExifOrientationBody(v, be));
            const Bytes t = test::TiffWithEntry(be, 0x0112, 3, 1, std::uint32_t(v));
            EXPECT_EQ(ReadJpegOrientation(j.data(), j.size()), want) << v << be;
            EXPECT_EQ(ReadOrientation(j.data(), j.size()), want) << v << be;
            EXPECT_EQ(ReadTiffOrientation(t.data(), t.size()), want) << v << be;
            EXPECT_EQ(ReadOrientation(t.data(), t.size()), want) << v << be;
        }
}

TEST(Orientation, MalformedOrMissingTagsCountAsUpright) {
    const Bytes jpeg = SolidJpeg(8, 8, 10, 20, 30);
    Bytes exif = test::ExifOrientationBody(6);
    Bytes cut = test::WithSegment(jpeg, 0xE1, exif);
    cut.resize(4 + 6 + 8 + 2 + 6);  // inside the IFD entry
    Bytes longSegment = test::WithSegment(jpeg, 0xE1, exif);
    longSegment[4] = 0x7F;  // length beyond the file
    Bytes farIfd = exif;
    farIfd[6 + 4] = 0xF0;  // IFD0 offset past the segment
    Bytes afterScan = jpeg;
    const Bytes tail = test::WithSegment({0xFF, 0xD8}, 0xE1, exif);
    afterScan.insert(afterScan.end() - 2, tail.begin() + 2, tail.end());
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"no tag", jpeg},
        {"long instead of short", test::TiffWithEntry(false, 0x0112, 4, 1, 6)},
        {"count 0", test::TiffWithEntry(true, 0x0112, 3, 0, 6)},
        {"other tag", test::TiffWithEntry(false, 0x0113, 3, 1, 6)},
        {"cut inside the entry", cut},
        {"segment past the end", longSegment},
        {"IFD past the segment", test::WithSegment(jpeg, 0xE1, farIfd)},
        {"in APP2", test::WithSegment(jpeg, 0xE2, exif)},
        {"after the scan", afterScan},
        {"PNG", test::EncodePng({1, 1, 2, 8, {1, 2, 3}, {}, {}})},
        {"empty", {}},
    };
    for (const auto& [name, bytes] : cases) EXPECT_EQ(ReadOrientation(bytes.data(), bytes.size()), 1) << name;
    EXPECT_EQ(ReadOrientation(nullptr, 0), 1);
    // A first APP1 that is not EXIF is skipped.
    const Bytes both = test::WithSegment(test::WithSegment(jpeg, 0xE1, exif), 0xE1, {'h', 't', 't', 'p', 0});
    EXPECT_EQ(ReadOrientation(both.data(), both.size()), 6);
}

class OrientedFiles : public ::testing::Test {
protected:
    // Decoding a file with orientation o gives the untagged file's pixels turned by o, and
    // the probe and the converting decoder agree.
    void Check(const Bytes& untagged, const std::function<Bytes(int)>& tagged) {
        test::WriteBytes(dir_ / "plain", untagged);
        const DecodeResult plain = DecodeImageFile(dir_ / "plain");
        ASSERT_TRUE(plain.ok()) << plain.status.message;
        for (int o = 1; o <= 8; ++o) {
            const auto path = dir_ / ("o" + std::to_string(o));
            test::WriteBytes(path, tagged(o));
            const DecodeResult got = DecodeImageFile(path);
            ASSERT_TRUE(got.ok()) << got.status.message;
            EXPECT_TRUE(SamePixels(got.image, ApplyOrientation(plain.image.Clone(), o))) << o;
            const ProbeResult probe = ProbeImageFile(path);
            EXPECT_EQ(probe.width, got.image.width()) << o;
            EXPECT_EQ(probe.height, got.image.height()) << o;
            const ConvertedDecodeResult converted = DecodeConvertedImageFile(path, std::nullopt);
            const ConvertedImage reference = ConvertImage(got.image, std::nullopt, got.image.width(), got.image.height());
            ASSERT_TRUE(converted.ok()) << converted.status.message;
            EXPECT_TRUE(std::equal(reference.data(), reference.data() + reference.sizeBytes(), converted.image.data(),
                                   converted.image.data() + converted.image.sizeBytes())) << o;
        }
    }
    test::ScratchDir dir_;
};

TEST_F(OrientedFiles, JpegIsTurnedUpright) {
    const Bytes jpeg = QuadrantJpeg();
    Check(jpeg, [&](int o) { return test::WithSegment(jpeg, 0xE1, test::ExifOrientationBody(o, o % 2 == 0)); });
}

TEST_F(OrientedFiles, TiffIsTurnedOnceNotTwice) {
    const SourceImage s = Labelled(5, 3);
    Bytes rgb;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) rgb.insert(rgb.end(), {s.row(y)[4 * x + 2], s.row(y)[4 * x + 1], s.row(y)[4 * x]});
    Check(test::EncodeTiff(5, 3, 3, rgb, false), [&](int o) { return test::EncodeTiff(5, 3, 3, rgb, o % 2 == 1, o); });
}

class Mpo : public ::testing::Test {
protected:
    const std::vector<Bytes> frames_ = {SolidJpeg(8, 8, 250, 0, 0), SolidJpeg(8, 8, 0, 0, 250), SolidJpeg(8, 8, 0, 250, 0)};
};

TEST_F(Mpo, IndexInBothByteOrdersWithTwoAndThreeViewpoints) {
    for (bool be : {false, true})
        for (std::size_t n : {2u, 3u}) {
            const test::MpoFile file = test::MakeMpo({frames_.begin(), frames_.begin() + long(n)}, {be, -1, {}});
            const MpoIndex index = ReadMpoIndex(file.bytes.data(), file.bytes.size());
            ASSERT_TRUE(index.multiPicture()) << index.status.message;
            ASSERT_EQ(index.frames.size(), n);
            for (std::size_t i = 0; i < n; ++i) {
                EXPECT_EQ(index.frames[i].offset, file.frames[i].first);
                EXPECT_EQ(index.frames[i].size, file.frames[i].second);
                const DecodeResult d = DecodeImageBytes(file.bytes.data() + index.frames[i].offset, index.frames[i].size);
                ASSERT_TRUE(d.ok()) << d.status.message;
                const std::uint8_t* p = d.image.row(4) + 16;  // blue, green, red of the frame's colour
                EXPECT_NEAR(p[2], i == 0 ? 250 : 0, 3) << i;
                EXPECT_NEAR(p[0], i == 1 ? 250 : 0, 3) << i;
                EXPECT_NEAR(p[1], i == 2 ? 250 : 0, 3) << i;
            }
        }
}

TEST_F(Mpo, EachFrameIsTurnedByItsOwnOrientation) {
    const Bytes right = test::WithSegment(QuadrantJpeg(), 0xE1, test::ExifOrientationBody(8, true));
    const test::MpoFile file = test::MakeMpo({QuadrantJpeg(), right});
    const MpoIndex index = ReadMpoIndex(file.bytes.data(), file.bytes.size());
    ASSERT_TRUE(index.multiPicture());
    const DecodeResult l = DecodeImageBytes(file.bytes.data(), index.frames[0].size);
    const DecodeResult r = DecodeImageBytes(file.bytes.data() + index.frames[1].offset, index.frames[1].size);
    EXPECT_EQ(l.image.width(), 16);
    EXPECT_TRUE(SamePixels(r.image, ApplyOrientation(l.image.Clone(), 8)));
}

TEST_F(Mpo, WithoutAnIndexOrWithOneFrameItIsNotMultiPicture) {
    const std::vector<Bytes> cases = {frames_[0], test::MakeMpo({frames_[0]}).bytes,
                                      test::WithSegment(frames_[0], 0xE1, {'M', 'P', 'F', 0, 'I', 'I', 42, 0, 8, 0, 0, 0}),
                                      test::EncodePng({1, 1, 2, 8, {1, 2, 3}, {}, {}}), {}, {0xFF, 0xD8}};
    for (const Bytes& b : cases) {
        const MpoIndex index = ReadMpoIndex(b.data(), b.size());
        EXPECT_EQ(index.kind, MpoIndex::Kind::NotMultiPicture);
        EXPECT_TRUE(index.frames.empty());
    }
}

struct DamagedMpo {
    const char* name;
    std::function<Bytes(const std::vector<Bytes>&)> make;
    ErrorCode code;
    const char* message;
};

test::MpoOptions Edit(std::function<void(std::vector<test::MpoEntry>&)> edit) { return {false, -1, std::move(edit)}; }
test::MpoOptions Count(std::int64_t n) { return {true, n, {}}; }
const std::string kDamaged = "the multi-picture index is damaged (";

class DamagedMpoTest : public Mpo, public ::testing::WithParamInterface<DamagedMpo> {};

TEST_P(DamagedMpoTest, GivesItsOwnError) {
    const Bytes bytes = GetParam().make(frames_);
    const MpoIndex index = ReadMpoIndex(bytes.data(), bytes.size());
    EXPECT_EQ(index.kind, MpoIndex::Kind::Damaged);
    EXPECT_EQ(index.status.code, GetParam().code);
    EXPECT_EQ(index.status.message, GetParam().message);
    EXPECT_TRUE(index.frames.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedMpoTest,
    ::testing::Values(
        DamagedMpo{"NoFrames", [](auto& f) { return test::MakeMpo({f[0], f[1]}, Count(0)).bytes; }, ErrorCode::Corrupt,
                   "the multi-picture index is damaged (it lists no frames)"},
        DamagedMpo{"SixtyFive", [](auto& f) { return test::MakeMpo({f[0], f[1]}, Count(65)).bytes; }, ErrorCode::Corrupt,
                   "the multi-picture index is damaged (65 frames; at most 64 are read)"},
        DamagedMpo{"Million", [](auto& f) { return test::MakeMpo({f[0], f[1]}, Count(1000000)).bytes; },
                   ErrorCode::Corrupt, "the multi-picture index is damaged (1000000 frames; at most 64 are read)"},
        DamagedMpo{"CountAndListDisagree", [](auto& f) { return test::MakeMpo({f[0], f[1]}, Count(3)).bytes; },
                   ErrorCode::Corrupt,
                   "the multi-picture index is damaged (the frame list does not match the frame count)"},
        DamagedMpo{"SecondFrameCut",
                   [](auto& f) {
                       Bytes b = test::MakeMpo({f[0], f[1]}).bytes;
                       b.resize(b.size() - 1);
                       return b;
                   },
                   ErrorCode::Truncated, "the file is truncated (frame 2 runs past its end)"},
        DamagedMpo{"OffsetPastTheEnd",
                   [](auto& f) { return test::MakeMpo({f[0], f[1]}, Edit([](auto& e) { e[1].offset = 0xFFFFFFF0u; })).bytes; },
                   ErrorCode::Truncated, "the file is truncated (frame 2 runs past its end)"},
        DamagedMpo{"NotAJpegStream",
                   [](auto& f) { return test::MakeMpo({f[0], f[1]}, Edit([](auto& e) { e[1].offset += 1, e[1].size -= 1; })).bytes; },
                   ErrorCode::Corrupt, "the multi-picture index is damaged (frame 2 is not a JPEG stream)"},
        DamagedMpo{"FirstRunsIntoSecond",
                   [](auto& f) { return test::MakeMpo({f[0], f[1]}, Edit([](auto& e) { e[0].size += 1; })).bytes; },
                   ErrorCode::Corrupt, "the multi-picture index is damaged (two frames overlap)"},
        DamagedMpo{"ThirdInsideSecond",
                   [](auto& f) { return test::MakeMpo(f, Edit([](auto& e) { e[2].offset = e[1].offset, e[2].size = 4; })).bytes; },
                   ErrorCode::Corrupt, "the multi-picture index is damaged (two frames overlap)"},
        DamagedMpo{"SecondAtOffsetZero",
                   [](auto& f) { return test::MakeMpo({f[0], f[1]}, Edit([](auto& e) { e[1].offset = 0; })).bytes; },
                   ErrorCode::Corrupt, "the multi-picture index is damaged (frame 2 has a bad offset)"},
        DamagedMpo{"FirstNotAtTheStart",
                   [](auto& f) { return test::MakeMpo({f[0], f[1]}, Edit([](auto& e) { e[0].offset = 4; })).bytes; },
                   ErrorCode::Corrupt, "the multi-picture index is damaged (frame 1 has a bad offset)"},
        DamagedMpo{"EmptyFrame",
                   [](auto& f) { return test::MakeMpo({f[0], f[1]}, Edit([](auto& e) { e[1].size = 0; })).bytes; },
                   ErrorCode::Corrupt, "the multi-picture index is damaged (frame 2 is empty)"},
        DamagedMpo{"DirectoryOutsideTheSegment",
                   [](auto& f) {
                       Bytes b = test::MakeMpo({f[0], f[1]}).bytes;
                       b[10 + 5] = 0x7F;  // IFD offset, little-endian, second byte
                       return b;
                   },
                   ErrorCode::Corrupt, "the multi-picture index is damaged (its directory lies outside the segment)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SideBySide, ParallelAndCrossHalvesOddWidthAndNoImage) {
    const SourceImage image = Labelled(4, 2);  // 1 2 | 3 4 over 5 6 | 7 8
    const Grid leftHalf = {{1, 2}, {5, 6}}, rightHalf = {{3, 4}, {7, 8}};
    const StereoHalves parallel = SplitSideBySide(image, SideBySide::Parallel);
    ASSERT_TRUE(parallel.ok());
    EXPECT_EQ(Labels(parallel.left), leftHalf);
    EXPECT_EQ(Labels(parallel.right), rightHalf);
    const StereoHalves cross = SplitSideBySide(image, SideBySide::Cross);
    ASSERT_TRUE(cross.ok());
    EXPECT_EQ(Labels(cross.left), rightHalf);
    EXPECT_EQ(Labels(cross.right), leftHalf);

    const StereoHalves odd = SplitSideBySide(Labelled(5, 2), SideBySide::Cross);
    EXPECT_EQ(odd.status.code, ErrorCode::InvalidArgument);
    EXPECT_EQ(odd.status.message,
              "the side-by-side picture is 5 pixels wide, an odd width that cannot be split into two equal halves");
    EXPECT_TRUE(odd.left.empty() && odd.right.empty());
    EXPECT_EQ(SplitSideBySide(SourceImage(), SideBySide::Parallel).status.code, ErrorCode::NoImage);
}

TEST(DecodeImageBytes, BadBytesGiveTheReasonOnly) {
    Bytes cut = SolidJpeg(8, 8, 1, 2, 3);
    cut.resize(cut.size() / 2);
    EXPECT_EQ(DecodeImageBytes(cut.data(), cut.size()).status.message, "the file is truncated");
    EXPECT_EQ(DecodeImageBytes(nullptr, 0).status.code, ErrorCode::Empty);
    const Bytes text = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(DecodeImageBytes(text.data(), text.size()).status.code, ErrorCode::NotAnImage);
}

}  // namespace
}  // namespace bistrope
