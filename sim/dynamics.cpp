#include "sim/dynamics.h"

#include <cmath>

#include "sim/arith.h"

namespace sim {

// The raw difference jumps by a full turn when the load or the attachment
// point crosses +X; the two corrections by +-0.9 rad remove that jump while
// the twist is small. A raw value in (0.9, 2*Pi - 0.9) is first lowered and
// then raised back, so it comes out unchanged.
double WrapTwist(double raw) {
    double d = raw;
    if (d > 0.9) d = d - 2 * Pi;
    if (d < -0.9) d = 2 * Pi + d;
    return d;
}

std::array<double, kElements> AttachmentAngles(double fi0) {
    // The disk angle is never stored reduced; each evaluation subtracts the
    // whole turns afresh, so the reduction error grows with |fi0|. Whole
    // turns are taken by floor, not truncation: a disk turning clockwise
    // then also gets attachment angles in [0, 2*Pi), the range of the load
    // angles, so the +-0.9 rad wrap of the twist sees no false turn. For
    // fi0 >= 0 floor and truncation agree, digit for digit. For a finite
    // angle nothing here can overflow.
    const double q = fi0 / 2 / Pi;
    const double first = (q - std::floor(q)) * 2 * Pi;
    double second = first + Pi;
    if (!(2 * Pi >= second)) second = second - 2 * Pi;
    return {first, second};
}

// The polar angle lies in [0, 2*Pi): Pi/2 or 3*Pi/2 on the Y axis, otherwise
// the principal arctangent moved into the right quadrant. On the Y axis the
// projection angle is Pi/2, the limit as DX goes to 0. The two elements are
// independent; their square roots, quotients and arctangents are
// interleaved so the long latencies overlap.
// Not std::atan2: it turns by the true pi, not Pi, and preset 1's first FT2 would read 6.66667165917457E-09.
Geometry ComputeGeometry(const StateVector& y) {
    Geometry g;
    for (int e = 0; e < kElements; ++e) {
        g.DX[e] = Chk(y[state::kX + LoadOf(e)] - y[state::kX]);
        g.DY[e] = Chk(y[state::kY + LoadOf(e)] - y[state::kY]);
    }
    double q[kElements] = {};
    for (int e = 0; e < kElements; ++e) {
        g.R[e] = Chk(std::sqrt(g.DX[e] * g.DX[e] + g.DY[e] * g.DY[e]));
        // DY/DX overflows for a load almost on the Y axis; atn would hide it.
        if (g.DX[e] != 0) q[e] = Chk(g.DY[e] / g.DX[e]);
    }
    for (int e = 0; e < kElements; ++e) {
        const double dx = g.DX[e], dy = g.DY[e];
        double angle = Pi / 2, acute = Pi / 2;
        if (dy < 0) angle = 3 * Pi / 2;
        if (dx != 0) {
            angle = std::atan(q[e]);
            acute = std::fabs(angle);
            if (dx > 0 && dy < 0) angle = 2 * Pi + angle;
            if (dx < 0) angle = angle + Pi;
        }
        g.fi[e] = angle;
        g.AcuteAngle[e] = acute;
    }
    const std::array<double, kElements> attach = AttachmentAngles(y[state::kAngle]);
    for (int e = 0; e < kElements; ++e) {
        g.FiAttach[e] = attach[e];
        g.Dfi[e] = WrapTwist(attach[e] - g.fi[e]);
    }
    return g;
}

// Only results that are stored, divided by, or hidden by a later operation
// (atn, a comparison) are tested: +, - and * carry an overflow or an invalid
// operation through to the stored result, which is tested.
Evaluation ComputeDerivatives(const Parameters& p, const StartValues& start, const State& s, double forceY0) {
    Evaluation ev;
    const StateVector& y = s.StateY;
    const Geometry& g = ev.geo = ComputeGeometry(y);
    Forces& f = ev.forces;
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
        const double c = std::cos(g.AcuteAngle[e]);
        const double sn = std::sin(g.AcuteAngle[e]);
        f.FRX[e] = c * f.FR[e];
        if (g.DX[e] > 0) f.FRX[e] = -f.FRX[e];
        f.FRY[e] = sn * f.FR[e];
        if (g.DY[e] > 0) f.FRY[e] = -f.FRY[e];
        f.FTX[e] = sn * f.FT[e];
        if (g.DY[e] > 0) f.FTX[e] = -f.FTX[e];
        f.FTY[e] = c * f.FT[e];
        if (g.DX[e] < 0) f.FTY[e] = -f.FTY[e];
    }

