#pragma once
// printf-style formatting of wide text with the same results in every build (the C library's
// own wide printf differs: glibc reads %s as a narrow string, msvcrt rounds %.0f of 2.5 up).
// Each conversion is formatted on its own: numbers through the C library's narrow snprintf
// (exact decimal rounding in both builds), strings and characters here.
//
//   %s %ls      wide string (null pointer: "(null)")     %hs %S   narrow string
//   %c %lc      wide character                           %hc %C   narrow character
//   %d %i %u %o %x %X with hh h l ll j z t I32 I64 modifiers
//   %f %F %e %E %g %G %a %A (L: long double)             %p       pointer
//   %%          a percent sign                           %n       consumes its pointer, writes nothing
// Flags, width and precision (also *) as in C. An unknown conversion is copied as written.

#include <cstdarg>
#include <string>

namespace TWIG4 {

std::wstring FormatWide(const wchar_t* format, std::va_list args);
std::wstring FormatWide(const wchar_t* format, ...);

}  // namespace TWIG4
