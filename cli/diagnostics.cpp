#include "cli/diagnostics.h"

#include <cstdio>

#include "app/messages.h"

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

ExitStatus WriteFailed(const Output& out) {
    Say("the output could not be written: " + out.Reason());
    return ExitStatus::kWriteFailed;
}

}  // namespace cli
