// The stereo document's flows: loading an eye (all or nothing), rebuilding the previews for
// another mode, alignment and output rectangle, saving, and the output-only load of
// bistrope-cli. References are computed with the engine's own operations on the same
// inputs, so each flow is checked for doing the right steps on the right images.
#include "document/stereo_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/convert.h"
#include "engine/decode.h"
#include "engine/render.h"
#include "engine/camera_files.h"
#include "engine/stereo_scene.h"
#include "engine/test_files.h"

using namespace bistrope;
using namespace bistrope::test;

namespace {

template <int N>
bool SamePixels(const BasicImage<N>& a, const BasicImage<N>* b) { return b && SameBytes(a, *b); }

// Records every notice (an eye's as "early" when the document did not hold that eye's images
// yet), and plays the part of a window that reports its own share of progress.
struct Recorder : DocumentListener {
    explicit Recorder(const StereoDocument& d) : document(d) {}
    void OnEyeLoaded(Eye eye, const ProgressFn& progress) override {
        const bool held = document.IsLoaded(eye) && document.HasPreview(eye);
        events.push_back((held ? "loaded " : "early ") + std::string(EyeName(eye)));
        Report(progress, 50), Report(progress, 100);
    }
    void OnPreviewsRebuilt(const ProgressFn& progress) override { events.push_back("rebuilt"), Report(progress, 100); }
    void OnPairReplaced(const ProgressFn& progress) override { events.push_back("pair"), Report(progress, 100); }
    void OnAlignmentChanged() override { events.push_back("aligned"); }
    const StereoDocument& document;
    std::vector<std::string> events;
};

class Document : public ::testing::Test {
protected:
    Document() : recorder(document) { document.AddListener(&recorder); }

    // A JPEG of w x h random pixels (the flows compare against what the file decodes to).
    fs::path WriteImage(const std::string& name, int w, int h, unsigned seed) {
        std::mt19937 rng(seed);
        WriteBytes(dir / name, EngineJpeg(w, h, [&](int, int, std::uint8_t* p) { p[0] = rng(), p[1] = rng(), p[2] = rng(); }));
        return dir / name;
    }
    ConversionParams Params(Eye eye) const { return {settings.mode, eye, settings.custom}; }
    // The eye's preview is the one its source makes with the current settings.
    bool PreviewIsFresh(Eye eye) const {
        ConvertedImage preview;
        return MakePreviewImage(*document.Source(eye), Params(eye), settings.previewLimit, preview).ok() &&
               SamePixels(preview, document.Preview(eye));
    }
    ProgressFn Record() { return [this](int p) { progress.push_back(p); }; }
    // The recorded progress ran from 0 up to 100 without going back.
    bool RanFully() const {
        return !progress.empty() && progress.front() == 0 && progress.back() == 100 &&
               std::is_sorted(progress.begin(), progress.end());
    }

