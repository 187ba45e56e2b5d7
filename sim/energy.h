// What each display cycle derives from the model: the energy balance, the
// ordinate under the claimed force, the total forces on the loads, and the
// conserved quantities the verifier checks.
#pragma once

#include "sim/model.h"

namespace sim {

// Total energy of the state s with the elements at g (its geometry).
double ComputeE(const Parameters& p, const StartValues& start, const State& s, const Geometry& g);
// The shift a constant force F gives a mass M from rest in the time t,
// F t^2 / (2 M), and the force that gives the shift Y, 2 M Y / t^2. Not
// checked: an infinite or not-a-number result is the caller's to judge.
double ShiftUnderForce(double F, double t, double M);  // [m]
double ForceForShift(double Y, double t, double M);    // [N]
// Ordinate of the whole system mass after the time T under the constant
// force Fmrv, from rest.
double ComputeYmrv(const Parameters& p, double Fmrv, double T);
// The elements' force on the disk along one axis from their forces on the
// loads along it: the reaction, -(F1 + F2).
double DiskForce(const double (&F)[kElements]);
// 10^10 * (E - E0) / E0, the plotted energy error.
double EnergyError(double E, double E0);

// What a display cycle shows besides the model itself.
struct DisplayValues {
    double E{};               // total energy now [J]
    double Ymrv{};            // ordinate the disk would reach under Fmrv [m]
    double FX[kElements]{};   // total force on load e + 1 [N]
    double FY[kElements]{};
};
// E, then Ymrv, then the loads' forces from the last evaluation of the step.
DisplayValues ComputeDisplayValues(const Model& m);

// Conserved quantities, for checks of the force projections.
struct Invariants {
    double Px;  // total linear momentum along X [kg*m/s]
    double Py;  // total linear momentum along Y [kg*m/s]
    double Lz;  // angular momentum about the origin, J0*w0 included [kg*m^2/s]
    double Yc;  // ordinate of the centre of mass [m]
};
Invariants ComputeInvariants(const Parameters& p, const StartValues& start, const State& s);

}  // namespace sim
