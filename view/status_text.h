#pragma once
// Texts of the stereo view's status panes 1 to 4. They are formatted in char with the C
// library's printf rules and widened, so Linux and Windows builds give the same texts
// (%.0f and %.2f round to the nearest value, ties to even on the exact binary value).

#include <array>
#include <string>

#include "engine/output_rect.h"

namespace bistrope {

constexpr int kHintPane = 0;
constexpr int kZoomPane = 1;
constexpr int kOutputPane = 2;
constexpr int kOffsetPane = 3;
constexpr int kRotationPane = 4;

// Where the stereo view writes its status texts (the frame window's status bar).
class StatusPanes {
public:
    virtual void SetStatusText(int pane, const wchar_t* text) = 0;

protected:
    ~StatusPanes() = default;
};

// " Zoom: 67%" for zoom 0.6666666666666666.
[[nodiscard]] std::wstring ZoomStatusText(double zoom);
// " Output image 4000x3000", or "  No output image" when the rectangle is empty.
[[nodiscard]] std::wstring OutputStatusText(const OutputRect& rect);
// " offset: 12.50,-3.00".
[[nodiscard]] std::wstring OffsetStatusText(double offsetX, double offsetY);
// " rotation: -20.00".
[[nodiscard]] std::wstring RotationStatusText(double rotation);

// The texts of panes 1 to 4, in pane order (element 0 is pane 1).
[[nodiscard]] std::array<std::wstring, 4> StatusPaneTexts(double zoom, const OutputRect& rect,
                                                          const Alignment& alignment);

// printf into a char buffer, widened character by character (the formats are ASCII).
[[nodiscard]] std::wstring FormatWide(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace bistrope
