// The real main window under load, as figures: how many display cycles
// (preset 1, NC0 = 1) and integration steps (preset 2, NC0 = 100) a run
// makes per second of wall time as fast as it can go, how often the window
// gets its turn meanwhile, and what share of one core the process uses; then
// a paced run (preset 1 at the given rate): the rate it reaches and its share
// of a core; then the share a stopped window uses. Needs a display: run it
// under xvfb-run, or with QT_QPA_PLATFORM=offscreen.
//
//   bench_window [--seconds S] [--preset 1|2] [--rate R]
//
// Without --preset both presets run as fast as possible; the paced run goes
// at R simulated seconds per real second (default 1). The exit status is 1
// only when the window never showed or a run ended with a message.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "sim/model.h"
#include "ui/form1.h"

namespace {

struct RunFigures {
    double seconds = 0;
    long long steps = 0;
    long long cycles = 0;
    long long turns = 0;  // times the event loop had the window's turn
    double simulated = 0;  // T reached [s]
    double cores = 0;      // processor time over wall time, all threads
};

double ProcessorSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

bool WaitExposed(QWidget& w) {
    QEventLoop loop;
    QTimer poll, limit;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (w.windowHandle() && w.windowHandle()->isExposed()) loop.quit();
    });
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start(10), limit.start(5000);
    loop.exec();
    return w.windowHandle() && w.windowHandle()->isExposed();
}

// Starts a run with the "Начать" button and presses "Остановить" after the
// given time; the run ends one display cycle later. With countTurns a
// zero-interval timer counts the window's turns between the slices (and
// keeps the loop busy, so a paced run is timed without it).
RunFigures TimedRun(ui::Form1& form, int milliseconds, bool countTurns) {
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &form, [&form] { form.Widget(app::Button::Stop)->click(); });
    QEventLoop loop;
    QObject::connect(&form, &ui::Form1::runFinished, &loop, &QEventLoop::quit);
    RunFigures r;
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, [&r] { ++r.turns; });
    if (countTurns) turn.start(0);
    QElapsedTimer t;
    t.start();
    const double cpu = ProcessorSeconds();
    form.Widget(app::Button::Start)->click();
    loop.exec();
    r.seconds = static_cast<double>(t.nsecsElapsed()) * 1e-9;
    r.cores = (ProcessorSeconds() - cpu) / r.seconds;
    const sim::Model& m = form.Controller().Model();
    const int nc0 = form.Controller().State().run.NC0;
    // T is the running sum of h from zero, so it counts the steps.
    r.simulated = m.s.T;
    r.steps = std::llround(m.s.T / m.p.h);
    r.cycles = r.steps / (nc0 > 0 ? nc0 : 1);
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::ApplyProgramStyle();  // as the program does
    double seconds = 3, rate = 1;
    int only = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            seconds = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--preset") == 0 && i + 1 < argc) {
            only = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--rate") == 0 && i + 1 < argc) {
            rate = std::atof(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: %s [--seconds S] [--preset 1|2] [--rate R]\n", argv[0]);
            return 64;
        }
    }

    ui::Form1 form(0);
    int messages = 0;
    form.SetMessageSink([&messages](const QString& text) {
        ++messages;
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    });
    form.show();
    if (!WaitExposed(form)) {
        std::fprintf(stderr, "the window was never exposed\n");
        return 1;
    }

    const int ms = static_cast<int>(seconds * 1000);
    std::printf("as fast as possible:\n");
    if (only != 2) {
        form.Widget(app::Button::Preset1)->click();  // NC0 = 1, a display cycle per step
        const RunFigures p1 = TimedRun(form, ms, true);
        std::printf("  preset 1: %lld display cycles in %.3f s: %.0f display cycles/s, %.0f turns of the window/s, "
                    "%.3f of a core\n",
                    p1.cycles, p1.seconds, static_cast<double>(p1.cycles) / p1.seconds,
                    static_cast<double>(p1.turns) / p1.seconds, p1.cores);
    }
    if (only != 1) {
        form.Widget(app::Button::ClearPictures)->click();
        form.Widget(app::Button::Preset2)->click();  // NC0 = 100
        const RunFigures p2 = TimedRun(form, ms, true);
        std::printf("  preset 2: %lld steps in %.3f s: %.0f steps/s (%.0f display cycles/s), %.0f turns of the "
                    "window/s, %.3f of a core\n",
                    p2.steps, p2.seconds, static_cast<double>(p2.steps) / p2.seconds,
                    static_cast<double>(p2.cycles) / p2.seconds, static_cast<double>(p2.turns) / p2.seconds,
                    p2.cores);
    }
    // A paced run sleeps between its frames.
    form.SetRate(rate);
    form.Widget(app::Button::ClearPictures)->click();
    form.Widget(app::Button::Preset1)->click();
    const RunFigures paced = TimedRun(form, ms, false);
    std::printf("paced at %g simulated seconds per real second: preset 1 reached %.4g (%.3f of the rate), %.3f of a "
                "core\n",
                form.Rate(), paced.simulated / paced.seconds, paced.simulated / paced.seconds / form.Rate(),
                paced.cores);
    // Stopped, the window waits for the user and nothing else.
    QEventLoop idle;
    QTimer::singleShot(ms, &idle, &QEventLoop::quit);
    const double cpu = ProcessorSeconds();
    idle.exec();
    std::printf("stopped: %.4f of a core\n", (ProcessorSeconds() - cpu) / seconds);
    std::fflush(stdout);
    return messages == 0 ? 0 : 1;
}
