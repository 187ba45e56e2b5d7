// morvane1-cli: the window's run without the window. The fields are filled
// as the presets and --set say, Start is pressed, and every display cycle
// prints the readouts the window would show.
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/controller.h"
#include "app/errors.h"
#include "app/memory_port.h"
#include "app/messages.h"
#include "app/numtext.h"
#include "app/start.h"
#include "cli/options.h"
#include "cli/verify_report.h"
#include "sim/arith.h"
#include "sim/energy.h"

namespace {

// Readout fields in the window's order of writing, with their column names.
constexpr struct {
    int textNo;
    const char* name;
} kColumns[] = {
    {60, "T"},    {10, "w0"},   {12, "X0"},   {22, "Y0"},   {19, "Ymrv"}, {23, "E"},
    {24, "FR1"},  {25, "FR2"},  {27, "R1"},   {28, "R2"},   {14, "FT1"},  {15, "FT2"},
    {16, "fi1"},  {17, "fi2"},  {31, "VX1"},  {32, "VX2"},  {33, "VY1"},  {34, "VY2"},
    {35, "FX1"},  {36, "FX2"},  {37, "FY1"},  {38, "FY2"},  {39, "FX0"},  {40, "FY0"},
};

void AppendNumber(std::string& out, double v, char sep) {
    char buf[32];
    out.append(buf, static_cast<std::size_t>(app::FormatNumberTo(v, sep, buf)));
}

// The fields as a preset and --set leave them.
void FillFields(app::MemoryPort& port, app::Controller& form, const cli::Options& opt) {
    // CSV is for spreadsheets and pandas: always decimal points.
    port.separator = opt.decimalComma && !opt.csv ? ',' : '.';
    form.Form_Load();
    if (opt.preset == 2) form.Command9_Click();
    // Values given with a comma are read with a comma even when CSV output
    // asks for points.
    const char inSep = opt.decimalComma ? ',' : '.';
    for (const auto& [textNo, value] : opt.fields) {
        std::string text = value;
        if (inSep != port.separator)
            for (char& c : text)
                if (c == inSep) c = port.separator;
        port.text[static_cast<std::size_t>(textNo)] = text;
    }
    if (opt.twist) {
        port.check[16] = 1;
        std::string text = *opt.twist;
        if (inSep != port.separator)
            for (char& c : text)
                if (c == inSep) c = port.separator;
        port.text[21] = text;
    }
}

int RunCycles(const cli::Options& opt) {
    app::MemoryPort port;
    app::Controller form(port);
    FillFields(port, form, opt);

    const char sep = port.separator;
    const char delim = opt.csv ? ',' : '\t';
    std::string line;
    long long cycles = 0;
    bool headerDone = false;
    const sim::Model& m = form.Model();
    auto printHeader = [&] {
        line.clear();
        // The four values Start writes, as the window shows them.
        if (!opt.csv)
            line += "# J0=" + port.text[20] + " CR=" + port.text[9] + " Fmrv=" + port.text[18] +
                    " E0=" + port.text[13] + '\n';
        for (std::size_t i = 0; i < std::size(kColumns); ++i) {
            if (i) line += delim;
            line += kColumns[i].name;
        }
        if (opt.invariants)
            for (const char* name : {"Eerr", "Px", "Py", "Lz", "Yc"}) (line += delim) += name;
        line += '\n';
        std::fputs(line.c_str(), stdout);
        headerDone = true;
    };
    auto printRow = [&] {
        line.clear();
        for (std::size_t i = 0; i < std::size(kColumns); ++i) {
            if (i) line += delim;
            line += port.text[static_cast<std::size_t>(kColumns[i].textNo)];
        }
        if (opt.invariants) {
            const sim::Invariants inv = sim::ComputeInvariants(m);
            for (double v : {sim::EnergyError(m), inv.Px, inv.Py, inv.Lz, inv.Yc}) {
                line += delim;
                AppendNumber(line, v, sep);
            }
        }
        line += '\n';
        std::fputs(line.c_str(), stdout);
    };

    // Each display cycle ends in the run's event processing: print its row
    // there, and close the window after the last one.
    port.onEvents = [&] {
        if (!headerDone) printHeader();
        ++cycles;
        try {
            if (!opt.finalOnly || cycles == opt.cycles) printRow();
        } catch (const sim::ArithmeticError&) {
            // An invariant beyond the double range: the row stays unfinished
            // and the run ends as after an error.
            port.messages.emplace_back(app::kSolveErrorText);
            port.windows = 0;
        }
        if (cycles >= opt.cycles) port.windows = 0;
        return port.windows;
    };
    form.Command1_Click();

    if (!port.messages.empty() && port.messages.front() == app::kInputErrorText) {
        std::fprintf(stderr, "%s: the start set-up fails for these values\n", port.messages.front().c_str());
        return 2;
    }
    if (!headerDone) printHeader();
    std::fflush(stdout);
    if (!port.messages.empty()) {
        // The rows of the cycles completed before the error are printed
        // already (only the final one, with --final-only, is lost).
        std::fprintf(stderr, "%s\nT=%s\n", port.messages.front().c_str(), app::FormatNumber(m.T, sep).c_str());
        return 3;
    }
    return 0;
}

int RunVerify(const cli::Options& opt) {
    app::MemoryPort port;
    app::Controller form(port);
    FillFields(port, form, opt);
    sim::Model m;
    sim::SetConstants(m);
    try {
        app::StartFromFields(port, m);
    } catch (const std::runtime_error&) {
        std::fprintf(stderr, "%s: the start set-up fails for these values\n", std::string(app::kInputErrorText).c_str());
        return 2;
    }
    m.InjectedForceY0 = opt.injectedForceY0;
    const double time = opt.time ? *opt.time : 1000 * m.h * m.NC0;
    if (!(std::isfinite(time) && m.h > 0 && time / m.h <= 1e8)) {
        std::fprintf(stderr, "%s: --verify needs a positive step and at most 1E+08 steps of it\n",
                     std::string(app::kInputErrorText).c_str());
        return 2;
    }
    app::VerifyReport rep;
    try {
        rep = app::Verify(m, time);
    } catch (const sim::ArithmeticError&) {
        std::fprintf(stderr, "%s\n", std::string(app::kSolveErrorText).c_str());
        return 3;
    }
    cli::PrintVerifyReport(rep, opt.csv, port.separator);
    return rep.ledgerHolds ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    cli::Options opt;
    std::string error;
    switch (cli::ParseOptions(args, opt, error)) {
        case cli::ParseResult::kHelp:
            std::fputs(cli::kUsage, stdout);
            return 0;
        case cli::ParseResult::kUsageError:
            std::fprintf(stderr, "morvane1-cli: %s\n%s", error.c_str(), cli::kUsage);
            return 64;
        case cli::ParseResult::kBadValue:
            std::fprintf(stderr, "%s: %s\n", std::string(app::kInputErrorText).c_str(), error.c_str());
            return 2;
        case cli::ParseResult::kOk:
            break;
    }
    return opt.verify ? RunVerify(opt) : RunCycles(opt);
}
