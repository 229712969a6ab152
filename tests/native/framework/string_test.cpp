// Text, path helpers and formatting of TWIG4::String.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

#include "framework/string.h"

using TWIG4::String;

namespace {

std::wstring Text(const String& s) { return s.GetBuffer(); }

String Formatted(const wchar_t* format, ...) {
    String s;
    va_list args;
    va_start(args, format);
    s.FormatV(format, args);
    va_end(args);
    return s;
}

}  // namespace

TEST(String, ConstructionAndAssignmentCopyTheText) {
    EXPECT_TRUE(String().IsEmpty());
    EXPECT_EQ(Text(String(static_cast<const wchar_t*>(nullptr))), L"");
    wchar_t source[] = L"abc";
    String copy(source);
    source[0] = L'x';
    EXPECT_EQ(Text(copy), L"abc");

    String other(copy);
    other.Assign(L"longer text");
    EXPECT_EQ(Text(copy), L"abc");
    EXPECT_EQ(other.Length(), 11);
    other.Assign(other);  // self-assignment keeps the text
    other.Assign(other.GetBuffer() + 7);  // from inside its own buffer
    EXPECT_EQ(Text(other), L"text");

    String third;
    third = copy;
    EXPECT_EQ(Text(third), L"abc");
    String moved(std::move(other));
    EXPECT_EQ(Text(other), L"");  // a moved-from String is empty, never null
    EXPECT_TRUE(moved == String(L"text"));
    EXPECT_TRUE(moved != copy);
}

TEST(String, FindLeftAndRight) {
    const String s(L"a.b.c");
    EXPECT_EQ((std::array<int, 4>{s.Find(L'.'), s.ReverseFind(L'.'), s.Find(L'z'), s.ReverseFind(L'z')}),
              (std::array<int, 4>{1, 3, -1, -1}));
    const String abcdef(L"abcdef");
    EXPECT_EQ(Text(abcdef.Left(2)), L"ab");
    EXPECT_EQ(Text(abcdef.Right(3)), L"def");
    for (int n : {-1, 0, 6, 10}) {
        EXPECT_EQ(Text(abcdef.Left(n)), n > 0 ? L"abcdef" : L"");
        EXPECT_EQ(Text(abcdef.Right(n)), n > 0 ? L"abcdef" : L"");
    }
}

TEST(String, PathHelpers) {
    const String path(L"C:\\images\\left.photo.jpg");
    EXPECT_EQ(Text(path.PathDirectory()), L"C:\\images");
    EXPECT_EQ(Text(path.PathFileName()), L"left.photo.jpg");
    EXPECT_EQ(Text(path.PathExtension()), L"jpg");
    EXPECT_EQ(Text(String(L"left.jpg").PathDirectory()), L"");
    EXPECT_EQ(Text(String(L"name.").PathExtension()), L"");
    EXPECT_EQ(Text(String(L"noext").PathExtension()), L"");
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(Text(String(L"C:\\my.photos\\left").PathExtension()), L"");
    EXPECT_EQ(Text(String(L"C:\\").PathFileName()), L"");
    // Only the backslash separates.
    EXPECT_EQ(Text(String(L"dir/file.txt").PathFileName()), L"dir/file.txt");
}

