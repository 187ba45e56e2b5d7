// One Runge-Kutta step, the post-step kinematics and the step accounting.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "app/numtext.h"
#include "sim/arith.h"
#include "tests/sim_fixture.h"

namespace {

using testing_support::kPreset1;
using testing_support::Started;
using testing_support::Steps;

TEST(RungeKuttaStep, OneStepOfPreset1) {
    sim::Model m = Started(kPreset1);
    sim::RungeKuttaStep(m);
    sim::AccountStep(m);
    EXPECT_EQ(m.T, 0.0001);
    EXPECT_EQ(m.NC, 1);
    // Rigid rotation at 20 rad/s for 1e-4 s: 0.002 rad.
    EXPECT_NEAR(m.StateY[7], 0.002, 1e-15);
    EXPECT_NEAR(m.fi[1], 0.002, 1e-12);
    EXPECT_NEAR(m.fi[2], m.Pi + 0.002, 1e-12);
    EXPECT_NEAR(m.R[1], 1, 1e-12);
    EXPECT_NEAR(m.R[2], 1, 1e-12);
    EXPECT_NEAR(m.Dfi[1], 0, 1e-12);
    // Backward differences of quantities that barely move.
    EXPECT_LT(std::fabs(m.VR[1]), 1e-7);
    EXPECT_LT(std::fabs(m.VT[1]), 1e-7);
    EXPECT_EQ(m.ROld[1], m.R[1]);
    EXPECT_EQ(m.DfiOld[2], m.Dfi[2]);
}

TEST(RungeKuttaStep, ForcesShownAreThoseOfTheFourthStage) {
    sim::Model m = Started(kPreset1, 0.2);
    Steps(m, 5);
    const sim::Model before = m;
    sim::RungeKuttaStep(m);
    // Re-evaluate at StateBase + K3, where the fourth stage was taken.
    sim::Model probe = before;
    for (int k = 1; k <= 14; ++k) probe.StateY[k] = m.StateBase[k] + m.K3[k];
    sim::ComputeDerivatives(probe);
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(m.FR[i], probe.FR[i]);
        EXPECT_EQ(m.FT[i], probe.FT[i]);
        EXPECT_EQ(m.FRX[i], probe.FRX[i]);
        EXPECT_EQ(m.FTY[i], probe.FTY[i]);
    }
    // ... and not the spring force at the new distance.
    EXPECT_NE(m.FR[1], m.CR * m.R[1] + m.KR * m.VR[1]);
}

TEST(RungeKuttaStep, CombinationOrder) {
    // The new state is (2*K2 + K1 + 2*K3 + K4) / 6 + StateBase, summed in
    // exactly that order.
    sim::Model m = Started(kPreset1, 0.2);
    Steps(m, 3);
    sim::RungeKuttaStep(m);
    for (int k = 1; k <= 14; ++k) {
        const double sum = 2 * m.K2[k] + m.K1[k] + 2 * m.K3[k] + m.K4[k];
        EXPECT_EQ(m.StateY[k], sum / 6 + m.StateBase[k]) << k;
    }
}

TEST(AccountStep, TimeIsARunningSum) {
    // The readout of T after n steps of 1e-4 shows the rounding of the sum.
    struct Case {
        long steps;
        const char* text;
    };
    const Case cases[] = {
        {10, "0,001"},
        {69, "0,00690000000000001"},
        {1000, "0,100000000000002"},
        {10000, "0,999999999999906"},
    };
    for (const Case& c : cases) {
        sim::Model m = Started(kPreset1);
        Steps(m, c.steps);
        EXPECT_EQ(app::FormatNumber(m.T, ','), c.text) << c.steps << " steps";
    }
}

