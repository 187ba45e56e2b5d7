// Reading numbers from the window's fields in the user's locale, and the
// fields that Start and every display cycle read into the record.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "app/inputs.h"
#include "app/port.h"
#include "app/record.h"

namespace app {

// Reads with the user's separator; when that fails, also with the other one
// of '.' and ',' unless the text then looks like a thousands group ("1,500"
// under a point locale is refused, "0,2" reads as 0.2).
std::optional<double> ReadNumberText(std::string_view text, char sep);
std::optional<std::int32_t> ReadWholeText(std::string_view text, char sep);

// One field as a number; raises InputError when its text is not one.
double ReadNumber(WindowPort& port, Field field);

// The text of an input as the window reads it: a whole-number input
// rounded half to even, in the signed 32-bit range, and raised to 1 if
// below. Nothing when the text is not such a number.
std::optional<double> ReadInput(const Input& input, std::string_view text, char sep);

// Keeps an input's value where it goes: its parameter of the motion, or
// the display's or the run's store.
void StoreInput(const Input& input, double value, Record& rec);

// Reads the inputs in this order into the record, each value stored as soon
// as its field is read, so a refusal leaves the earlier ones changed and the
// later ones as they were. A whole-number input is raised to 1 if below.
void ReadFields(WindowPort& port, Record& rec, std::span<const Input* const> order);

}  // namespace app
