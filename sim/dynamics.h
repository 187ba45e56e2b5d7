// Equations of motion, the Runge-Kutta step and the quantities the window
// derives from the state. All functions work in place on the model record,
// allocate nothing and raise ArithmeticError on a failing operation.
#pragma once

#include "sim/model.h"

namespace sim {

// Copies StateY(1..14) into X, Y, fi(0), VX, VY and w0.
void Unpack(Model& m);
// Copies the per-body values back into StateY(1..14) (start set-up only).
void PackState(Model& m);

// Twist of an element from the raw difference attachment angle minus load
// angle: more than 0.9 loses a turn, then less than -0.9 gains one.
double WrapTwist(double raw, double pi);

// Attachment angles of both elements from the unreduced disk angle fi(0).
void AttachmentAngles(Model& m);

// Right-hand side: fills DerivF(1..14) from StateY, leaving the geometry and
// forces of this evaluation in the per-element arrays.
void ComputeDerivatives(Model& m);

// One classical RK4 step of length h, then the geometry at the new state and
// the damping speeds VR, VT for the next step. T is not touched.
void RungeKuttaStep(Model& m);

// T + h, once per step after RungeKuttaStep.
void AdvanceTime(Model& m);

}  // namespace sim
