#include "cli/progress.h"

#include <unistd.h>

namespace cli {

Progress::Progress(const char* what, std::FILE* terminal)
    : what_(what), out_(terminal && isatty(fileno(terminal)) ? terminal : nullptr) {}

Progress::~Progress() {
    // Leaves the terminal line clean for what follows.
    if (shown_) std::fputs("\r\033[K", out_);
}

// Called at every display cycle of a run: nothing is formatted unless it
// is shown.
void Progress::Update(double fraction) {
    if (!Due(fraction)) return;
    char done[32];
    std::snprintf(done, sizeof done, "%.0f %% done", 100 * fraction);
    Show(fraction, done);
}

void Progress::Update(long long done, long long total, const char* things, double fraction) {
    if (!Due(fraction)) return;
    char text[96];
    std::snprintf(text, sizeof text, "%lld of %lld %s", done, total, things);
    Show(fraction, text);
}

bool Progress::Due(double fraction) {
    if (!out_) return false;
    now_ = Clock::now();
    if (now_ < next_ || !(fraction > 0)) return false;
    next_ = now_ + std::chrono::milliseconds(250);
    return true;
}

void Progress::Show(double fraction, const char* done) {
    const double elapsed = std::chrono::duration<double>(now_ - start_).count();
    const double left = elapsed * (1 - fraction) / fraction;
    std::fprintf(out_, "\r\033[K%s: %s, about %.0f s left", what_, done, left);
    std::fflush(out_);
    shown_ = true;
}

}  // namespace cli
