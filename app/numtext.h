// Number <-> text as the window writes and reads its fields. The decimal
// separator is passed in, so the same code serves every locale and the
// headless runner.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace app {

// At most 15 significant digits, trailing zeros dropped, positional for
// decimal exponents -4..14 and d.dddE+XX otherwise; "-" for negatives, a
// negative zero as "0". Infinity and not-a-number come out as "inf" and
// "nan": nothing that shows a number passes them.
std::string FormatNumber(double value, char sep);

// The longest text FormatNumber writes: "-1.23456789012345E-308".
inline constexpr int kNumberTextSize = 32;
// The same text into out, without allocating; returns its length.
int FormatNumberTo(double value, char sep, char* out);

// A field holds a number, not a page of digits: longer texts are refused
// rather than read into a buffer of their own size.
inline constexpr std::size_t kMaxNumberText = 500;

// One number: blanks around, optional sign, digits with sep as the decimal
// separator, optional exponent (E-09, e5). Anything else, the empty text,
// nan/inf, hexadecimal forms and values beyond the double range are refused.
std::optional<double> ParseNumber(std::string_view text, char sep);

// The same reading, rounded half to even; must fit a signed 32-bit integer.
std::optional<std::int32_t> ParseWhole32(std::string_view text, char sep);

}  // namespace app
