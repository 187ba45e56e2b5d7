// The pace of a run in the window: at most Rate() simulated seconds per real
// second (0: as fast as the machine allows), made in slices of a frame's
// worth with the processor idle in between. A run that cannot keep up runs
// as fast as it can and does not rush to catch up afterwards, and says what
// it reaches. Times are nanoseconds of a monotonic clock; the window owns the
// clock and the timer.
#pragma once

#include <cstdint>

namespace app {

class Pace {
public:
    static constexpr double kDefaultRate = 1;
    // Paced rates lie within these; 0 is no limit.
    static constexpr double kMinRate = 1e-9;
    static constexpr double kMaxRate = 1e9;
    // A paced run shows at most 60 frames a second.
    static constexpr std::int64_t kFrameNs = 1'000'000'000 / 60;
    // Time lost to a busy window is made up for only up to this.
    static constexpr std::int64_t kCatchUpNs = 2 * kFrameNs;
    // The longest wait asked for at once; a longer one is asked for again.
    static constexpr std::int64_t kLongestWaitNs = 60'000'000'000;
    // The rate reached is measured over at least this much real time.
    static constexpr std::int64_t kMeasureNs = 1'000'000'000;
    // A run that keeps up reaches its rate to within a slice's worth of the
    // measure: a slice stops at most one display cycle past what it has
    // earned, and starts once that is earned again, a few milliseconds late
    // at most (a frame, 1.7 % of a second, when cycles are short). Reaching
    // less than this share of the rate is falling short of it.
    static constexpr double kKeepsUp = 0.95;

    static bool Valid(double rate) { return rate == 0 || (rate >= kMinRate && rate <= kMaxRate); }

    explicit Pace(double rate = kDefaultRate);
    double Rate() const { return rate_; }
    // A valid rate takes effect at once: what the old one allowed or owed is
    // forgotten.
    void SetRate(double rate, std::int64_t nowNs);
    // Twice the rate, up to kMaxRate; as fast as possible stays so.
    void Faster(std::int64_t nowNs);
    // Half the rate, down to kMinRate; from as fast as possible back to the
    // last paced rate.
    void Slower(std::int64_t nowNs);
    // A run begins, or goes on after being held: its first slice is due at
    // once, and the rate reached is measured from now.
    void Restart(std::int64_t nowNs);

    // How long until the next slice is due (0: now), at most kLongestWaitNs.
    std::int64_t DueInNs(std::int64_t nowNs) const;
    // A slice begins; it may last limitNs.
    void BeginSlice(std::int64_t nowNs, std::int64_t limitNs);
    // At each event round of the slice, after `stepped` simulated seconds:
    // whether the slice goes on to the next display cycle.
    bool GoOn(double stepped, std::int64_t nowNs) const;
    // The slice has ended after `stepped` simulated seconds. True when that
    // gives a new figure of the rate reached: the simulated seconds stepped
    // over the real time they took since the measure began (a slice's end,
    // a start, a new rate), once that is kMeasureNs or more.
    bool EndSlice(double stepped, std::int64_t nowNs);
    // The last figure; negative before the first since a start or a new rate.
    double Reached() const { return reached_; }
    // The last figure says the run fell short of its rate (never as fast as
    // possible, which has no rate to keep).
    bool FallsShort() const { return rate_ > 0 && reached_ >= 0 && reached_ < kKeepsUp * rate_; }

private:
    // The credit brought up to nowNs, and no further than kCatchUpNs' worth.
    void Earn(std::int64_t nowNs);
    void Measure(std::int64_t nowNs);

    double rate_;
    double lastPaced_;            // where Slower goes from as fast as possible
    double credit_ = 0;           // simulated seconds the run may make now [s]
    std::int64_t earnedAt_ = 0;   // when credit_ was brought up to date
    std::int64_t sliceStart_ = 0;
    std::int64_t limitNs_ = 0;
    bool behind_ = false;         // the last slice ran out of time
    std::int64_t measuredFrom_ = 0;
    double measuredStep_ = 0;     // simulated seconds stepped since measuredFrom_ [s]
    double reached_ = -1;         // simulated seconds per real second
};

// A rate as the window shows it: two significant digits, enough to tell
// how far a run falls short without a figure that flickers.
double TwoDigits(double rate);

}  // namespace app
