// The main window's handlers and the run engine, written against WindowPort.
// One thread, and no loop of its own: a press starts a run, and whoever owns
// the event loop (the window's timer, the headless runner's plain loop, a
// test's script) advances it slice by slice. A slice ends at a display
// cycle's event round, the one moment at which presses, ticks and typed
// values reach a running simulation.
#pragma once

#include <cstddef>
#include <functional>

#include "app/port.h"
#include "app/record.h"
#include "app/run_levels.h"

namespace app {

class Controller {
public:
    explicit Controller(WindowPort& port);

    const Record& State() const { return rec_; }
    const sim::Model& Model() const { return rec_.model; }

    // The window has its controls: clear and draw both pictures' axes, write
    // preset 1 into the fields. No run starts.
    void Load();
    // A button of the window. A press during a run that opened a run level
    // not yet at its first event round, or behind presses still waiting,
    // waits its turn: presses are handled in the order they were made.
    void Press(Button button);

    // The run levels, their phase and the presses waiting, as one value.
    const RunLevels& Levels() const { return levels_; }
    // Runs in progress, the interrupted ones included (0 when idle).
    int RunDepth() const { return levels_.Depth(); }
    bool Running() const { return levels_.Depth() > 0; }
    // A run told to stop: it ends at its next stop test.
    bool Stopping() const { return Running() && rec_.run.StopFlag; }

    // Asked at each display cycle's event round with the simulated seconds
    // the slice has stepped so far: true goes on to the next pass at once,
    // false ends the slice there so that the window's events come in.
    using GoOn = std::function<bool(double stepped)>;
    // Advances the innermost run level to an event round where goOn says
    // false, or until every level has ended; returns the simulated seconds
    // stepped (|h| a step). A run whose window is gone ends at the start of
    // the next slice. Called again from inside a slice (a message box's own
    // event loop), it does nothing.
    double RunSlice(const GoOn& goOn);

    // A window of the system has closed. With none left, every run ends
    // now, or, inside a slice, when the slice gets back to the engine.
    void WindowClosed();

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

    // Opens a run level on the record; its passes begin with the next slice.
    void RunSimulation();
    enum class PassEnd { kStep, kEventRound, kLevelEnded };
    // One pass of the innermost level: a step, and a display cycle when NC
    // reaches NC0, which ends at the stop test or in the event round.
    PassEnd Pass(double& stepped);
    // The innermost level has ended: the one it interrupted goes on with the
    // event round it was in, if a window is still open.
    void EndLevel();
    void EndAllLevels();
    // NC + 1 and TPlot + h after the step (which adds h to T); the plot's sweep restarts after 25 * MT.
    // Adds |h| to the simulated seconds the slice has stepped.
    void AccountStep(double& stepped);
    void DisplayCycle();
    // Writes the readouts after T up to count - 1 from their values.
    void ShowReadouts(const double* values, std::size_t count);

    WindowPort& port_;
    Record rec_;
    RunLevels levels_;
};

}  // namespace app
