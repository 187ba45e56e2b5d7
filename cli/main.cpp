// morvane1-cli: the window's run without the window. The fields are filled
// as the presets and --set say, Start is pressed, and every display cycle
// prints the readouts the window would show.
#include <cmath>
#include <cstdio>
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
#include "app/start.h"
#include "cli/exit_status.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/progress.h"
#include "cli/verdict_plot.h"
#include "cli/verify_report.h"
#include "sim/arith.h"
#include "sim/energy.h"

namespace {

void AppendNumber(std::string& out, double v, char sep) {
    char buf[app::kNumberTextSize];
    out.append(buf, static_cast<std::size_t>(app::FormatNumberTo(v, sep, buf)));
}

using cli::ExitStatus;

// The run ends on a failed write: nothing after it could reach the reader.
ExitStatus WriteFailed(const cli::Output& out) {
    std::fprintf(stderr, "morvane1-cli: the output could not be written: %s\n", out.Reason().c_str());
    return ExitStatus::kWriteFailed;
}

void InputRefused(const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", std::string(app::MessageText(app::Message::kInputError)).c_str(), why.c_str());
}

ExitStatus RunCycles(const cli::Options& opt, cli::Output& out) {
    app::MemoryPort port;
    app::Controller form(port);
    cli::FillFields(port, form, opt);
    form.Press(app::Button::Start);
    if (!port.messages.empty() && port.messages.front() == app::Message::kInputError) {
        InputRefused("the start set-up fails for these values");
        return ExitStatus::kInputRefused;
    }

    const char sep = port.separator;
    const char delim = opt.csv ? ',' : '\t';
    const sim::Model& m = form.Model();
    std::string line;
    // The four values Start shows, as the window shows them.
    if (!opt.csv) {
        for (const auto& [name, value] : {std::pair{"# J0=", m.J0}, {" CR=", m.CR}, {" Fmrv=", m.Fmrv}, {" E0=", m.E0}})
            AppendNumber(line += name, value, sep);
        line += '\n';
    }
    for (const app::Readout& r : app::kReadouts) {
        if (r.field != app::kReadouts[0].field) line += delim;
        line += r.caption;
    }
    if (opt.invariants)
        for (const char* name : {"Eerr", "Px", "Py", "Lz", "Yc"}) (line += delim) += name;
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
            AppendNumber(line, r.value(m), sep);
        }
        if (opt.invariants) {
            const sim::Invariants inv = sim::ComputeInvariants(m);
            for (double v : {sim::EnergyError(m), inv.Px, inv.Py, inv.Lz, inv.Yc}) AppendNumber(line += delim, v, sep);
        }
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
    if (overflow) port.messages.push_back(app::Message::kSolveError);
    if (!port.messages.empty()) {
        // The rows of the cycles completed before the error are printed
        // already (only the final one, with --final-only, is lost).
        std::fprintf(stderr, "%s\nT=%s\n", std::string(app::MessageText(port.messages.front())).c_str(),
                     app::FormatNumber(m.T, sep).c_str());
        return ExitStatus::kRunFailed;
    }
    return ExitStatus::kDone;
}

ExitStatus RunVerify(const cli::Options& opt, cli::Output& out, cli::Output& err) {
    app::MemoryPort port;
    app::Controller form(port);
    cli::FillFields(port, form, opt);
    app::Record rec;
    sim::Model& m = rec.model;
    sim::SetConstants(m);
    try {
        app::StartFromFields(port, rec);
    } catch (const std::runtime_error&) {
        InputRefused("the start set-up fails for these values");
        return ExitStatus::kInputRefused;
    }
    m.InjectedForceY0 = opt.injectedForceY0;
    const char sep = port.separator;
    const double time = opt.time ? *opt.time : 1000 * m.h * rec.run.NC0;
    const long long steps = std::isfinite(time) && m.h > 0 ? app::VerifySteps(time, m.h) : 0;
    const std::string asked = "--time " + app::FormatNumber(time, sep) + " s is " +
                              app::FormatNumber(static_cast<double>(steps), sep) + " steps of h = " +
                              app::FormatNumber(m.h, sep) + " s";
    if (!(m.h > 0) || steps < app::kMinVerifySteps) {
        InputRefused((m.h > 0 ? asked : "h must be positive") + "; --verify needs at least " +
                     std::to_string(app::kMinVerifySteps) + " steps of h for an observed order to mean anything");
        return ExitStatus::kInputRefused;
    }
    if (steps > app::kMaxVerifyStepsInAll / 7) {
        InputRefused(asked + "; --verify runs them at h, h/2 and h/4, 7 times as many steps in all, and allows at "
                     "most 2E+08 in all (about two minutes): take a shorter --time or a larger h");
        return ExitStatus::kInputRefused;
    }
    app::VerifyReport rep;
    try {
        cli::Progress progress("morvane1-cli --verify", stderr);
        rep = app::Verify(m, steps, [&](double done) { progress.Update(done); });
    } catch (const sim::ArithmeticError&) {
        std::fprintf(stderr, "%s\n", std::string(app::MessageText(app::Message::kSolveError)).c_str());
        return ExitStatus::kRunFailed;
    }
    cli::PrintVerifyReport(rep, time, opt.csv, sep, out, err);
    if (!out.Close()) return WriteFailed(out);
    if (!opt.plot.empty()) {
        std::string reason;
        if (!cli::DrawVerdictPlot(rep, opt.plot, reason)) {
            std::fprintf(stderr, "morvane1-cli: the picture %s could not be written: %s\n", opt.plot.c_str(),
                         reason.c_str());
            return ExitStatus::kWriteFailed;
        }
    }
    return cli::VerdictStatus(rep.verdict);
}

ExitStatus Main(const std::vector<std::string_view>& args) {
    cli::Options opt;
    std::string error;
    cli::Output out(stdout), err(stderr);
    switch (cli::ParseOptions(args, opt, error)) {
        case cli::ParseResult::kHelp:
            out.Write(cli::kUsage);
            return out.Close() ? ExitStatus::kDone : WriteFailed(out);
        case cli::ParseResult::kUsageError:
            std::fprintf(stderr, "morvane1-cli: %s\n%s", error.c_str(), cli::kUsage);
            return ExitStatus::kUsage;
        case cli::ParseResult::kBadValue:
            InputRefused(error);
            return ExitStatus::kInputRefused;
        case cli::ParseResult::kOk:
            break;
    }
    return opt.verify ? RunVerify(opt, out, err) : RunCycles(opt, out);
}

}  // namespace

int main(int argc, char** argv) {
    return static_cast<int>(Main(std::vector<std::string_view>(argv + 1, argv + argc)));
}
