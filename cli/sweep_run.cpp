#include "cli/sweep_run.h"

#include <algorithm>
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
// Points missing from the merged tables leave the answer open unless a
// point present shows a force.
ExitStatus Answer(const std::vector<SweepRow>& rows, const std::vector<std::string>& axes, const Options& opt,
                  Output& out, bool table, long long missing = 0) {
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
        if (!DrawSweepPlot(rows, axes, opt.plot, reason)) {
            Say("the picture " + opt.plot + " could not be written: " + reason);
            return ExitStatus::kWriteFailed;
        }
    }
    const ExitStatus status = SweepStatus(counts);
    return missing > 0 && status != ExitStatus::kLedgerFails ? ExitStatus::kInconclusive : status;
}

}  // namespace

ExitStatus RunSweep(const Options& opt, Output& out) {
    // Every point starts from the numbers the window's Start would read
    // with the swept values typed into their fields.
    StartNumbers start;
    try {
        start = InputNumbers(opt);
    } catch (const app::InputError&) {
        InputRefused(StartRefusal(opt));
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
    // "point 3 (V0 = 10, w0 = 2)"
    const auto point = [&](long long index, const std::vector<double>& values) {
        std::string at;
        for (std::size_t k = 0; k < values.size(); ++k)
            at += (k ? ", " : "") + opt.axes[k].name + " = " + app::FormatNumber(values[k], sep);
        return "point " + std::to_string(index) + " (" + at + ")";
    };
    for (const verify::PlannedPoint& p : plan) {
        if (p.refused.empty()) continue;
        // A start set-up that fails says at which value.
        sim::Parameters inputs = start.inputs;
        for (std::size_t k = 0; k < p.values.size(); ++k)
            if (const sim::ParameterRow* row = sim::FindParameter(opt.axes[k].name))
                inputs.*row->value = verify::Round15(p.values[k]);
        const std::string why = StartFailure(inputs, start.fi0);
        InputRefused(point(p.index, p.values) + ": " + (why.empty() ? p.refused : why) + "; nothing was run");
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
    out.Write(SweepIdentityLine(grid, scaling, start.inputs, start.fi0, opt.injectedForceY0, opt.precision));
    out.Write(SweepTable(grid, points, delim, sep));
    std::vector<std::string> axes;
    for (const verify::Axis& a : opt.axes) axes.push_back(a.name);
    // The table keeps the verdict of a failed point; what failed, and where,
    // is said for the first of them.
    const auto failed = [](const verify::PointResult& p) { return p.failure.has_value(); };
    if (const auto first = std::find_if(points.begin(), points.end(), failed); first != points.end())
        Say(std::to_string(std::count_if(points.begin(), points.end(), failed)) + " of the points failed; the first, " +
            point(first->index, first->values) + ": " + FailureText(*first->failure, sep));
    return Answer(RowsOf(points), axes, opt, out, true);
}

ExitStatus PlotFrom(const Options& opt, Output& out) {
    std::vector<SweepRow> rows;
    std::vector<std::string> axes;
    long long gridSize = 0;
    std::string error;
    if (!ReadSweepTables(opt.plotFrom, rows, axes, gridSize, error)) {
        InputRefused(error);
        return ExitStatus::kInputRefused;
    }
    const long long present = static_cast<long long>(rows.size());
    if (gridSize == 0) {
        Say(opt.plotFrom.front() + ": no \"# sweep ...\" line names the grid it is of, so no point can be told "
            "missing: its rows are taken as the whole sweep");
    } else if (present < gridSize) {
        // The rows are in point order: the first gap is the first missing.
        long long gap = 1;
        while (gap <= present && rows[static_cast<std::size_t>(gap - 1)].point == gap) ++gap;
        Say(std::to_string(gridSize - present) + " of the sweep's " + std::to_string(gridSize) +
            " points are in none of these tables (the first: point " + std::to_string(gap) +
            "): the count is of the points present, and without the rest the sweep is inconclusive");
    }
    return Answer(rows, axes, opt, out, false, gridSize > 0 ? gridSize - present : 0);
}

}  // namespace cli
