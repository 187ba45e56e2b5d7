// The equations of motion and the step for any number type: included by
// dynamics.cpp, which makes them for double, and by whatever runs the model
// in another type. Elementary functions are called unqualified, so a wider
// type's own sqrt, atan, sin, cos and floor are taken at its precision; for
// double they are the standard ones.
#pragma once

#include <cmath>

#include "sim/arith.h"
#include "sim/dynamics.h"

namespace sim {

// The raw difference jumps by a full turn when the load or the attachment
// point crosses +X; the two corrections by +-0.9 rad remove that jump while
// the twist is small. A raw value in (0.9, 2*Pi - 0.9) is first lowered and
// then raised back, so it comes out unchanged.
template <class Real>
Real WrapTwist(Real raw) {
    const Real pi(Pi);
    Real d = raw;
    if (d > 0.9) d = d - 2 * pi;
    if (d < -0.9) d = 2 * pi + d;
    return d;
}

template <class Real>
std::array<Real, kElements> AttachmentAngles(Real fi0) {
    using std::floor;
    const Real pi(Pi);
    // The disk angle is never stored reduced; each evaluation subtracts the
    // whole turns afresh, so the reduction error grows with |fi0|. Whole
    // turns are taken by floor, not truncation: a disk turning clockwise
    // then also gets attachment angles in [0, 2*Pi), the range of the load
    // angles, so the +-0.9 rad wrap of the twist sees no false turn. For
    // fi0 >= 0 floor and truncation agree, digit for digit. For a finite
    // angle nothing here can overflow.
    const Real q = fi0 / 2 / pi;
    const Real first = (q - floor(q)) * 2 * pi;
    Real second = first + pi;
    if (!(2 * pi >= second)) second = second - 2 * pi;
    return {first, second};
}

// The polar angle lies in [0, 2*Pi): Pi/2 or 3*Pi/2 on the Y axis, otherwise
// the principal arctangent moved into the right quadrant. On the Y axis the
// projection angle is Pi/2, the limit as DX goes to 0. The two elements are
// independent; their square roots, quotients and arctangents are
// interleaved so the long latencies overlap.
// Not std::atan2: it turns by the true pi, not Pi, and preset 1's first FT2 would read 6.66667165917457E-09.
template <class Real>
BasicGeometry<Real> ComputeGeometry(const BasicStateVector<Real>& y) {
    using std::atan, std::fabs, std::sqrt;
    const Real pi(Pi);
    BasicGeometry<Real> g;
    for (int e = 0; e < kElements; ++e) {
        g.DX[e] = Chk(y[state::kX + LoadOf(e)] - y[state::kX]);
        g.DY[e] = Chk(y[state::kY + LoadOf(e)] - y[state::kY]);
    }
    Real q[kElements] = {};
    for (int e = 0; e < kElements; ++e) {
        g.R[e] = Chk(sqrt(g.DX[e] * g.DX[e] + g.DY[e] * g.DY[e]));
        // DY/DX overflows for a load almost on the Y axis; atn would hide it.
        if (g.DX[e] != 0) q[e] = Chk(g.DY[e] / g.DX[e]);
    }
    for (int e = 0; e < kElements; ++e) {
        const Real dx = g.DX[e], dy = g.DY[e];
        Real angle = pi / 2, acute = pi / 2;
        if (dy < 0) angle = 3 * pi / 2;
        if (dx != 0) {
            angle = atan(q[e]);
            acute = fabs(angle);
            if (dx > 0 && dy < 0) angle = 2 * pi + angle;
            if (dx < 0) angle = angle + pi;
        }
        g.fi[e] = angle;
        g.AcuteAngle[e] = acute;
    }
    const std::array<Real, kElements> attach = AttachmentAngles(y[state::kAngle]);
    for (int e = 0; e < kElements; ++e) {
        g.FiAttach[e] = attach[e];
        g.Dfi[e] = WrapTwist(attach[e] - g.fi[e]);
    }
    return g;
}

// Only results that are stored, divided by, or hidden by a later operation
// (atn, a comparison) are tested: +, - and * carry an overflow or an invalid
// operation through to the stored result, which is tested.
template <class Real>
BasicEvaluation<Real> ComputeDerivatives(const BasicParameters<Real>& p, const BasicStartValues<Real>& start,
                                         const BasicState<Real>& s, std::type_identity_t<Real> forceY0) {
    using std::cos, std::sin;
    BasicEvaluation<Real> ev;
    const BasicStateVector<Real>& y = s.StateY;
    const BasicGeometry<Real>& g = ev.geo = ComputeGeometry(y);
    BasicForces<Real>& f = ev.forces;
    for (int e = 0; e < kElements; ++e) {
        // Zero free length: the spring force grows with the whole distance.
        f.FR[e] = Chk(start.CR * g.R[e] + p.KR * s.VR[e]);
        // The element's torque becomes a force at the load's current distance.
        f.FT[e] = Chk((p.CT * g.Dfi[e] + p.KT * s.VT[e]) / g.R[e]);
    }
    // Tension pulls the load towards the disk centre; the tangential force
    // is a quarter turn ahead. |cos|, |sin| <= 1, so the projections of a
    // finite force are finite.
    // Not -FR (DX, DY)/R, FT (-DY, DX)/R: they round otherwise; preset 1's first Y0 would read -8.68662420082503E-25.
    for (int e = 0; e < kElements; ++e) {
        const Real c = cos(g.AcuteAngle[e]);
        const Real sn = sin(g.AcuteAngle[e]);
        f.FRX[e] = c * f.FR[e];
        if (g.DX[e] > 0) f.FRX[e] = -f.FRX[e];
        f.FRY[e] = sn * f.FR[e];
        if (g.DY[e] > 0) f.FRY[e] = -f.FRY[e];
        f.FTX[e] = sn * f.FT[e];
        if (g.DY[e] > 0) f.FTX[e] = -f.FTX[e];
        f.FTY[e] = c * f.FT[e];
        if (g.DX[e] < 0) f.FTY[e] = -f.FTY[e];
    }

    BasicStateVector<Real>& d = ev.DerivF;
    // Positions change at the velocities, the disk angle at w0.
    for (int k = 0; k < state::kPositions; ++k) d[k] = y[k + state::kPositions];
    // The disk takes the reaction of both elements: the negated sum of the
    // forces on the loads, and the negated sum of the element torques [m/s^2,
    // rad/s^2].
    Real* const ax = d.data() + state::kVX;
    Real* const ay = d.data() + state::kVY;
    ax[0] = Chk(-(f.FRX[0] + f.FRX[1] + f.FTX[0] + f.FTX[1]) / p.m0);
    ax[1] = Chk((f.FRX[0] + f.FTX[0]) / p.m1);
    ax[2] = Chk((f.FRX[1] + f.FTX[1]) / p.m1);
    ay[0] = Chk(-(f.FRY[0] + f.FRY[1] + f.FTY[0] + f.FTY[1]) / p.m0);
    if (forceY0 != 0) [[unlikely]]
        ay[0] = Chk(ay[0] + forceY0 / p.m0);
    ay[1] = Chk((f.FRY[0] + f.FTY[0]) / p.m1);
    ay[2] = Chk((f.FRY[1] + f.FTY[1]) / p.m1);
    d[state::kSpin] = Chk(-(f.FT[0] * g.R[0] + f.FT[1] * g.R[1]) / start.J0);
    return ev;
}

namespace detail {

// x - x is 0 for every finite x and NaN otherwise, so one sum tests a whole
// stage at once and the loops stay free of branches.
template <class Real>
inline void ChkAll(const BasicStateVector<Real>& v) {
    Real acc = 0;
    for (const Real& x : v) acc += x - x;
    if (acc != 0) [[unlikely]]
        RaiseArithmeticError();
}

}  // namespace detail

template <class Real>
void Step(BasicModel<Real>& m, std::type_identity_t<Real> forceY0) {
    detail::ClearUpperHalves();
    BasicState<Real>& s = m.s;
    const Real h = m.p.h;
    // The Runge-Kutta scratch. Each stage state is formed here and tested
    // before it goes into StateY, so a failing stage stores nothing.
    const BasicStateVector<Real> base = s.StateY;
    BasicStateVector<Real> K1, K2, K3, K4, y;

    // h * DerivF is finite or infinite, never NaN, and an infinite K carries
    // into the stage state, so testing the stage state tests both.
    // Stages 1 and 2 go half a step from the start state, stage 3 a whole one.
    auto stage = [&](BasicStateVector<Real>& K, bool half) {
        const BasicEvaluation<Real> ev = ComputeDerivatives(m.p, m.start, s, forceY0);
        for (int k = 0; k < kStateSize; ++k) {
            K[k] = h * ev.DerivF[k];
            y[k] = half ? K[k] / 2 + base[k] : base[k] + K[k];
        }
        detail::ChkAll(y);
        s.StateY = y;
    };
    stage(K1, true);
    stage(K2, true);
    stage(K3, false);

    const BasicEvaluation<Real> last = ComputeDerivatives(m.p, m.start, s, forceY0);
    // The readouts show the forces of this evaluation, at the start state + K3.
    m.forces = last.forces;
    for (int k = 0; k < kStateSize; ++k) K4[k] = h * last.DerivF[k];
    detail::ChkAll(K4);
    // Weights 1, 2, 2, 1 over 6, summed in this order: the last digits of the
    // readouts depend on it.
    for (int k = 0; k < kStateSize; ++k) y[k] = (2 * K2[k] + K1[k] + 2 * K3[k] + K4[k]) / 6 + base[k];
    detail::ChkAll(y);
    s.StateY = y;

    // Geometry at the new state, and the backward differences over the step
    // just made: the damping of the next step lags the motion by one step.
    const BasicGeometry<Real>& g = m.geo = ComputeGeometry(s.StateY);
    for (int e = 0; e < kElements; ++e) {
        s.VR[e] = Chk((g.R[e] - s.ROld[e]) / h);
        s.VT[e] = Chk((g.Dfi[e] - s.DfiOld[e]) / h);
        s.ROld[e] = g.R[e];
        s.DfiOld[e] = g.Dfi[e];
    }
    // The time is a running sum, never a count times h, so its readout
    // shows the accumulated rounding.
    s.T = Chk(s.T + h);
}

}  // namespace sim
