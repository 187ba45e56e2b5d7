#include "app/fields.h"

#include <string>

#include "app/errors.h"
#include "app/numtext.h"
#include "sim/model.h"

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

void ReadFields(WindowPort& port, Record& rec, std::span<const Field> order) {
    sim::Parameters& p = rec.model.p;
    Display& view = rec.view;
    for (const Field field : order) {
        if (field == Field::NC0) {
            const auto whole = ReadWholeText(port.GetText(field), port.DecimalSeparator());
            if (!whole) throw InputError(field);
            rec.run.NC0 = *whole < 1 ? 1 : *whole;
            continue;
        }
        const double v = ReadNumber(port, field);
        switch (field) {
            case Field::M0: p.m0 = v; break;
            case Field::R0: p.R0 = v; break;
            case Field::V0: p.V0 = v; break;
            case Field::W0: p.w0 = v; break;
            case Field::M1: p.m1 = v; break;
            case Field::R1: p.R1 = v; break;
            case Field::KR: p.KR = v; break;
            case Field::CT: p.CT = v; break;
            case Field::KT: p.KT = v; break;
            case Field::MF: view.MF = v; break;
            case Field::ML: view.ML = v; break;
            case Field::MV: view.MV = v; break;
            case Field::MT: view.MT = v; break;
            case Field::Step: p.h = v; break;
            default: break;  // not an input
        }
    }
}

}  // namespace app