TEST(AccountStep, SweepRestartsAfterExceeding25MT) {
    sim::Model m = Started(kPreset1);
    m.h = 0.5;
    m.MT = 0.1;  // sweep of 2.5 s
    int restarts = 0;
    double before = 0;
    for (int i = 0; i < 5; ++i) {
        before = m.TPlot;
        restarts += sim::AccountStep(m);
    }
    // 0.5 ... 2.5: equal to 25*MT does not restart.
    EXPECT_EQ(restarts, 0);
    EXPECT_EQ(before, 2.0);
    EXPECT_TRUE(sim::AccountStep(m));
    EXPECT_EQ(m.TPlot, 0);
    EXPECT_EQ(m.T, 3.0);
    // A negative MT restarts the sweep after every step.
    m.MT = -1;
    EXPECT_TRUE(sim::AccountStep(m));
}

TEST(AccountStep, CounterOverflowIsAnError) {
    sim::Model m = Started(kPreset1);
    m.NC = std::numeric_limits<std::int32_t>::max();
    const double t = m.T;
    EXPECT_THROW(sim::AccountStep(m), sim::ArithmeticError);
    EXPECT_EQ(m.T, t);
}

TEST(RungeKuttaStep, ZeroStepFailsOnTheDampingSpeed) {
    sim::Model m = Started(kPreset1);
    m.h = 0;
    EXPECT_THROW(sim::RungeKuttaStep(m), sim::ArithmeticError);
    for (double v : m.VR) EXPECT_TRUE(std::isfinite(v));
}

TEST(RungeKuttaStep, CrossingPlusXLeavesTwistContinuous) {
    // Preset 1 turns at 20 rad/s: load 1 crosses +X again after about 0.314 s.
    sim::Model m = Started(kPreset1, 0.2);
    double maxJump = 0, prev = m.Dfi[1];
    double maxVT = 0;
    for (int i = 0; i < 8000; ++i) {
        Steps(m, 1);
        maxJump = std::max(maxJump, std::fabs(m.Dfi[1] - prev));
        maxVT = std::max(maxVT, std::fabs(m.VT[1]));
        prev = m.Dfi[1];
    }
    EXPECT_GT(m.StateY[7], 2 * m.Pi);  // at least one full turn made
    EXPECT_LT(maxJump, 0.01);
    EXPECT_LT(maxVT, 100);  // a full-turn spike would be 2*Pi/h = 62832
}

TEST(RungeKuttaStep, ClockwiseSpinMirrorsCounterClockwise) {
    // Reflected in the X axis, a disk spinning clockwise with twist fi0 is
    // the disk spinning counter-clockwise with twist -fi0: Y, VY, the disk
    // angle and speed, the twists and tangential forces change sign, the
    // load angles become 2*Pi minus themselves, X, VX and FR stay. 8000
    // steps make more than a turn, so both loads cross the +X axis.
    for (bool damped : {true, false}) {
        auto in = kPreset1;
        if (!damped) in.KR = in.KT = 0;
        auto cw = in;
        cw.w0 = -in.w0;
        sim::Model a = Started(cw, 0.2), b = Started(in, -0.2);
        double maxE = a.E0;
        for (int i = 0; i < 80; ++i) {
            Steps(a, 100);
            Steps(b, 100);
            // Rounding differs between the two runs and grows with time.
            const double tol = 1e-12 * (1 + i);
            for (int k : {1, 2, 3, 8, 9, 10}) EXPECT_NEAR(a.StateY[k], b.StateY[k], tol * 100) << k;
            for (int k : {4, 5, 6, 7, 11, 12, 13, 14}) EXPECT_NEAR(a.StateY[k], -b.StateY[k], tol * 100) << k;
            for (int e = 1; e <= 2; ++e) {
                EXPECT_NEAR(a.Dfi[e], -b.Dfi[e], tol) << e;
                EXPECT_NEAR(a.FT[e], -b.FT[e], tol * 10) << e;
                EXPECT_NEAR(a.FR[e], b.FR[e], tol * 1e3) << e;
                EXPECT_NEAR(std::remainder(a.fi[e] + b.fi[e], 2 * a.Pi), 0, tol) << e;
            }
            sim::ComputeE(a);
            maxE = std::max(maxE, a.E);
        }
        EXPECT_GT(std::fabs(a.StateY[7]), 2 * a.Pi);
        // With damping the energy only falls; without, it stays put.
        EXPECT_LT(maxE, a.E0 * (1 + 1e-12)) << damped;
    }
}

}  // namespace
