// Equations of motion and the Runge-Kutta step. Nothing here allocates; a
// failing operation raises ArithmeticError. Every function is a template on
// the number type; sim/dynamics_impl.h defines them, and the library holds
// them for double.
#pragma once

#include <array>
#include <type_traits>

#include "sim/model.h"

namespace sim {

// Twist of an element from the raw difference attachment angle minus load
// angle: more than 0.9 loses a turn, then less than -0.9 gains one.
template <class Real>
Real WrapTwist(Real raw);

// Attachment angles of both elements from the unreduced disk angle fi0.
template <class Real>
std::array<Real, kElements> AttachmentAngles(Real fi0);

// Offsets, distances, polar angles, attachment angles and twists of both
// elements at the state y.
template <class Real>
BasicGeometry<Real> ComputeGeometry(const BasicStateVector<Real>& y);

// One evaluation of the right-hand side.
template <class Real>
struct BasicEvaluation {
    BasicStateVector<Real> DerivF;  // time derivatives of StateY
    BasicGeometry<Real> geo;        // of the elements at StateY
    BasicForces<Real> forces;
};
using Evaluation = BasicEvaluation<double>;

// The right-hand side at s.StateY with the damping speeds s.VR, s.VT.
// forceY0 is a constant force along +Y on the disk that the equations do
// not have [N]: 0 but in the verifier's self-test, which shows what a real
// lateral force does to the conserved quantities.
template <class Real>
BasicEvaluation<Real> ComputeDerivatives(const BasicParameters<Real>& p, const BasicStartValues<Real>& start,
                                         const BasicState<Real>& s, std::type_identity_t<Real> forceY0 = 0);

// One classical RK4 step of length p.h: the new StateY, then the geometry
// at it and the damping speeds VR, VT for the next step, then T + h; m.forces
// keeps the fourth evaluation's. A failure leaves StateY at the last stage
// that was formed whole, and T where it was.
template <class Real>
void Step(BasicModel<Real>& m, std::type_identity_t<Real> forceY0 = 0);

namespace detail {
// Clears the upper halves of the vector registers where the processor has
// AVX (see dynamics.cpp); nothing elsewhere.
void ClearUpperHalves();
}  // namespace detail

extern template double WrapTwist(double);
extern template std::array<double, kElements> AttachmentAngles(double);
extern template Geometry ComputeGeometry(const StateVector&);
extern template Evaluation ComputeDerivatives(const Parameters&, const StartValues&, const State&, double);
extern template void Step(Model&, double);

}  // namespace sim
