// Physics a wrong formula would break: conservation laws and the order of
// the integrator.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/sim_fixture.h"

namespace {

using testing_support::kPreset1;
using testing_support::kPreset2;
using testing_support::Started;
using testing_support::Steps;

TEST(Conservation, LinearMomentumHoldsToRounding) {
    // Internal forces cancel, and RK4 is linear in the derivatives, so the
    // total momentum changes only by rounding.
    struct Case {
        const char* name;
        testing_support::Inputs in;
        double fi0;
        long steps;
    };
    const Case cases[] = {
        {"preset 1", kPreset1, 0, 10000},
        {"preset 1 twisted", kPreset1, 0.2, 10000},
        {"preset 2", kPreset2, 0, 10000},
    };
    for (const Case& c : cases) {
        sim::Model m = Started(c.in, c.fi0);
        const sim::Invariants a = sim::ComputeInvariants(m);
        Steps(m, c.steps);
        const sim::Invariants b = sim::ComputeInvariants(m);
        // Scale: the largest single momentum in the system.
        const double p = c.in.m1 * std::fabs(c.in.w0 * c.in.R1) + 12 * std::fabs(c.in.V0);
        EXPECT_NEAR(b.Px, a.Px, p * 1e-13) << c.name;
        EXPECT_NEAR(b.Py, a.Py, p * 1e-13) << c.name;
        // Angular momentum about the origin includes J0*w0.
        EXPECT_NEAR(b.Lz, a.Lz, std::fabs(a.Lz) * 1e-10 + p * 1e-10) << c.name;
        // No lateral force: the centre of mass stays on the X axis.
        EXPECT_NEAR(b.Yc, 0, 1e-12 * (1 + std::fabs(c.in.V0) * m.T)) << c.name;
    }
}

TEST(Conservation, UndampedEnergyStaysPut) {
    auto in = kPreset1;
    in.KR = 0;
    in.KT = 0;
    sim::Model m = Started(in, 0.2);
    Steps(m, 10000);
    sim::ComputeE(m);
    EXPECT_LT(std::fabs(sim::EnergyError(m)), 1e4);  // |dE/E0| < 1e-6
}

TEST(Conservation, DampingDrainsEnergy) {
    sim::Model m = Started(kPreset1, 0.2);
    Steps(m, 20000);
    sim::ComputeE(m);
    EXPECT_LT(m.E, m.E0);
    EXPECT_LT(sim::EnergyError(m), -1e4);
}

TEST(Conservation, Preset1WithoutTwistHasNoLateralDrift) {
    sim::Model m = Started(kPreset1);
    Steps(m, 10000);
    sim::ComputeE(m);
    sim::ComputeYmrv(m);
    EXPECT_LT(std::fabs(m.Y[0]), 1e-13);
    EXPECT_LT(std::fabs(sim::EnergyError(m)), 1);
    EXPECT_NEAR(m.Ymrv, -6.03e-14, 0.01e-14);
}

// State after a fixed time with step h, as a vector distance from a
// reference state.
double Distance(const sim::Model& a, const sim::Model& b) {
    double s = 0;
    for (int k = 1; k <= 14; ++k) {
        if (k >= 8) continue;  // positions and angle only
        s += (a.StateY[k] - b.StateY[k]) * (a.StateY[k] - b.StateY[k]);
    }
    return std::sqrt(s);
}

TEST(Convergence, FourthOrderInTheStep) {
    // Undamped, so the one-step lag of the damping speeds plays no part.
    auto in = kPreset1;
    in.KR = 0;
    in.KT = 0;
    const double time = 0.4;
    auto run = [&](double h) {
        auto c = in;
        c.h = h;
        sim::Model m = Started(c, 0.2);
        Steps(m, std::lround(time / h));
        return m;
    };
    const sim::Model coarse = run(4e-3), mid = run(2e-3), fine = run(1e-3), ref = run(2.5e-4);
    const double e1 = Distance(coarse, ref), e2 = Distance(mid, ref), e3 = Distance(fine, ref);
    EXPECT_NEAR(e1 / e2, 16, 3);
    EXPECT_NEAR(e2 / e3, 16, 3);
}

}  // namespace
