// morvane1-cli: the window's run without the window. The fields are filled
// as the presets and --set say, Start is pressed, and every display cycle
// prints the readouts the window would show. A verification and a sweep
// start from the numbers Start would read from those fields.
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/controller.h"
#include "app/errors.h"
#include "app/memory_port.h"
#include "app/messages.h"
#include "app/numtext.h"
#include "app/readouts.h"
#include "cli/exit_status.h"
#include "cli/diagnostics.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/progress.h"
#include "cli/sweep_run.h"
#include "cli/verdict_plot.h"
#include "cli/verdicts.h"
#include "cli/verify_report.h"
#include "sim/arith.h"
#include "sim/energy.h"
#include "sim/start.h"

namespace {

void AppendNumber(std::string& out, double v, char sep) {
    char buf[app::kNumberTextSize];
    out.append(buf, static_cast<std::size_t>(app::FormatNumberTo(v, sep, buf)));
}

using cli::ExitStatus;

using cli::InputRefused, cli::Say, cli::WriteFailed;

// The window in memory of a run whose rows print the readouts from their
// values: their texts would be formatted at every display cycle and never
// read. What it is asked to show tells where a run failed: a display cycle
// begins by showing T, then shows the readouts it has formed, and draws the
// construction view last.
class HeadlessPort : public app::MemoryPort {
public:
    HeadlessPort() {
        for (const app::Readout& r : app::kReadouts) readout_[app::Slot(r.field)] = true;
    }
    bool Shows(app::Field field) override {
        if (field == app::kReadouts[0].field)
            ++cyclesBegun, readoutsShown = 0;
        else if (readout_[app::Slot(field)])
            ++readoutsShown;
        return !readout_[app::Slot(field)];
    }

