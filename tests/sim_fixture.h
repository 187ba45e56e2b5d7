// Shared set-up for the core tests: the two presets as parameter sets.
#pragma once

#include "sim/dynamics.h"
#include "sim/energy.h"
#include "sim/model.h"

namespace testing_support {

struct Inputs {
    double m0, m1, R0, R1, V0, w0, CT, KR, KT, h;
    int NC0;
    double MT, ML, MV, MF;
};

inline constexpr Inputs kPreset1{10, 1, 0.5, 1, 10, 20, 10, 1, 0.1, 0.0001, 1, 0.1, 0.25, 10, 100};
inline constexpr Inputs kPreset2{10, 1, 0.5, 1, 100000, 200000, 1, 1000, 1, 1e-9, 100, 1e-5, 0.25, 100000, 1e10};

// The record after Start with these inputs, as the Start button builds it.
inline sim::Model Started(const Inputs& in, double fi0 = 0) {
    sim::Model m;
    sim::SetConstants(m);
    m.M[0] = in.m0;
    m.R[0] = in.R0;
    m.VX[0] = in.V0;
    m.w0 = in.w0;
    m.M[1] = m.M[2] = in.m1;
    m.R[1] = m.R[2] = in.R1;
    m.KR = in.KR;
    m.CT = in.CT;
    m.KT = in.KT;
    m.MF = in.MF;
    m.ML = in.ML;
    m.MV = in.MV;
    m.MT = in.MT;
    m.h = in.h;
    m.NC0 = in.NC0;
    sim::StartSetup(m, fi0);
    return m;
}

inline void Steps(sim::Model& m, long n) {
    for (long i = 0; i < n; ++i) {
        sim::RungeKuttaStep(m);
        sim::AccountStep(m);
        if (m.NC >= m.NC0) m.NC = 0;
    }
}

}  // namespace testing_support
