// The start set-up: the derived parameters J0 and CR, the claimed lateral
// force, the initial state with the optional test twist, and its energy.
// Formulas are evaluated in exactly the order written: the readouts show 15
// significant digits, so the order decides the last ones.
#pragma once

#include "sim/dynamics.h"
#include "sim/model.h"

namespace sim {

// J0 = m0 * R0 * R0 / 2, a uniform solid disk.
double ComputeJ0(Model& m);
// CR = w0^2 * m1: the elastic force at any radius equals the centripetal
// force of rigid rotation at w0, so the loads start in equilibrium.
double ComputeCR(Model& m);
// The lateral force claimed for the disk, by the formula on the window's label.
double ComputeFmrv(Model& m);
// Positions, velocities and twist of the start state; fi0 is the start disk
// angle (0 unless the twist test is on).
void SetInitialState(Model& m, double fi0);
// Total energy at start, from the inputs and the start twist.
double ComputeE0(Model& m);

enum class StartValue { kJ0, kCR, kFmrv, kE0 };

// The whole start set-up in the order of the Start button, with what the
// window does in between left to hooks: J0, CR and Fmrv, each handed to
// hooks.Show as soon as it is computed; T = 0; the start disk angle from
// hooks.Twist(), 0 unless the twist test is on; the initial state, then
// hooks.Placed(); E0, shown; the state vector. A failing computation raises
// ArithmeticError, and so may a hook; what came before stays done.
template <class Hooks>
void StartSetup(Model& m, Hooks&& hooks) {
    hooks.Show(StartValue::kJ0, ComputeJ0(m));
    hooks.Show(StartValue::kCR, ComputeCR(m));
    hooks.Show(StartValue::kFmrv, ComputeFmrv(m));
    m.T = 0;
    SetInitialState(m, hooks.Twist());
    hooks.Placed();
    hooks.Show(StartValue::kE0, ComputeE0(m));
    PackState(m);
}

// The same where nothing is shown (the verifier, tests, benchmarks).
inline void StartSetup(Model& m, double fi0) {
    struct Quiet {
        double fi0;
        void Show(StartValue, double) {}
        double Twist() { return fi0; }
        void Placed() {}
    };
    StartSetup(m, Quiet{fi0});
}

}  // namespace sim
