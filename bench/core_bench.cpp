// The per-step and per-display-cycle costs.
#include <benchmark/benchmark.h>

#include "app/numtext.h"
#include "bench/preset.h"
#include "sim/dynamics.h"
#include "sim/energy.h"
#include "sim/model.h"

namespace {

using bench::Preset2;

void BM_RungeKuttaStep(benchmark::State& state) {
    sim::Model m = Preset2().model;
    for (auto _ : state) {
        sim::RungeKuttaStep(m);
        sim::AdvanceTime(m);
        benchmark::DoNotOptimize(m.StateY[1]);
    }
}
BENCHMARK(BM_RungeKuttaStep);

// A display cycle's own computations and its 24 number-to-text conversions.
void BM_DisplayCycleComputations(benchmark::State& state) {
    sim::Model m = Preset2().model;
    sim::RungeKuttaStep(m);
    char buf[app::kNumberTextSize];
    for (auto _ : state) {
        sim::ComputeE(m);
        sim::ComputeYmrv(m);
        sim::ComputeLoadForces(m);
        const double values[24] = {m.T,     m.w0,    m.X[0],  m.Y[0],  m.Ymrv,  m.E,
                                   m.FR[1], m.FR[2], m.R[1],  m.R[2],  m.FT[1], m.FT[2],
                                   m.fi[1] * m.DegPerRad, m.fi[2] * m.DegPerRad,
                                   m.VX[1], m.VX[2], m.VY[1], m.VY[2], m.FX[1], m.FX[2],
                                   m.FY[1], m.FY[2], -(m.FX[1] + m.FX[2]), -(m.FY[1] + m.FY[2])};
        int total = 0;
        for (double v : values) total += app::FormatNumberTo(v, ',', buf);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_DisplayCycleComputations);

}  // namespace

BENCHMARK_MAIN();
