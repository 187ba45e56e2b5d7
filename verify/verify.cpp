#include "verify/verify.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <exception>
#include <iterator>
#include <limits>
#include <string>
#include <system_error>
#include <thread>
#include <type_traits>
#include <utility>

#include "sim/arith.h"
#include "sim/dynamics_impl.h"
#include "sim/energy_impl.h"
#include "sim/start_impl.h"
#include "verify/extended.h"

namespace verify {
namespace {

// With e(h) = C h^p the measured log2(e(h) / e(h/2)) against the h/4 run is
// log2(2^p + 1): 4.09 for RK4, 1.58 for the first-order lag of the damping.
constexpr double kLowestOrderUndamped = 3;
constexpr double kLowestOrderDamped = 1.2;
constexpr double kHighestOrder = 6;

constexpr long long kProgressEvery = 1 << 16;

// The runs compute in their own type; what the report keeps is a double.
double ToDouble(double v) { return v; }
double ToDouble(Quad v) { return to_double(v); }

// Sizes of the terms that make up each conserved quantity: rounding is
// relative to the terms, not to their (possibly cancelling) sum.
template <class Real>
struct Sizes {
    Real of[kLedgerRows] = {};
};

template <class Real>
Sizes<Real> TermSizes(const sim::BasicModel<Real>& m) {
    using std::fabs;
    Sizes<Real> s;
    const sim::BasicState<Real>& st = m.s;
    Real mass = 0, yc = 0;
    for (int b = 0; b < sim::kBodies; ++b) {
        const Real mb = m.p.M(b);
        s.of[int(LedgerRow::kPx)] += fabs(mb * st.VX(b));
        s.of[int(LedgerRow::kPy)] += fabs(mb * st.VY(b));
        s.of[int(LedgerRow::kLz)] += fabs(mb * st.X(b) * st.VY(b)) + fabs(mb * st.Y(b) * st.VX(b));
        // Rounding of the Y momenta integrates into the positions: the size
        // of an ordinate is where it is plus how far its speed carried it.
        yc += fabs(mb * st.Y(b)) + fabs(mb * st.VY(b)) * st.T;
        mass += mb;
    }
    s.of[int(LedgerRow::kLz)] += fabs(m.start.J0 * st.w0());
    s.of[int(LedgerRow::kYc)] = yc / mass;
    return s;
}

template <class Real>
Real Value(const sim::BasicInvariants<Real>& inv, int row) {
    switch (LedgerRow(row)) {
        case LedgerRow::kPx: return inv.Px;
        case LedgerRow::kPy: return inv.Py;
        case LedgerRow::kLz: return inv.Lz;
        case LedgerRow::kYc: return inv.Yc;
    }
    return 0;
}

double RoundingFloor(double size, long long steps, double eps) {
    return size * eps * std::sqrt(static_cast<double>(std::max<long long>(steps, 1)));
}

// The state and the energy at one of the moments at which the three runs
// are compared.
template <class Real>
struct Sample {
    Real y[sim::state::kPositions];  // StateY(0..6): positions and the disk angle
    Real E;                          // total energy [J]
};

template <class Real>
struct RunResult {
    sim::BasicModel<Real> m;
    std::vector<Sample<Real>> samples;  // at the same moments in all three runs
    Real maxDev[kLedgerRows] = {};
    Sizes<Real> maxSize;
    Real maxAbsY0 = 0;
    Real maxPosition = 0;  // largest |X|, |Y| of any body over the run [m]
    Real maxAngle = 0;     // largest |fi0| over the run [rad]
    // Of each coordinate and the disk angle over the run: the largest rate
    // and the smallest size, for whether a step could move it at all.
    Real maxRate[sim::state::kPositions] = {};
    Real minAbs[sim::state::kPositions] = {};
    Real pyChange = 0;
    Real ymrv = 0;  // where the claimed force would have moved the system by the end [m]
};

// The largest coordinate and the disk angle now, for the state's floor,
// and the rates and sizes of each, for whether the steps move them.
template <class Real>
void TrackState(RunResult<Real>& r) {
    using std::fabs;
    const sim::BasicStateVector<Real>& y = r.m.s.StateY;
    for (int k = sim::state::kX; k < sim::state::kAngle; ++k) r.maxPosition = std::max(r.maxPosition, fabs(y[k]));
    r.maxAngle = std::max(r.maxAngle, fabs(y[sim::state::kAngle]));
    for (int k = 0; k < sim::state::kPositions; ++k) {
        r.maxRate[k] = std::max(r.maxRate[k], fabs(y[k + sim::state::kPositions]));
        r.minAbs[k] = std::min(r.minAbs[k], fabs(y[k]));
    }
}

// How far the three runs have got together. Every run adds its steps; only
// the run on the calling thread tells the caller, so the caller's function
// is never called from two threads.
struct Counter {
    std::atomic<long long> done{0};
    long long total = 1;
    const ProgressFn* tell = nullptr;
};

// Steps the record as the window's run does (T a running sum of h), without
// display cycles, and samples it every `every` steps and at its end. The
// trace, when asked for, samples the main run at the same moments.
template <class Real>
RunResult<Real> Run(int which, const sim::BasicModel<Real>& started, Real h, Real forceY0, long long steps,
                    long long every, double eps, std::vector<TraceSample>* trace, Counter& counter, bool tells) {
    using std::fabs;
    RunResult<Real> r;
    r.m = started;
    sim::BasicModel<Real>& m = r.m;
    m.p.h = h;
    std::fill(std::begin(r.minAbs), std::end(r.minAbs), Real(INFINITY));
    TrackState(r);
    const sim::BasicInvariants<Real> start = sim::ComputeInvariants(m.p, m.start, m.s);
    r.maxSize = TermSizes(m);
    if (trace) trace->push_back({ToDouble(m.s.T), ToDouble(fabs(m.s.Y(0))), ToDouble(fabs(start.Yc)), 0});
    long long i = 1;
    try {
    for (; i <= steps; ++i) {
        sim::Step(m, forceY0);
        const sim::BasicInvariants<Real> now = sim::ComputeInvariants(m.p, m.start, m.s);
        const Sizes<Real> s = TermSizes(m);
        for (int k = 0; k < kLedgerRows; ++k) {
            r.maxDev[k] = std::max(r.maxDev[k], fabs(Value(now, k) - Value(start, k)));
            r.maxSize.of[k] = std::max(r.maxSize.of[k], s.of[k]);
        }
        r.maxAbsY0 = std::max(r.maxAbsY0, fabs(m.s.Y(0)));
        TrackState(r);
        if (i % every == 0 || i == steps) {
            Sample<Real> sample;
            std::copy(m.s.StateY.begin(), m.s.StateY.begin() + sim::state::kPositions, sample.y);
            sample.E = sim::ComputeE(m.p, m.start, m.s, m.geo);
            r.samples.push_back(sample);
            if (trace)
                trace->push_back({ToDouble(m.s.T), ToDouble(fabs(m.s.Y(0))), ToDouble(fabs(now.Yc - start.Yc)),
                                  RoundingFloor(ToDouble(r.maxSize.of[int(LedgerRow::kYc)]), i, eps)});
        }
        if (i % kProgressEvery == 0) {
            const long long done = counter.done += kProgressEvery;
            if (tells && counter.tell && *counter.tell)
                (*counter.tell)(static_cast<double>(done) / static_cast<double>(counter.total));
        }
    }
    counter.done += steps % kProgressEvery;
    r.pyChange = sim::ComputeInvariants(m.p, m.start, m.s).Py - start.Py;
    r.ymrv = sim::ComputeYmrv(m.p, m.start.Fmrv, m.s.T);
    } catch (const sim::ArithmeticError&) {
        // A failing step leaves T where it was: the time reached before it.
        throw RunFailure(which, std::min(i, steps), ToDouble(m.s.T),
                         "the equations of motion left the range of the number type (an overflow, a division "
                         "by zero or an invalid operation)");
    }
    return r;
}

// |a - b| over the coordinates of the three bodies [m].
template <class Real>
Real PositionDistance(const Sample<Real>& a, const Sample<Real>& b) {
    using std::fabs;
    Real d = 0;
    for (int k = sim::state::kX; k < sim::state::kAngle; ++k) d = std::max(d, fabs(a.y[k] - b.y[k]));
    return d;
}

// a / scale, where a zero scale makes every difference infinitely large but
// leaves no difference at all as none.
double Relative(double a, double scale) { return a == 0 ? 0 : a / std::fabs(scale); }

// The errors of the runs at h and h/2 against the run at h/4, each in its
// own scale, at the worst of the sampled moments: a damped run may part
// from the truth on its way and come back to rest at the end. The positions
// are measured against the loads' distance from the disk, not against where
// the disk has travelled: a run's translation says nothing about its
// accuracy.
template <class Real>
Convergence Compare(const RunResult<Real> (&runs)[kRuns], const sim::Model& started, long long steps, bool damped,
                    double eps) {
    using std::fabs;
    Convergence c;
    const std::vector<Sample<Real>>& ref = runs[2].samples;
    const double r1 = started.p.R1, turn = 2 * sim::Pi;
    constexpr int kAngle = sim::state::kAngle;
    for (int k = 0; k < 2; ++k) {
        const std::vector<Sample<Real>>& run = runs[k].samples;
        Real position = 0, angle = 0, energy = 0;
        for (std::size_t j = 0; j < ref.size(); ++j) {
            position = std::max(position, PositionDistance(run[j], ref[j]));
            angle = std::max(angle, fabs(run[j].y[kAngle] - ref[j].y[kAngle]));
            energy = std::max(energy, fabs(run[j].E - ref[j].E));
        }
        // The differences are the wider type's; their sizes fit a double.
        c.positionError[k] = Relative(ToDouble(position), r1);
        c.angleError[k] = Relative(ToDouble(angle), turn);
        c.energyError[k] = Relative(ToDouble(energy), started.start.E0);
        c.stateError[k] = std::max(c.positionError[k], c.angleError[k]);
    }
    c.stateOrder = std::log2(c.stateError[0] / c.stateError[1]);
    c.energyOrder = std::log2(c.energyError[0] / c.energyError[1]);
    // Rounding adds at most half a unit in the last place to a coordinate
    // at every step, and where the increment is steady (the translation,
    // the disk's turning) it rounds the same way each time, so it adds up
    // with the number of steps. The disk angle's own rounding turns the
    // attachment points and, through the elements, the loads: an angle off
    // by d moves them by R1 d. The sizes are those of the run at h/4, the
    // most accurate of the three: a run at h that diverges has coordinates
    // and an angle of its own making, and must not widen the floor that
    // would excuse it.
    const RunResult<Real>& fine = runs[2];
    c.stateFloor =
        eps * static_cast<double>(steps) * (Relative(ToDouble(fine.maxPosition), r1) + ToDouble(fine.maxAngle));
    c.atRounding = !(c.stateError[1] > kOrderNoise * c.stateFloor);
    // Each quantity falls with its own order: the energy of an undamped
    // oscillation faster than the positions.
    const double lowest = damped ? kLagOrder : kMethodOrder;
    c.stateEstimate = std::max(ErrorAtH(c.positionError[0], c.positionError[1], c.atRounding, lowest),
                               ErrorAtH(c.angleError[0], c.angleError[1], c.atRounding, lowest));
    c.energyEstimate = ErrorAtH(c.energyError[0], c.energyError[1], c.atRounding, lowest);
    // Three runs that share a wreck agree with one another: where rounding
    // alone may leave the state off by more than a converged run may be,
    // their agreement says nothing (a flight so far that the loads' offsets
    // from the disk keep no digits).
    c.small = c.stateEstimate <= kConvergedError && c.energyEstimate <= kConvergedError &&
              !(c.stateFloor > kConvergedError);
    c.stepsPerPeriod = 2 * sim::Pi / (started.p.h * FastestRate(started));
    c.stableStep = StableStep(started, &c.lagLimits);
    // The rate rule as it reads, not through a quotient that rounds.
    c.stable = !(started.p.h * FastestRate(started) > kMostRateTimesStep) &&
               !(c.lagLimits && started.p.h > c.stableStep);
    c.converged = Converged(c, damped);
    return c;
}

}  // namespace

const char* PrecisionName(Precision precision) {
    return precision == Precision::kDouble ? "double" : "extended";
}

RunFailure::RunFailure(int run, long long step, double time, std::string what)
    : std::runtime_error(what), run(run), step(step), time(time), what(std::move(what)) {}

bool Converged(const Convergence& c, bool damped) {
    // Rounding may excuse an order that means nothing only where the error
    // itself is small: a run that diverges has an error at h/2 that is
    // "at rounding" of its own huge coordinates.
    if (!c.small || !c.stable) return false;
    const double lowest = damped ? kLowestOrderDamped : kLowestOrderUndamped;
    return c.atRounding || (c.stateOrder >= lowest && c.stateOrder <= kHighestOrder);
}

namespace {

// The rates of the elements, each estimated from above [1/s].
struct ElementRates {
    double radialSwing, twistSwing, radialDamping, twistDamping;
};

ElementRates RatesOf(const sim::Model& m) {
    const double m0 = m.p.m0, m1 = m.p.m1, r1 = m.p.R1;
    // An element pulls a load and the disk apart: 1/m1 + 2/m0 per newton
    // [1/kg]. A torsional element turns its load about the disk, turns the
    // disk, and pushes the disk sideways at the load's distance: per
    // newton-metre [1/(kg m^2)].
    const double radialInertia = 1 / m1 + 2 / m0;
    const double twistInertia = radialInertia / (r1 * r1) + 2 / m.start.J0;
    return {std::sqrt(m.start.CR * radialInertia), std::sqrt(m.p.CT * twistInertia), m.p.KR * radialInertia,
            m.p.KT * twistInertia};
}

// Whether RK4 keeps x'' = -w^2 x - c (x - x_before) / h stable at s = w h,
// g = c h. Over one step the damping is constant, so with u = v h the step
// is (x, u) -> R (x, u) + P (0, -g (x - x_before)), where, with Z = h A of
// the undamped swing, R = I + Z + Z^2/2 + Z^3/6 + Z^4/24 = a I + b Z and
// P = I + Z/2 + Z^2/6 + Z^3/24 = b I + d Z. The map of (x, u, x_before)
//   | a - g d    b   g d |
//   | -s^2 b - g b  a   g b |
//   | 1          0   0   |
// has all its eigenvalues within the unit circle when its characteristic
// polynomial l^3 + a2 l^2 + a1 l + a0 passes Jury's test: p(1) >= 0 (here
// s^2 (s^2 d^2 + b^2), never negative), -p(-1) = det(I + M) >= 0, |a0| <= 1
// and |1 - a0^2| >= |a1 - a0 a2|. Without damping the last is |R(is)|^2 <= 1.
bool LagStable(double s, double g) {
    const double s2 = s * s;
    const double a = 1 - s2 / 2 + s2 * s2 / 24, b = 1 - s2 / 6, d = 0.5 - s2 / 24;
    const double a2 = -(2 * a - g * d);
    const double a1 = a * (a - g * d) + s2 * b * b + g * b * b - g * d;
    const double a0 = g * (a * d - b * b);
    const double atMinusOne = (1 + a - 2 * g * d) * (1 + a) + b * (s2 * b + 2 * g * b);
    return atMinusOne >= 0 && std::fabs(a0) <= 1 && std::fabs(1 - a0 * a0) >= std::fabs(a1 - a0 * a2);
}

}  // namespace

double LagStableStep(double w, double c) {
    const double rate = std::max(w, c);
    if (!(rate > 0)) return INFINITY;
    // In units of the faster rate the first instability lies between 1.1
    // (where stiffness and damping are alike) and 2.83: from well below it,
    // up by a hundredth at a time to the first unstable step (the stable
    // steps need not be one interval), then halved to the last bit.
    double lo = 0.05, hi = lo;
    while (hi < 10 && LagStable(w * hi / rate, c * hi / rate)) lo = hi, hi *= 1.01;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        (LagStable(w * mid / rate, c * mid / rate) ? lo : hi) = mid;
    }
    return lo / rate;
}

