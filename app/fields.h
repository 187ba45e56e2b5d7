// Reading numbers from the window's fields in the user's locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "app/port.h"

namespace app {

// Reads with the user's separator; when that fails, also with the other one
// of '.' and ',' unless the text then looks like a thousands group ("1,500"
// under a point locale is refused, "0,2" reads as 0.2).
std::optional<double> ReadNumberText(std::string_view text, char sep);
std::optional<std::int32_t> ReadWholeText(std::string_view text, char sep);

// The same on a field of the port; raise InputError(textNo) when refused.
double ReadDoubleField(WindowPort& port, int textNo);
std::int32_t ReadWholeField(WindowPort& port, int textNo);

}  // namespace app
