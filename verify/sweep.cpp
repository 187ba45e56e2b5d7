#include "verify/sweep.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <system_error>
#include <thread>

#include "sim/energy.h"
#include "sim/start.h"

namespace verify {

double Round15(double x) {
    if (!std::isfinite(x)) return x;
    if (x == 0) return 0;  // printed "0", a negative zero reads back as 0
    char text[32];
    std::snprintf(text, sizeof text, "%.14e", x);
    return std::strtod(text, nullptr);
}

std::vector<double> AxisValues(const Axis& axis, int n) {
    std::vector<double> v;
    const double a = axis.from, b = axis.to;
    // Equal steps come to 15 digits of the range, not of the value: a step
    // through 0 lands on 0, not on the rounding of -0.3 + 0.3.
    const double quantum = std::pow(10.0, std::floor(std::log10(std::max(std::fabs(a), std::fabs(b)))) - 14);
    for (int i = 0; i < n; ++i) {
        const double f = n == 1 ? 0 : static_cast<double>(i) / (n - 1);
        // Equal ratios through the logarithms and equal steps as a weighted
        // mean, so that no ratio or width overflows between finite ends.
        double x = axis.log ? std::exp(std::log(a) + (std::log(b) - std::log(a)) * f) : a * (1 - f) + b * f;
        // exp(log a) keeps a only to |log a| units in the last place.
        if (i == 0 || i == n - 1) x = i == 0 ? a : b;
        if (!axis.log && quantum > 0 && std::isfinite(quantum)) x = std::round(x / quantum) * quantum;
        // Rounded to the 15 digits printed, the ends are the values given,
        // not a power that comes within a unit in the last place of them.
        v.push_back(Round15(x));
    }
    return v;
}

double ShortestPeriod(const sim::Model& m) {
    const double fastest = FastestRate(m);
    return fastest > 0 ? 2 * sim::Pi / fastest : INFINITY;
}

PointScale ScaleOf(const sim::Model& started, const Scaling& s) {
    PointScale p;
    const double period = ShortestPeriod(started);
    if (s.inputsH) {
        p.h = started.p.h;
    } else if (std::isfinite(period)) {
        p.h = Round15(period / s.stepsPerPeriod);
        p.ownPeriod = true;
    } else {
        p.h = started.p.h;  // nothing sets a period: the inputs' own step
    }
    p.steps = s.fixedTime > 0 ? VerifySteps(s.fixedTime, p.h) : static_cast<double>(s.steps);
    return p;
}

double ForceBound(const VerifyReport& rep) {
    // Without a limit, rounding has set no threshold to bound a force by.
    if (!LimitKnown(rep.detectionLimit)) return NAN;
    return sim::ForceForShift(rep.maxAbsYc + rep.yThreshold, rep.time, rep.totalMass);
}

long long Grid::Size() const {
    long long n = 1;
    for (std::size_t k = 0; k < axes.size(); ++k) n *= points;
    return n;
}

std::vector<double> Grid::Values(long long index) const {
    std::vector<std::vector<double>> axisValues;
    for (const Axis& a : axes) axisValues.push_back(AxisValues(a, points));
    return ValuesAt(axisValues, index);
}

std::vector<double> Grid::ValuesAt(const std::vector<std::vector<double>>& axisValues, long long index) const {
    std::vector<double> v(axes.size());
    long long rest = index - 1;
    for (std::size_t k = axes.size(); k-- > 0;) {
        v[k] = axisValues[k][static_cast<std::size_t>(rest % points)];
        rest /= points;
    }
    return v;
}

namespace {

// Runs work(i) for i = 0 .. n-1 on up to `jobs` threads, calling tick on
// this thread every 50 ms while they go. Where the system gives no thread,
// the work goes on here.
template <class Work, class Tick>
void OnThreads(std::size_t n, int jobs, Work&& work, Tick&& tick) {
    std::atomic<std::size_t> next{0}, finished{0};
    auto worker = [&] {
        for (std::size_t i; (i = next++) < n; ++finished) work(i);
    };
    std::vector<std::thread> threads;
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)), n);
    for (std::size_t t = 0; t < count; ++t) {
        try {
            threads.emplace_back(worker);
        } catch (const std::system_error&) {
            break;  // as many as the system gives
        }
    }
    if (threads.empty()) worker();
    while (finished < n) {
        tick();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    for (std::thread& t : threads) t.join();
    tick();
}

}  // namespace