double StableStep(const sim::Model& started, bool* lagLimits) {
    const double fastest = FastestRate(started);
    const double byRate = fastest > 0 ? kMostRateTimesStep / fastest : INFINITY;
    const ElementRates r = RatesOf(started);
    // The radial damping reads R, the load's distance from the disk, which
    // swings in the turning frame: the pull of the element and the
    // centrifugal force that falls as the load goes out, together w^2 + 3
    // w0^2. Without damping nothing lags, and the rate rule alone holds.
    const double w0 = started.p.w0;
    const double radial = std::sqrt(r.radialSwing * r.radialSwing + 3 * w0 * w0);
    const double byLag = std::min(r.radialDamping > 0 ? LagStableStep(radial, r.radialDamping) : INFINITY,
                                  r.twistDamping > 0 ? LagStableStep(r.twistSwing, r.twistDamping) : INFINITY) /
                         kStableStepMargin;
    if (lagLimits) *lagLimits = byLag < byRate;
    return std::min(byRate, byLag);
}

double ErrorAtH(double d0, double d1, bool atRounding, double lowest) {
    if (atRounding || !(d0 > 2 * d1)) return d0 + 2 * d1;
    // q = d0 / d1 - 1 = 2^p, no more than 2^4.
    const double q = std::min(d0 / d1 - 1, std::exp2(kMethodOrder));
    double error = d0 * q * q / (q * q - 1);
    if (lowest < kMethodOrder) {
        // e(h) = a + b of orders lowest and 4: each shows 1 - 4^-p of itself
        // in d0 and 2^-p - 4^-p in d1.
        auto inD0 = [](double p) { return 1 - std::exp2(-2 * p); };
        auto inD1 = [](double p) { return std::exp2(-p) - std::exp2(-2 * p); };
        const double det = inD0(lowest) * inD1(kMethodOrder) - inD0(kMethodOrder) * inD1(lowest);
        const double mixed = d0 * (inD1(kMethodOrder) - inD1(lowest)) + d1 * (inD0(lowest) - inD0(kMethodOrder));
        error = std::max(error, mixed / det);
    }
    return error;
}

