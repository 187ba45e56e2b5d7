// The part of Start that comes before the run: the fields read into the
// record, the start set-up, and J0, CR, Fmrv and E0 shown as each is formed.
#pragma once

#include "app/port.h"
#include "app/record.h"

namespace app {

// Writes value into a field by the general number-to-text conversion, where
// the port shows that field.
void ShowNumber(WindowPort& port, Field field, double value);

// Raises InputError for a field that does not read as a number and
// sim::ArithmeticError for a failing set-up computation. Each value is
// stored as soon as its field is read, so a refusal leaves the earlier ones
// changed and the later ones as they were; J0, CR and Fmrv are shown before
// the twist field is read, and a Start refused after them leaves the state
// of the last run as it was, with T = 0.
void StartFromFields(WindowPort& port, Record& rec);

}  // namespace app
