// The window's inputs, one row each: everything that tells one input from
// another. The presets, the read orders of Start and of a display cycle and
// the runner's names all come from this table; a new input is a row here
// (and its place on the form in the window's control table).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "app/controls.h"
#include "app/record.h"

namespace app {

inline constexpr int kNotReread = -1;

struct Input {
    Field field;
    std::string_view symbol;  // its label's symbol, and the runner's --set NAME
    // Written by "вар.1" and "вар.2", in the table's order, by the general
    // number-to-text conversion (a whole number as plain digits).
    double preset1, preset2;
    int startRead;  // its place in the order Start reads
    int cycleRead;  // its place in the order a display cycle reads, or kNotReread
    bool whole;     // a whole number, raised to 1 if below
    void (*store)(Record&, double);  // where its value goes once read
};

// Preset 2 spins fast enough for the claimed force to be tens of kilonewtons,
// so it needs a nanosecond step and draws every 100 steps.
inline constexpr Input kInputs[] = {
    {Field::M0, "m0", 10, 10, 0, kNotReread, false, [](Record& r, double v) { r.model.p.m0 = v; }},
    {Field::M1, "m1", 1, 1, 4, kNotReread, false, [](Record& r, double v) { r.model.p.m1 = v; }},
    {Field::R0, "R0", 0.5, 0.5, 1, kNotReread, false, [](Record& r, double v) { r.model.p.R0 = v; }},
    {Field::R1, "R1", 1, 1, 5, kNotReread, false, [](Record& r, double v) { r.model.p.R1 = v; }},
    {Field::V0, "V0", 10, 100000, 2, kNotReread, false, [](Record& r, double v) { r.model.p.V0 = v; }},
    {Field::W0, "w0", 20, 200000, 3, kNotReread, false, [](Record& r, double v) { r.model.p.w0 = v; }},
    {Field::CT, "CT", 10, 1, 7, kNotReread, false, [](Record& r, double v) { r.model.p.CT = v; }},
    {Field::KR, "KR", 1, 1000, 6, kNotReread, false, [](Record& r, double v) { r.model.p.KR = v; }},
    {Field::KT, "KT", 0.1, 1, 8, kNotReread, false, [](Record& r, double v) { r.model.p.KT = v; }},
    {Field::NC0, "NC0", 1, 100, 14, 1, true, [](Record& r, double v) { r.run.NC0 = static_cast<std::int32_t>(v); }},
    {Field::Step, "h", 0.0001, 1e-9, 13, 0, false, [](Record& r, double v) { r.model.p.h = v; }},
    {Field::MT, "MT", 0.1, 1e-5, 12, 4, false, [](Record& r, double v) { r.view.MT = v; }},
    {Field::ML, "ML", 0.25, 0.25, 10, 2, false, [](Record& r, double v) { r.view.ML = v; }},
    {Field::MV, "MV", 10, 100000, 11, 5, false, [](Record& r, double v) { r.view.MV = v; }},
    {Field::MF, "MF", 100, 1e10, 9, 3, false, [](Record& r, double v) { r.view.MF = v; }},
};

namespace detail {

template <int Input::*place>
constexpr std::size_t CountRead() {
    std::size_t n = 0;
    for (const Input& in : kInputs) n += in.*place != kNotReread;
    return n;
}

// The fields in the order of one column; every place from 0 up filled once.
template <int Input::*place>
constexpr auto ReadOrder() {
    constexpr std::size_t n = CountRead<place>();
    std::array<Field, n> order{};
    std::array<int, n> filled{};
    for (const Input& in : kInputs) {
        if (in.*place == kNotReread) continue;
        const auto at = static_cast<std::size_t>(in.*place);
        if (at >= n || filled[at]++ != 0) throw "a read order must fill each place once";  // not constant
        order[at] = in.field;
    }
    return order;
}

}  // namespace detail

// What Start reads, and what each display cycle reads again.
inline constexpr auto kStartFields = detail::ReadOrder<&Input::startRead>();
inline constexpr auto kDisplayCycleFields = detail::ReadOrder<&Input::cycleRead>();

// The row of a field, or nullptr when the field is no input.
constexpr const Input* InputOf(Field field) {
    for (const Input& in : kInputs)
        if (in.field == field) return &in;
    return nullptr;
}

}  // namespace app
