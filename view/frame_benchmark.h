#pragma once
// The frame-rate measurement run by a left double-click in the stereo view: 5000 frames,
// each after moving the left image 0.1 to the right (the move is kept), timed with the
// system's millisecond tick count.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/output_rect.h"

namespace bistrope {

constexpr int kBenchmarkFrames = 5000;
constexpr double kBenchmarkStep = 0.1;

// Frames per second for the elapsed ticks (an unsigned 32-bit difference, so a tick
// counter that wraps during the run still gives the right time). None when no tick passed:
// the run was too short to measure.
[[nodiscard]] std::optional<double> FrameRate(std::uint32_t startTick, std::uint32_t endTick);

// "Time: 2000.000fps" for 2500 ms; a run shorter than one tick says so instead of showing
// an infinite rate.
[[nodiscard]] std::wstring FrameRateText(std::uint32_t startTick, std::uint32_t endTick);

// Runs the measurement: reads the tick count, renders 5000 frames stepping offsetX, reads
// the tick count again, and returns the text for the message box. Neither the output
// rectangle nor the status line is refreshed.
[[nodiscard]] std::wstring RunFrameBenchmark(Alignment& alignment, const std::function<void()>& render,
                                             const std::function<std::uint32_t()>& tickCount);

}  // namespace bistrope