    ScratchDir dir;
    ConversionSettings settings{FullColour, {FullColourMatrix(Eye::Left), FullColourMatrix(Eye::Right)}, 64};
    StereoDocument document{[this] { return settings; }};
    Recorder recorder;
    std::vector<int> progress;
};

TEST_F(Document, LoadingAnEyeTakesSourceAndPreviewTogetherThenTellsTheListeners) {
    const fs::path file = WriteImage("left.jpg", 5, 3, 1);
    ASSERT_TRUE(document.LoadEye(Eye::Left, file, Record()).ok());

    EXPECT_TRUE(SamePixels(DecodeImageFile(file).image, document.Source(Eye::Left)) && PreviewIsFresh(Eye::Left));
    // Power-of-two sides.
    EXPECT_EQ(std::pair(document.Preview(Eye::Left)->width(), document.Path(Eye::Left)), std::pair(8, file));
    EXPECT_TRUE(!document.IsLoaded(Eye::Right) && !document.Output(Eye::Left) && !document.CanSave());
    // One eye: the output rectangle is its own extent, centred on the origin.
    EXPECT_EQ(document.GetOutputRect(), (OutputRect{-2, -1, 2, 1}));
    EXPECT_EQ(recorder.events, std::vector<std::string>{"loaded left"});
    // Decoding at 0, the preview filling 0-50, the listener's share 50-100.
    EXPECT_TRUE(RanFully());
    EXPECT_EQ(std::vector<int>(progress.end() - 3, progress.end()), (std::vector<int>{50, 75, 100}));
}

TEST_F(Document, ASecondLoadReplacesTheEyeAndResetsTheAlignment) {
    ASSERT_TRUE(document.LoadEye(Eye::Left, WriteImage("a.jpg", 6, 4, 1)).ok());
    ASSERT_TRUE(document.LoadEye(Eye::Right, WriteImage("b.jpg", 6, 4, 2)).ok());
    document.SetAlignment({2.0, 1.0, 3.0});
    ASSERT_TRUE(document.MakeOutputImage(Eye::Left).ok());

    ASSERT_TRUE(document.LoadEye(Eye::Left, WriteImage("c.jpg", 7, 5, 3)).ok());
    EXPECT_EQ(document.Size(Eye::Left), (std::optional<ImageSize>{ImageSize{7, 5}}));
    EXPECT_EQ(document.Output(Eye::Left), nullptr);  // the old eye's output went with it
    EXPECT_EQ(std::pair(document.GetAlignment().offsetX, document.GetAlignment().rotation), std::pair(0.0, 0.0));
    EXPECT_EQ(document.GetOutputRect(), ComputeOutputRect(ImageSize{7, 5}, ImageSize{6, 4}, {}));
}

// A file that cannot be loaded, or whose preview cannot be made, leaves the eye, its images,
// the alignment and the output rectangle exactly as they were, and nobody is told of a change.
class BadFile : public Document, public ::testing::WithParamInterface<std::pair<const char*, ErrorCode>> {};

TEST_P(BadFile, LeavesEverythingAsItWas) {
    const fs::path good = WriteImage("good.jpg", 6, 4, 1);
    ASSERT_TRUE(document.LoadEye(Eye::Left, good).ok());
    document.SetAlignment({1.0, -2.0, 1.5});
    const OutputRect rect = document.GetOutputRect();
    const SourceImage source = document.Source(Eye::Left)->Clone();
    const ConvertedImage preview = document.Preview(Eye::Left)->Clone();
    recorder.events.clear();

    const fs::path bad = dir / "bad.jpg";
    const std::string kind = GetParam().first;
    const Bytes whole = ReadBytes(good);
    if (kind == "truncated") WriteBytes(bad, Bytes(whole.begin(), whole.begin() + 60));
    if (kind == "modeZero") WriteBytes(bad, whole), settings.mode = 0;  // no conversion may be made

    const Status status = document.LoadEye(Eye::Left, bad);
    EXPECT_TRUE(status.code == GetParam().second && status.message.find("bad.jpg") != std::string::npos) << status.message;
    EXPECT_EQ(status.message.rfind("Cannot make the preview of \"", 0) == 0, kind == "modeZero") << status.message;
    EXPECT_EQ(document.Path(Eye::Left), good);
    EXPECT_TRUE(SamePixels(source, document.Source(Eye::Left)) && SamePixels(preview, document.Preview(Eye::Left)));
    EXPECT_EQ(document.GetOutputRect(), rect);
    EXPECT_TRUE(document.GetAlignment().offsetY == -2.0 && recorder.events.empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, BadFile,
                         ::testing::Values(std::pair{"missing", ErrorCode::NotFound},
                                           std::pair{"truncated", ErrorCode::Truncated},
                                           std::pair{"modeZero", ErrorCode::ModeZero}),
                         [](const auto& info) { return std::string(info.param.first); });

TEST_F(Document, RebuildingForAnotherModeRemakesBothPreviewsThenTellsTheListeners) {
    document.AddListener(&recorder);  // added twice: still told once
    ASSERT_TRUE(document.SetEyeImage(Eye::Left, RandomSource(9, 5, 1), "l").ok());
    ASSERT_TRUE(document.SetEyeImage(Eye::Right, RandomSource(9, 5, 2), "r").ok());
    recorder.events.clear();

    settings.mode = Monochromatic;
    const auto statuses = document.RebuildPreviews(Record());
    EXPECT_TRUE(statuses[0].ok() && statuses[1].ok() && PreviewIsFresh(Eye::Left) && PreviewIsFresh(Eye::Right));
    EXPECT_EQ(recorder.events, std::vector<std::string>{"rebuilt"});
    EXPECT_EQ(progress, (std::vector<int>{0, 40, 40, 80, 100}));
    progress.clear();
    Subrange(Record(), 0, 100)(99), Subrange(Record(), 50, 100)(33);
    EXPECT_EQ(progress, (std::vector<int>{99, 66}));

    // A mode that allows no conversion keeps the previous previews.
    const ConvertedImage mono = document.Preview(Eye::Right)->Clone();
    settings.mode = 0;
    const auto refused = document.RebuildPreviews();
    EXPECT_EQ(std::pair(refused[0].code, refused[1].code), std::pair(ErrorCode::ModeZero, ErrorCode::ModeZero));
    EXPECT_TRUE(SamePixels(mono, document.Preview(Eye::Right)));

    // The preview bound is read afresh too.
    settings.mode = FullColour, settings.previewLimit = 4;
    ASSERT_TRUE(document.RebuildPreview(Eye::Left).ok() && document.RebuildPreview(Eye::Right).ok());
    EXPECT_EQ(document.Preview(Eye::Left)->width(), 4);
}

TEST_F(Document, AJpegFarLargerThanItsPreviewIsPreviewedFromAReducedDecodeAndSavedAtFullSize) {
    // Smooth pictures (the reduced decode averages 8 x 8 blocks) with a 16 x 16 preview:
    // 240 x 130 is decoded at 1/8 scale for it.
    const auto smooth = [](int shift) {
        return [shift](int x, int y, std::uint8_t* p) { p[0] = std::uint8_t(x), p[1] = std::uint8_t(y + shift), p[2] = 90; };
    };
    WriteBytes(dir / "l.jpg", EngineJpeg(240, 130, smooth(0)));
    WriteBytes(dir / "r.jpg", EngineJpeg(240, 130, smooth(40)));
    settings.previewLimit = 16;
    ASSERT_TRUE(document.LoadEye(Eye::Left, dir / "l.jpg").ok() && document.LoadEye(Eye::Right, dir / "r.jpg").ok());
    EXPECT_EQ(document.Size(Eye::Left), (std::optional<ImageSize>{ImageSize{240, 130}}));
    ASSERT_TRUE(document.Picture(Eye::Left));

    // The preview stays within 3 levels of the one the full-size decode makes; the source,
    // once there, is the full-size decode itself.
    const SourceImage full = DecodeImageFile(dir / "l.jpg").image;
    ConvertedImage reference;
    ASSERT_TRUE(MakePreviewImage(full, Params(Eye::Left), 16, reference).ok());
    const ConvertedImage* preview = document.Preview(Eye::Left);
    ASSERT_TRUE(preview && preview->width() == 16 && preview->height() == 16);
    int worst = 0;
    for (int y = 0; y < 16; ++y)
        for (int i = 0; i < 48; ++i) worst = std::max(worst, std::abs(preview->row(y)[i] - reference.row(y)[i]));
    EXPECT_LE(worst, 3);
    EXPECT_TRUE(SamePixels(full, document.Source(Eye::Left)));
    EXPECT_TRUE(document.Picture(Eye::Left) == document.Source(Eye::Left));

    // Saved, it is byte for byte what a document that decoded at full size saves.
    document.SetAlignment({3.0, -2.0, 1.5});
    ASSERT_TRUE(document.SaveAnaglyph(dir / "reduced.jpg", 90).ok());
    ConversionSettings large = settings;
    large.previewLimit = 4096;
    StereoDocument plain{[&] { return large; }};
    ASSERT_TRUE(plain.LoadEye(Eye::Left, dir / "l.jpg").ok() && plain.LoadEye(Eye::Right, dir / "r.jpg").ok());
    plain.SetAlignment({3.0, -2.0, 1.5});
    ASSERT_TRUE(plain.SaveAnaglyph(dir / "full.jpg", 90).ok());
    EXPECT_EQ(ReadBytes(dir / "reduced.jpg"), ReadBytes(dir / "full.jpg"));
}

TEST_F(Document, SwappingTheEyesRemakesEachPreviewForItsNewEyeOrChangesNothing) {
    ASSERT_TRUE(document.SetEyeImage(Eye::Left, RandomSource(12, 6, 1), "a").ok());
    ASSERT_TRUE(document.SetEyeImage(Eye::Right, RandomSource(10, 8, 2), "b").ok());
    const SourceImage a = document.Source(Eye::Left)->Clone();
    document.SetAlignment({3.0, 1.0, 2.0});
    ASSERT_TRUE(document.MakeOutputImage(Eye::Right).ok());
    recorder.events.clear();

    ASSERT_TRUE(document.SwapEyes(Record()).ok());
    EXPECT_TRUE(document.Path(Eye::Left) == "b" && SamePixels(a, document.Source(Eye::Right)));
    EXPECT_EQ(document.Size(Eye::Left), (std::optional<ImageSize>{ImageSize{10, 8}}));
    EXPECT_TRUE(PreviewIsFresh(Eye::Left) && PreviewIsFresh(Eye::Right));
    EXPECT_TRUE(!document.Output(Eye::Right) && document.GetAlignment().rotation == 0.0 && progress.back() == 100);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"pair"});

