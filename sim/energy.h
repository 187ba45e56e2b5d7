// Start-up quantities, the energy balance and the lateral-force check.
// Formulas are evaluated in exactly the order written: the readouts show 15
// significant digits, so the order decides the last ones.
#pragma once

#include "sim/model.h"

namespace sim {

// J0 = m0 * R0 * R0 / 2, a uniform solid disk.
double ComputeJ0(Model& m);
// CR = w0^2 * m1: the elastic force at any radius equals the centripetal
// force of rigid rotation at w0, so the loads start in equilibrium.
double ComputeCR(Model& m);
// The lateral force claimed for the disk, by the formula on the window's label.
double ComputeFmrv(Model& m);
// T = 0, TPlot = 0.
void ResetTime(Model& m);
// Positions, velocities, twist, previous-position copies and marks of the
// start state; fi0 is the start disk angle (0 unless the twist test is on).
void SetInitialState(Model& m, double fi0);
// Total energy at start, from the inputs and the start twist.
double ComputeE0(Model& m);

// The whole start set-up in the order of the Start button, for callers that
// show nothing in between (tests, the headless runner).
void StartSetup(Model& m, double fi0);

// Total energy of the state after the last step.
double ComputeE(Model& m);
// Ordinate of the whole system mass after T under the constant force Fmrv.
double ComputeYmrv(Model& m);
// FX, FY of both loads from the forces of the last evaluation.
void ComputeLoadForces(Model& m);
// 10^10 * (E - E0) / E0, the plotted energy error.
double EnergyError(const Model& m);

// Conserved quantities, for checks of the force projections.
struct Invariants {
    double Px;  // total linear momentum along X [kg*m/s]
    double Py;  // total linear momentum along Y [kg*m/s]
    double Lz;  // angular momentum about the origin, J0*w0 included [kg*m^2/s]
    double Yc;  // ordinate of the centre of mass [m]
};
Invariants ComputeInvariants(const Model& m);

}  // namespace sim
