#include "view/frame_benchmark.h"

#include "view/status_text.h"

namespace bistrope {

std::optional<double> FrameRate(std::uint32_t startTick, std::uint32_t endTick) {
    const std::uint32_t dt = endTick - startTick;
    if (dt == 0) return std::nullopt;
    return double(kBenchmarkFrames) / dt * 1000.0;
}

std::wstring FrameRateText(std::uint32_t startTick, std::uint32_t endTick) {
    const std::optional<double> rate = FrameRate(startTick, endTick);
    if (!rate) return FormatWide("Time: %d frames in less than one clock tick, too short to measure", kBenchmarkFrames);
    return FormatWide("Time: %.3ffps", *rate);
}

std::wstring RunFrameBenchmark(Alignment& alignment, const std::function<void()>& render,
                               const std::function<std::uint32_t()>& tickCount) {
    const std::uint32_t t0 = tickCount();
    for (int i = 0; i < kBenchmarkFrames; ++i) {
        alignment.offsetX = alignment.offsetX + kBenchmarkStep;
        render();
    }
    const std::uint32_t t1 = tickCount();
    return FrameRateText(t0, t1);
}

}  // namespace bistrope
