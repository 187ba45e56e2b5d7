// The main window's handlers and the run engine, written against WindowPort.
// One thread: a run is a loop inside the handler that started it, and user
// input reaches it only in the event processing of each display cycle.
#pragma once

#include <deque>

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
    void About_Click();      // "About": the help window

    // Runs in progress, the interrupted ones included (0 when idle).
    int RunDepth() const { return depth_; }

private:
    enum class Press {
        Start, Stop, Continue, DoNC0Steps, Exit, ClearPictures, Scheme, Preset1, Preset2, About
    };
    // Handles the press now, or queues it while a level opened in this event
    // round has not run yet or earlier presses still wait.
    void Receive(Press press);
    void Handle(Press press);
    // Handles queued presses in order until one of them opens a level.
    void HandlePending();
    void Start();
    void ClearPictures();
    void ShowScheme();
    void ApplyPreset(int presetNo);
    void RunSimulation();
    // One pass of the innermost run: a step, and a display cycle when NC
    // reaches NC0. Returns false when that run ends.
    bool Pass();
    void DisplayCycle();
    void ShowNumber(int textNo, double value);

    WindowPort& port_;
    sim::Model m_;
    // Nesting: a Start, Continue or Do-NC0-steps press handled during a run
    // opens a new level on the same record instead of a native call, so any
    // number of presses needs no stack.
    int depth_ = 0;
    // A native nested run would handle the presses after the one that opened
    // it in its own event processing; here they wait for the new level's.
    bool levelWaiting_ = false;
    std::deque<Press> pending_;
};

}  // namespace app
