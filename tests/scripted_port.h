// A window in memory whose event processing runs a script: each call of
// ProcessEvents (one per display cycle of a run) runs the next step, which
// may press buttons, type into fields or tick boxes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/controller.h"
#include "app/memory_port.h"

namespace testing_support {

class ScriptedPort : public app::MemoryPort {
public:
    // Display cycles are counted by the T readout, which each writes first.
    void SetText(int textNo, std::string_view t) override {
        if (textNo == 60) {
            ++displayCycles;
            cycleTimes.push_back(model ? model->T : 0);
        }
        MemoryPort::SetText(textNo, t);
    }
    int ProcessEvents() override {
        ++eventCalls;
        if (eventCalls <= static_cast<long>(script.size()) && script[eventCalls - 1]) script[eventCalls - 1]();
        else if (eventCalls > static_cast<long>(script.size()) && afterScript) afterScript();
        return windows;
    }
    void ShowHelp() override { helpAtCycle = displayCycles; }

    const sim::Model* model = nullptr;
    long displayCycles = 0;
    long eventCalls = 0;
    std::vector<double> cycleTimes;
    long helpAtCycle = 0;  // display cycles made when "About" was last handled
    std::vector<std::function<void()>> script;  // step i runs at event call i+1
    std::function<void()> afterScript;          // every later event call
};

struct Form {
    ScriptedPort port;
    app::Controller form{port};
    explicit Form(char sep = ',') {
        port.separator = sep;
        port.model = &form.Model();
        form.Form_Load();
    }
    // Closes the window after n more event calls, so a run cannot go on for ever.
    void LimitTo(long calls) {
        const long end = port.eventCalls + calls;
        port.afterScript = [this, end] {
            if (port.eventCalls >= end) port.windows = 0;
        };
    }
};

}  // namespace testing_support
