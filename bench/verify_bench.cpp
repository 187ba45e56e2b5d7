// The verifier's and the sweep's use of the cores: a verification of preset
// 2 with its three runs at once against one after another, and the 81
// points of V0 = 10..1E+05 by w0 = 20..2E+05 on one thread and on two. Run
// it on an idle machine and compare the pairs (wall-clock time).
#include <benchmark/benchmark.h>

#include "bench/preset.h"
#include "verify/sweep.h"
#include "verify/verify.h"

namespace {

using bench::Preset2;

// --verify --preset 2: 1E-04 s, 10^5 steps of h.
void BM_VerifyPreset2(benchmark::State& state) {
    const sim::Model m = Preset2();
    for (auto _ : state) benchmark::DoNotOptimize(verify::Verify(m, 100000, {}, state.range(0) != 0).verdict);
}
BENCHMARK(BM_VerifyPreset2)->ArgName("atOnce")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// One core's pace of a verification in each number type, its ledger and
// samples included: preset 2 for 1E+04 steps of h, 7E+04 in the three
// runs one after another. The runner's budget for lengthening its default
// time (verify::kBudgetStepsInAll) is ten seconds of these paces.
void BM_VerifyPrecision(benchmark::State& state) {
    const sim::Model m = Preset2();
    const auto precision = state.range(0) ? verify::Precision::kExtended : verify::Precision::kDouble;
    constexpr long long kSteps = 10000;
    for (auto _ : state) benchmark::DoNotOptimize(verify::Verify(m, kSteps, {}, false, 0, precision).verdict);
    state.counters["steps_per_s"] = benchmark::Counter(static_cast<double>(verify::kStepsInAllRuns * kSteps),
                                                       benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_VerifyPrecision)->ArgName("extended")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// --sweep V0=10:1e5 --sweep w0=20:2e5 --points 9 at the default scales.
void BM_Sweep81(benchmark::State& state) {
    const verify::Grid grid{{{"V0", 10, 1e5, true}, {"w0", 20, 2e5, true}}, 9};
    const auto plan = verify::Plan(grid, verify::Scaling{}, Preset2().p, 0);
    for (auto _ : state) benchmark::DoNotOptimize(verify::Sweep(plan, static_cast<int>(state.range(0))).size());
}
BENCHMARK(BM_Sweep81)->ArgName("jobs")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
