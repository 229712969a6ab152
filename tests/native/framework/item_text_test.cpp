// Number texts of dialog items: formatting into the 100-character buffer and reading the
// leading number of a text.
#include <gtest/gtest.h>

#include <clocale>
#include <climits>
#include <string>

#include "framework/item_text.h"

using TWIG4::FormatItemDouble;
using TWIG4::FormatItemInt;
using TWIG4::ParseLeadingDouble;
using TWIG4::ParseLeadingInt;

namespace {

std::wstring Fixed(double value, int decimals) {
    std::wstring text = L"unchanged";
    if (!FormatItemDouble(value, decimals, text)) return L"refused";
    return text;
}

TEST(ItemText, FormatsIntegersAndFixedDecimals) {
    EXPECT_EQ(FormatItemInt(0), L"0");
    EXPECT_EQ(FormatItemInt(-42), L"-42");
    EXPECT_EQ(FormatItemInt(INT_MIN), L"-2147483648");
    EXPECT_EQ(Fixed(0.5, 3), L"0.500");
    EXPECT_EQ(Fixed(2.0 / 3.0, 2), L"0.67");
    EXPECT_EQ(Fixed(-2.0 / 3.0, 4), L"-0.6667");
    EXPECT_EQ(Fixed(1.25, 0), L"1");
    EXPECT_EQ(Fixed(2.5, 0), L"2");    // ties to even, as printf does
    EXPECT_EQ(Fixed(0.299, -3), L"0");  // a negative count is taken as 0
    EXPECT_EQ(Fixed(0.3, 8), L"0.30000000");
}

TEST(ItemText, RefusesTextsLongerThanTheBuffer) {
    // 1e95 with 3 decimals is 96 digits + ".000": 100 characters, one too many.
    EXPECT_EQ(Fixed(1e95, 3), L"refused");
    EXPECT_EQ(Fixed(1e300, 0), L"refused");
    // 1e94 with 3 decimals: 95 + 4 = 99 characters, which fits with the terminator.
    const std::wstring fits = Fixed(1e94, 3);
    ASSERT_NE(fits, L"refused");
    EXPECT_EQ(fits.size(), 99u);
    EXPECT_EQ(fits.substr(fits.size() - 4), L".000");
    // The text of a refused value is left alone.
    std::wstring text = L"keep";
    EXPECT_FALSE(FormatItemDouble(1e300, 3, text));
    EXPECT_EQ(text, L"keep");
}

TEST(ItemText, UsesAPointWhateverTheLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        EXPECT_EQ(Fixed(0.5, 3), L"0.500");
        EXPECT_EQ(ParseLeadingDouble(L"1.5"), 1.5);
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ItemText, ReadsTheLeadingInteger) {
    EXPECT_EQ(ParseLeadingInt(L"85"), 85);
    EXPECT_EQ(ParseLeadingInt(L"  -12px"), -12);
    EXPECT_EQ(ParseLeadingInt(L"+7"), 7);
    EXPECT_EQ(ParseLeadingInt(L"3.9"), 3);
    EXPECT_EQ(ParseLeadingInt(L""), 0);
    EXPECT_EQ(ParseLeadingInt(nullptr), 0);
    EXPECT_EQ(ParseLeadingInt(L"abc"), 0);
    EXPECT_EQ(ParseLeadingInt(L"-"), 0);
    EXPECT_EQ(ParseLeadingInt(L"99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseLeadingInt(L"-99999999999999999999"), INT_MIN);
    EXPECT_EQ(ParseLeadingInt(L"-2147483648"), INT_MIN);
}

TEST(ItemText, ReadsTheLeadingNumber) {
    EXPECT_EQ(ParseLeadingDouble(L"0.5"), 0.5);
    EXPECT_EQ(ParseLeadingDouble(L"  -1.25e2 units"), -125.0);
    EXPECT_EQ(ParseLeadingDouble(L"+.5"), 0.5);
    EXPECT_EQ(ParseLeadingDouble(L"3."), 3.0);
    EXPECT_EQ(ParseLeadingDouble(L"1.5e"), 1.5);
    EXPECT_EQ(ParseLeadingDouble(L"7-3"), 7.0);
    EXPECT_EQ(ParseLeadingDouble(L""), 0.0);
    EXPECT_EQ(ParseLeadingDouble(nullptr), 0.0);
    EXPECT_EQ(ParseLeadingDouble(L"x1"), 0.0);
    EXPECT_EQ(ParseLeadingDouble(L"."), 0.0);
    EXPECT_EQ(ParseLeadingDouble(L"1,5"), 1.0) << "a comma is not a decimal point";
}

}  // namespace
