#include "cli/verify_report.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/numtext.h"

namespace cli {
namespace {

using verify::LedgerRow;
using verify::Verdict;

std::string Num(double v, char sep) { return std::isfinite(v) ? app::FormatNumber(v, sep) : std::string("-"); }

// A factor to two significant digits: "40", "3.1", "0.052".
std::string Factor(double v, char sep) { return Rounded(v, 2, sep); }

const char* LedgerName(LedgerRow row) {
    switch (row) {
        case LedgerRow::kPx: return "Px";
        case LedgerRow::kPy: return "Py";
        case LedgerRow::kLz: return "Lz";
        case LedgerRow::kYc: return "Yc";
    }
    return "";
}

const verify::LedgerEntry& Row(const verify::VerifyReport& rep, LedgerRow row) { return rep.ledger[int(row)]; }

struct Table {
    bool csv;
    char sep;
    std::string text;

    void Row(const std::string& item, const std::string& value, const std::string& reference, const char* note) {
        const char d = csv ? ',' : '\t';
        // Notes hold no comma or quote, so a CSV field needs no quoting.
        text += item + d + value + d + reference + d + note + '\n';
    }
};

std::string Steps(long long n) { return app::FormatNumber(static_cast<double>(n), '.'); }

std::string VerdictLine(const verify::VerifyReport& rep, char sep) {
    const verify::LedgerEntry& yc = Row(rep, LedgerRow::kYc);
    const std::string threshold = Num(rep.yThreshold, sep) + " m";
    const std::string claim = "the claimed force Fmrv = " + Num(rep.fmrv, sep) + " N";
    const std::string limit = Num(rep.detectionLimit, sep) + " N";
    switch (rep.verdict) {
        case Verdict::kNoLateralForce:
            return "no lateral force: max|Yc| = " + Num(rep.maxAbsYc, sep) + " m stayed within its rounding threshold " +
                   threshold + ", while " + claim + ", " + Factor(rep.claimFactor, sep) +
                   " times the detection limit " + limit + ", would have moved it by " +
                   Num(std::fabs(rep.ymrvEnd), sep) + " m";
        case Verdict::kLateralForceActs: {
            const verify::LedgerEntry& py = Row(rep, LedgerRow::kPy);
            return "a lateral force acts: max|Yc| = " + Num(rep.maxAbsYc, sep) + " m is beyond its rounding threshold " +
                   threshold + " and the momentum Py changed by " + Num(py.maxDeviation, sep) +
                   " kg*m/s, beyond its rounding threshold " + Num(py.allowance, sep) +
                   " kg*m/s, as a constant force of about " + Num(rep.pyChange / rep.time, sep) + " N would (" + claim +
                   ", Ymrv = " + Num(rep.ymrvEnd, sep) + " m)";
        }
        case Verdict::kRoundingCreeps: {
            const bool ycOff = !yc.holds;
            return std::string("inconclusive: ") + (ycOff ? "Yc" : "the momentum Py") +
                   " left its rounding threshold but " + (ycOff ? "the momentum Py" : "Yc") +
                   " did not, while a constant force moves both (Py by F t, Yc by F t^2 / 2M): it is rounding that "
                   "goes the same way step after step, beyond the share its floor allows, and this run cannot tell "
                   "a force from it (max|Yc| = " + Num(rep.maxAbsYc, sep) + " m against " + threshold +
                   "); fewer steps, with a larger h or a shorter --time, tell";
        }
        case Verdict::kLedgerBroken: {
            std::string rows;
            for (LedgerRow row : {LedgerRow::kPx, LedgerRow::kLz})
                if (!Row(rep, row).holds) rows += std::string(rows.empty() ? "" : " and ") + LedgerName(row);
            return "the ledger does not hold: " + rows +
                   " moved beyond its rounding threshold, which no lateral force does, so the equations are not "
                   "solved as they should be and no verdict on the lateral force is claimed (max|Yc| = " +
                   Num(yc.maxDeviation, sep) + " m)";
        }
        case Verdict::kNotConverged: {
            const verify::Convergence& c = rep.conv;
            const std::string why = "so neither the ledger nor the verdict is claimed";
            const std::string smaller = "; a smaller h (--set h=" + Num(rep.h[0] / 10, sep) + ") tells";
            if (!c.stable)
                return "inconclusive: the step h = " + Num(rep.h[0], sep) + " s leaves only " +
                       Factor(c.stepsPerPeriod, sep) + " steps to the shortest period of the motion (the disk's "
                       "turn, a load's swing on its elements, or its damping), fewer than the 2 Pi RK4 needs to "
                       "keep that motion stable: the runs agree only while nothing stirs it, " + why + "; --set h=" +
                       Num(rep.h[0] * c.stepsPerPeriod / 100, sep) + " makes 100 steps a period";
            const double error = std::max(c.stateError[0], c.energyError[0]);
            const std::string scale = " of the motion's scale (positions against R1, the disk angle against a turn, "
                                      "the energy against E0)";
            if (!c.small && c.atRounding && c.energyError[0] <= verify::kConvergedError)
                return "inconclusive: the runs at h, h/2 and h/4 agree only to rounding, and rounding alone leaves "
                       "the motion " + Num(error, sep) + scale + " uncertain, more than the " +
                       Num(verify::kConvergedError, sep) + " a converged run may have: the coordinates grow too "
                       "large against R1 for double precision to follow the loads, " + why +
                       "; a shorter --time tells";
            if (!c.small)
                return "inconclusive: the runs at h, h/2 and h/4 do not converge: the error at h is " +
                       Num(error, sep) + scale + ", more than the " + Num(verify::kConvergedError, sep) +
                       " a converged run may have, " + why + ": the step is too large for this time, or the motion "
                       "has a discontinuity or amplifies rounding" + smaller;
            return "inconclusive: the runs at h, h/2 and h/4 do not converge (observed order " +
                   Num(std::round(c.stateOrder * 100) / 100, sep) + ", error " + Num(c.stateError[0], sep) +
                   " of the motion's scale at h against a rounding floor of " + Num(c.stateFloor, sep) +
                   "): the step is too large, or the motion has a discontinuity (a twist beyond 0.9 rad, for "
                   "instance) or amplifies rounding (chaotic motion), " + why + smaller;
        }
        case Verdict::kNoLimit: {
            std::string why;
            if (rep.yThreshold == 0)
                why = "nothing moves along Y in this run, so rounding sets no threshold for Yc and no force can be "
                      "measured against it; a disk that turns (w0 not 0) or a twist gives one";
            else if (!(rep.time * rep.time > 0))
                why = "the time " + Num(rep.time, sep) + " s is so short that its square is below the smallest "
                      "double; a longer --time gives one";
            else
                why = "the threshold of Yc, " + threshold + ", and the time, " + Num(rep.time, sep) +
                      " s, give none in double precision; another --time or h gives one";
            const double limit = rep.detectionLimit;
            const std::string value = std::isnan(limit) ? "not a number" : std::isinf(limit) ? "infinite" : Num(limit, sep) + " N";
            return "inconclusive: this run has no detection limit (it comes out " + value + "): " + why + "; " +
                   (rep.fmrv == 0 ? std::string("no lateral force is claimed either (Fmrv = 0 N)")
                                  : claim + " is neither shown nor refuted");
        }
        case Verdict::kBelowDetection: {
            if (rep.fmrv == 0)
                return "inconclusive: the claimed force Fmrv is 0 N (V0 or w0 is 0), so there is no claim for a "
                       "run to resolve; max|Yc| = " +
                       Num(rep.maxAbsYc, sep) + " m stayed within its rounding threshold " + threshold +
                       ", so no force above the detection limit " + limit + " acts";
            const double steps = std::ceil(rep.timeToResolve / rep.h[0]);
            std::string line = "inconclusive: " + claim + " is below what this run resolves (it is " +
                               Factor(rep.claimFactor, sep) + " times the detection limit " + limit + ", " +
                               Factor(verify::kClearlyAbove, sep) + " times are needed); ";
            if (!(7 * steps <= static_cast<double>(verify::kMaxVerifyStepsInAll)))
                return line + "no run --verify makes would resolve it: that would take " +
                       (std::isfinite(steps) ? Num(steps, sep) : std::string("more than 1E+308")) +
                       " steps of h, and --verify makes at most " + Steps(verify::kMaxVerifyStepsInAll / 7) +
                       "; a larger h makes fewer steps";
            line += "--time " + Num(steps * rep.h[0], sep) + " (" + Num(steps, sep) + " steps of h) should resolve it";
            return line;
        }
    }
    return "";
}

}  // namespace

std::string Rounded(double v, int digits, char sep) {
    if (!std::isfinite(v)) return "-";
    // Through the decimal digits themselves: a power of ten to scale by would
    // lose its own digits below the smallest normal double.
    char text[40];
    std::snprintf(text, sizeof text, "%.*e", digits - 1, v);
    return app::FormatNumber(std::strtod(text, nullptr), sep);
}

ExitStatus VerdictStatus(Verdict verdict) {
    switch (verdict) {
        case Verdict::kNoLateralForce: return ExitStatus::kDone;
        case Verdict::kLateralForceActs:
        case Verdict::kLedgerBroken: return ExitStatus::kLedgerFails;
        case Verdict::kNotConverged:
        case Verdict::kRoundingCreeps:
        case Verdict::kNoLimit:
        case Verdict::kBelowDetection: return ExitStatus::kInconclusive;
    }
    return ExitStatus::kInconclusive;
}

std::string VerdictHeadline(const verify::VerifyReport& rep) {
    switch (rep.verdict) {
        case Verdict::kNoLateralForce: return "No lateral force: the claimed one would have shown, and none did";
        case Verdict::kLateralForceActs: return "A lateral force acts: Yc and Py left their rounding thresholds";
        case Verdict::kRoundingCreeps: return "Inconclusive: rounding creeps beyond its floor in Yc or Py";
        case Verdict::kLedgerBroken: return "The conservation ledger does not hold: no verdict";
        case Verdict::kNotConverged: return "Inconclusive: the runs at h, h/2 and h/4 do not converge";
        case Verdict::kNoLimit:
            return rep.fmrv == 0 ? "Inconclusive: no lateral force is claimed (Fmrv = 0), and this run has no detection limit"
                                 : "Inconclusive: this run has no detection limit";
        case Verdict::kBelowDetection:
            return rep.fmrv == 0 ? "Inconclusive: no lateral force is claimed (Fmrv = 0), so there is none to resolve"
                                 : "Inconclusive: the claimed force is below what this run can show";
    }
    return "";
}

std::string VerdictDetails(const verify::VerifyReport& rep, char sep) {
    auto r = [sep](double v) { return Rounded(v, 3, sep); };
    const std::string limit = verify::LimitKnown(rep.detectionLimit)
                                  ? Factor(rep.claimFactor, sep) + " times the detection limit " + r(rep.detectionLimit) + " N"
                                  : std::string("no detection limit");
    return "Fmrv = " + r(rep.fmrv) + " N, " + limit + "; max|Yc| = " + r(rep.maxAbsYc) + " m; t = " + r(rep.time) +
           " s, h = " + r(rep.h[0]) + " s";
}

void PrintVerifyReport(const verify::VerifyReport& rep, double requested, bool csv, char sep, Output& out,
                       Output& err) {
    Table t{csv, csv ? '.' : sep, {}};
    const char s = t.sep;
    // 1E-06 s is 1000 steps of 1E-09 s, though their product is not 1E-06.
    const bool rounded = std::fabs(requested / rep.h[0] - static_cast<double>(rep.steps[0])) > 1e-6;
    t.Row("item", "value", "reference", "meaning");
    t.Row("time", Num(rep.time, s), rounded ? Num(requested, s) : "",
          "simulated time of each run in s: a whole number of steps of h (reference: the --time asked for)");
    t.Row("h", Num(rep.h[0], s), "", "step of the main run in s; the others use h/2 and h/4");
    t.Row("steps", Num(static_cast<double>(rep.steps[0]), s), "", "steps of the main run");
    const verify::Convergence& c = rep.conv;
    const std::string tol = Num(verify::kConvergedError, s);
    t.Row("position_error_h", Num(c.positionError[0], s), tol,
          "max |X Y at h - at h/4| over the bodies / R1; reference: the most a converged run may have");
    t.Row("position_error_h2", Num(c.positionError[1], s), "", "the same at h/2");
    t.Row("angle_error_h", Num(c.angleError[0], s), tol, "|fi0 at h - at h/4| in turns");
    t.Row("angle_error_h2", Num(c.angleError[1], s), "", "the same at h/2");
    t.Row("energy_error_h", Num(c.energyError[0], s), tol, "|E at h - E at h/4| / E0");
    t.Row("energy_error_h2", Num(c.energyError[1], s), "", "the same at h/2");
    t.Row("state_floor", Num(c.stateFloor, s), "",
          "what rounding alone gives the position and angle errors at h/2 in the same scale");
    t.Row("order_state", Num(c.stateOrder, s), rep.damped ? "1" : "4",
          "log2(position or angle error at h / at h/2)");
    t.Row("order_energy", Num(c.energyOrder, s), rep.damped ? "1" : "4 to 5",
          "log2(energy error at h / energy error at h/2)");
    t.Row("steps_per_period", Num(c.stepsPerPeriod, s), "6.28",
          "steps of h to the shortest period of the motion; reference: the fewest that keep RK4 stable");
    t.Row("converged", c.converged ? "yes" : "no", "",
          "a stable step; errors at h within the reference; and the order of the method or errors at h/2 within 16 floors");
    static const char* const kLedgerNotes[verify::kLedgerRows] = {
        "max |Px - Px(0)| in kg*m/s; reference: what rounding allows",
        "max |Py - Py(0)| in kg*m/s; reference: what rounding allows",
        "max |Lz - Lz(0)| about the origin with J0*w0 in kg*m^2/s; reference: rounding and truncation allow",
        "max |Yc - Yc(0)| of the centre of mass in m; reference: what rounding allows",
    };
    bool holds = true;
    for (int k = 0; k < verify::kLedgerRows; ++k) {
        const verify::LedgerEntry& e = rep.ledger[k];
        t.Row(std::string("ledger_") + LedgerName(LedgerRow(k)), Num(e.maxDeviation, s), Num(e.allowance, s),
              kLedgerNotes[k]);
        holds = holds && e.holds;
    }
    const std::string within = "every deviation within its reference: " +
                               Num(verify::kLedgerFactor[int(LedgerRow::kPy)], s) + " rounding floors along Y and " +
                               Num(verify::kLedgerFactor[int(LedgerRow::kPx)], s) + " for Px and Lz";
    t.Row("ledger_holds", rep.verdict == Verdict::kNotConverged ? "not claimed" : holds ? "yes" : "no", "",
          within.c_str());
    t.Row("max_abs_Y0", Num(rep.maxAbsY0, s), "", "largest |Y0| of the disk centre in m");
    t.Row("max_abs_Yc", Num(rep.maxAbsYc, s), Num(rep.yThreshold, s),
          "largest |Yc| in m; reference: the rounding threshold beyond which a force acts");
    t.Row("Ymrv_end", Num(rep.ymrvEnd, s), "", "ordinate under the claimed force Fmrv at the end in m");
    t.Row("Fmrv", Num(rep.fmrv, s), "", "the claimed lateral force in N");
    t.Row("detection_limit", Num(rep.detectionLimit, s), "",
          "smallest lateral force in N this run is sure to show: F*t^2/(2*M) twice the threshold");
    t.Row("claim_factor", Num(rep.claimFactor, s), Num(verify::kClearlyAbove, s),
          "|Fmrv| / detection limit; reference: what a verdict of no lateral force needs");

    std::string notes;
    if (rounded)
        notes += "The --time asked for, " + Num(requested, s) + " s, is not a whole number of steps of h; all "
                 "three runs use " + Num(rep.time, s) + " s, the nearest.\n";
    if (rep.damped)
        notes += "Damped run (KR or KT not 0): the damping speeds VR and VT are backward differences over one "
                 "step, so the damping force lags the motion by one step. That first-order error dominates as "
                 "h shrinks, and the observed order falls from 4 towards 1.\n";
    else
        notes += "Undamped run: classical RK4, order 4 for the state; the energy of an oscillation drifts "
                 "with order 4 to 5.\n";
    if (c.small && c.atRounding)
        notes += "The error at h/2 is at the rounding floor: the three runs agree to rounding, so the observed "
                 "order means nothing (a larger h or a longer --time shows it).\n";
    notes += "Converged means: a step that leaves at least 2 Pi steps to the shortest period of the motion; "
             "errors at h, estimated against the run at h/4 at 400 moments of the run, of at most " + tol +
             " of the motion's own scale (positions against R1, the loads' distance from the disk; the disk angle "
             "against a turn; the energy against E0); and errors that fall with the step as the method's order "
             "says, unless at h/2 they are down to rounding. The state's rounding floor is steps * eps * (the "
             "largest coordinate / R1 + the largest disk angle) of the run at h/4: a coordinate or the disk angle "
             "that grows steadily rounds the same way at every step, and an angle off by d moves the loads by R1 "
             "d.\n";
    if (!std::isfinite(c.stateOrder) || !std::isfinite(c.energyOrder))
        notes += "A - stands where a value does not exist: an order where an error is 0 at h or at h/2.\n";
    notes += "Rounding floor of the ledger = size * eps * sqrt(steps), eps = " + Num(DBL_EPSILON, s) +
             "; the size of a quantity is the largest sum of the magnitudes of its terms over the run "
             "(for Yc the bodies' |Y| plus |VY|*T, since rounding of the momenta integrates into the "
             "positions). Momenta and Yc are linear in the state and RK4 keeps them exactly; Lz is "
             "quadratic, so its reference adds 4/3 of the part of its deviation that shrinks from h to h/4, "
             "at most " + tol + " of its size. Along Y a deviation within " +
             Num(verify::kLedgerFactor[int(LedgerRow::kYc)], s) +
             " floors is rounding; along X, where the translation runs through every sum, within " +
             Num(verify::kLedgerFactor[int(LedgerRow::kPx)], s) + ". A lateral force is reported only when Yc and "
             "Py both leave their thresholds, as a constant force moves them; the detection limit is the force "
             "that moves each by twice its threshold.\n";
    const std::string verdict = VerdictLine(rep, s) + '\n';
    if (csv) {
        out.Write(t.text);
        err.Write(notes + verdict);
    } else {
        out.Write(t.text + '\n' + notes + verdict);
    }
}

}  // namespace cli
