// The per-step and per-display-cycle costs.
#include <benchmark/benchmark.h>

#include "app/numtext.h"
#include "sim/dynamics.h"
#include "sim/energy.h"
#include "sim/model.h"

namespace {

sim::Model Preset2() {
    sim::Model m;
    sim::SetConstants(m);
    m.M[0] = 10;
    m.R[0] = 0.5;
    m.VX[0] = 100000;
    m.w0 = 200000;
    m.M[1] = m.M[2] = 1;
    m.R[1] = m.R[2] = 1;
    m.CT = 1;
    m.KR = 1000;
    m.KT = 1;
    m.h = 1e-9;
    m.NC0 = 100;
    m.MT = 1e-5;
    m.ML = 0.25;
    m.MV = 100000;
    m.MF = 1e10;
    sim::StartSetup(m, 0);
    return m;
}

void BM_RungeKuttaStep(benchmark::State& state) {
    sim::Model m = Preset2();
    for (auto _ : state) {
        sim::RungeKuttaStep(m);
        sim::AccountStep(m);
        benchmark::DoNotOptimize(m.StateY[1]);
    }
}
BENCHMARK(BM_RungeKuttaStep);

// A display cycle's own computations and its 24 number-to-text conversions.
void BM_DisplayCycleComputations(benchmark::State& state) {
    sim::Model m = Preset2();
    sim::RungeKuttaStep(m);
    char buf[32];
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
