#include "cli/verify_report.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/numtext.h"
#include "cli/verdicts.h"

namespace cli {
namespace {

using verify::LedgerRow;

struct Table {
    bool csv;
    char sep;
    std::string text;

    void Row(const std::string& item, const std::string& value, const std::string& reference, const std::string& note) {
        const char d = csv ? ',' : '\t';
        // Notes hold no comma or quote, so a CSV field needs no quoting.
        text += item + d + value + d + reference + d + note + '\n';
    }
};

}  // namespace

std::string Num(double v, char sep) { return std::isfinite(v) ? app::FormatNumber(v, sep) : std::string("-"); }

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

std::string Rounded(double v, int digits, char sep) {
    if (!std::isfinite(v)) return "-";
    // Through the decimal digits themselves: a power of ten to scale by would
    // lose its own digits below the smallest normal double.
    char text[40];
    std::snprintf(text, sizeof text, "%.*e", digits - 1, v);
    return app::FormatNumber(std::strtod(text, nullptr), sep);
}

std::string VerdictDetails(const verify::VerifyReport& rep, char sep) {
    auto r = [sep](double v) { return Rounded(v, 3, sep); };
    const std::string limit = !verify::LimitMeaningful(rep.verdict) ? std::string("no detection limit claimed")
                              : verify::LimitKnown(rep.detectionLimit)
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
    // A report in double reads as it always has; the wider type says so.
    if (rep.precision != verify::Precision::kDouble)
        t.Row("precision", verify::PrecisionName(rep.precision), "double",
              "the number type of the runs: binary128 (113 bits); reference: the window's");
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
          "a stable step; errors at h within the reference; and the order of the method or errors at h/2 within " +
              Num(verify::kOrderNoise, s) + " floors");
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
    const bool claimed = c.converged && rep.frozen.run < 0;  // a frozen run's agreement shows nothing
    t.Row("ledger_holds", !claimed ? "not claimed" : holds ? "yes" : "no", "", within);
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
             "errors at h, estimated against the run at h/4 at " + Num(verify::kSamples, s) +
             " moments of the run, of at most " + tol +
             " of the motion's own scale (positions against R1, the loads' distance from the disk; the disk angle "
             "against a turn; the energy against E0); and errors that fall with the step as the method's order "
             "says, unless at h/2 they are down to rounding. The state's rounding floor is steps * eps * (the "
             "largest coordinate / R1 + the largest disk angle) of the run at h/4: a coordinate or the disk angle "
             "that grows steadily rounds the same way at every step, and an angle off by d moves the loads by R1 "
             "d.\n";
    if (!std::isfinite(c.stateOrder) || !std::isfinite(c.energyOrder))
        notes += "A - stands where a value does not exist: an order where an error is 0 at h or at h/2.\n";
    notes += "Rounding floor of the ledger = size * eps * sqrt(steps), eps = " + Num(rep.eps, s) +
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
    if (rep.lengthenedFrom > 0)
        notes += "The time was lengthened from " + Num(rep.lengthenedFrom, s) + " s to " + Num(rep.time, s) +
                 " s to resolve the claim: at the default time it was below the detection limit (--time sets a "
                 "time that stays as given).\n";
    if (rep.doubleVerdict)
        notes += std::string("Precision: double could not tell (") + RowOf(*rep.doubleVerdict).word + "); " +
                 (RowOf(rep.verdict).status == ExitStatus::kInconclusive ? "extended precision could not either"
                                                                         : "extended precision answered") +
                 ", with the same inputs, h and time.\n";
    const std::string verdict = RowOf(rep.verdict).explain(rep, s) + '\n';
    if (csv) {
        out.Write(t.text);
        err.Write(notes + verdict);
    } else {
        out.Write(t.text + '\n' + notes + verdict);
    }
}

}  // namespace cli
