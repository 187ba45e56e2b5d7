#include "cli/options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>

#include "app/errors.h"
#include "app/fields.h"
#include "app/inputs.h"
#include "app/numtext.h"

namespace cli {

namespace {

constexpr std::string_view kUsageHead =
    "usage: morvane1-cli [--preset 1|2] [--set NAME=VALUE]... [--twist FI0]\n"
    "                    [--cycles N] [--final-only] [--decimal-comma] [--invariants]\n"
    "                    [--format tsv|csv]\n"
    "       morvane1-cli --verify [--preset 1|2] [--set NAME=VALUE]... [--twist FI0]\n"
    "                    [--time SECONDS] [--format tsv|csv] [--inject-lateral-force N]\n"
    "                    [--plot FILE] [--precision double|extended|auto]\n"
    "       morvane1-cli --sweep NAME=FROM:TO [--sweep NAME=FROM:TO] [--points N]\n"
    "                    [--steps-per-period N] [--steps N] [--jobs N] [--part K/N]\n"
    "                    [--preset 1|2] [--set NAME=VALUE]... [--time SECONDS]\n"
    "                    [--format tsv|csv] [--plot FILE]\n"
    "                    [--precision double|extended|auto]\n"
    "       morvane1-cli --plot-from FILE... --plot FILE\n"
    "       morvane1-cli --help | --version\n"
    "\n"
    "Runs the disk with two loads as the window does and prints, for every\n"
    "display cycle (NC0 steps), the readouts of the window, tab-separated.\n"
    "\n"
    "  --preset 1|2       start from preset 1 (default) or 2\n"
    "  --set NAME=VALUE   set one input; NAME is one of\n";
constexpr std::string_view kUsageTail =
    "  --twist FI0        start with the disk turned by FI0 rad (twist test)\n"
    "  --cycles N         display cycles to run (default 1)\n"
    "  --final-only       print only the last cycle\n"
    "  --decimal-comma    read and write numbers with a decimal comma\n"
    "  --invariants       add Eerr Px Py Lz Yc: 1e10*(E-E0)/E0 (left empty when\n"
    "                     E0 = 0), total momentum X and Y, angular momentum about\n"
    "                     the origin, and the ordinate of the centre of mass\n"
    "  --format tsv|csv   tab-separated (default), or CSV: a header row, then rows\n"
    "                     with J0 CR Fmrv E0 as four last columns, comma-separated\n"
    "                     with decimal points, or with --decimal-comma\n"
    "                     semicolon-separated with decimal commas\n"
    "  --verify           run at h, h/2 and h/4 to the same time and report the\n"
    "                     observed order, a ledger of the conserved quantities\n"
    "                     against their rounding floors, the smallest lateral\n"
    "                     force the run is sure to show, and the verdict\n"
    "  --time SECONDS     simulated time for --verify, taken to the nearest whole\n"
    "                     number of steps of h; at least 10 steps, and at most\n"
    "                     2E+08 steps in all three runs. Default 1000*h*NC0, and\n"
    "                     where the claim is below what that time shows, the time\n"
    "                     that shows it, if that takes about 10 s or less\n"
    "  --precision double|extended|auto\n"
    "                     the number type of --verify and --sweep: double, the\n"
    "                     window's; extended, 113 bits, some 80 times slower; auto\n"
    "                     (default) double, and where rounding decided that the\n"
    "                     run cannot tell, the same run again in extended\n"
    "  --inject-lateral-force N\n"
    "                     add a constant force of N newtons along +Y to the disk,\n"
    "                     to see what the verdict says of a real lateral force\n"
    "  --plot FILE        with --verify or --sweep: draw the answer into FILE\n"
    "                     (.png or .svg)\n"
    "  --sweep NAME=FROM:TO[:log|:lin]\n"
    "                     verify every point of a grid of one or two swept inputs\n"
    "                     (NAME as for --set, an input of the motion), FROM to TO\n"
    "                     spaced by equal ratios when both are positive, by equal\n"
    "                     steps otherwise; one row per point, in grid order, and\n"
    "                     the answer's figure\n"
    "  --points N         points along each swept input (default 5)\n"
    "  --steps-per-period N\n"
    "                     each point's h: its own shortest period (the disk's\n"
    "                     turn, a load's swing on its elements, the damping) over\n"
    "                     N (default 100); --set h fixes h for every point\n"
    "  --steps N          steps of h at each point (default 20000); --time fixes\n"
    "                     the time of every point instead\n"
    "  --jobs N           points run at once (default: every core); the table is\n"
    "                     the same for any N\n"
    "  --part K/N         run every N-th point from the K-th, to spread a sweep\n"
    "                     over machines; --plot-from merges the tables\n"
    "  --plot-from FILE...\n"
    "                     draw the figure of saved sweep tables, merged, into\n"
    "                     the --plot file; tables of different sweeps are\n"
    "                     refused, and points missing are counted\n"
    "  --help             this text\n"
    "  --version          the program's name and version\n"
    "\n"
    "A run of more than two seconds shows its progress on standard error when\n"
    "that is a terminal.\n"
    "\n"
    "Exit status: 0 done (--verify: no lateral force; --sweep: none at any\n"
    "point), 1 a lateral force acts (at some point) or the verification ledger\n"
    "does not hold, 2 an input refused, 3 the run stopped on an error, 4\n"
    "inconclusive (--verify cannot tell, and says what would; --sweep: some\n"
    "points cannot tell; --plot-from: also points missing),\n"
    "64 a usage error, 74 the output could not be written (a full disk). A closed\n"
    "pipe ends the run by SIGPIPE (141 in a shell), as it ends any filter.\n";

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

// The window's inputs by the symbols of their labels, as the window's input
// table lists them.
std::string InputNames(bool ofTheMotionOnly = false) {
    std::string names;
    for (const app::Input& in : app::kInputs)
        if (in.param || !ofTheMotionOnly) names.append(names.empty() ? "" : " ").append(in.symbol);
    return names;
}

const app::Input* FindInput(std::string_view name) {
    for (const app::Input& in : app::kInputs)
        if (in.symbol == name) return &in;
    return nullptr;
}

}  // namespace

std::string Usage() {
    return std::string(kUsageHead) + "                     " + InputNames() + "\n" + std::string(kUsageTail);
}

std::optional<app::Field> InputField(std::string_view name) {
    if (const app::Input* in = FindInput(name)) return in->field;
    return std::nullopt;
}

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

namespace {

// A number given on the command line, read once every option is known,
// since --decimal-comma may come last.
struct NumberText {
    std::string label;  // the option as the refusal names it
    std::string text;
    bool whole = false;                  // a signed 32-bit count, rounded
    // Where the value goes, if anywhere; a usage error, or nothing.
    std::function<std::string(double)> take;
};

// Takes one option's values, in the order given (none for a flag). A usage
// error stops the parse at once; numbers wait in `numbers`.
using Apply = ParseResult (*)(const std::vector<std::string>& values, Options& opt,
                              std::vector<NumberText>& numbers, std::string& error);

struct Entry {
    QStringList names;
    QString valueName;  // empty for a flag
    Apply apply;
};

ParseResult Refuse(std::string& error, std::string why) {
    error = std::move(why);
    return ParseResult::kUsageError;
}

// A whole number from lo to hi, or a usage error that says so.
template <class T>
ParseResult Whole(const std::string& v, long long lo, long long hi, T& out, const char* option, std::string& error) {
    long long n = 0;
    const auto r = std::from_chars(v.data(), v.data() + v.size(), n);
    if (r.ec != std::errc() || r.ptr != v.data() + v.size() || n < lo || n > hi)
        return Refuse(error, std::string(option) + " takes a whole number from " + std::to_string(lo) + " to " +
                                 std::to_string(hi));
    out = static_cast<T>(n);
    return ParseResult::kOk;
}


// One entry per option; --help and --version come first, so that they
// answer before any value is judged.
const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries = {
        {{"help", "h"}, {}, [](auto&, auto&, auto&, auto&) { return ParseResult::kHelp; }},
        {{"version"}, {}, [](auto&, auto&, auto&, auto&) { return ParseResult::kVersion; }},
        {{"final-only"}, {}, [](auto&, Options& o, auto&, auto&) {
             return o.finalOnly = o.cycleOptions = true, ParseResult::kOk;
         }},
        {{"decimal-comma"}, {}, [](auto&, Options& o, auto&, auto&) {
             return o.decimalComma = true, ParseResult::kOk;
         }},
        {{"invariants"}, {}, [](auto&, Options& o, auto&, auto&) {
             return o.invariants = o.cycleOptions = true, ParseResult::kOk;
         }},
        {{"verify"}, {}, [](auto&, Options& o, auto&, auto&) { return o.verify = true, ParseResult::kOk; }},
        {{"format"}, "tsv|csv", [](const auto& values, Options& o, auto&, std::string& error) {
             for (const std::string& v : values) {
                 if (v != "tsv" && v != "csv") return Refuse(error, "--format takes tsv or csv");
                 o.csv = v == "csv";
             }
             return ParseResult::kOk;
         }},
        {{"plot"}, "FILE", [](const auto& values, Options& o, auto&, std::string& error) {
             for (const std::string& v : values) {
                 if (!PlotFormatOf(v)) return Refuse(error, "--plot takes a file name ending in .png or .svg");
                 o.plot = v;
             }
             return ParseResult::kOk;
         }},
        {{"precision"}, "double|extended|auto", [](const auto& values, Options& o, auto&, std::string& error) {
             for (const std::string& v : values) {
                 if (v != "double" && v != "extended" && v != "auto")
                     return Refuse(error, "--precision takes double, extended or auto");
                 o.precision = v == "double"     ? verify::PrecisionChoice::kDouble
                               : v == "extended" ? verify::PrecisionChoice::kExtended
                                                 : verify::PrecisionChoice::kAuto;
                 o.precisionGiven = true;
             }
             return ParseResult::kOk;
         }},
        {{"preset"}, "1|2", [](const auto& values, Options& o, auto&, std::string& error) {
             for (const std::string& v : values) {
                 if (v != "1" && v != "2") return Refuse(error, "--preset takes 1 or 2");
                 o.preset = v == "1" ? 1 : 2;
             }
             return ParseResult::kOk;
         }},
        {{"cycles"}, "N", [](const auto& values, Options& o, auto&, std::string& error) {
             o.cycleOptions = true;
             for (const std::string& v : values) {
                 const auto r = std::from_chars(v.data(), v.data() + v.size(), o.cycles);
                 if (r.ec != std::errc() || r.ptr != v.data() + v.size() || o.cycles < 1)
                     return Refuse(error, "--cycles takes a whole number of at least 1");
             }
             return ParseResult::kOk;
         }},
        {{"twist"}, "FI0", [](const auto& values, Options& o, auto& numbers, auto&) {
             for (const std::string& v : values) numbers.push_back({"--twist", v, false, {}}), o.twist = v;
             return ParseResult::kOk;
         }},
        {{"set"}, "NAME=VALUE", [](const auto& values, Options& o, auto& numbers, std::string& error) {
             for (const std::string& v : values) {
                 const auto eq = v.find('=');
                 const std::string_view name = std::string_view(v).substr(0, eq);
                 const auto* in = FindInput(name);
                 if (eq == std::string::npos || !in)
                     return Refuse(error, "--set takes NAME=VALUE with NAME one of " + InputNames());
                 o.fields.emplace_back(in->field, v.substr(eq + 1));
                 numbers.push_back({"--set " + std::string(name), v.substr(eq + 1), in->whole, {}});
             }
             return ParseResult::kOk;
         }},
        {{"time"}, "SECONDS", [](const auto& values, Options& o, auto& numbers, auto&) {
             for (const std::string& v : values) numbers.push_back({"--time", v, false, [&o](double t) {
                 o.time = t;
                 return t > 0 ? std::string() : std::string("--time takes a positive number of seconds");
             }});
             return ParseResult::kOk;
         }},
        {{"sweep"}, "NAME=FROM:TO", [](const auto& values, Options& o, auto& numbers, std::string& error) {
             for (const std::string& v : values) {
                 const auto eq = v.find('=');
                 const std::string name = v.substr(0, eq);
                 std::vector<std::string> ends;
                 for (std::size_t at = eq + 1; eq != std::string::npos && at <= v.size();) {
                     const std::size_t colon = std::min(v.find(':', at), v.size());
                     ends.push_back(v.substr(at, colon - at));
                     at = colon + 1;
                 }
                 const std::string scale = ends.size() == 3 ? ends[2] : "";
                 const app::Input* in = FindInput(name);
                 if (!in || ends.size() < 2 || ends.size() > 3 || (ends.size() == 3 && scale != "log" && scale != "lin"))
                     return Refuse(error, "--sweep takes NAME=FROM:TO[:log|:lin] with NAME one of " + InputNames(true));
                 if (!in->param)
                     return Refuse(error, "--sweep " + name + ": it changes how the window shows a run, not the motion");
                 for (const verify::Axis& a : o.axes)
                     if (a.name == name) return Refuse(error, "--sweep gives " + name + " twice");
                 if (o.axes.size() == 2) return Refuse(error, "--sweep takes one or two inputs, not three");
                 const std::size_t i = o.axes.size();
                 o.axes.push_back({name, 0, 0, false});
                 const std::string label = "--sweep " + name;
                 numbers.push_back({label, ends[0], false, [&o, i](double x) { return o.axes[i].from = x, std::string(); }});
                 numbers.push_back({label, ends[1], false, [&o, i, scale, label](double x) {
                     verify::Axis& a = o.axes[i];
                     a.to = x;
                     const bool positive = a.from > 0 && a.to > 0;
                     if (scale == "log" && !positive)
                         return label + ": a range spaced by equal ratios needs both ends above 0";
                     a.log = scale == "log" || (scale.empty() && positive);
                     return std::string();
                 }});
             }
             return ParseResult::kOk;
         }},
        {{"points"}, "N", [](const auto& values, Options& o, auto&, std::string& error) {
             for (const std::string& v : values)
                 if (Whole(v, 1, verify::kMostAxisPoints, o.points.emplace(), "--points", error) != ParseResult::kOk)
                     return ParseResult::kUsageError;
             return ParseResult::kOk;
         }},
        {{"steps-per-period"}, "N", [](const auto& values, Options& o, auto&, std::string& error) {
             // Fewer than 2 Pi steps a period leave RK4 unstable.
             for (const std::string& v : values)
                 if (Whole(v, 7, 1'000'000, o.stepsPerPeriod.emplace(), "--steps-per-period", error) != ParseResult::kOk)
                     return ParseResult::kUsageError;
             return ParseResult::kOk;
         }},
        {{"steps"}, "N", [](const auto& values, Options& o, auto&, std::string& error) {
             for (const std::string& v : values)
                 if (Whole(v, verify::kMinVerifySteps, verify::kMaxVerifySteps, o.steps.emplace(), "--steps",
                           error) != ParseResult::kOk)
                     return ParseResult::kUsageError;
             return ParseResult::kOk;
         }},
        {{"jobs"}, "N", [](const auto& values, Options& o, auto&, std::string& error) {
             for (const std::string& v : values)
                 if (Whole(v, 1, 1024, o.jobs.emplace(), "--jobs", error) != ParseResult::kOk)
                     return ParseResult::kUsageError;
             return ParseResult::kOk;
         }},
        {{"part"}, "K/N", [](const auto& values, Options& o, auto&, std::string& error) {
             for (const std::string& v : values) {
                 const auto slash = v.find('/');
                 const std::string why = "--part takes K/N, whole numbers with 1 <= K <= N <= " +
                                         std::to_string(verify::kMostGridPoints);
                 if (slash == std::string::npos ||
                     Whole(v.substr(slash + 1), 1, verify::kMostGridPoints, o.parts, "--part", error) != ParseResult::kOk ||
                     Whole(v.substr(0, slash), 1, o.parts, o.part, "--part", error) != ParseResult::kOk)
                     return Refuse(error, why);
             }
             return ParseResult::kOk;
         }},
        {{"plot-from"}, "FILE", [](const auto& values, Options& o, auto&, auto&) {
             o.plotFrom.insert(o.plotFrom.end(), values.begin(), values.end());
             return ParseResult::kOk;
         }},
        {{"inject-lateral-force"}, "N", [](const auto& values, Options& o, auto& numbers, auto&) {
             for (const std::string& v : values)
                 numbers.push_back({"--inject-lateral-force", v, false, [&o](double f) {
                     return o.injectedForceY0 = f, std::string();
                 }});
             return ParseResult::kOk;
         }},
    };
    return entries;
}

// Each byte as one character and back: option names are ASCII, and values
// reach the fields byte for byte, whatever their encoding.
QString Chars(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
std::string Bytes(const QString& chars) { return chars.toLatin1().toStdString(); }

}  // namespace

ParseResult ParseOptions(const std::vector<std::string_view>& args, Options& opt, std::string& error) {
    QCommandLineParser parser;
    // -help and -version work too, as with Qt's own programs; no option is
    // a bundle of one-letter ones.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    std::vector<QCommandLineOption> options;
    for (const Entry& e : Entries()) {
        options.emplace_back(e.names, QString(), e.valueName);
        parser.addOption(options.back());
    }
    QStringList line{QStringLiteral("morvane1-cli")};
    for (const std::string_view a : args) line << Chars(a);
    if (!parser.parse(line)) {
        // An unknown option is quoted as it was typed.
        if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
            const std::string name = Bytes(unknown.front());
            const auto typed = std::find_if(args.begin(), args.end(), [&](std::string_view a) {
                const std::size_t dashes = a.starts_with("--") ? 2 : a.starts_with('-') ? 1 : 0;
                return dashes > 0 && a.substr(dashes, a.find('=') - dashes) == name;
            });
            return Refuse(error, "unknown option " + Quote(typed != args.end() ? *typed : "--" + name));
        }
        std::string why = parser.errorText().toStdString();  // "Missing value after '--set'."
        if (why.ends_with('.')) why.pop_back();
        if (!why.empty()) why.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(why.front())));
        return Refuse(error, why);
    }
    // --plot-from takes every file named after it.
    const QStringList rest = parser.positionalArguments();
    if (!rest.isEmpty() && !parser.isSet(QStringLiteral("plot-from")))
        return Refuse(error, "unexpected argument " + Quote(Bytes(rest.front())));

    std::vector<NumberText> numbers;
    for (std::size_t i = 0; i < Entries().size(); ++i) {
        if (!parser.isSet(options[i])) continue;
        std::vector<std::string> values;
        for (const QString& v : parser.values(options[i])) values.push_back(Bytes(v));
        if (const ParseResult r = Entries()[i].apply(values, opt, numbers, error); r != ParseResult::kOk) return r;
    }
    for (const QString& file : rest) opt.plotFrom.push_back(Bytes(file));
    const char sep = opt.decimalComma ? ',' : '.';
    for (const NumberText& n : numbers) {
        const bool ok = n.whole ? app::ParseWhole32(n.text, sep).has_value()
                                : app::ParseNumber(n.text, sep).has_value();
        if (!ok) {
            error = n.label + " " + Quote(n.text);
            return ParseResult::kBadValue;
        }
        if (n.take)
            if (std::string why = n.take(*app::ParseNumber(n.text, sep)); !why.empty()) return Refuse(error, why);
    }
    const bool sweepOptions = opt.points || opt.stepsPerPeriod || opt.steps || opt.jobs || opt.parts != 1;
    if (!opt.plotFrom.empty()) {
        if (opt.plot.empty() || opt.verify || opt.Sweeps() || sweepOptions || opt.cycleOptions || opt.time ||
            opt.injectedForceY0 != 0 || opt.precisionGiven)
            return Refuse(error, "--plot-from draws saved sweep tables into the --plot file, and runs nothing");
        return ParseResult::kOk;
    }
    if (opt.Sweeps()) {
        bool fixedH = false;
        for (const auto& [field, text] : opt.fields) {
            fixedH |= field == app::Field::Step;
            for (const verify::Axis& a : opt.axes)
                if (FindInput(a.name)->field == field) return Refuse(error, "--set and --sweep both give " + a.name);
        }
        for (const verify::Axis& a : opt.axes) fixedH |= a.name == "h";
        if (opt.cycleOptions) return Refuse(error, "--cycles, --final-only and --invariants go with a run, not --sweep");
        if (fixedH && opt.stepsPerPeriod)
            return Refuse(error, "--steps-per-period and an h of the inputs both set the step of every point");
        if (opt.time && opt.steps) return Refuse(error, "--steps and --time both set how long every point runs");
        long long grid = 1;
        for (std::size_t k = 0; k < opt.axes.size(); ++k) grid *= opt.points.value_or(5);
        if (grid > verify::kMostGridPoints)
            return Refuse(error, "--sweep: " + std::to_string(grid) + " points, more than the " +
                                     std::to_string(verify::kMostGridPoints) + " a sweep makes");
        if (opt.part > grid)
            return Refuse(error, "--part " + std::to_string(opt.part) + "/" + std::to_string(opt.parts) +
                                     " holds no point of a grid of " + std::to_string(grid));
    } else if (sweepOptions) {
        return Refuse(error, "--points, --steps-per-period, --steps, --jobs and --part go with --sweep");
    }
    if ((opt.time || opt.injectedForceY0 != 0 || !opt.plot.empty() || opt.precisionGiven) && !opt.verify &&
        !opt.Sweeps())
        return Refuse(error, "--time, --inject-lateral-force, --plot and --precision go with --verify or --sweep");
    // The verifier's table keeps decimal points in CSV.
    if (opt.verify && opt.csv && opt.decimalComma)
        return Refuse(error, "--decimal-comma goes with --format csv for the rows of a run, not with --verify");
    return ParseResult::kOk;
}

