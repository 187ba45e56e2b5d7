// Text -> number as the fields are read: anything accepted is finite and
// reads back from its own readout to within 15 digits; NC0 is the nearest
// whole number of the same reading, ties to even, in the signed 32-bit range.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/fields.h"
#include "app/numtext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (char sep : {',', '.'}) {
        const auto real = app::ReadNumberText(text, sep);
        if (real) {
            if (!std::isfinite(*real)) std::abort();
            const auto back = app::ParseNumber(app::FormatNumber(*real, sep), sep);
            if (!back || std::fabs(*back - *real) > std::fabs(*real) * 1e-14) std::abort();
        }
        const auto whole = app::ReadWholeText(text, sep);
        if (!whole) continue;
        if (!real) std::abort();
        const double diff = *real - static_cast<double>(*whole);
        if (!(std::fabs(diff) <= 0.5) || (std::fabs(diff) == 0.5 && *whole % 2 != 0)) std::abort();
    }
    return 0;
}
