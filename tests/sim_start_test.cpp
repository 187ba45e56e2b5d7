// Start set-up: the record built from the inputs before the first step.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/arith.h"
#include "tests/sim_fixture.h"

namespace {

using testing_support::kPreset1;
using testing_support::kPreset2;
using testing_support::Started;

TEST(StartSetup, Preset1BuildsSteadyRotation) {
    const sim::Model m = Started(kPreset1);
    // J0 = 10 * 0.5 * 0.5 / 2 and CR = 20^2 * 1: exact in binary.
    EXPECT_EQ(m.J0, 1.25);
    EXPECT_EQ(m.CR, 400);
    // 1000 translation and load rotation + 250 disk rotation + 400 springs.
    EXPECT_EQ(m.E0, 1650);
    const double expected[15] = {0, 0, 1, -1, 0, 0, 0, 0, 10, 10, 10, 0, 20, -20, 20};
    for (int k = 1; k <= 14; ++k) EXPECT_EQ(m.StateY[k], expected[k]) << "StateY(" << k << ")";
    EXPECT_EQ(m.T, 0);
    EXPECT_EQ(m.TPlot, 0);
    EXPECT_EQ(m.StopFlag, 0);
    // Marks hold R1 in metres until the first display cycle replaces them.
    EXPECT_EQ(m.MarkX, 1);
    EXPECT_EQ(m.MarkXOld, 1);
}

TEST(StartSetup, TwistTurnsOnlyTheDisk) {
    const sim::Model plain = Started(kPreset1);
    const sim::Model m = Started(kPreset1, 0.2);
    EXPECT_EQ(m.StateY[7], 0.2);
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(m.Dfi[i], 0.2);
        EXPECT_EQ(m.DfiOld[i], 0.2);
    }
    for (int k = 1; k <= 14; ++k) {
        if (k != 7) {
            EXPECT_EQ(m.StateY[k], plain.StateY[k]) << "StateY(" << k << ")";
        }
    }
    // Two torsional elements at CT*0.2^2/2 = 0.2 J each.
    EXPECT_NEAR(m.E0, 1650.4, 1e-12 * 1650);
}

TEST(StartSetup, ClaimedLateralForce) {
    struct Case {
        const char* name;
        testing_support::Inputs in;
        double fmrv;  // -V0 (J0 w0 + 2 m1 R1^2 w0) w0^2 / 2 / c^2, by hand
    };
    const double c2 = 2.998e8 * 2.998e8;
    const Case cases[] = {
        {"preset 1", kPreset1, -10.0 * 65 * 400 / 2 / c2},
        {"preset 2", kPreset2, -1e5 * (1.25 * 2e5 + 2 * 2e5) * 4e10 / 2 / c2},
    };
    for (const Case& c : cases) {
        const sim::Model m = Started(c.in);
        EXPECT_NEAR(m.Fmrv, c.fmrv, 1e-14 * std::fabs(c.fmrv)) << c.name;
        EXPECT_LT(m.Fmrv, 0) << c.name << ": the force points towards -Y";
    }
    EXPECT_NEAR(Started(kPreset2).Fmrv, -14463.72, 0.01);
    EXPECT_NEAR(Started(kPreset1).Fmrv, -1.4464e-12, 0.0001e-12);
}

TEST(StartSetup, NoMotionNoLateralForce) {
    for (double v0 : {0.0, 10.0}) {
        auto in = kPreset1;
        in.V0 = v0;
        in.w0 = v0 == 0 ? 20 : 0;
        sim::Model m = Started(in);
        EXPECT_EQ(m.Fmrv, 0);
        m.T = 3;
        EXPECT_EQ(sim::ComputeYmrv(m), 0);
    }
}

TEST(StartSetup, YmrvGrowsWithTheSquareOfTime) {
    sim::Model m = Started(kPreset2);
    // Fmrv / (m0 + 2 m1) / 2 = -14463.72 / 24 = -602.66 per s^2.
    m.T = 1;
    EXPECT_NEAR(sim::ComputeYmrv(m), -602.655, 0.001);
    m.T = 1e-4;
    const double y1 = sim::ComputeYmrv(m);
    EXPECT_NEAR(y1, -6.0266e-6, 1e-9);
    m.T = 2e-4;
    EXPECT_NEAR(sim::ComputeYmrv(m) / y1, 4, 1e-14);
    m.T = 0;
    EXPECT_EQ(sim::ComputeYmrv(m), 0);
}

TEST(StartSetup, FailingArithmeticIsAnError) {
    struct Case {
        const char* name;
        double m0, R0, w0;
    };
    const Case cases[] = {
        {"J0 overflows", 1e300, 1e10, 20},
        {"CR overflows", 10, 0.5, 1e200},
    };
    for (const Case& c : cases) {
        auto in = kPreset1;
        in.m0 = c.m0;
        in.R0 = c.R0;
        in.w0 = c.w0;
        EXPECT_THROW(Started(in), sim::ArithmeticError) << c.name;
    }
}

TEST(Constants, PiHasFifteenDigits) {
    sim::Model m;
    sim::SetConstants(m);
    EXPECT_EQ(m.Pi, 3.14159265358979);
    EXPECT_NEAR(M_PI - m.Pi, 3.2e-15, 0.1e-15);
    EXPECT_EQ(m.DegPerRad, 180 / m.Pi);
    EXPECT_EQ(m.Vsv, 1e8 * 2.998);
}

}  // namespace
