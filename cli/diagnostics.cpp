#include "cli/diagnostics.h"

#include <cstdio>

#include "app/errors.h"
#include "app/inputs.h"
#include "app/numtext.h"
#include "sim/arith.h"
#include "sim/start.h"

namespace cli {

void Say(std::string_view text) {
    std::string line = "morvane1-cli: ";
    line += text;
    line += '\n';
    std::fputs(line.c_str(), stderr);
}

void InputRefused(const std::string& why) { Say("input refused: " + why); }

std::string StartFailure(const sim::Parameters& inputs, double fi0) {
    // The values in the order the set-up forms them; the loads' start
    // speeds come between Fmrv and E0.
    static const char* const kFormed[] = {"J0 = m0 * R0 * R0 / 2", "CR = w0 * w0 * m1", "Fmrv, the claimed force",
                                          "E0, the start energy"};
    int formed = 0;  // the values formed so far
    try {
        sim::Start(inputs, [fi0] { return fi0; }, [&](sim::Formed, double) { ++formed; });
        return {};
    } catch (const sim::ArithmeticError&) {
    }
    std::string what = kFormed[formed];
    if (formed == 3) {
        try {
            sim::InitialState(inputs, fi0);
        } catch (const sim::ArithmeticError&) {
            what = "the loads' start speeds w0 * R1";
        }
    }
    return "the start set-up fails at " + what +
           ": a value left the range of double (an overflow, a division by zero or an invalid operation)";
}

std::string StartRefusal(const Options& opt) {
    StartNumbers n;
    try {
        n = InputNumbers(opt);
    } catch (const app::InputError& e) {
        std::string name = "--twist";
        for (const app::Input& in : app::kInputs)
            if (in.field == e.field) name = "--set " + std::string(in.symbol);
        return "the text of " + name + " does not read as a number";
    }
    const std::string why = StartFailure(n.inputs, n.fi0);
    return why.empty() ? "the start set-up fails for these values" : why;
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
