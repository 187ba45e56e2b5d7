#include "app/presets.h"

namespace app {
namespace {

// Order of writing: m0, m1, R0, R1, V0, w0, CT, KR, KT, NC0, h, MT, ML, MV, MF.
constexpr PresetEntry kPreset1[] = {
    {Field::M0, 10},      {Field::M1, 1},      {Field::R0, 0.5},     {Field::R1, 1},     {Field::V0, 10},
    {Field::W0, 20},      {Field::CT, 10},     {Field::KR, 1},       {Field::KT, 0.1},   {Field::NC0, 1},
    {Field::Step, 0.0001}, {Field::MT, 0.1},   {Field::ML, 0.25},    {Field::MV, 10},    {Field::MF, 100},
};

// Preset 2 spins fast enough for the claimed force to be tens of kilonewtons,
// so it needs a nanosecond step.
constexpr PresetEntry kPreset2[] = {
    {Field::M0, 10},      {Field::M1, 1},      {Field::R0, 0.5},     {Field::R1, 1},     {Field::V0, 100000},
    {Field::W0, 200000},  {Field::CT, 1},      {Field::KR, 1000},    {Field::KT, 1},     {Field::NC0, 100},
    {Field::Step, 1e-9},  {Field::MT, 1e-5},   {Field::ML, 0.25},    {Field::MV, 100000}, {Field::MF, 1e10},
};

}  // namespace

std::span<const PresetEntry> PresetTable(int preset) {
    if (preset == 2) return kPreset2;
    return kPreset1;
}

}  // namespace app
