#include "cli/options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>

#include "app/numtext.h"

namespace cli {

const char* const kUsage =
    "usage: morvane1-cli [--preset 1|2] [--set NAME=VALUE]... [--twist FI0]\n"
    "                    [--cycles N] [--final-only] [--decimal-comma] [--invariants]\n"
    "                    [--format tsv|csv]\n"
    "       morvane1-cli --verify [--preset 1|2] [--set NAME=VALUE]... [--twist FI0]\n"
    "                    [--time SECONDS] [--format tsv|csv] [--inject-lateral-force N]\n"
    "                    [--plot FILE]\n"
    "       morvane1-cli --help | --version\n"
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
    "  --time SECONDS     simulated time for --verify (default 1000*h*NC0), taken\n"
    "                     to the nearest whole number of steps of h; at least 10\n"
    "                     steps, and at most 2E+08 steps in all three runs\n"
    "  --inject-lateral-force N\n"
    "                     add a constant force of N newtons along +Y to the disk,\n"
    "                     to see what the verdict says of a real lateral force\n"
    "  --plot FILE        with --verify: draw the answer into FILE (.png or .svg)\n"
    "  --help             this text\n"
    "  --version          the program's name and version\n"
    "\n"
    "A run of more than two seconds shows its progress on standard error when\n"
    "that is a terminal.\n"
    "\n"
    "Exit status: 0 done (--verify: no lateral force), 1 a lateral force acts or\n"
    "the verification ledger does not hold, 2 an input refused, 3 the run stopped\n"
    "on an error, 4 inconclusive (--verify cannot tell; it says what would),\n"
    "64 a usage error, 74 the output could not be written (a full disk). A closed\n"
    "pipe ends the run by SIGPIPE (141 in a shell), as it ends any filter.\n";

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

// One entry per option; --help and --version come first, so that they
// answer before any value is judged.
const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries = {
        {{"help", "h"}, {}, [](auto&, auto&, auto&, auto&) { return ParseResult::kHelp; }},
        {{"version"}, {}, [](auto&, auto&, auto&, auto&) { return ParseResult::kVersion; }},
        {{"final-only"}, {}, [](auto&, Options& o, auto&, auto&) { return o.finalOnly = true, ParseResult::kOk; }},
        {{"decimal-comma"}, {}, [](auto&, Options& o, auto&, auto&) {
             return o.decimalComma = true, ParseResult::kOk;
         }},
        {{"invariants"}, {}, [](auto&, Options& o, auto&, auto&) { return o.invariants = true, ParseResult::kOk; }},
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
        {{"preset"}, "1|2", [](const auto& values, Options& o, auto&, std::string& error) {
             for (const std::string& v : values) {
                 if (v != "1" && v != "2") return Refuse(error, "--preset takes 1 or 2");
                 o.preset = v == "1" ? 1 : 2;
             }
             return ParseResult::kOk;
         }},
        {{"cycles"}, "N", [](const auto& values, Options& o, auto&, std::string& error) {
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
                 const auto* in = std::find_if(std::begin(kInputs), std::end(kInputs),
                                               [&](const auto& input) { return input.name == name; });
                 if (eq == std::string::npos || in == std::end(kInputs))
                     return Refuse(error, "--set takes NAME=VALUE with NAME one of "
                                          "m0 m1 R0 R1 V0 w0 CT KR KT h NC0 MT ML MV MF");
                 o.fields.emplace_back(in->field, v.substr(eq + 1));
                 numbers.push_back({"--set " + std::string(name), v.substr(eq + 1), in->field == app::Field::NC0, {}});
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
    if (const QStringList rest = parser.positionalArguments(); !rest.isEmpty())
        return Refuse(error, "unexpected argument " + Quote(Bytes(rest.front())));

    std::vector<NumberText> numbers;
    for (std::size_t i = 0; i < Entries().size(); ++i) {
        if (!parser.isSet(options[i])) continue;
        std::vector<std::string> values;
        for (const QString& v : parser.values(options[i])) values.push_back(Bytes(v));
        if (const ParseResult r = Entries()[i].apply(values, opt, numbers, error); r != ParseResult::kOk) return r;
    }
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
    if ((opt.time || opt.injectedForceY0 != 0 || !opt.plot.empty()) && !opt.verify)
        return Refuse(error, "--time, --inject-lateral-force and --plot go with --verify");
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

}  // namespace cli
