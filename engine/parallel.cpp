#include "engine/parallel.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace bistrope {

namespace {
thread_local int workerLimit = 0;
}  // namespace

int WorkerCount() {
    static const int count = [] {
        const unsigned n = std::thread::hardware_concurrency();
        return int(std::clamp(n, 1u, 16u));
    }();
    return workerLimit > 0 ? std::min(count, workerLimit) : count;
}

void LimitWorkers(int count) { workerLimit = std::max(count, 0); }

void ParallelRows(std::int32_t count, const std::function<void(std::int32_t, std::int32_t)>& body,
                  std::int64_t workPerRow) {
    if (count <= 0) return;
    // Below about 64k units of work a thread costs more than it saves.
    const std::int64_t total = std::int64_t(count) * std::max<std::int64_t>(workPerRow, 1);
    int workers = WorkerCount();
    if (total < 65536 || count < 2) workers = 1;
    workers = std::min<int>(workers, count);
    if (workers == 1) {
        body(0, count);
        return;
    }
    std::vector<std::thread> threads;
    threads.reserve(size_t(workers - 1));
    std::vector<std::pair<std::int32_t, std::int32_t>> leftovers;
    for (int w = 1; w < workers; ++w) {
        const std::int32_t begin = std::int32_t(std::int64_t(count) * w / workers);
        const std::int32_t end = std::int32_t(std::int64_t(count) * (w + 1) / workers);
        try {
            threads.emplace_back(body, begin, end);
        } catch (const std::system_error&) {
            leftovers.emplace_back(begin, end);
        }
    }
    body(0, std::int32_t(std::int64_t(count) / workers));
    for (auto& t : threads) t.join();
    for (auto [b, e] : leftovers) body(b, e);
}

}  // namespace bistrope
