#include "app/verify.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "sim/arith.h"
#include "sim/dynamics.h"
#include "sim/energy.h"

namespace app {
namespace {

// Sizes of the terms that make up each conserved quantity: rounding is
// relative to the terms, not to their (possibly cancelling) sum.
struct Sizes {
    double px = 0, py = 0, lz = 0, yc = 0;
};

Sizes TermSizes(const sim::Model& m) {
    Sizes s;
    double mass = 0;
    for (int b = 0; b < 3; ++b) {
        s.px += std::fabs(m.M[b] * m.VX[b]);
        s.py += std::fabs(m.M[b] * m.VY[b]);
        s.lz += std::fabs(m.M[b] * m.X[b] * m.VY[b]) + std::fabs(m.M[b] * m.Y[b] * m.VX[b]);
        // Rounding of the Y momenta integrates into the positions: the size
        // of an ordinate is where it is plus how far its speed carried it.
        s.yc += std::fabs(m.M[b] * m.Y[b]) + std::fabs(m.M[b] * m.VY[b]) * m.T;
        mass += m.M[b];
    }
    s.lz += std::fabs(m.J0 * m.w0);
    s.yc /= mass;
    return s;
}

struct RunResult {
    sim::Model m;
    double maxDev[4] = {};
    Sizes maxSize;
    double maxAbsY0 = 0, maxAbsYc = 0;
};

RunResult Run(const sim::Model& started, double h, long long steps) {
    RunResult r{started, {}, {}, 0, 0};
    sim::Model& m = r.m;
    m.h = h;
    m.MT = DBL_MAX / 32;  // no sweep restarts to count
    const sim::Invariants start = sim::ComputeInvariants(m);
    r.maxSize = TermSizes(m);
    for (long long i = 0; i < steps; ++i) {
        sim::RungeKuttaStep(m);
        m.NC = 0;
        sim::AccountStep(m);
        const sim::Invariants now = sim::ComputeInvariants(m);
        const double dev[4] = {now.Px - start.Px, now.Py - start.Py, now.Lz - start.Lz, now.Yc - start.Yc};
        for (int k = 0; k < 4; ++k) r.maxDev[k] = std::max(r.maxDev[k], std::fabs(dev[k]));
        const Sizes s = TermSizes(m);
        r.maxSize.px = std::max(r.maxSize.px, s.px);
        r.maxSize.py = std::max(r.maxSize.py, s.py);
        r.maxSize.lz = std::max(r.maxSize.lz, s.lz);
        r.maxSize.yc = std::max(r.maxSize.yc, s.yc);
        r.maxAbsY0 = std::max(r.maxAbsY0, std::fabs(m.Y[0]));
        r.maxAbsYc = std::max(r.maxAbsYc, std::fabs(now.Yc));
    }
    sim::ComputeE(m);
    sim::ComputeYmrv(m);
    return r;
}

double StateDistance(const sim::Model& a, const sim::Model& b) {
    double d = 0;
    for (int k = 1; k <= 7; ++k) d = std::max(d, std::fabs(a.StateY[k] - b.StateY[k]));
    return d;
}

}  // namespace

VerifyReport Verify(const sim::Model& started, double time) {
    VerifyReport rep;
    rep.time = time;
    rep.damped = started.KR != 0 || started.KT != 0;
    RunResult runs[3];
    for (int k = 0; k < 3; ++k) {
        rep.h[k] = started.h / (1 << k);
        rep.steps[k] = std::llround(time / rep.h[k]);
        runs[k] = Run(started, rep.h[k], rep.steps[k]);
    }
    const sim::Model& ref = runs[2].m;
    for (int k = 0; k < 2; ++k) {
        rep.stateError[k] = StateDistance(runs[k].m, ref);
        rep.energyError[k] = std::fabs(runs[k].m.E - ref.E) / std::fabs(started.E0);
    }
    rep.stateOrder = std::log2(rep.stateError[0] / rep.stateError[1]);
    rep.energyOrder = std::log2(rep.energyError[0] / rep.energyError[1]);

    const RunResult& r = runs[0];
    const double eps = DBL_EPSILON;
    const double root = std::sqrt(static_cast<double>(std::max<long long>(rep.steps[0], 1)));
    const double sizes[4] = {r.maxSize.px, r.maxSize.py, r.maxSize.lz, r.maxSize.yc};
    const char* names[4] = {"Px", "Py", "Lz", "Yc"};
    double stateSize = 0;
    for (int k = 1; k <= 7; ++k) stateSize = std::max(stateSize, std::fabs(r.m.StateY[k]));
    rep.stateFloor = stateSize * eps * root;
    rep.ledgerHolds = true;
    for (int k = 0; k < 4; ++k) {
        double floor = sizes[k] * eps * root;
        // Momenta and the centre of mass are linear in the state, which any
        // Runge-Kutta method keeps exactly; angular momentum is quadratic and
        // is kept only to the truncation error. The part of its deviation that
        // shrinks with the step (h against h/4) is that error, not physics.
        if (k == 2) floor += std::fabs(r.maxDev[k] - runs[2].maxDev[k]);
        const bool holds = r.maxDev[k] <= kLedgerFactor * floor;
        rep.ledger[k] = {names[k], r.maxDev[k], floor, holds};
        rep.ledgerHolds = rep.ledgerHolds && holds;
    }
    rep.maxAbsY0 = r.maxAbsY0;
    rep.maxAbsYc = r.maxAbsYc;
    rep.ymrvEnd = r.m.Ymrv;
    rep.noLateralForce = rep.ledger[3].holds;
    return rep;
}

}  // namespace app
