// The window's handlers and run engine, driven through a scripted window.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/numtext.h"
#include "tests/scripted_port.h"

namespace {

using testing_support::Form;

TEST(Presets, WriteTheTableTexts) {
    struct Case {
        int textNo;
        const char* preset1;
        const char* preset2;
    };
    // Texts in a decimal-comma locale; whole numbers are plain digits.
    const Case cases[] = {
        {1, "10", "10"},        {11, "1", "1"},           {2, "0,5", "0,5"},       {3, "1", "1"},
        {4, "10", "100000"},    {5, "20", "200000"},      {6, "10", "1"},          {7, "1", "1000"},
        {8, "0,1", "1"},        {55, "1", "100"},         {54, "0,0001", "1E-09"}, {51, "0,1", "1E-05"},
        {29, "0,25", "0,25"},   {30, "10", "100000"},     {26, "100", "10000000000"},
    };
    for (char sep : {',', '.'}) {
        Form f(sep);
        auto expect = [&](const char* comma) {
            std::string s = comma;
            for (char& c : s)
                if (c == ',') c = sep;
            return s;
        };
        for (const Case& c : cases) EXPECT_EQ(f.port.text[c.textNo], expect(c.preset1)) << "Text" << c.textNo;
        f.port.text[21] = "x";
        f.port.check[16] = 1;
        f.form.Command9_Click();
        for (const Case& c : cases) EXPECT_EQ(f.port.text[c.textNo], expect(c.preset2)) << "Text" << c.textNo;
        f.form.Command8_Click();
        for (const Case& c : cases) EXPECT_EQ(f.port.text[c.textNo], expect(c.preset1)) << "Text" << c.textNo;
        // Presets leave the twist test alone.
        EXPECT_EQ(f.port.text[21], "x");
        EXPECT_EQ(f.port.check[16], 1);
    }
}

TEST(FormLoad, ReadoutsKeepTheirNamesUntilStart) {
    Form f;
    for (int n : {12, 60, 31, 20, 13}) EXPECT_EQ(f.port.text[n], "Text" + std::to_string(n));
    EXPECT_EQ(f.port.text[21], "0,2");
    EXPECT_EQ(f.form.Model().Pi, 3.14159265358979);
    EXPECT_EQ(f.form.RunDepth(), 0);
}

TEST(Start, RefusedInputKeepsWhatWasReadBefore) {
    struct Case {
        const char* name;
        int textNo;
        const char* text;
    };
    // Fields are read in the order m0 R0 V0 w0 m1 R1 KR CT KT MF ML MV MT h NC0.
    const Case cases[] = {
        {"letters in V0", 4, "abc"},
        {"empty step", 54, ""},
        {"NC0 beyond 32 bits", 55, "3000000000"},
    };
    for (const Case& c : cases) {
        Form f;
        f.form.Command9_Click();  // preset 2 in the fields, the record still zero
        f.port.text[static_cast<std::size_t>(c.textNo)] = c.text;
        f.form.Command1_Click();
        ASSERT_EQ(f.port.messages.size(), 1u) << c.name;
        EXPECT_EQ(f.port.messages[0], app::kInputErrorText) << c.name;
        EXPECT_EQ(f.port.displayCycles, 0) << c.name;
        const sim::Model& m = f.form.Model();
        EXPECT_EQ(m.M[0], 10) << c.name;  // read before any failure
        EXPECT_EQ(m.R[0], 0.5) << c.name;
        if (c.textNo == 4) {
            EXPECT_EQ(m.VX[0], 0) << c.name;  // the failing field and later ones untouched
            EXPECT_EQ(m.w0, 0) << c.name;
        } else {
            EXPECT_EQ(m.VX[0], 100000) << c.name;
            EXPECT_EQ(m.MT, 1e-5) << c.name;
        }
        EXPECT_EQ(f.port.text[20], "Text20") << c.name;  // J0 not shown
    }
}

TEST(Start, BadTwistIsReadOnlyWhenTicked) {
    Form f;
    f.port.text[21] = "дважды";
    f.LimitTo(1);
    f.form.Command1_Click();
    EXPECT_TRUE(f.port.messages.empty());
    EXPECT_EQ(f.port.displayCycles, 1);

    Form g;
    g.port.text[21] = "дважды";
    g.port.check[16] = 1;
    g.form.Model().T = 5;
    g.form.Command1_Click();
    ASSERT_EQ(g.port.messages.size(), 1u);
    EXPECT_EQ(g.port.messages[0], app::kInputErrorText);
    // J0, CR and Fmrv were shown and T reset before the twist was read.
    EXPECT_EQ(g.port.text[20], "1,25");
    EXPECT_EQ(g.port.text[9], "400");
    EXPECT_EQ(g.port.text[18], "-1,44637229800966E-12");
    EXPECT_EQ(g.port.text[13], "Text13");
    EXPECT_EQ(g.form.Model().T, 0);
    // The greyed state counts as not ticked.
    g.port.check[16] = 2;
    g.port.messages.clear();
    g.LimitTo(1);
    g.form.Command1_Click();
    EXPECT_TRUE(g.port.messages.empty());
}

TEST(Start, NC0IsRoundedHalfToEvenAndAtLeastOne) {
    struct Case {
        const char* text;
        int cyclesAfter;  // steps made before the first display cycle
    };
    const Case cases[] = {{"0", 1}, {"-5", 1}, {"2,5", 2}, {"3,5", 4}, {"1", 1}};
    for (const Case& c : cases) {
        Form f;
        f.port.text[55] = c.text;
        f.LimitTo(1);
        f.form.Command1_Click();
        ASSERT_TRUE(f.port.messages.empty()) << c.text;
        ASSERT_EQ(f.port.cycleTimes.size(), 1u);
        double t = 0;
        for (int i = 0; i < c.cyclesAfter; ++i) t += 0.0001;
        EXPECT_EQ(f.port.cycleTimes[0], t) << c.text;
        EXPECT_EQ(f.port.text[55], c.text) << "the field keeps what was typed";
    }
}

TEST(Start, FirstCycleShowsEveryReadout) {
    Form f;
    f.LimitTo(1);
    f.form.Command1_Click();
    const sim::Model& m = f.form.Model();
    EXPECT_EQ(f.port.text[60], "0,0001");
    EXPECT_EQ(f.port.text[13], "1650");
    EXPECT_EQ(f.port.text[10], app::FormatNumber(m.w0, ','));
    EXPECT_EQ(f.port.text[16], app::FormatNumber(m.fi[1] * m.DegPerRad, ','));
    EXPECT_EQ(f.port.text[39], app::FormatNumber(-(m.FX[1] + m.FX[2]), ','));
    for (int n : {10, 12, 22, 19, 23, 24, 25, 27, 28, 14, 15, 16, 17, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40})
        EXPECT_TRUE(app::ParseNumber(f.port.text[n], ',').has_value()) << "Text" << n << ": " << f.port.text[n];
}

TEST(Stop, EndsAfterExactlyNC0StepsAndOneCycle) {
    Form f;
    f.port.text[55] = "7";
    f.port.script = {nullptr, nullptr, [&] { f.form.Command2_Click(); }};
    f.LimitTo(100);
    f.form.Command1_Click();
    EXPECT_EQ(f.port.displayCycles, 4);  // three cycles, then one after Stop
    EXPECT_EQ(f.port.eventCalls, 3);
    double t = 0;
    for (int i = 0; i < 28; ++i) t += 0.0001;
    EXPECT_EQ(f.form.Model().T, t);
    EXPECT_EQ(f.form.RunDepth(), 0);
}

TEST(DoNC0Steps, AdvancesByNC0StepsWithOneCycle) {
    Form f;
    f.port.script = {[&] { f.form.Command2_Click(); }};
    f.form.Command1_Click();  // two cycles: one, then one after Stop
    ASSERT_EQ(f.port.displayCycles, 2);
    f.port.text[55] = "100";
    f.form.Command10_Click();  // NC0 is re-read only by this cycle: still 1
    EXPECT_EQ(f.port.displayCycles, 3);
    const double t0 = f.form.Model().T;
    f.form.Command10_Click();
    EXPECT_EQ(f.port.displayCycles, 4);
    EXPECT_EQ(f.port.eventCalls, 1);  // no events processed in between
    double t = t0;
    for (int i = 0; i < 100; ++i) t += 0.0001;
    EXPECT_EQ(f.form.Model().T, t);
    EXPECT_EQ(f.port.text[60], app::FormatNumber(t, ','));
}

TEST(Continue, BeforeAnyStartFailsTheFirstStep) {
    Form f;
    f.form.Command3_Click();
    ASSERT_EQ(f.port.messages.size(), 1u);
    EXPECT_EQ(f.port.messages[0], app::kSolveErrorText);
    f.port.messages.clear();
    f.form.Command10_Click();
    ASSERT_EQ(f.port.messages.size(), 1u);
    EXPECT_EQ(f.port.messages[0], app::kSolveErrorText);
}

TEST(RunErrors, FieldsChangedDuringARun) {
    struct Case {
        const char* name;
        int textNo;
        const char* text;
        std::string_view message;
    };
    const Case cases[] = {
        {"step emptied", 54, "", app::kSolveErrorText},
        {"NC0 not a number", 55, "1 0", app::kSolveErrorText},
        {"ML zero", 29, "0", app::kSolveErrorText},
        {"MT zero", 51, "0", app::kPlotErrorText},
        {"MF zero", 26, "0", app::kPlotErrorText},
        {"MF tiny: force beyond the surface", 26, "1E-300", app::kPlotErrorText},
    };
    for (const Case& c : cases) {
        Form f;
        f.port.script = {nullptr, [&] { f.port.text[static_cast<std::size_t>(c.textNo)] = c.text; }};
        f.LimitTo(10);
        f.form.Command1_Click();
        ASSERT_EQ(f.port.messages.size(), 1u) << c.name;
        EXPECT_EQ(f.port.messages[0], c.message) << c.name;
        EXPECT_EQ(f.port.displayCycles, 3) << c.name;
        EXPECT_EQ(f.form.RunDepth(), 0) << c.name;
    }
}

TEST(RunErrors, PlotErrorThenLargerScaleAndContinue) {
    Form f;
    f.port.script = {[&] { f.port.text[26] = "0,000000001"; }};
    f.LimitTo(5);
    f.form.Command1_Click();
    ASSERT_EQ(f.port.messages.size(), 1u);
    EXPECT_EQ(f.port.messages[0], app::kPlotErrorText);
    // Four lines joined by CR LF, the first starting with sixteen blanks.
    EXPECT_EQ(app::kPlotErrorText.find("                Несовместимость параметров\r\n"), 0u);
    EXPECT_EQ(app::kPlotErrorText.find("\r\n", app::kPlotErrorText.rfind("\r\n") + 1), std::string_view::npos);
    EXPECT_NE(app::kPlotErrorText.back(), '\n');
    const sim::Model after = f.form.Model();
    f.port.text[26] = "100";
    f.port.messages.clear();
    f.LimitTo(3);
    f.form.Command3_Click();
    EXPECT_TRUE(f.port.messages.empty());
    // The run resumed from where it stopped.
    EXPECT_EQ(f.port.cycleTimes[2], after.T + 0.0001);
    EXPECT_GT(f.form.Model().T, after.T);
}

TEST(Nesting, InterruptedRunResumesAfterTheNestedOne) {
    Form f;
    f.port.text[55] = "3";
    // Cycle 1: Continue pressed (nested). Cycle 2, the nested run's first:
    // Stop. The nested run ends after one more cycle, then the outer one.
    f.port.script = {[&] { f.form.Command3_Click(); }, [&] {
                         EXPECT_EQ(f.form.RunDepth(), 2);
                         f.form.Command2_Click();
                     }};
    f.LimitTo(50);
    f.form.Command1_Click();
    EXPECT_EQ(f.port.displayCycles, 4);
    EXPECT_EQ(f.form.RunDepth(), 0);
    double t = 0;
    for (int i = 0; i < 12; ++i) t += 0.0001;
    EXPECT_EQ(f.form.Model().T, t);
}

TEST(Nesting, PressesOfOneRoundAreHandledInTheirOrder) {
    using C = app::Controller;
    struct Case {
        const char* name;
        std::vector<void (C::*)()> round;  // after the first Start, all in its first event round
        int steps;                         // made since the last Start that was accepted
        long helpAtCycle = 0;              // display cycles made when About was handled
        const char* v0 = nullptr;          // typed into V0 first, when given
    };
    // NC0 = N = 7. Each level makes N steps per display cycle; a press after
    // one that opened a level waits for that level's first event processing.
    const Case cases[] = {
        // The nested Start sets T = 0; its cycle (N), whose event processing
        // applies Stop; its one more cycle (N); the outer's last cycle (N).
        {"Start, Start, Stop", {&C::Command1_Click, &C::Command2_Click}, 21},
        // T is kept: the outer's first cycle (N), then 3N as above.
        {"Start, Continue, Stop", {&C::Command3_Click, &C::Command2_Click}, 28},
        // Outer cycle (N), the nested N steps with their cycle set Stop, the
        // outer's last cycle (N).
        {"Start, Do NC0 steps", {&C::Command10_Click}, 21},
        // The Do-NC0-steps level (N) ends without event processing, so the
        // outer's round goes on at once: Continue opens a level that applies
        // Stop at its first event processing (2N); the outer's last cycle (N).
        {"Start, Do NC0 steps, Continue, Stop",
         {&C::Command10_Click, &C::Command3_Click, &C::Command2_Click}, 35},
        // вар.1 (NC0 = 1) and About wait for the nested level's first event
        // processing, after display cycle 2, which still read NC0 = 7. That
        // level makes N more steps, its last cycle reads NC0 = 1, and the
        // outer's last cycle is 1 step: N + N + N + 1.
        {"Start, Continue, вар.1, About, Stop",
         {&C::Command3_Click, &C::Command8_Click, &C::About_Click, &C::Command2_Click}, 22, 2},
        // The refused Start opens no level: Stop acts at once, and the outer
        // run ends after one more cycle: N + N.
        {"Start, refused Start, Stop", {&C::Command1_Click, &C::Command2_Click}, 14, 0, "abc"},
    };
    for (const Case& c : cases) {
        Form f;
        f.port.text[55] = "7";
        f.port.script = {[&] {
            if (c.v0) f.port.text[4] = c.v0;
            for (auto press : c.round) (f.form.*press)();
        }};
        f.LimitTo(50);
        f.form.Command1_Click();
        double t = 0;
        for (int i = 0; i < c.steps; ++i) t += 0.0001;
        EXPECT_EQ(f.form.Model().T, t) << c.name;
        EXPECT_EQ(f.form.RunDepth(), 0) << c.name;
        EXPECT_EQ(f.port.messages.size(), c.v0 ? 1u : 0u) << c.name;
        EXPECT_EQ(f.port.helpAtCycle, c.helpAtCycle) << c.name;
    }
}

TEST(Nesting, TenThousandPressesNeedNoStack) {
    Form f;
    long presses = 0;
    f.port.afterScript = [&] {
        if (presses < 10000) {
            ++presses;
            f.form.Command3_Click();
        } else if (presses == 10000) {
            ++presses;
            EXPECT_EQ(f.form.RunDepth(), 10001);
            f.form.Command2_Click();
        }
    };
    f.form.Command1_Click();
    EXPECT_EQ(f.form.RunDepth(), 0);
    // Each level ends after one more cycle once Stop is set.
    EXPECT_EQ(f.port.displayCycles, 10001 + 10001);
}

TEST(Exit, EndsTheRunAtItsEventProcessing) {
    Form f;
    f.port.script = {nullptr, [&] { f.form.Command4_Click(); }};
    f.form.Command1_Click();
    EXPECT_EQ(f.port.displayCycles, 2);
    EXPECT_EQ(f.port.windows, 0);
    EXPECT_EQ(f.form.RunDepth(), 0);
}

TEST(Exit, EndsEveryNestedLevel) {
    Form f;
    f.port.script = {[&] { f.form.Command3_Click(); }, [&] { f.form.Command3_Click(); },
                     [&] { f.form.Command4_Click(); }};
    f.form.Command1_Click();
    EXPECT_EQ(f.port.displayCycles, 3);
    EXPECT_EQ(f.form.RunDepth(), 0);
}

TEST(StartAfterStop, RebuildsTheState) {
    Form f;
    f.port.script = {nullptr, nullptr, [&] { f.form.Command2_Click(); }};
    f.form.Command1_Click();
    EXPECT_GT(f.form.Model().T, 0);
    f.port.script.clear();
    f.port.eventCalls = 0;
    f.port.cycleTimes.clear();
    f.LimitTo(1);
    f.form.Command1_Click();
    EXPECT_EQ(f.port.cycleTimes[0], 0.0001);
}

}  // namespace
