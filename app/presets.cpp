#include "app/presets.h"

#include <cstdio>

#include "app/numtext.h"

namespace app {
namespace {

// Order of writing: m0, m1, R0, R1, V0, w0, CT, KR, KT, NC0, h, MT, ML, MV, MF.
constexpr Preset kPreset1{{
    {1, 10, true},    {11, 1, true},      {2, 0.5, false},   {3, 1, true},
    {4, 10, true},    {5, 20, true},      {6, 10, true},     {7, 1, true},
    {8, 0.1, false},  {55, 1, true},      {54, 0.0001, false}, {51, 0.1, false},
    {29, 0.25, false}, {30, 10, true},    {26, 100, true},
}};

// Preset 2 spins fast enough for the claimed force to be tens of kilonewtons,
// so it needs a nanosecond step.
constexpr Preset kPreset2{{
    {1, 10, true},       {11, 1, true},       {2, 0.5, false},    {3, 1, true},
    {4, 100000, true},   {5, 200000, true},   {6, 1, true},       {7, 1000, true},
    {8, 1, true},        {55, 100, true},     {54, 1e-9, false},  {51, 1e-5, false},
    {29, 0.25, false},   {30, 100000, true},  {26, 1e10, false},
}};

}  // namespace

const Preset& PresetTable(int presetNo) { return presetNo == 2 ? kPreset2 : kPreset1; }

std::string PresetText(const PresetEntry& e, char sep) {
    if (e.whole) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(e.value));
        return buf;
    }
    return FormatNumber(e.value, sep);
}

}  // namespace app