std::vector<PlannedPoint> Plan(const Grid& grid, const Scaling& scaling, const sim::Parameters& inputs, double fi0,
                               int jobs) {
    std::vector<const sim::ParameterRow*> swept;
    for (const Axis& a : grid.axes) swept.push_back(sim::FindParameter(a.name));
    std::vector<std::vector<double>> axisValues;
    for (const Axis& a : grid.axes) axisValues.push_back(AxisValues(a, grid.points));
    std::vector<PlannedPoint> plan;
    for (long long i = grid.part; i <= grid.Size(); i += grid.parts) {
        PlannedPoint p;
        p.index = i;
        p.values = grid.ValuesAt(axisValues, i);
        plan.push_back(std::move(p));
    }
    // Each point's start set-up is its own: they are made on the threads too.
    OnThreads(plan.size(), jobs, [&](std::size_t k) {
        PlannedPoint& p = plan[k];
        sim::Parameters point = inputs;
        for (std::size_t a = 0; a < swept.size(); ++a) {
            if (!swept[a]) {
                p.refused = grid.axes[a].name + " is no input of the motion";
                return;
            }
            point.*swept[a]->value = Round15(p.values[a]);
        }
        try {
            p.started = sim::Start(point, fi0);
            p.scale = ScaleOf(p.started, scaling);
            p.refused = Unphysical(point);
            if (p.refused.empty()) p.refused = StepsProblem(p.scale.h, p.scale.steps);
        } catch (const std::exception&) {
            p.refused = "the start set-up fails for these values";
        }
    }, [] {});
    return plan;
}

namespace {

PointResult RunPoint(const PlannedPoint& p, double injectedForceY0, PrecisionChoice precision) {
    PointResult r;
    r.index = p.index;
    r.values = p.values;
    r.scale = p.scale;
    try {
        sim::Model m = p.started;
        m.p.h = p.scale.h;
        // One point runs its three runs one after another: the points
        // themselves fill the threads.
        const VerifyReport rep =
            VerifyChoosing(precision, m, static_cast<long long>(p.scale.steps), {}, false, injectedForceY0);
        r.fmrv = rep.fmrv;
        r.detectionLimit = rep.detectionLimit;
        r.claimFactor = rep.claimFactor;
        r.maxAbsYc = rep.maxAbsYc;
        r.forceBound = ForceBound(rep);
        r.verdict = rep.verdict;
        r.precision = rep.precision;
    } catch (const RunFailure& f) {
        // The verdict stays kRunFailed, and the numbers none.
        r.failure = f;
    } catch (const std::exception& e) {
        r.failure = RunFailure(0, 0, 0, e.what());
    }
    return r;
}

}  // namespace

std::vector<PointResult> Sweep(const std::vector<PlannedPoint>& planned, int jobs, const SweepProgress& progress,
                               double injectedForceY0, PrecisionChoice precision) {
    const std::size_t n = planned.size();
    std::vector<PointResult> out(n);
    // Each point owns its inputs and its slot: the table is the same bytes
    // for any number of threads. Progress counts steps, not points: a point
    // at a small h takes longer than one at a large.
    double total = 0;
    for (const PlannedPoint& p : planned) total += p.scale.steps;
    std::atomic<long long> points{0}, steps{0};
    OnThreads(n, jobs, [&](std::size_t i) {
        out[i] = RunPoint(planned[i], injectedForceY0, precision);
        steps += static_cast<long long>(planned[i].scale.steps);
        ++points;
    }, [&] {
        if (progress) progress(points, total > 0 ? static_cast<double>(steps) / total : 1);
    });
    return out;
}

}  // namespace verify
