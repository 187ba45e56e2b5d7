#include "app/numtext.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <system_error>

namespace app {

int FormatNumberTo(double value, char sep, char* out) {
    if (value == 0) {  // also a negative zero
        out[0] = '0';
        return 1;
    }
    // The general format at 15 significant digits is the readouts' rule:
    // rounded first, positional for decimal exponents -4..14 and d.ddE+XX
    // otherwise, trailing zeros dropped. Only the separator and the
    // exponent letter differ.
    const std::to_chars_result r = std::to_chars(out, out + kNumberTextSize, value, std::chars_format::general, 15);
    for (char* p = out; p != r.ptr; ++p) {
        if (*p == '.') *p = sep;
        if (*p == 'e') *p = 'E';
    }
    return static_cast<int>(r.ptr - out);
}

std::string FormatNumber(double value, char sep) {
    char buf[kNumberTextSize];
    const int n = FormatNumberTo(value, sep, buf);
    return std::string(buf, static_cast<std::size_t>(n));
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> ParseNumber(std::string_view text, char sep) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    const std::string_view s = text.substr(b, e - b);
    if (s.empty() || s.size() > kMaxNumberText) return std::nullopt;

    // Validate the shape and build a plain "[-]ddd.ddde[-]dd" for from_chars,
    // which reads without any locale.
    char buf[kMaxNumberText + 8];
    std::size_t n = 0, i = 0;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-') negative = (s[i++] == '-');
    if (negative) buf[n++] = '-';
    int intDigits = 0, fracDigits = 0;
    // Decimal place of the first significant digit: 1 for units, 2 for
    // tens, 0 for tenths, -1 for hundredths; only needed out of range.
    long firstSig = 0;
    bool seenSig = false;
    int firstSigIndex = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        if (!seenSig && s[i] != '0') {
            seenSig = true;
            firstSigIndex = intDigits;
        }
        buf[n++] = s[i];
        ++intDigits;
    }
    if (seenSig) firstSig = intDigits - firstSigIndex;
    if (i < s.size() && s[i] == sep) {
        buf[n++] = '.';
        ++i;
        for (; i < s.size() && IsDigit(s[i]); ++i) {
            if (!seenSig && s[i] != '0') {
                seenSig = true;
                firstSig = -fracDigits;
            }
            buf[n++] = s[i];
            ++fracDigits;
        }
    }
    if (intDigits + fracDigits == 0) return std::nullopt;
    long exp10 = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        buf[n++] = 'e';
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            expNegative = (s[i] == '-');
            buf[n++] = s[i++];
        }
        const std::size_t start = i;
        for (; i < s.size() && IsDigit(s[i]); ++i) {
            buf[n++] = s[i];
            if (exp10 < 100000000) exp10 = exp10 * 10 + (s[i] - '0');  // saturates
        }
        if (i == start) return std::nullopt;
        if (expNegative) exp10 = -exp10;
    }
    if (i != s.size()) return std::nullopt;

    double value = 0;
    const auto res = std::from_chars(buf, buf + n, value);
    if (res.ptr != buf + n) return std::nullopt;
    if (res.ec == std::errc::result_out_of_range || (res.ec == std::errc() && !std::isfinite(value))) {
        // Too large is refused, except the largest double as the readouts
        // write it (1,79769313486232E+308 rounds above it); too small for a
        // double is zero, since underflow is no error.
        if (seenSig && firstSig + exp10 > 0) {
            long double wide = 0;
            const auto r = std::from_chars(buf, buf + n, wide);
            const long double shownMax = 1.79769313486232e308L;
            if (r.ec == std::errc() && std::fabs(wide) <= shownMax)
                return negative ? -DBL_MAX : DBL_MAX;
            return std::nullopt;
        }
        return negative ? -0.0 : 0.0;
    }
    if (res.ec != std::errc()) return std::nullopt;
    return value;
}

std::optional<std::int32_t> ParseWhole32(std::string_view text, char sep) {
    const auto v = ParseNumber(text, sep);
    if (!v) return std::nullopt;
    // Round half to even, independent of the current rounding mode.
    double r = std::floor(*v);
    const double frac = *v - r;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(r, 2.0) != 0)) r += 1;
    if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
    return static_cast<std::int32_t>(r);
}

}  // namespace app
