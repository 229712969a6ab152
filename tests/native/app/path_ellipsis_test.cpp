// Shortening the caption's path with an ellipsis in the middle.
#include "app/path_ellipsis.h"

#include <gtest/gtest.h>

namespace bistrope {
namespace {

// Every character 7 pixels wide, so widths can be worked out by hand.
std::int32_t Fixed7(const std::wstring& text) { return static_cast<std::int32_t>(text.size()) * 7; }

TEST(PathEllipsis, TheMiddleGivesWayThenTheFileNameThenTheEllipsis) {
    EXPECT_EQ(ShortenPathMiddle(L"C:\\a\\b.jpg", 70, Fixed7), L"C:\\a\\b.jpg");  // fits exactly
    const std::wstring path = L"C:\\Users\\someone\\Pictures\\stereo\\left.jpg";  // 41 characters
    // 25 characters fit: "C:\Users\some" (13) + "..." + "\left.jpg" (9).
    EXPECT_EQ(ShortenPathMiddle(path, 25 * 7, Fixed7), L"C:\\Users\\some...\\left.jpg");
    EXPECT_EQ(ShortenPathMiddle(path, 25 * 7 + 6, Fixed7), L"C:\\Users\\some...\\left.jpg");
    EXPECT_EQ(ShortenPathMiddle(path, 12 * 7, Fixed7), L"...\\left.jpg");
    EXPECT_EQ(ShortenPathMiddle(path, 40 * 7, Fixed7), L"C:\\Users\\someone\\Pictures\\st...\\left.jpg");
    // Too narrow for the file name, or no backslash: cut at the end.
    const std::wstring longName = L"C:\\photos\\a-very-long-file-name.jpg";
    EXPECT_EQ(ShortenPathMiddle(longName, 10 * 7, Fixed7), L"...\\a-v...");
    EXPECT_EQ(ShortenPathMiddle(longName, 3 * 7, Fixed7), L"...");
    EXPECT_EQ(ShortenPathMiddle(longName, 2 * 7, Fixed7), L"..");
    EXPECT_EQ(ShortenPathMiddle(longName, 6, Fixed7), L"");
    EXPECT_EQ(ShortenPathMiddle(L"abcdefghijklmnop", 8 * 7, Fixed7), L"abcde...");
}

TEST(PathEllipsis, ProportionalWidthsAreRespected) {
    // 'W' is wide, everything else narrow: "C:\" 15 + one 'W' 15 + "..." 15 + "\file.png" 45
    // = 90; a second 'W' would make 105.
    auto measure = [](const std::wstring& t) {
        std::int32_t w = 0;
        for (wchar_t c : t) w += c == L'W' ? 15 : 5;
        return w;
    };
    EXPECT_EQ(ShortenPathMiddle(L"C:\\WWWWWWWWWW\\abc\\file.png", 100, measure), L"C:\\W...\\file.png");
}

}  // namespace
}  // namespace bistrope
