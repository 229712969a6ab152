// Rows shared out to worker threads, and the per-thread limit on them.
#include "engine/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace bistrope {
namespace {

TEST(Parallel, ALimitHoldsForTheThreadThatSetItAndEveryRowRunsOnce) {
    const int all = WorkerCount();
    std::thread([all] {
        LimitWorkers(1);
        EXPECT_EQ(WorkerCount(), 1);
        std::vector<std::atomic<int>> runs(5000);
        std::set<std::thread::id> threads;
        std::mutex lock;
        ParallelRows(5000, [&](std::int32_t b, std::int32_t e) {
            for (std::int32_t y = b; y < e; ++y) ++runs[std::size_t(y)];
            const std::lock_guard<std::mutex> guard(lock);
            threads.insert(std::this_thread::get_id());
        }, 1000);
        EXPECT_EQ(threads.size(), 1u);
        for (const auto& r : runs) ASSERT_EQ(r.load(), 1);
        LimitWorkers(0);
        EXPECT_EQ(WorkerCount(), all);
    }).join();
    EXPECT_EQ(WorkerCount(), all);  // this thread was never limited
}

}  // namespace
}  // namespace bistrope
