// What each display cycle derives from the model: the energy balance, the
// ordinate under the claimed force, the total forces on the loads, and the
// conserved quantities the verifier checks. Templates on the number type,
// defined in sim/energy_impl.h; the library holds them for double.
#pragma once

#include <type_traits>

#include "sim/model.h"

namespace sim {

// Total energy of the state s with the elements at g (its geometry).
template <class Real>
Real ComputeE(const BasicParameters<Real>& p, const BasicStartValues<Real>& start, const BasicState<Real>& s,
              const BasicGeometry<Real>& g);
// The shift a constant force F gives a mass M from rest in the time t,
// F t^2 / (2 M), and the force that gives the shift Y, 2 M Y / t^2. Not
// checked: an infinite or not-a-number result is the caller's to judge.
template <class Real>
Real ShiftUnderForce(Real F, std::type_identity_t<Real> t, std::type_identity_t<Real> M);  // [m]
template <class Real>
Real ForceForShift(Real Y, std::type_identity_t<Real> t, std::type_identity_t<Real> M);  // [N]
// Ordinate of the whole system mass after the time T under the constant
// force Fmrv, from rest.
template <class Real>
Real ComputeYmrv(const BasicParameters<Real>& p, std::type_identity_t<Real> Fmrv, std::type_identity_t<Real> T);
// The elements' force on the disk along one axis from their forces on the
// loads along it: the reaction, -(F1 + F2).
template <class Real>
Real DiskForce(const Real (&F)[kElements]);
// 10^10 * (E - E0) / E0, the plotted energy error.
template <class Real>
Real EnergyError(Real E, std::type_identity_t<Real> E0);

// What a display cycle shows besides the model itself.
template <class Real>
struct BasicDisplayValues {
    Real E{};               // total energy now [J]
    Real Ymrv{};            // ordinate the disk would reach under Fmrv [m]
    Real FX[kElements]{};   // total force on load e + 1 [N]
    Real FY[kElements]{};
};
using DisplayValues = BasicDisplayValues<double>;
// E, then Ymrv, then the loads' forces from the last evaluation of the step.
template <class Real>
BasicDisplayValues<Real> ComputeDisplayValues(const BasicModel<Real>& m);

// Conserved quantities, for checks of the force projections.
template <class Real>
struct BasicInvariants {
    Real Px;  // total linear momentum along X [kg*m/s]
    Real Py;  // total linear momentum along Y [kg*m/s]
    Real Lz;  // angular momentum about the origin, J0*w0 included [kg*m^2/s]
    Real Yc;  // ordinate of the centre of mass [m]
};
using Invariants = BasicInvariants<double>;
template <class Real>
BasicInvariants<Real> ComputeInvariants(const BasicParameters<Real>& p, const BasicStartValues<Real>& start,
                                        const BasicState<Real>& s);

extern template double ComputeE(const Parameters&, const StartValues&, const State&, const Geometry&);
extern template double ShiftUnderForce(double, double, double);
extern template double ForceForShift(double, double, double);
extern template double ComputeYmrv(const Parameters&, double, double);
extern template double DiskForce(const double (&)[kElements]);
extern template double EnergyError(double, double);
extern template DisplayValues ComputeDisplayValues(const Model&);
extern template Invariants ComputeInvariants(const Parameters&, const StartValues&, const State&);

}  // namespace sim
