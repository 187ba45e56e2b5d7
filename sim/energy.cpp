#include "sim/energy.h"

#include <cmath>

#include "sim/arith.h"
#include "sim/dynamics.h"

namespace sim {

double ComputeJ0(Model& m) {
    m.J0 = Chk(Chk(Chk(m.M[0] * m.R[0]) * m.R[0]) / 2);
    return m.J0;
}

double ComputeCR(Model& m) {
    m.CR = Chk(Chk(std::pow(m.w0, 2)) * m.M[1]);
    return m.CR;
}

double ComputeFmrv(Model& m) {
    const double v0 = m.VX[0], w0 = m.w0, m1 = m.M[1], r1 = m.R[1];
    const double bracket =
        Chk(Chk(m.J0 * w0) + Chk(Chk(Chk(Chk(2 * m1) * r1) * r1) * w0));
    // The caption omits the sign: for V0 > 0 and w0 > 0 the force is negative,
    // towards -Y.
    double f = Chk(-v0 * bracket);
    f = Chk(f * w0);
    f = Chk(f * w0);
    f = Chk(f / 2);
    f = Chk(f / m.Vsv);
    m.Fmrv = Chk(f / m.Vsv);
    return m.Fmrv;
}

void ResetTime(Model& m) {
    m.T = 0;
    m.TPlot = 0;
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
    // R1 in metres taken as a view coordinate until the first display cycle.
    m.MarkX = m.R[1];
    m.MarkY = 0;
    m.MarkXOld = m.R[1];
    m.MarkYOld = 0;
    m.Y[0] = 0;
    m.Y[1] = 0;
    m.Y[2] = 0;
    // Rigid rotation: load 1 on +X moves towards +Y, load 2 towards -Y.
    m.VY[0] = 0;
    m.VY[1] = Chk(m.w0 * m.R[1]);
    m.VY[2] = Chk(-m.w0 * m.R[2]);
    m.ROld[1] = m.R[1];
    m.ROld[2] = m.R[2];
    m.VR[1] = 0;
    m.VR[2] = 0;
    for (int b = 0; b < 3; ++b) {
        m.XOld[b] = m.X[b];
        m.YOld[b] = m.Y[b];
    }
}

double ComputeE0(Model& m) {
    const double m0 = m.M[0], m1 = m.M[1], m2 = m.M[2];
    const double r1 = m.R[1], w0 = m.w0, v0 = m.VX[0];
    // Translation of all three bodies at V0 plus the loads turning at w0*R1.
    const double rot = Chk(Chk(std::pow(r1, 2)) * Chk(Chk(std::pow(w0, 2)) * Chk(2 * m1)));
    const double trans = Chk(Chk(Chk(Chk(m0 + m1) + m2) * v0) * v0);
    double e = Chk(Chk(rot + trans) / 2);
    // Disk rotation.
    e = Chk(Chk(Chk(Chk(m.J0 * w0) * w0) / 2) + e);
    // Both radial elements, CR*R1^2/2 each.
    e = Chk(Chk(Chk(Chk(Chk(2 * m.CR) * r1) * r1) / 2) + e);
    // Both torsional elements, CT*Dfi^2/2 each.
    e = Chk(Chk(Chk(Chk(Chk(2 * m.CT) * m.Dfi[1]) * m.Dfi[1]) / 2) + e);
    m.E0 = e;
    return m.E0;
}

void StartSetup(Model& m, double fi0) {
    ComputeJ0(m);
    ComputeCR(m);
    ComputeFmrv(m);
    ResetTime(m);
    SetInitialState(m, fi0);
    ComputeE0(m);
    PackState(m);
    m.StopFlag = 0;
}

double ComputeE(Model& m) {
    double e = Chk(Chk(Chk(Chk(m.VX[0] * m.VX[0]) + Chk(m.VY[0] * m.VY[0])) * m.M[0]) / 2);
    for (int b = 1; b <= 2; ++b) {
        const double kin = Chk(Chk(m.VX[b] * m.VX[b]) + Chk(m.VY[b] * m.VY[b]));
        e = Chk(Chk(Chk(kin * m.M[b]) / 2) + e);
    }
    e = Chk(Chk(Chk(Chk(m.J0 * m.w0) * m.w0) / 2) + e);
    // Zero free length: each radial element stores CR*R^2/2.
    const double r1 = Chk(Chk(Chk(m.CR * m.R[1]) * m.R[1]) / 2);
    const double r2 = Chk(Chk(Chk(m.CR * m.R[2]) * m.R[2]) / 2);
    e = Chk(Chk(r1 + e) + r2);
    const double t1 = Chk(Chk(Chk(m.CT * m.Dfi[1]) * m.Dfi[1]) / 2);
    const double t2 = Chk(Chk(Chk(m.CT * m.Dfi[2]) * m.Dfi[2]) / 2);
    m.E = Chk(Chk(t1 + e) + t2);
    return m.E;
}

double ComputeYmrv(Model& m) {
    const double mass = Chk(Chk(m.M[0] + m.M[1]) + m.M[2]);
    m.Ymrv = Chk(Chk(Chk(Chk(m.Fmrv * m.T) * m.T) / mass) / 2);
    return m.Ymrv;
}

void ComputeLoadForces(Model& m) {
    for (int i = 1; i <= 2; ++i) {
        m.FX[i] = Chk(m.FRX[i] + m.FTX[i]);
        m.FY[i] = Chk(m.FRY[i] + m.FTY[i]);
    }
}

double EnergyError(const Model& m) {
    return Chk(Chk(Chk(std::pow(10.0, 10)) * Chk(m.E - m.E0)) / m.E0);
}

Invariants ComputeInvariants(const Model& m) {
    Invariants inv{};
    double mass = 0, my = 0;
    for (int b = 0; b < 3; ++b) {
        inv.Px += m.M[b] * m.VX[b];
        inv.Py += m.M[b] * m.VY[b];
        inv.Lz += m.M[b] * (m.X[b] * m.VY[b] - m.Y[b] * m.VX[b]);
        mass += m.M[b];
        my += m.M[b] * m.Y[b];
    }
    inv.Lz += m.J0 * m.w0;
    inv.Yc = Chk(my / mass);
    Chk(inv.Px);
    Chk(inv.Py);
    Chk(inv.Lz);
    return inv;
}

}  // namespace sim
