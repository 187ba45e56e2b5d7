// Text -> double: anything accepted is finite and survives a round trip
// through the readout conversion to within its 15 digits.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/fields.h"
#include "app/numtext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (char sep : {',', '.'}) {
        for (auto v : {app::ParseNumber(text, sep), app::ReadNumberText(text, sep)}) {
            if (!v) continue;
            if (!std::isfinite(*v)) std::abort();
            const auto back = app::ParseNumber(app::FormatNumber(*v, sep), sep);
            if (!back || std::fabs(*back - *v) > std::fabs(*v) * 1e-14) std::abort();
        }
    }
    return 0;
}
