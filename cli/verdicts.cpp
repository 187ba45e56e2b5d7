#include "cli/verdicts.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "app/numtext.h"
#include "cli/verify_report.h"

namespace cli {
namespace {

using verify::LedgerRow;
using verify::Verdict;
using verify::VerifyReport;

const verify::LedgerEntry& Row(const VerifyReport& rep, LedgerRow row) { return rep.ledger[int(row)]; }

std::string Steps(long long n) { return app::FormatNumber(static_cast<double>(n), '.'); }

std::string Threshold(const VerifyReport& rep, char sep) { return Num(rep.yThreshold, sep) + " m"; }
std::string Claim(const VerifyReport& rep, char sep) { return "the claimed force Fmrv = " + Num(rep.fmrv, sep) + " N"; }
std::string Limit(const VerifyReport& rep, char sep) { return Num(rep.detectionLimit, sep) + " N"; }

std::string NoLateralForce(const VerifyReport& rep, char sep) {
    return "no lateral force: max|Yc| = " + Num(rep.maxAbsYc, sep) + " m stayed within its rounding threshold " +
           Threshold(rep, sep) + ", while " + Claim(rep, sep) + ", " + Factor(rep.claimFactor, sep) +
           " times the detection limit " + Limit(rep, sep) + ", would have moved it by " +
           Num(std::fabs(rep.ymrvEnd), sep) + " m";
}

std::string LateralForceActs(const VerifyReport& rep, char sep) {
    const verify::LedgerEntry& py = Row(rep, LedgerRow::kPy);
    return "a lateral force acts: max|Yc| = " + Num(rep.maxAbsYc, sep) + " m is beyond its rounding threshold " +
           Threshold(rep, sep) + " and the momentum Py changed by " + Num(py.maxDeviation, sep) +
           " kg*m/s, beyond its rounding threshold " + Num(py.allowance, sep) +
           " kg*m/s, as a constant force of about " + Num(rep.pyChange / rep.time, sep) + " N would (" +
           Claim(rep, sep) + ", Ymrv = " + Num(rep.ymrvEnd, sep) + " m)";
}

std::string LedgerBroken(const VerifyReport& rep, char sep) {
    std::string rows;
    for (LedgerRow row : {LedgerRow::kPx, LedgerRow::kLz})
        if (!Row(rep, row).holds) rows += std::string(rows.empty() ? "" : " and ") + LedgerName(row);
    return "the ledger does not hold: " + rows +
           " moved beyond its rounding threshold, which no lateral force does, so the equations are not "
           "solved as they should be and no verdict on the lateral force is claimed (max|Yc| = " +
           Num(Row(rep, LedgerRow::kYc).maxDeviation, sep) + " m)";
}

std::string NotConverged(const VerifyReport& rep, char sep) {
    const verify::Convergence& c = rep.conv;
    const std::string why = "so neither the ledger nor the verdict is claimed";
    const std::string smaller = "; a smaller h (--set h=" + Num(rep.h[0] / 10, sep) + ") tells";
    // The step it names, to three digits, rounded down: the rule takes it.
    if (!c.stable && c.lagLimits)
        return "inconclusive: the step h = " + Num(rep.h[0], sep) + " s is too close to what the damping's "
               "one-step lag keeps stable: the damping speeds VR and VT are differences over the last step, and "
               "RK4 with that lag amplifies a load's swing on one element from a step of " +
               Num(c.stableStep * verify::kStableStepMargin, sep) + " s on; the two loads and the disk together "
               "are less stable than one element alone, so a step must stay " +
               Factor(verify::kStableStepMargin, sep) + " times below it, as under RK4's own rule (" +
               Factor(c.stepsPerPeriod, sep) + " steps to the shortest period do not tell it), " + why +
               "; --set h=" + Rounded(c.stableStep * 0.99, 3, sep) + " does";
    if (!c.stable)
        return "inconclusive: the step h = " + Num(rep.h[0], sep) + " s leaves only " +
               Factor(c.stepsPerPeriod, sep) + " steps to the shortest period of the motion (the disk's "
               "turn, a load's swing on its elements, or its damping), fewer than the 2 Pi RK4 needs to "
               "keep that motion stable: the runs agree only while nothing stirs it, " + why + "; --set h=" +
               Num(rep.h[0] * c.stepsPerPeriod / 100, sep) + " makes 100 steps a period";
    // The errors at h themselves, not their differences against h/4.
    const double error = std::max(c.stateEstimate, c.energyEstimate);
    const std::string scale = " of the motion's scale (positions against R1, the disk angle against a turn, "
                              "the energy against E0)";
    if (!c.small && (c.stateFloor > verify::kConvergedError ||
                     (c.atRounding && c.energyError[0] <= verify::kConvergedError)))
        return "inconclusive: the runs at h, h/2 and h/4 agree only to rounding, and rounding alone leaves "
               "the motion " + Num(std::max(error, c.stateFloor), sep) + scale + " uncertain, more than the " +
               Num(verify::kConvergedError, sep) + " a converged run may have: the coordinates grow too "
               "large against R1 for " + verify::PrecisionName(rep.precision) +
               " precision to follow the loads, " + why + "; a shorter --time tells";
    if (!c.small)
        return "inconclusive: the runs at h, h/2 and h/4 do not converge: the error at h, estimated from its "
               "difference against h/4 and the order it falls with, is " + Num(error, sep) + scale +
               ", more than the " + Num(verify::kConvergedError, sep) + " a converged run may have, " + why + ": the step is too large for this time, or the motion "
               "has a discontinuity or amplifies rounding" + smaller;
    return "inconclusive: the runs at h, h/2 and h/4 do not converge (observed order " +
           Num(std::round(c.stateOrder * 100) / 100, sep) + ", error " + Num(c.stateError[0], sep) +
           " of the motion's scale at h against a rounding floor of " + Num(c.stateFloor, sep) +
           "): the step is too large, or the motion has a discontinuity (a twist beyond 0.9 rad, for "
           "instance) or amplifies rounding (chaotic motion), " + why + smaller;
}

std::string RoundingCreeps(const VerifyReport& rep, char sep) {
    const bool ycOff = !Row(rep, LedgerRow::kYc).holds;
    return std::string("inconclusive: ") + (ycOff ? "Yc" : "the momentum Py") +
           " left its rounding threshold but " + (ycOff ? "the momentum Py" : "Yc") +
           " did not, while a constant force above the detection limit moves both (Py by F t, Yc by F t^2 / 2M): "
           "a force too small to move both, or rounding that goes one way step after step, would do this, and "
           "this run cannot tell which (max|Yc| = " + Num(rep.maxAbsYc, sep) + " m against " + Threshold(rep, sep) +
           "); a longer --time, which a force moves further, or a number type with more digits, whose rounding "
           "is smaller, tells";
}

// Names of the coordinates in StateY's order.
const char* const kComponents[sim::state::kPositions] = {"X0", "X1", "X2", "Y0", "Y1", "Y2", "the disk angle fi0"};

std::string FrozenByRounding(const VerifyReport& rep, char sep) {
    const verify::Frozen& f = rep.frozen;
    static const char* const kRuns[verify::kRuns] = {"h", "h/2", "h/4"};
    const int run = std::clamp(f.run, 0, verify::kRuns - 1);
    const int component = std::clamp(f.component, 0, sim::state::kPositions - 1);
    const bool angle = component == sim::state::kAngle;
    const std::string unit = angle ? " rad" : " m";
    return std::string("inconclusive: in the run at ") + kRuns[run] + ", " + kComponents[component] +
           " moves at most " + Num(f.change, sep) + unit + " a step, less than half the spacing of the numbers of "
           "its type at its size, about " + Num(f.spacing, sep) + unit + ": no step can change it by more than its "
           "rounding, so the runs at h, h/2 and h/4 share that error and their agreement shows nothing, and "
           "neither the ledger nor the verdict is claimed; a number type with more digits, or " +
           (angle ? "a smaller twist" : "coordinates nearer 0") + ", tells";
}

// Why a run has no detection limit, and what would give one.
std::string WithoutLimit(const VerifyReport& rep, char sep) {
    std::string why;
    if (rep.yThreshold == 0)
        why = "nothing moves along Y in this run, so rounding sets no threshold for Yc and no force can be "
              "measured against it; a disk that turns (w0 not 0) or a twist gives one";
    else if (!(rep.time * rep.time > 0))
        why = "the time " + Num(rep.time, sep) + " s is so short that its square is below the smallest "
              "double; a longer --time gives one";
    else
        why = "the threshold of Yc, " + Threshold(rep, sep) + ", and the time, " + Num(rep.time, sep) +
              " s, give none in " + verify::PrecisionName(rep.precision) + " precision; another --time or h gives one";
    const double limit = rep.detectionLimit;
    const std::string value = std::isnan(limit) ? "not a number" : std::isinf(limit) ? "infinite" : Num(limit, sep) + " N";
    return "inconclusive: this run has no detection limit (it comes out " + value + "): " + why + "; ";
}

std::string NoLimit(const VerifyReport& rep, char sep) {
    return WithoutLimit(rep, sep) + Claim(rep, sep) + " is neither shown nor refuted";
}

std::string NoLimitNorClaim(const VerifyReport& rep, char sep) {
    return WithoutLimit(rep, sep) + "no lateral force is claimed either (Fmrv = 0 N)";
}

std::string BelowDetection(const VerifyReport& rep, char sep) {
    const double steps = std::ceil(rep.timeToResolve / rep.h[0]);
    std::string line = "inconclusive: " + Claim(rep, sep) + " is below what this run resolves (it is " +
                       Factor(rep.claimFactor, sep) + " times the detection limit " + Limit(rep, sep) + ", " +
                       Factor(verify::kClearlyAbove, sep) + " times are needed); ";
    if (!(verify::kStepsInAllRuns * steps <= static_cast<double>(verify::kMaxVerifyStepsInAll)))
        return line + "by this run's estimate, which errs on the long side, resolving it would take " +
               (std::isfinite(steps) ? Num(steps, sep) : std::string("more than 1E+308")) +
               " steps of h, more than the " + Steps(verify::kMaxVerifySteps) +
               " --verify makes; the longest run it makes (--time " +
               Num(static_cast<double>(verify::kMaxVerifySteps) * rep.h[0], sep) +
               ") may still resolve it, and a larger h makes fewer steps";
    line += "--time " + Num(steps * rep.h[0], sep) + " (" + Num(steps, sep) + " steps of h) should resolve it";
    return line;
}

std::string NothingClaimed(const VerifyReport& rep, char sep) {
    return "inconclusive: the claimed force Fmrv is 0 N (V0 or w0 is 0), so there is no claim for a run to "
           "resolve; max|Yc| = " +
           Num(rep.maxAbsYc, sep) + " m stayed within its rounding threshold " + Threshold(rep, sep) +
           ", so no force above the detection limit " + Limit(rep, sep) + " acts";
}

// A run that fails ends --verify with the equations' error message instead
// of a report; only a sweep's point carries this verdict.
std::string RunFailed(const VerifyReport&, char) {
    return "the run failed: it stopped on an arithmetic error, so nothing is claimed";
}

constexpr VerdictRow kRows[] = {
    {Verdict::kNoLateralForce, ExitStatus::kDone,
     "No lateral force: the claimed one would have shown, and none did", "no lateral force", Mark::kNoForce,
     NoLateralForce},
    {Verdict::kLateralForceActs, ExitStatus::kLedgerFails,
     "A lateral force acts: Yc and Py left their rounding thresholds", "a lateral force acts", Mark::kForce,
     LateralForceActs},
    {Verdict::kLedgerBroken, ExitStatus::kLedgerFails, "The conservation ledger does not hold: no verdict",
     "the ledger does not hold", Mark::kForce, LedgerBroken},
    {Verdict::kNotConverged, ExitStatus::kInconclusive, "Inconclusive: the runs at h, h/2 and h/4 do not converge",
     "inconclusive: not converged", Mark::kCannotTell, NotConverged},
    {Verdict::kFrozenByRounding, ExitStatus::kInconclusive,
     "Inconclusive: a step cannot move a coordinate beyond its rounding", "inconclusive: frozen by rounding",
     Mark::kCannotTell, FrozenByRounding},
    {Verdict::kRoundingCreeps, ExitStatus::kInconclusive, "Inconclusive: only one of Yc and Py left its threshold",
     "inconclusive: Yc or Py alone", Mark::kCannotTell, RoundingCreeps},
    {Verdict::kNoLimit, ExitStatus::kInconclusive, "Inconclusive: this run has no detection limit",
     "inconclusive: no detection limit", Mark::kCannotTell, NoLimit},
    {Verdict::kBelowDetection, ExitStatus::kInconclusive,
     "Inconclusive: the claimed force is below what this run can show", "inconclusive: below the detection limit",
     Mark::kCannotTell, BelowDetection},
    {Verdict::kNothingClaimed, ExitStatus::kInconclusive,
     "Inconclusive: no lateral force is claimed (Fmrv = 0), so there is none to resolve",
     "inconclusive: no force is claimed", Mark::kCannotTell, NothingClaimed},
    {Verdict::kNoLimitNorClaim, ExitStatus::kInconclusive,
     "Inconclusive: no lateral force is claimed (Fmrv = 0), and this run has no detection limit",
     "inconclusive: no force is claimed", Mark::kCannotTell, NoLimitNorClaim},
    {Verdict::kRunFailed, ExitStatus::kRunFailed, "A run stopped on an arithmetic error: no verdict",
     "the run failed", Mark::kCannotTell, RunFailed},
};

constexpr bool EveryVerdictHasItsRowInOrder() {
    if (std::size(kRows) != static_cast<std::size_t>(Verdict::kCount)) return false;
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        if (kRows[i].verdict != static_cast<Verdict>(i)) return false;
    return true;
}
static_assert(EveryVerdictHasItsRowInOrder(), "every verdict has exactly its row, in the order of verify::Verdict");

}  // namespace

const VerdictRow& RowOf(Verdict verdict) { return kRows[static_cast<std::size_t>(verdict)]; }

std::span<const VerdictRow> VerdictRows() { return kRows; }

bool IsPointStatus(double status) {
    return std::any_of(std::begin(kRows), std::end(kRows),
                       [status](const VerdictRow& r) { return static_cast<int>(r.status) == status; });
}

std::string PointStatuses() {
    std::vector<int> statuses;
    for (const VerdictRow& r : kRows) statuses.push_back(static_cast<int>(r.status));
    std::sort(statuses.begin(), statuses.end());
    statuses.erase(std::unique(statuses.begin(), statuses.end()), statuses.end());
    std::string words;
    for (std::size_t i = 0; i < statuses.size(); ++i)
        words += (i == 0 ? "" : i + 1 == statuses.size() ? " or " : ", ") + std::to_string(statuses[i]);
    return words;
}

Mark MarkOf(ExitStatus status) {
    for (const VerdictRow& r : kRows)
        if (r.status == status) return r.mark;
    return Mark::kCannotTell;
}

}  // namespace cli
