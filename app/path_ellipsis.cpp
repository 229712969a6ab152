#include "app/path_ellipsis.h"

namespace bistrope {
namespace {

// The largest n in [0, limit] for which fits(n) holds, given that fits is monotone
// (true up to some n, false after); -1 when fits(0) fails.
template <typename Fits>
std::ptrdiff_t LargestFitting(std::size_t limit, Fits fits) {
    if (!fits(0)) return -1;
    std::size_t lo = 0, hi = limit;  // fits(lo) holds
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo + 1) / 2;
        if (fits(mid))
            lo = mid;
        else
            hi = mid - 1;
    }
    return static_cast<std::ptrdiff_t>(lo);
}

// The longest start of `text` followed by "..." that fits; the longest start of "..."
// itself when nothing more does.
std::wstring CutAtEnd(const std::wstring& text, std::int32_t maxWidth, const TextMeasure& measure) {
    const std::ptrdiff_t n = LargestFitting(text.size(), [&](std::size_t k) {
        return measure(text.substr(0, k) + kEllipsis) <= maxWidth;
    });
    if (n >= 0) return text.substr(0, static_cast<std::size_t>(n)) + kEllipsis;
    const std::wstring dots = kEllipsis;
    const std::ptrdiff_t d = LargestFitting(dots.size(), [&](std::size_t k) {
        return measure(dots.substr(0, k)) <= maxWidth;
    });
    return d > 0 ? dots.substr(0, static_cast<std::size_t>(d)) : std::wstring();
}

}  // namespace

std::wstring ShortenPathMiddle(const std::wstring& path, std::int32_t maxWidth, const TextMeasure& measure) {
    if (measure(path) <= maxWidth) return path;
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return CutAtEnd(path, maxWidth, measure);
    const std::wstring tail = path.substr(slash);
    const std::ptrdiff_t head = LargestFitting(slash, [&](std::size_t k) {
        return measure(path.substr(0, k) + kEllipsis + tail) <= maxWidth;
    });
    if (head >= 0) return path.substr(0, static_cast<std::size_t>(head)) + kEllipsis + tail;
    return CutAtEnd(kEllipsis + tail, maxWidth, measure);
}

}  // namespace bistrope
