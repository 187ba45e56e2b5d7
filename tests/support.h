// What the tests share: Start's record from the window's presets, and a scripted window in memory.
#pragma once

#include <cstring>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "app/controller.h"
#include "app/memory_port.h"
#include "app/start.h"

namespace testing_support {

using Typed = std::initializer_list<std::pair<app::Field, const char*>>;

// Each event round (one a display cycle) runs the next step; after the script, afterScript or the window closes.
class ScriptedPort : public app::MemoryPort {
public:
    void Round() {
        const bool scripted = ++rounds <= static_cast<long>(script.size());
        const auto& step = scripted ? script[rounds - 1] : afterScript;
        if (step) step();
        else if (!scripted) windows = 0;
    }
    // Display cycles are counted by the time readout, which each writes first.
    void SetText(app::Field f, std::string_view text) override {
        cycles += f == app::Field::T;
        MemoryPort::SetText(f, text);
    }
    void ShowHelp() override { helpAtCycle = cycles; }
    void Present() override { presentedAtCycle = cycles; }

    long rounds = 0, cycles = 0, helpAtCycle = -1, presentedAtCycle = -1;
    std::vector<std::function<void()>> script;  // step i runs at round i + 1
    std::function<void()> afterScript;
};

// The main window's logic loaded on a scripted port, a preset in, the texts typed over it.
struct Form {
    ScriptedPort port;
    app::Controller form{port};
    explicit Form(Typed typed = {}, int preset = 1, char sep = ',') {
        port.separator = sep;
        form.Load();
        if (preset == 2) form.Press(app::Button::Preset2);
        for (const auto& [field, text] : typed) port.SetText(field, text);
    }
    // A press from outside a run, driven to its end, one event round a slice.
    void Press(app::Button b) {
        form.Press(b);
        while (form.Running())
            if (form.RunSlice([](double) { return false; }), form.Running()) port.Round();
    }
    const sim::Model& M() const { return form.Model(); }
};

// The record Start builds from those fields (twist ticked when given), without a run.
inline app::Record Started(int preset, Typed typed = {}, const char* twist = nullptr) {
    Form f(typed, preset);
    if (twist) f.port.Check(app::Box::Twist) = 1, f.port.SetText(app::Field::Twist, twist);
    app::Record rec;
    app::StartFromFields(f.port, rec);
    return rec;
}

// Parameters, derived values and start state, byte for byte.
inline bool SameStart(const sim::Model& a, const sim::Model& b) {
    return std::memcmp(&a.p, &b.p, sizeof a.p) == 0 && std::memcmp(&a.start, &b.start, sizeof a.start) == 0 &&
           std::memcmp(&a.s, &b.s, sizeof a.s) == 0;
}

// The running sum of h over n steps: the time a run shows after them.
inline double SumOfSteps(double h, long n) {
    double t = 0;
    for (long i = 0; i < n; ++i) t += h;
    return t;
}

}  // namespace testing_support