    settings.mode = 0;
    EXPECT_EQ(std::pair(document.SwapEyes().code, StereoDocument().SwapEyes().code),
              std::pair(ErrorCode::ModeZero, ErrorCode::NoImage));
    EXPECT_TRUE(document.Path(Eye::Left) == "b" && SamePixels(a, document.Source(Eye::Right)));
}

TEST_F(Document, AStereoFileFillsBothEyesAtOnceUnlessItHoldsOnePicture) {
    const auto solid = [](std::uint8_t r, std::uint8_t b) {
        return EngineJpeg(16, 8, [=](int, int, std::uint8_t* p) { p[0] = b, p[1] = 0, p[2] = r; });
    };
    const Bytes pair = MakeMpo({solid(250, 0), solid(0, 250)}).bytes;
    WriteBytes(dir / "pair.mpo", pair);
    ASSERT_TRUE(document.LoadEye(Eye::Left, WriteImage("old.jpg", 8, 8, 1)).ok());
    document.SetAlignment({2.0, 0.0, 0.0});
    recorder.events.clear();

    ASSERT_TRUE(document.OpenFile(Eye::Right, dir / "pair.mpo", Record()).ok());
    // Frame 1, the red one, is the left eye.
    EXPECT_TRUE(document.Source(Eye::Left)->row(4)[2] > 200 && document.Source(Eye::Right)->row(4)[0] > 200);
    EXPECT_TRUE(document.FromOneFile() && PreviewIsFresh(Eye::Right));
    EXPECT_EQ(document.GetAlignment().offsetX, 0.0);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"pair"});
    EXPECT_TRUE(RanFully());

    // A damaged index changes nothing; a single picture named .mpo goes to the eye asked for.
    WriteBytes(dir / "cut.mpo", Bytes(pair.begin(), pair.end() - 30));
    EXPECT_EQ(document.OpenFile(Eye::Left, dir / "cut.mpo").code, ErrorCode::Truncated);
    EXPECT_EQ(document.Path(Eye::Left), dir / "pair.mpo");
    WriteBytes(dir / "one.mpo", solid(0, 250));
    ASSERT_TRUE(document.OpenFile(Eye::Left, dir / "one.mpo").ok());
    EXPECT_EQ(std::pair(document.Path(Eye::Left), document.Path(Eye::Right)), std::pair(dir / "one.mpo", dir / "pair.mpo"));
    EXPECT_EQ(document.LoadStereoFile(dir / "one.mpo").code, ErrorCode::Unsupported);
}

