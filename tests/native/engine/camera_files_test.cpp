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

using namespace test;
using Grid = std::vector<std::vector<int>>;

// Pixel (x, y) of a w x h picture is grey 1 + x + w * y, alpha 200.
SourceImage Labelled(int w, int h) {
    return MakeSource(w, h, [w](int x, int y, std::uint8_t* p) {
        p[0] = p[1] = p[2] = std::uint8_t(1 + x + w * y), p[3] = 200;
    });
}
// The labels; -1 for a pixel that did not move whole.
Grid Labels(const SourceImage& img) {
    Grid g(std::size_t(img.height()));
    for (int y = 0; y < img.height(); ++y)
        for (const std::uint8_t* p = img.row(y); p < img.row(y) + 4 * img.width(); p += 4)
            g[std::size_t(y)].push_back(p[1] == p[0] && p[2] == p[0] && p[3] == 200 ? p[0] : -1);
    return g;
}
// A 16 x 8 JPEG: one colour, or (r < 0) quadrants that any wrong turn tells apart.
Bytes Jpeg(int r = -1, int g = 0, int b = 0) {
    return EngineJpeg(16, 8, [&](int x, int y, std::uint8_t* p) {
        p[0] = std::uint8_t(r < 0 ? (x < 8 ? 0 : 250) : b), p[1] = std::uint8_t(r < 0 ? (y < 4 ? 30 : 220) : g);
        p[2] = std::uint8_t(r < 0 ? x * 15 : r);
    });
}
const Bytes kPng = ReadBytes(DataFile("grey.png"));

TEST(Orientation, EightTransformsOfAnAsymmetricPicture) {
    const std::vector<Grid> expected = {
        {{1, 2, 3}, {4, 5, 6}}, {{3, 2, 1}, {6, 5, 4}}, {{6, 5, 4}, {3, 2, 1}}, {{4, 5, 6}, {1, 2, 3}},
        {{1, 4}, {2, 5}, {3, 6}}, {{4, 1}, {5, 2}, {6, 3}}, {{6, 3}, {5, 2}, {4, 1}}, {{3, 6}, {2, 5}, {1, 4}}};
    for (int o = -1; o <= 9; ++o)  // values outside 1-8 leave the picture as it is
        EXPECT_EQ(Labels(ApplyOrientation(Labelled(3, 2), o)), expected[o >= 1 && o <= 8 ? o - 1 : 0]) << o;
    EXPECT_TRUE(ApplyOrientation(SourceImage(), 6).empty());
}

// The values 1-8 in both byte orders are read through the files below.
TEST(Orientation, OutOfRangeMalformedOrMissingTagsCountAsUpright) {
    const Bytes exif = ExifOrientationBody(6), good = WithSegment(Jpeg(), 0xE1, exif);
    Bytes cut(good.begin(), good.begin() + 26), longSegment = good, farIfd = exif, afterScan = Jpeg();
    longSegment[4] = 0x7F;  // segment length beyond the file
    farIfd[10] = 0xF0;      // IFD0 offset beyond the segment
    afterScan.insert(afterScan.end() - 2, good.begin() + 2, good.begin() + 4 + 2 + long(exif.size()));
    const std::vector<Bytes> cases = {
        Jpeg(), cut, longSegment, afterScan, kPng, {}, WithSegment(Jpeg(), 0xE1, ExifOrientationBody(0, true)),
        WithSegment(Jpeg(), 0xE1, ExifOrientationBody(9)), WithSegment(Jpeg(), 0xE1, farIfd), WithSegment(Jpeg(), 0xE2, exif),
        TiffWithEntry(true, 0x0112, 3, 1, 0xFFFF), TiffWithEntry(false, 0x0112, 4, 1, 6), TiffWithEntry(true, 0x0112, 3, 0, 6),
        TiffWithEntry(false, 0x0113, 3, 1, 6)};
    for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(ReadOrientation(cases[i].data(), cases[i].size()), 1) << i;
    const Bytes second = WithSegment(good, 0xE1, {'h', 't', 't', 'p', 0});  // a first APP1 that is not EXIF
    EXPECT_EQ(ReadOrientation(second.data(), second.size()), 6);
}

