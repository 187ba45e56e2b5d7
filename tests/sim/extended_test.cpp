// The model in the verifier's wider type: double's motion, a rounding floor decades lower.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "sim/energy_impl.h"
#include "sim/start_impl.h"
#include "verify/extended.h"

namespace {

using sim::Parameters, verify::Extended;

// The window's two presets: m0, m1, R0, R1, V0, w0, CT, KR, KT, h.
constexpr Parameters kPreset1{10, 1, 0.5, 1, 10, 20, 10, 1, 0.1, 1e-4};
constexpr Parameters kPreset2{10, 1, 0.5, 1, 1e5, 2e5, 1, 1000, 1, 1e-9};

double D(double v) { return v; }
double D(Extended v) { return to_double(v); }

template <class Real>
sim::BasicModel<Real> Started(const Parameters& p) { return sim::Start(sim::ParametersIn<Real>(p), 0); }

TEST(Extended, StepsAsDoubleDoesToDoublesAccuracy) {
    // They differ by double's rounding alone, and do differ.
    for (const Parameters& p : {kPreset1, kPreset2}) {
        sim::Model a = Started<double>(p);
        sim::BasicModel<Extended> b = Started<Extended>(p);
        for (int i = 0; i < 300; ++i) sim::Step(a), sim::Step(b);
        bool differ = false;
        for (int half : {0, sim::state::kPositions}) {
            double scale = 0;
            for (int k = half; k < half + sim::state::kPositions; ++k) scale = std::max(scale, std::fabs(a.s.StateY[k]));
            for (int k = half; k < half + sim::state::kPositions; ++k) {
                EXPECT_NEAR(D(b.s.StateY[k]), a.s.StateY[k], 1e-12 * scale) << p.h << " #" << k;
                differ = differ || D(b.s.StateY[k]) != a.s.StateY[k];
            }
        }
        EXPECT_TRUE(differ) << p.h;
    }
}

// The largest |Y0|, |Py|, |Yc| over n steps of preset 2: 0 in exact arithmetic, by symmetry.
struct Floors { double y, py, yc; };
template <class Real>
Floors RoundingFloors(long n) {
    sim::BasicModel<Real> m = Started<Real>(kPreset2);
    Floors f{};
    for (long i = 0; i < n; ++i) {
        sim::Step(m);
        const sim::BasicInvariants<Real> inv = sim::ComputeInvariants(m.p, m.start, m.s);
        f = {std::max(f.y, std::fabs(D(m.s.Y(0)))), std::max(f.py, std::fabs(D(inv.Py))), std::max(f.yc, std::fabs(D(inv.Yc)))};
    }
    return f;
}

TEST(Extended, RoundingFloorIsDecadesBelowDoubles) {
    constexpr long n = 20000;
    const Floors d = RoundingFloors<double>(n), x = RoundingFloors<Extended>(n);
    EXPECT_GT(d.y, 1e10 * x.y) << d.y << " " << x.y;
    // Py and Yc to each type's epsilon: roundings of m1 w0 R1 and R1 walk at random, sqrt(n).
    const double eps[] = {std::numeric_limits<double>::epsilon(), std::numeric_limits<Extended>::epsilon()};
    for (int t = 0; t < 2; ++t) {
        const Floors& f = t == 0 ? d : x;
        EXPECT_LT(f.py, std::sqrt(n) * eps[t] * 2e5) << t;
        EXPECT_LT(f.yc, std::sqrt(n) * eps[t] * 1) << t;
    }
}

}  // namespace
