// The two presets: fifteen field texts each, written in a fixed order.
#pragma once

#include <array>
#include <span>

#include "app/controls.h"

namespace app {

struct PresetEntry {
    Field field;
    double value;  // written by the general number-to-text conversion, which
                   // writes a whole number as plain digits
};

// preset 1 is "вар.1", 2 is "вар.2".
std::span<const PresetEntry> PresetTable(int preset);

}  // namespace app
