// Verification of a run: the observed order of the integrator, a ledger of
// the quantities the equations conserve, and the verdict on the lateral
// force, all from the numbers themselves.
#pragma once

#include <string>

#include "sim/model.h"

namespace app {

struct LedgerEntry {
    const char* name;
    double maxDeviation;  // largest |q(t) - q(0)| over the run at h
    double floor;         // size * eps * sqrt(steps): what rounding alone gives
                          // (for Lz plus the truncation error, see Verify)
    bool holds;           // maxDeviation <= kLedgerFactor * floor
};

// Rounding in a step is many operations, each within half an ulp, and their
// sum walks rather than cancels: a deviation within this many floors is
// still rounding.
inline constexpr double kLedgerFactor = 64;

struct VerifyReport {
    double time = 0;          // simulated time of each run [s]
    double h[3] = {};         // h, h/2, h/4
    long long steps[3] = {};
    bool damped = false;      // KR or KT non-zero
    double stateError[2] = {};   // max |state - state(h/4)| over positions and angle
    double energyError[2] = {};  // |E - E(h/4)| / E0
    double stateFloor = 0;       // rounding alone: |state| * eps * sqrt(steps)
    double stateOrder = 0;       // log2(e(h) / e(h/2))
    double energyOrder = 0;
    LedgerEntry ledger[4] = {};  // Px, Py, Lz, Yc
    double maxAbsY0 = 0, maxAbsYc = 0, ymrvEnd = 0;
    bool ledgerHolds = false;
    bool noLateralForce = false;  // max|Yc| within its rounding floor
};

// Runs the started record to `time` at h, h/2 and h/4. Raises
// sim::ArithmeticError when a run fails.
VerifyReport Verify(const sim::Model& started, double time);

}  // namespace app