double FastestRate(const sim::Model& m) {
    const ElementRates r = RatesOf(m);
    // The disk's turn needs no rate of its own: CR = m1 w0^2 makes the swing
    // on the radial element sqrt(1 + 2 m1 / m0) times as fast.
    const double rates[] = {r.radialSwing, r.twistSwing, r.radialDamping, r.twistDamping};
    double fastest = 0;
    for (double r : rates)
        if (r > fastest) fastest = r;  // a rate that is not a number is no rate
    return fastest;
}

std::string Unphysical(const sim::Parameters& p) {
    for (const sim::ParameterRow& row : sim::kParameters) {
        const double v = p.*row.value;
        if (row.bound == sim::Bound::kAny || (row.bound == sim::Bound::kPositive ? v > 0 : v >= 0)) continue;
        return std::string(row.symbol) + (row.bound == sim::Bound::kPositive ? " is not positive" : " is negative") +
               ": a disk with loads has positive masses and radii, and stiffness and damping of at least 0";
    }
    return {};
}

bool LimitKnown(double detectionLimit) { return std::isfinite(detectionLimit) && detectionLimit >= DBL_MIN; }

bool LimitMeaningful(Verdict verdict) {
    return verdict != Verdict::kNotConverged && verdict != Verdict::kFrozenByRounding &&
           verdict != Verdict::kLedgerBroken && verdict != Verdict::kRunFailed;
}

