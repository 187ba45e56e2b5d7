// Equations of motion and the Runge-Kutta step. Nothing here allocates; a
// failing operation raises ArithmeticError.
#pragma once

#include <array>

#include "sim/model.h"

namespace sim {

// Twist of an element from the raw difference attachment angle minus load
// angle: more than 0.9 loses a turn, then less than -0.9 gains one.
double WrapTwist(double raw);

// Attachment angles of both elements from the unreduced disk angle fi0.
std::array<double, kElements> AttachmentAngles(double fi0);

// Offsets, distances, polar angles, attachment angles and twists of both
// elements at the state y.
Geometry ComputeGeometry(const StateVector& y);

// One evaluation of the right-hand side.
struct Evaluation {
    StateVector DerivF;  // time derivatives of StateY
    Geometry geo;        // of the elements at StateY
    Forces forces;
};

// The right-hand side at s.StateY with the damping speeds s.VR, s.VT.
// forceY0 is a constant force along +Y on the disk that the equations do
// not have [N]: 0 but in the verifier's self-test, which shows what a real
// lateral force does to the conserved quantities.
Evaluation ComputeDerivatives(const Parameters& p, const StartValues& start, const State& s, double forceY0 = 0);

// One classical RK4 step of length p.h: the new StateY, then the geometry
// at it and the damping speeds VR, VT for the next step, then T + h; m.forces
// keeps the fourth evaluation's. A failure leaves StateY at the last stage
// that was formed whole, and T where it was.
void Step(Model& m, double forceY0 = 0);

}  // namespace sim
