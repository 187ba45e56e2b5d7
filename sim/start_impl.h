// The start set-up for any number type: included by start.cpp for double and
// by whatever runs the model in another type.
#pragma once

#include <cmath>

#include "sim/arith.h"
#include "sim/dynamics_impl.h"
#include "sim/start.h"

namespace sim {

// Intermediate results are not checked: an overflow or an invalid operation
// carries through *, + and - into the result, which is.

template <class Real>
Real ComputeJ0(const BasicParameters<Real>& p) {
    return Chk(p.m0 * p.R0 * p.R0 / 2);  // [kg*m^2]
}

template <class Real>
Real ComputeCR(const BasicParameters<Real>& p) {
    using std::pow;
    return Chk(pow(p.w0, 2) * p.m1);  // [N/m]
}

template <class Real>
Real ComputeFmrv(const BasicParameters<Real>& p, std::type_identity_t<Real> J0) {
    const Real v0 = p.V0, w0 = p.w0, m1 = p.m1, r1 = p.R1, c(Vsv);
    // The caption omits the sign: for V0 > 0 and w0 > 0 the force is
    // negative, towards -Y [N].
    return Chk(-v0 * (J0 * w0 + 2 * m1 * r1 * r1 * w0) * w0 * w0 / 2 / c / c);
}

template <class Real>
BasicState<Real> InitialState(const BasicParameters<Real>& p, std::type_identity_t<Real> fi0) {
    using std::fabs;
    BasicState<Real> s;
    BasicStateVector<Real>& y = s.StateY;
    y[state::kX + 1] = p.R1;
    y[state::kX + 2] = -p.R1;
    // Only the disk is turned by the test twist.
    y[state::kAngle] = fi0;
    for (int b = 0; b < kBodies; ++b) y[state::kVX + b] = p.V0;
    // Rigid rotation: load 1 on +X moves towards +Y, load 2 towards -Y [m/s].
    y[state::kVY + 1] = Chk(p.w0 * p.R1);
    y[state::kVY + 2] = Chk(-p.w0 * p.R1);
    y[state::kSpin] = p.w0;
    for (int e = 0; e < kElements; ++e) {
        s.ROld[e] = p.R1;
        s.DfiOld[e] = fi0;
    }
    // An element's twist is its attachment angle less its load's angle,
    // wrapped by +-0.9 rad. That leaves fi0 in [-0.9, 2*Pi - 0.9) as it is,
    // to rounding; beyond, the twist is a turn or more away (fi0 = -1
    // twists both elements by 2*Pi - 1), and so is it at -0.9 itself when
    // the attachment angle rounds below. The first step's twist rate is
    // measured from the twist the element has, or it would read a turn
    // over one step, and E0 holds that twist.
    const BasicGeometry<Real> g = ComputeGeometry(y);
    for (int e = 0; e < kElements; ++e)
        if (!(fabs(g.Dfi[e] - fi0) < Pi)) s.DfiOld[e] = g.Dfi[e];
    return s;
}

template <class Real>
Real ComputeE0(const BasicParameters<Real>& p, std::type_identity_t<Real> J0, std::type_identity_t<Real> CR,
               const Real (&twist)[kElements]) {
    using std::pow;
    const Real m0 = p.m0, m1 = p.m1, m2 = p.m1;
    const Real r1 = p.R1, w0 = p.w0, v0 = p.V0;
    // Translation of all three bodies at V0, and the loads turning at w0*R1.
    Real e = (pow(r1, 2) * (pow(w0, 2) * (2 * m1)) + (m0 + m1 + m2) * v0 * v0) / 2;
    e = J0 * w0 * w0 / 2 + e;      // disk rotation
    e = 2 * CR * r1 * r1 / 2 + e;  // both radial elements, CR*R1^2/2 each
    // Both torsional elements [J], CT*Dfi^2/2 each; twisted alike (by the
    // typed fi0 as a rule), as one term.
    const Real d0 = twist[0], d1 = twist[1];
    if (d0 == d1) return Chk(2 * p.CT * d0 * d0 / 2 + e);
    return Chk(p.CT * d0 * d0 / 2 + e + p.CT * d1 * d1 / 2);
}

template <class Real>
BasicModel<Real> Start(const BasicParameters<Real>& p, std::type_identity_t<Real> fi0) {
    return Start(p, [fi0] { return fi0; }, [](Formed, const Real&) {});
}

}  // namespace sim