// A file tagged o decodes to the untagged file's pixels turned by o, and the probe and the
// converting decoder (image and luma, row by row for upright JPEG) agree with that. (A failed
// decode gives an empty image, which matches none of these.)
void CheckOrientedFiles(const Bytes& untagged, const std::function<Bytes(int)>& tagged) {
    ScratchDir dir;
    const DecodeResult plain = DecodeImageBytes(untagged.data(), untagged.size());
    for (int o = 1; o <= 8; ++o) {
        WriteBytes(dir / "tagged", tagged(o));
        const DecodeResult got = DecodeImageFile(dir / "tagged");
        const ProbeResult probe = ProbeImageFile(dir / "tagged");
        const ConvertedDecodeResult c = DecodeConvertedImageFile(dir / "tagged", std::nullopt, {}, true);
        EXPECT_TRUE(SameBytes(got.image, ApplyOrientation(plain.image.Clone(), o)) && probe.width == got.image.width() &&
                    probe.height == got.image.height()) << o;
        EXPECT_TRUE(SameBytes(c.image, ConvertImage(got.image, std::nullopt, got.image.width(), got.image.height())) &&
                    SameBytes(c.luma, MakeGreyImage(got.image))) << o;
    }
}

// A TIFF is turned once, not twice.
TEST(OrientedFiles, JpegAndTiffAreTurnedUpright) {
    CheckOrientedFiles(Jpeg(), [](int o) { return WithSegment(Jpeg(), 0xE1, ExifOrientationBody(o, o % 2)); });
    CheckOrientedFiles(RgbTiff(5, 3, 0), [](int o) { return RgbTiff(5, 3, o, o % 2); });
}

const std::vector<Bytes> kFrames = {Jpeg(250, 0, 0), Jpeg(0, 0, 250), Jpeg(0, 250, 0)};
const Bytes kMpo = MakeMpo(kFrames).bytes;

TEST(Mpo, IndexInBothByteOrdersWithTwoAndThreeViewpoints) {
    for (bool be : {false, true})
        for (long n : {2, 3}) {
            const MpoFile file = MakeMpo({kFrames.begin(), kFrames.begin() + n}, be);
            const MpoIndex index = ReadMpoIndex(file.bytes.data(), file.bytes.size());
            std::vector<std::pair<std::size_t, std::size_t>> frames;
            for (const ByteRange& f : index.frames) frames.emplace_back(f.offset, f.size);
            EXPECT_TRUE(index.multiPicture() && frames == file.frames) << be << n << index.status.message;
        }
}

// Without an index or with one frame a file is not a multi-picture one (no reason); a damaged
// index gives its own reason, or (starting with "frame 3 runs") the file is truncated.
TEST(Mpo, NotMultiPictureOrDamagedEachWithItsOwnReason) {
    const auto edited = [](auto edit) { return MakeMpo(kFrames, false, -1, edit).bytes; };
    Bytes lastCut = kMpo, farDirectory = kMpo;
    lastCut.pop_back(), farDirectory[10 + 5] = 0x7F;
    const std::pair<Bytes, std::string> cases[] = {
        {kFrames[0], ""}, {MakeMpo({kFrames[0]}).bytes, ""}, {kPng, ""}, {{}, ""}, {{0xFF, 0xD8}, ""},
        {WithSegment(kFrames[0], 0xE1, {'M', 'P', 'F', 0, 'I', 'I', 42, 0, 8, 0, 0, 0}), ""},  // in APP1
        {MakeMpo(kFrames, false, 0).bytes, "it lists no frames"},
        {MakeMpo(kFrames, false, 65).bytes, "65 frames; at most 64 are read"},
        {MakeMpo(kFrames, false, 4).bytes, "the frame list does not match the frame count"},
        {lastCut, "frame 3 runs past its end"},
        {edited([](auto& e) { e[2].offset = 0xFFFFFFF0u; }), "frame 3 runs past its end"},
        {edited([](auto& e) { e[1].offset += 1, e[1].size -= 1; }), "frame 2 is not a JPEG stream"},
        {edited([](auto& e) { e[0].size += 1; }), "two frames overlap"},
        {edited([](auto& e) { e[1].offset = 0; }), "frame 2 has a bad offset"},
        {edited([](auto& e) { e[0].offset = 4; }), "frame 1 has a bad offset"},
        {edited([](auto& e) { e[1].size = 0; }), "frame 2 is empty"},
        {farDirectory, "its directory lies outside the segment"}};
    for (const auto& [bytes, reason] : cases) {
        const MpoIndex index = ReadMpoIndex(bytes.data(), bytes.size());
        const bool cut = reason.rfind("frame 3 runs", 0) == 0, plain = reason.empty();
        const std::string message = (cut ? "the file is truncated (" : "the multi-picture index is damaged (") + reason + ")";
        EXPECT_EQ(std::tuple(index.kind, index.frames.size(), index.status.code, index.status.message),
                  std::tuple(plain ? MpoIndex::Kind::NotMultiPicture : MpoIndex::Kind::Damaged, 0u,
                             plain ? ErrorCode::None : cut ? ErrorCode::Truncated : ErrorCode::Corrupt, plain ? "" : message));
    }
}

