// The window's run driver: the event loop drives a run, not the other way
// round. A single-shot timer calls one slice of the run when the pace says
// it is due and returns; the window takes its events between two slices.
// It owns the timer, the clock, the pace and the slice limit, and holds the
// run while a message box is up.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

#include "app/controller.h"
#include "app/pace.h"

namespace ui {

class RunDriver : public QObject {
    Q_OBJECT

public:
    // beforeSlice runs before each slice, afterSlice after it (the window
    // reads its locale, then shows what the slice wrote). Runs go at most at
    // `rate` simulated seconds per real second, 0 for as fast as possible.
    RunDriver(app::Controller& controller, std::function<void()> beforeSlice, std::function<void()> afterSlice,
              double rate = app::Pace::kDefaultRate);

    double Rate() const { return pace_.Rate(); }
    // The rate a run in progress reaches when it falls short of Rate(),
    // measured about once a second; negative while it keeps up, before the
    // first measure and with no run.
    double ShortOf() const { return running_ && pace_.FallsShort() ? pace_.Reached() : -1; }
    // A rate that app::Pace::Valid refuses changes nothing; paceChanged is
    // emitted all the same.
    void SetRate(double rate);
    void Faster();
    void Slower();

    // After anything that may start or end a run (a press, a closed
    // window): the next slice is scheduled, or runFinished is emitted.
    void Follow();
    // Calls `box` (a modal message box) with the run held: the box's own
    // event loop calls no slice, as no slice came while a box shown in a
    // run's event processing was up.
    void Hold(const std::function<void()>& box);

    // A slice is scheduled: never while no run is in progress.
    bool SliceScheduled() const { return timer_.isActive(); }
    // The wait asked for the next slice [ms], while one is scheduled.
    int WaitMs() const { return timer_.interval(); }

    // The longest slice of a run before the window takes its events again;
    // painting and polling thousands of times a second would cost more than
    // the run itself, and every ~10 ms is as often as anyone can see.
    static constexpr qint64 kPresentIntervalNs = 10'000'000;
    // A display that takes long to repaint stretches the slices up to this.
    static constexpr qint64 kLongestPresentIntervalNs = 100'000'000;

signals:
    // Rate() or ShortOf() may have changed.
    void paceChanged();
    // Every run has ended.
    void runFinished();

private:
    // One slice of the run, when the pace says it is due.
    void RunSlice();
    void RateChanged();
    qint64 Now() const { return clock_.nsecsElapsed(); }

    app::Controller& controller_;
    std::function<void()> beforeSlice_, afterSlice_;
    QTimer timer_;
    QElapsedTimer clock_;
    app::Pace pace_;
    qint64 sliceLimitNs_ = kPresentIntervalNs;
    qint64 roundStart_ = -1;  // when a slice due at once gave the window its turn
    bool running_ = false;    // runFinished is owed when the run ends
    bool slicing_ = false;
    int boxesUp_ = 0;
};

}  // namespace ui
