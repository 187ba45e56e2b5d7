#include "app/fields.h"

#include <string>

#include "app/errors.h"
#include "app/numtext.h"

namespace app {
namespace {

// "1,500" or "-12.250e3": digits other than a lone 0 before the separator and
// exactly three after it read like a thousands group in the other locale.
bool LooksGrouped(std::string_view text, char other) {
    const auto pos = text.find(other);
    if (pos == std::string_view::npos) return false;
    std::size_t b = 0;
    while (b < pos && (text[b] == ' ' || text[b] == '\t' || text[b] == '+' || text[b] == '-')) ++b;
    const std::string_view intPart = text.substr(b, pos - b);
    if (intPart.empty() || intPart == "0") return false;
    std::size_t digits = 0, i = pos + 1;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++digits, ++i;
    return digits == 3;
}

template <class Read>
auto ReadEither(std::string_view text, char sep, Read read) -> decltype(read(text, sep)) {
    if (auto v = read(text, sep)) return v;
    const char other = sep == ',' ? '.' : ',';
    if (text.find(sep) != std::string_view::npos || LooksGrouped(text, other)) return std::nullopt;
    return read(text, other);
}

}  // namespace

std::optional<double> ReadNumberText(std::string_view text, char sep) {
    return ReadEither(text, sep, ParseNumber);
}

std::optional<std::int32_t> ReadWholeText(std::string_view text, char sep) {
    return ReadEither(text, sep, ParseWhole32);
}

double ReadNumber(WindowPort& port, Field field) {
    if (auto v = ReadNumberText(port.GetText(field), port.DecimalSeparator())) return *v;
    throw InputError(field);
}

std::optional<double> ReadInput(const Input& input, std::string_view text, char sep) {
    if (!input.whole) return ReadNumberText(text, sep);
    const auto whole = ReadWholeText(text, sep);
    if (!whole) return std::nullopt;
    return *whole < 1 ? 1 : *whole;
}

void StoreInput(const Input& input, double value, Record& rec) {
    if (input.param)
        rec.model.p.*input.param = value;
    else
        input.store(rec, value);
}

void ReadFields(WindowPort& port, Record& rec, std::span<const Input* const> order) {
    for (const Input* in : order) {
        const auto v = ReadInput(*in, port.GetText(in->field), port.DecimalSeparator());
        if (!v) throw InputError(in->field);
        StoreInput(*in, *v, rec);
    }
}

}  // namespace app
