// The real window under load: how many display cycles (preset 1, NC0 = 1)
// and how many integration steps (preset 2, NC0 = 100) a run makes per
// second of wall time with the window on screen, and what share of one core
// the process uses for it; then the share it uses with no run. Needs a
// display; on a machine without one run it under xvfb-run.
//
//   window_bench [--seconds S] [--preset 1|2] [--rate R] [--most-of-a-core F]
//
// Without --preset both are measured, preset 1 first. The rate is 0 (as
// fast as possible) unless given. With --most-of-a-core the exit status is
// 1 when a run uses more than F of a core, or a stopped window any at all.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "sim/model.h"
#include "ui/form1.h"

namespace {

struct RunResult {
    double seconds = 0;
    long long steps = 0;
    long long cycles = 0;
    double cores = 0;  // processor time over wall time, all threads
};

double ProcessorSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

bool WaitExposed(QWidget& w) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 5000) {
        if (w.windowHandle() && w.windowHandle()->isExposed()) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return false;
}

// Starts a run with the "Начать" button and presses "Остановить" after the
// given time; the run ends one display cycle later.
RunResult TimedRun(ui::Form1& form, int milliseconds) {
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &form, [&form] { form.Widget(app::Button::Stop)->click(); });
    QEventLoop loop;
    QObject::connect(&form, &ui::Form1::runFinished, &loop, &QEventLoop::quit);
    QElapsedTimer t;
    t.start();
    const double cpu = ProcessorSeconds();
    form.Widget(app::Button::Start)->click();
    loop.exec();
    RunResult r;
    r.seconds = static_cast<double>(t.nsecsElapsed()) * 1e-9;
    r.cores = (ProcessorSeconds() - cpu) / r.seconds;
    const sim::Model& m = form.Controller().Model();
    const int nc0 = form.Controller().State().run.NC0;
    // T is the running sum of h from zero, so it counts the steps.
    r.steps = std::llround(m.s.T / m.p.h);
    r.cycles = r.steps / (nc0 > 0 ? nc0 : 1);
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::ApplyProgramStyle();  // as the program does
    double seconds = 3, rate = 0, mostOfACore = 0;
    int only = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            seconds = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--preset") == 0 && i + 1 < argc) {
            only = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--rate") == 0 && i + 1 < argc) {
            rate = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--most-of-a-core") == 0 && i + 1 < argc) {
            mostOfACore = std::atof(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: %s [--seconds S] [--preset 1|2] [--rate R] [--most-of-a-core F]\n", argv[0]);
            return 64;
        }
    }

    ui::Form1 form(rate);
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
    double busiest = 0;
    std::printf("rate %g simulated seconds per real second (0: as fast as possible)\n", form.Rate());
    if (only != 2) {
        form.Widget(app::Button::Preset1)->click();  // NC0 = 1, a display cycle per step
        const RunResult p1 = TimedRun(form, ms);
        std::printf("preset 1: %lld display cycles in %.3f s: %.0f display cycles/s, %.3f of a core\n", p1.cycles,
                    p1.seconds, static_cast<double>(p1.cycles) / p1.seconds, p1.cores);
        busiest = std::max(busiest, p1.cores);
    }
    if (only != 1) {
        form.Widget(app::Button::ClearPictures)->click();
        form.Widget(app::Button::Preset2)->click();  // NC0 = 100
        const RunResult p2 = TimedRun(form, ms);
        std::printf("preset 2: %lld steps in %.3f s: %.0f steps/s (%.0f display cycles/s), %.3f of a core\n",
                    p2.steps, p2.seconds, static_cast<double>(p2.steps) / p2.seconds,
                    static_cast<double>(p2.cycles) / p2.seconds, p2.cores);
        busiest = std::max(busiest, p2.cores);
    }
    // Stopped, the window waits for the user and nothing else.
    QEventLoop idle;
    QTimer::singleShot(ms, &idle, &QEventLoop::quit);
    const double cpu = ProcessorSeconds();
    idle.exec();
    const double stopped = (ProcessorSeconds() - cpu) / seconds;
    std::printf("stopped: %.4f of a core\n", stopped);
    std::fflush(stdout);
    const bool tooBusy = mostOfACore > 0 && (busiest > mostOfACore || stopped > 0.005);
    return messages == 0 && !tooBusy ? 0 : 1;
}