TEST(String, FormatGivesTheSameTextInEveryBuild) {
    EXPECT_EQ(Text(Formatted(L"%s|%ls|%hs|%S", L"wide", L"text", "narrow", "too")), L"wide|text|narrow|too");
    EXPECT_EQ(Text(Formatted(L"[%5s][%-5s][%.2s][%.3hs]", L"ab", L"ab", L"abcdef", "narrow")),
              L"[   ab][ab   ][ab][nar]");
    EXPECT_EQ(Text(Formatted(L"%s", static_cast<const wchar_t*>(nullptr))), L"(null)");
    EXPECT_EQ(Text(Formatted(L"%c%lc%hc", L'x', L'y', 'z')), L"xyz");

    EXPECT_EQ(Text(Formatted(L"%d %i %d", -42, INT_MAX, INT_MIN)), L"-42 2147483647 -2147483648");
    EXPECT_EQ(Text(Formatted(L"%u %x %X %o", 4294967295u, 255u, 255u, 8u)), L"4294967295 ff FF 10");
    EXPECT_EQ(Text(Formatted(L"%5d|%-5d|%05d|%+d", 42, 42, 42, 42)), L"   42|42   |00042|+42");
    EXPECT_EQ(Text(Formatted(L"%*d|%.*f|%*d", 4, 7, 1, 2.25, -3, 5)), L"   7|2.2|5  ");
    EXPECT_EQ(Text(Formatted(L"%lld %I64d %zu", -5000000000LL, static_cast<long long>(1) << 40, sizeof(int))),
              L"-5000000000 1099511627776 4");
    EXPECT_EQ(Text(Formatted(L"%hd %hhu", 70000, 300)), L"4464 44");

    // Exact decimal rounding: ties of exactly representable values go to even.
    EXPECT_EQ(Text(Formatted(L"%.0f %.0f %.0f %.0f", 0.5, 1.5, 2.5, -2.5)), L"0 2 2 -2");
    EXPECT_EQ(Text(Formatted(L"%.2f %.2f %.2f %.2f", 1.005, 0.125, 0.375, 2.675)), L"1.00 0.12 0.38 2.67");
    EXPECT_EQ(Text(Formatted(L"%.2f %.8f", -0.001, static_cast<double>(0.299f))), L"-0.00 0.29899999");
    EXPECT_EQ(Text(Formatted(L"%f %e %g %g", 1.0, 1234.5, 0.0001, 1e20)), L"1.000000 1.234500e+03 0.0001 1e+20");
    EXPECT_EQ(Text(Formatted(L"Zoom: %.0f%%, rotation %.2f\u00b0", 66.6, -1.005)), L"Zoom: 67%, rotation -1.00\u00b0");
}

TEST(String, FormatHandlesOddSpecs) {
    EXPECT_EQ(Text(Formatted(L"100%")), L"100%");     // lone percent at the end
    EXPECT_EQ(Text(Formatted(L"%y %d", 3)), L"%y 3");  // unknown conversion copied, no argument used
    EXPECT_EQ(Text(Formatted(nullptr)), L"");
    int ignored = 0;
    EXPECT_EQ(Text(Formatted(L"a%nb", &ignored)), L"ab");
    EXPECT_EQ(ignored, 0);
    // Long results are not cut, and Format replaces the previous text.
    String s(L"previous");
    s.Format(L"%300d|%s", 1, std::wstring(2000, L'q').c_str());
    EXPECT_EQ(s.Length(), 300 + 1 + 2000);
}

TEST(String, Utf16AndUtf8Conversions) {
    const String text(L"Gr\u00fc\u00dfe \u0800\u20ac \U0001F600");
    const std::u16string units = text.ToUtf16();
    EXPECT_EQ(units, u"Gr\u00fc\u00dfe \u0800\u20ac \U0001F600");  // the emoji is a surrogate pair everywhere
    EXPECT_TRUE(String::FromUtf16(units.data(), units.size()) == text);
    EXPECT_EQ(text.ToUtf8(), u8"Gr\u00fc\u00dfe \u0800\u20ac \U0001F600");
    EXPECT_TRUE(String::FromUtf8(text.ToUtf8().c_str()) == text);

    // A terminator inside the data ends the text; a lone surrogate becomes U+FFFD.
    const char16_t withNull[] = {u'a', u'b', 0, u'c'};
    EXPECT_EQ(Text(String::FromUtf16(withNull, 4)), L"ab");
    const char16_t lone[] = {u'a', 0xD800, u'b'};
    EXPECT_EQ(Text(String::FromUtf16(lone, 3)), L"a\uFFFDb");
    EXPECT_EQ(Text(String::FromUtf8("bad \xff byte")), L"bad \uFFFD byte");
    EXPECT_EQ(Text(String::FromUtf8("cut \xe2\x82")), L"cut \uFFFD");
    EXPECT_EQ(Text(String::FromUtf8("overlong \xc0\xaf")), L"overlong \uFFFD");
}
