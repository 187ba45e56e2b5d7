#include "app/controller.h"

#include <string>

#include "app/drawing.h"
#include "app/errors.h"
#include "app/fields.h"
#include "app/messages.h"
#include "app/numtext.h"
#include "app/presets.h"
#include "app/start.h"
#include "sim/arith.h"
#include "sim/dynamics.h"
#include "sim/energy.h"

namespace app {

using sim::Chk;

namespace {

// An error scope: a failing model operation, a field text that does not
// read as a number or an undrawable coordinate inside body ends it with the
// scope's message box. Nothing is rolled back. Returns false when it ended so.
template <class Body>
bool ErrorScope(WindowPort& port, std::string_view message, Body&& body) {
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

void Controller::ShowNumber(int textNo, double value) { app::ShowNumber(port_, textNo, value); }

void Controller::Form_Load() {
    port_.Picture(1).Cls();
    port_.Picture(2).Cls();
    DrawViewAxes(port_.Picture(1));
    DrawPlotAxes(port_.Picture(2));
    sim::SetConstants(m_);
    ApplyPreset(1);
}

void Controller::ApplyPreset(int presetNo) {
    const char sep = port_.DecimalSeparator();
    for (const PresetEntry& e : PresetTable(presetNo)) port_.SetText(e.textNo, PresetText(e, sep));
}

void Controller::Command1_Click() { Receive(Press::Start); }
void Controller::Command2_Click() { Receive(Press::Stop); }
void Controller::Command3_Click() { Receive(Press::Continue); }
void Controller::Command4_Click() { Receive(Press::Exit); }
void Controller::Command5_Click() { Receive(Press::ClearPictures); }
void Controller::Command7_Click() { Receive(Press::Scheme); }
void Controller::Command8_Click() { Receive(Press::Preset1); }
void Controller::Command9_Click() { Receive(Press::Preset2); }
void Controller::Command10_Click() { Receive(Press::DoNC0Steps); }
void Controller::About_Click() { Receive(Press::About); }

void Controller::Receive(Press press) {
    if (levelWaiting_ || !pending_.empty()) {
        pending_.push_back(press);
        return;
    }
    Handle(press);
}

void Controller::Handle(Press press) {
    switch (press) {
        case Press::Start: Start(); break;
        case Press::Stop: m_.StopFlag = 1; break;
        case Press::Continue:
            m_.StopFlag = 0;
            RunSimulation();
            break;
        case Press::DoNC0Steps:
            m_.NC = 0;
            m_.StopFlag = 1;
            RunSimulation();
            break;
        case Press::Exit: port_.CloseWindows(); break;
        case Press::ClearPictures: ClearPictures(); break;
        case Press::Scheme: ShowScheme(); break;
        case Press::Preset1: ApplyPreset(1); break;
        case Press::Preset2: ApplyPreset(2); break;
        case Press::About: port_.ShowHelp(); break;
    }
}

void Controller::HandlePending() {
    while (!levelWaiting_ && !pending_.empty()) {
        // Presses made on a window that has closed since go with it.
        if (port_.OpenWindowCount() == 0) {
            pending_.clear();
            return;
        }
        const Press press = pending_.front();
        pending_.pop_front();
        Handle(press);
    }
}

void Controller::Start() {
    if (!ErrorScope(port_, kInputErrorText, [&] { StartFromFields(port_, m_); })) return;
    m_.StopFlag = 0;
    RunSimulation();
}

void Controller::ClearPictures() {
    Surface& view = port_.Picture(1);
    Surface& plot = port_.Picture(2);
    view.ClearBackground();
    view.Cls();
    plot.Cls();
    DrawViewAxes(view);
    DrawPlotAxes(plot);
}

void Controller::ShowScheme() {
    switch (port_.Picture(1).SetBackgroundFromFile(std::string(kSchemeFileName))) {
        case PictureFile::kLoaded: break;
        case PictureFile::kMissing: port_.MessageBox(kSchemeMissingText); break;
        case PictureFile::kUnusable: port_.MessageBox(kSchemeUnusableText); break;
    }
}

void Controller::RunSimulation() {
    if (depth_ > 0) {
        // Pressed during a run: the new level goes first and the interrupted
        // one resumes after it, on the same record.
        ++depth_;
        levelWaiting_ = true;
        return;
    }
    depth_ = 1;
    while (depth_ > 0) {
        levelWaiting_ = false;
        if (Pass()) continue;
        --depth_;
        // The interrupted level was in its event round, which goes on with the
        // presses queued behind the level that ended; the level itself goes
        // on only while a window of the system is still open.
        if (depth_ > 0) HandlePending();
        while (depth_ > 0 && port_.OpenWindowCount() == 0) --depth_;
    }
    // Only levels ended by a closed window leave presses behind, and the
    // program ends with it.
    pending_.clear();
    port_.Present();
}

bool Controller::Pass() {
    // Step error scope: the step, its accounting and display steps 1 to 6.
    bool displayDue = false;
    const bool stepDone = ErrorScope(port_, kSolveErrorText, [&] {
        sim::RungeKuttaStep(m_);
        if (sim::AccountStep(m_)) {
            Surface& plot = port_.Picture(2);
            plot.Cls();
            DrawPlotAxes(plot);
        }
        displayDue = !(m_.NC < m_.NC0);
        if (displayDue) DisplayCycle();
    });
    if (!stepDone) return false;
    if (!displayDue) return true;

    // Plot error scope: the series and trajectory points.
    if (!ErrorScope(port_, kPlotErrorText, [&] { PlotUpdate(m_, port_, port_.Picture(2)); })) return false;

    if (m_.StopFlag == 1) return false;
    // The presses queued for this level come before anything the window has
    // received since; if one of them opens a level, that level runs first and
    // the rest wait for its event processing.
    HandlePending();
    if (levelWaiting_) return true;
    return port_.ProcessEvents() != 0;
}

void Controller::DisplayCycle() {
    m_.NC = 0;
    ShowNumber(60, m_.T);
    // The step, NC0 and the scales typed since the last cycle take effect
    // here: the scales already for this cycle's drawing.
    m_.h = ReadDoubleField(port_, 54);
    m_.NC0 = ReadWholeField(port_, 55);
    if (m_.NC0 < 1) m_.NC0 = 1;
    m_.ML = ReadDoubleField(port_, 29);
    m_.MF = ReadDoubleField(port_, 26);
    m_.MT = ReadDoubleField(port_, 51);
    m_.MV = ReadDoubleField(port_, 30);

    sim::ComputeE(m_);
    sim::ComputeYmrv(m_);
    ShowNumber(10, m_.w0);
    ShowNumber(12, m_.X[0]);
    ShowNumber(22, m_.Y[0]);
    ShowNumber(19, m_.Ymrv);
    ShowNumber(23, m_.E);
    ShowNumber(24, m_.FR[1]);
    ShowNumber(25, m_.FR[2]);
    ShowNumber(27, m_.R[1]);
    ShowNumber(28, m_.R[2]);
    ShowNumber(14, m_.FT[1]);
    ShowNumber(15, m_.FT[2]);
    ShowNumber(16, Chk(m_.fi[1] * m_.DegPerRad));
    ShowNumber(17, Chk(m_.fi[2] * m_.DegPerRad));
    sim::ComputeLoadForces(m_);
    ShowNumber(31, m_.VX[1]);
    ShowNumber(32, m_.VX[2]);
    ShowNumber(33, m_.VY[1]);
    ShowNumber(34, m_.VY[2]);
    ShowNumber(35, m_.FX[1]);
    ShowNumber(36, m_.FX[2]);
    ShowNumber(37, m_.FY[1]);
    ShowNumber(38, m_.FY[2]);
    // The elements' force on the disk: the reaction to the forces on the loads.
    ShowNumber(39, Chk(-Chk(m_.FX[1] + m_.FX[2])));
    ShowNumber(40, Chk(-Chk(m_.FY[1] + m_.FY[2])));

    ViewStep(m_, port_.Picture(1));
}

}  // namespace app
