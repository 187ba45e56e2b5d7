#include "sim/start.h"

#include <cmath>

#include "sim/arith.h"

namespace sim {

// Intermediate results are not checked: an overflow or an invalid operation
// carries through *, + and - into the stored result, which is.

double ComputeJ0(Model& m) {
    m.J0 = Chk(m.M[0] * m.R[0] * m.R[0] / 2);  // [kg*m^2]
    return m.J0;
}

double ComputeCR(Model& m) {
    m.CR = Chk(std::pow(m.w0, 2) * m.M[1]);  // [N/m]
    return m.CR;
}

double ComputeFmrv(Model& m) {
    const double v0 = m.VX[0], w0 = m.w0, m1 = m.M[1], r1 = m.R[1];
    // The caption omits the sign: for V0 > 0 and w0 > 0 the force is
    // negative, towards -Y [N].
    m.Fmrv = Chk(-v0 * (m.J0 * w0 + 2 * m1 * r1 * r1 * w0) * w0 * w0 / 2 / m.Vsv / m.Vsv);
    return m.Fmrv;
}

void SetInitialState(Model& m, double fi0) {
    m.fi[0] = fi0;
    // Only the disk is turned by the test twist: both elements start twisted
    // by fi0 with no twist rate.
    m.Dfi[1] = m.fi[0];
    m.DfiOld[1] = m.fi[0];
    m.fi[1] = 0;
    m.Dfi[2] = m.fi[0];
    m.DfiOld[2] = m.fi[0];
    m.fi[2] = m.Pi;
    m.VT[1] = 0;
    m.VT[2] = 0;
    m.X[0] = 0;
    m.X[1] = m.R[1];
    m.X[2] = -m.R[2];
    m.VX[1] = m.VX[0];
    m.VX[2] = m.VX[0];
    m.Y[0] = 0;
    m.Y[1] = 0;
    m.Y[2] = 0;
    // Rigid rotation: load 1 on +X moves towards +Y, load 2 towards -Y [m/s].
    m.VY[0] = 0;
    m.VY[1] = Chk(m.w0 * m.R[1]);
    m.VY[2] = Chk(-m.w0 * m.R[2]);
    m.ROld[1] = m.R[1];
    m.ROld[2] = m.R[2];
    m.VR[1] = 0;
    m.VR[2] = 0;
}

double ComputeE0(Model& m) {
    const double m0 = m.M[0], m1 = m.M[1], m2 = m.M[2];
    const double r1 = m.R[1], w0 = m.w0, v0 = m.VX[0];
    // Translation of all three bodies at V0, and the loads turning at w0*R1.
    double e = (std::pow(r1, 2) * (std::pow(w0, 2) * (2 * m1)) + (m0 + m1 + m2) * v0 * v0) / 2;
    e = m.J0 * w0 * w0 / 2 + e;                    // disk rotation
    e = 2 * m.CR * r1 * r1 / 2 + e;                // both radial elements, CR*R1^2/2 each
    m.E0 = Chk(2 * m.CT * m.Dfi[1] * m.Dfi[1] / 2 + e);  // both torsional elements [J]
    return m.E0;
}

}  // namespace sim