    long long cyclesBegun = 0;
    std::size_t readoutsShown = 0;  // by the display cycle begun last, after T

private:
    std::array<bool, app::kFieldCount> readout_{};
};

// Where and why a run stopped, from what the window in memory saw: a step
// that fails leaves T and the step count where they were; a display cycle
// that fails (or the row of --invariants after it) comes after its NC0-th
// step. No message: the invariants of the row overflowed.
std::string RunFailureText(const app::Controller& form, const HeadlessPort& port, long long rounds,
                           std::optional<app::Message> message, char sep) {
    const app::Record& rec = form.State();
    const auto num = [sep](double v) { return app::FormatNumber(v, sep); };
    const long long nc0 = rec.run.NC0;
    const bool inStep = message == app::Message::kSolveError && port.cyclesBegun == rounds;
    const long long step = inStep ? rounds * nc0 + rec.run.NC + 1 : port.cyclesBegun * nc0;
    const std::string at = std::string("the run failed ") +
                           (inStep ? "at its step " : "in the display cycle after its step ") + std::to_string(step) +
                           ", at T = " + num(rec.model.s.T) + " s: ";
    const std::string range = " left the range of double (an overflow, a division by zero or an invalid operation)";
    if (!message) return at + "an invariant of --invariants (Eerr, Px, Py, Lz or Yc)" + range;
    if (*message == app::Message::kPlotError)
        return at + "a point of the time-history plot cannot be drawn at the scales MT = " + num(rec.view.MT) +
               " s/cm, MV = " + num(rec.view.MV) + " (m/s)/cm, MF = " + num(rec.view.MF) + " N/cm and ML = " +
               num(rec.view.ML) + " m/cm: its values are too large for the picture";
    if (inStep) return at + "the equations of motion could not be solved: a value" + range;
    if (port.readoutsShown + 1 >= std::size(app::kReadouts))
        return at + "the construction view cannot be drawn at the scale ML = " + num(rec.view.ML) + " m/cm: a value" +
               range;
    return at + "a readout (E, Ymrv or another)" + range;
}

ExitStatus RunCycles(const cli::Options& opt, cli::Output& out) {
    HeadlessPort port;
    app::Controller form(port);
    cli::FillFields(port, form, opt);
    form.Press(app::Button::Start);
    if (!port.messages.empty() && port.messages.front() == app::Message::kInputError) {
        InputRefused(cli::StartRefusal(opt));
        return ExitStatus::kInputRefused;
    }

    const char sep = port.separator;
    // CSV with decimal commas is what spreadsheets of decimal-comma locales
    // read: semicolons between the columns.
    const char delim = !opt.csv ? '\t' : sep == ',' ? ';' : ',';
    const sim::Model& m = form.Model();
    // The four values Start shows, as the window shows them: TSV's first
    // line, CSV's last columns.
    const sim::StartValues& sv = m.start;
    const std::pair<const char*, double> start[] = {{"J0", sv.J0}, {"CR", sv.CR}, {"Fmrv", sv.Fmrv}, {"E0", sv.E0}};
    std::string line;
    if (!opt.csv) {
        line += '#';
        for (const auto& [name, value] : start) AppendNumber(((line += ' ') += name) += '=', value, sep);
        line += '\n';
    }
    for (const app::Readout& r : app::kReadouts) {
        if (r.field != app::kReadouts[0].field) line += delim;
        line += r.caption;
    }
    if (opt.invariants)
        for (const char* name : {"Eerr", "Px", "Py", "Lz", "Yc"}) (line += delim) += name;
    if (opt.csv)
        for (const auto& [name, value] : start) (line += delim) += name;
    line += '\n';
    out.Write(line);

    // Each display cycle's event round prints the readouts the window shows,
    // and the run is driven until the last cycle asked for.
    long long cycles = 0;
    bool overflow = false;
    cli::Progress progress("morvane1-cli", stderr);
    const auto printRow = [&] {
        line.clear();
        for (const app::Readout& r : app::kReadouts) {
            if (r.field != app::kReadouts[0].field) line += delim;
            AppendNumber(line, r.value(m, form.State().view.now), sep);
        }
        if (opt.invariants) {
            // Eerr is undefined for a system at rest (E0 = 0): an empty cell,
            // and the run goes on.
            line += delim;
            if (sv.E0 != 0) AppendNumber(line, sim::EnergyError(form.State().view.now.E, sv.E0), sep);
            const sim::Invariants inv = sim::ComputeInvariants(m.p, m.start, m.s);
            for (double v : {inv.Px, inv.Py, inv.Lz, inv.Yc}) AppendNumber(line += delim, v, sep);
        }
        if (opt.csv)
            for (const auto& [name, value] : start) AppendNumber(line += delim, value, sep);
        line += '\n';
        out.Write(line);
    };
    const auto more = [&] { return !overflow && cycles < opt.cycles && !out.Failed(); };
    const auto round = [&](double) {
        ++cycles;
        try {
            if (!opt.finalOnly || cycles == opt.cycles) printRow();
        } catch (const sim::ArithmeticError&) {
            // An invariant beyond the double range: the row stays unfinished
            // and the run ends as after an error.
            overflow = true;
        }
        progress.Update(static_cast<double>(cycles) / static_cast<double>(opt.cycles));
        return more();
    };
    while (form.Running() && more()) form.RunSlice(round);

    if (!out.Close()) return WriteFailed(out);
    if (overflow || !port.messages.empty()) {
        // The rows of the cycles completed before the error are printed
        // already (only the final one, with --final-only, is lost).
        Say(RunFailureText(form, port, cycles, overflow ? std::nullopt : std::optional(port.messages.front()), sep));
        return ExitStatus::kRunFailed;
    }
    return ExitStatus::kDone;
}

ExitStatus RunVerify(const cli::Options& opt, cli::Output& out, cli::Output& err) {
    sim::Model m;
    std::int32_t nc0 = 1;
    try {
        const cli::StartNumbers start = cli::InputNumbers(opt);
        m = sim::Start(start.inputs, start.fi0);
        nc0 = start.NC0;
    } catch (const std::runtime_error&) {
        InputRefused(cli::StartRefusal(opt));
        return ExitStatus::kInputRefused;
    }
    if (const std::string why = verify::Unphysical(m.p); !why.empty()) {
        InputRefused(why);
        return ExitStatus::kInputRefused;
    }
    const char sep = opt.decimalComma ? ',' : '.';
    const double h = m.p.h;
    const double time = opt.time ? *opt.time : 1000 * h * nc0;
    const double steps = verify::VerifySteps(time, h);
    if (const std::string why = verify::StepsProblem(h, steps); !why.empty()) {
        InputRefused("--time " + app::FormatNumber(time, sep) + " s at h = " + app::FormatNumber(h, sep) +
                     " s: " + why + "; another --time or h tells");
        return ExitStatus::kInputRefused;
    }
    verify::VerifyReport rep;
    try {
        cli::Progress progress("morvane1-cli --verify", stderr);
        const auto tell = [&](double done) { progress.Update(done); };
        rep = verify::VerifyChoosing(opt.precision, m, static_cast<long long>(steps), tell, true, opt.injectedForceY0);
        // The default time runs again as long as resolving the claim takes,
        // where that fits the budget; a --time given is the time asked for.
        if (const long long longer = opt.time ? 0 : verify::StepsToResolve(rep); longer > 0) {
            verify::VerifyReport again = verify::Verify(m, longer, tell, true, opt.injectedForceY0, rep.precision);
            again.doubleVerdict = rep.doubleVerdict;
            again.lengthenedFrom = rep.time;
            rep = std::move(again);
        }
    } catch (const verify::RunFailure& f) {
        Say(cli::FailureText(f, sep));
        // A step RK4 does not keep stable makes a run blow up: say so, and
        // the step that would be, rather than leave the overflow as the cause.
        const double stable = verify::StableStep(m);
        if (h > stable)
            Say("the step h = " + app::FormatNumber(h, sep) + " s is beyond " + app::FormatNumber(stable, sep) +
                " s, the largest the stability rule allows for this motion (RK4 on its fastest swing or damping, "
                "with the damping's one-step lag, and a margin), which may be why: a smaller h tells");
        return cli::RowOf(verify::Verdict::kRunFailed).status;
    }
    cli::PrintVerifyReport(rep, rep.lengthenedFrom > 0 ? rep.time : time, opt.csv, sep, out, err);
    if (!out.Close()) return WriteFailed(out);
    if (!opt.plot.empty()) {
        std::string reason;
        if (!cli::DrawVerdictPlot(rep, opt.plot, reason)) {
            Say("the picture " + opt.plot + " could not be written: " + reason);
            return ExitStatus::kWriteFailed;
        }
    }
    return cli::RowOf(rep.verdict).status;
}

ExitStatus Main(const std::vector<std::string_view>& args) {
    cli::Options opt;
    std::string error;
    cli::Output out(stdout), err(stderr);
    switch (cli::ParseOptions(args, opt, error)) {
        case cli::ParseResult::kHelp:
            out.Write(cli::Usage());
            return out.Close() ? ExitStatus::kDone : WriteFailed(out);
        case cli::ParseResult::kVersion:
            out.Write("morvane1-cli " MORVANE1_VERSION "\n");
            return out.Close() ? ExitStatus::kDone : WriteFailed(out);
        case cli::ParseResult::kUsageError:
            Say(error + "; try --help");
            return ExitStatus::kUsage;
        case cli::ParseResult::kBadValue:
            InputRefused(error);
            return ExitStatus::kInputRefused;
        case cli::ParseResult::kOk:
            break;
    }
    if (!opt.plotFrom.empty()) return cli::PlotFrom(opt, out);
    if (opt.Sweeps()) return cli::RunSweep(opt, out);
    return opt.verify ? RunVerify(opt, out, err) : RunCycles(opt, out);
}

}  // namespace

int main(int argc, char** argv) {
    return static_cast<int>(Main(std::vector<std::string_view>(argv + 1, argv + argc)));
}
