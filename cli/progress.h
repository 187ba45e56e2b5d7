// How far a long run has got, shown on standard error while it is a
// terminal: after two seconds, at most a few times a second, per cent done
// and the time left. Redirected, nothing is written.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace cli {

class Progress {
public:
    Progress(const char* what, std::FILE* terminal);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void Update(double fraction);
    // The same, saying how many of how many things are done ("12 of 81
    // points"), where `fraction` of the work is.
    void Update(long long done, long long total, const char* things, double fraction);

private:
    // Whether to show the fraction now: on a terminal, two seconds after the
    // start and a quarter of a second after the last time shown.
    bool Due(double fraction);
    void Show(double fraction, const char* done);

    using Clock = std::chrono::steady_clock;
    const char* what_;
    std::FILE* out_;  // null when not a terminal
    Clock::time_point start_ = Clock::now();
    Clock::time_point next_ = start_ + std::chrono::seconds(2);
    Clock::time_point now_;  // when Due last looked
    bool shown_ = false;
};

}  // namespace cli
