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

}  // namespace bistrope
