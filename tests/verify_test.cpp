// The verifier's answer: a force at or above the detection limit it prints
// is never called "no lateral force", the three runs end together, and runs
// that do not converge are named as such.
#include <gtest/gtest.h>

#include <cmath>

#include "app/verify.h"
#include "tests/sim_fixture.h"

namespace {

using app::Verdict;
using testing_support::Inputs;
using testing_support::kPreset1;
using testing_support::kPreset2;
using testing_support::Started;

Inputs Undamped(Inputs in, double h) {
    in.KR = in.KT = 0;
    in.h = h;
    return in;
}

TEST(Verify, InjectedForceAtOrAboveTheLimitIsNeverNoForce) {
    // A force F moves Yc by F t^2 / 2M exactly (RK4 keeps linear
    // invariants), so from the limit up the answer must be that it acts.
    struct Case {
        const char* name;
        Inputs in;
        long long steps;
    };
    const Case cases[] = {
        {"preset 1, 1 s undamped", Undamped(kPreset1, 0.002), 500},
        {"preset 1", kPreset1, 1000},
        {"preset 2", kPreset2, 20000},
    };
    for (const Case& c : cases) {
        const app::VerifyReport none = app::Verify(Started(c.in), c.steps);
        ASSERT_GT(none.detectionLimit, 0) << c.name;
        for (double factor : {0.1, 0.3, 1.0, 3.0, 10.0, 100.0}) {
            for (double sign : {1.0, -1.0}) {
                sim::Model m = Started(c.in);
                m.InjectedForceY0 = sign * factor * none.detectionLimit;
                const app::VerifyReport rep = app::Verify(m, c.steps);
                const bool atOrAbove = factor * none.detectionLimit >= rep.detectionLimit;
                if (atOrAbove) {
                    EXPECT_EQ(rep.verdict, Verdict::kLateralForceActs) << c.name << " x" << factor * sign;
                }
                // Whatever the size, the momentum tells the force: F = dPy / t.
                if (rep.verdict == Verdict::kLateralForceActs) {
                    EXPECT_NEAR(rep.pyChange / rep.time, m.InjectedForceY0, 0.3 * std::fabs(m.InjectedForceY0))
                        << c.name << " x" << factor * sign;
                }
            }
        }
    }
}

TEST(Verify, VerdictsOfTheReportedCases) {
    struct Case {
        const char* name;
        Inputs in;
        double fi0, inject;
        long long steps;
        Verdict verdict;
    };
    const Inputs cw = [] {
        Inputs in = Undamped(kPreset1, 0.002);
        in.w0 = -20;
        return in;
    }();
    const Case cases[] = {
        // The claimed force itself is below what 1 s at h = 0.002 resolves.
        {"claim below the limit", Undamped(kPreset1, 0.002), 0, 0, 500, Verdict::kBelowDetection},
        // ... and, injected, it shows in the momentum all the same.
        {"claim injected", Undamped(kPreset1, 0.002), 0, -1.4463722980096582e-12, 500, Verdict::kLateralForceActs},
        {"preset 2", kPreset2, 0, 0, 100000, Verdict::kNoLateralForce},
        {"clockwise twisted, converges", cw, 0.2, 0, 500, Verdict::kBelowDetection},
        // A twist swinging past -0.9 rad jumps a turn: no convergence.
        {"twist through the wrap", Undamped(kPreset1, 0.0005), 0.95, 0, 2000, Verdict::kNotConverged},
        {"no claim", [] { Inputs in = kPreset1; in.V0 = 0; return in; }(), 0, 0, 1000, Verdict::kBelowDetection},
    };
    for (const Case& c : cases) {
        sim::Model m = Started(c.in, c.fi0);
        m.InjectedForceY0 = c.inject;
        const app::VerifyReport rep = app::Verify(m, c.steps);
        EXPECT_EQ(rep.verdict, c.verdict) << c.name;
        // Three runs of n, 2n and 4n steps end at n h, whatever the rounding.
        EXPECT_EQ(rep.steps[2], 4 * c.steps) << c.name;
        EXPECT_EQ(rep.time, static_cast<double>(c.steps) * c.in.h) << c.name;
        // T is a running sum of h, so it ends within rounding of n h.
        EXPECT_NEAR(rep.trace.back().t, rep.time, 1e-9 * rep.time) << c.name;
        if (c.verdict == Verdict::kNoLateralForce) {
            EXPECT_GE(rep.claimFactor, app::kClearlyAbove) << c.name;
        }
        if (c.verdict == Verdict::kBelowDetection && c.in.V0 != 0) {
            EXPECT_LT(rep.claimFactor, app::kClearlyAbove) << c.name;
            // A run of the time named resolves the claim.
            sim::Model longer = Started(c.in, c.fi0);
            const long long n = app::VerifySteps(rep.timeToResolve, c.in.h);
            if (n <= 20000) {
                EXPECT_EQ(app::Verify(longer, n).verdict, Verdict::kNoLateralForce) << c.name;
            }
        }
    }
}

TEST(Verify, UndampedOrderIsFourAndStepsRoundToTheNearest) {
    const app::VerifyReport rep = app::Verify(Started(Undamped(kPreset1, 0.002), 0.2), 500);
    EXPECT_NEAR(rep.stateOrder, 4.09, 0.2);  // log2(2^4 + 1) against the h/4 run
    EXPECT_FALSE(rep.atRounding);
    // The runs take the whole number of steps nearest to the time asked for.
    struct Case {
        double time, h;
        long long steps;
    };
    for (const Case& c : {Case{1.0049, 0.002, 502}, Case{1.0031, 0.002, 502}, Case{1.0029, 0.002, 501},
                          Case{4e-10, 1e-9, 0}, Case{1e-4, 1e-9, 100000}})
        EXPECT_EQ(app::VerifySteps(c.time, c.h), c.steps) << c.time;
}

}  // namespace
