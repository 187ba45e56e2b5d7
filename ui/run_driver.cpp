#include "ui/run_driver.h"

#include <algorithm>
#include <utility>

namespace ui {
namespace {

// Timers take whole milliseconds: rounded up, a slice is never early.
int WholeMs(qint64 ns) { return static_cast<int>((ns + 999'999) / 1'000'000); }

}  // namespace

RunDriver::RunDriver(app::Controller& controller, std::function<void()> beforeSlice,
                     std::function<void()> afterSlice, double rate)
    : controller_(controller), beforeSlice_(std::move(beforeSlice)), afterSlice_(std::move(afterSlice)), pace_(rate) {
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &RunDriver::RunSlice);
}

void RunDriver::SetRate(double rate) {
    pace_.SetRate(rate, Now());
    RateChanged();
}

void RunDriver::Faster() {
    pace_.Faster(Now());
    RateChanged();
}

void RunDriver::Slower() {
    pace_.Slower(Now());
    RateChanged();
}

void RunDriver::RateChanged() {
    emit paceChanged();
    // A slice due sooner or later than the old rate said.
    Follow();
}

void RunDriver::Follow() {
    if (slicing_ || boxesUp_ > 0) return;  // the slice or the box in progress looks after it
    if (controller_.Running()) {
        if (!running_) pace_.Restart(Now());
        running_ = true;
        // A run told to stop makes its last display cycles at once.
        const qint64 wait = controller_.Stopping() ? 0 : pace_.DueInNs(Now());
        roundStart_ = wait == 0 ? Now() : -1;
        timer_.start(WholeMs(wait));
    } else if (running_) {
        running_ = false;
        timer_.stop();
        emit paceChanged();
        emit runFinished();
    }
}

void RunDriver::Hold(const std::function<void()>& box) {
    timer_.stop();
    ++boxesUp_;
    box();
    --boxesUp_;
    // The run goes on as if it began now: the box's time is neither made up
    // for nor counted against the rate it reaches.
    pace_.Restart(Now());
    Follow();
}

void RunDriver::RunSlice() {
    if (!controller_.Running()) return Follow();
    qint64 now = Now();
    if (!controller_.Stopping()) {
        // Woken early, or the rate has changed since.
        if (const qint64 wait = pace_.DueInNs(now); wait > 0) return timer_.start(WholeMs(wait));
    }
    // The window's turn between two slices at full speed: on a slow display
    // (a remote X server, software rendering) it can take milliseconds, and
    // is kept to a sixth of the run's time.
    if (roundStart_ >= 0)
        sliceLimitNs_ = std::clamp(5 * (now - roundStart_), kPresentIntervalNs, kLongestPresentIntervalNs);
    beforeSlice_();
    pace_.BeginSlice(now, sliceLimitNs_);
    slicing_ = true;
    const double stepped = controller_.RunSlice([this](double soFar) { return pace_.GoOn(soFar, Now()); });
    slicing_ = false;
    now = Now();
    if (pace_.EndSlice(stepped, now)) emit paceChanged();
    afterSlice_();
    Follow();
}

}  // namespace ui
