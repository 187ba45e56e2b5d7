// Bad and extreme input: the run goes on or ends with one of its messages;
// no readout ever shows a non-number and the record never holds one.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "app/messages.h"
#include "app/numtext.h"
#include "tests/model_scan.h"
#include "tests/scripted_port.h"

namespace {

using testing_support::FirstNonFinite;
using testing_support::Form;

constexpr int kReadouts[] = {60, 10, 12, 22, 19, 23, 24, 25, 27, 28, 14, 15, 16, 17,
                             31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 20, 9, 18, 13};

bool IsMessage(const std::string& s) {
    return s == app::kInputErrorText || s == app::kSolveErrorText || s == app::kPlotErrorText;
}

// Every readout shows its default text or a finite number.
::testing::AssertionResult ReadoutsAreNumbers(const Form& f) {
    for (int n : kReadouts) {
        const std::string& t = f.port.text[static_cast<std::size_t>(n)];
        if (t == "Text" + std::to_string(n)) continue;
        const auto v = app::ParseNumber(t, f.port.separator);
        if (!v || !std::isfinite(*v) || t.find_first_of("nN") != std::string::npos)
            return ::testing::AssertionFailure() << "Text" << n << " shows \"" << t << "\"";
    }
    return ::testing::AssertionSuccess();
}

TEST(ExtremeInputs, EveryFieldAtTheEdges) {
    // m0 m1 R0 R1 V0 w0 CT KR KT, h, the four scales and the twist.
    const int fields[] = {1, 11, 2, 3, 4, 5, 6, 7, 8, 54, 51, 29, 30, 26, 21};
    const char* const values[] = {"0", "-1", "1E-320", "1E+308", "-1E+308"};
    int messages = 0, runs = 0;
    for (int field : fields) {
        for (const char* value : values) {
            Form f;
            f.port.text[static_cast<std::size_t>(field)] = value;
            if (field == 21) f.port.check[16] = 1;
            f.LimitTo(20);
            f.form.Command1_Click();
            SCOPED_TRACE("Text" + std::to_string(field) + " = " + value);
            EXPECT_LE(f.port.messages.size(), 1u);
            for (const std::string& msg : f.port.messages) EXPECT_TRUE(IsMessage(msg));
            EXPECT_TRUE(ReadoutsAreNumbers(f));
            EXPECT_EQ(FirstNonFinite(f.form.Model()), "");
            EXPECT_EQ(f.form.RunDepth(), 0);
            messages += !f.port.messages.empty();
            runs += f.port.messages.empty();
        }
    }
    // Both outcomes occur: the table reaches the failures it was meant to.
    EXPECT_GT(messages, 10);
    EXPECT_GT(runs, 10);
}

TEST(ExtremeInputs, NC0AtTheEdgesOfInt32) {
    struct Case {
        const char* text;
        bool accepted;
    };
    // 2147483647 steps before a display cycle would take minutes, so a zero
    // disk mass makes the first step fail and shows that Start took it.
    const Case cases[] = {{"2147483647", true}, {"-2147483648", true}, {"2147483648", false}, {"-2147483649", false}};
    for (const Case& c : cases) {
        Form f;
        f.port.text[55] = c.text;
        f.port.text[1] = "0";
        f.LimitTo(3);
        f.form.Command1_Click();
        ASSERT_EQ(f.port.messages.size(), 1u) << c.text;
        EXPECT_EQ(f.port.messages[0], c.accepted ? app::kSolveErrorText : app::kInputErrorText) << c.text;
        EXPECT_EQ(FirstNonFinite(f.form.Model()), "") << c.text;
    }
    Form f;
    f.port.text[55] = "-2147483648";
    f.LimitTo(2);
    f.form.Command1_Click();
    EXPECT_TRUE(f.port.messages.empty());
    EXPECT_EQ(f.port.displayCycles, 2);  // run as NC0 = 1
}

TEST(ExtremeInputs, RandomParameterSets) {
    // Most fields near preset 1 (scaled by up to 100 either way), some
    // anywhere in the double range with either sign, some zero.
    std::mt19937_64 rng(20261206);
    std::uniform_real_distribution<double> unit(0, 1);
    const double preset1[] = {10, 1, 0.5, 1, 10, 20, 10, 1, 0.1, 0.0001, 0.1, 0.25, 10, 100};
    auto value = [&](double typical) -> double {
        const double p = unit(rng);
        if (p < 0.05) return 0;
        if (p < 0.80) return typical * std::pow(10.0, 4 * unit(rng) - 2);
        const double mag = std::pow(10.0, 628 * unit(rng) - 320);
        return p < 0.9 ? mag : -mag;
    };
    const int fields[] = {1, 11, 2, 3, 4, 5, 6, 7, 8, 54, 51, 29, 30, 26};
    int ended = 0, survived = 0;
    for (int set = 0; set < 3000; ++set) {
        Form f;
        for (std::size_t i = 0; i < std::size(fields); ++i) {
            const int field = fields[i];
            const double v = value(preset1[i]);
            if (std::isfinite(v)) f.port.text[static_cast<std::size_t>(field)] = app::FormatNumber(v, ',');
        }
        f.port.text[55] = std::to_string(1 + set % 7);
        f.port.check[16] = set % 3 == 0;
        f.port.text[21] = app::FormatNumber(value(0.2), ',');
        for (int c : {1, 5, 9, 11, 13, 15}) f.port.check[static_cast<std::size_t>(c)] = (set >> (c % 5)) & 1;
        f.LimitTo(60);
        f.form.Command1_Click();
        ASSERT_LE(f.port.messages.size(), 1u) << "set " << set;
        if (!f.port.messages.empty()) {
            ASSERT_TRUE(IsMessage(f.port.messages[0])) << "set " << set;
        }
        ASSERT_TRUE(ReadoutsAreNumbers(f)) << "set " << set;
        ASSERT_EQ(FirstNonFinite(f.form.Model()), "") << "set " << set;
        ended += !f.port.messages.empty();
        survived += f.port.messages.empty();
    }
    EXPECT_GT(ended, 100);
    EXPECT_GT(survived, 100);
}

TEST(StateAfterFaults, NothingRolledBackNothingNonFinite) {
    struct Case {
        const char* name;
        int textNo;
        const char* text;
        std::string_view message;
    };
    const Case cases[] = {
        {"input refused", 0, "", app::kInputErrorText},
        {"step fails", 1, "0", app::kSolveErrorText},
        {"plot fails", 26, "0", app::kPlotErrorText},
    };
    for (const Case& c : cases) {
        Form f;
        f.port.script = {[&] { f.form.Command2_Click(); }};
        f.form.Command1_Click();  // a good run to have a state
        const sim::Model before = f.form.Model();
        if (c.textNo == 0) {
            f.port.text[4] = "x";  // V0 refused: m0 and R0 read again first
        } else {
            f.port.text[static_cast<std::size_t>(c.textNo)] = c.text;
        }
        f.port.messages.clear();
        f.LimitTo(5);
        f.form.Command1_Click();
        ASSERT_EQ(f.port.messages.size(), 1u) << c.name;
        EXPECT_EQ(f.port.messages[0], c.message) << c.name;
        const sim::Model& after = f.form.Model();
        EXPECT_EQ(FirstNonFinite(after), "") << c.name;
        if (c.textNo == 0) {
            // The record keeps the last run's state untouched.
            for (int k = 1; k <= 14; ++k) EXPECT_EQ(after.StateY[k], before.StateY[k]) << c.name;
            EXPECT_EQ(after.T, before.T) << c.name;
        } else {
            EXPECT_EQ(after.T, c.textNo == 1 ? 0 : 0.0001) << c.name;
        }
    }
}

}  // namespace
