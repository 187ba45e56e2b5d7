#include "app/verify.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "sim/arith.h"
#include "sim/dynamics.h"
#include "sim/energy.h"

namespace app {
namespace {

// Below this many rounding floors the error of the h/2 run is rounding, and
// an order measured from it means nothing.
constexpr double kOrderNoise = 16;

// With e(h) = C h^p the measured log2(e(h) / e(h/2)) against the h/4 run is
// log2(2^p + 1): 4.09 for RK4, 1.58 for the first-order lag of the damping.
constexpr double kLowestOrderUndamped = 3;
constexpr double kLowestOrderDamped = 1.2;
constexpr double kHighestOrder = 6;

constexpr int kTracePoints = 400;
constexpr long long kProgressEvery = 1 << 16;

// Sizes of the terms that make up each conserved quantity: rounding is
// relative to the terms, not to their (possibly cancelling) sum.
struct Sizes {
    double of[kLedgerRows] = {};
};

Sizes TermSizes(const sim::Model& m) {
    Sizes s;
    double mass = 0, yc = 0;
    for (int b = 0; b < sim::kBodyCount; ++b) {
        s.of[int(LedgerRow::kPx)] += std::fabs(m.M[b] * m.VX[b]);
        s.of[int(LedgerRow::kPy)] += std::fabs(m.M[b] * m.VY[b]);
        s.of[int(LedgerRow::kLz)] += std::fabs(m.M[b] * m.X[b] * m.VY[b]) + std::fabs(m.M[b] * m.Y[b] * m.VX[b]);
        // Rounding of the Y momenta integrates into the positions: the size
        // of an ordinate is where it is plus how far its speed carried it.
        yc += std::fabs(m.M[b] * m.Y[b]) + std::fabs(m.M[b] * m.VY[b]) * m.T;
        mass += m.M[b];
    }
    s.of[int(LedgerRow::kLz)] += std::fabs(m.J0 * m.w0);
    s.of[int(LedgerRow::kYc)] = yc / mass;
    return s;
}

double Value(const sim::Invariants& inv, int row) {
    switch (LedgerRow(row)) {
        case LedgerRow::kPx: return inv.Px;
        case LedgerRow::kPy: return inv.Py;
        case LedgerRow::kLz: return inv.Lz;
        case LedgerRow::kYc: return inv.Yc;
    }
    return 0;
}

double RoundingFloor(double size, long long steps) {
    return size * DBL_EPSILON * std::sqrt(static_cast<double>(std::max<long long>(steps, 1)));
}

struct RunResult {
    sim::Model m;
    double maxDev[kLedgerRows] = {};
    Sizes maxSize;
    double maxAbsY0 = 0;
    double pyChange = 0;
};

// Steps the record as the window's run does (T a running sum of h), without
// display cycles. The trace, when asked for, samples the whole run.
RunResult Run(const sim::Model& started, double h, long long steps, std::vector<TraceSample>* trace,
              const ProgressFn& progress, long long doneBefore, long long total) {
    RunResult r{started, {}, {}, 0, 0};
    sim::Model& m = r.m;
    m.h = h;
    const sim::Invariants start = sim::ComputeInvariants(m);
    r.maxSize = TermSizes(m);
    const long long stride = std::max<long long>(1, steps / kTracePoints);
    if (trace) trace->push_back({m.T, std::fabs(m.Y[0]), std::fabs(start.Yc), 0});
    for (long long i = 1; i <= steps; ++i) {
        sim::RungeKuttaStep(m);
        sim::AdvanceTime(m);
        const sim::Invariants now = sim::ComputeInvariants(m);
        const Sizes s = TermSizes(m);
        for (int k = 0; k < kLedgerRows; ++k) {
            r.maxDev[k] = std::max(r.maxDev[k], std::fabs(Value(now, k) - Value(start, k)));
            r.maxSize.of[k] = std::max(r.maxSize.of[k], s.of[k]);
        }
        r.maxAbsY0 = std::max(r.maxAbsY0, std::fabs(m.Y[0]));
        if (trace && (i % stride == 0 || i == steps))
            trace->push_back({m.T, std::fabs(m.Y[0]), std::fabs(now.Yc - start.Yc),
                              RoundingFloor(r.maxSize.of[int(LedgerRow::kYc)], i)});
        if (progress && (doneBefore + i) % kProgressEvery == 0)
            progress(static_cast<double>(doneBefore + i) / static_cast<double>(total));
    }
    r.pyChange = sim::ComputeInvariants(m).Py - start.Py;
    sim::ComputeE(m);
    sim::ComputeYmrv(m);
    return r;
}

double StateDistance(const sim::Model& a, const sim::Model& b) {
    double d = 0;
    for (int k = sim::state::kFirst; k <= sim::state::kLastPosition; ++k)
        d = std::max(d, std::fabs(a.StateY[k] - b.StateY[k]));
    return d;
}

}  // namespace

Verdict Judge(const VerifyReport& rep) {
    auto holds = [&rep](LedgerRow row) { return rep.ledger[int(row)].holds; };
    const double lowest = rep.damped ? kLowestOrderDamped : kLowestOrderUndamped;
    if (!rep.atRounding && !(rep.stateOrder >= lowest && rep.stateOrder <= kHighestOrder))
        return Verdict::kNotConverged;
    // A net force along Y shows in both its momentum and its centre of mass.
    if (!holds(LedgerRow::kYc) || !holds(LedgerRow::kPy)) return Verdict::kLateralForceActs;
    if (!holds(LedgerRow::kPx) || !holds(LedgerRow::kLz)) return Verdict::kLedgerBroken;
    return rep.claimFactor >= kClearlyAbove ? Verdict::kNoLateralForce : Verdict::kBelowDetection;
}

long long VerifySteps(double time, double h) {
    const double n = std::round(time / h);
    return n < 9e18 ? static_cast<long long>(n) : 0;
}

VerifyReport Verify(const sim::Model& started, long long steps, const ProgressFn& progress) {
    VerifyReport rep;
    rep.damped = started.KR != 0 || started.KT != 0;
    RunResult runs[3];
    const long long total = 7 * steps;
    long long done = 0;
    for (int k = 0; k < 3; ++k) {
        rep.h[k] = started.h / (1 << k);
        rep.steps[k] = steps << k;
        runs[k] = Run(started, rep.h[k], rep.steps[k], k == 0 ? &rep.trace : nullptr, progress, done, total);
        done += rep.steps[k];
    }
    // h/2 and h/4 are exact in binary, so the three runs end at the same time.
    rep.time = static_cast<double>(steps) * started.h;

    const sim::Model& ref = runs[2].m;
    for (int k = 0; k < 2; ++k) {
        rep.stateError[k] = StateDistance(runs[k].m, ref);
        rep.energyError[k] = std::fabs(runs[k].m.E - ref.E) / std::fabs(started.E0);
    }
    rep.stateOrder = std::log2(rep.stateError[0] / rep.stateError[1]);
    rep.energyOrder = std::log2(rep.energyError[0] / rep.energyError[1]);

    const RunResult& r = runs[0];
    double stateSize = 0;
    for (int k = sim::state::kFirst; k <= sim::state::kLastPosition; ++k)
        stateSize = std::max(stateSize, std::fabs(r.m.StateY[k]));
    // The disk angle and the abscissae grow by nearly the same increment at
    // every step, and the sum rounds the same way each time: their rounding
    // adds up with the number of steps, not with its square root.
    rep.stateFloor = stateSize * DBL_EPSILON * static_cast<double>(steps);
    for (int k = 0; k < kLedgerRows; ++k) {
        double floor = RoundingFloor(r.maxSize.of[k], steps);
        // Momenta and the centre of mass are linear in the state, which any
        // Runge-Kutta method keeps exactly; angular momentum is quadratic and
        // is kept only to the truncation error. The part of its deviation that
        // shrinks with the step (h against h/4) is that error, not physics.
        if (LedgerRow(k) == LedgerRow::kLz) floor += std::fabs(r.maxDev[k] - runs[2].maxDev[k]);
        const bool holds = r.maxDev[k] <= kLedgerFactor[k] * floor;
        rep.ledger[k] = {r.maxDev[k], floor, holds};
    }
    rep.maxAbsY0 = r.maxAbsY0;
    rep.maxAbsYc = r.maxDev[int(LedgerRow::kYc)];
    rep.pyChange = r.pyChange;
    rep.fmrv = started.Fmrv;
    rep.ymrvEnd = r.m.Ymrv;
    rep.totalMass = started.M[0] + started.M[1] + started.M[2];

    // A constant force F on the system moves Yc by F t^2 / (2 M) from rest.
    // Rounding moves it by at most the threshold either way, so a force
    // whose displacement is twice the threshold always ends beyond it.
    const LedgerEntry& yc = rep.ledger[int(LedgerRow::kYc)];
    rep.yThreshold = kLedgerFactor[int(LedgerRow::kYc)] * yc.floor;
    rep.detectionLimit = 2 * rep.totalMass * (2 * rep.yThreshold) / (rep.time * rep.time);
    const double claim = std::fabs(rep.fmrv);
    rep.claimFactor = rep.detectionLimit > 0 ? claim / rep.detectionLimit : (claim > 0 ? INFINITY : 0);
    // The floor grows about as T^1.5 (the size as T, the rounding walk as
    // sqrt(T)), so the limit falls about as 1/sqrt(T); half as long again
    // allows for swings a longer run reaches that this one did not.
    const double shortfall = kClearlyAbove * rep.detectionLimit / claim;
    rep.timeToResolve = claim > 0 ? 1.5 * rep.time * shortfall * shortfall : INFINITY;

    rep.atRounding = !(rep.stateError[1] > kOrderNoise * rep.stateFloor);
    rep.verdict = Judge(rep);
    return rep;
}

}  // namespace app