void FillFields(app::MemoryPort& port, app::Controller& form, const Options& opt) {
    port.separator = opt.decimalComma ? ',' : '.';
    form.Load();
    if (opt.preset == 2) form.Press(app::Button::Preset2);
    for (const auto& [field, text] : opt.fields) port.Text(field) = text;
    if (opt.twist) {
        port.Check(app::Box::Twist) = 1;
        port.Text(app::Field::Twist) = *opt.twist;
    }
}

StartNumbers InputNumbers(const Options& opt) {
    const char sep = opt.decimalComma ? ',' : '.';
    app::Record rec;
    for (const app::Input& in : app::kInputs) {
        // The last text typed over the preset's is the one Start reads.
        const std::string* typed = nullptr;
        for (const auto& [field, text] : opt.fields)
            if (field == in.field) typed = &text;
        double value = app::PresetValue(in, opt.preset);
        if (typed) {
            const std::optional<double> read = app::ReadInput(in, *typed, sep);
            if (!read) throw app::InputError(in.field);
            value = *read;
        }
        app::StoreInput(in, value, rec);
    }
    StartNumbers n{rec.model.p, 0, rec.run.NC0};
    if (opt.twist) {
        const std::optional<double> fi0 = app::ReadNumberText(*opt.twist, sep);
        if (!fi0) throw app::InputError(app::Field::Twist);
        n.fi0 = *fi0;
    }
    return n;
}

}  // namespace cli
