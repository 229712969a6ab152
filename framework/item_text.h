// Number texts of dialog items: formatting into the fixed 100-character item buffer and
// reading a number from the start of an item's text. Independent of the process locale
// (the decimal separator is always a point).
#pragma once

#include <string>

namespace TWIG4 {

// Size of the buffer dialog items are formatted into, terminator included.
constexpr int kItemTextBufferSize = 100;

// "%d". Always fits.
std::wstring FormatItemInt(int value);

// "%.*f" with `decimals` digits after the point (a negative count is taken as 0, more than
// 50 as 50). Returns false and leaves `text` unchanged when the result would not fit the
// 100-character buffer (only possible for very large values); such a value is refused
// rather than shown cut.
bool FormatItemDouble(double value, int decimals, std::wstring& text);

// The leading decimal integer of a text, after leading white space and an optional sign;
// 0 when the text does not start with a number. Values beyond the int range are held at
// its limits.
int ParseLeadingInt(const wchar_t* text);

// The leading decimal number of a text (digits, point, exponent), after leading white
// space and an optional sign; 0 when the text does not start with a number.
double ParseLeadingDouble(const wchar_t* text);

}  // namespace TWIG4
