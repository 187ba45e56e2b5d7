// The 24 readouts of a display cycle, in the order they are written, with
// the caption of the label that names each (also the headless runner's
// column names).
#pragma once

#include <array>

#include "app/controls.h"
#include "sim/model.h"

namespace app {

struct Readout {
    Field field;
    const char* caption;
    // The value shown; raises sim::ArithmeticError where it cannot be formed.
    double (*value)(const sim::Model&);
};

extern const std::array<Readout, 24> kReadouts;

// T comes first, before the settings are read again; E and Ymrv are formed
// before the second readout, FX and FY before this one.
inline constexpr int kFirstLoadForceReadout = 14;

}  // namespace app
