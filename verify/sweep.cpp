#include "verify/sweep.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <thread>

namespace verify {

namespace {

std::string Text(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", x);
    return text;
}

}  // namespace

double Round15(double x) {
    if (!std::isfinite(x) || x == 0) return x;
    char text[32];
    std::snprintf(text, sizeof text, "%.14e", x);
    return std::strtod(text, nullptr);
}

std::vector<double> AxisValues(const Axis& axis, int n) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i) {
        const double f = n == 1 ? 0 : static_cast<double>(i) / (n - 1);
        // Equal ratios: FROM (TO/FROM)^f; equal steps otherwise. Rounded to
        // the 15 digits printed, the ends are the values given, not a power
        // that comes within a unit in the last place of them.
        const double x = axis.log ? axis.from * std::pow(axis.to / axis.from, f) : axis.from + (axis.to - axis.from) * f;
        v.push_back(Round15(x));
    }
    return v;
}

double ShortestPeriod(const sim::Model& m) {
    const double fastest = FastestRate(m);
    return fastest > 0 ? 2 * m.Pi / fastest : INFINITY;
}

PointScale ScaleOf(const sim::Model& started, const Scaling& s) {
    PointScale p;
    const double period = ShortestPeriod(started);
    if (s.inputsH) {
        p.h = started.h;
    } else if (std::isfinite(period)) {
        p.h = Round15(period / s.stepsPerPeriod);
        p.ownPeriod = true;
    } else {
        p.h = started.h;  // nothing sets a period: the inputs' own step
    }
    p.steps = s.fixedTime > 0 ? VerifySteps(s.fixedTime, p.h) : static_cast<double>(s.steps);
    return p;
}

double ForceBound(const VerifyReport& rep) {
    return 2 * rep.totalMass * (rep.maxAbsYc + rep.yThreshold) / (rep.time * rep.time);
}

long long Grid::Size() const {
    long long n = 1;
    for (std::size_t k = 0; k < axes.size(); ++k) n *= points;
    return n;
}

std::vector<double> Grid::Values(long long index) const {
    std::vector<double> v(axes.size());
    long long rest = index - 1;
    for (std::size_t k = axes.size(); k-- > 0;) {
        v[k] = AxisValues(axes[k], points)[static_cast<std::size_t>(rest % points)];
        rest /= points;
    }
    return v;
}

std::vector<PlannedPoint> Plan(const Grid& grid, const Scaling& scaling, const BuildPoint& build) {
    std::vector<PlannedPoint> plan;
    for (long long i = grid.part; i <= grid.Size(); i += grid.parts) {
        PlannedPoint p;
        p.index = i;
        p.values = grid.Values(i);
        try {
            const sim::Model m = build(p.values);
            p.scale = ScaleOf(m, scaling);
            p.refused = Unphysical(m);
            if (p.refused.empty() && !(p.scale.h >= DBL_MIN))
                p.refused = "a step below the smallest normal double keeps only a few of its digits";
            if (p.refused.empty() && !(p.scale.steps >= kMinVerifySteps && 7 * p.scale.steps <= kMaxVerifyStepsInAll))
                p.refused = "its time is " + Text(p.scale.steps) + " steps of h; a verification makes from " +
                            std::to_string(kMinVerifySteps) + " to " + std::to_string(kMaxVerifyStepsInAll / 7);
        } catch (const std::exception&) {
            p.refused = "the start set-up fails for these values";
        }
        plan.push_back(std::move(p));
    }
    return plan;
}

namespace {

PointResult RunPoint(const PlannedPoint& p, const BuildPoint& build) {
    PointResult r;
    r.index = p.index;
    r.values = p.values;
    r.scale = p.scale;
    try {
        sim::Model m = build(p.values);
        m.h = p.scale.h;
        // One point runs its three runs one after another: the points
        // themselves fill the threads.
        const VerifyReport rep = Verify(m, static_cast<long long>(p.scale.steps), {}, false);
        r.fmrv = rep.fmrv;
        r.detectionLimit = rep.detectionLimit;
        r.claimFactor = rep.claimFactor;
        r.maxAbsYc = rep.maxAbsYc;
        r.forceBound = ForceBound(rep);
        r.verdict = rep.verdict;
    } catch (const std::exception&) {
        r.failed = true;
    }
    return r;
}

}  // namespace

std::vector<PointResult> Sweep(const std::vector<PlannedPoint>& planned, const BuildPoint& build, int jobs,
                               const ProgressFn& progress) {
    const std::size_t n = planned.size();
    std::vector<PointResult> out(n);
    // Each point owns its inputs and its slot: the table is the same bytes
    // for any number of threads.
    std::atomic<std::size_t> next{0}, done{0};
    auto work = [&] {
        for (std::size_t i; (i = next++) < n; ++done) out[i] = RunPoint(planned[i], build);
    };
    std::vector<std::thread> threads;
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)), n);
    for (std::size_t t = 0; t < count; ++t) threads.emplace_back(work);
    while (done < n) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (progress) progress(static_cast<double>(done) / static_cast<double>(n));
    }
    for (std::thread& t : threads) t.join();
    return out;
}

}  // namespace verify
