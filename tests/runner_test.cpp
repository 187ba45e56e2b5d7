// The runner's entries from numbers: the numbers a verification or a sweep
// starts from are those the window's Start reads from the same texts, to
// the bit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/controller.h"
#include "app/memory_port.h"
#include "cli/options.h"
#include "sim/start.h"

namespace {

using Args = std::vector<std::string_view>;

cli::Options Parsed(const Args& args) {
    cli::Options opt;
    std::string error;
    EXPECT_EQ(cli::ParseOptions(args, opt, error), cli::ParseResult::kOk) << error;
    return opt;
}

// Parameters, derived values and start state, byte for byte.
bool SameStart(const sim::Model& a, const sim::Model& b) {
    return std::memcmp(&a.p, &b.p, sizeof a.p) == 0 && std::memcmp(&a.start, &b.start, sizeof a.start) == 0 &&
           std::memcmp(&a.s, &b.s, sizeof a.s) == 0;
}

TEST(Entry, TheNumbersAreWhatTheWindowsStartReadsFromTheSameTexts) {
    // More digits than a double holds, decimal commas, blanks, exponents,
    // whole numbers rounded half to even and raised to 1, a --set given
    // twice, numbers below the normal doubles, and the twist.
    const Args cases[] = {
        {},
        {"--preset", "2"},
        {"--set", "h=0.00012345678901234567890"},
        {"--set", "R1=12345678901234567890123"},
        {"--decimal-comma", "--set", "V0=3,14159265358979323846", "--set", "NC0=2,5"},
        {"--decimal-comma", "--set", "NC0=3,5", "--set", "m0=  12,000000000000000000001  "},
        {"--set", "NC0=0"},
        {"--set", "NC0=-7"},
        {"--set", "NC0=1E+3"},
        {"--decimal-comma", "--preset", "2", "--set", "w0=-1,5E+05", "--twist", "0,12345678901234567890"},
        {"--set", "m1=1e-310", "--set", "KT=+.5"},
        {"--set", "h=1E-09", "--set", "h=2.0000000000000000001E-09"},
        {"--twist", "-0.5", "--set", "KT=0", "--set", "CT=1e300"},
        {"--preset", "2", "--set", "V0=0.1", "--set", "w0=0.30000000000000004441"},
        {"--decimal-comma", "--twist", "1e-400"},
    };
    for (const Args& args : cases) {
        const std::string name = [&] {
            std::string n;
            for (std::string_view a : args) n.append(a).append(" ");
            return n;
        }();
        const cli::Options opt = Parsed(args);
        app::MemoryPort port;
        app::Controller form(port);
        cli::FillFields(port, form, opt);
        form.Press(app::Button::Start);
        ASSERT_TRUE(port.messages.empty()) << name;

        const cli::StartNumbers n = cli::InputNumbers(opt);
        EXPECT_TRUE(SameStart(sim::Start(n.inputs, n.fi0), form.Model())) << name;
        EXPECT_EQ(n.NC0, form.State().run.NC0) << name;
    }
}

TEST(Entry, WhatTheWindowRefusesTheNumbersRefuse) {
    // A start set-up that overflows: CR = w0^2 m1, J0 = m0 R0^2 / 2, E0.
    const Args cases[] = {
        {"--set", "w0=1e200"},
        {"--set", "m0=1e300", "--set", "R0=1e10"},
        {"--set", "V0=1e200"},
        {"--set", "CT=1e300", "--twist", "1e10"},
    };
    for (const Args& args : cases) {
        const cli::Options opt = Parsed(args);
        app::MemoryPort port;
        app::Controller form(port);
        cli::FillFields(port, form, opt);
        form.Press(app::Button::Start);
        EXPECT_EQ(port.messages, std::vector{app::Message::kInputError}) << args[1];
        const cli::StartNumbers n = cli::InputNumbers(opt);
        EXPECT_THROW(sim::Start(n.inputs, n.fi0), std::runtime_error) << args[1];
    }
}

}  // namespace
