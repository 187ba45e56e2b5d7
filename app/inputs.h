// The window's inputs, one row each: everything that tells one input from
// another. The presets, the read orders of Start and of a display cycle and
// the runner's names all come from this table. A new input is a row here, a
// Field of its own and its place on the form in the window's control table;
// a new parameter of the motion is also a member of sim::Parameters with its
// row in sim::kParameters, against which this table is checked.
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
    // Where its value goes once read: the parameter of the motion it is, or,
    // for the display's and the run's inputs, the store.
    double sim::Parameters::*param;
    void (*store)(Record&, double);
};

// Preset 2 spins fast enough for the claimed force to be tens of kilonewtons,
// so it needs a nanosecond step and draws every 100 steps.
inline constexpr Input kInputs[] = {
    {Field::M0, "m0", 10, 10, 0, kNotReread, false, &sim::Parameters::m0, nullptr},
    {Field::M1, "m1", 1, 1, 4, kNotReread, false, &sim::Parameters::m1, nullptr},
    {Field::R0, "R0", 0.5, 0.5, 1, kNotReread, false, &sim::Parameters::R0, nullptr},
    {Field::R1, "R1", 1, 1, 5, kNotReread, false, &sim::Parameters::R1, nullptr},
    {Field::V0, "V0", 10, 100000, 2, kNotReread, false, &sim::Parameters::V0, nullptr},
    {Field::W0, "w0", 20, 200000, 3, kNotReread, false, &sim::Parameters::w0, nullptr},
    {Field::CT, "CT", 10, 1, 7, kNotReread, false, &sim::Parameters::CT, nullptr},
    {Field::KR, "KR", 1, 1000, 6, kNotReread, false, &sim::Parameters::KR, nullptr},
    {Field::KT, "KT", 0.1, 1, 8, kNotReread, false, &sim::Parameters::KT, nullptr},
    {Field::NC0, "NC0", 1, 100, 14, 1, true, nullptr, [](Record& r, double v) { r.run.NC0 = static_cast<std::int32_t>(v); }},
    {Field::Step, "h", 0.0001, 1e-9, 13, 0, false, &sim::Parameters::h, nullptr},
    {Field::MT, "MT", 0.1, 1e-5, 12, 4, false, nullptr, [](Record& r, double v) { r.view.MT = v; }},
    {Field::ML, "ML", 0.25, 0.25, 10, 2, false, nullptr, [](Record& r, double v) { r.view.ML = v; }},
    {Field::MV, "MV", 10, 100000, 11, 5, false, nullptr, [](Record& r, double v) { r.view.MV = v; }},
    {Field::MF, "MF", 100, 1e10, 9, 3, false, nullptr, [](Record& r, double v) { r.view.MF = v; }},
};

// An input's value in preset 1 or 2. Each is written as a whole number or
// a short decimal, so the text its button writes reads back as this very
// double: a caller may take the numbers instead of the texts.
constexpr double PresetValue(const Input& in, int preset) { return preset == 2 ? in.preset2 : in.preset1; }

// The parameters of the motion in preset 1 or 2.
constexpr sim::Parameters PresetParameters(int preset) {
    sim::Parameters p;
    for (const Input& in : kInputs)
        if (in.param) p.*in.param = PresetValue(in, preset);
    return p;
}

namespace detail {

template <int Input::*place>
constexpr std::size_t CountRead() {
    std::size_t n = 0;
    for (const Input& in : kInputs) n += in.*place != kNotReread;
    return n;
}

// The inputs in the order of one column; every place from 0 up filled once.
template <int Input::*place>
constexpr auto ReadOrder() {
    constexpr std::size_t n = CountRead<place>();
    std::array<const Input*, n> order{};
    std::array<int, n> filled{};
    for (const Input& in : kInputs) {
        if (in.*place == kNotReread) continue;
        const auto at = static_cast<std::size_t>(in.*place);
        if (at >= n || filled[at]++ != 0) throw "a read order must fill each place once";  // not constant
        order[at] = &in;
    }
    return order;
}

}  // namespace detail

// What Start reads, and what each display cycle reads again.
inline constexpr auto kStartFields = detail::ReadOrder<&Input::startRead>();
inline constexpr auto kDisplayCycleFields = detail::ReadOrder<&Input::cycleRead>();

namespace detail {

// Every parameter of the motion is read from exactly one input of its own
// symbol, no input names a parameter the motion does not list, no two
// inputs share a field or a symbol, and Start reads them all. (A
// function's address is no constant under the sanitizers, so the stores are
// left to the tests of the read orders.)
constexpr bool EachParameterHasItsInput() {
    for (const sim::ParameterRow& row : sim::kParameters) {
        int inputs = 0;
        for (const Input& in : kInputs) inputs += in.param == row.value ? (in.symbol == row.symbol ? 1 : 2) : 0;
        if (inputs != 1) return false;
    }
    for (const Input& in : kInputs) {
        for (const Input& other : kInputs)
            if (&other != &in && (other.field == in.field || other.symbol == in.symbol)) return false;
        if (in.startRead == kNotReread) return false;  // Start reads every input
        int rows = 0;
        for (const sim::ParameterRow& row : sim::kParameters) rows += in.param == row.value;
        if (in.param && rows != 1) return false;
    }
    return true;
}
static_assert(EachParameterHasItsInput(), "an input table row does not match the parameters");

}  // namespace detail

}  // namespace app
