// The physics: start set-up, forces, the step, and what a wrong formula
// would break - conservation laws, mirror symmetry, continuity.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "sim/arith.h"
#include "sim/energy.h"
#include "tests/support.h"

namespace {

using app::Field;
using testing_support::Started, testing_support::Steps;

constexpr double kC2 = 2.998e8 * 2.998e8;

TEST(Start, ValuesOfThePresets) {
    // J0, CR, E0 and Fmrv worked out by hand.
    struct Case { const char* name; int preset; testing_support::Typed typed; const char* twist; double J0, CR, E0, Fmrv; };
    // E0: translation m*V0^2/2 of 12 kg, loads turning 2*m1*(w0 R1)^2/2,
    // disk J0 w0^2/2, both springs CR R1^2/2, both twists CT fi0^2/2.
    // Fmrv = -V0 (J0 w0 + 2 m1 R1^2 w0) w0^2 / 2 / c^2.
    const Case cases[] = {
        {"preset 1", 1, {}, nullptr, 1.25, 400, 600 + 400 + 250 + 400, -10.0 * 65 * 400 / 2 / kC2},
        {"preset 1 twisted", 1, {}, "0,2", 1.25, 400, 1650.4, -10.0 * 65 * 400 / 2 / kC2},
        {"preset 2", 2, {}, nullptr, 1.25, 4e10, 6e10 + 4e10 + 2.5e10 + 4e10, -1e5 * 6.5e5 * 4e10 / 2 / kC2},
        {"no translation, no claim", 1, {{Field::V0, "0"}}, nullptr, 1.25, 400, 1050, 0},
        {"m0 = 4, R0 = 2", 1, {{Field::M0, "4"}, {Field::R0, "2"}}, nullptr, 8, 400, 300 + 400 + 1600 + 400,
         -10.0 * 200 * 400 / 2 / kC2},
    };
    for (const Case& c : cases) {
        const sim::Model m = Started(c.preset, c.typed, c.twist).model;
        EXPECT_EQ(m.J0, c.J0) << c.name;
        EXPECT_EQ(m.CR, c.CR) << c.name;
        EXPECT_NEAR(m.E0, c.E0, 1e-14 * c.E0) << c.name;
        EXPECT_NEAR(m.Fmrv, c.Fmrv, 1e-14 * std::fabs(c.Fmrv)) << c.name;
    }
}

TEST(Start, StateAndWhatTheTwistTurns) {
    // Loads on the X axis at +-R1, all moving with the disk at V0 along X
    // and turning at w0 R1 about it; the twist turns the disk alone, and
    // twists both elements by it with no twist rate.
    for (const auto& [twist, fi0] : {std::pair<const char*, double>{nullptr, 0}, {"0,2", 0.2}, {"-0,3", -0.3}}) {
        const sim::Model m = Started(1, {}, twist).model;
        const double expected[15] = {0, 0, 1, -1, 0, 0, 0, fi0, 10, 10, 10, 0, 20, -20, 20};
        for (int k = sim::state::kFirst; k <= sim::state::kLast; ++k) EXPECT_EQ(m.StateY[k], expected[k]) << k;
        EXPECT_EQ((std::vector{m.Dfi[1], m.Dfi[2], m.DfiOld[1], m.DfiOld[2], m.VR[1] + m.VT[1] + m.VR[2] + m.VT[2]}),
                  (std::vector{fi0, fi0, fi0, fi0, 0.0}));
    }
}

TEST(Forces, AtTheStartOfPreset1) {
    // CR R1 = m1 w0^2 R1: the spring is exactly the centripetal force. The
    // twist 0.2 gives FT = CT fi0 / R1 = 2 N pushing both loads forward, and
    // the torque 2 FT R1 on J0 = 1.25 brakes the disk.
    for (const auto& [twist, ft] : {std::pair<const char*, double>{nullptr, 0}, {"0,2", 2}}) {
        sim::Model m = Started(1, {}, twist).model;
        sim::ComputeDerivatives(m);
        const double *ax = m.DerivF + sim::state::kVX, *ay = m.DerivF + sim::state::kVY;
        EXPECT_EQ((std::vector{m.FR[1], m.FR[2], ax[0], ax[1], ax[2]}), (std::vector<double>{400, 400, 0, -400, 400}));
        EXPECT_NEAR(ay[1], ft, 1e-13);
        EXPECT_NEAR(ay[2], -ft, 1e-13);
        EXPECT_NEAR(10 * ay[0] + ay[1] + ay[2], 0, 1e-13);  // the disk takes the reaction
        EXPECT_NEAR(m.DerivF[sim::state::kSpin], -2 * ft / 1.25, 1e-13);
        EXPECT_EQ(m.DerivF[sim::state::kY + 1] + m.DerivF[sim::state::kAngle], 40);  // VY1 and w0
    }
}

TEST(Forces, ProjectionsInEveryQuadrant) {
    // Radial force on the load -FR (DX, DY)/R and tangential FT (-DY, DX)/R,
    // whatever the quadrant rules make of the angles, on the axes too (the
    // start's projection angle left over would tip an on-Y force onto X);
    // the damping speeds enter only their own force.
    const double places[][2] = {{0.6, 0.8}, {-0.6, 0.8}, {-0.6, -0.8}, {0.6, -0.8}, {-1, 0}, {2, 0}, {0, 0.5}, {0, -3}};
    for (const auto& p : places) {
        sim::Model m = Started(1, {}, "0,3").model;
        m.StateY[sim::state::kX + 1] = p[0], m.StateY[sim::state::kY + 1] = p[1], m.VT[1] = 0.7, m.VR[1] = -0.4;
        sim::ComputeDerivatives(m);
        const double r = std::hypot(p[0], p[1]);
        const double fr = 400 * r + 1 * -0.4;  // CR R + KR VR
        EXPECT_NEAR(m.FR[1], fr, 1e-12);
        EXPECT_NEAR(m.FT[1], (10 * m.Dfi[1] + 0.1 * 0.7) / r, 1e-12);  // (CT Dfi + KT VT) / R
        const double got[] = {m.FRX[1], m.FRY[1], m.FTX[1], m.FTY[1], std::cos(m.fi[1]), std::sin(m.fi[1])};
        const double want[] = {-fr * p[0] / r, -fr * p[1] / r, -m.FT[1] * p[1] / r, m.FT[1] * p[0] / r, p[0] / r, p[1] / r};
        // Pi has 15 digits: cos(Pi/2) is 1.6E-15, not 0.
        for (int k = 0; k < 6; ++k) EXPECT_NEAR(got[k], want[k], 2e-15 * fr) << p[0] << "," << p[1] << " #" << k;
        EXPECT_TRUE(m.fi[1] >= 0 && m.fi[1] < 2 * m.Pi);
    }
}

TEST(Angles, TwistWrapAndReductionToOneTurn) {
    sim::Model m;
    sim::SetConstants(m);
    const double turn = 2 * m.Pi;
    // Within +-0.9 unchanged, to the bit (0.9 itself too); a turn off near
    // +-2 Pi; in (0.9, 2 Pi - 0.9) lowered and raised back.
    for (double raw : {0.5, -0.5, 0.9, -0.9}) EXPECT_EQ(sim::WrapTwist(raw, m.Pi), raw);
    struct Wrap { double raw, twist; };
    for (const Wrap& w : {Wrap{1.0, 1.0}, Wrap{turn - 0.3, -0.3}, Wrap{0.3 - turn, 0.3}, Wrap{-1.0, turn - 1.0}})
        EXPECT_NEAR(sim::WrapTwist(w.raw, m.Pi), w.twist, 1e-15) << w.raw;
    struct Attach { double fi0, first, second; };
    // Whole turns are taken by floor, so a clockwise disk too gets
    // attachment angles in [0, 2 Pi).
    for (const Attach& a : {Attach{0, 0, m.Pi}, Attach{0.5, 0.5, 0.5 + m.Pi}, Attach{4, 4, 4 - m.Pi},
                            Attach{-0.5, turn - 0.5, m.Pi - 0.5}, Attach{turn + 1, 1, 1 + m.Pi},
                            Attach{-turn - 1, turn - 1, m.Pi - 1}}) {
        m.fi[0] = a.fi0;
        sim::AttachmentAngles(m);
        EXPECT_NEAR(m.FiAttach[1], a.first, 4e-15) << a.fi0;
        EXPECT_NEAR(m.FiAttach[2], a.second, 4e-15) << a.fi0;
    }
    // The reduction error grows with the angle: ~1e-10 rad near 1e6 rad.
    m.fi[0] = 1e6 + 0.123;
    sim::AttachmentAngles(m);
    const double err = std::fabs(m.FiAttach[1] - std::fmod(m.fi[0], turn));
    EXPECT_TRUE(err > 1e-12 && err < 1e-8) << err;
}

TEST(Step, OneStepOfPreset1AndTheForcesItLeaves) {
    sim::Model m = Started(1, {}, "0,2").model;
    const sim::Model start = m;
    sim::RungeKuttaStep(m);
    sim::AdvanceTime(m);
    EXPECT_EQ(m.T, 0.0001);
    // Rigid rotation at 20 rad/s for 1e-4 s turns everything by 0.002 rad.
    EXPECT_NEAR(m.StateY[sim::state::kAngle], 0.202, 1e-7);
    EXPECT_NEAR(m.fi[2], m.Pi + 0.002, 1e-7);
    EXPECT_NEAR(m.R[1], 1, 1e-7);
    EXPECT_EQ(m.ROld[1], m.R[1]);
    EXPECT_EQ(m.DfiOld[2], m.Dfi[2]);
    // The damping speeds are the backward differences over the step; the
    // forces shown are the fourth stage's, at StateBase + K3.
    EXPECT_DOUBLE_EQ(m.VR[1], (m.R[1] - start.R[1]) / m.h);
    EXPECT_DOUBLE_EQ(m.VT[2], (m.Dfi[2] - start.Dfi[2]) / m.h);
    sim::Model probe = start;
    for (int k = sim::state::kFirst; k <= sim::state::kLast; ++k) probe.StateY[k] = m.StateBase[k] + m.K3[k];
    sim::ComputeDerivatives(probe);
    for (int i = 1; i <= 2; ++i)
        EXPECT_EQ((std::vector{m.FR[i], m.FT[i], m.FTY[i]}), (std::vector{probe.FR[i], probe.FT[i], probe.FTY[i]}));
}

TEST(Conservation, EnergyOnlyFallsAndWithoutDampingStaysPut) {
    // (The momenta and the centre of mass: the verifier's ledger, tested
    // with it.) 10 000 steps, the energy sampled every 100.
    struct Case { const char* twist; testing_support::Typed typed; };
    const Case cases[] = {{nullptr, {}}, {"0,2", {}}, {"0,2", {{Field::KR, "0"}, {Field::KT, "0"}, {Field::M1, "2"}}}};
    for (const auto& [twist, typed] : cases) {
        sim::Model m = Started(1, typed, twist).model;
        double maxE = m.E0;
        for (int i = 0; i < 100; ++i) {
            Steps(m, 100);
            maxE = std::max(maxE, sim::ComputeE(m));
        }
        EXPECT_LT(maxE, m.E0 * (1 + 1e-10));
        if (m.KR == 0) {
            EXPECT_NEAR(m.E, m.E0, 1e-6 * m.E0);
        } else if (twist) {
            EXPECT_LT(sim::EnergyError(m), -1e4);  // the twist oscillation dies out
        }
    }
}

TEST(Symmetry, ClockwiseSpinMirrorsCounterClockwise) {
    // Reflected in the X axis, a disk spinning clockwise with twist fi0 is
    // the disk spinning counter-clockwise with twist -fi0: Y, VY, the disk
    // angle and speed, the twists and tangential forces change sign, the
    // load angles become 2 Pi minus themselves, X, VX and FR stay. 8000
    // steps make more than a turn, so both loads and both attachment points
    // cross the +X axis, where a twist a turn off would show.
    for (const char* kr : {"1", "0"}) {
        sim::Model a = Started(1, {{Field::W0, "-20"}, {Field::KR, kr}}, "0,2").model;
        sim::Model b = Started(1, {{Field::KR, kr}}, "-0,2").model;
        for (int i = 1; i <= 80; ++i) {
            Steps(a, 100);
            Steps(b, 100);
            const double tol = 1e-12 * i;  // rounding differs, and grows
            for (int k : {1, 2, 3, 8, 9, 10}) EXPECT_NEAR(a.StateY[k], b.StateY[k], tol * 100) << k;
            for (int k : {4, 5, 6, 7, 11, 12, 13, 14}) EXPECT_NEAR(a.StateY[k], -b.StateY[k], tol * 100) << k;
            for (int e = 1; e <= 2; ++e) {
                EXPECT_NEAR(a.Dfi[e], -b.Dfi[e], tol) << e;
                EXPECT_NEAR(a.FT[e], -b.FT[e], tol * 10) << e;
                EXPECT_NEAR(a.FR[e], b.FR[e], tol * 1e3) << e;
                EXPECT_NEAR(std::remainder(a.fi[e] + b.fi[e], 2 * a.Pi), 0, tol) << e;
            }
        }
        EXPECT_LT(a.StateY[sim::state::kAngle], -2 * a.Pi);
    }
}

TEST(Failures, RaiseAndNeverStoreANonNumber) {
    struct Case { const char* name; void (*spoil)(sim::Model&); };
    const Case cases[] = {
        {"load at the disk centre", [](sim::Model& m) { m.StateY[sim::state::kX + 1] = 0; }},
        {"zero disk mass", [](sim::Model& m) { m.M[0] = 0; }},
        {"zero load mass", [](sim::Model& m) { m.M[1] = 0; }},
        {"zero inertia", [](sim::Model& m) { m.J0 = 0; }},
        {"zero step", [](sim::Model& m) { m.h = 0; }},
        {"force overflow", [](sim::Model& m) { m.CR = 1e308; m.StateY[sim::state::kX + 1] = 1e10; }},
        {"DY/DX overflow", [](sim::Model& m) { m.StateY[sim::state::kX + 1] = 1e-320, m.StateY[sim::state::kY + 1] = 1e10; }},
    };
    for (const Case& c : cases) {
        sim::Model m = Started(1, {}, "0,2").model;
        c.spoil(m);
        EXPECT_THROW(Steps(m, 1), sim::ArithmeticError) << c.name;
        // The record is all doubles: none of them may be infinite or NaN.
        std::array<double, sizeof(sim::Model) / sizeof(double)> all;
        std::memcpy(all.data(), &m, sizeof m);
        for (double v : all) ASSERT_TRUE(std::isfinite(v)) << c.name;
    }
    sim::Model m;
    m.T = m.h = 1.7e308;
    EXPECT_THROW(sim::AdvanceTime(m), sim::ArithmeticError);
    EXPECT_EQ(m.T, 1.7e308);
    // Start's own arithmetic fails the same way.
    EXPECT_THROW(Started(1, {{Field::M0, "1E+300"}, {Field::R0, "1E+10"}}), sim::ArithmeticError);
    EXPECT_THROW(Started(1, {{Field::W0, "1E+200"}}), sim::ArithmeticError);
}

}  // namespace
