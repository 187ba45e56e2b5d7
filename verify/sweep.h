// The verifier over a grid of inputs: one or two swept inputs, every point
// run at its own scales, the points spread over threads, the rows in grid
// order whatever the number of threads.
#pragma once

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/model.h"
#include "verify/verify.h"

namespace verify {

// One swept input, FROM to TO both included.
struct Axis {
    std::string name;  // an input name of the runner (V0, w0, m1 ...)
    double from{}, to{};
    bool log{};        // spaced by equal ratios (both ends positive) or equal steps
};

// The most points along one axis, and in a whole grid.
inline constexpr int kMostAxisPoints = 1000;
inline constexpr long long kMostGridPoints = 100'000;

// The values of an axis: n of them, both ends included; one point is FROM.
std::vector<double> AxisValues(const Axis& axis, int n);

// The shortest time scale of the started motion [s]: 2 Pi over its fastest
// rate (see FastestRate). Infinite when nothing turns, swings or damps.
double ShortestPeriod(const sim::Model& started);

// How each point is run. By default its step is its own shortest period
// over stepsPerPeriod and it makes `steps` steps; the inputs' own h (given
// for every point, or swept) and a fixed time replace either.
struct Scaling {
    // RK4 lags a turn by (2 Pi / 100)^5 / 120 = 8E-09 per step at 100 steps
    // a period: 2E-04 after 20 000 steps, a fifth of what a converged run may
    // have, and 140 000 steps in the three runs take a tenth of a second.
    double stepsPerPeriod = 100;
    long long steps = 20000;
    bool inputsH = false;  // every point at the h of its inputs
    double fixedTime = 0;  // > 0: every point for this time
};

// The h, the number of steps and the time of one point.
struct PointScale {
    double h{};
    double steps{};  // a double: a fixed time may ask for more than any run makes
    bool ownPeriod{};  // h from the point's own period, not from its inputs
};

// h is rounded to 15 significant digits, so that the printed h, read back,
// is the h the point ran at.
PointScale ScaleOf(const sim::Model& started, const Scaling& scaling);

// What one point answered.
struct PointResult {
    long long index{};          // 1-based place in the grid
    std::vector<double> values;  // the swept inputs, one per axis
    PointScale scale;
    // What its report says; not a number where its runs failed.
    double fmrv = NAN, detectionLimit = NAN, claimFactor = NAN, maxAbsYc = NAN;
    double forceBound = NAN;  // the largest constant lateral force the computed Yc allows [N]; none without a limit
    Verdict verdict = Verdict::kRunFailed;  // until its runs end
    Precision precision = Precision::kDouble;  // the number type that answered
    std::optional<RunFailure> failure;         // where and how its runs failed, if they did
};

// The largest constant force along Y consistent with a run: one that moved
// Yc by F t^2 / (2 M) could have stayed within max|Yc| plus the threshold.
double ForceBound(const VerifyReport& rep);

struct Grid {
    std::vector<Axis> axes;  // one or two
    int points = 5;          // along each axis
    int part = 1, parts = 1;  // every parts-th point from the part-th: a share of the grid

    long long Size() const;
    // The swept values of the 1-based point index; the first axis varies slowest.
    std::vector<double> Values(long long index) const;
    // The same from the axes' values, worked out once.
    std::vector<double> ValuesAt(const std::vector<std::vector<double>>& axisValues, long long index) const;
};

// A point of this part of the grid, started, with the scale it will run
// at, or why it cannot run: its start set-up fails, its inputs are not a
// physical disk, or its steps are too few or too many for a verification.
struct PlannedPoint {
    long long index{};
    std::vector<double> values;
    PointScale scale;
    std::string refused;
    sim::Model started;  // its inputs, the values derived at its start and its start state
};

// Starts every point of the part once, from numbers: the inputs and the
// twist every point shares, with the swept inputs (named by their symbols
// in sim::kParameters) replaced by the point's values rounded to the 15
// digits the table prints, so that the printed inputs, h and time give the
// same answer in a single verification. Nothing runs yet: a sweep with a
// point that cannot run is refused before anything does. The points are
// started on up to `jobs` threads.
std::vector<PlannedPoint> Plan(const Grid& grid, const Scaling& scaling, const sim::Parameters& inputs, double fi0,
                               int jobs = 1);

// Points done, and the fraction of all their steps done.
using SweepProgress = std::function<void(long long points, double steps)>;

// Runs the planned points on up to `jobs` threads (as many as the system
// gives; none, and they run on the calling thread); progress is told on the
// calling thread. The results come in the order planned. Every point's runs
// get the injected force of Verify, and run in the chosen precision (see
// VerifyChoosing).
std::vector<PointResult> Sweep(const std::vector<PlannedPoint>& planned, int jobs, const SweepProgress& progress = {},
                               double injectedForceY0 = 0, PrecisionChoice precision = PrecisionChoice::kDouble);

// x to 15 significant digits, as the runner prints it: the printed value,
// read back, is the value a point ran at (a negative zero, printed "0", is
// 0).
double Round15(double x);

}  // namespace verify