Verdict Judge(const VerifyReport& rep) {
    auto holds = [&rep](LedgerRow row) { return rep.ledger[int(row)].holds; };
    // Runs that a step cannot move agree with one another whatever h is.
    if (rep.frozen.run >= 0) return Verdict::kFrozenByRounding;
    if (!rep.conv.converged) return Verdict::kNotConverged;
    // A constant force along Y moves the momentum by F t and the centre of
    // mass by F t^2 / 2M, and from the limit up both beyond their thresholds.
    const bool yc = holds(LedgerRow::kYc), py = holds(LedgerRow::kPy);
    if (!yc && !py) return Verdict::kLateralForceActs;
    if (!holds(LedgerRow::kPx) || !holds(LedgerRow::kLz)) return Verdict::kLedgerBroken;
    // One of them alone is not what a constant force does: a force too
    // small to move both, or rounding that goes one way, would.
    if (!yc || !py) return Verdict::kRoundingCreeps;
    // V0 = 0 or w0 = 0 claims no force: there is nothing to resolve, only
    // whether a force above the limit acts, where the run has a limit.
    const bool claimed = rep.fmrv != 0;
    if (!LimitKnown(rep.detectionLimit)) return claimed ? Verdict::kNoLimit : Verdict::kNoLimitNorClaim;
    if (!claimed) return Verdict::kNothingClaimed;
    return rep.claimFactor >= kClearlyAbove ? Verdict::kNoLateralForce : Verdict::kBelowDetection;
}

