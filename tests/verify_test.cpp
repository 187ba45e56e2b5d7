// The verifier's answer: a force at or above the detection limit it prints
// is never called "no lateral force", the three runs end together, and runs
// that do not converge are named as such.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/verify.h"
#include "tests/support.h"

namespace {

using app::Field, app::Verdict;
using testing_support::Started, testing_support::Typed;

// Preset 1 without damping at h = 0.002 s: a second is 500 steps.
const Typed kUndamped = {{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,002"}};

TEST(Verify, InjectedForceAtOrAboveTheLimitIsNeverNoForce) {
    // A force F moves Yc by F t^2 / 2M and Py by F t exactly (RK4 keeps
    // linear invariants), so from the limit up the answer must be that it
    // acts, and the momentum tells its size.
    struct Case { const char* name; int preset; Typed typed; long long steps; };
    const Case cases[] = {
        {"preset 1, 1 s undamped", 1, kUndamped, 500},
        {"preset 1", 1, {}, 1000},
        {"preset 2", 2, {}, 20000},
    };
    for (const Case& c : cases) {
        const app::VerifyReport none = app::Verify(Started(c.preset, c.typed).model, c.steps);
        ASSERT_GT(none.detectionLimit, 0) << c.name;
        for (double factor : {0.1, 0.3, 1.0, 3.0, 10.0, 100.0, -1.0, -100.0}) {
            sim::Model m = Started(c.preset, c.typed).model;
            m.InjectedForceY0 = factor * none.detectionLimit;
            const app::VerifyReport rep = app::Verify(m, c.steps);
            const double f = m.InjectedForceY0;
            const bool acts = rep.verdict == Verdict::kLateralForceActs;
            EXPECT_TRUE(acts || std::fabs(f) < rep.detectionLimit) << c.name << " x" << factor;
            EXPECT_NEAR(acts ? rep.pyChange / rep.time : f, f, 0.3 * std::fabs(f)) << c.name << " x" << factor;
        }
    }
}

TEST(Verify, TheReportedCasesGetTrueAnswers) {
    struct Case { const char* name; Typed typed; const char* twist; long long steps; Verdict verdict; };
    const Case cases[] = {
        // The claimed force is below what 1 s at h = 0.002 resolves, the
        // disk turning either way.
        {"claim below the limit", kUndamped, nullptr, 500, Verdict::kBelowDetection},
        {"clockwise, twisted", {{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,002"}, {Field::W0, "-20"}},
         "0,2", 500, Verdict::kBelowDetection},
        // A twist swinging past -0.9 rad jumps a turn: no convergence.
        {"twist through the wrap", {{Field::KR, "0"}, {Field::KT, "0"}, {Field::Step, "0,0005"}}, "0,95", 2000,
         Verdict::kNotConverged},
    };
    for (const Case& c : cases) {
        sim::Model m = Started(1, c.typed, c.twist).model;
        const app::VerifyReport rep = app::Verify(m, c.steps);
        EXPECT_EQ(rep.verdict, c.verdict) << c.name;
        // Three runs of n, 2n and 4n steps end at n h, whatever the rounding
        // of T, a running sum of h; the limit is the force whose t^2 / 2M is
        // twice the threshold.
        EXPECT_TRUE(rep.steps[2] == 4 * c.steps && rep.h[2] * 4 == rep.h[0] && rep.time == c.steps * m.h) << c.name;
        EXPECT_NEAR(rep.trace.back().t, rep.time, 1e-9 * rep.time) << c.name;
        EXPECT_NEAR(rep.detectionLimit * rep.time * rep.time / 2 / 12, 2 * rep.yThreshold, 1e-12 * rep.yThreshold);
        if (c.verdict != Verdict::kBelowDetection) continue;
        // A run of the time named resolves the claim.
        EXPECT_LT(rep.claimFactor, app::kClearlyAbove) << c.name;
        const long long n = app::VerifySteps(rep.timeToResolve, m.h);
        EXPECT_LE(n, 20000) << c.name;
        EXPECT_EQ(app::Verify(Started(1, c.typed, c.twist).model, n).verdict, Verdict::kNoLateralForce) << c.name;
    }
}

TEST(Verify, JudgeTakesNonConvergenceThenYThenTheRestThenTheClaim) {
    // Whether damped, the errors at rounding, the order; which of Px Py Lz Yc hold; the claim.
    struct Case { bool damped, atRounding; double order; bool px, py, lz, yc; double claimFactor; Verdict verdict; };
    const Case cases[] = {
        {false, false, 4.1, true, true, true, true, 2.0, Verdict::kNoLateralForce},
        {false, false, 4.1, true, true, true, true, 1.99, Verdict::kBelowDetection},
        {false, true, -3, true, true, true, true, 5, Verdict::kNoLateralForce},  // errors at rounding
        {false, false, 2.9, true, true, true, true, 5, Verdict::kNotConverged},   // RK4 falls short of 3
        {true, false, 1.3, true, true, true, true, 5, Verdict::kNoLateralForce},  // damping lags: ~1.58
        {true, false, 1.1, true, true, true, true, 5, Verdict::kNotConverged},
        {false, false, 6.1, true, true, true, true, 5, Verdict::kNotConverged},
        {false, false, 2, false, false, false, false, 5, Verdict::kNotConverged},  // nothing claimed
        {false, false, 4.1, true, true, true, false, 5, Verdict::kLateralForceActs},
        {false, false, 4.1, true, false, true, true, 0, Verdict::kLateralForceActs},
        {false, false, 4.1, false, false, true, true, 5, Verdict::kLateralForceActs},  // Y first
        {false, false, 4.1, false, true, true, true, 5, Verdict::kLedgerBroken},
        {false, false, 4.1, true, true, false, true, 5, Verdict::kLedgerBroken},
    };
    for (const Case& c : cases) {
        app::VerifyReport rep;
        rep.damped = c.damped, rep.atRounding = c.atRounding, rep.stateOrder = c.order, rep.claimFactor = c.claimFactor;
        const bool holds[] = {c.px, c.py, c.lz, c.yc};
        for (int k = 0; k < app::kLedgerRows; ++k) rep.ledger[k].holds = holds[k];
        EXPECT_EQ(app::Judge(rep), c.verdict) << &c - cases;
    }
}

TEST(Verify, ProgressGoesBySeventhsToTheEnd) {
    // Told every 65536 steps of the 7 n in all (n, 2n and 4n at h, h/2, h/4).
    std::vector<double> seen;
    app::Verify(Started(1).model, 1 << 16, [&](double done) { seen.push_back(done); });
    EXPECT_EQ(seen, (std::vector<double>{1 / 7., 2 / 7., 3 / 7., 4 / 7., 5 / 7., 6 / 7., 1}));
}

TEST(Verify, UndampedOrderIsFourAndStepsRoundToTheNearest) {
    const app::VerifyReport rep = app::Verify(Started(1, kUndamped, "0,2").model, 500);
    EXPECT_NEAR(rep.stateOrder, 4.09, 0.2);  // log2(2^4 + 1) against the h/4 run
    EXPECT_FALSE(rep.atRounding);
    struct Case { double time, h; long long steps; };
    for (const Case& c : {Case{1.0049, 0.002, 502}, Case{1.0031, 0.002, 502}, Case{1.0029, 0.002, 501},
                          Case{4e-10, 1e-9, 0}, Case{1e-4, 1e-9, 100000}})
        EXPECT_EQ(app::VerifySteps(c.time, c.h), c.steps) << c.time;
}

}  // namespace
