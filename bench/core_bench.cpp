// The per-step and per-display-cycle costs.
#include <benchmark/benchmark.h>

#include "app/numtext.h"
#include "app/readouts.h"
#include "bench/preset.h"
#include "sim/dynamics.h"
#include "sim/energy.h"
#include "sim/model.h"

namespace {

using bench::Preset2;

void BM_RungeKuttaStep(benchmark::State& state) {
    sim::Model m = Preset2();
    for (auto _ : state) {
        sim::Step(m);
        benchmark::DoNotOptimize(m.s.StateY[1]);
    }
}
BENCHMARK(BM_RungeKuttaStep);

// The step after code that left the upper halves of the AVX registers in
// use, as Qt's start-up and drawing do before a run's steps. Where that
// makes SSE code wait (processors with AVX-512), this is as fast as the
// step above only while the step clears them itself. Written in assembly,
// so that no compiler clears them on the way back.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((noinline)) void LeaveUpperHalvesInUse() {
    if (__builtin_cpu_supports("avx")) asm volatile("vcmpps $15, %%ymm15, %%ymm15, %%ymm15" ::: "xmm15");
}
void BM_RungeKuttaStepAfterWideCode(benchmark::State& state) {
    sim::Model m = Preset2();
    for (auto _ : state) {
        LeaveUpperHalvesInUse();
        sim::Step(m);
        benchmark::DoNotOptimize(m.s.StateY[1]);
    }
}
BENCHMARK(BM_RungeKuttaStepAfterWideCode);
#endif

// A display cycle's own computations and its 24 number-to-text conversions.
void BM_DisplayCycleComputations(benchmark::State& state) {
    sim::Model m = Preset2();
    sim::Step(m);
    char buf[app::kNumberTextSize];
    for (auto _ : state) {
        const sim::DisplayValues now = sim::ComputeDisplayValues(m);
        int total = 0;
        for (const app::Readout& r : app::kReadouts) total += app::FormatNumberTo(r.value(m, now), ',', buf);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_DisplayCycleComputations);

}  // namespace

BENCHMARK_MAIN();
