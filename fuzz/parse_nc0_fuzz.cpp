// Text -> NC0: anything accepted is the nearest whole number of the double
// reading, ties to even, inside the signed 32-bit range.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/fields.h"
#include "app/numtext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (char sep : {',', '.'}) {
        const auto whole = app::ParseWhole32(text, sep);
        const auto real = app::ParseNumber(text, sep);
        if (whole.has_value() && !real.has_value()) std::abort();
        if (!whole) continue;
        const double diff = *real - static_cast<double>(*whole);
        if (!(std::fabs(diff) <= 0.5)) std::abort();
        if (std::fabs(diff) == 0.5 && (*whole % 2) != 0) std::abort();
        (void)app::ReadWholeText(text, sep);
    }
    return 0;
}
