// The verifier's answer: runs from converged to diverged get the verdict
// their errors call for, a force at or above the detection limit it prints
// is never called "no lateral force", a run that does not converge never
// gets a verdict on the force, and a run without a limit says so.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "sim/arith.h"
#include "sim/dynamics.h"
#include "verify/verify.h"
#include "app/fields.h"
#include "tests/support.h"

namespace {

using app::Field, verify::Verdict;
using testing_support::Started, testing_support::Typed;

struct Row {
    const char* name;
    int preset;
    Typed typed;
    const char* twist;
    long long steps;
    Verdict verdict;
};

// Preset 1 turns its loads rigidly at w = 20 rad/s; RK4 lags a rigid turn by
// (w h)^5 / 120 per step, so after n steps the loads are n (w h)^5 / 120 of
// their distance off (and the disk angle that over 2 Pi): 1000 steps of
// 0.01 s are 2.7E-03 off, over the 1E-03 a converged run may have, 2000 of
// 0.005 s 1.7E-04, 20000 of them 1.7E-03. Damping lags the motion by a step
// (order 1, about h T in all); a twist through -0.9 rad jumps a turn, which
// no step size smooths (order below 3 however small the error). Preset 2
// turns at 2E+05 rad/s: 300 steps of 1E-06 s are 8E-04 off.
const Row kRows[] = {
    {"undamped, 1 s at 0.002", 1, {{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,002"}}, nullptr, 500,
     Verdict::kBelowDetection},
    {"undamped, 10 s at 0.005: the claim resolved", 1, {{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,005"}},
     nullptr, 2000, Verdict::kNoLateralForce},
    {"undamped, step rising: 10 s at 0.01", 1, {{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,01"}}, nullptr,
     1000, Verdict::kNotConverged},
    {"undamped, time rising: 100 s at 0.005", 1, {{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,005"}},
     nullptr, 20000, Verdict::kNotConverged},
    {"undamped, clockwise, twisted, 10 s at 0.002", 1,
     {{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,002"}, {Field::W0, "-20"}}, "0,2", 5000,
     Verdict::kBelowDetection},
    {"undamped, clockwise, 10 s at 0.04", 1,
     {{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,04"}, {Field::W0, "-20"}}, nullptr, 250,
     Verdict::kNotConverged},
    {"undamped, 10 s at 0.08: the disk runs away", 1, {{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,08"}},
     nullptr, 125, Verdict::kNotConverged},
    {"twist through the wrap", 1, {{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,0005"}}, "0,95", 2000,
     Verdict::kNotConverged},
    {"damped, twisted, 10 s at 0.001", 1, {{Field::Step, "0,001"}}, "0,2", 10000, Verdict::kBelowDetection},
    {"damped, clockwise, twisted, 10 s at 0.001", 1, {{Field::Step, "0,001"}, {Field::W0, "-20"}}, "0,2", 10000,
     Verdict::kBelowDetection},
    {"damped, twisted, 10 s at 0.01", 1, {{Field::Step, "0,01"}}, "0,2", 1000, Verdict::kNotConverged},
    // KR = 10 at 0.04 s: 7.2 steps a swing keep RK4 stable, but not with the
    // damping a step behind; the run at h ends 6E+11 off.
    {"damped, 40 s at 0.04: the lag unstable", 1, {{Field::KR, "10"}, {Field::Step, "0,04"}}, nullptr, 1000,
     Verdict::kNotConverged},
    {"preset 1 at its step: errors at rounding", 1, {}, nullptr, 1000, Verdict::kBelowDetection},
    {"preset 2 at its step", 2, {}, nullptr, 10000, Verdict::kNoLateralForce},
    {"preset 2 clockwise", 2, {{Field::W0, "-200000"}}, nullptr, 10000, Verdict::kNoLateralForce},
    {"preset 2 at 1E-06", 2, {{Field::Step, "1E-06"}}, nullptr, 300, Verdict::kNoLateralForce},
    {"preset 2 at 2E-06", 2, {{Field::Step, "2E-06"}}, nullptr, 300, Verdict::kNotConverged},
    // A light disk against a stiff torsional element swings 1.7E+06 times a
    // second: 3.8 steps a swing leave RK4 unstable; so are 2.3 steps a swing
    // of a light disk pushed sideways by a stiff, damped one, though nothing
    // stirs it until a force would.
    {"a light disk's fast swing", 1,
     {{Field::M0, "0,0263"}, {Field::M1, "5,84E-05"}, {Field::R0, "0,156"}, {Field::R1, "978"}, {Field::V0, "2350"},
      {Field::W0, "-89,4"}, {Field::CT, "4,45E+08"}, {Field::KR, "0"}, {Field::KT, "120"}, {Field::Step, "1E-06"}},
     "-0,779", 20000, Verdict::kNotConverged},
    {"a light disk pushed sideways", 1,
     {{Field::M0, "0,00195"}, {Field::M1, "2,73E+05"}, {Field::R0, "731"}, {Field::R1, "0,00691"},
      {Field::V0, "-6,27E+06"}, {Field::W0, "1,01E+04"}, {Field::CT, "1,2E+12"}, {Field::KR, "0"},
      {Field::KT, "9,28E+04"}, {Field::Step, "1,37E-12"}},
     nullptr, 988, Verdict::kNotConverged},
    // A disk of 10 mg twisting two 1 kg loads: the loads' ordinates creep by
    // rounding, the same way step after step, but their momentum does not:
    // no force moves one without the other.
    {"rounding that creeps", 1,
     {{Field::M0, "1E-05"}, {Field::R0, "0,003"}, {Field::V0, "0"}, {Field::W0, "0"}, {Field::CT, "1E+04"},
      {Field::KR, "0"}, {Field::KT, "0,000891"}, {Field::Step, "1E-09"}},
     "0,5", 100000, Verdict::kRoundingCreeps},
    // Near 1E+17 rad the doubles are 16 apart: 2E-03 rad a step never moves
    // the disk angle, in any of the three runs.
    {"a disk angle rounding freezes", 1,
     {{Field::V0, "100000"}, {Field::W0, "2000"}, {Field::CT, "10000"}, {Field::KR, "0"}, {Field::KT, "0"},
      {Field::Step, "1E-06"}}, "1E+17", 10000, Verdict::kFrozenByRounding},
    // Nothing moves along Y: rounding sets no threshold, so no limit; and
    // a disk that does not turn claims no force.
    {"a disk that does not turn", 1, {{Field::W0, "0"}}, nullptr, 1000, Verdict::kNoLimitNorClaim},
    // t^2 underflows: the limit is infinite.
    {"a time whose square underflows", 1, {{Field::Step, "1E-200"}}, nullptr, 100, Verdict::kNoLimit},
};

TEST(Verify, RunsFromConvergedToDivergedGetTheirVerdicts) {
    for (const Row& row : kRows) {
        const sim::Model started = Started(row.preset, row.typed, row.twist).model;
        const verify::VerifyReport rep = verify::Verify(started, row.steps);
        EXPECT_EQ(rep.verdict, row.verdict) << row.name;
        // A frozen angle of 1E+17 rad leaves rounding alone more than a converged run may have.
        // The error at h is at least its difference against h/4: the run at
        // h/4 has an error of its own, never one that cancels it.
        EXPECT_GE(rep.conv.stateEstimate, rep.conv.stateError[0]) << row.name;
        EXPECT_GE(rep.conv.energyEstimate, rep.conv.energyError[0]) << row.name;
        if (row.verdict != Verdict::kFrozenByRounding) {
            EXPECT_EQ(rep.conv.converged, row.verdict != Verdict::kNotConverged) << row.name;
        }
        // Three runs of n, 2n and 4n steps end at n h, whatever the rounding
        // of T, a running sum of h.
        EXPECT_TRUE(rep.steps[2] == 4 * row.steps && rep.h[2] * 4 == rep.h[0] && rep.time == row.steps * started.p.h)
            << row.name;
        EXPECT_NEAR(rep.trace.back().t, rep.time, 1e-9 * rep.time) << row.name;
        // A force F moves Yc by F t^2 / 2M and Py by F t exactly (RK4 keeps
        // linear invariants): injected at the printed limit or more, either
        // way, it must be found where the runs converge, and its size read
        // from the momentum. Where they do not, or froze, there is no limit
        // and nothing is claimed, force (of the claim's size) or none.
        const bool answers = verify::LimitMeaningful(row.verdict);
        EXPECT_TRUE(answers || (std::isnan(rep.detectionLimit) && std::isnan(rep.claimFactor))) << row.name;
        for (double factor : {1.0, 1.5, 2.0, -1.0}) {
            if (row.verdict == Verdict::kNoLimit || row.verdict == Verdict::kNoLimitNorClaim ||
                row.verdict == Verdict::kRoundingCreeps)
                break;
            const double force = factor * (answers ? rep.detectionLimit : std::fabs(rep.fmrv));
            const verify::VerifyReport with = verify::Verify(started, row.steps, {}, true, force);
            const char* why = row.name;
            if (!answers) {
                EXPECT_EQ(with.verdict, row.verdict) << why << " x" << factor;
                continue;
            }
            EXPECT_EQ(with.verdict, Verdict::kLateralForceActs) << why << " x" << factor;
            EXPECT_NEAR(with.pyChange / with.time, force, 0.3 * std::fabs(force)) << why;
        }
        if (row.verdict != Verdict::kBelowDetection) continue;
        // A run of the time named resolves the claim.
        EXPECT_LT(rep.claimFactor, verify::kClearlyAbove) << row.name;
        const double n = verify::VerifySteps(rep.timeToResolve, started.p.h);
        if (n > 20000) continue;
        EXPECT_EQ(verify::Verify(started, static_cast<long long>(n)).verdict, Verdict::kNoLateralForce) << row.name;
    }
}

// Rounding decides these verdicts, and a type with more digits may answer
// them; the others stand whatever the digits.
constexpr Verdict kRoundingDecides[] = {Verdict::kFrozenByRounding, Verdict::kRoundingCreeps, Verdict::kNoLimit,
                                        Verdict::kBelowDetection};

TEST(Verify, AutoRunsAgainInExtendedExactlyWhereRoundingDecided) {
    for (int v = 0; v < int(Verdict::kCount); ++v)
        EXPECT_EQ(verify::RoundingDecides(Verdict(v)), std::ranges::count(kRoundingDecides, Verdict(v)) == 1) << v;
    // A flight of 1E+17 m/s: the loads' offsets keep no digits in double, and
    // its three runs agree only in their wreck; binary128 follows them.
    const sim::Model far = Started(1, {{Field::V0, "1E+17"}}, nullptr).model;
    const verify::VerifyReport wreck = verify::Verify(far, 1000);
    EXPECT_EQ(wreck.verdict, Verdict::kNotConverged);
    EXPECT_TRUE(verify::RoundingDecides(wreck));
    EXPECT_EQ(verify::VerifyChoosing(verify::PrecisionChoice::kAuto, far, 1000).verdict, Verdict::kNoLateralForce);
    for (const Row& row : kRows) {
        if (row.steps > 5000) continue;  // binary128 is some 70 times slower
        const sim::Model started = Started(row.preset, row.typed, row.twist).model;
        const verify::VerifyReport rep = verify::VerifyChoosing(verify::PrecisionChoice::kAuto, started, row.steps);
        const bool again = verify::RoundingDecides(row.verdict);
        EXPECT_EQ(rep.precision, again ? verify::Precision::kExtended : verify::Precision::kDouble) << row.name;
        EXPECT_EQ(rep.doubleVerdict.value_or(rep.verdict), row.verdict) << row.name;
        EXPECT_EQ(rep.doubleVerdict.has_value(), again) << row.name;
        // Converged runs of the wider type find a force at its own printed
        // limit as double's do at theirs.
        if (!again || !verify::LimitKnown(rep.detectionLimit) || row.steps > 1000) continue;
        for (double factor : {1.0, 1.5, 2.0})
            EXPECT_EQ(verify::Verify(started, row.steps, {}, true, factor * rep.detectionLimit, rep.precision).verdict,
                      Verdict::kLateralForceActs)
                << row.name << " x" << factor;
    }
}

TEST(Verify, TheWiderTypesRoundingIsMeasuredManyDecadesBelowDoubles) {
    // Preset 1 is symmetric about the X axis: all of Y0 and Yc is rounding.
    // binary128's unit roundoff is 2^-112 against 2^-52: 18 decades.
    const sim::Model started = Started(1, {}, nullptr).model;
    const verify::VerifyReport d = verify::Verify(started, 1000, {}, true, 0, verify::Precision::kDouble);
    const verify::VerifyReport e = verify::Verify(started, 1000, {}, true, 0, verify::Precision::kExtended);
    EXPECT_EQ(e.eps, std::ldexp(1.0, -112));
    EXPECT_GT(d.maxAbsYc, 0);
    EXPECT_GT(d.maxAbsY0, 0);
    EXPECT_LT(e.maxAbsYc, 1e-15 * d.maxAbsYc);
    EXPECT_LT(e.maxAbsY0, 1e-15 * d.maxAbsY0);
    EXPECT_LT(e.yThreshold, 1e-15 * d.yThreshold);
    EXPECT_EQ(d.verdict, Verdict::kBelowDetection);
    EXPECT_EQ(e.verdict, Verdict::kNoLateralForce);
}

TEST(Verify, TheDefaultTimeLengthensOnlyBelowDetectionWithinItsTypesBudget) {
    using verify::Precision;
    // A tenth within or beyond each type's budget of steps in the three runs.
    auto steps = [](Precision p, double f) {
        return std::floor(f * verify::kBudgetStepsInAll[p == Precision::kDouble ? 0 : 1] / verify::kStepsInAllRuns);
    };
    const struct {
        Precision precision;
        double steps;
        Verdict verdict;
        bool lengthens;
    } kCases[] = {
        {Precision::kDouble, steps(Precision::kDouble, 0.9), Verdict::kBelowDetection, true},
        {Precision::kDouble, steps(Precision::kDouble, 1.1), Verdict::kBelowDetection, false},
        {Precision::kExtended, steps(Precision::kExtended, 0.9), Verdict::kBelowDetection, true},
        {Precision::kExtended, steps(Precision::kExtended, 1.1), Verdict::kBelowDetection, false},
        {Precision::kDouble, 1000, Verdict::kNoLimit, false},
        {Precision::kDouble, 1000, Verdict::kRoundingCreeps, false},
        {Precision::kDouble, 5, Verdict::kBelowDetection, false},  // fewer than an order needs
    };
    for (const auto& c : kCases) {
        verify::VerifyReport rep;
        rep.precision = c.precision;
        rep.verdict = c.verdict;
        rep.h[0] = 0.5;
        rep.timeToResolve = c.steps * 0.5 - 0.1;  // up to the next whole step
        EXPECT_EQ(verify::StepsToResolve(rep), c.lengthens ? static_cast<long long>(c.steps) : 0) << c.steps;
    }
}

TEST(Verify, ConvergedNeedsAStableStepSmallErrorsAndTheOrderOrRounding) {
    // A stable step; errors at h within the tolerance; the error at h/2 at
    // rounding; the observed order; damped.
    struct Case { bool stable, small, atRounding; double order; bool damped, converged; };
    const Case cases[] = {
        {true, true, false, 4.1, false, true},
        {true, true, false, 2.9, false, false},  // RK4 falls short of 3
        {true, true, false, 6.1, false, false},
        {true, true, false, 1.3, true, true},    // damping lags: about 1.58
        {true, true, false, 1.1, true, false},
        {true, true, false, 2.9, true, true},
        {true, true, false, 3, false, true},     // the bounds themselves are the method's order
        {true, true, false, 6, false, true},
        {true, true, false, 1.2, true, true},
        {true, true, true, -3, false, true},     // at rounding the order means nothing
        {true, true, true, NAN, true, true},
        {true, false, true, 4.1, false, false},  // rounding excuses no large error
        {true, false, false, 4.1, false, false},
        {false, true, true, 4.1, false, false},  // nothing stirred the unstable motion
    };
    for (const Case& c : cases) {
        verify::Convergence conv;
        conv.stable = c.stable, conv.small = c.small, conv.atRounding = c.atRounding, conv.stateOrder = c.order;
        EXPECT_EQ(verify::Converged(conv, c.damped), c.converged) << &c - cases;
    }
}

TEST(Verify, JudgeTakesConvergenceThenYThenTheLedgerThenOneOfYThenTheLimitThenTheClaim) {
    // Whether the runs converge; which of Px Py Lz Yc hold; the limit; the claim.
    struct Case { bool converged, px, py, lz, yc; double limit, claimFactor; Verdict verdict; };
    const Case cases[] = {
        {true, true, true, true, true, 1e-12, 2.0, Verdict::kNoLateralForce},
        {true, true, true, true, true, 1e-12, 1.99, Verdict::kBelowDetection},
        {false, true, true, true, true, 1e-12, 5, Verdict::kNotConverged},
        {false, false, false, false, false, 1e-12, 5, Verdict::kNotConverged},  // nothing claimed
        {true, true, false, true, false, 1e-12, 5, Verdict::kLateralForceActs},  // Yc and Py both
        {true, false, false, false, false, 1e-12, 5, Verdict::kLateralForceActs},  // Y first
        {true, true, true, true, false, 1e-12, 5, Verdict::kRoundingCreeps},  // Yc alone
        {true, true, false, true, true, 1e-12, 0, Verdict::kRoundingCreeps},   // Py alone
        {true, false, false, true, true, 1e-12, 5, Verdict::kLedgerBroken},   // the ledger before one of Y
        {true, false, true, true, true, 1e-12, 5, Verdict::kLedgerBroken},
        {true, true, true, false, true, 1e-12, 5, Verdict::kLedgerBroken},
        {true, true, false, true, false, 0, NAN, Verdict::kLateralForceActs},  // a force needs no limit
        {true, true, true, true, false, 0, NAN, Verdict::kRoundingCreeps},
        {true, true, true, true, true, 0, NAN, Verdict::kNoLimit},
        {true, true, true, true, true, INFINITY, NAN, Verdict::kNoLimit},
        {true, true, true, true, true, NAN, NAN, Verdict::kNoLimit},
        {true, true, true, true, true, -1e-12, 5, Verdict::kNoLimit},
        {true, true, true, true, true, 1e-310, 5, Verdict::kNoLimit},  // below the normal doubles
        {true, true, true, true, true, 2.3e-308, 5, Verdict::kNoLateralForce},
    };
    for (const Case& c : cases) {
        verify::VerifyReport rep;
        rep.conv.converged = c.converged, rep.detectionLimit = c.limit, rep.claimFactor = c.claimFactor;
        rep.fmrv = -1e-12;  // a force is claimed
        const bool holds[] = {c.px, c.py, c.lz, c.yc};
        for (int k = 0; k < verify::kLedgerRows; ++k) rep.ledger[k].holds = holds[k];
        EXPECT_EQ(verify::Judge(rep), c.verdict) << &c - cases;
        // Without a claim (V0 or w0 is 0) there is nothing to resolve, but
        // everything before the claim is judged as before.
        rep.fmrv = 0;
        Verdict unclaimed = c.verdict;
        if (c.verdict == Verdict::kNoLimit) unclaimed = Verdict::kNoLimitNorClaim;
        if (c.verdict == Verdict::kNoLateralForce || c.verdict == Verdict::kBelowDetection)
            unclaimed = Verdict::kNothingClaimed;
        EXPECT_EQ(verify::Judge(rep), unclaimed) << &c - cases;
        // Runs that a step cannot move agree whatever they show: frozen first.
        rep.frozen.run = 2;
        EXPECT_EQ(verify::Judge(rep), Verdict::kFrozenByRounding) << &c - cases;
    }
}

TEST(Verify, ARunFreezesWhereTheMotionItCannotMakeIsMoreThanAConvergedRunMayMiss) {
    // Near 1E+17 rad no step of 2E-06 rad moves the disk angle; over 3000
    // steps of 1E-06 s it would turn 6E-03 rad, within the thousandth of a
    // turn a converged run may miss, over 4000 8E-03 rad, beyond it.
    const sim::Model started = Started(1, {{Field::V0, "0"}, {Field::W0, "2"}, {Field::KR, "0"}, {Field::KT, "0"},
                                           {Field::Step, "1E-06"}}, "1E+17").model;
    for (long long steps : {3000, 4000}) {
        const verify::Frozen f = verify::Verify(started, steps).frozen;
        EXPECT_EQ(f.run, steps == 4000 ? 0 : -1) << steps;
        EXPECT_EQ(f.component, steps == 4000 ? sim::state::kAngle : -1) << steps;
    }
}

TEST(Verify, TheErrorAtHIsNeverBelowItsDistanceFromARunAtH64) {
    // Against h/4 a first-order error shows only 3/4 of itself, a
    // fourth-order one 255/256; where orders mix (the damping's lag and
    // RK4), the lowest counts. The error at h, max over the moments the
    // runs are compared at, against a run at h/64.
    struct Case { Typed typed; const char* twist; long long steps; };
    const Case cases[] = {
        {{{Field::Step, "0,001"}}, "0,2", 10000},       // damped: order 1
        {{{Field::Step, "0,005"}}, "0,2", 2000},        // damped, mixed orders
        {{{Field::KR, "0"}, {Field::Step, "0,005"}}, "0,2", 3000},
        {{{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,005"}}, nullptr, 2000},  // RK4: order 4
        {{{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,004"}, {Field::W0, "-20"}}, "0,2", 5000},
    };
    for (const Case& c : cases) {
        const sim::Model started = Started(1, c.typed, c.twist).model;
        const verify::VerifyReport rep = verify::Verify(started, c.steps);
        sim::Model coarse = started, fine = started;
        fine.p.h = started.p.h / 64;
        const long long every = std::max<long long>(1, c.steps / verify::kSamples);
        double error = 0;
        for (long long i = 1; i <= c.steps; ++i) {
            sim::Step(coarse);
            for (int k = 0; k < 64; ++k) sim::Step(fine);
            if (i % every != 0 && i != c.steps) continue;
            for (int k = 0; k < sim::state::kPositions; ++k)
                error = std::max(error, std::fabs(coarse.s.StateY[k] - fine.s.StateY[k]) /
                                            (k == sim::state::kAngle ? 2 * sim::Pi : started.p.R1));
        }
        EXPECT_TRUE(rep.conv.converged && !rep.conv.atRounding) << &c - cases;
        EXPECT_GE(rep.conv.stateEstimate, error) << &c - cases;
        EXPECT_LT(rep.conv.stateEstimate, 1.4 * error) << &c - cases;
    }
    // An error h + h^4 at h = 1 shows 3/4 + 255/256 against h/4, and 1/4 +
    // 15/256 against h/2 at h/4. Errors that do not fall, or fall to
    // rounding at h/2: the run at h/4 is off by at most twice the
    // difference at h/2.
    EXPECT_NEAR(verify::ErrorAtH(0.75 + 255 / 256., 0.25 + 15 / 256., false, verify::kLagOrder), 2, 1e-12);
    // Errors that fall by 2^p = 1.2 from h/2: d0 shows 1 - 1/1.2^2 of e(h).
    EXPECT_NEAR(verify::ErrorAtH(2.2, 1, false, 4), 7.2, 1e-12);
    EXPECT_EQ(verify::ErrorAtH(2, 1, false, 4), 4);
    EXPECT_EQ(verify::ErrorAtH(3, 2, false, 4), 7);
    // An error sqrt(h) shows 1/2 against h/4 and 1/sqrt(2) - 1/2 at h/2:
    // the order 1/2 they give, though low, still finds all of it.
    EXPECT_NEAR(verify::ErrorAtH(0.5, std::sqrt(0.5) - 0.5, false, verify::kMethodOrder), 1, 1e-12);
    EXPECT_EQ(verify::ErrorAtH(3, 1, true, 4), 5);
}

TEST(Verify, TheStepMustKeepTheDampingsLagStable) {
    // x'' = -w^2 x - c v with v a step behind: RK4's own limit 2 sqrt 2
    // without damping; 2 / c without stiffness, where the lagged speed
    // alone overshoots; w^2 = 480, c = 12 loses stability at 0.1055 s, and
    // preset 1's radial swing with KR = 10 in the turning frame (w^2 = 480
    // + 3 * 20^2) at 0.0684 s, as the eigenvalues of the step's map say.
    // Its run at 0.04 s, 7.2 steps a swing, is refused.
    EXPECT_NEAR(verify::LagStableStep(1, 0), 2 * std::sqrt(2), 1e-9);
    EXPECT_EQ(verify::LagStableStep(0, 4), 0.5);  // at c h = 2 an eigenvalue is on the circle, which holds
    EXPECT_NEAR(verify::LagStableStep(std::sqrt(480), 12), 0.1055, 2e-4);
    EXPECT_EQ(verify::LagStableStep(0, 0), INFINITY);
    const sim::Model lagging = Started(1, {{Field::KR, "10"}, {Field::Step, "0,04"}}).model;
    bool lagLimits = false;
    EXPECT_NEAR(verify::StableStep(lagging, &lagLimits) * verify::kStableStepMargin, 0.0684, 2e-4);
    // However light the damping, it lags: KR = 0.5 loses stability at 0.0690 s.
    EXPECT_NEAR(verify::StableStep(Started(1, {{Field::KR, "0,5"}}).model) * verify::kStableStepMargin, 0.069, 2e-4);
    EXPECT_TRUE(lagLimits);
    const verify::Convergence c = verify::Verify(lagging, 100).conv;
    EXPECT_TRUE(!c.stable && c.lagLimits && c.stepsPerPeriod > 7);
    // Without damping the rate rule alone, 1 / sqrt(480).
    EXPECT_NEAR(verify::StableStep(Started(1, {{Field::KR, "0"}, {Field::KT, "0"}}).model, &lagLimits),
                1 / std::sqrt(480), 1e-12);
    EXPECT_FALSE(lagLimits);
}

TEST(Verify, TheLedgerAllowsLzOnlyItsTruncationError) {
    // Undamped, 10 s at 0.005: Lz drifts by the truncation error of the run
    // at h, which the run at h/4 has 256 times less of; 4/3 of the
    // difference covers it. Px and Py stay at rounding.
    const verify::VerifyReport rep =
        verify::Verify(Started(1, {{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,005"}}).model, 2000);
    const verify::LedgerEntry& lz = rep.ledger[int(verify::LedgerRow::kLz)];
    EXPECT_TRUE(lz.holds);
    EXPECT_GT(lz.maxDeviation, 1e3 * lz.floor);
    EXPECT_NEAR(lz.allowance, lz.maxDeviation * 4 / 3, 0.01 * lz.maxDeviation);
    for (verify::LedgerRow row : {verify::LedgerRow::kPx, verify::LedgerRow::kPy, verify::LedgerRow::kYc}) {
        const verify::LedgerEntry& e = rep.ledger[int(row)];
        EXPECT_EQ(e.allowance, verify::kLedgerFactor[int(row)] * e.floor);
    }
    // Where the runs do not converge, no truncation is allowed at all.
    const verify::VerifyReport wild =
        verify::Verify(Started(1, {{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,08"}}).model, 125);
    const verify::LedgerEntry& off = wild.ledger[int(verify::LedgerRow::kLz)];
    EXPECT_EQ(off.allowance, verify::kLedgerFactor[int(verify::LedgerRow::kLz)] * off.floor);
    EXPECT_FALSE(off.holds);
}

TEST(Verify, TheRunsAtOnceGiveTheSameReportAndTellTheirProgress) {
    // Told every 65536 steps of the 7 n in all (n, 2n and 4n at h, h/2,
    // h/4): one after another by sevenths; at once as the runs get on,
    // never backwards, and 1 at the end.
    const sim::Model started = Started(1, {}, "0,2").model;
    std::vector<double> apart, together;
    const verify::VerifyReport a = verify::Verify(started, 1 << 16, [&](double f) { apart.push_back(f); }, false);
    const verify::VerifyReport b = verify::Verify(started, 1 << 16, [&](double f) { together.push_back(f); }, true);
    EXPECT_EQ(apart, (std::vector<double>{1 / 7., 2 / 7., 3 / 7., 4 / 7., 5 / 7., 6 / 7., 1, 1}));
    ASSERT_FALSE(together.empty());
    EXPECT_TRUE(std::is_sorted(together.begin(), together.end()) && together.front() > 0 && together.back() == 1);
    const double* ca = &a.conv.positionError[0];
    const double* cb = &b.conv.positionError[0];
    EXPECT_TRUE(std::equal(ca, ca + 8, cb));  // the errors at h and h/2, to the bit
    for (int k = 0; k < verify::kLedgerRows; ++k) EXPECT_EQ(a.ledger[k].maxDeviation, b.ledger[k].maxDeviation);
    EXPECT_EQ(a.detectionLimit, b.detectionLimit);
    EXPECT_EQ(a.trace.size(), b.trace.size());
    // A run that fails raises its error whether the runs go at once or not.
    sim::Model bad = started;
    bad.p.m0 = 0;
    EXPECT_THROW(verify::Verify(bad, 100, {}, true), verify::RunFailure);
    EXPECT_THROW(verify::Verify(bad, 100, {}, false), verify::RunFailure);
}

TEST(Verify, OnlyAPhysicalDiskIsVerified) {
    // Masses and radii above 0, stiffness and damping at least 0; the reason
    // names the input.
    struct Case { Field field; const char* text; const char* refused; };
    const Case cases[] = {
        {Field::M0, "0", "m0"},        {Field::M0, "1E-300", nullptr}, {Field::M1, "-1", "m1"},
        {Field::R0, "0", "R0"},        {Field::R1, "0", "R1"},         {Field::R1, "-2", "R1"},
        {Field::CT, "0", nullptr},     {Field::CT, "-1", "CT"},        {Field::KR, "0", nullptr},
        {Field::KR, "-1E-300", "KR"},  {Field::KT, "-1", "KT"},        {Field::KT, "0", nullptr},
    };
    for (const Case& c : cases) {
        app::Record rec;
        // The start set-up of a refused input may fail; only its inputs matter here.
        testing_support::Form f({{c.field, c.text}});
        app::ReadFields(f.port, rec, app::kStartFields);
        const std::string why = verify::Unphysical(rec.model.p);
        EXPECT_EQ(why.substr(0, why.find(' ')), c.refused ? c.refused : "") << c.text;
    }
}

TEST(Verify, StepsRoundToTheNearestAndMayBeBeyondAnyRun) {
    struct Case { double time, h, steps; };
    for (const Case& c : {Case{1.0049, 0.002, 502}, Case{1.0031, 0.002, 502}, Case{1.0029, 0.002, 501},
                          Case{4e-10, 1e-9, 0}, Case{1e-4, 1e-9, 100000}, Case{1e308, 1e-4, INFINITY},
                          Case{1e300, 0.5, 2e300}})
        EXPECT_EQ(verify::VerifySteps(c.time, c.h), c.steps) << c.time;
}

}  // namespace
