// The 24 readouts of a display cycle, in the order they are written, with
// the caption of the label that names each (also the headless runner's
// column names).
#pragma once

#include <array>

#include "app/controls.h"
#include "sim/energy.h"
#include "sim/model.h"

namespace app {

struct Readout {
    Field field;
    const char* caption;
    // The value shown, from the model and what the display cycle derived
    // from it; raises sim::ArithmeticError where it cannot be formed.
    double (*value)(const sim::Model&, const sim::DisplayValues&);
};

inline constexpr std::size_t kReadoutCount = 24;
extern const std::array<Readout, kReadoutCount> kReadouts;

}  // namespace app
