#include "cli/options.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "app/numtext.h"

namespace cli {

const char* const kUsage =
    "usage: morvane1-cli [--preset 1|2] [--set NAME=VALUE]... [--twist FI0]\n"
    "                    [--cycles N] [--final-only] [--decimal-comma] [--invariants]\n"
    "                    [--format tsv|csv]\n"
    "       morvane1-cli --verify [--preset 1|2] [--set NAME=VALUE]... [--twist FI0]\n"
    "                    [--time SECONDS] [--format tsv|csv] [--inject-lateral-force N]\n"
    "                    [--plot FILE]\n"
    "\n"
    "Runs the disk with two loads as the window does and prints, for every\n"
    "display cycle (NC0 steps), the readouts of the window, tab-separated.\n"
    "\n"
    "  --preset 1|2       start from preset 1 (default) or 2\n"
    "  --set NAME=VALUE   set one input; NAME is one of\n"
    "                     m0 m1 R0 R1 V0 w0 CT KR KT h NC0 MT ML MV MF\n"
    "  --twist FI0        start with the disk turned by FI0 rad (twist test)\n"
    "  --cycles N         display cycles to run (default 1)\n"
    "  --final-only       print only the last cycle\n"
    "  --decimal-comma    read and write numbers with a decimal comma\n"
    "  --invariants       add Eerr Px Py Lz Yc: 1e10*(E-E0)/E0, total momentum X\n"
    "                     and Y, angular momentum about the origin, and the\n"
    "                     ordinate of the centre of mass\n"
    "  --format tsv|csv   tab-separated (default), or comma-separated with\n"
    "                     decimal points and a header row only\n"
    "  --verify           run at h, h/2 and h/4 to the same time and report the\n"
    "                     observed order, a ledger of the conserved quantities\n"
    "                     against their rounding floors, the smallest lateral\n"
    "                     force the run is sure to show, and the verdict\n"
    "  --time SECONDS     simulated time for --verify (default 1000*h*NC0), taken\n"
    "                     to the nearest whole number of steps of h; at least 10\n"
    "                     steps, and at most 2E+08 steps in all three runs\n"
    "  --inject-lateral-force N\n"
    "                     add a constant force of N newtons along +Y to the disk,\n"
    "                     to see what the verdict says of a real lateral force\n"
    "  --plot FILE        with --verify: draw the answer into FILE (.png or .svg)\n"
    "  --help             this text\n"
    "\n"
    "A run of more than two seconds shows its progress on standard error when\n"
    "that is a terminal.\n"
    "\n"
    "Exit status: 0 done (--verify: no lateral force), 1 a lateral force acts or\n"
    "the verification ledger does not hold, 2 an input refused, 3 the run stopped\n"
    "on an error, 4 inconclusive (--verify cannot tell; it says what would),\n"
    "64 a usage error, 74 the output could not be written.\n";

namespace {

// A refused value is quoted, but never more than a short line of it.
std::string Quote(std::string_view text) {
    constexpr std::size_t kShown = 40;
    std::string q(1, '"');
    q.append(text.substr(0, kShown));
    if (text.size() <= kShown) return q += '"';
    q += "...\" (";
    q += std::to_string(text.size());
    q += " characters";
    if (text.size() > app::kMaxNumberText) q += "; a number may have at most " + std::to_string(app::kMaxNumberText);
    return q += ')';
}

// The window's inputs by the symbols of their labels.
constexpr struct {
    std::string_view name;
    app::Field field;
} kInputs[] = {
    {"m0", app::Field::M0}, {"m1", app::Field::M1}, {"R0", app::Field::R0},     {"R1", app::Field::R1},
    {"V0", app::Field::V0}, {"w0", app::Field::W0}, {"CT", app::Field::CT},     {"KR", app::Field::KR},
    {"KT", app::Field::KT}, {"h", app::Field::Step}, {"NC0", app::Field::NC0}, {"MT", app::Field::MT},
    {"ML", app::Field::ML}, {"MV", app::Field::MV}, {"MF", app::Field::MF},
};

}  // namespace

std::optional<PlotFormat> PlotFormatOf(std::string_view path) {
    auto endsWith = [&](std::string_view suffix) {
        if (path.size() <= suffix.size()) return false;
        const std::string_view tail = path.substr(path.size() - suffix.size());
        return std::equal(tail.begin(), tail.end(), suffix.begin(),
                          [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    };
    if (endsWith(".png")) return PlotFormat::kPng;
    if (endsWith(".svg")) return PlotFormat::kSvg;
    return std::nullopt;
}

ParseResult ParseOptions(const std::vector<std::string_view>& args, Options& opt, std::string& error) {
    // Values are checked after all options are known, since --decimal-comma
    // may come last.
    std::vector<std::pair<std::string, std::string_view>> numbers;  // option, text
    std::string_view cyclesText;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        auto value = [&](std::string_view& out) {
            if (i + 1 >= args.size()) {
                error = std::string(a) + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string_view v;
        if (a == "--help" || a == "-h") {
            return ParseResult::kHelp;
        } else if (a == "--final-only") {
            opt.finalOnly = true;
        } else if (a == "--decimal-comma") {
            opt.decimalComma = true;
        } else if (a == "--invariants") {
            opt.invariants = true;
        } else if (a == "--verify") {
            opt.verify = true;
        } else if (a == "--format") {
            if (!value(v)) return ParseResult::kUsageError;
            if (v != "tsv" && v != "csv") {
                error = "--format takes tsv or csv";
                return ParseResult::kUsageError;
            }
            opt.csv = v == "csv";
        } else if (a == "--plot") {
            if (!value(v)) return ParseResult::kUsageError;
            if (!PlotFormatOf(v)) {
                error = "--plot takes a file name ending in .png or .svg";
                return ParseResult::kUsageError;
            }
            opt.plot = std::string(v);
        } else if (a == "--time" || a == "--inject-lateral-force") {
            if (!value(v)) return ParseResult::kUsageError;
            numbers.emplace_back(std::string(a), v);
        } else if (a == "--preset") {
            if (!value(v)) return ParseResult::kUsageError;
            if (v != "1" && v != "2") {
                error = "--preset takes 1 or 2";
                return ParseResult::kUsageError;
            }
            opt.preset = v == "1" ? 1 : 2;
        } else if (a == "--cycles") {
            if (!value(v)) return ParseResult::kUsageError;
            cyclesText = v;
            const auto r = std::from_chars(v.data(), v.data() + v.size(), opt.cycles);
            if (r.ec != std::errc() || r.ptr != v.data() + v.size() || opt.cycles < 1) {
                error = "--cycles takes a whole number of at least 1";
                return ParseResult::kUsageError;
            }
        } else if (a == "--twist") {
            if (!value(v)) return ParseResult::kUsageError;
            opt.twist = std::string(v);
            numbers.emplace_back("--twist", v);
        } else if (a == "--set") {
            if (!value(v)) return ParseResult::kUsageError;
            const auto eq = v.find('=');
            const std::string_view name = v.substr(0, eq);
            const auto* in = std::find_if(std::begin(kInputs), std::end(kInputs),
                                          [&](const auto& input) { return input.name == name; });
            if (eq == std::string_view::npos || in == std::end(kInputs)) {
                error = "--set takes NAME=VALUE with NAME one of m0 m1 R0 R1 V0 w0 CT KR KT h NC0 MT ML MV MF";
                return ParseResult::kUsageError;
            }
            const std::string_view text = v.substr(eq + 1);
            opt.fields.emplace_back(in->field, std::string(text));
            numbers.emplace_back("--set " + std::string(name), text);
        } else {
            error = "unknown option " + Quote(a);
            return ParseResult::kUsageError;
        }
    }
    const char sep = opt.decimalComma ? ',' : '.';
    for (const auto& [option, text] : numbers) {
        const bool whole = option == "--set NC0";
        const bool ok = whole ? app::ParseWhole32(text, sep).has_value() : app::ParseNumber(text, sep).has_value();
        if (!ok) {
            error = option + " " + Quote(text);
            return ParseResult::kBadValue;
        }
        if (option == "--time") {
            opt.time = *app::ParseNumber(text, sep);
            if (!(*opt.time > 0)) {
                error = "--time takes a positive number of seconds";
                return ParseResult::kUsageError;
            }
        } else if (option == "--inject-lateral-force") {
            opt.injectedForceY0 = *app::ParseNumber(text, sep);
        }
    }
    if ((opt.time || opt.injectedForceY0 != 0 || !opt.plot.empty()) && !opt.verify) {
        error = "--time, --inject-lateral-force and --plot go with --verify";
        return ParseResult::kUsageError;
    }
    return ParseResult::kOk;
}

namespace {

// Values given with a comma are read with a comma even when CSV output asks
// for points.
std::string InPortSeparator(std::string text, const Options& opt, char portSep) {
    const char given = opt.decimalComma ? ',' : '.';
    for (char& c : text)
        if (c == given) c = portSep;
    return text;
}

}  // namespace

void FillFields(app::MemoryPort& port, app::Controller& form, const Options& opt) {
    // CSV is for spreadsheets and pandas: always decimal points.
    port.separator = opt.decimalComma && !opt.csv ? ',' : '.';
    form.Load();
    if (opt.preset == 2) form.Press(app::Button::Preset2);
    for (const auto& [field, text] : opt.fields) port.Text(field) = InPortSeparator(text, opt, port.separator);
    if (opt.twist) {
        port.Check(app::Box::Twist) = 1;
        port.Text(app::Field::Twist) = InPortSeparator(*opt.twist, opt, port.separator);
    }
}

}  // namespace cli
