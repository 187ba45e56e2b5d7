// morvane1-cli: the window's run without the window. The fields are filled
// as the presets and --set say, Start is pressed, and every display cycle
// prints the readouts the window would show.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/controller.h"
#include "app/memory_port.h"
#include "app/messages.h"
#include "app/numtext.h"
#include "cli/options.h"
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

    app::MemoryPort port;
    port.separator = opt.decimalComma ? ',' : '.';
    app::Controller form(port);
    form.Form_Load();
    if (opt.preset == 2) form.Command9_Click();
    for (const auto& [textNo, value] : opt.fields) port.text[static_cast<std::size_t>(textNo)] = value;
    if (opt.twist) {
        port.check[16] = 1;
        port.text[21] = *opt.twist;
    }

    const char sep = port.separator;
    std::string line;
    long long cycles = 0;
    bool headerDone = false;
    const sim::Model& m = form.Model();
    auto printHeader = [&] {
        line.clear();
        // The four values Start writes, as the window shows them.
        line += "# J0=" + port.text[20] + " CR=" + port.text[9] + " Fmrv=" + port.text[18] +
                " E0=" + port.text[13] + '\n';
        for (std::size_t i = 0; i < std::size(kColumns); ++i) {
            if (i) line += '\t';
            line += kColumns[i].name;
        }
        if (opt.invariants) line += "\tEerr\tPx\tPy\tLz\tYc";
        line += '\n';
        std::fputs(line.c_str(), stdout);
        headerDone = true;
    };
    auto printRow = [&] {
        line.clear();
        for (std::size_t i = 0; i < std::size(kColumns); ++i) {
            if (i) line += '\t';
            line += port.text[static_cast<std::size_t>(kColumns[i].textNo)];
        }
        if (opt.invariants) {
            const sim::Invariants inv = sim::ComputeInvariants(m);
            for (double v : {sim::EnergyError(m), inv.Px, inv.Py, inv.Lz, inv.Yc}) {
                line += '\t';
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
        if (!opt.finalOnly || cycles == opt.cycles) printRow();
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
        const std::string& msg = port.messages.front();
        // The run stopped on an error: the readouts of the last completed
        // cycle are already printed, unless only the final one was asked for.
        std::fprintf(stderr, "%s\nT=%s\n", msg.c_str(), app::FormatNumber(m.T, sep).c_str());
        return 3;
    }
    return 0;
}
