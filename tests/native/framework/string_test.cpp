// Text, path helpers and formatting of TWIG4::String.
#include <gtest/gtest.h>

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
    String empty;
    EXPECT_EQ(Text(empty), L"");
    EXPECT_EQ(empty.Length(), 0);
    EXPECT_TRUE(empty.IsEmpty());
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
    EXPECT_EQ(Text(other), L"longer text");
    other.Assign(other.GetBuffer() + 7);  // from inside its own buffer
    EXPECT_EQ(Text(other), L"text");

    String moved(std::move(other));
    EXPECT_EQ(Text(moved), L"text");
    EXPECT_EQ(Text(other), L"");  // a moved-from String is empty, never null
    EXPECT_TRUE(moved == String(L"text"));
    EXPECT_TRUE(moved != copy);
}

TEST(String, FindAndReverseFind) {
    String s(L"a.b.c");
    EXPECT_EQ(s.Find(L'.'), 1);
    EXPECT_EQ(s.ReverseFind(L'.'), 3);
    EXPECT_EQ(s.Find(L'z'), -1);
    EXPECT_EQ(s.ReverseFind(L'z'), -1);
    EXPECT_EQ(String().Find(L'a'), -1);
    EXPECT_EQ(s.Find(L'a'), 0);
    EXPECT_EQ(s.ReverseFind(L'c'), 4);
}

TEST(String, LeftAndRight) {
    EXPECT_EQ(Text(String(L"abcdef").Right(3)), L"def");
    EXPECT_EQ(Text(String(L"abc").Left(10)), L"abc");
    EXPECT_EQ(Text(String(L"abc").Right(10)), L"abc");
    EXPECT_EQ(Text(String(L"abcdef").Left(2)), L"ab");
    EXPECT_EQ(Text(String(L"abc").Left(3)), L"abc");
    EXPECT_EQ(Text(String(L"abc").Left(0)), L"");
    EXPECT_EQ(Text(String(L"abc").Right(0)), L"");
    EXPECT_EQ(Text(String(L"abc").Left(-1)), L"");
    EXPECT_EQ(Text(String(L"abc").Right(-5)), L"");
}

TEST(String, PathHelpers) {
    String path(L"C:\\images\\left.photo.jpg");
    EXPECT_EQ(Text(path.PathDirectory()), L"C:\\images");
    EXPECT_EQ(Text(path.PathFileName()), L"left.photo.jpg");
    EXPECT_EQ(Text(path.PathExtension()), L"jpg");

    String bare(L"left.jpg");
    EXPECT_EQ(Text(bare.PathDirectory()), L"");
    EXPECT_EQ(Text(bare.PathFileName()), L"left.jpg");

    EXPECT_EQ(Text(String(L"name.").PathExtension()), L"");
    EXPECT_EQ(Text(String(L"a.b.c").PathExtension()), L"c");
    EXPECT_EQ(Text(String(L"noext").PathExtension()), L"");
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(Text(String(L"C:\\my.photos\\left").PathExtension()), L"");
    EXPECT_EQ(Text(String(L"C:\\").PathFileName()), L"");
    EXPECT_EQ(Text(String(L"C:\\").PathDirectory()), L"C:");
    // Only the backslash separates.
    EXPECT_EQ(Text(String(L"dir/file.txt").PathFileName()), L"dir/file.txt");
}

