// Checked writing of the runner's output: a write that fails, the final
// flush or the close of standard output included, is a failure of the run,
// never a silent loss.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace cli {

class Output {
public:
    explicit Output(std::FILE* file) : file_(file) {}

    // Writes text unless an earlier write failed; returns whether all
    // writes so far succeeded.
    bool Write(std::string_view text);
    // Flushes and closes the file; returns whether everything reached it.
    bool Close();
    bool Failed() const { return failed_; }
    // What went wrong, for the message: the system's reason.
    const std::string& Reason() const { return reason_; }

private:
    void Fail();

    std::FILE* file_;
    bool failed_ = false;
    std::string reason_;
};

}  // namespace cli
