// The main window's handlers and the run engine, written against WindowPort.
// One thread: a run is a loop inside the handler that started it, and user
// input reaches it only in the event processing of each display cycle.
#pragma once

#include "app/port.h"
#include "sim/model.h"

namespace app {

class Controller {
public:
    explicit Controller(WindowPort& port);

    sim::Model& Model() { return m_; }
    const sim::Model& Model() const { return m_; }

    void Form_Load();
    void Command1_Click();   // " Начать": Start
    void Command2_Click();   // "Остановить": Stop
    void Command3_Click();   // "Продолжить": Continue
    void Command4_Click();   // "Выход": Exit
    void Command5_Click();   // "Очистить  рисунки": clear both pictures
    void Command7_Click();   // "схема": the force-scheme picture
    void Command8_Click();   // "вар.1"
    void Command9_Click();   // "вар.2"
    void Command10_Click();  // "Сделать NC0 шагов": NC0 steps, one display cycle

    // Runs in progress, the interrupted ones included (0 when idle).
    int RunDepth() const { return depth_; }

private:
    void ApplyPreset(int presetNo);
    void RunSimulation();
    // One pass of the innermost run: a step, and a display cycle when NC
    // reaches NC0. Returns false when that run ends.
    bool Pass();
    void DisplayCycle();
    void ShowNumber(int textNo, double value);

    WindowPort& port_;
    sim::Model m_;
    // Nesting: a Start, Continue or Do-NC0-steps press handled during a run's
    // event processing opens a new level on the same record instead of a
    // native call, so any number of presses needs no stack.
    int depth_ = 0;
    bool inEvents_ = false;
};

}  // namespace app