TEST_F(Document, AlignmentMovesTheOutputRectangleAndEveryChangeIsHeard) {
    ASSERT_TRUE(document.SetEyeImage(Eye::Left, RandomSource(40, 30, 1), "l").ok());
    ASSERT_TRUE(document.SetEyeImage(Eye::Right, RandomSource(50, 30, 2), "r").ok());
    recorder.events.clear();
    const Alignment moved{4.0, -3.0, 2.5};
    document.SetAlignment(moved);
    EXPECT_EQ(document.GetOutputRect(), ComputeOutputRect(ImageSize{40, 30}, ImageSize{50, 30}, moved));
    EXPECT_TRUE(document.CanSave());

    document.SetAlignment({1000.0, 0.0, 0.0});  // no overlap left
    EXPECT_TRUE(document.GetOutputRect().IsEmpty() && !document.CanSave());

    document.ResetAlignment();
    EXPECT_EQ(document.GetOutputRect(), (OutputRect{-20, -15, 20, 15}));
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"aligned", "aligned", "aligned"}));

    document.RemoveListener(&recorder);
    document.ResetAlignment();
    EXPECT_EQ(recorder.events.size(), 3u);
}

TEST_F(Document, SavingWritesTheAnaglyphOfTheOutputRectangle) {
    ASSERT_TRUE(document.LoadEye(Eye::Left, WriteImage("l.jpg", 24, 16, 1)).ok());
    ASSERT_TRUE(document.LoadEye(Eye::Right, WriteImage("r.jpg", 20, 16, 2)).ok());
    document.SetAlignment({2.0, 1.0, 0.0});

    // Independent reference: the engine's conversions and render on the decoded files.
    ConvertedImage left, right, expected;
    ASSERT_TRUE(MakeOutputImage(*document.Source(Eye::Left), Params(Eye::Left), left).ok());
    ASSERT_TRUE(MakeOutputImage(*document.Source(Eye::Right), Params(Eye::Right), right).ok());
    ASSERT_TRUE(RenderAnaglyph(left, right, document.GetOutputRect(), document.GetAlignment(), expected).ok());

    const fs::path out = dir / "out.jpg";
    ASSERT_TRUE(document.SaveAnaglyph(out, 100, Record()).ok() && progress.back() == 100);
    const DecodeResult saved = DecodeImageFile(out);
    ASSERT_EQ(std::pair(saved.image.width(), saved.image.height()), std::pair(expected.width(), expected.height()));
    double total = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int i = 0; i < 3 * expected.width(); ++i)
            total += std::abs(int(saved.image.row(y)[i / 3 * 4 + i % 3]) - int(expected.row(y)[i]));
    // Quality 100 without subsampling: within a level or two on average.
    EXPECT_LT(total / (3.0 * expected.width() * expected.height()), 2.0);
    EXPECT_TRUE(SamePixels(left, document.Output(Eye::Left)));

    // A second save with another mode converts afresh.
    settings.mode = Monochromatic;
    ASSERT_TRUE(document.SaveAnaglyph(out, 90).ok());
    ConvertedImage mono;
    ASSERT_TRUE(MakeOutputImage(*document.Source(Eye::Left), Params(Eye::Left), mono).ok());
    EXPECT_TRUE(SamePixels(mono, document.Output(Eye::Left)));
}