double VerifySteps(double time, double h) { return std::round(time / h); }

std::string StepsProblem(double h, double steps) {
    char text[96];
    // Below the smallest normal double a step keeps only a few digits, and
    // T, a running sum of such steps, no longer advances as the step says.
    if (!(h >= DBL_MIN)) {
        std::snprintf(text, sizeof text, "%.15G", DBL_MIN);
        return std::string("a step below ") + text + " s, the smallest double that keeps all its digits";
    }
    // A time of 1E+308 s at a small h is more steps than a double counts.
    std::snprintf(text, sizeof text, std::isinf(steps) ? "more than %.15G" : "%.15G", std::isinf(steps) ? DBL_MAX : steps);
    if (!(steps >= kMinVerifySteps))
        return std::string(text) + " steps of h; at least " + std::to_string(kMinVerifySteps) +
               " are needed for an observed order to mean anything";
    if (!(kStepsInAllRuns * steps <= kMaxVerifyStepsInAll))
        return std::string(text) + " steps of h, too many: the runs at h, h/2 and h/4 make " +
               std::to_string(kStepsInAllRuns) + " times as many, and at most 2E+08 in all (about two minutes)";
    return {};
}

namespace {

// The started model in the type the runs run in: double's as it is, a
// wider type's started anew from the same inputs and twist, so that J0,
// CR and E0 carry its digits, not double's rounding.
const sim::Model& StartedIn(const sim::Model& started, const sim::Model*) { return started; }
template <class Real>
sim::BasicModel<Real> StartedIn(const sim::Model& started, const sim::BasicModel<Real>*) {
    return sim::Start(sim::ParametersIn<Real>(started.p), Real(started.s.fi0()));
}

template <class Real>
VerifyReport VerifyIn(const sim::Model& started, long long steps, const ProgressFn& progress, bool atOnce,
                      double injectedForceY0) {
    using std::fabs;
    VerifyReport rep;
    // The one place the number type's unit roundoff enters the judgement.
    rep.eps = std::numeric_limits<Real>::epsilon();
    rep.precision = std::is_same_v<Real, double> ? Precision::kDouble : Precision::kExtended;
    rep.damped = started.p.KR != 0 || started.p.KT != 0;
    const auto& wide = StartedIn(started, static_cast<const sim::BasicModel<Real>*>(nullptr));
    RunResult<Real> runs[kRuns];
    Counter counter;
    counter.total = kStepsInAllRuns * steps;
    counter.tell = &progress;
    for (int k = 0; k < kRuns; ++k) rep.h[k] = started.p.h / (1 << k), rep.steps[k] = steps << k;
    // The runs are compared every `every` steps of h, the same moments in all three.
    const long long every = std::max<long long>(1, steps / kSamples);
    auto run = [&](int k, bool tells) {
        runs[k] = Run<Real>(k, wide, Real(rep.h[k]), Real(injectedForceY0), rep.steps[k], every << k, rep.eps,
                            k == 0 ? &rep.trace : nullptr, counter, tells);
    };
    if (atOnce) {
        // The runs share nothing but the counter: the run at h/4, as long as
        // the other two together, goes on this thread and tells the progress.
        // A failure in a run is raised here once all three have ended.
        std::exception_ptr failed[2];
        std::thread others[2];
        for (int k = 0; k < 2; ++k) {
            try {
                others[k] = std::thread([&, k] {
                    try {
                        run(k, false);
                    } catch (...) {
                        failed[k] = std::current_exception();
                    }
                });
            } catch (const std::system_error&) {
                // No thread to be had: that run goes on this thread, after.
            }
        }
        std::exception_ptr last;
        try {
            run(2, true);
            for (int k = 0; k < 2; ++k)
                if (!others[k].joinable()) run(k, false);
        } catch (...) {
            last = std::current_exception();
        }
        for (std::thread& t : others)
            if (t.joinable()) t.join();
        for (const std::exception_ptr& e : {failed[0], failed[1], last})
            if (e) std::rethrow_exception(e);
    } else {
        for (int k = 0; k < kRuns; ++k) run(k, true);
    }
    if (progress) progress(1);
    // h/2 and h/4 are exact in binary, so the three runs end at the same time.
    rep.time = static_cast<double>(steps) * started.p.h;
    rep.conv = Compare(runs, started, steps, rep.damped, rep.eps);
    // A step that changes a coordinate by less than half the spacing of the
    // number type at its size leaves it where it was: the three runs then
    // share that error, and agree. It matters where the motion so lost, at
    // most the fastest rate over the whole time, is more than a converged
    // run may be off (a load that rounding alone stirs loses nothing). The
    // run with the largest step that froze, and in it the component that
    // moved least against its spacing.
    for (int k = 0; k < kRuns && rep.frozen.run < 0; ++k) {
        Real least = INFINITY;
        for (int j = 0; j < sim::state::kPositions; ++j) {
            const Real change = runs[k].maxRate[j] * Real(rep.h[k]), spacing = Real(rep.eps) * runs[k].minAbs[j];
            const double scale = j == sim::state::kAngle ? 2 * sim::Pi : started.p.R1;
            if (change > 0 && change < spacing / 2 && change / spacing < least &&
                runs[k].maxRate[j] * Real(rep.time) > Real(kConvergedError * scale))
                least = change / spacing, rep.frozen = {k, j, ToDouble(change), ToDouble(spacing)};
        }
    }

    const RunResult<Real>& r = runs[0];
    for (int k = 0; k < kLedgerRows; ++k) {
        const double size = ToDouble(r.maxSize.of[k]), deviation = ToDouble(r.maxDev[k]);
        const double floor = RoundingFloor(size, steps, rep.eps);
        double allowance = kLedgerFactor[k] * floor;
        // Momenta and the centre of mass are linear in the state, which any
        // Runge-Kutta method keeps exactly; angular momentum is quadratic and
        // is kept only to the truncation error. The part of its deviation
        // that shrinks with the step is that error, not physics: the run at
        // h/4 keeps at most a quarter of the error at h (the method is at
        // least of order 1), so 4/3 of the difference bounds it. Only a
        // converged comparison tells it, and never more than the error a
        // converged run may have.
        if (LedgerRow(k) == LedgerRow::kLz && rep.conv.converged)
            allowance += std::min(ToDouble(fabs(r.maxDev[k] - runs[2].maxDev[k])) * 4 / 3, kConvergedError * size);
        rep.ledger[k] = {deviation, floor, allowance, deviation <= allowance};
    }
    rep.maxAbsY0 = ToDouble(r.maxAbsY0);
    rep.maxAbsYc = ToDouble(r.maxDev[int(LedgerRow::kYc)]);
    rep.pyChange = ToDouble(r.pyChange);
    rep.fmrv = started.start.Fmrv;
    rep.ymrvEnd = ToDouble(r.ymrv);
    rep.totalMass = started.p.m0 + started.p.m1 + started.p.m1;

    // A constant force F on the system moves Yc by F t^2 / (2 M) from rest,
    // and Py by F t. Rounding moves each by at most its threshold either
    // way, so a force that moves both by twice their thresholds always ends
    // beyond them.
    rep.yThreshold = rep.ledger[int(LedgerRow::kYc)].allowance;
    const double byYc = sim::ForceForShift(2 * rep.yThreshold, rep.time, rep.totalMass);
    const double byPy = 2 * rep.ledger[int(LedgerRow::kPy)].allowance / rep.time;
    rep.detectionLimit = std::max(byYc, byPy);
    const double claim = std::fabs(rep.fmrv);
    rep.claimFactor = LimitKnown(rep.detectionLimit) ? claim / rep.detectionLimit : NAN;
    // The floor grows about as T^1.5 (the size as T, the rounding walk as
    // sqrt(T)), so the limit falls about as 1/sqrt(T); twice as long allows
    // for swings a longer run reaches that this one did not.
    const double shortfall = kClearlyAbove * rep.detectionLimit / claim;
    rep.timeToResolve = claim > 0 ? 2 * rep.time * shortfall * shortfall : INFINITY;
    rep.verdict = Judge(rep);
    if (!LimitMeaningful(rep.verdict)) rep.detectionLimit = rep.claimFactor = rep.timeToResolve = NAN;
    return rep;
}

}  // namespace

