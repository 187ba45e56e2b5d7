// The two presets: fifteen field texts each, written in a fixed order.
#pragma once

#include <array>
#include <string>

namespace app {

struct PresetEntry {
    int textNo;    // field written
    double value;  // value the text stands for
    bool whole;    // written as plain digits rather than by the general
                   // number-to-text conversion
};

using Preset = std::array<PresetEntry, 15>;

// presetNo 1 is "вар.1", 2 is "вар.2".
const Preset& PresetTable(int presetNo);

// The text a preset writes for one entry with the given decimal separator.
std::string PresetText(const PresetEntry& e, char sep);

}  // namespace app
