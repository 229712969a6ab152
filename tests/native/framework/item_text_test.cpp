// Number texts of dialog items: formatting into the 100-character buffer and reading the
// leading number of a text.
#include <gtest/gtest.h>

#include <clocale>
#include <climits>
#include <string>

#include "framework/item_text.h"

using namespace TWIG4;

namespace {

std::wstring Fixed(double value, int decimals) {
    std::wstring text = L"unchanged";
    return FormatItemDouble(value, decimals, text) ? text : L"refused " + text;
}

TEST(ItemText, FormatsIntegersAndFixedDecimals) {
    EXPECT_EQ(FormatItemInt(INT_MIN), L"-2147483648");
    EXPECT_EQ(Fixed(-2.0 / 3.0, 4), L"-0.6667");
    EXPECT_EQ(Fixed(2.5, 0), L"2");     // ties to even, as printf does
    EXPECT_EQ(Fixed(0.299, -3), L"0");  // a negative count is taken as 0
    // 1e94 with 3 decimals is 99 characters and fits with the terminator; 1e95 does not
    // fit and leaves the text as it was.
    EXPECT_EQ(Fixed(1e94, 3).size(), 99u);
    EXPECT_EQ(Fixed(1e95, 3), L"refused unchanged");

    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        EXPECT_EQ(Fixed(0.5, 3), L"0.500");
        EXPECT_EQ(ParseLeadingDouble(L"1.5"), 1.5);
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ItemText, ReadsTheLeadingInteger) {
    const std::pair<const wchar_t*, int> cases[] = {
        {L"  -12px", -12}, {L"+7", 7}, {L"3.9", 3}, {L"", 0}, {nullptr, 0}, {L"abc", 0}, {L"-", 0},
        {L"99999999999999999999", INT_MAX}, {L"-99999999999999999999", INT_MIN}, {L"-2147483648", INT_MIN}};
    for (auto [text, value] : cases) EXPECT_EQ(ParseLeadingInt(text), value) << (text ? text : L"null");
}

TEST(ItemText, ReadsTheLeadingNumber) {
    const std::pair<const wchar_t*, double> cases[] = {
        {L"  -1.25e2 units", -125.0}, {L"+.5", 0.5}, {L"3.", 3.0}, {L"1.5e", 1.5}, {L"7-3", 7.0},
        {L"", 0.0}, {nullptr, 0.0}, {L"x1", 0.0}, {L".", 0.0}, {L"1,5", 1.0}};
    for (auto [text, value] : cases) EXPECT_EQ(ParseLeadingDouble(text), value) << (text ? text : L"null");
}

}  // namespace
