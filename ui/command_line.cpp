#include "ui/command_line.h"

#include <QCommandLineParser>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/fields.h"
#include "app/numtext.h"

namespace ui {

namespace {

constexpr const char* kUsage =
    "Usage: morvane1 [--rate R] [--lang ru|en] [Qt options]\n"
    "Opens the Morvane1 window: a disk that moves and spins carrying two loads on\n"
    "damped elastic elements, integrated with the classical Runge-Kutta method.\n"
    "\n"
    "  --rate R    run at most R simulated seconds per real second: 1 by default,\n"
    "              0 for as fast as the machine allows, otherwise from 1E-09 to\n"
    "              1000000000. In the window Ctrl+Up doubles the rate, Ctrl+Down\n"
    "              halves it (or goes back from as fast as possible), Ctrl+0 runs\n"
    "              as fast as possible; the title shows it, and the rate a run\n"
    "              reaches when it cannot keep up.\n"
    "  --lang L    the window's language: ru (its own, by default) or en\n"
    "  --version   print the name and version and exit\n"
    "  --help      print this help and exit\n"
    "\n"
    "Qt's own options are accepted too, in their single-dash form, such as\n"
    "-platform offscreen, -display :1 or -style Fusion.\n";

int UsageError(const QString& what) {
    std::fprintf(stderr, "morvane1: %s\nTry 'morvane1 --help'.\n", what.toLocal8Bit().constData());
    return 64;
}

int Print(const std::string& text) {
    if (std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0) return 0;
    std::fprintf(stderr, "morvane1: the answer could not be written: %s\n", std::strerror(errno));
    return 74;
}

// A refused value, shown on the one line of the message.
QString Quoted(const QString& text) {
    QString shown = text.size() > 40 ? text.left(40) + QStringLiteral("...") : text;
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control) c = u'?';
    return u'"' + shown + u'"';
}

bool Named(const QString& arg, QLatin1StringView name) {
    return arg == QLatin1String("--") + name || arg == QLatin1String("-") + name;
}

// The arguments to read: this program's options with their values and,
// when all are read, whatever is not a single-dash word, the form of Qt's
// own options. Qt reads some of those without removing them (-sync).
QStringList Selected(const QStringList& args, Arguments which) {
    QStringList kept = args.mid(0, 1);
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        const auto valued = [&](QLatin1StringView name) {
            return arg.startsWith(QLatin1String("--") + name + u'=') || arg.startsWith(QLatin1String("-") + name + u'=');
        };
        if (Named(arg, QLatin1StringView("rate")) || Named(arg, QLatin1StringView("lang"))) {
            kept << args.mid(i, 2);
            ++i;
        } else if (valued(QLatin1StringView("rate")) || valued(QLatin1StringView("lang")) ||
                   Named(arg, QLatin1StringView("help")) || Named(arg, QLatin1StringView("h")) ||
                   Named(arg, QLatin1StringView("version")) ||
                   (which == Arguments::kAll && (arg.startsWith(QLatin1String("--")) || !arg.startsWith(u'-')))) {
            kept << arg;
        }
    }
    return kept;
}

}  // namespace

std::optional<int> ReadCommandLine(const QStringList& args, Arguments which, ProgramOptions& options) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption rate(QStringLiteral("rate"), QString(), QStringLiteral("R"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption lang(QStringLiteral("lang"), QString(), QStringLiteral("L"));
    parser.addOptions({rate, lang, help, version});
    if (!parser.parse(Selected(args, which))) return UsageError(parser.errorText());
    if (parser.isSet(help)) return Print(kUsage);
    if (parser.isSet(version)) return Print("morvane1 " MORVANE1_VERSION "\n");
    if (!parser.positionalArguments().isEmpty())
        return UsageError(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().front()));
    if (parser.isSet(rate)) {
        const QString text = parser.value(rate);
        const std::optional<double> value = app::ReadNumberText(text.toStdString(), '.');
        if (!value || !app::Pace::Valid(*value))
            return UsageError(QStringLiteral("--rate %1 is not a rate: give simulated seconds per real second, "
                                             "0 or from %2 to %3")
                                  .arg(Quoted(text))
                                  .arg(QString::fromStdString(app::FormatNumber(app::Pace::kMinRate, '.')))
                                  .arg(QString::fromStdString(app::FormatNumber(app::Pace::kMaxRate, '.'))));
        options.rate = *value;
    }
    if (parser.isSet(lang)) {
        const QString text = parser.value(lang);
        if (text != QLatin1String("ru") && text != QLatin1String("en"))
            return UsageError(QStringLiteral("--lang %1 is not a language of the window: give ru or en").arg(Quoted(text)));
        options.english = text == QLatin1String("en");
    }
    return std::nullopt;
}

}  // namespace ui
