// The sweep: the grid's values and order, each point at the scales of its
// own physics, the same answers on any number of threads and in parts, and
// each point's answer that of a single verification of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/numtext.h"
#include "sim/start.h"
#include "tests/support.h"
#include "verify/sweep.h"

namespace {

using testing_support::Started;

TEST(Sweep, AxesSpacedByRatiosOrStepsWithTheirEndsExact) {
    struct Case { double from, to; bool log; int n; std::vector<double> values; };
    const Case cases[] = {
        {10, 1e5, true, 5, {10, 100, 1000, 1e4, 1e5}},
        {20, 2e5, true, 3, {20, 2000, 2e5}},
        {0, 1, false, 5, {0, 0.25, 0.5, 0.75, 1}},
        {-20, 20, false, 3, {-20, 0, 20}},
        {3, 12, true, 1, {3}},
        // Ratios of 10^(1/3) rounded to 15 digits, as printed.
        {1, 10, true, 4, {1, 2.15443469003188, 4.64158883361278, 10}},
        // Ends whose ratio or width is beyond the doubles; a step onto 0.
        {1e-300, 1e300, true, 3, {1e-300, 1, 1e300}},
        {-1e308, 1e308, false, 3, {-1e308, 0, 1e308}},
        {-0.3, 0.6, false, 4, {-0.3, 0, 0.3, 0.6}},
    };
    for (const Case& c : cases) EXPECT_EQ(verify::AxisValues({"x", c.from, c.to, c.log}, c.n), c.values) << c.from;
}

TEST(Sweep, TheFirstAxisVariesSlowestAndPartsTakeEveryNth) {
    verify::Grid g{{{"V0", 1, 3, false}, {"w0", 10, 30, false}}, 3};
    EXPECT_EQ(g.Size(), 9);
    EXPECT_EQ(g.Values(1), (std::vector<double>{1, 10}));
    EXPECT_EQ(g.Values(2), (std::vector<double>{1, 20}));
    EXPECT_EQ(g.Values(4), (std::vector<double>{2, 10}));
    EXPECT_EQ(g.Values(9), (std::vector<double>{3, 30}));
    const verify::Scaling s;
    for (const auto& [part, parts, want] : {std::tuple{1, 1, std::vector<long long>{1, 2, 3, 4, 5, 6, 7, 8, 9}},
                                            std::tuple{1, 2, std::vector<long long>{1, 3, 5, 7, 9}},
                                            std::tuple{2, 2, std::vector<long long>{2, 4, 6, 8}},
                                            std::tuple{3, 4, std::vector<long long>{3, 7}}}) {
        g.part = part, g.parts = parts;
        std::vector<long long> got;
        for (const verify::PlannedPoint& p : verify::Plan(g, s, Started(1).model.p, 0)) got.push_back(p.index);
        EXPECT_EQ(got, want) << part << "/" << parts;
    }
}

TEST(Sweep, TheFastestRateIsOfTheSwingsAndTheDamping) {
    // Preset 1 (m0 = 10, m1 = 1, R1 = 1, J0 = 1.25): an element pulls a load
    // and the disk apart with 1/m1 + 2/m0 = 1.2 per kg; a torsional one, at
    // R1 = 1, with 1.2 + 2/J0 = 2.8 per kg m^2. Each row makes one term the
    // fastest.
    using app::Field;
    struct Case { testing_support::Typed typed; double rate; };
    const Case cases[] = {
        {{}, std::sqrt(400 * 1.2)},                         // the radial swing, CR = 400
        {{{Field::CT, "10000"}}, std::sqrt(1e4 * 2.8)},      // the torsional swing
        {{{Field::KR, "1000"}}, 1000 * 1.2},                  // radial damping
        {{{Field::KT, "1000"}}, 1000 * 2.8},                  // torsional damping
        {{{Field::KT, "1000"}, {Field::R1, "2"}}, 1000 * (1.2 / 4 + 1.6)},  // at twice the distance
        {{{Field::W0, "0"}, {Field::CT, "0"}, {Field::KR, "0"}, {Field::KT, "0"}}, 0},
    };
    for (const Case& c : cases) EXPECT_NEAR(verify::FastestRate(Started(1, c.typed).model), c.rate, 1e-12 * c.rate);
}

TEST(Sweep, EachPointSteppedByItsOwnShortestPeriod) {
    // Preset 1: the disk turns at 20 rad/s; a load on its radial element
    // against the disk swings at sqrt(CR (1/m1 + 2/m0)) = sqrt(400 * 1.2),
    // on its torsional one at sqrt(CT (1/(m1 R1^2) + 2/J0)) = sqrt(10 * 2.6);
    // the damping acts at KR * 1.2 = 1.2 and KT * 2.6 = 0.26 per second.
    // The fastest is the radial swing; preset 2 turns 10^4 times faster.
    const sim::Model p1 = Started(1).model, p2 = Started(2).model, p1h = Started(1, {{app::Field::Step, "0,002"}}).model;
    const double pi = sim::Pi;
    EXPECT_NEAR(verify::ShortestPeriod(p1), 2 * pi / std::sqrt(480), 1e-15);
    EXPECT_NEAR(verify::ShortestPeriod(p2), 2 * pi / std::sqrt(4e10 * 1.2), 1e-19);
    sim::Model still = Started(1, {{app::Field::W0, "0"}, {app::Field::CT, "0"}, {app::Field::KR, "0"},
                                   {app::Field::KT, "0"}}).model;
    EXPECT_EQ(verify::ShortestPeriod(still), INFINITY);  // nothing turns, swings or damps

    struct Case { const sim::Model* m; verify::Scaling s; double h, steps; bool own; };
    const Case cases[] = {
        {&p1, {}, verify::Round15(2 * pi / std::sqrt(480) / 100), 20000, true},
        {&p1, {50, 300}, verify::Round15(2 * pi / std::sqrt(480) / 50), 300, true},
        {&p1h, {100, 20000, true}, 0.002, 20000, false},        // the inputs' h for every point
        {&p1h, {100, 20000, true, 1.0049}, 0.002, 502, false},  // and a fixed time
        {&p2, {100, 20000, false, 1e-5}, verify::Round15(2 * pi / std::sqrt(4.8e10) / 100), 35, true},
        {&still, {}, 1e-4, 20000, false},  // no period: the inputs' own step
    };
    for (const Case& c : cases) {
        const verify::PointScale p = verify::ScaleOf(*c.m, c.s);
        EXPECT_EQ(p.h, c.h) << &c - cases;
        EXPECT_EQ(p.steps, c.steps) << &c - cases;
        EXPECT_EQ(p.ownPeriod, c.own) << &c - cases;
    }
}

TEST(Sweep, SameAnswersOnAnyThreadsAndEachThatOfItsOwnVerification) {
    // V0 and w0 over two decades each, from preset 1; a point of w0 = 0
    // claims nothing, one of h = 1 overflows.
    const sim::Parameters base = Started(1).model.p;
    verify::Grid g{{{"V0", 10, 1000, true}, {"w0", 20, 2000, true}}, 3};
    const verify::Scaling s{100, 400};
    const auto plan = verify::Plan(g, s, base, 0);
    // Progress by points and by steps, never past the end and at the end 1.
    std::vector<std::pair<long long, double>> told;
    const auto one = verify::Sweep(plan, 1, [&](long long points, double steps) { told.emplace_back(points, steps); });
    const auto two = verify::Sweep(plan, 2);
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), std::make_pair(9LL, 1.0));
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()) && told.front().first >= 0) << told.front().first;
    ASSERT_EQ(one.size(), 9u);
    for (std::size_t i = 0; i < one.size(); ++i) {
        const verify::PointResult &a = one[i], &b = two[i];
        EXPECT_EQ(a.index, static_cast<long long>(i + 1));
        EXPECT_TRUE(a.verdict == b.verdict && a.fmrv == b.fmrv && a.forceBound == b.forceBound &&
                    a.detectionLimit == b.detectionLimit && a.maxAbsYc == b.maxAbsYc) << i;
        EXPECT_STREQ(verify::PrecisionName(a.precision), "double") << i;  // what these runs ran in
        // Its values as its row prints them, read back, start the model it
        // ran, and a single verification gives its answer.
        sim::Parameters p = base;
        p.V0 = *app::ParseNumber(app::FormatNumber(a.values[0], '.'), '.');
        p.w0 = *app::ParseNumber(app::FormatNumber(a.values[1], '.'), '.');
        EXPECT_TRUE(testing_support::SameStart(sim::Start(p, 0), plan[i].started)) << i;
        p.h = a.scale.h;
        const verify::VerifyReport rep = verify::Verify(sim::Start(p, 0), static_cast<long long>(a.scale.steps));
        EXPECT_EQ(a.verdict, rep.verdict) << i;
        EXPECT_EQ(a.forceBound, verify::ForceBound(rep)) << i;
        // The bound is what the threshold and max|Yc| allow: never less than
        // half the limit, never more than it.
        EXPECT_TRUE(a.forceBound >= a.detectionLimit / 2 && a.forceBound <= a.detectionLimit) << i;
    }
    // A force injected at a hundred times the limit is the bound, to within
    // the threshold: the largest force the computed Yc allows is the one
    // that acts.
    sim::Model pushed = plan[4].started;  // V0 = 100, w0 = 200
    pushed.p.h = one[4].scale.h;
    const double force = 100 * one[4].detectionLimit;
    const double bound =
        verify::ForceBound(verify::Verify(pushed, static_cast<long long>(one[4].scale.steps), {}, true, force));
    EXPECT_TRUE(bound >= force && bound <= 1.02 * force) << bound;
    const verify::Grid odd{{{"w0", 0, 20, false}, {"h", 1e-4, 1, false}}, 2};
    const auto edge = verify::Sweep(verify::Plan(odd, {100, 400, true}, base, 0), 2);
    EXPECT_EQ(edge[0].verdict, verify::Verdict::kNoLimitNorClaim);  // a disk that does not turn: nothing along Y
    EXPECT_EQ(edge[0].fmrv, 0);
    // 20 rad/s at h = 1: RK4 amplifies the turn until it overflows, and the
    // point has no numbers.
    EXPECT_EQ(edge[3].verdict, verify::Verdict::kRunFailed);
    EXPECT_TRUE(std::isnan(edge[3].fmrv) && std::isnan(edge[3].forceBound));
    // A step through 0 may land on -0, which prints, and so runs, as 0; a
    // name that is no input of the motion starts nothing.
    EXPECT_FALSE(std::signbit(verify::Plan({{{"V0", -0.3, 0.6, false}}, 4}, s, base, 0)[1].started.p.V0));
    EXPECT_EQ(verify::Plan({{{"NC0", 1, 2, false}}, 2}, s, base, 0)[0].refused, "NC0 is no input of the motion");
}

}  // namespace
