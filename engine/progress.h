#pragma once
// Progress reports of long engine operations: a percentage from 0 to 100, called on the
// thread that started the operation, never from a worker thread. An empty function means
// nobody listens.

#include <functional>

namespace bistrope {

using ProgressFn = std::function<void(int percent)>;

inline void Report(const ProgressFn& progress, int percent) {
    if (progress) progress(percent);
}

// A step of a longer job: its 0-100 % reported into [low, high] of `whole`, truncated
// (50 % of 50-100 is 75). Empty when nobody listens to `whole`.
[[nodiscard]] inline ProgressFn Subrange(const ProgressFn& whole, int low, int high) {
    if (!whole) return {};
    return [whole, low, high](int percent) { whole(low + percent * (high - low) / 100); };
}

}  // namespace bistrope
