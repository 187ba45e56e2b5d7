// Verification of a run: whether the runs at h, h/2 and h/4 converge, a
// ledger of the quantities the equations conserve, and the verdict on the
// lateral force, all from the numbers themselves.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/model.h"

namespace verify {

// The conserved quantities of the ledger, in the order they are reported.
enum class LedgerRow { kPx, kPy, kLz, kYc };
inline constexpr int kLedgerRows = 4;
inline constexpr int kRuns = 3;  // at h, h/2 and h/4
// Steps the runs make in all for each step of the run at h: 1 + 2 + 4.
inline constexpr long long kStepsInAllRuns = (1LL << kRuns) - 1;

// The moments at which the runs are compared, and the main run is traced.
inline constexpr int kSamples = 400;

// Below this many rounding floors the error of the h/2 run is rounding, and
// an order measured from it means nothing.
inline constexpr double kOrderNoise = 16;

struct LedgerEntry {
    double maxDeviation{};  // largest |q(t) - q(0)| over the run at h
    double floor{};         // size * eps * sqrt(steps): what rounding alone gives
    double allowance{};     // the deviation that still holds (for Lz with the truncation error)
    bool holds{};           // maxDeviation <= allowance
};

// A deviation within this many floors is rounding. The floor bounds the
// rounding of a whole run from the sizes of the terms. Along Y there is only
// oscillation: over 1400 random runs Py and Yc stayed below a third of a
// floor, so 4 floors leave a margin of ten. Along X the translation carries
// V0 through every sum, and Px and Lz were seen up to 5 and 8 floors, so 64
// leave a margin of eight.
inline constexpr double kLedgerFactor[kLedgerRows] = {64, 4, 64, 4};

// The runs converge when the error at h, estimated against h/4 at every
// sampled moment of the run, is at most this fraction of the motion's own
// scale: the loads within a millimetre per metre of their distance from
// the disk, the disk angle within a thousandth of a turn, the energy within
// a thousandth of E0. Both presets at their own steps stay below 1E-5 over
// thousands of turns; RK4 at 100 steps a turn stays below it for about a
// thousand turns (it lags a turn by (2 Pi / 100)^5 / 120 a step), at 60
// steps a turn for about a hundred; a step that leaves the disk 30 steps a
// turn is above it within 30 turns. It is also the most that the truncation
// error may add to the allowance of Lz.
inline constexpr double kConvergedError = 1e-3;

// A force is reported only when it is at least this many times the detection
// limit, so that "no lateral force" never rests on a borderline case.
inline constexpr double kClearlyAbove = 2;

// RK4 keeps an oscillation at rate w stable only while w h < 2.8, a decay
// at rate k while k h < 2.8; the rates are estimated from above (see
// FastestRate), so a step must leave at least 2 Pi steps to the shortest
// period. A run beyond it may agree with itself only because nothing stirs
// the fastest motion - until a force does.
inline constexpr double kMostRateTimesStep = 1;
// The same margin for the damping's one-step lag (see LagStableStep): a
// step at most this fraction of the largest the lag keeps stable. Without
// damping the lag rule is the rule above (2.83 / 2.8 against 1).
inline constexpr double kStableStepMargin = 2.8;

// The three runs must have enough steps for an order to mean anything, and
// few enough (n + 2n + 4n in all) to finish within a couple of minutes.
inline constexpr long long kMinVerifySteps = 10;
inline constexpr long long kMaxVerifyStepsInAll = 200'000'000;
inline constexpr long long kMaxVerifySteps = kMaxVerifyStepsInAll / kStepsInAllRuns;  // of the run at h

// The answers of a verification. Each has its row in the runner's table of
// verdicts (its exit status and its words), in this order: a verdict without
// its row fails the build.
enum class Verdict {
    kNoLateralForce,    // Yc within its floor, and the claimed force would have shown
    kLateralForceActs,  // Yc or Py moved beyond its floor
    kLedgerBroken,      // Px or Lz off: the equations are not solved as they should be
    kNotConverged,      // h, h/2, h/4 disagree, or the step is unstable: nothing is claimed
    kFrozenByRounding,  // a coordinate or the disk angle moved by no more than its rounding at every step
    kRoundingCreeps,    // one of Yc, Py left its threshold, but not both as a force would move them
    kNoLimit,           // the detection limit is 0, infinite or not a number
    kBelowDetection,    // the claimed force is too small for this run to show
    kNothingClaimed,    // Fmrv is 0 (V0 or w0 is 0): no claim to resolve; no force above the limit acts
    kNoLimitNorClaim,   // Fmrv is 0, and the run has no detection limit either
    kRunFailed,         // a run stopped on an arithmetic error: no report
    kCount              // not a verdict: how many there are
};

// The number type a verification ran in: the window's double, or the wider
// type that a point double cannot tell runs again in.
enum class Precision { kDouble, kExtended };
// "double" or "extended", as the report, the table and the figure say it.
const char* PrecisionName(Precision precision);
// What a verification runs in: double, the wider type, or double first and
// the wider type where rounding decided double's answer (see RoundingDecides).
enum class PrecisionChoice { kDouble, kExtended, kAuto };

// Whether a verdict is one that rounding decides, so that the same inputs,
// h and time in a type with more digits may answer: a claim below the
// detection limit, Yc or Py alone beyond its threshold, no limit, a
// coordinate frozen by rounding. The other verdicts stand whatever the
// digits: a converged run's force or its broken ledger, a step too large,
// a claim of 0, a failed run.
bool RoundingDecides(Verdict verdict);

// A run that stopped on an arithmetic failure (an overflow, a division by
// zero, an invalid operation): which of the three, after how many of its
// steps, at which simulated time, and what failed, in words.
class RunFailure : public std::runtime_error {
public:
    RunFailure(int run, long long step, double time, std::string what);
    int run;          // 0, 1, 2: the run at h, h/2, h/4
    long long step;   // the step of that run that failed, from 1
    double time;      // the simulated time that run had reached [s]
    std::string what; // what failed
};

// One moment of the main run, for the picture of the answer.
struct TraceSample {
    double t{};        // simulated time [s]
    double absY0{};    // |Y| of the disk centre [m]
    double absYc{};    // |Y| of the centre of mass [m]
    double floorYc{};  // rounding floor of Yc up to this moment [m]
};

// How far the runs at h and h/2 are from the run at h/4, at the worst of
// the moments sampled over the run, in the motion's own scales, so that the
// errors of a run are comparable with any other's.
struct Convergence {
    double positionError[2] = {};  // max |X, Y - at h/4| over the bodies / R1
    double angleError[2] = {};     // |fi0 - at h/4| / (2 Pi)
    double energyError[2] = {};    // |E - E at h/4| / E0
    double stateError[2] = {};     // the larger of the position and angle errors
    double stateFloor{};           // what rounding alone gives the state error (see Verify)
    double stateOrder{};           // log2(stateError[0] / stateError[1])
    double energyOrder{};
    // The errors at h themselves, from the differences above and the order
    // they fall with (see ErrorAtH): a difference against h/4 shows only
    // 1 - 4^-p of the error at h.
    double stateEstimate{}, energyEstimate{};
    double stepsPerPeriod{};       // 2 Pi / (h * the fastest rate of the motion)
    double stableStep{};           // the largest h both stability rules allow [s]
    bool lagLimits{};              // the damping's lag, not the fastest rate, sets stableStep
    bool small{};                  // the estimated errors at h within kConvergedError
    bool stable{};                 // h within stableStep
    bool atRounding{};             // the state error at h/2 within a few floors
    bool converged{};
};

// A coordinate (X0..Y2) or the disk angle that a run's steps could not
// move: its fastest rate times h stayed below half the spacing of the
// number type at its smallest size, eps |value| / 2, while that rate over
// the run's time would move it by more than kConvergedError of its scale
// (R1, a turn).
struct Frozen {
    int run = -1;          // the run with the largest step that froze (0, 1, 2: h, h/2, h/4); -1: none did
    int component = -1;    // its place in StateY (sim::state)
    double change{};       // the largest |rate| * step of that run [m or rad]
    double spacing{};      // eps times the smallest |value| over that run [m or rad]
};

struct VerifyReport {
    // The unit roundoff of the number type the runs ran in: every rounding
    // floor, threshold and the rule of a frozen run is a multiple of it.
    double eps{};
    double time{};               // simulated time of each run, steps[k] * h[k] [s]
    double h[kRuns] = {};        // h, h/2, h/4
    long long steps[kRuns] = {}; // n, 2n, 4n
    bool damped{};               // KR or KT non-zero
    Convergence conv;
    LedgerEntry ledger[kLedgerRows] = {};
    double maxAbsY0{}, maxAbsYc{};
    double pyChange{};        // Py(end) - Py(0) of the main run: F * t for a constant force [kg*m/s]
    double fmrv{};            // the claimed lateral force [N]
    double ymrvEnd{};         // where it would have moved the system by the end [m]
    double totalMass{};       // m0 + m1 + m2 [kg]
    double yThreshold{};      // the floors of Yc beyond which a force acts [m]
    // Smallest lateral force this run is sure to show in Yc and Py [N]; not
    // a number where the runs did not converge, froze or broke the ledger,
    // since then no threshold means anything.
    double detectionLimit{};
    double claimFactor{};     // |Fmrv| / detectionLimit; not a number without a limit
    double timeToResolve{};   // a run this long would show the claimed force [s]
    Frozen frozen;
    Verdict verdict = Verdict::kBelowDetection;
    Precision precision = Precision::kDouble;  // the number type that gave this report
    // Where double could not tell and the wider type answered instead (the
    // choice kAuto): double's verdict; nothing where double's answer stood.
    std::optional<Verdict> doubleVerdict;
    // The time the verification was first asked for, where it ran again
    // longer to resolve the claim (see StepsToResolve); 0 where it was not.
    double lengthenedFrom{};
    std::vector<TraceSample> trace;  // the main run, at most a few hundred moments
};

// Whether the runs converge: a stable step, small errors at h, and either
// the order of the method or errors at h/2 that rounding alone explains.
bool Converged(const Convergence& c, bool damped);

// The error at h from d0 = |y(h) - y(h/4)| and d1 = |y(h/2) - y(h/4)|.
// With e(h) = C h^p, d0 = e(h) (1 - 4^-p) and d0 / d1 = 2^p + 1, so
// e(h) = d0 / (1 - 4^-p), with p as observed but no higher than RK4's 4.
// Where the errors mix two orders, `lowest` and 4 (the damping's lag and
// RK4), a single observed p makes it low; the two sizes that give d0 and
// d1 give it instead, and the larger of the two estimates is taken. Where
// the errors do not fall (p <= 0), or d1 is rounding (atRounding), the run
// at h/4 is at most 2 d1 off (a truncation error at h/2 shows at least
// half of itself in d1) and e(h) <= d0 + 2 d1.
double ErrorAtH(double d0, double d1, bool atRounding, double lowest);
// The orders in the errors of a run: RK4's 4, and 1 where the damping
// lags a step.
inline constexpr double kMethodOrder = 4, kLagOrder = 1;

// The largest step that keeps RK4 stable on x'' = -w^2 x - c v, where v is
// the backward difference of x over the last step, as the damping speeds
// VR and VT are: the first step, from 0 up, at which the one-step map of
// (x, v, x of the step before) has a spectral radius above 1 [s].
// 2.83 / w without damping, 2 / c without stiffness; infinite when w and c
// are 0.
double LagStableStep(double w, double c);

// The largest step both rules allow [s]: kMostRateTimesStep over the
// fastest rate, and each damped element's lag-stable step over
// kStableStepMargin (radial at the swing of R in the turning frame,
// torsional at the rates of FastestRate); infinite when nothing moves.
// lagLimits, if given, tells whether the lag set it.
double StableStep(const sim::Model& started, bool* lagLimits = nullptr);

// The fastest rate of the started motion [1/s]: the swings of a load
// against the disk on its radial and its torsional element (the first
// always faster than the disk's turn), the rates at which the damping acts. Each is estimated from
// above: the disk takes the pull of both loads, so it counts twice against
// one. 0 when nothing turns, swings or damps.
double FastestRate(const sim::Model& started);

// Why the inputs are not a physical disk with loads (a mass or a radius not
// positive, a stiffness or a damping negative), or empty.
std::string Unphysical(const sim::Parameters& inputs);

// A limit is an answer only when it is a positive force that keeps all its
// digits (a normal double).
bool LimitKnown(double detectionLimit);

// Whether a verdict rests on runs whose thresholds mean anything (converged,
// moving, keeping the ledger), so that their detection limit is one.
bool LimitMeaningful(Verdict verdict);

// The verdict from the convergence, the ledger and the claim: a frozen run
// first, then no convergence, then a force along Y (Yc and Py both beyond their
// thresholds), then the rest of the ledger, then one of Yc and Py alone,
// then whether a limit exists and a force is claimed at all, then whether
// the claim is clearly above the limit. (A run that fails has no report:
// kRunFailed is the sweep's, for a point whose Verify raised.)
Verdict Judge(const VerifyReport& rep);

// Steps of h nearest to the time, as a double: it may be far beyond any
// count a run can make, or not a number.
double VerifySteps(double time, double h);

// Why a verification cannot make `steps` steps of h, or empty: a step below
// the smallest normal double, fewer steps than an order needs, or more than
// the three runs may make.
std::string StepsProblem(double h, double steps);

// Called now and then with the fraction of the work done (0 to 1).
using ProgressFn = std::function<void(double)>;

// Runs the started model for n steps of its h, 2n of h/2 and 4n of h/4,
// the three at once on threads of their own or one after another; the
// report is the same to the last bit either way. Raises
// sim::ArithmeticError when a run fails. progress is called on the calling
// thread only. injectedForceY0 is a constant force along +Y on the disk
// that the equations do not have [N]: the self-test's, to show what a real
// lateral force does to the ledger. In the wider type the runs start anew
// from the started model's inputs and twist, in that type; the report is
// in doubles either way.
VerifyReport Verify(const sim::Model& started, long long steps, const ProgressFn& progress = {},
                    bool atOnce = true, double injectedForceY0 = 0, Precision precision = Precision::kDouble);

// The same of a report: also runs that did not converge only because
// rounding alone leaves their state too uncertain.
bool RoundingDecides(const VerifyReport& rep);

// Verify in the chosen precision; kAuto runs double, and where rounding
// decided its verdict, the wider type with the same inputs, h and time,
// whose report then answers (with doubleVerdict set).
VerifyReport VerifyChoosing(PrecisionChoice choice, const sim::Model& started, long long steps,
                            const ProgressFn& progress = {}, bool atOnce = true, double injectedForceY0 = 0);

// What a verification at the runner's default time may cost to resolve
// the claim: steps of the three runs in all, about ten seconds of one
// core's time (the runs share two cores, so less on the clock). Measured
// with their ledger and samples (bench_verify, BM_VerifyPrecision, on a
// shared machine): 1.7E+06 steps a second in double, 2.5E+04 in the wider
// type, 67 times slower.
inline constexpr double kBudgetStepsInAll[2] = {1.7e7, 2.5e5};

// The steps of h a verification as long as rep.timeToResolve makes, where
// its claim was below the detection limit and that run fits the budget of
// rep's precision and the steps a verification may make; 0 otherwise.
long long StepsToResolve(const VerifyReport& rep);

}  // namespace verify
