// The part of Start that comes before the run: the fields read into the
// record and the start set-up, with J0, CR, Fmrv and E0 shown as each is
// computed.
#pragma once

#include "app/port.h"
#include "app/record.h"

namespace app {

// Writes value into a field by the general number-to-text conversion.
void ShowNumber(WindowPort& port, Field field, double value);

// Raises InputError for a field that does not read as a number and
// sim::ArithmeticError for a failing set-up computation. Each value is
// stored as soon as its field is read, so a refusal leaves the earlier ones
// changed and the later ones as they were.
void StartFromFields(WindowPort& port, Record& rec);

}  // namespace app
