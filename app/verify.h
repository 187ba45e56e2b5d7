// Verification of a run: the observed order of the integrator, a ledger of
// the quantities the equations conserve, and the verdict on the lateral
// force, all from the numbers themselves.
#pragma once

#include <functional>
#include <vector>

#include "sim/model.h"

namespace app {

// The conserved quantities of the ledger, in the order they are reported.
enum class LedgerRow { kPx, kPy, kLz, kYc };
inline constexpr int kLedgerRows = 4;

struct LedgerEntry {
    double maxDeviation{};  // largest |q(t) - q(0)| over the run at h
    double floor{};         // size * eps * sqrt(steps): what rounding alone gives
                            // (for Lz plus the truncation error, see Verify)
    bool holds{};           // maxDeviation <= kLedgerFactor[row] * floor
};

// A deviation within this many floors is rounding. The floor bounds the
// rounding of a whole run from the sizes of the terms. Along Y there is only
// oscillation: over 1400 random runs Py and Yc stayed below a third of a
// floor, so 4 floors leave a margin of ten. Along X the translation carries
// V0 through every sum, and Px and Lz were seen up to 5 and 8 floors, so 64
// leave a margin of eight.
inline constexpr double kLedgerFactor[kLedgerRows] = {64, 4, 64, 4};

// A force is reported only when it is at least this many times the detection
// limit, so that "no lateral force" never rests on a borderline case.
inline constexpr double kClearlyAbove = 2;

// The three runs must have enough steps for an order to mean anything, and
// few enough (7 n in all) to finish within a couple of minutes.
inline constexpr long long kMinVerifySteps = 10;
inline constexpr long long kMaxVerifyStepsInAll = 200'000'000;

enum class Verdict {
    kNoLateralForce,    // Yc within its floor, and the claimed force would have shown
    kLateralForceActs,  // Yc or Py moved beyond its floor
    kLedgerBroken,      // Px or Lz off: the equations are not solved as they should be
    kNotConverged,      // h, h/2, h/4 disagree far above rounding: nothing is claimed
    kBelowDetection,    // the claimed force is too small for this run to show
};

// One moment of the main run, for the picture of the answer.
struct TraceSample {
    double t{};        // simulated time [s]
    double absY0{};    // |Y| of the disk centre [m]
    double absYc{};    // |Y| of the centre of mass [m]
    double floorYc{};  // rounding floor of Yc up to this moment [m]
};

struct VerifyReport {
    double time{};               // simulated time of each run, steps[k] * h[k] [s]
    double h[3] = {};            // h, h/2, h/4
    long long steps[3] = {};     // n, 2n, 4n
    bool damped{};               // KR or KT non-zero
    double stateError[2] = {};   // max |state - state(h/4)| over positions and angle
    double energyError[2] = {};  // |E - E(h/4)| / E0
    double stateFloor{};         // rounding alone: |state| * eps * steps (see Verify)
    double stateOrder{};         // log2(e(h) / e(h/2))
    double energyOrder{};
    bool atRounding{};           // e(h/2) within a few floors: the order means nothing
    LedgerEntry ledger[kLedgerRows] = {};
    double maxAbsY0{}, maxAbsYc{};
    double pyChange{};        // Py(end) - Py(0) of the main run: F * t for a constant force [kg*m/s]
    double fmrv{};            // the claimed lateral force [N]
    double ymrvEnd{};         // where it would have moved the system by the end [m]
    double totalMass{};       // m0 + m1 + m2 [kg]
    double yThreshold{};      // the floors of Yc beyond which a force acts [m]
    double detectionLimit{};  // smallest lateral force this run is sure to show [N]
    double claimFactor{};     // |Fmrv| / detectionLimit
    double timeToResolve{};   // a run this long would show the claimed force [s]
    Verdict verdict = Verdict::kBelowDetection;
    std::vector<TraceSample> trace;  // the main run, at most a few hundred moments
};

// The verdict from the orders, the ledger and the claim: no convergence
// first, then a force along Y, then the rest of the ledger, then whether the
// claim is clearly above what the run resolves.
Verdict Judge(const VerifyReport& rep);

// Steps of h nearest to the time; the runs use exactly this many.
long long VerifySteps(double time, double h);

// Called now and then with the fraction of the work done (0 to 1).
using ProgressFn = std::function<void(double)>;

// Runs the started record for n steps of h, 2n of h/2 and 4n of h/4.
// Raises sim::ArithmeticError when a run fails.
VerifyReport Verify(const sim::Model& started, long long steps, const ProgressFn& progress = {});

}  // namespace app