TEST_F(Document, AFailedSaveSaysWhyAndLeavesAnExistingFile) {
    const fs::path out = dir / "keep.jpg";
    WriteBytes(out, Bytes{1, 2, 3});
    ASSERT_TRUE(document.SetEyeImage(Eye::Left, RandomSource(8, 8, 1), "l").ok());
    EXPECT_EQ(document.SaveAnaglyph(out, 80).code, ErrorCode::NoImage);  // one eye only

    ASSERT_TRUE(document.SetEyeImage(Eye::Right, RandomSource(8, 8, 2), "r").ok());
    document.SetAlignment({100.0, 0.0, 0.0});
    EXPECT_EQ(document.SaveAnaglyph(out, 80).code, ErrorCode::EmptyOutput);

    document.ResetAlignment();
    settings.mode = 0;  // the full-size conversion is refused: the eye is named
    const Status refused = document.SaveAnaglyph(out, 80);
    EXPECT_EQ(refused.message.rfind("right image could not be converted at full size", 0), 0u) << refused.message;
    EXPECT_EQ(ReadBytes(out), (Bytes{1, 2, 3}));
}

TEST_F(Document, TheOutputOnlyLoadSavesTheSameFileAsTheInteractiveOne) {
    const fs::path l = WriteImage("l.jpg", 30, 20, 4), r = WriteImage("r.jpg", 30, 20, 5);
    const Alignment moved{-3.0, 2.0, 4.0};
    ASSERT_TRUE(document.LoadEye(Eye::Left, l).ok());
    ASSERT_TRUE(document.LoadEye(Eye::Right, r).ok());
    document.SetAlignment(moved);
    ASSERT_TRUE(document.SaveAnaglyph(dir / "window.jpg", 85).ok());

    StereoDocument headless([this] { return settings; });
    ASSERT_TRUE(headless.LoadPairForOutput(l, r).ok());
    EXPECT_TRUE(!headless.Source(Eye::Left) && !headless.HasPreview(Eye::Right));
    EXPECT_EQ(headless.Size(Eye::Right), (std::optional<ImageSize>{ImageSize{30, 20}}));
    headless.SetAlignment(moved);
    ASSERT_TRUE(headless.SaveAnaglyph(dir / "cli.jpg", 85).ok());
    EXPECT_EQ(ReadBytes(dir / "window.jpg"), ReadBytes(dir / "cli.jpg"));
    // The save rendered into the right eye's output image, which is gone with it.
    EXPECT_TRUE(!headless.IsLoaded(Eye::Right) && headless.IsLoaded(Eye::Left) && !headless.CanSave());

    // A bad second file keeps the pair that was there.
    ASSERT_TRUE(headless.LoadPairForOutput(l, r).ok());
    headless.SetAlignment(moved);
    WriteBytes(dir / "bad.jpg", Bytes{'B', 'M', 1});
    EXPECT_FALSE(headless.LoadPairForOutput(l, dir / "bad.jpg").ok());
    EXPECT_EQ(std::pair(headless.Path(Eye::Right), headless.GetAlignment().rotation), std::pair(r, 4.0));
}