TEST(String, FormatGivesTheSameTextInEveryBuild) {
    EXPECT_EQ(Text(Formatted(L"%s|%ls", L"wide", L"text")), L"wide|text");
    EXPECT_EQ(Text(Formatted(L"%hs|%S", "narrow", "too")), L"narrow|too");
    EXPECT_EQ(Text(Formatted(L"[%5s][%-5s][%.2s]", L"ab", L"ab", L"abcdef")), L"[   ab][ab   ][ab]");
    EXPECT_EQ(Text(Formatted(L"%s", static_cast<const wchar_t*>(nullptr))), L"(null)");
    EXPECT_EQ(Text(Formatted(L"%c%lc%hc", L'x', L'y', 'z')), L"xyz");

    EXPECT_EQ(Text(Formatted(L"%d %d %i", 0, -42, INT_MAX)), L"0 -42 2147483647");
    EXPECT_EQ(Text(Formatted(L"%d", INT_MIN)), L"-2147483648");
    EXPECT_EQ(Text(Formatted(L"%u %x %X %o", 4294967295u, 255u, 255u, 8u)), L"4294967295 ff FF 10");
    EXPECT_EQ(Text(Formatted(L"%5d|%-5d|%05d|%+d", 42, 42, 42, 42)), L"   42|42   |00042|+42");
    EXPECT_EQ(Text(Formatted(L"%*d|%.*f", 4, 7, 1, 2.25)), L"   7|2.2");
    EXPECT_EQ(Text(Formatted(L"%lld %I64d %zu", -5000000000LL, static_cast<long long>(1) << 40, sizeof(int))),
              L"-5000000000 1099511627776 4");
    EXPECT_EQ(Text(Formatted(L"%hd %hhu", 70000, 300)), L"4464 44");

    // Exact decimal rounding: ties of exactly representable values go to even.
    EXPECT_EQ(Text(Formatted(L"%.0f %.0f %.0f %.0f", 0.5, 1.5, 2.5, -2.5)), L"0 2 2 -2");
    EXPECT_EQ(Text(Formatted(L"%.2f %.2f %.2f %.2f", 1.005, 0.125, 0.375, 2.675)), L"1.00 0.12 0.38 2.67");
    EXPECT_EQ(Text(Formatted(L"%.2f %.2f", 99.999, -0.001)), L"100.00 -0.00");
    EXPECT_EQ(Text(Formatted(L"%.8f", static_cast<double>(0.299f))), L"0.29899999");
    EXPECT_EQ(Text(Formatted(L"%.0f%%", 150.0)), L"150%");
    EXPECT_EQ(Text(Formatted(L"%f %e", 1.0, 1234.5)), L"1.000000 1.234500e+03");
    EXPECT_EQ(Text(Formatted(L"%g %g", 0.0001, 1e20)), L"0.0001 1e+20");

    // The status line's kind of text.
    EXPECT_EQ(Text(Formatted(L"Zoom: %.0f%%, rotation %.2f\u00b0, %s", 66.6, -1.005, L"left")),
              L"Zoom: 67%, rotation -1.00\u00b0, left");
}

TEST(String, FormatHandlesOddSpecs) {
    EXPECT_EQ(Text(Formatted(L"100%")), L"100%");       // lone percent at the end
    EXPECT_EQ(Text(Formatted(L"%y %d", 3)), L"%y 3");    // unknown conversion copied, no argument used
    EXPECT_EQ(Text(Formatted(nullptr)), L"");
    int ignored = 0;
    EXPECT_EQ(Text(Formatted(L"a%nb", &ignored)), L"ab");
    EXPECT_EQ(ignored, 0);
    // Long results are not cut.
    String longText = Formatted(L"%300d|%s", 1, std::wstring(2000, L'q').c_str());
    EXPECT_EQ(longText.Length(), 300 + 1 + 2000);
    // Format replaces the previous text.
    String s(L"previous");
    s.Format(L"%d", 7);
    EXPECT_EQ(Text(s), L"7");
}

TEST(String, Utf16AndUtf8Conversions) {
    const String text(L"Gr\u00fc\u00dfe \u20ac \U0001F600");
    const std::u16string units = text.ToUtf16();
    EXPECT_EQ(units, u"Gr\u00fc\u00dfe \u20ac \U0001F600");
    EXPECT_EQ(units.size(), 10u);  // the emoji is a surrogate pair in UTF-16 on every platform
    EXPECT_TRUE(String::FromUtf16(units.data(), units.size()) == text);
    EXPECT_EQ(text.ToUtf8(), u8"Gr\u00fc\u00dfe \u20ac \U0001F600");
    EXPECT_TRUE(String::FromUtf8(text.ToUtf8().c_str()) == text);

    // A terminator inside the data ends the text; a lone surrogate becomes U+FFFD.
    const char16_t withNull[] = {u'a', u'b', 0, u'c'};
    EXPECT_EQ(Text(String::FromUtf16(withNull, 4)), L"ab");
    const char16_t lone[] = {u'a', 0xD800, u'b'};
    EXPECT_EQ(Text(String::FromUtf16(lone, 3)), L"a\uFFFDb");
    EXPECT_EQ(Text(String::FromUtf8("bad \xff byte")), L"bad \uFFFD byte");
    EXPECT_EQ(Text(String::FromUtf8("cut \xe2\x82")), L"cut \uFFFD");
}
