// Speed of the engine's operations on a 12-megapixel (4000 x 3000) stereo pair:
// decoding, the preview and output conversions, the anaglyph render and JPEG encoding.
// Run: build/native/bench/engine_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

#include "engine/convert.h"
#include "engine/decode.h"
#include "engine/jpeg_writer.h"
#include "engine/render.h"

namespace bistrope {
namespace {

constexpr int kWidth = 4000, kHeight = 3000;

// A photograph-like source: smooth shapes with edges and a little texture.
SourceImage MakePhoto(int w, int h, double shift) {
    SourceImage s = SourceImage::Create(w, h);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = s.row(y);
        for (int x = 0; x < w; ++x, p += 4) {
            const double u = (x + shift) / w, v = double(y) / h;
            p[0] = std::uint8_t(127 + 100 * std::sin(9 * u + 4 * v));
            p[1] = std::uint8_t(127 + 90 * std::cos(7 * v - 3 * u) + ((x ^ y) & 15));
            p[2] = std::uint8_t((int(u * 12) + int(v * 9)) & 1 ? 200 : 60);
            p[3] = 255;
        }
    }
    return s;
}

const SourceImage& Left() {
    static const SourceImage s = MakePhoto(kWidth, kHeight, 0);
    return s;
}
const SourceImage& Right() {
    static const SourceImage s = MakePhoto(kWidth, kHeight, 13);
    return s;
}

ConvertedImage Converted(const SourceImage& s, Eye eye) {
    ConvertedImage out;
    (void)MakeOutputImage(s, ConversionParams{FullColour, eye, {}}, out);
    return out;
}

const std::filesystem::path& JpegFile() {
    static const std::filesystem::path path = [] {
        auto p = std::filesystem::temp_directory_path() / "bistrope-bench-left.jpg";
        (void)WriteJpegFile(p, Converted(Left(), Eye::Right), 92);  // any colourful 12 MP picture
        return p;
    }();
    return path;
}

void BM_DecodeJpeg12MP(benchmark::State& state) {
    const auto& path = JpegFile();
    for (auto _ : state) {
        DecodeResult r = DecodeImageFile(path);
        benchmark::DoNotOptimize(r.image.data());
    }
}
BENCHMARK(BM_DecodeJpeg12MP)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// What a load does: the decode with the 4096 x 4096 preview made on the second core.
void BM_DecodeJpegWithPreview12MP(benchmark::State& state) {
    const auto& path = JpegFile();
    const auto matrix = SelectBlendMatrix(unsigned(state.range(0)), Eye::Left, {});
    for (auto _ : state) {
        PreviewedDecodeResult r = DecodeImageFileWithPreview(path, matrix, 4096);
        benchmark::DoNotOptimize(r.preview.data());
    }
    state.SetLabel(state.range(0) == Monochromatic ? "monochromatic" : "full colour");
}
BENCHMARK(BM_DecodeJpegWithPreview12MP)->Arg(FullColour)->Arg(Monochromatic)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// A 50 MP JPEG under a 2048 texture limit: the load's decode and preview at full size
// (0) and from the half-scale decode a preview that size allows (1).
void BM_DecodeJpegWithPreview50MPTo2048(benchmark::State& state) {
    static const std::filesystem::path path = [] {
        auto p = std::filesystem::temp_directory_path() / "bistrope-bench-50mp.jpg";
        const SourceImage photo = MakePhoto(8688, 5792, 0);
        (void)WriteJpegFile(p, ConvertImage(photo, std::nullopt, photo.width(), photo.height()), 92);
        return p;
    }();
    const auto matrix = SelectBlendMatrix(FullColour, Eye::Left, {});
    for (auto _ : state) {
        PreviewedDecodeResult r = DecodeImageFileWithPreview(path, matrix, 2048, {}, state.range(0) != 0);
        benchmark::DoNotOptimize(r.preview.data());
    }
    state.SetLabel(state.range(0) ? "reduced decode" : "full decode");
}
BENCHMARK(BM_DecodeJpegWithPreview50MPTo2048)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_PreviewConversion12MPTo4096(benchmark::State& state) {
    ConvertedImage preview;
    const unsigned mode = unsigned(state.range(0));
    for (auto _ : state) {
        (void)MakePreviewImage(Left(), ConversionParams{mode, Eye::Left, {}}, 4096, preview);
        benchmark::DoNotOptimize(preview.data());
    }
    state.SetLabel(mode == Monochromatic ? "monochromatic" : "full colour");
}
BENCHMARK(BM_PreviewConversion12MPTo4096)->Arg(FullColour)->Arg(Monochromatic)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_PreviewConversion12MPTo1024(benchmark::State& state) {
    ConvertedImage preview;
    for (auto _ : state) {
        (void)MakePreviewImage(Left(), ConversionParams{FullColour, Eye::Right, {}}, 1024, preview);
        benchmark::DoNotOptimize(preview.data());
    }
}
BENCHMARK(BM_PreviewConversion12MPTo1024)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_OutputConversion12MP(benchmark::State& state) {
    ConvertedImage out;
    for (auto _ : state) {
        (void)MakeOutputImage(Left(), ConversionParams{FullColour, Eye::Right, {}}, out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_OutputConversion12MP)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_RenderAnaglyph12MP(benchmark::State& state) {
    const ConvertedImage left = Converted(Left(), Eye::Left), right = Converted(Right(), Eye::Right);
    const Alignment a{12.5, -7.25, state.range(0) / 10.0};
    const OutputRect rect = ComputeOutputRect(ImageSize{kWidth, kHeight}, ImageSize{kWidth, kHeight}, a);
    ConvertedImage out;
    for (auto _ : state) {
        (void)RenderAnaglyph(left, right, rect, a, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetLabel("rotation " + std::to_string(a.rotation));
}
BENCHMARK(BM_RenderAnaglyph12MP)->Arg(15)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_EncodeJpeg12MPQuality80(benchmark::State& state) {
    const ConvertedImage img = Converted(Left(), Eye::Right);
    Status st;
    for (auto _ : state) {
        auto bytes = EncodeJpeg(img, 80, st);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_EncodeJpeg12MPQuality80)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace
}  // namespace bistrope

BENCHMARK_MAIN();
