// Long runs in the real main window, offscreen: ten million steps of preset 2
// and a million display cycles of preset 1. After a warm-up the resident
// memory must stay within 2 MB of where it was, and a display cycle late in
// the long preset-1 run must cost no more than one early in it.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numeric>
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

// The main window, counting the display cycles a run goes on from (it
// processes events after each) and pressing Stop so that the run ends after
// `total`. The end of each hundredth of the run is timed, the memory sampled.
struct Soak : ui::Form1 {
    int ProcessEvents() override {
        if (++cycles % (total / 100) == 0)
            ends.push_back(clock.nsecsElapsed()), peakKb = std::max(peakKb, ResidentKb());
        if (cycles == total - 1) Widget(app::Button::Stop)->click();
        return Form1::ProcessEvents();
    }
    // Returns the steps made, counted by T.
    long long Run(app::Button preset, long long cycles_) {
        Widget(preset)->click();
        cycles = 0, total = cycles_, ends = {0}, clock.start();
        Widget(app::Button::Start)->click();
        return std::llround(Controller().Model().T / Controller().Model().h);
    }
    long long cycles = 0, total = 100;
    long peakKb = 0;
    std::vector<qint64> ends;
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
    // The warm-up brings the caches and the allocator's pools to their size.
    w.Run(app::Button::Preset2, 2'000), w.Run(app::Button::Preset1, 50'000);
    const long baseline = w.peakKb = ResidentKb();
    const long long steps = w.Run(app::Button::Preset2, 100'000) + w.Run(app::Button::Preset1, 1'000'000);
    // Each tenth by its fastest block, as other work only ever adds time; the
    // last cycle processes no events, so 99 blocks are timed.
    std::vector<qint64> block(w.ends.size());
    std::adjacent_difference(w.ends.begin(), w.ends.end(), block.begin());
    const qint64 first = *std::min_element(block.begin() + 1, block.begin() + 11);
    const qint64 last = *std::min_element(block.end() - 10, block.end());
    std::printf("soak: %lld steps, %d message(s); resident %ld kB after the warm-up, %ld kB at most; 10 000 display "
                "cycles took %lld ns at best in the first tenth, %lld ns in the last\n",
                steps, messages, baseline, w.peakKb, first, last);
    // A cost that grows with the cycles made slows every block of the last
    // tenth; other work slows single blocks up to 1.7 times, not all ten.
    return messages == 0 && steps == 11'000'000 && w.peakKb - baseline < 2048 && last < 1.5 * first ? 0 : 1;
}
