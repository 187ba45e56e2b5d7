#include "sim/energy.h"

#include <cmath>

#include "sim/arith.h"

namespace sim {

// What is stored, divided by, or hidden by a later operation is checked;
// an overflow or an invalid operation carries through *, + and - into it.

double ComputeE(Model& m) {
    double e = (m.VX[0] * m.VX[0] + m.VY[0] * m.VY[0]) * m.M[0] / 2;
    e = (m.VX[1] * m.VX[1] + m.VY[1] * m.VY[1]) * m.M[1] / 2 + e;
    e = (m.VX[2] * m.VX[2] + m.VY[2] * m.VY[2]) * m.M[2] / 2 + e;
    e = m.J0 * m.w0 * m.w0 / 2 + e;
    // Zero free length: each radial element stores CR*R^2/2.
    e = m.CR * m.R[1] * m.R[1] / 2 + e + m.CR * m.R[2] * m.R[2] / 2;
    m.E = Chk(m.CT * m.Dfi[1] * m.Dfi[1] / 2 + e + m.CT * m.Dfi[2] * m.Dfi[2] / 2);  // [J]
    return m.E;
}

double ComputeYmrv(Model& m) {
    const double mass = Chk(m.M[0] + m.M[1] + m.M[2]);
    // From rest under the constant force Fmrv [m].
    m.Ymrv = Chk(m.Fmrv * m.T * m.T / mass / 2);
    return m.Ymrv;
}

void ComputeLoadForces(Model& m) {
    for (int i = 1; i <= kElements; ++i) {
        m.FX[i] = Chk(m.FRX[i] + m.FTX[i]);  // [N]
        m.FY[i] = Chk(m.FRY[i] + m.FTY[i]);
    }
}

double DiskForceX(const Model& m) { return Chk(-(m.FX[1] + m.FX[2])); }
double DiskForceY(const Model& m) { return Chk(-(m.FY[1] + m.FY[2])); }

double EnergyError(const Model& m) { return Chk(std::pow(10.0, 10) * (m.E - m.E0) / m.E0); }

Invariants ComputeInvariants(const Model& m) {
    Invariants inv{};
    double mass = 0, my = 0;
    for (int b = 0; b < kBodyCount; ++b) {
        inv.Px += m.M[b] * m.VX[b];
        inv.Py += m.M[b] * m.VY[b];
        inv.Lz += m.M[b] * (m.X[b] * m.VY[b] - m.Y[b] * m.VX[b]);
        mass += m.M[b];
        my += m.M[b] * m.Y[b];
    }
    inv.Lz += m.J0 * m.w0;
    inv.Yc = Chk(my / Chk(mass));
    Chk(inv.Px);
    Chk(inv.Py);
    Chk(inv.Lz);
    return inv;
}

}  // namespace sim
