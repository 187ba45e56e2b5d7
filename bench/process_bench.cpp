// The runner as a user starts it, against its kernel making the same steps
// in this process: the headless run of preset 2, its verification and a
// small sweep. Each reports the steps per second of both and their ratio,
// the process over the kernel: whatever the process does besides the steps
// (its start-up, its display cycles, what its libraries leave behind in the
// processor) shows as a ratio below 1. The runner timed is the one built
// beside this benchmark, or the one MORVANE1_CLI names.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/preset.h"
#include "sim/dynamics.h"
#include "verify/sweep.h"
#include "verify/verify.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// Runs the runner with these arguments, its output thrown away; returns
// its wall time [s], or a negative when it could not run or ended with a
// status no answer has (2 a refusal, 64 a usage error, 74 or a signal).
double TimeRunner(const std::vector<std::string>& args) {
    const char* named = std::getenv("MORVANE1_CLI");
    std::string path = named ? named : MORVANE1_CLI;
    std::vector<char*> argv{path.data()};
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.c_str(), &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid) return -1;
    const double seconds = Seconds(start);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return code == 0 || code == 1 || code == 3 || code == 4 ? seconds : -1;
}

// Times the process and the kernel once an iteration, and reports both
// speeds and their ratio. steps: the steps both make.
template <class Kernel>
void ProcessAgainstKernel(benchmark::State& state, const std::vector<std::string>& args, double steps, Kernel&& kernel) {
    double process = 0, inProcess = 0;
    for (auto _ : state) {
        const double seconds = TimeRunner(args);
        if (seconds < 0) {
            state.SkipWithError("the runner did not run to an answer");
            return;
        }
        const Clock::time_point start = Clock::now();
        kernel();
        inProcess += Seconds(start);
        process += seconds;
        state.SetIterationTime(seconds);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["process_steps_per_s"] = n * steps / process;
    state.counters["kernel_steps_per_s"] = n * steps / inProcess;
    state.counters["process_over_kernel"] = inProcess / process;
}

// morvane1-cli --preset 2 --cycles 20000 --final-only: 2 000 000 steps and
// 20 000 display cycles, against the same steps of sim::Step.
void BM_Runner(benchmark::State& state) {
    constexpr long long kSteps = 2'000'000;
    ProcessAgainstKernel(state, {"--preset", "2", "--cycles", "20000", "--final-only"}, kSteps, [] {
        sim::Model m = bench::Preset2();
        for (long long i = 0; i < kSteps; ++i) sim::Step(m);
        benchmark::DoNotOptimize(m.s.StateY[1]);
    });
}
BENCHMARK(BM_Runner)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);

// morvane1-cli --verify --preset 2: 10^5 steps at h, 2 10^5 at h/2 and
// 4 10^5 at h/4, the three at once, against verify::Verify of the same.
void BM_Verify(benchmark::State& state) {
    constexpr long long kSteps = 100'000;
    ProcessAgainstKernel(state, {"--verify", "--preset", "2"}, static_cast<double>(verify::kStepsInAllRuns * kSteps),
                         [] { benchmark::DoNotOptimize(verify::Verify(bench::Preset2(), kSteps).verdict); });
}
BENCHMARK(BM_Verify)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// morvane1-cli --sweep V0=1e-3:1e5 --sweep w0=0.2:2e5 --points 3 --jobs 2
// --precision double from preset 1, against verify::Plan and verify::Sweep
// of the same grid: both in double, so that the steps counted are the steps
// made (auto would run some points again in binary128).
void BM_Sweep(benchmark::State& state) {
    const verify::Grid grid{{{"V0", 1e-3, 1e5, true}, {"w0", 0.2, 2e5, true}}, 3};
    const sim::Parameters inputs = app::PresetParameters(1);
    double steps = 0;
    for (const verify::PlannedPoint& p : verify::Plan(grid, {}, inputs, 0)) steps += verify::kStepsInAllRuns * p.scale.steps;
    ProcessAgainstKernel(state, {"--sweep", "V0=1e-3:1e5", "--sweep", "w0=0.2:2e5", "--points", "3", "--jobs", "2",
                                 "--precision", "double"},
                         steps, [&] { benchmark::DoNotOptimize(verify::Sweep(verify::Plan(grid, {}, inputs, 0, 2), 2)); });
}
BENCHMARK(BM_Sweep)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