    StateVector& d = ev.DerivF;
    // Positions change at the velocities, the disk angle at w0.
    for (int k = 0; k < state::kPositions; ++k) d[k] = y[k + state::kPositions];
    // The disk takes the reaction of both elements: the negated sum of the
    // forces on the loads, and the negated sum of the element torques [m/s^2,
    // rad/s^2].
    double* const ax = d.data() + state::kVX;
    double* const ay = d.data() + state::kVY;
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

namespace {

// x - x is 0 for every finite x and NaN otherwise, so one sum tests a whole
// stage at once and the loops stay free of branches.
inline void ChkAll(const StateVector& v) {
    double acc = 0;
    for (double x : v) acc += x - x;
    if (acc != 0) [[unlikely]]
        RaiseArithmeticError();
}

// Where the processor has AVX, code that ran before a step and left the
// upper halves of the vector registers in use (Qt's option parser and its
// drawing do, and the C library may) makes every SSE instruction of the
// step wait on them on processors with AVX-512: the runner once stepped
// 6.4 times slower than its kernel. Clearing them at the start of each
// step serves every caller (the runner, the verifier's and the sweep's
// threads, the window between its display cycles) and changes no result.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target("avx"), noinline)) void ZeroUpperHalves() { __builtin_ia32_vzeroupper(); }
inline void ClearUpperHalves() {
    if (__builtin_cpu_supports("avx")) ZeroUpperHalves();
}
#else
inline void ClearUpperHalves() {}
#endif

}  // namespace

void Step(Model& m, double forceY0) {
    ClearUpperHalves();
    State& s = m.s;
    const double h = m.p.h;
    // The Runge-Kutta scratch. Each stage state is formed here and tested
    // before it goes into StateY, so a failing stage stores nothing.
    const StateVector base = s.StateY;
    StateVector K1, K2, K3, K4, y;

    // h * DerivF is finite or infinite, never NaN, and an infinite K carries
    // into the stage state, so testing the stage state tests both.
    // Stages 1 and 2 go half a step from the start state, stage 3 a whole one.
    auto stage = [&](StateVector& K, bool half) {
        const Evaluation ev = ComputeDerivatives(m.p, m.start, s, forceY0);
        for (int k = 0; k < kStateSize; ++k) {
            K[k] = h * ev.DerivF[k];
            y[k] = half ? K[k] / 2 + base[k] : base[k] + K[k];
        }
        ChkAll(y);
        s.StateY = y;
    };
    stage(K1, true);
    stage(K2, true);
    stage(K3, false);

    const Evaluation last = ComputeDerivatives(m.p, m.start, s, forceY0);
    // The readouts show the forces of this evaluation, at the start state + K3.
    m.forces = last.forces;
    for (int k = 0; k < kStateSize; ++k) K4[k] = h * last.DerivF[k];
    ChkAll(K4);
    // Weights 1, 2, 2, 1 over 6, summed in this order: the last digits of the
    // readouts depend on it.
    for (int k = 0; k < kStateSize; ++k) y[k] = (2 * K2[k] + K1[k] + 2 * K3[k] + K4[k]) / 6 + base[k];
    ChkAll(y);
    s.StateY = y;

    // Geometry at the new state, and the backward differences over the step
    // just made: the damping of the next step lags the motion by one step.
    const Geometry& g = m.geo = ComputeGeometry(s.StateY);
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
