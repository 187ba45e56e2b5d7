// What the runner says on standard error: every line starts with its name,
// as a Unix tool's does, and says in English what failed and why.
#pragma once

#include <string>
#include <string_view>

#include "cli/exit_status.h"
#include "cli/options.h"
#include "cli/output.h"
#include "sim/model.h"
#include "verify/verify.h"

namespace cli {

void Say(std::string_view text);
// "input refused: " and the reason.
void InputRefused(const std::string& why);
// The value of the start set-up that leaves the range of double with these
// inputs ("the start set-up fails at CR = w0 * w0 * m1: ..."), or nothing.
std::string StartFailure(const sim::Parameters& inputs, double fi0);
// Why the window's Start refuses the inputs of these options: the input
// whose text does not read as a number, or the value of the start set-up
// that fails.
std::string StartRefusal(const Options& opt);
// "the run at h/2 failed at its step 12, at T = 0.0012 s: " and what failed.
std::string FailureText(const verify::RunFailure& failure, char sep);
// The run ends on a failed write: nothing after it could reach the reader.
ExitStatus WriteFailed(const Output& out);

}  // namespace cli
