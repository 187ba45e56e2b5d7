// What the benchmarks time: preset 2 started from its numbers, as every
// entry starts.
#pragma once

#include "app/inputs.h"
#include "sim/start.h"

namespace bench {

inline sim::Model Preset2() { return sim::Start(app::PresetParameters(2), 0); }

}  // namespace bench