TEST(SideBySide, ParallelAndCrossHalvesOddWidthAndNoImage) {
    const Grid leftHalf = {{1, 2}, {5, 6}}, rightHalf = {{3, 4}, {7, 8}};  // of 1 2 3 4 over 5 6 7 8
    for (SideBySide layout : {SideBySide::Parallel, SideBySide::Cross}) {
        const StereoHalves h = SplitSideBySide(Labelled(4, 2), layout);
        EXPECT_EQ(Labels(h.left), layout == SideBySide::Parallel ? leftHalf : rightHalf);
        EXPECT_EQ(Labels(h.right), layout == SideBySide::Parallel ? rightHalf : leftHalf);
    }
    const StereoHalves odd = SplitSideBySide(Labelled(5, 2), SideBySide::Cross);
    EXPECT_TRUE(odd.status.code == ErrorCode::InvalidArgument && odd.left.empty() && odd.right.empty());
    EXPECT_EQ(odd.status.message,
              "the side-by-side picture is 5 pixels wide, an odd width that cannot be split into two equal halves");
    EXPECT_EQ(SplitSideBySide(SourceImage(), SideBySide::Parallel).status.code, ErrorCode::NoImage);
}

// Red-ness of a decoded eye's middle pixel: 1 for the red frame, 0 for the blue one (or none).
int RedOf(const SourceImage& eye) { return !eye.empty() && eye.row(eye.height() / 2)[4 * (eye.width() / 2) + 2] > 128; }

TEST(StereoFiles, MpoFramesJpsHalvesSinglePicturesAndDamage) {
    ScratchDir dir;
    // Each frame is turned upright by its own orientation.
    WriteBytes(dir / "pair.mpo", MakeMpo({kFrames[0], WithSegment(kFrames[1], 0xE1, ExifOrientationBody(6, true)), kFrames[2]}).bytes);
    StereoDecodeResult r = DecodeStereoFile(dir / "pair.mpo");
    // Frames 1 and 2.
    EXPECT_EQ(std::tuple(r.status.code, RedOf(r.left), RedOf(r.right), r.left.width(), r.right.width()),
              std::tuple(ErrorCode::None, 1, 0, 16, 8));
    EXPECT_EQ(DecodeStereoFile(dir / "pair.mpo", StereoLayout::Cross).left.width(), 8);  // the first frame, split

    // A cross-eyed side-by-side file: the red left half is the right eye. Parallel reads it the other way.
    const Bytes sideBySide = EngineJpeg(32, 8, [](int x, int, std::uint8_t* p) {
        p[0] = x < 16 ? 0 : 250, p[1] = 0, p[2] = x < 16 ? 250 : 0;
    });
    WriteBytes(dir / "pair.Pns", sideBySide), WriteBytes(dir / "plain.jpg", sideBySide);
    r = DecodeStereoFile(dir / "pair.Pns");
    EXPECT_EQ(std::tuple(r.status.code, RedOf(r.left), RedOf(r.right), r.left.width()), std::tuple(ErrorCode::None, 0, 1, 16));
    EXPECT_TRUE(DecodeStereoFile(dir / "plain.jpg").single);
    r = DecodeStereoFile(dir / "plain.jpg", StereoLayout::Parallel);
    EXPECT_EQ(std::pair(RedOf(r.left), RedOf(r.right)), std::pair(1, 0));

    // An MPO without a second frame is one picture; damage and odd widths name the file.
    WriteBytes(dir / "one.mpo", kFrames[0]);
    EXPECT_TRUE(DecodeStereoFile(dir / "one.mpo").single && DecodeStereoFile(dir / "one.mpo").status.ok());
    WriteBytes(dir / "cut.mpo", Bytes(kMpo.begin(), kMpo.end() - 40));
    r = DecodeStereoFile(dir / "cut.mpo");
    EXPECT_TRUE(!r.ok() && r.left.empty() && r.right.empty() && r.status.message.find("cut.mpo") != std::string::npos);
    WriteBytes(dir / "odd.jps", EngineJpeg(15, 8, [](int, int, std::uint8_t* p) { p[0] = p[1] = p[2] = 9; }));
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
