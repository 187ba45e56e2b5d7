#include "sim/dynamics.h"

#include <cmath>

#include "sim/arith.h"

namespace sim {
namespace {

inline double Twist(const Model& m, double attach, double load) {
    return WrapTwist(attach - load, m.Pi);
}

// Offsets, distances and polar angles of both loads at the current X, Y.
// The polar angle lies in [0, 2*Pi): Pi/2 or 3*Pi/2 on the Y axis, otherwise
// the principal arctangent moved into the right quadrant. AcuteAngle gets
// |atn(DY/DX)| in the derivative evaluation; on the Y axis it gets Pi/2, the
// limit as DX goes to 0: an angle left from an earlier evaluation would
// project the radial force along X. The two elements are independent;
// their square roots, quotients and arctangents are interleaved so the long
// latencies overlap.
inline void BothGeometries(Model& m, bool setAcute) {
    double q[3] = {};
    for (int i = 1; i <= kElements; ++i) {
        m.DX[i] = Chk(m.X[i] - m.X[0]);
        m.DY[i] = Chk(m.Y[i] - m.Y[0]);
    }
    for (int i = 1; i <= kElements; ++i) {
        m.R[i] = Chk(std::sqrt(m.DX[i] * m.DX[i] + m.DY[i] * m.DY[i]));
        // DY/DX overflows for a load almost on the Y axis; atn would hide it.
        if (m.DX[i] != 0) q[i] = Chk(m.DY[i] / m.DX[i]);
    }
    for (int i = 1; i <= kElements; ++i) {
        const double dx = m.DX[i], dy = m.DY[i];
        double angle = m.Pi / 2, acute = m.Pi / 2;
        if (dy < 0) angle = 3 * m.Pi / 2;
        if (dx != 0) {
            angle = std::atan(q[i]);
            acute = std::fabs(angle);
            if (dx > 0 && dy < 0) angle = 2 * m.Pi + angle;
            if (dx < 0) angle = angle + m.Pi;
        }
        if (setAcute) m.AcuteAngle[i] = acute;
        m.fi[i] = angle;
    }
}

}  // namespace

// The raw difference jumps by a full turn when the load or the attachment
// point crosses +X; the two corrections by +-0.9 rad remove that jump while
// the twist is small. A raw value in (0.9, 2*Pi - 0.9) is first lowered and
// then raised back, so it comes out unchanged.
double WrapTwist(double raw, double pi) {
    double d = raw;
    if (d > 0.9) d = d - 2 * pi;
    if (d < -0.9) d = 2 * pi + d;
    return d;
}

void Unpack(Model& m) {
    for (int b = 0; b < kBodyCount; ++b) {
        m.X[b] = m.StateY[state::kX + b];
        m.Y[b] = m.StateY[state::kY + b];
        m.VX[b] = m.StateY[state::kVX + b];
        m.VY[b] = m.StateY[state::kVY + b];
    }
    m.fi[0] = m.StateY[state::kAngle];
    m.w0 = m.StateY[state::kSpin];
}

void PackState(Model& m) {
    for (int b = 0; b < kBodyCount; ++b) {
        m.StateY[state::kX + b] = m.X[b];
        m.StateY[state::kY + b] = m.Y[b];
        m.StateY[state::kVX + b] = m.VX[b];
        m.StateY[state::kVY + b] = m.VY[b];
    }
    m.StateY[state::kAngle] = m.fi[0];
    m.StateY[state::kSpin] = m.w0;
}

void AttachmentAngles(Model& m) {
    // The disk angle is never stored reduced; each evaluation subtracts the
    // whole turns afresh, so the reduction error grows with |fi0|. Whole
    // turns are taken by floor, not truncation: a disk turning clockwise
    // then also gets attachment angles in [0, 2*Pi), the range of the load
    // angles, so the +-0.9 rad wrap of the twist sees no false turn. For
    // fi0 >= 0 floor and truncation agree, digit for digit. For a finite
    // angle nothing here can overflow.
    const double q = m.fi[0] / 2 / m.Pi;
    m.FiAttach[1] = (q - std::floor(q)) * 2 * m.Pi;
    m.FiAttach[2] = m.FiAttach[1] + m.Pi;
    if (!(2 * m.Pi >= m.FiAttach[2])) m.FiAttach[2] = m.FiAttach[2] - 2 * m.Pi;
}

// Only results that are stored, divided by, or hidden by a later operation
// (atn, a comparison) are tested: +, - and * carry an overflow or an invalid
// operation through to the stored result, which is tested.
void ComputeDerivatives(Model& m) {
    Unpack(m);
    AttachmentAngles(m);

    BothGeometries(m, true);
    for (int i = 1; i <= kElements; ++i) {
        m.Dfi[i] = Twist(m, m.FiAttach[i], m.fi[i]);
        // Zero free length: the spring force grows with the whole distance.
        m.FR[i] = Chk(m.CR * m.R[i] + m.KR * m.VR[i]);
        // The element's torque becomes a force at the load's current distance.
        m.FT[i] = Chk((m.CT * m.Dfi[i] + m.KT * m.VT[i]) / m.R[i]);
    }
    for (int i = 1; i <= kElements; ++i) {
        const double c = std::cos(m.AcuteAngle[i]);
        const double s = std::sin(m.AcuteAngle[i]);
        // Tension pulls the load towards the disk centre; the tangential force
        // is a quarter turn ahead. |c|, |s| <= 1, so the projections of a
        // finite force are finite.
        m.FRX[i] = c * m.FR[i];
        if (m.DX[i] > 0) m.FRX[i] = -m.FRX[i];
        m.FRY[i] = s * m.FR[i];
        if (m.DY[i] > 0) m.FRY[i] = -m.FRY[i];
        m.FTX[i] = s * m.FT[i];
        if (m.DY[i] > 0) m.FTX[i] = -m.FTX[i];
        m.FTY[i] = c * m.FT[i];
        if (m.DX[i] < 0) m.FTY[i] = -m.FTY[i];
    }

    // Positions change at the velocities, the disk angle at w0.
    for (int k = state::kFirst; k <= state::kLastPosition; ++k) m.DerivF[k] = m.StateY[k + state::kRate];
    // The disk takes the reaction of both elements: the negated sum of the
    // forces on the loads, and the negated sum of the element torques [m/s^2,
    // rad/s^2].
    double* const ax = m.DerivF + state::kVX;
    double* const ay = m.DerivF + state::kVY;
    ax[0] = Chk(-(m.FRX[1] + m.FRX[2] + m.FTX[1] + m.FTX[2]) / m.M[0]);
    ax[1] = Chk((m.FRX[1] + m.FTX[1]) / m.M[1]);
    ax[2] = Chk((m.FRX[2] + m.FTX[2]) / m.M[2]);
    ay[0] = Chk(-(m.FRY[1] + m.FRY[2] + m.FTY[1] + m.FTY[2]) / m.M[0]);
    if (m.InjectedForceY0 != 0) [[unlikely]]
        ay[0] = Chk(ay[0] + m.InjectedForceY0 / m.M[0]);
    ay[1] = Chk((m.FRY[1] + m.FTY[1]) / m.M[1]);
    ay[2] = Chk((m.FRY[2] + m.FTY[2]) / m.M[2]);
    m.DerivF[state::kSpin] = Chk(-(m.FT[1] * m.R[1] + m.FT[2] * m.R[2]) / m.J0);
}

namespace {

// x - x is 0 for every finite x and NaN otherwise, so one sum tests a whole
// stage at once and the loops stay free of branches.
inline void ChkAll(const double* v) {
    double acc = 0;
    for (int k = state::kFirst; k <= state::kLast; ++k) acc += v[k] - v[k];
    if (acc != 0) [[unlikely]]
        RaiseArithmeticError();
}

// New stage values are formed in scratch arrays and tested before they are
// copied into the record, so a failing stage stores nothing.
struct Stage {
    double k[15];
    double y[15];
};

inline void Commit(const Stage& s, double* kOut, double* yOut) {
    for (int k = state::kFirst; k <= state::kLast; ++k) {
        kOut[k] = s.k[k];
        yOut[k] = s.y[k];
    }
}

}  // namespace

void RungeKuttaStep(Model& m) {
    const double h = m.h;
    for (int k = state::kFirst; k <= state::kLast; ++k) m.StateBase[k] = m.StateY[k];
    const double* base = m.StateBase;
    Stage s;

    // h * DerivF is finite or infinite, never NaN, and an infinite K carries
    // into the stage state, so testing the stage state tests both.
    // Stages 1 and 2 go half a step from the start state, stage 3 a whole one.
    auto stage = [&](double* kOut, bool half) {
        ComputeDerivatives(m);
        for (int k = state::kFirst; k <= state::kLast; ++k) {
            s.k[k] = h * m.DerivF[k];
            s.y[k] = half ? s.k[k] / 2 + base[k] : base[k] + s.k[k];
        }
        ChkAll(s.y);
        Commit(s, kOut, m.StateY);
    };
    stage(m.K1, true);
    stage(m.K2, true);
    stage(m.K3, false);

    ComputeDerivatives(m);
    for (int k = state::kFirst; k <= state::kLast; ++k) s.k[k] = h * m.DerivF[k];
    ChkAll(s.k);
    // Weights 1, 2, 2, 1 over 6, summed in this order: the last digits of the
    // readouts depend on it.
    for (int k = state::kFirst; k <= state::kLast; ++k)
        s.y[k] = (2 * m.K2[k] + m.K1[k] + 2 * m.K3[k] + s.k[k]) / 6 + base[k];
    ChkAll(s.y);
    Commit(s, m.K4, m.StateY);

    // Geometry at the new state; the forces keep the values of the fourth
    // evaluation, which the readouts show.
    Unpack(m);
    AttachmentAngles(m);
    BothGeometries(m, false);
    for (int i = 1; i <= kElements; ++i) {
        // Backward differences over the step just made: the damping of the
        // next step lags the motion by one step.
        m.VR[i] = Chk((m.R[i] - m.ROld[i]) / h);
        m.Dfi[i] = Twist(m, m.FiAttach[i], m.fi[i]);
        m.VT[i] = Chk((m.Dfi[i] - m.DfiOld[i]) / h);
        m.ROld[i] = m.R[i];
        m.DfiOld[i] = m.Dfi[i];
    }
}

void AdvanceTime(Model& m) {
    // T is a running sum of h, never a step count times h: its readout shows
    // the accumulated rounding.
    m.T = Chk(m.T + m.h);
}

}  // namespace sim
