// The main window's handlers and the run engine, written against WindowPort.
// One thread: a run is a loop inside the handler that started it, and user
// input reaches it only in the event processing of each display cycle.
#pragma once

#include <deque>

#include "app/port.h"
#include "app/record.h"

namespace app {

class Controller {
public:
    explicit Controller(WindowPort& port);

    const Record& State() const { return rec_; }
    Record& State() { return rec_; }
    const sim::Model& Model() const { return rec_.model; }

    // The window has its controls: clear and draw both pictures' axes, set
    // the constants, write preset 1 into the fields. No run starts.
    void Load();
    // A button of the window. A press during a run that opened a nested run
    // in this round of events, or behind presses still waiting, waits its
    // turn: presses are handled in the order they were made.
    void Press(Button button);

    // Runs in progress, the interrupted ones included (0 when idle).
    int RunDepth() const { return depth_; }

private:
    void Handle(Button button);
    // Handles queued presses in order until one of them opens a level.
    void HandlePending();

    // The handlers, one per button.
    void Start();
    void Stop();
    void Continue();
    void StepNC0();
    void Exit();
    void ClearPictures();
    void ShowScheme();
    void LoadPreset(int preset);
    void OpenHelp();

    void RunSimulation();
    // One pass of the innermost run: a step, and a display cycle when NC
    // reaches NC0. Returns false when that run ends.
    bool Pass();
    // NC + 1, T + h, TPlot + h; the plot's sweep restarts after 25 * MT.
    void AccountStep();
    void DisplayCycle();

    WindowPort& port_;
    Record rec_;
    // Nesting: a Start, Continue or Do-NC0-steps press handled during a run
    // opens a new level on the same record instead of a native call, so any
    // number of presses needs no stack.
    int depth_ = 0;
    // A native nested run would handle the presses after the one that opened
    // it in its own event processing; here they wait for the new level's.
    bool levelWaiting_ = false;
    std::deque<Button> pending_;
};

}  // namespace app
