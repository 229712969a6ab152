#pragma once
// Splits rows [0, count) into contiguous bands, one per worker thread, and runs
// body(begin, end) on each; returns when all are done. Small jobs run on the calling
// thread. If a thread cannot be started its band runs on the calling thread.

#include <cstdint>
#include <functional>

namespace bistrope {

// Number of worker threads the engine uses (the hardware's, at least 1, at most 16), or
// fewer when the calling thread has set a lower limit.
int WorkerCount();

// Limits the work started from the calling thread to `count` threads (0: no limit), for
// callers that run several jobs at once on their own threads.
void LimitWorkers(int count);

void ParallelRows(std::int32_t count, const std::function<void(std::int32_t begin, std::int32_t end)>& body,
                  std::int64_t workPerRow = 0);

}  // namespace bistrope
