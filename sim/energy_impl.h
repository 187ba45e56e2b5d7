// The energy balance and the conserved quantities for any number type:
// included by energy.cpp for double and by whatever runs the model in
// another type.
#pragma once

#include <cmath>

#include "sim/arith.h"
#include "sim/energy.h"

namespace sim {

// What is returned, divided by, or hidden by a later operation is checked;
// an overflow or an invalid operation carries through *, + and - into it.

template <class Real>
Real ComputeE(const BasicParameters<Real>& p, const BasicStartValues<Real>& start, const BasicState<Real>& s,
              const BasicGeometry<Real>& g) {
    Real e = (s.VX(0) * s.VX(0) + s.VY(0) * s.VY(0)) * p.m0 / 2;
    e = (s.VX(1) * s.VX(1) + s.VY(1) * s.VY(1)) * p.m1 / 2 + e;
    e = (s.VX(2) * s.VX(2) + s.VY(2) * s.VY(2)) * p.m1 / 2 + e;
    e = start.J0 * s.w0() * s.w0() / 2 + e;
    // Zero free length: each radial element stores CR*R^2/2.
    e = start.CR * g.R[0] * g.R[0] / 2 + e + start.CR * g.R[1] * g.R[1] / 2;
    return Chk(p.CT * g.Dfi[0] * g.Dfi[0] / 2 + e + p.CT * g.Dfi[1] * g.Dfi[1] / 2);  // [J]
}

template <class Real>
Real ShiftUnderForce(Real F, std::type_identity_t<Real> t, std::type_identity_t<Real> M) {
    return F * t * t / M / 2;
}

template <class Real>
Real ForceForShift(Real Y, std::type_identity_t<Real> t, std::type_identity_t<Real> M) {
    return 2 * M * Y / (t * t);
}

template <class Real>
Real ComputeYmrv(const BasicParameters<Real>& p, std::type_identity_t<Real> Fmrv, std::type_identity_t<Real> T) {
    const Real mass = Chk(p.m0 + p.m1 + p.m1);
    return Chk(ShiftUnderForce(Fmrv, T, mass));  // [m]
}

template <class Real>
Real DiskForce(const Real (&F)[kElements]) {
    return Chk(-(F[0] + F[1]));
}

template <class Real>
Real EnergyError(Real E, std::type_identity_t<Real> E0) {
    using std::pow;
    return Chk(pow(Real(10.0), 10) * (E - E0) / E0);
}

template <class Real>
BasicDisplayValues<Real> ComputeDisplayValues(const BasicModel<Real>& m) {
    BasicDisplayValues<Real> v;
    v.E = ComputeE(m.p, m.start, m.s, m.geo);
    v.Ymrv = ComputeYmrv(m.p, m.start.Fmrv, m.s.T);
    for (int e = 0; e < kElements; ++e) {
        v.FX[e] = Chk(m.forces.FRX[e] + m.forces.FTX[e]);  // [N]
        v.FY[e] = Chk(m.forces.FRY[e] + m.forces.FTY[e]);
    }
    return v;
}

template <class Real>
BasicInvariants<Real> ComputeInvariants(const BasicParameters<Real>& p, const BasicStartValues<Real>& start,
                                        const BasicState<Real>& s) {
    BasicInvariants<Real> inv{};
    Real mass = 0, my = 0;
    for (int b = 0; b < kBodies; ++b) {
        const Real mb = p.M(b);
        inv.Px += mb * s.VX(b);
        inv.Py += mb * s.VY(b);
        inv.Lz += mb * (s.X(b) * s.VY(b) - s.Y(b) * s.VX(b));
        mass += mb;
        my += mb * s.Y(b);
    }
    inv.Lz += start.J0 * s.w0();
    inv.Yc = Chk(my / Chk(mass));
    Chk(inv.Px);
    Chk(inv.Py);
    Chk(inv.Lz);
    return inv;
}

}  // namespace sim
