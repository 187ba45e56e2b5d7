#include "app/pace.h"

#include <algorithm>
#include <cmath>

namespace app {

namespace {

constexpr double kSecondsPerNs = 1e-9;

}  // namespace

Pace::Pace(double rate) : rate_(Valid(rate) ? rate : kDefaultRate), lastPaced_(rate_ > 0 ? rate_ : kDefaultRate) {}

void Pace::SetRate(double rate, std::int64_t nowNs) {
    if (!Valid(rate)) return;
    rate_ = rate;
    if (rate > 0) lastPaced_ = rate;
    credit_ = 0;
    earnedAt_ = nowNs;
    behind_ = false;
    Measure(nowNs);
}

void Pace::Faster(std::int64_t nowNs) { SetRate(std::min(2 * rate_, kMaxRate), nowNs); }

void Pace::Slower(std::int64_t nowNs) { SetRate(rate_ > 0 ? std::max(rate_ / 2, kMinRate) : lastPaced_, nowNs); }

void Pace::Restart(std::int64_t nowNs) {
    credit_ = 0;
    earnedAt_ = nowNs;
    sliceStart_ = nowNs - kFrameNs;
    Measure(nowNs);
}

std::int64_t Pace::DueInNs(std::int64_t nowNs) const {
    if (rate_ == 0 || behind_) return 0;
    // Due when the run has earned what it made ahead of the pace, and not
    // before a frame has passed since the last slice began.
    const double credit = credit_ + rate_ * static_cast<double>(nowNs - earnedAt_) * kSecondsPerNs;
    const double owedNs = -credit / rate_ / kSecondsPerNs;
    const double waitNs = std::max(owedNs, static_cast<double>(sliceStart_ + kFrameNs - nowNs));
    // A step of 1E+300 s owes more than any clock holds.
    if (!(waitNs < static_cast<double>(kLongestWaitNs))) return kLongestWaitNs;
    return waitNs > 0 ? static_cast<std::int64_t>(std::ceil(waitNs)) : 0;
}

void Pace::BeginSlice(std::int64_t nowNs, std::int64_t limitNs) {
    Earn(nowNs);
    sliceStart_ = nowNs;
    limitNs_ = limitNs;
}

bool Pace::GoOn(double stepped, std::int64_t nowNs) const {
    return nowNs - sliceStart_ < limitNs_ && (rate_ == 0 || stepped < credit_);
}

bool Pace::EndSlice(double stepped, std::int64_t nowNs) {
    Earn(nowNs);
    credit_ -= stepped;
    behind_ = nowNs - sliceStart_ >= limitNs_;
    measuredStep_ += stepped;
    const std::int64_t measuredNs = nowNs - measuredFrom_;
    if (measuredNs < kMeasureNs) return false;
    const double reached = measuredStep_ / (static_cast<double>(measuredNs) * kSecondsPerNs);
    Measure(nowNs);
    reached_ = reached;
    return true;
}

void Pace::Measure(std::int64_t nowNs) {
    measuredFrom_ = nowNs;
    measuredStep_ = 0;
    reached_ = -1;
}

double TwoDigits(double rate) {
    if (!(rate > 0) || !std::isfinite(rate)) return rate;
    const double unit = std::pow(10.0, std::floor(std::log10(rate)) - 1);
    return std::round(rate / unit) * unit;
}

void Pace::Earn(std::int64_t nowNs) {
    const double earned = credit_ + rate_ * static_cast<double>(nowNs - earnedAt_) * kSecondsPerNs;
    credit_ = std::min(earned, rate_ * static_cast<double>(kCatchUpNs) * kSecondsPerNs);
    earnedAt_ = nowNs;
}

}  // namespace app
