#include "cli/sweep_run.h"

#include <cmath>
#include <thread>

#include "app/errors.h"
#include "app/numtext.h"
#include "cli/diagnostics.h"
#include "cli/progress.h"
#include "cli/sweep_plot.h"
#include "cli/sweep_report.h"

namespace cli {
namespace {

// The answer of a sweep, merged or not: its count, its figure, its status.
ExitStatus Answer(const std::vector<SweepRow>& rows, const Options& opt, Output& out, bool table) {
    const SweepCounts counts = CountAnswers(rows);
    // In a CSV the count would be a row of its own: it goes to standard error.
    const std::string summary = SweepSummary(counts);
    if (table && opt.csv)
        Say(summary);
    else
        out.Write("# " + summary + "\n");
    if (!out.Close()) return WriteFailed(out);
    if (!opt.plot.empty()) {
        std::string reason;
        if (!DrawSweepPlot(rows, opt.plot, reason)) {
            Say("the picture " + opt.plot + " could not be written: " + reason);
            return ExitStatus::kWriteFailed;
        }
    }
    return SweepStatus(counts);
}

}  // namespace

ExitStatus RunSweep(const Options& opt, Output& out) {
    // Every point starts from the numbers the window's Start would read
    // with the swept values typed into their fields.
    StartNumbers start;
    try {
        start = InputNumbers(opt);
    } catch (const app::InputError&) {
        InputRefused("the start set-up fails for these values");
        return ExitStatus::kInputRefused;
    }
    verify::Grid grid{opt.axes, opt.points.value_or(5), opt.part, opt.parts};
    verify::Scaling scaling;
    if (opt.stepsPerPeriod) scaling.stepsPerPeriod = *opt.stepsPerPeriod;
    if (opt.steps) scaling.steps = *opt.steps;
    if (opt.time) scaling.fixedTime = *opt.time;
    const char sep = opt.decimalComma ? ',' : '.';
    for (const auto& [field, text] : opt.fields) scaling.inputsH |= field == app::Field::Step;
    for (const verify::Axis& a : opt.axes) scaling.inputsH |= InputField(a.name) == app::Field::Step;

    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    const int jobs = opt.jobs.value_or(cores > 0 ? cores : 1);
    const std::vector<verify::PlannedPoint> plan = verify::Plan(grid, scaling, start.inputs, start.fi0, jobs);
    for (const verify::PlannedPoint& p : plan) {
        if (p.refused.empty()) continue;
        std::string at;
        for (std::size_t k = 0; k < p.values.size(); ++k)
            at += (k ? ", " : "") + opt.axes[k].name + " = " + app::FormatNumber(p.values[k], sep);
        InputRefused("point " + std::to_string(p.index) + " (" + at + "): " + p.refused + "; nothing was run");
        return ExitStatus::kInputRefused;
    }
    std::vector<verify::PointResult> points;
    {
        // Gone from the terminal before the table comes.
        Progress progress("morvane1-cli --sweep", stderr);
        const long long total = static_cast<long long>(plan.size());
        points = verify::Sweep(plan, jobs, [&](long long done, double steps) {
            progress.Update(done, total, "points", steps);
        }, opt.injectedForceY0, opt.precision);
    }
    const char delim = opt.csv ? (opt.decimalComma ? ';' : ',') : '\t';
    out.Write(SweepTable(grid, points, delim, sep));
    return Answer(RowsOf(points), opt, out, true);
}

ExitStatus PlotFrom(const Options& opt, Output& out) {
    std::vector<SweepRow> rows;
    std::vector<std::string> axes;
    std::string error;
    if (!ReadSweepTables(opt.plotFrom, rows, axes, error)) {
        InputRefused(error);
        return ExitStatus::kInputRefused;
    }
    return Answer(rows, opt, out, false);
}

}  // namespace cli
