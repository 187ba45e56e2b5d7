// Where the runs are, as one value: the run levels in progress, the phase of
// the innermost one, the presses waiting their turn and whether a slice is
// being made. The controller reads it at every slice boundary and event
// round; a test reads it between two slices.
//
// A Start, Continue or Do-NC0-steps press handled in a run's event round
// opens a new level on the same record, which runs first; the levels it
// interrupted wait in their event rounds until it ends. Only the innermost
// level can be in another phase, so a count and that phase are the whole
// stack: ten thousand levels take no more room than one.
#pragma once

#include <deque>

#include "app/controls.h"

namespace app {

class RunLevels {
public:
    enum class Phase {
        kIdle,     // no level: no run in progress
        // The innermost level was opened by a press and has made no pass
        // yet: later presses wait for its first event round, as they would
        // for the event processing of a run started inside the press.
        kOpened,
        // The innermost level makes its passes, or waits in its event round
        // for the next slice: a press between two slices acts at once.
        kRunning,
    };

    // Levels in progress, the interrupted ones included.
    int Depth() const { return depth_; }
    Phase Innermost() const { return phase_; }
    // Presses not handled yet, oldest first.
    const std::deque<Button>& Queued() const { return queued_; }
    bool InSlice() const { return inSlice_; }

    // A press now must wait behind a level not yet at its first event round
    // or behind presses already waiting.
    bool PressWaits() const { return phase_ == Phase::kOpened || !queued_.empty(); }
    void Queue(Button button) { queued_.push_back(button); }
    // The oldest waiting press may be handled now.
    bool PressDue() const { return phase_ != Phase::kOpened && !queued_.empty(); }
    Button TakePress() {
        const Button button = queued_.front();
        queued_.pop_front();
        return button;
    }
    // Presses made on a window that has closed since go with it.
    void DropPresses() { queued_.clear(); }

    // A new innermost level, on top of the ones in progress.
    void Open() {
        ++depth_;
        phase_ = Phase::kOpened;
    }
    // The innermost level makes a pass.
    void BeginPass() { phase_ = Phase::kRunning; }
    // One level has ended; the one it interrupted, if any, is in its event
    // round. (A level opened during the message box of a failing pass keeps
    // its phase: the count cannot tell which of the two ended, nor need it.)
    void EndOne() {
        if (--depth_ == 0) phase_ = Phase::kIdle;
    }
    // No window is left: every level ends, and the presses waiting go too.
    void EndAll() {
        depth_ = 0;
        phase_ = Phase::kIdle;
        queued_.clear();
    }

    // False when a slice is in progress already (a message box's own event
    // loop calling back into the engine).
    bool BeginSlice() {
        if (inSlice_) return false;
        inSlice_ = true;
        return true;
    }
    void EndSlice() { inSlice_ = false; }

private:
    int depth_ = 0;
    Phase phase_ = Phase::kIdle;
    std::deque<Button> queued_;
    bool inSlice_ = false;
};

}  // namespace app
