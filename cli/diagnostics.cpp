#include "cli/diagnostics.h"

#include <cstdio>

#include "app/messages.h"
#include "app/numtext.h"

namespace cli {

void Say(std::string_view text) {
    std::string line = "morvane1-cli: ";
    for (std::size_t i = 0; i < text.size(); ++i)  // the window's CR LF, a terminal's LF
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) line += text[i];
    line += '\n';
    std::fputs(line.c_str(), stderr);
}

void InputRefused(const std::string& why) {
    Say(std::string(app::MessageText(app::Message::kInputError)) + ": " + why);
}

std::string FailureText(const verify::RunFailure& f, char sep) {
    static const char* const kRunNames[verify::kRuns] = {"h", "h/2", "h/4"};
    const char* run = f.run >= 0 && f.run < verify::kRuns ? kRunNames[f.run] : "h";
    return std::string("the run at ") + run + " failed at its step " + std::to_string(f.step) + ", at T = " +
           app::FormatNumber(f.time, sep) + " s: " + f.what;
}

ExitStatus WriteFailed(const Output& out) {
    Say("the output could not be written: " + out.Reason());
    return ExitStatus::kWriteFailed;
}

}  // namespace cli
