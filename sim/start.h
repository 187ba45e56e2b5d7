// The start set-up: the values derived from the parameters, the start state
// with the optional test twist, and its energy. Each function takes the
// inputs it needs and returns what it forms, so the window can show each
// value as soon as it exists. Formulas are evaluated in exactly the order
// written: the readouts show 15 significant digits, so the order decides
// the last ones. A failing computation raises ArithmeticError.
#pragma once

#include "sim/model.h"

namespace sim {

// J0 = m0 * R0 * R0 / 2, a uniform solid disk.
double ComputeJ0(const Parameters& p);
// CR = w0^2 * m1: the elastic force at any radius equals the centripetal
// force of rigid rotation at w0, so the loads start in equilibrium.
double ComputeCR(const Parameters& p);
// The lateral force claimed for the disk, by the formula on the window's label.
double ComputeFmrv(const Parameters& p, double J0);
// The disk at the origin moving along +X at V0 and turning at w0, turned by
// fi0 (0 unless the twist test is on); the loads on the X axis at +-R1,
// moving with it, both elements twisted by fi0 with no twist rate; T = 0.
State InitialState(const Parameters& p, double fi0);
// Total energy of that state.
double ComputeE0(const Parameters& p, double J0, double CR, double fi0);

// The whole start set-up where nothing is shown in between (the verifier,
// tests, benchmarks). The geometry and forces are left to the first step.
Model Start(const Parameters& p, double fi0);

}  // namespace sim
