// Long runs offscreen: after a warm-up, memory within 2 MB, and a late display cycle no dearer than an early one.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ui/form1.h"

namespace {

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
    return -1;
}

// Times each hundredth of `total` display cycles (counted by T) and samples the memory; Stop ends it.
struct Soak : ui::Form1 {
    Soak() : ui::Form1(0) {}
    void SetText(app::Field f, std::string_view text) override {
        if (f == app::Field::T && ++cycles % (total / 100) == 0) {
            blocks.push_back(clock.nsecsElapsed()), clock.restart();
            peakKb = std::max(peakKb, ResidentKb());
            if (cycles == total) Widget(app::Button::Stop)->click();
        }
        Form1::SetText(f, text);
    }
    long long Run(app::Button preset, long long cycles_) {  // the steps made, by T
        Widget(preset)->click();
        cycles = 0, total = cycles_, blocks.clear(), clock.start();
        QEventLoop loop;
        connect(this, &Form1::runFinished, &loop, &QEventLoop::quit);
        Widget(app::Button::Start)->click();
        loop.exec();
        return std::llround(Controller().Model().s.T / Controller().Model().p.h);
    }
    long long cycles = 0, total = 100;
    long peakKb = 0;
    std::vector<qint64> blocks;
    QElapsedTimer clock;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Soak w;
    int messages = 0;
    w.SetMessageSink([&messages](const QString&) { ++messages; });
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) return 1;
    w.Run(app::Button::Preset2, 2'000), w.Run(app::Button::Preset1, 50'000);  // caches and pools to their size
    const long baseline = w.peakKb = ResidentKb();
    const long long steps = w.Run(app::Button::Preset2, 100'000) + w.Run(app::Button::Preset1, 1'000'000);
    // The fastest of the first and last ten blocks: other work only adds time.
    const qint64 first = *std::min_element(w.blocks.begin(), w.blocks.begin() + 10);
    const qint64 last = *std::min_element(w.blocks.end() - 10, w.blocks.end());
    std::printf("soak: %lld steps, %d message(s), %ld kB resident after the warm-up, %ld kB at most; "
                "10 000 display cycles in %lld ns at best early, %lld ns late\n",
                steps, messages, baseline, w.peakKb, first, last);
    return messages == 0 && steps == 11'000'000 && w.peakKb - baseline < 2048 && last < 1.5 * first ? 0 : 1;
}