VerifyReport Verify(const sim::Model& started, long long steps, const ProgressFn& progress, bool atOnce,
                    double injectedForceY0, Precision precision) {
    return precision == Precision::kDouble ? VerifyIn<double>(started, steps, progress, atOnce, injectedForceY0)
                                           : VerifyIn<Extended>(started, steps, progress, atOnce, injectedForceY0);
}

bool RoundingDecides(Verdict verdict) {
    return verdict == Verdict::kBelowDetection || verdict == Verdict::kRoundingCreeps ||
           verdict == Verdict::kNoLimit || verdict == Verdict::kFrozenByRounding;
}

bool RoundingDecides(const VerifyReport& rep) {
    // Runs that do not converge only because rounding alone leaves the
    // state too uncertain are rounding's answer too.
    return RoundingDecides(rep.verdict) || (rep.verdict == Verdict::kNotConverged && rep.conv.stable &&
                                            rep.conv.stateFloor > kConvergedError);
}

VerifyReport VerifyChoosing(PrecisionChoice choice, const sim::Model& started, long long steps,
                            const ProgressFn& progress, bool atOnce, double injectedForceY0) {
    const Precision first = choice == PrecisionChoice::kExtended ? Precision::kExtended : Precision::kDouble;
    VerifyReport rep = Verify(started, steps, progress, atOnce, injectedForceY0, first);
    if (choice != PrecisionChoice::kAuto || !RoundingDecides(rep)) return rep;
    VerifyReport wide = Verify(started, steps, progress, atOnce, injectedForceY0, Precision::kExtended);
    wide.doubleVerdict = rep.verdict;
    return wide;
}

long long StepsToResolve(const VerifyReport& rep) {
    if (rep.verdict != Verdict::kBelowDetection) return 0;
    const double steps = std::ceil(rep.timeToResolve / rep.h[0]);
    const double budget = kBudgetStepsInAll[rep.precision == Precision::kDouble ? 0 : 1];
    if (!(kStepsInAllRuns * steps <= budget) || !StepsProblem(rep.h[0], steps).empty()) return 0;
    return static_cast<long long>(steps);
}

}  // namespace verify
