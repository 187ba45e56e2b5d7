// What the runner says on standard error: every line starts with its name,
// as a Unix tool's does; the window's own text may follow it.
#pragma once

#include <string>
#include <string_view>

#include "cli/exit_status.h"
#include "cli/output.h"
#include "verify/verify.h"

namespace cli {

void Say(std::string_view text);
// "Введите правильно данные: " and the reason.
void InputRefused(const std::string& why);
// "the run at h/2 failed at its step 12 of 400, at T = 0.0012 s: " and what
// failed.
std::string FailureText(const verify::RunFailure& failure, char sep);
// The run ends on a failed write: nothing after it could reach the reader.
ExitStatus WriteFailed(const Output& out);

}  // namespace cli
