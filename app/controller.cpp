#include "app/controller.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "app/drawing.h"
#include "app/errors.h"
#include "app/fields.h"
#include "app/inputs.h"
#include "app/readouts.h"
#include "app/start.h"
#include "sim/arith.h"
#include "sim/dynamics.h"
#include "sim/energy.h"

namespace app {

namespace {

// An error scope: a failing model operation, a field text that does not
// read as a number or an undrawable coordinate inside body ends it with the
// scope's message box. Nothing is rolled back. Returns false when it ended so.
template <class Body>
bool ErrorScope(WindowPort& port, Message message, Body&& body) {
    try {
        body();
        return true;
    } catch (const sim::ArithmeticError&) {
    } catch (const InputError&) {
    } catch (const DrawError&) {
    }
    port.MessageBox(message);
    return false;
}

}  // namespace

Controller::Controller(WindowPort& port) : port_(port) {}

void Controller::Load() {
    port_.Picture(Picture::ConstructionView).Clear();
    port_.Picture(Picture::Plot).Clear();
    DrawViewAxes(port_.Picture(Picture::ConstructionView));
    DrawPlotAxes(port_.Picture(Picture::Plot));
    LoadPreset(1);
}

void Controller::Press(Button button) {
    if (levels_.PressWaits()) {
        levels_.Queue(button);
        return;
    }
    Handle(button);
    // "Выход" between two slices: no window is left for the run.
    WindowClosed();
}

void Controller::Handle(Button button) {
    switch (button) {
        case Button::Start: Start(); break;
        case Button::Stop: Stop(); break;
        case Button::Continue: Continue(); break;
        case Button::StepNC0: StepNC0(); break;
        case Button::Exit: Exit(); break;
        case Button::ClearPictures: ClearPictures(); break;
        case Button::Scheme: ShowScheme(); break;
        case Button::Preset1: LoadPreset(1); break;
        case Button::Preset2: LoadPreset(2); break;
        case Button::About: OpenHelp(); break;
    }
}

void Controller::HandlePending() {
    while (levels_.PressDue()) {
        if (port_.OpenWindowCount() == 0) {
            levels_.DropPresses();
            return;
        }
        Handle(levels_.TakePress());
    }
}

void Controller::Start() {
    if (!ErrorScope(port_, Message::kInputError, [&] { StartFromFields(port_, rec_); })) return;
    rec_.run.StopFlag = false;
    RunSimulation();
}

void Controller::Stop() { rec_.run.StopFlag = true; }

void Controller::Continue() {
    rec_.run.StopFlag = false;
    RunSimulation();
}

void Controller::StepNC0() {
    rec_.run.NC = 0;
    rec_.run.StopFlag = true;
    RunSimulation();
}

void Controller::Exit() { port_.CloseWindows(); }

void Controller::ClearPictures() {
    Surface& view = port_.Picture(Picture::ConstructionView);
    Surface& plot = port_.Picture(Picture::Plot);
    view.ClearBackground();
    view.Clear();
    plot.Clear();
    DrawViewAxes(view);
    DrawPlotAxes(plot);
}

void Controller::ShowScheme() {
    switch (port_.Picture(Picture::ConstructionView).SetBackgroundFromFile(std::string(kSchemeFileName))) {
        case PictureFile::kLoaded: break;
        case PictureFile::kMissing: port_.MessageBox(Message::kSchemeMissing); break;
        case PictureFile::kUnusable: port_.MessageBox(Message::kSchemeUnusable); break;
    }
}

void Controller::LoadPreset(int preset) {
    for (const Input& in : kInputs) ShowNumber(port_, in.field, preset == 2 ? in.preset2 : in.preset1);
}

void Controller::OpenHelp() { port_.ShowHelp(); }

void Controller::RunSimulation() {
    // Pressed during a run, the new level goes first and the interrupted one
    // resumes after it, on the same record.
    levels_.Open();
}

double Controller::RunSlice(const GoOn& goOn) {
    if (!levels_.BeginSlice()) return 0;
    double stepped = 0;  // simulated seconds [s]
    // The innermost level left its event round to the window; it goes on
    // only while a window of the system is still open.
    if (levels_.Innermost() == RunLevels::Phase::kRunning && port_.OpenWindowCount() == 0) EndLevel();
    while (levels_.Depth() > 0) {
        levels_.BeginPass();
        const PassEnd end = Pass(stepped);
        if (end == PassEnd::kStep) continue;
        if (end == PassEnd::kLevelEnded) {
            EndLevel();
            continue;
        }
        // The event round. A queued press that opened a level lets that level
        // run first; otherwise the window may take its events here.
        if (levels_.Innermost() == RunLevels::Phase::kOpened) continue;
        if (port_.OpenWindowCount() == 0) {
            EndLevel();
            continue;
        }
        if (!goOn(stepped)) break;
    }
    levels_.EndSlice();
    return stepped;
}

void Controller::EndLevel() {
    levels_.EndOne();
    // The interrupted level was in its event round, which goes on with the
    // presses queued behind the level that ended (with no level left, they
    // are presses made after the run); the level itself goes on only while a
    // window of the system is still open.
    HandlePending();
    while (levels_.Depth() > 0 && port_.OpenWindowCount() == 0) levels_.EndOne();
    if (levels_.Depth() == 0) port_.Present();
}

void Controller::EndAllLevels() {
    levels_.EndAll();
    port_.Present();
}

void Controller::WindowClosed() {
    if (levels_.InSlice() || levels_.Depth() == 0 || port_.OpenWindowCount() > 0) return;
    EndAllLevels();
}

Controller::PassEnd Controller::Pass(double& stepped) {
    // Step error scope: the step, its accounting and display steps 1 to 6.
    bool displayDue = false;
    const bool stepDone = ErrorScope(port_, Message::kSolveError, [&] {
        sim::Step(rec_.model);
        AccountStep(stepped);
        displayDue = !(rec_.run.NC < rec_.run.NC0);
        if (displayDue) DisplayCycle();
    });
    if (!stepDone) return PassEnd::kLevelEnded;
    if (!displayDue) return PassEnd::kStep;

    // Plot error scope: the series and trajectory points.
    if (!ErrorScope(port_, Message::kPlotError,
                    [&] { PlotUpdate(rec_.model, rec_.view, port_, port_.Picture(Picture::Plot)); }))
        return PassEnd::kLevelEnded;

    if (rec_.run.StopFlag) return PassEnd::kLevelEnded;
    // The presses queued for this level come before anything the window has
    // received since; if one of them opens a level, that level runs first and
    // the rest wait for its first event round.
    HandlePending();
    return PassEnd::kEventRound;
}

void Controller::AccountStep(double& stepped) {
    RunCounters& run = rec_.run;
    Display& view = rec_.view;
    if (run.NC == std::numeric_limits<std::int32_t>::max()) sim::RaiseArithmeticError();
    run.NC = run.NC + 1;
    const double h = rec_.model.p.h;
    stepped += std::fabs(h);
    view.TPlot = sim::Chk(view.TPlot + h);
    // Equality does not restart; the MT is the one held since the last read.
    if (!(sim::Chk(kPlotWidth * view.MT) >= view.TPlot)) {
        view.TPlot = 0;
        Surface& plot = port_.Picture(Picture::Plot);
        plot.Clear();
        DrawPlotAxes(plot);
    }
}

void Controller::DisplayCycle() {
    const sim::Model& m = rec_.model;
    sim::DisplayValues& now = rec_.view.now;
    rec_.run.NC = 0;
    // The time of the step just made goes first: a field refused below
    // leaves it shown.
    ShowNumber(port_, kReadouts[0].field, kReadouts[0].value(m, now));
    // The step, NC0 and the scales typed since the last cycle take effect
    // here: the scales already for this cycle's drawing.
    ReadFields(port_, rec_, kDisplayCycleFields);
    // Every value is formed before the rest is written. E and Ymrv fail
    // before any readout but T is written (and so would the loads' forces,
    // but the step's last evaluation has formed and tested the same sums);
    // a readout whose own value fails leaves the ones before it written.
    now = sim::ComputeDisplayValues(m);
    double values[kReadoutCount];
    std::size_t formed = 1;
    try {
        for (; formed < kReadoutCount; ++formed) values[formed] = kReadouts[formed].value(m, now);
    } catch (const sim::ArithmeticError&) {
        ShowReadouts(values, formed);
        throw;
    }
    ShowReadouts(values, kReadoutCount);
    ViewStep(m, rec_.view, port_.Picture(Picture::ConstructionView));
}

void Controller::ShowReadouts(const double* values, std::size_t count) {
    for (std::size_t i = 1; i < count; ++i) ShowNumber(port_, kReadouts[i].field, values[i]);
}

}  // namespace app
