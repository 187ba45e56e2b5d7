// What a wider number type costs and what it buys: the step of both presets
// in double, QD's double-double (dd_real) and GCC's binary128 (__float128),
// and each type's rounding floor, the largest |Y0| over a run of 1E+06
// steps. By the symmetry of the two loads the disk never leaves Y = 0 in
// exact arithmetic, so all of Y0 is rounding: the smallest lateral shift a
// run in that type can show. The verifier's wider type (verify/extended.h)
// is the one that shows the smallest lateral force in a given processor
// time (BM_Reach).
#include <benchmark/benchmark.h>
#include <qd/dd_real.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>
#include <type_traits>
#include <utility>

#include "app/inputs.h"
#include "verify/extended.h"
#include "sim/energy.h"
#include "sim/start_impl.h"

namespace {

using verify::Quad;

double ToDouble(double v) { return v; }
double ToDouble(const dd_real& v) { return to_double(v); }
double ToDouble(Quad v) { return to_double(v); }

template <class Real>
sim::BasicModel<Real> Preset(int preset) {
    return sim::Start(sim::ParametersIn<Real>(app::PresetParameters(preset)), 0);
}

// The thread's processor time [s]: on a shared machine the wall time also
// counts other processes' turns.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Processor seconds per step of double by preset, for each benchmark: the
// other types' paces are also given as multiples of it ("x_double"; double
// is registered, so run, first).
std::map<std::pair<int, int>, double> doubleStep;

template <class Real>
void ReportPace(benchmark::State& state, int which, double seconds, double steps) {
    const double pace = seconds / steps;
    const auto key = std::pair{which, static_cast<int>(state.range(0))};
    if constexpr (std::is_same_v<Real, double>) doubleStep[key] = pace;
    if (doubleStep.count(key)) state.counters["x_double"] = pace / doubleStep[key];
}

template <class Real>
void BM_Step(benchmark::State& state) {
    sim::BasicModel<Real> m = Preset<Real>(static_cast<int>(state.range(0)));
    const double begin = CpuSeconds();
    for (auto _ : state) {
        sim::Step(m);
        benchmark::DoNotOptimize(m.s.StateY[1]);
    }
    ReportPace<Real>(state, 0, CpuSeconds() - begin, static_cast<double>(state.iterations()));
}

constexpr long kFloorSteps = 1000000;

// One run of kFloorSteps steps: the largest |Y0| it reaches (and its
// decimal logarithm, which the report shows in full), and its pace.
template <class Real>
void BM_YFloor(benchmark::State& state) {
    double floor = 0;
    for (auto _ : state) {
        const double begin = CpuSeconds();
        sim::BasicModel<Real> m = Preset<Real>(static_cast<int>(state.range(0)));
        for (long i = 0; i < kFloorSteps; ++i) {
            sim::Step(m);
            floor = std::max(floor, std::fabs(ToDouble(m.s.Y(0))));
        }
        ReportPace<Real>(state, 1, CpuSeconds() - begin, kFloorSteps);
    }
    state.counters["Y_floor_m"] = floor;
    state.counters["log10_Y_floor"] = floor > 0 ? std::log10(floor) : -999;
}

// The reach: the smallest constant lateral force on the disk that a run of
// kBudget processor seconds would show, 2 M Y_floor / t^2 - the shift
// F t^2 / (2 M) of the whole mass M must rise above the rounding of Y0 over
// the run's time t. A slower type runs a shorter time in the budget, which
// costs it the square; a lower floor gains it back in proportion.
constexpr double kBudget = 5;

template <class Real>
void BM_Reach(benchmark::State& state) {
    for (auto _ : state) {
        const double begin = CpuSeconds();
        sim::BasicModel<Real> m = Preset<Real>(static_cast<int>(state.range(0)));
        double floor = 0;
        long n = 0;
        for (; CpuSeconds() - begin < kBudget; n += 1000) {
            for (int i = 0; i < 1000; ++i) {
                sim::Step(m);
                floor = std::max(floor, std::fabs(ToDouble(m.s.Y(0))));
            }
        }
        const sim::Parameters p = app::PresetParameters(static_cast<int>(state.range(0)));
        state.counters["steps"] = static_cast<double>(n);
        state.counters["Y_floor_m"] = floor;
        state.counters["F_min_N"] = sim::ForceForShift(floor, n * p.h, p.m0 + 2 * p.m1);
        state.counters["log10_F_min"] = std::log10(sim::ForceForShift(floor, n * p.h, p.m0 + 2 * p.m1));
    }
}

}  // namespace

BENCHMARK_TEMPLATE(BM_Step, double)->Arg(1)->Arg(2);
BENCHMARK_TEMPLATE(BM_Step, dd_real)->Arg(1)->Arg(2);
BENCHMARK_TEMPLATE(BM_Step, Quad)->Arg(1)->Arg(2);
BENCHMARK_TEMPLATE(BM_YFloor, double)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_TEMPLATE(BM_YFloor, dd_real)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_TEMPLATE(BM_YFloor, Quad)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_TEMPLATE(BM_Reach, double)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_TEMPLATE(BM_Reach, dd_real)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_TEMPLATE(BM_Reach, Quad)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
