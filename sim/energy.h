// What each display cycle derives from the state: the energy balance, the
// ordinate under the claimed force, the total forces on the loads, and the
// conserved quantities the verifier checks.
#pragma once

#include "sim/model.h"

namespace sim {

// Total energy of the state after the last step.
double ComputeE(Model& m);
// Ordinate of the whole system mass after T under the constant force Fmrv.
double ComputeYmrv(Model& m);
// FX, FY of both loads from the forces of the last evaluation.
void ComputeLoadForces(Model& m);
// The elements' force on the disk along X and Y: the reaction to the forces
// on the loads, -(F(1) + F(2)).
double DiskForceX(const Model& m);
double DiskForceY(const Model& m);
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