TEST_F(Document, AutoAlignSetsWhatItFindsOrLeavesTheAlignmentAsItWas) {
    SceneParams scene;
    scene.truth = {3.0, -4.0, 2.0};
    auto [left, right] = StereoScene(scene);
    const Alignment manual{1.0, 2.0, 0.5};
    ASSERT_TRUE(document.SetEyeImage(Eye::Left, std::move(left), "l").ok());
    const auto flat = [](int, int, std::uint8_t* p) { p[0] = p[1] = p[2] = 128, p[3] = 255; };
    ASSERT_TRUE(document.SetEyeImage(Eye::Right, MakeSource(320, 240, flat), "flat").ok());
    document.SetAlignment(manual);
    recorder.events.clear();
    EXPECT_EQ(document.AutoAlign().status.code, ErrorCode::NoMatch);
    const Alignment kept = document.GetAlignment();
    EXPECT_EQ(std::tie(kept.offsetX, kept.offsetY, kept.rotation), std::tie(manual.offsetX, manual.offsetY, manual.rotation));
    EXPECT_TRUE(recorder.events.empty());

    ASSERT_TRUE(document.SetEyeImage(Eye::Right, std::move(right), "r").ok());
    document.SetAlignment(manual);
    recorder.events.clear();
    const AutoAlignResult found = document.AutoAlign(Record());
    ASSERT_TRUE(found.ok() && found.matches >= 40) << found.status.message;
    EXPECT_NEAR(document.GetAlignment().offsetY, scene.truth.offsetY, 0.05);
    EXPECT_NEAR(document.GetAlignment().rotation, scene.truth.rotation, 0.01);
    EXPECT_EQ(document.GetOutputRect(), ComputeOutputRect(ImageSize{320, 240}, ImageSize{320, 240}, found.alignment));
    EXPECT_TRUE(RanFully() && recorder.events == std::vector<std::string>{"aligned"});

    // An output-only load aligns from the luma it keeps when asked to, and only then.
    const Alignment fromSources = document.GetAlignment();
    for (Eye eye : {Eye::Left, Eye::Right})
        WriteBytes(dir / EyeName(eye), EngineJpeg(320, 240, [&source = *document.Source(eye)](int x, int y, std::uint8_t* p) {
                       std::copy_n(source.row(y) + 4 * x, 3, p);
                   }));
    StereoDocument headless([this] { return settings; }, StereoDocument::Previews::None);
    ASSERT_TRUE(headless.LoadPairForOutput(dir / "left", dir / "right").ok());
    EXPECT_EQ(headless.AutoAlign().status.code, ErrorCode::NoImage);
    ASSERT_TRUE(headless.LoadPairForOutput(dir / "left", dir / "right", true).ok() && headless.AutoAlign().ok());
    EXPECT_NEAR(headless.GetAlignment().offsetY, fromSources.offsetY, 0.05);
    EXPECT_NEAR(headless.GetAlignment().rotation, fromSources.rotation, 0.01);
}

}  // namespace
