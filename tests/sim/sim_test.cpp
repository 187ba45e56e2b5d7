// The physics alone (sim/ only): start, forces, the step, conservation, mirror symmetry.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include "sim/arith.h"
#include "sim/dynamics.h"
#include "sim/energy.h"
#include "sim/start.h"

namespace {

using sim::Model, sim::Parameters, sim::Pi, sim::StateVector;
namespace st = sim::state;

// The window's two presets: m0, m1, R0, R1, V0, w0, CT, KR, KT, h.
constexpr Parameters kPreset1{10, 1, 0.5, 1, 10, 20, 10, 1, 0.1, 1e-4};
constexpr Parameters kPreset2{10, 1, 0.5, 1, 1e5, 2e5, 1, 1000, 1, 1e-9};
constexpr double kC2 = 2.998e8 * 2.998e8;

// A preset with some of its inputs changed.
Parameters With(Parameters p, std::initializer_list<std::pair<double Parameters::*, double>> changed) {
    for (const auto& [input, value] : changed) p.*input = value;
    return p;
}

// Steps as a run makes them, without display cycles.
void Steps(Model& m, long n) { for (long i = 0; i < n; ++i) sim::Step(m); }

TEST(Start, ValuesOfThePresets) {
    // By hand: E0 = 12 V0^2/2 + 2 m1 (w0 R1)^2/2 + J0 w0^2/2 + 2 CR R1^2/2 + 2 CT fi0^2/2;
    // Fmrv = -V0 (J0 w0 + 2 m1 R1^2 w0) w0^2 / 2 / c^2.
    struct Case { const char* name; Parameters p; double fi0, J0, CR, E0, Fmrv; };
    const Case cases[] = {
        {"preset 1", kPreset1, 0, 1.25, 400, 600 + 400 + 250 + 400, -10.0 * 65 * 400 / 2 / kC2},
        {"preset 1 twisted", kPreset1, 0.2, 1.25, 400, 1650.4, -10.0 * 65 * 400 / 2 / kC2},
        {"preset 2", kPreset2, 0, 1.25, 4e10, 6e10 + 4e10 + 2.5e10 + 4e10, -1e5 * 6.5e5 * 4e10 / 2 / kC2},
        {"no translation, no claim", With(kPreset1, {{&Parameters::V0, 0}}), 0, 1.25, 400, 1050, 0},
        {"m0 = 4, R0 = 2", With(kPreset1, {{&Parameters::m0, 4}, {&Parameters::R0, 2}}), 0, 8, 400,
         300 + 400 + 1600 + 400, -10.0 * 200 * 400 / 2 / kC2},
        {"R1 = 2", With(kPreset1, {{&Parameters::R1, 2}}), 0, 1.25, 400, 600 + 1600 + 250 + 1600, -10.0 * 185 * 400 / 2 / kC2},
    };
    for (const Case& c : cases) {
        const Model m = sim::Start(c.p, c.fi0);
        EXPECT_EQ((std::vector{m.start.J0, m.start.CR}), (std::vector{c.J0, c.CR})) << c.name;
        EXPECT_NEAR(m.start.E0, c.E0, 1e-14 * c.E0) << c.name;
        EXPECT_NEAR(m.start.Fmrv, c.Fmrv, 1e-14 * std::fabs(c.Fmrv)) << c.name;
    }
}

TEST(Start, StateAndTheTwistTheElementsHaveAsE0AndTheFirstTwistRateHoldIt) {
    // Loads at +-R1 on X, moving at V0 and turning at w0 R1; the twist turns the disk alone, at no rate.
    // Within +-0.9 the twist is fi0 and E0 gains CT fi0^2 to the bit; beyond, less whole turns into
    // [-0.9, 2 Pi - 0.9), and an undamped run keeps that E0.
    const Parameters undamped = With(kPreset1, {{&Parameters::KR, 0}, {&Parameters::KT, 0}});
    const double e0 = sim::Start(undamped, 0).start.E0;
    for (double fi0 : {-0.89, -0.3, 0.9, -1.0, 3.0, 7.0, 100.0, -50.0}) {
        Model m = sim::Start(undamped, fi0);
        EXPECT_EQ(m.s.StateY, (StateVector{0, 1, -1, 0, 0, 0, fi0, 10, 10, 10, 0, 20, -20, 20})) << fi0;
        EXPECT_EQ((std::vector{m.s.T, m.s.ROld[0], m.s.ROld[1], m.s.VR[0], m.s.VR[1], m.s.VT[0], m.s.VT[1]}),
                  (std::vector{0.0, 1.0, 1.0, 0.0, 0.0, 0.0, 0.0})) << fi0;
        const bool typed = std::fabs(fi0) <= 0.9;
        if (typed) {
            EXPECT_EQ(m.start.E0, 10 * fi0 * fi0 + e0) << fi0;
        }
        for (double d : m.s.DfiOld)
            EXPECT_NEAR(d, fi0 - 2 * Pi * std::floor((fi0 + 0.9) / (2 * Pi)), typed ? 0 : 1e-13) << fi0;
        Steps(m, 100);
        EXPECT_NEAR(sim::ComputeE(m.p, m.start, m.s, m.geo), m.start.E0, 1e-9 * m.start.E0) << fi0;
    }
}

TEST(Forces, AtTheStartOfPreset1) {
    // CR R1 = m1 w0^2 R1 exactly; twist 0.2: FT = CT fi0 / R1 = 2 N, torque 2 FT R1 on J0 = 1.25.
    for (const auto& [fi0, ft] : {std::pair{0.0, 0.0}, {0.2, 2.0}}) {
        const Model m = sim::Start(kPreset1, fi0);
        const sim::Evaluation ev = sim::ComputeDerivatives(m.p, m.start, m.s);
        const double *ax = ev.DerivF.data() + st::kVX, *ay = ev.DerivF.data() + st::kVY;
        EXPECT_EQ((std::vector{ev.forces.FR[0], ev.forces.FR[1], ax[0], ax[1], ax[2]}),
                  (std::vector<double>{400, 400, 0, -400, 400}));
        EXPECT_NEAR(ay[1], ft, 1e-13);
        EXPECT_NEAR(ay[2], -ft, 1e-13);
        EXPECT_NEAR(10 * ay[0] + ay[1] + ay[2], 0, 1e-13);  // the disk takes the reaction
        EXPECT_NEAR(ev.DerivF[st::kSpin], -2 * ft / 1.25, 1e-13);
        EXPECT_EQ(ev.DerivF[st::kY + 1] + ev.DerivF[st::kAngle], 40);  // VY1 and w0
    }
}

TEST(Forces, ProjectionsInEveryQuadrant) {
    // -FR (DX, DY)/R and FT (-DY, DX)/R in every quadrant and on the axes; each damping speed in its own force.
    const double places[][2] = {{0.6, 0.8}, {-0.6, 0.8}, {-0.6, -0.8}, {0.6, -0.8}, {-1, 0}, {2, 0}, {0, 0.5}, {0, -3}};
    for (const auto& p : places) {
        Model m = sim::Start(kPreset1, 0.3);
        m.s.StateY[st::kX] = 3, m.s.StateY[st::kY] = -2;  // the disk away from the origin: D is relative to it
        m.s.StateY[st::kX + 1] = 3 + p[0], m.s.StateY[st::kY + 1] = p[1] - 2, m.s.VT[0] = 0.7, m.s.VR[0] = -0.4;
        const sim::Evaluation ev = sim::ComputeDerivatives(m.p, m.start, m.s);
        const sim::Forces& f = ev.forces;
        const double r = std::hypot(p[0], p[1]);
        const double fr = 400 * r + 1 * -0.4;  // CR R + KR VR
        EXPECT_NEAR(f.FR[0], fr, 1e-12);
        EXPECT_NEAR(f.FT[0], (10 * ev.geo.Dfi[0] + 0.1 * 0.7) / r, 1e-12);  // (CT Dfi + KT VT) / R
        const double fi = ev.geo.fi[0];
        const double got[] = {f.FRX[0], f.FRY[0], f.FTX[0], f.FTY[0], std::cos(fi), std::sin(fi)};
        const double want[] = {-fr * p[0] / r, -fr * p[1] / r, -f.FT[0] * p[1] / r, f.FT[0] * p[0] / r, p[0] / r, p[1] / r};
        for (int k = 0; k < 6; ++k) EXPECT_NEAR(got[k], want[k], 2e-15 * fr) << p[0] << "," << p[1] << " #" << k;
        EXPECT_TRUE(fi >= 0 && fi < 2 * Pi);
        // Pi has 15 digits: on the Y axis what is left along X is +cos(Pi/2) FR, 1.6E-15 FR.
        if (p[0] == 0) {
            EXPECT_EQ(f.FRX[0], std::cos(Pi / 2) * f.FR[0]) << p[1];
        }
    }
}

TEST(Angles, TwistWrapAndReductionToOneTurn) {
    const double turn = 2 * Pi;
    // Within +-0.9 unchanged to the bit; a turn off near +-2 Pi.
    for (double raw : {0.5, -0.5, 0.9, -0.9}) EXPECT_EQ(sim::WrapTwist(raw), raw);
    struct Wrap { double raw, twist; };
    for (const Wrap& w : {Wrap{1.0, 1.0}, Wrap{turn - 0.3, -0.3}, Wrap{0.3 - turn, 0.3}, Wrap{-1.0, turn - 1.0}})
        EXPECT_NEAR(sim::WrapTwist(w.raw), w.twist, 1e-15) << w.raw;
    struct Attach { double fi0, first, second; };
    // Turns taken by floor: angles in [0, 2 Pi) for either spin; the second lowered only past 2 Pi.
    for (const Attach& a : {Attach{0, 0, Pi}, Attach{0.5, 0.5, 0.5 + Pi}, Attach{4, 4, 4 - Pi}, Attach{Pi, Pi, turn},
                            Attach{-0.5, turn - 0.5, Pi - 0.5}, Attach{turn + 1, 1, 1 + Pi},
                            Attach{-turn - 1, turn - 1, Pi - 1}}) {
        const auto attach = sim::AttachmentAngles(a.fi0);
        EXPECT_NEAR(attach[0], a.first, 4e-15) << a.fi0;
        EXPECT_NEAR(attach[1], a.second, 4e-15) << a.fi0;
    }
    // The reduction error grows with the angle: ~1e-10 rad near 1e6 rad.
    const double err = std::fabs(sim::AttachmentAngles(1e6 + 0.123)[0] - std::fmod(1e6 + 0.123, turn));
    EXPECT_TRUE(err > 1e-12 && err < 1e-8) << err;
}

TEST(Step, LeavesTheNewGeometryAndTheDampingSpeedsAsBackwardDifferences) {
    Model m = sim::Start(kPreset1, 0.2);
    Steps(m, 1);
    const double h = 0.0001;
    const sim::Geometry g = sim::ComputeGeometry(m.s.StateY);
    EXPECT_EQ((std::vector{m.s.T, m.geo.R[0], m.geo.Dfi[1]}), (std::vector{h, g.R[0], g.Dfi[1]}));
    for (int e = 0; e < sim::kElements; ++e)
        EXPECT_EQ((std::vector{m.s.VR[e], m.s.VT[e], m.s.ROld[e], m.s.DfiOld[e]}),
                  (std::vector{(g.R[e] - 1) / h, (g.Dfi[e] - 0.2) / h, g.R[e], g.Dfi[e]})) << e;
}

TEST(Step, AdvancesTheTimeByARunningSumOfTheStep) {
    // T sums h, never n h: 69 steps of 1E-04 are 0.00690000000000001, not 0.0069.
    for (const auto& [h, n] : {std::pair{1e-4, 69L}, {1e-9, 3000L}, {-1e-3, 7L}}) {
        Model m = sim::Start(With(kPreset1, {{&Parameters::h, h}}), 0);
        Steps(m, n);
        double sum = 0;
        for (long i = 0; i < n; ++i) sum += h;
        EXPECT_EQ(m.s.T, sum) << h;
    }
}

TEST(Step, FourthOrderWithoutDamping) {
    // RK4's global error falls 16-fold as h halves (0.2 s at 1E-03, 5E-04 against 1,25E-04).
    auto end = [](double h) {
        Model m = sim::Start(With(kPreset1, {{&Parameters::KR, 0}, {&Parameters::KT, 0}, {&Parameters::h, h}}), 0.2);
        Steps(m, std::lround(0.2 / h));
        return m.s.StateY;
    };
    const StateVector ref = end(1.25e-4), a = end(1e-3), b = end(5e-4);
    double ea = 0, eb = 0;
    for (int k = 0; k < sim::kStateSize; ++k) ea = std::max(ea, std::fabs(a[k] - ref[k])), eb = std::max(eb, std::fabs(b[k] - ref[k]));
    EXPECT_NEAR(std::log2(ea / eb), 4, 0.3) << ea << " " << eb;
}

TEST(Conservation, EnergyOnlyFallsAndWithoutDampingStaysPut) {
    // 10 000 steps sampled every 100 (momenta and centre of mass: the verifier's ledger).
    struct Case { Parameters p; double fi0; };
    const Case cases[] = {{kPreset1, 0}, {kPreset1, 0.2},
                          {With(kPreset1, {{&Parameters::KR, 0}, {&Parameters::KT, 0}, {&Parameters::m1, 2}}), 0.2}};
    for (const Case& c : cases) {
        Model m = sim::Start(c.p, c.fi0);
        double maxE = m.start.E0, e = 0;
        for (int i = 0; i < 100; ++i) {
            Steps(m, 100);
            maxE = std::max(maxE, e = sim::ComputeE(m.p, m.start, m.s, m.geo));
        }
        EXPECT_LT(maxE, m.start.E0 * (1 + 1e-10));
        if (c.p.KR == 0) {
            EXPECT_NEAR(e, m.start.E0, 1e-6 * m.start.E0);
        } else if (c.fi0 != 0) {
            EXPECT_LT(sim::EnergyError(e, m.start.E0), -1e4);  // the twist oscillation dies out
        }
    }
}

TEST(Symmetry, ClockwiseSpinMirrorsCounterClockwise) {
    // Mirrored in X (w0, fi0 negated): Y, VY, angles, twists, FT change sign, fi -> 2 Pi - fi; X, VX, FR stay.
    // 8000 steps make more than a turn, so each load crosses +X, where a twist a turn off would show.
    for (double kr : {1.0, 0.0}) {
        Model a = sim::Start(With(kPreset1, {{&Parameters::w0, -20}, {&Parameters::KR, kr}}), 0.2);
        Model b = sim::Start(With(kPreset1, {{&Parameters::KR, kr}}), -0.2);
        for (int i = 1; i <= 80; ++i) {
            Steps(a, 100);
            Steps(b, 100);
            const double tol = 1e-12 * i;  // rounding differs, and grows
            for (int k : {0, 1, 2, 7, 8, 9}) EXPECT_NEAR(a.s.StateY[k], b.s.StateY[k], tol * 100) << k;
            for (int k : {3, 4, 5, 6, 10, 11, 12, 13}) EXPECT_NEAR(a.s.StateY[k], -b.s.StateY[k], tol * 100) << k;
            for (int e = 0; e < sim::kElements; ++e) {
                EXPECT_NEAR(a.geo.Dfi[e], -b.geo.Dfi[e], tol) << e;
                EXPECT_NEAR(a.forces.FT[e], -b.forces.FT[e], tol * 10) << e;
                EXPECT_NEAR(a.forces.FR[e], b.forces.FR[e], tol * 1e3) << e;
                EXPECT_NEAR(std::remainder(a.geo.fi[e] + b.geo.fi[e], 2 * Pi), 0, tol) << e;
            }
        }
        EXPECT_LT(a.s.fi0(), -2 * Pi);
    }
}

TEST(Failures, RaiseAndNeverStoreANonNumber) {
    struct Case { const char* name; void (*spoil)(Model&); };
    const Case cases[] = {
        {"load at the disk centre", [](Model& m) { m.s.StateY[st::kX + 1] = 0; }},
        {"zero disk mass", [](Model& m) { m.p.m0 = 0; }},
        {"zero load mass", [](Model& m) { m.p.m1 = 0; }},
        {"zero inertia", [](Model& m) { m.start.J0 = 0; }},
        {"zero step", [](Model& m) { m.p.h = 0; }},
        {"force overflow", [](Model& m) { m.start.CR = 1e308, m.s.StateY[st::kX + 1] = 1e10; }},
        {"DY/DX overflow", [](Model& m) { m.s.StateY[st::kX + 1] = 1e-320, m.s.StateY[st::kY + 1] = 1e10; }},
    };
    static_assert(sizeof(Model) % sizeof(double) == 0);
    for (const Case& c : cases) {
        Model m = sim::Start(kPreset1, 0.2);
        c.spoil(m);
        EXPECT_THROW(Steps(m, 1), sim::ArithmeticError) << c.name;
        std::array<double, sizeof(Model) / sizeof(double)> all;
        std::memcpy(all.data(), &m, sizeof m);
        for (double v : all) ASSERT_TRUE(std::isfinite(v)) << c.name;
    }
    // At rest only the time can overflow; the failed step leaves it.
    Model still = sim::Start(With(kPreset1, {{&Parameters::V0, 0}, {&Parameters::w0, 0}, {&Parameters::h, 1e308}}), 0);
    Steps(still, 1);
    EXPECT_THROW(Steps(still, 1), sim::ArithmeticError);
    EXPECT_EQ(still.s.T, 1e308);
    EXPECT_THROW(sim::Start(With(kPreset1, {{&Parameters::m0, 1e300}, {&Parameters::R0, 1e10}}), 0), sim::ArithmeticError);
    EXPECT_THROW(sim::Start(With(kPreset1, {{&Parameters::w0, 1e200}}), 0), sim::ArithmeticError);
}

}  // namespace
