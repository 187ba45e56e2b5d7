// The right-hand side: geometry, forces and accelerations of one evaluation.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/arith.h"
#include "tests/sim_fixture.h"

namespace {

using testing_support::kPreset1;
using testing_support::Started;

TEST(ComputeDerivatives, Preset1StartIsPureCentripetal) {
    sim::Model m = Started(kPreset1);
    sim::ComputeDerivatives(m);
    EXPECT_EQ(m.FiAttach[1], 0);
    EXPECT_EQ(m.FiAttach[2], m.Pi);
    EXPECT_EQ(m.Dfi[1], 0);
    EXPECT_EQ(m.Dfi[2], 0);
    // CR * R1 = m1 * w0^2 * R1: the spring supplies exactly the centripetal force.
    EXPECT_EQ(m.FR[1], 400);
    EXPECT_EQ(m.FR[2], 400);
    EXPECT_EQ(m.FT[1], 0);
    EXPECT_EQ(m.FT[2], 0);
    // Load 2 lies on -X: polar angle Pi, projection angle 0.
    EXPECT_EQ(m.fi[2], m.Pi);
    EXPECT_EQ(m.AcuteAngle[2], 0);
    struct Row {
        int k;
        double value;
    };
    const Row rows[] = {{2, 10}, {5, 20}, {7, 20}, {8, 0}, {9, -400}, {10, 400},
                        {11, 0}, {12, 0},  {13, 0}, {14, 0}};
    for (const Row& r : rows) EXPECT_EQ(m.DerivF[r.k], r.value) << "DerivF(" << r.k << ")";
}

TEST(ComputeDerivatives, TwistPushesLoadsForwardAndBrakesDisk) {
    sim::Model m = Started(kPreset1, 0.2);
    sim::ComputeDerivatives(m);
    // FT = CT * 0.2 / R1 = 2 N on each load; torque 2 * 2 N*m on J0 = 1.25.
    const double tol = 1e-13;
    EXPECT_NEAR(m.Dfi[1], 0.2, tol);
    EXPECT_NEAR(m.Dfi[2], 0.2, tol);
    EXPECT_NEAR(m.FT[1], 2, tol);
    EXPECT_NEAR(m.FT[2], 2, tol);
    EXPECT_NEAR(m.FTY[1], 2, tol);
    EXPECT_NEAR(m.FTY[2], -2, tol);
    EXPECT_EQ(m.FTX[1], 0);
    EXPECT_EQ(m.FTX[2], 0);
    EXPECT_NEAR(m.DerivF[14], -3.2, tol);
    // Newton's third law: the disk's acceleration balances the loads'.
    EXPECT_NEAR(m.M[0] * m.DerivF[11] + m.M[1] * m.DerivF[12] + m.M[2] * m.DerivF[13], 0, tol);
}

TEST(ComputeDerivatives, ProjectionsMatchTheVectorForm) {
    // A load in each quadrant: radial force -FR*(DX,DY)/R and tangential
    // force FT*(-DY,DX)/R, whatever the quadrant rules do with the angles.
    const double places[][2] = {{0.6, 0.8}, {-0.6, 0.8}, {-0.6, -0.8}, {0.6, -0.8}, {-1, 0}, {2, 0}};
    for (const auto& p : places) {
        sim::Model m = Started(kPreset1, 0.3);
        m.StateY[2] = p[0];
        m.StateY[5] = p[1];
        m.VT[1] = 0.7;
        m.VR[1] = -0.4;
        sim::ComputeDerivatives(m);
        const double r = std::hypot(p[0], p[1]);
        const double fr = 400 * r + 1 * -0.4;
        EXPECT_NEAR(m.FR[1], fr, 1e-12);
        EXPECT_NEAR(m.FT[1], (10 * m.Dfi[1] + 0.1 * 0.7) / r, 1e-12);
        EXPECT_NEAR(m.FRX[1], -fr * p[0] / r, 1e-12) << p[0] << "," << p[1];
        EXPECT_NEAR(m.FRY[1], -fr * p[1] / r, 1e-12) << p[0] << "," << p[1];
        EXPECT_NEAR(m.FTX[1], -m.FT[1] * p[1] / r, 1e-12) << p[0] << "," << p[1];
        EXPECT_NEAR(m.FTY[1], m.FT[1] * p[0] / r, 1e-12) << p[0] << "," << p[1];
        EXPECT_GE(m.fi[1], 0);
        EXPECT_LT(m.fi[1], 2 * m.Pi);
        EXPECT_NEAR(std::cos(m.fi[1]), p[0] / r, 1e-14);
        EXPECT_NEAR(std::sin(m.fi[1]), p[1] / r, 1e-14);
    }
}

TEST(ComputeDerivatives, DampingCoefficientsStayInTheirOwnForce) {
    sim::Model base = Started(kPreset1, 0.2);
    base.VR[1] = 3;
    base.VT[1] = 5;
    sim::Model a = base, b = base, c = base;
    b.KR = 7;  // changes FR only
    c.KT = 9;  // changes FT only
    sim::ComputeDerivatives(a);
    sim::ComputeDerivatives(b);
    sim::ComputeDerivatives(c);
    EXPECT_EQ(b.FT[1], a.FT[1]);
    EXPECT_NE(b.FR[1], a.FR[1]);
    EXPECT_EQ(c.FR[1], a.FR[1]);
    EXPECT_NE(c.FT[1], a.FT[1]);
}

TEST(WrapTwist, CorrectionsByATurn) {
    sim::Model m;
    sim::SetConstants(m);
    const double pi2 = 2 * m.Pi;
    struct Case {
        double raw, wrapped;
    };
    const Case cases[] = {
        {0.5, 0.5},           {-0.5, -0.5},          {pi2 - 0.3, (pi2 - 0.3) - pi2},
        {0.3 - pi2, pi2 + (0.3 - pi2)}, {1.0, (1.0 - pi2) + pi2}, {-1.0, pi2 - 1.0},
        {0.9, 0.9},           {-0.9, -0.9},
    };
    for (const Case& c : cases) EXPECT_EQ(sim::WrapTwist(c.raw, m.Pi), c.wrapped) << c.raw;
    EXPECT_NEAR(sim::WrapTwist(pi2 - 0.3, m.Pi), -0.3, 1e-15);
    EXPECT_NEAR(sim::WrapTwist(0.3 - pi2, m.Pi), 0.3, 1e-15);
    EXPECT_NEAR(sim::WrapTwist(1.0, m.Pi), 1.0, 1e-15);
}

TEST(AttachmentAngles, ReductionToOneTurn) {
    sim::Model m;
    sim::SetConstants(m);
    struct Case {
        double fi0, attach1, attach2;
    };
    const Case cases[] = {
        {0, 0, m.Pi},
        {-0.5, 2 * m.Pi - 0.5, m.Pi - 0.5},  // clockwise: whole turns taken by floor
        {0.5, 0.5, 0.5 + m.Pi},
        {4.0, 4.0 - 2 * m.Pi + 2 * m.Pi, 4.0 + m.Pi - 2 * m.Pi},
        {2 * m.Pi + 1, 1, 1 + m.Pi},
    };
    for (const Case& c : cases) {
        m.fi[0] = c.fi0;
        sim::AttachmentAngles(m);
        EXPECT_NEAR(m.FiAttach[1], c.attach1, 4e-16 * 8) << c.fi0;
        EXPECT_NEAR(m.FiAttach[2], c.attach2, 4e-16 * 8) << c.fi0;
    }
}

TEST(AttachmentAngles, ReductionErrorGrowsWithTheAngle) {
    sim::Model m;
    sim::SetConstants(m);
    // fmod is exact, and 2*Pi is exact: the remainder a perfect reduction gives.
    m.fi[0] = 1e6 + 0.123;
    sim::AttachmentAngles(m);
    const double err = std::fabs(m.FiAttach[1] - std::fmod(m.fi[0], 2 * m.Pi));
    EXPECT_GT(err, 1e-12);
    EXPECT_LT(err, 1e-8);
}

TEST(ComputeDerivatives, FailuresRaiseInsteadOfStoring) {
    struct Case {
        const char* name;
        void (*spoil)(sim::Model&);
    };
    const Case cases[] = {
        {"load at the disk centre", [](sim::Model& m) { m.StateY[2] = 0; }},
        {"zero disk mass", [](sim::Model& m) { m.M[0] = 0; }},
        {"zero load mass", [](sim::Model& m) { m.M[1] = 0; }},
        {"zero inertia", [](sim::Model& m) { m.J0 = 0; }},
        {"force overflow", [](sim::Model& m) { m.CR = 1e308; m.StateY[2] = 1e10; }},
        {"DY/DX overflow", [](sim::Model& m) { m.StateY[2] = 1e-320; m.StateY[5] = 1e10; }},
    };
    for (const Case& c : cases) {
        sim::Model m = Started(kPreset1, 0.2);
        c.spoil(m);
        EXPECT_THROW(sim::ComputeDerivatives(m), sim::ArithmeticError) << c.name;
        for (double v : m.FR) EXPECT_TRUE(std::isfinite(v)) << c.name;
        for (double v : m.FT) EXPECT_TRUE(std::isfinite(v)) << c.name;
        for (double v : m.DerivF) EXPECT_TRUE(std::isfinite(v)) << c.name;
    }
}

}  // namespace
