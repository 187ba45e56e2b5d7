// The runner's own logic: the numbers a verification or a sweep starts
// from are those the window's Start reads from the same texts, to the bit;
// and every verdict ends with its exit status and its words, through the
// single report and through the sweep's table, count and status.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/controller.h"
#include "app/memory_port.h"
#include "cli/options.h"
#include "cli/sweep_report.h"
#include "cli/verdicts.h"
#include "cli/verify_report.h"
#include "sim/arith.h"
#include "sim/start.h"
#include "tests/support.h"

namespace {

using verify::Verdict;

TEST(Entry, TheNumbersAreWhatTheWindowsStartReadsFromTheSameTexts) {
    // More digits than a double holds, decimal commas, blanks, exponents,
    // whole numbers rounded half to even and raised to 1, a --set given
    // twice, numbers below the normal doubles, the twist; and start set-ups
    // that overflow (CR = w0^2 m1, J0 = m0 R0^2 / 2, E0), which both refuse.
    const std::vector<std::string_view> cases[] = {
        {},
        {"--preset", "2"},
        {"--set", "h=0.00012345678901234567890", "--set", "R1=12345678901234567890123"},
        {"--decimal-comma", "--set", "V0=3,14159265358979323846", "--set", "NC0=2,5"},
        {"--decimal-comma", "--set", "NC0=3,5", "--set", "m0=  12,000000000000000000001  "},
        {"--set", "NC0=-7", "--set", "MT=1e-3"},
        {"--decimal-comma", "--preset", "2", "--set", "w0=-1,5E+05", "--twist", "0,12345678901234567890"},
        {"--set", "m1=1e-310", "--set", "KT=+.5", "--set", "NC0=1E+3"},
        {"--set", "h=1E-09", "--set", "h=2.0000000000000000001E-09", "--twist", "1e-400"},
        {"--preset", "2", "--set", "V0=0.1", "--set", "w0=0.30000000000000004441"},
        {"--set", "w0=1e200"},
        {"--set", "CT=1e300", "--twist", "1e10"},
    };
    for (const auto& args : cases) {
        cli::Options opt;
        std::string error, name;
        for (std::string_view a : args) name.append(a).append(" ");
        ASSERT_EQ(cli::ParseOptions(args, opt, error), cli::ParseResult::kOk) << name << error;
        app::MemoryPort port;
        app::Controller form(port);
        cli::FillFields(port, form, opt);
        form.Press(app::Button::Start);
        const cli::StartNumbers n = cli::InputNumbers(opt);
        std::optional<sim::Model> m;
        try {
            m = sim::Start(n.inputs, n.fi0);
        } catch (const sim::ArithmeticError&) {
        }
        EXPECT_EQ(port.messages.empty(), m.has_value()) << name;
        EXPECT_TRUE(!m || (testing_support::SameStart(*m, form.Model()) && n.NC0 == form.State().run.NC0)) << name;
    }
}

// What each verdict must say, written out here rather than read from the
// runner's table: its exit status, its word in a sweep's table, words of
// the report's last line, and its mark in a sweep's figure.
struct Expected { Verdict verdict; int status; const char *word, *line; cli::Mark mark; };
const Expected kExpected[] = {
    {Verdict::kNoLateralForce, 0, "no lateral force", "no lateral force: max|Yc| = ", cli::Mark::kNoForce},
    {Verdict::kLateralForceActs, 1, "a lateral force acts", "a lateral force acts: max|Yc| = ", cli::Mark::kForce},
    {Verdict::kLedgerBroken, 1, "the ledger does not hold", "the ledger does not hold: Px and Lz", cli::Mark::kForce},
    {Verdict::kNotConverged, 4, "inconclusive: not converged", "neither the ledger nor the verdict is claimed",
     cli::Mark::kCannotTell},
    {Verdict::kFrozenByRounding, 4, "inconclusive: frozen by rounding", "the disk angle fi0 moves at most 0.001 rad",
     cli::Mark::kCannotTell},
    {Verdict::kRoundingCreeps, 4, "inconclusive: Yc or Py alone", "inconclusive: Yc left its rounding threshold",
     cli::Mark::kCannotTell},
    {Verdict::kNoLimit, 4, "inconclusive: no detection limit", "Fmrv = -2 N is neither shown nor refuted",
     cli::Mark::kCannotTell},
    {Verdict::kBelowDetection, 4, "inconclusive: below the detection limit", "Fmrv = -2 N is below what this run",
     cli::Mark::kCannotTell},
    {Verdict::kNothingClaimed, 4, "inconclusive: no force is claimed", "there is no claim for a run to resolve",
     cli::Mark::kCannotTell},
    {Verdict::kNoLimitNorClaim, 4, "inconclusive: no force is claimed", "no lateral force is claimed either",
     cli::Mark::kCannotTell},
    {Verdict::kRunFailed, 3, "the run failed", "the run failed", cli::Mark::kCannotTell},
};

// The report of a verdict, with numbers that read in its last line.
std::string ReportLine(Verdict v) {
    verify::VerifyReport rep;
    rep.verdict = v;
    rep.time = 1, rep.h[0] = 1e-3, rep.steps[0] = 1000, rep.claimFactor = 4, rep.timeToResolve = 2;
    rep.fmrv = v == Verdict::kNothingClaimed || v == Verdict::kNoLimitNorClaim ? 0 : -2;
    rep.detectionLimit = v == Verdict::kNoLimit || v == Verdict::kNoLimitNorClaim ? INFINITY : 0.5;
    rep.conv.converged = v != Verdict::kNotConverged, rep.conv.stable = rep.conv.small = true;
    for (verify::LedgerEntry& e : rep.ledger) e.holds = v != Verdict::kLedgerBroken;  // Px and Lz off
    rep.ledger[int(verify::LedgerRow::kPy)].holds = true;
    rep.ledger[int(verify::LedgerRow::kYc)].holds = v != Verdict::kRoundingCreeps;
    if (v == Verdict::kFrozenByRounding) rep.frozen = {0, sim::state::kAngle, 1e-3, 16};
    char* buf = nullptr;
    std::size_t size = 0;
    cli::Output out(open_memstream(&buf, &size)), err(stderr);
    cli::PrintVerifyReport(rep, rep.time, false, '.', out, err);
    out.Close();
    const std::string text(buf, size);
    std::free(buf);
    return text.substr(text.rfind('\n', text.size() - 2) + 1);
}

TEST(Verdicts, EachEndsWithItsStatusAndWordsInTheReportAndInTheSweep) {
    ASSERT_EQ(std::size(kExpected), static_cast<std::size_t>(Verdict::kCount));  // a new verdict needs its row here
    for (const Expected& e : kExpected) {
        const int i = static_cast<int>(e.verdict);
        // --verify ends with the verdict's status and explains it last.
        EXPECT_EQ(static_cast<int>(cli::RowOf(e.verdict).status), e.status) << i;
        EXPECT_NE(ReportLine(e.verdict).find(e.line), std::string::npos) << i << ": " << ReportLine(e.verdict);
        // A sweep of one point with this verdict: the last cells of its row,
        // the count, the sweep's own status, and the figure's mark.
        verify::PointResult p;
        p.index = 1, p.values = {1}, p.verdict = e.verdict;
        const std::string table = cli::SweepTable({{{"V0", 1, 2, false}}, 1}, {p}, '\t', '.');
        EXPECT_TRUE(table.ends_with('\t' + std::string(e.word) + '\t' + std::to_string(e.status) + '\n')) << table;
        const cli::SweepCounts c = cli::CountAnswers(cli::RowsOf({p}));
        EXPECT_EQ((std::vector<long long>{c.points, c.noForce, c.acts, c.failed, c.inconclusive}),
                  (std::vector<long long>{1, e.status == 0, e.status == 1, e.status == 3, e.status == 4})) << i;
        EXPECT_EQ(static_cast<int>(cli::SweepStatus(c)), e.status) << i;
        EXPECT_EQ(cli::MarkOf(cli::RowOf(e.verdict).status), e.mark) << i;
    }
    // A saved table holds only the statuses a point ends with.
    EXPECT_EQ(cli::PointStatuses(), "0, 1, 3 or 4");
    for (double status : {0.0, 1.0, 3.0, 4.0, 2.0, 64.0, 1.5, -1.0, double(NAN), 1e300})
        EXPECT_EQ(cli::IsPointStatus(status), status == 0 || status == 1 || status == 3 || status == 4) << status;
}

}  // namespace
