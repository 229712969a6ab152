#pragma once
// Timing marks for measuring the program's flows (bench/app_timings.sh reads them).
//
// When the environment variable BISTROPE_TRACE names a file when the first mark is made,
// every Mark appends one line "<milliseconds since the process's first mark> <what>" to it
// and flushes. Without the variable a mark costs one test of a flag. Marks come from the
// user-interface thread only.

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace trace {

namespace detail {
struct Log {
    std::FILE* file = nullptr;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    Log() {
        const char* path = std::getenv("BISTROPE_TRACE");
        if (path && *path) file = std::fopen(path, "a");
    }
    ~Log() {
        if (file) std::fclose(file);
    }
};
inline Log& TheLog() {
    static Log log;
    return log;
}
}  // namespace detail

inline void Mark(const char* what) {
    detail::Log& log = detail::TheLog();
    if (!log.file) return;
    const auto elapsed = std::chrono::steady_clock::now() - log.start;
    std::fprintf(log.file, "%.1f %s\n", std::chrono::duration<double, std::milli>(elapsed).count(), what);
    std::fflush(log.file);
}

}  // namespace trace
