#include "view/status_text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace bistrope {

std::wstring FormatWide(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    char small[128];
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::wstring out;
    if (n < 0) {
        va_end(again);
        return out;
    }
    const char* text = small;
    std::vector<char> big;
    if (static_cast<size_t>(n) >= sizeof small) {
        big.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(big.data(), big.size(), format, again);
        text = big.data();
    }
    va_end(again);
    out.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
    return out;
}

std::wstring ZoomStatusText(double zoom) { return FormatWide(" Zoom: %.0f%%", zoom * 100); }

std::wstring OutputStatusText(const OutputRect& rect) {
    if (rect.IsEmpty()) return L"  No output image";
    return FormatWide(" Output image %lldx%lld", static_cast<long long>(rect.Width()),
                      static_cast<long long>(rect.Height()));
}

std::wstring OffsetStatusText(double offsetX, double offsetY) {
    return FormatWide(" offset: %.2f,%.2f", offsetX, offsetY);
}

std::wstring RotationStatusText(double rotation) { return FormatWide(" rotation: %.2f", rotation); }

std::array<std::wstring, 4> StatusPaneTexts(double zoom, const OutputRect& rect, const Alignment& alignment) {
    return {ZoomStatusText(zoom), OutputStatusText(rect), OffsetStatusText(alignment.offsetX, alignment.offsetY),
            RotationStatusText(alignment.rotation)};
}

}  // namespace bistrope
