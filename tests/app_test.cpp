// The window's logic on a scripted window in memory: numbers, presets, Start, runs, nesting, pace.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/errors.h"
#include "app/fields.h"
#include "app/numtext.h"
#include "app/pace.h"
#include "tests/support.h"

namespace {

using namespace app;
using testing_support::Form, testing_support::SumOfSteps;

std::string WithPoint(std::string s) { return std::ranges::replace(s, ',', '.'), s; }

TEST(Numbers, WrittenWithFifteenDigitsAndReadBack) {
    struct Case { double value; const char* comma; };
    // Positional for decimal exponents -4..14, rounded to 15 digits first.
    const Case cases[] = {
        {0.5, "0,5"},           {1e-5, "1E-05"},       {1e-4, "0,0001"},     {1e15, "1E+15"},
        {123456789012345.0, "123456789012345"},        {0.0069000000000000115, "0,00690000000000001"},
        {-0.0, "0"},            {180, "180"},          {-2.5, "-2,5"},       {1e10, "10000000000"},
        {999999999999999.9, "1E+15"},                  {-1.4463721e-12, "-1,4463721E-12"},
        {5e-324, "4,94065645841247E-324"},             {2.0 / 3, "0,666666666666667"},
        // The largest double below a turn, in degrees.
        {std::nextafter(2 * 3.14159265358979, 0.0) * (180 / 3.14159265358979), "360"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(app::FormatNumber(c.value, ','), c.comma) << c.value;
        EXPECT_EQ(app::FormatNumber(c.value, '.'), WithPoint(c.comma)) << c.value;
        EXPECT_NEAR(app::ParseNumber(c.comma, ',').value_or(NAN), c.value, std::fabs(c.value) * 1e-14) << c.comma;
    }
    // The readout of the largest double rounds above it, and reads back as it.
    EXPECT_EQ(app::ParseNumber("1,79769313486232E+308", ','), 1.7976931348623157e308);
}

TEST(Numbers, ReadInTheLocaleOrRefused) {
    struct Case { const char* text; char sep; std::optional<double> value; };
    const Case cases[] = {
        {"  12  ", ',', 12}, {"+4,25", ',', 4.25}, {"1E-09", ',', 1e-9}, {",5", ',', 0.5}, {"5,", ',', 5},
        {"\t7\t", '.', 7}, {"1e-400", '.', 0}, {"2,5E+3", ',', 2500}, {"2,5E-400", ',', 0},
        // The other separator is read where it cannot be a thousands group.
        {"0,2", '.', 0.2}, {"0.25", ',', 0.25}, {"1,5", '.', 1.5}, {"0,500", '.', 0.5},
        {"1,500", '.', {}}, {"-1,500", '.', {}}, {" +1.250e3", ',', {}}, {"1.000,5", ',', {}},
        {"\t-0,250", '.', -0.25}, {" 0,999", '.', 0.999}, {"1,999", '.', {}}, {"1,590", '.', {}},
        {"", ',', {}}, {"abc", ',', {}}, {"1,2,3", ',', {}}, {"nan", ',', {}}, {"inf", ',', {}},
        {"0x10", ',', {}}, {"1e", ',', {}}, {"e5", ',', {}}, {"--1", ',', {}}, {"1 2", ',', {}},
        {"1e999", ',', {}}, {"-1e309", ',', {}}, {"12a", ',', {}}, {"١", ',', {}},
    };
    for (const Case& c : cases) EXPECT_EQ(app::ReadNumberText(c.text, c.sep), c.value) << c.text;
    // Up to 500 characters; and only the text given, not what follows it.
    EXPECT_TRUE(app::ParseNumber(std::string(500, '0'), '.') && !app::ParseNumber(std::string(501, '0'), '.'));
    EXPECT_EQ(app::ParseNumber(std::string_view("12345").substr(0, 2), '.'), 12);
    EXPECT_EQ(app::ParseNumber(std::string_view("1,5").substr(0, 1), ','), 1);
    EXPECT_EQ(app::ParseNumber(std::string_view("1e57").substr(0, 3), '.'), 1e5);
    // Beyond the double range by the place of the digits, not by the exponent.
    EXPECT_FALSE(app::ParseNumber("1" + std::string(400, '0') + "e-10", '.'));
    EXPECT_EQ(app::ParseNumber("0." + std::string(330, '0') + "1", '.'), 0);  // 1E-331 underflows to 0
    struct Whole { const char* text; std::optional<std::int32_t> value; };
    // Half to even, inside the signed 32-bit range.
    const Whole wholes[] = {
        {"2,5", 2}, {"3,5", 4}, {"-2,5", -2}, {"0,5", 0}, {"2,6", 3}, {"1E+3", 1000},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"2147483647,5", {}},
        {"3000000000", {}}, {"-2147483649", {}}, {"x", {}},
    };
    for (const Whole& w : wholes) EXPECT_EQ(app::ReadWholeText(w.text, ','), w.value) << w.text;
}

TEST(Presets, WriteTheirTextsAndNothingElse) {
    // Texts in a decimal-comma locale; whole numbers are plain digits.
    struct Row { Field field; const char *preset1, *preset2; };
    const Row rows[] = {
        {Field::M0, "10", "10"},          {Field::M1, "1", "1"},           {Field::R0, "0,5", "0,5"},
        {Field::R1, "1", "1"},            {Field::V0, "10", "100000"},     {Field::W0, "20", "200000"},
        {Field::CT, "10", "1"},           {Field::KR, "1", "1000"},        {Field::KT, "0,1", "1"},
        {Field::NC0, "1", "100"},         {Field::Step, "0,0001", "1E-09"}, {Field::MT, "0,1", "1E-05"},
        {Field::ML, "0,25", "0,25"},      {Field::MV, "10", "100000"},     {Field::MF, "100", "10000000000"},
    };
    for (char sep : {',', '.'}) {
        Form f({}, 1, sep);
        f.port.Text(Field::Twist) = "x";
        f.port.Check(Box::Twist) = 2;
        for (Button preset : {Button::Preset2, Button::Preset1}) {
            f.Press(preset);
            for (const Row& r : rows) {
                const std::string comma = preset == Button::Preset1 ? r.preset1 : r.preset2;
                EXPECT_EQ(f.port.Text(r.field), sep == ',' ? comma : WithPoint(comma)) << static_cast<int>(r.field);
            }
        }
        EXPECT_EQ(f.port.Text(Field::Twist), "x");
        EXPECT_EQ(f.port.Check(Box::Twist), 2);
        EXPECT_EQ(f.port.Text(Field::J0), "");  // no readout is written before Start
        EXPECT_EQ(f.form.RunDepth(), 0);
    }
}

// Where each input lands in the record, in Start's order; a display cycle rereads h, NC0, ML, MF, MT, MV.
using Stored = double (*)(const app::Record&);
const std::pair<Field, Stored> kStartOrder[] = {
    {Field::M0, [](const app::Record& r) { return r.model.p.m0; }}, {Field::R0, [](const app::Record& r) { return r.model.p.R0; }},
    {Field::V0, [](const app::Record& r) { return r.model.p.V0; }}, {Field::W0, [](const app::Record& r) { return r.model.p.w0; }},
    {Field::M1, [](const app::Record& r) { return r.model.p.m1; }}, {Field::R1, [](const app::Record& r) { return r.model.p.R1; }},
    {Field::KR, [](const app::Record& r) { return r.model.p.KR; }}, {Field::CT, [](const app::Record& r) { return r.model.p.CT; }},
    {Field::KT, [](const app::Record& r) { return r.model.p.KT; }}, {Field::MF, [](const app::Record& r) { return r.view.MF; }},
    {Field::ML, [](const app::Record& r) { return r.view.ML; }},    {Field::MV, [](const app::Record& r) { return r.view.MV; }},
    {Field::MT, [](const app::Record& r) { return r.view.MT; }},    {Field::Step, [](const app::Record& r) { return r.model.p.h; }},
    {Field::NC0, [](const app::Record& r) { return double(r.run.NC0); }},
};
const std::pair<Field, Stored> kCycleOrder[] = {kStartOrder[13], kStartOrder[14], kStartOrder[10],
                                                kStartOrder[9],  kStartOrder[12], kStartOrder[11]};

// Each value is stored as its field is read: a refusal keeps the earlier ones, not the later.
TEST(Start, RefusalKeepsWhatWasReadBefore) {
    ASSERT_EQ(std::size(kStartOrder), app::kStartFields.size());  // every input in this list
    for (std::size_t refused = 0; refused < std::size(kStartOrder); ++refused) {
        Form f({{kStartOrder[refused].first, "abc"}}, 2);
        f.Press(Button::Start);
        EXPECT_EQ(f.port.messages, std::vector{Message::kInputError}) << refused;
        EXPECT_EQ(f.port.rounds, 0) << refused;
        EXPECT_EQ(f.port.Text(Field::J0), "") << refused;
        for (std::size_t i = 0; i < std::size(kStartOrder); ++i) {
            const auto& [field, stored] = kStartOrder[i];
            EXPECT_EQ(stored(f.form.State()), i < refused ? *app::ReadNumberText(f.port.Text(field), ',') : 0)
                << refused << " " << i;
        }
    }
}

TEST(Run, ADisplayCycleRefusalKeepsWhatItReadBefore) {
    ASSERT_EQ(std::size(kCycleOrder), app::kDisplayCycleFields.size());
    for (std::size_t refused = 0; refused < std::size(kCycleOrder); ++refused) {
        Form f({}, 2);
        std::vector<double> typed;  // twice preset 2's, typed during the run
        f.port.script = {[&] {
            for (const auto& [field, stored] : kCycleOrder) {
                typed.push_back(2 * *app::ReadNumberText(f.port.Text(field), ','));
                f.port.Text(field) = app::FormatNumber(typed.back(), ',');
            }
            f.port.Text(kCycleOrder[refused].first) = "abc";
        }};
        f.Press(Button::Start);
        EXPECT_EQ(f.port.messages.size(), 1u) << refused;
        for (std::size_t i = 0; i < std::size(kCycleOrder); ++i)
            EXPECT_EQ(kCycleOrder[i].second(f.form.State()), i < refused ? typed[i] : typed[i] / 2) << refused << i;
    }
}

TEST(Start, TwistIsReadOnlyWhenTickedAfterJ0CRAndFmrvAreShown) {
    for (int tick : {0, 2, 1}) {  // clear, greyed, ticked
        Form f({{Field::Twist, "дважды"}, {Field::M0, "20"}}, 2);
        f.Press(Button::Start);
        const std::string e0 = f.port.Text(Field::E0);
        f.port.windows = 1;
        f.Press(Button::Preset1);
        f.port.Check(Box::Twist) = tick;
        f.Press(Button::Start);
        EXPECT_EQ(f.port.messages.size(), tick == 1 ? 1u : 0u) << tick;
        EXPECT_EQ(f.port.Text(Field::J0), "1,25");
        EXPECT_EQ(f.port.Text(Field::CR), "400");
        EXPECT_EQ(f.port.Text(Field::Fmrv), "-1,44637229800966E-12");
        EXPECT_EQ(f.port.Text(Field::E0), tick == 1 ? e0 : "1650");
        EXPECT_EQ(f.M().s.T, tick == 1 ? 0 : 0.0001);
    }
}

TEST(Start, RefusedAtE0KeepsTheLastRunAndWhereItsPicturesErase) {
    // V0 = 1E+160: J0, CR and Fmrv are finite, V0 squared is not.
    Form f;
    f.Press(Button::Start);
    const app::Record before = f.form.State();
    f.port.Text(Field::V0) = "1E+160";
    f.Press(Button::Start);
    const app::Record& after = f.form.State();
    EXPECT_EQ(f.port.messages.size(), 1u);
    EXPECT_EQ(f.port.Text(Field::E0), "1650");  // the last Start's
    EXPECT_EQ(after.model.s.StateY, before.model.s.StateY);
    EXPECT_EQ(after.model.s.T, 0);  // the time restarts, as at any refusal after the twist
    EXPECT_EQ((std::vector{after.view.XOld[1], after.view.YOld[2], after.view.MarkXOld, after.view.MarkY}),
              (std::vector{before.view.XOld[1], before.view.YOld[2], before.view.MarkXOld, before.view.MarkY}));
}

TEST(Run, StopStepNC0AndContinueCountTheirSteps) {
    // NC0 "0,4" runs as 1 (Stop in round 3 + one cycle = 4 steps); "7,5" is 8 half to even, read by
    // the next cycle: StepNC0 makes 1 then 8, with no event round; Continue 8 more.
    Form f({{Field::NC0, "0,4"}});
    f.port.script = {nullptr, nullptr, [&] { f.form.Press(Button::Stop); }};
    f.Press(Button::Start);
    EXPECT_EQ(f.M().s.T, SumOfSteps(0.0001, 4));
    f.port.Text(Field::NC0) = "7,5";
    for (Button b : {Button::StepNC0, Button::StepNC0}) f.Press(b);
    EXPECT_EQ(f.M().s.T, SumOfSteps(0.0001, 13));
    EXPECT_EQ(f.port.rounds, 3);
    EXPECT_EQ(f.port.Text(Field::T), app::FormatNumber(f.M().s.T, ','));
    f.Press(Button::Continue);  // the script is done: the window closes
    EXPECT_EQ(f.M().s.T, SumOfSteps(0.0001, 21));
    EXPECT_EQ(f.port.Text(Field::NC0), "7,5");
    EXPECT_TRUE(f.port.messages.empty());
}

// The plot's sweep restarts past 25 * MT, not at it: h = MT = 2^-10 s sum exactly to it in 25 steps.
TEST(Run, TheSweepRestartsPastItsWidth) {
    Form f({{Field::Step, "0,0009765625"}, {Field::MT, "0,0009765625"}});
    std::vector<double> tPlot;
    f.port.afterScript = [&] { tPlot.push_back(f.form.State().view.TPlot), f.port.windows = tPlot.size() < 26; };
    f.Press(Button::Start);
    EXPECT_TRUE(tPlot.size() == 26 && tPlot[24] == 25 * 0.0009765625 && tPlot[25] == 0);
}

TEST(Run, ErrorsEndItWithTheirScopesMessage) {
    struct Case { const char* name; Field field; const char* text; Message message; };
    const Case cases[] = {
        {"step emptied", Field::Step, "", Message::kSolveError},
        {"NC0 not a number", Field::NC0, "1 0", Message::kSolveError},
        {"ML zero: the view divides by it", Field::ML, "0", Message::kSolveError},
        {"MT zero", Field::MT, "0", Message::kPlotError},
        {"MF zero", Field::MF, "0", Message::kPlotError},
        {"MF tiny: a force beyond the surface", Field::MF, "1E-300", Message::kPlotError},
        {"m0 zero: the first step divides by it", Field::M0, "0", Message::kSolveError},
    };
    for (const Case& c : cases) {
        const bool atStart = c.field == Field::M0;
        Form f(atStart ? testing_support::Typed{{c.field, c.text}} : testing_support::Typed{});
        if (!atStart) f.port.script = {nullptr, [&] { f.port.Text(c.field) = c.text; }};
        f.Press(Button::Start);
        EXPECT_EQ(f.port.messages, std::vector{c.message}) << c.name;
        EXPECT_EQ(f.port.rounds, atStart ? 0 : 2) << c.name;
        EXPECT_EQ(f.form.RunDepth(), 0) << c.name;
    }
    // After a plot error, a larger scale and Continue resume where it stopped.
    Form f;
    f.port.script = {[&] { f.port.Text(Field::MF) = "0,000000001"; }, nullptr};
    f.Press(Button::Start);
    EXPECT_EQ(f.M().s.T, SumOfSteps(0.0001, 2));
    f.port.Text(Field::MF) = "100";
    f.port.messages.clear();
    f.Press(Button::Continue);
    EXPECT_TRUE(f.port.messages.empty());
    EXPECT_EQ(f.M().s.T, SumOfSteps(0.0001, 4));
    // E squares a speed before weighing it (E0 weighs first): the first cycle fails at E, after T.
    Form fast({{Field::M0, "1E-100"}, {Field::M1, "1E-100"}, {Field::V0, "1E+160"}, {Field::W0, "0"},
               {Field::Step, "1E-150"}});
    fast.Press(Button::Start);
    EXPECT_EQ(fast.port.messages, std::vector{Message::kSolveError});
    EXPECT_EQ((std::vector{fast.port.Text(Field::T), fast.port.Text(Field::W0Now)}), (std::vector<std::string>{"1E-150", ""}));
    // Before any Start the record is all zero: the first step fails.
    Form g;
    g.Press(Button::StepNC0);
    EXPECT_EQ(g.port.messages, std::vector{Message::kSolveError});
    // At rest E0 = 0: 1E10*(E-E0)/E0 has no value, a plot error.
    Form rest({{Field::V0, "0"}, {Field::W0, "0"}});
    rest.port.Check(Series::EnergyError) = 1;
    rest.Press(Button::Start);
    EXPECT_EQ(rest.port.messages, std::vector{Message::kPlotError});
    EXPECT_EQ(rest.M().start.E0, 0);
}

TEST(Nesting, PressesOfOneRoundAreHandledInTheirOrder) {
    using Phase = RunLevels::Phase;
    struct Case {
        const char* name;
        std::vector<Button> round;  // after the first Start, all in its first round of events
        long steps;                 // made since the last accepted Start
        int depth; Phase phase; std::vector<Button> waiting;  // after the round's presses: levels, innermost, queue
        long helpAtCycle = -1;      // display cycles made when About was handled
        const char* v0 = "10";
    };
    // N = NC0 = 7 steps a cycle; a press after one that opened a level waits for its first round.
    const Case cases[] = {
        // T = 0 at the nested Start; its cycle, Stop's one more, the outer's last: 3N.
        {"Start, Start, Stop", {Button::Start, Button::Stop}, 21, 2, Phase::kOpened, {Button::Stop}},
        // T kept: the outer's first cycle, then 3N as above.
        {"Start, Continue, Stop", {Button::Continue, Button::Stop}, 28, 2, Phase::kOpened, {Button::Stop}},
        {"Start, Do NC0 steps", {Button::StepNC0}, 21, 2, Phase::kOpened, {}},
        // StepNC0's level ends without a round; Continue's level applies Stop (2N); the outer's last (N).
        {"Start, Do NC0 steps, Continue, Stop", {Button::StepNC0, Button::Continue, Button::Stop}, 35, 2,
         Phase::kOpened, {Button::Continue, Button::Stop}},
        // вар.1 and About wait for the nested first round (cycle 2); NC0 = 1 from then on: 3N + 1.
        {"Start, Continue, вар.1, About, Stop", {Button::Continue, Button::Preset1, Button::About, Button::Stop}, 22,
         2, Phase::kOpened, {Button::Preset1, Button::About, Button::Stop}, 2},
        // A refused Start opens no level: Stop acts at once, one more cycle.
        {"Start, refused Start, Stop", {Button::Start, Button::Stop}, 14, 1, Phase::kRunning, {}, -1, "abc"},
        // Exit in the nested first round (2N) ends every level; вар.2 is dropped.
        {"Start, Continue, Exit, вар.2", {Button::Continue, Button::Exit, Button::Preset2}, 14, 2, Phase::kOpened,
         {Button::Exit, Button::Preset2}},
        {"Start, Exit", {Button::Exit}, 7, 0, Phase::kIdle, {}},  // between two slices: the run ends at once
    };
    for (const Case& c : cases) {
        Form f({{Field::NC0, "7"}});
        f.port.script = {[&] {
            f.port.SetText(Field::V0, c.v0);
            for (Button b : c.round) f.form.Press(b);
            const RunLevels& now = f.form.Levels();
            EXPECT_TRUE(now.Depth() == c.depth && now.Innermost() == c.phase) << c.name;
            EXPECT_EQ(std::vector(now.Queued().begin(), now.Queued().end()), c.waiting) << c.name;
        }};
        f.port.afterScript = [&] { f.port.windows = f.port.rounds < 50; };  // the runs end by their own Stop
        f.Press(Button::Start);
        EXPECT_EQ(f.M().s.T, SumOfSteps(0.0001, c.steps)) << c.name;
        EXPECT_TRUE(f.form.RunDepth() == 0 && f.form.Levels().Innermost() == Phase::kIdle) << c.name;
        EXPECT_EQ(f.port.messages.size(), c.v0[0] == 'a' ? 1u : 0u) << c.name;
        EXPECT_EQ(f.port.helpAtCycle, c.helpAtCycle) << c.name;
        EXPECT_EQ(f.port.Text(Field::V0), c.v0) << c.name;
        EXPECT_EQ(f.port.presentedAtCycle, f.port.cycles) << c.name;  // the last readouts shown
    }
}

TEST(Nesting, TenThousandLevelsNeedNoStackAndOneExitEndsThemAll) {
    for (Button last : {Button::Stop, Button::Exit}) {
        Form f;
        long presses = 0;
        f.port.afterScript = [&] {
            if (presses < 10000) {
                ++presses;
                f.form.Press(Button::Continue);
            } else if (presses++ == 10000) {
                EXPECT_EQ(f.form.RunDepth(), 10001);
                f.form.Press(last);
            }
        };
        f.Press(Button::Start);
        EXPECT_EQ(f.form.RunDepth(), 0);
        // Stop ends every level after one more cycle each; Exit at once.
        EXPECT_EQ(f.port.rounds, 10001);
        EXPECT_EQ(f.port.cycles, last == Button::Stop ? 2 * 10001 : 10001);
        EXPECT_EQ(f.port.windows, last == Button::Stop ? 1 : 0);
    }
}

TEST(Pace, SlicesKeepTheRateOrGoAsFastAsTheCyclesCan) {
    struct Case { const char* name; double rate; std::int64_t cycleNs; bool keepsUp; std::int64_t stallNs = 0; };
    // 3 s of a clock: cycleNs a cycle of 1E-4 s, 1 ms after each slice of <= 10 ms; a stall at 1 s earns <= 2 frames.
    const Case cases[] = {{"as fast as possible", 0, 50'000, false}, {"a pace the cycles cannot keep", 100, 50'000, false},
                          {"real time", 1, 5'000, true}, {"a cycle every 0,1 s", 0.001, 5'000, true},
                          {"real time, 10 s stalled", 1, 5'000, true, 10'000'000'000},
                          {"a cycle every 0,01 s, an hour stalled", 0.01, 5'000, true, 3'600'000'000'000}};
    const double catchUp = static_cast<double>(app::Pace::kCatchUpNs) * 1e-9;  // [s]
    double unpaced = 0;
    for (const Case& c : cases) {
        Form f;
        f.form.Press(Button::Start);
        app::Pace pace(c.rate);
        std::int64_t now = 0, began = 0, slices = 0, stalled = 0;
        pace.Restart(now);
        for (; now < 3'000'000'000 + stalled; now += 1'000'000, ++slices) {
            began = now += pace.DueInNs(now);
            pace.BeginSlice(now, 10'000'000);
            const double stepped = f.form.RunSlice([&](double soFar) { return pace.GoOn(soFar, now += c.cycleNs); });
            pace.EndSlice(stepped, now);
            if (now >= 1'000'000'000 && !stalled) now += stalled = c.stallNs;
        }
        if (c.rate == 0) unpaced = f.M().s.T;
        // Unable to keep up: as fast as unpaced; else within a cycle of rate * time, <= 60 slices a second.
        const double allowed = c.keepsUp ? c.rate * (static_cast<double>(began - stalled) * 1e-9 + (stalled ? catchUp : 0))
                                         : unpaced;
        const double frame = stalled ? c.rate / 60 : 0;
        EXPECT_NEAR(f.M().s.T, allowed - frame / 2, c.keepsUp ? 1e-4 + frame / 2 : 0.01 * unpaced) << c.name;
        EXPECT_TRUE(!c.keepsUp || slices <= 3 * 60 + 1 + (stalled > 0)) << c.name << ": " << slices;
        // The last second's figure falls short only where the cycles cannot keep the rate.
        EXPECT_EQ(pace.FallsShort(), c.rate > 0 && !c.keepsUp) << c.name << ": " << pace.Reached();
    }
    // A new rate forgets an overrun slice (12 ms of 10): the next waits its frame; 0 then slower is 0,25.
    app::Pace pace, started(0.25);
    pace.Restart(0), pace.BeginSlice(0, 10'000'000), pace.EndSlice(0, 12'000'000);
    EXPECT_EQ(pace.DueInNs(12'000'000), 0);
    pace.SetRate(2, 12'000'000);
    EXPECT_EQ(pace.DueInNs(12'000'000), app::Pace::kFrameNs - 12'000'000);
    pace.BeginSlice(12'000'000, 10'000'000);
    EXPECT_FALSE(pace.GoOn(1e-4, 12'000'000));
    started.SetRate(0, 0), started.Slower(0);
    EXPECT_EQ(started.Rate(), 0.25);
}

TEST(Pace, TheRateReachedComesEachSecondOrMoreAndFallsShortUnder95Percent) {
    // Two half-second slices make the first figure; 95 % keeps up; a new rate measures afresh.
    const struct { double rate, stepped; bool fallsShort; } cases[] = {
        {1, 0.95, false}, {1, 0.9499, true}, {2e-3, 1.6e-3, true}, {0, 2e-4, false}};
    for (const auto& c : cases) {
        app::Pace pace(c.rate);
        pace.Restart(100'000'000);
        EXPECT_TRUE(!pace.EndSlice(c.stepped / 2, 600'000'000) && pace.Reached() < 0 && !pace.FallsShort());
        EXPECT_TRUE(pace.EndSlice(c.stepped / 2, 1'100'000'000) && pace.Reached() == c.stepped) << c.stepped;
        EXPECT_EQ(pace.FallsShort(), c.fallsShort) << c.stepped;
        pace.SetRate(c.rate, 1'500'000'000);
        EXPECT_TRUE(pace.Reached() < 0 && !pace.EndSlice(1, 2'400'000'000) && pace.EndSlice(0, 2'500'000'000));
        EXPECT_EQ(pace.Reached(), 1);
    }
    const struct { double rate, shown; } shown[] = {{0.000812, 0.00081}, {9.96, 10}, {1, 1}, {123456, 120000}, {0, 0}};
    for (const auto& [rate, two] : shown) EXPECT_DOUBLE_EQ(app::TwoDigits(rate), two) << rate;
}

}  // namespace
