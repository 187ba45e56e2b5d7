#include "cli/verify_report.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/numtext.h"

namespace cli {
namespace {

// Below this many rounding floors the error of the h/2 run is noise, and an
// order measured from it means nothing.
constexpr double kOrderNoise = 16;

struct Table {
    bool csv;
    char sep;
    std::string out;

    std::string Num(double v) const {
        return std::isfinite(v) ? app::FormatNumber(v, sep) : std::string("-");
    }
    void Row(const char* item, const std::string& value, const std::string& reference, const char* note) {
        const char d = csv ? ',' : '\t';
        out += item;
        out += d;
        out += value;
        out += d;
        out += reference;
        out += d;
        // Notes hold no comma or quote, so a CSV field needs no quoting.
        out += note;
        out += '\n';
    }
};

}  // namespace

void PrintVerifyReport(const app::VerifyReport& rep, bool csv, char sep) {
    Table t{csv, csv ? '.' : sep, {}};
    t.Row("item", "value", "reference", "meaning");
    t.Row("time", t.Num(rep.time), "", "simulated time of each run in s");
    t.Row("h", t.Num(rep.h[0]), "", "step of the main run in s; the others use h/2 and h/4");
    t.Row("steps", t.Num(static_cast<double>(rep.steps[0])), "", "steps of the main run");
    t.Row("state_error_h", t.Num(rep.stateError[0]), t.Num(rep.stateFloor),
          "max |X Y fi0 at h - at h/4| in m or rad; reference: rounding floor");
    t.Row("state_error_h2", t.Num(rep.stateError[1]), t.Num(rep.stateFloor), "the same at h/2");
    t.Row("order_state", t.Num(rep.stateOrder), rep.damped ? "1" : "4", "log2(error at h / error at h/2)");
    t.Row("energy_error_h", t.Num(rep.energyError[0]), "", "|E at h - E at h/4| / E0");
    t.Row("energy_error_h2", t.Num(rep.energyError[1]), "", "the same at h/2");
    t.Row("order_energy", t.Num(rep.energyOrder), rep.damped ? "1" : "4 to 5",
          "log2(energy error at h / energy error at h/2)");
    static const char* const kLedgerNotes[4] = {
        "max |Px - Px(0)| in kg*m/s; reference: rounding floor",
        "max |Py - Py(0)| in kg*m/s; reference: rounding floor",
        "max |Lz - Lz(0)| about the origin with J0*w0 in kg*m^2/s; reference: floor with truncation",
        "max |Yc - Yc(0)| of the centre of mass in m; reference: rounding floor",
    };
    static const char* const kLedgerItems[4] = {"ledger_Px", "ledger_Py", "ledger_Lz", "ledger_Yc"};
    for (int k = 0; k < 4; ++k) t.Row(kLedgerItems[k], t.Num(rep.ledger[k].maxDeviation), t.Num(rep.ledger[k].floor),
                                      kLedgerNotes[k]);
    t.Row("ledger_holds", rep.ledgerHolds ? "yes" : "no", "",
          "every deviation within 64 floors");
    t.Row("max_abs_Y0", t.Num(rep.maxAbsY0), "", "largest |Y0| of the disk centre in m");
    t.Row("max_abs_Yc", t.Num(rep.maxAbsYc), t.Num(rep.ledger[3].floor), "largest |Yc| in m");
    t.Row("Ymrv_end", t.Num(rep.ymrvEnd), "", "ordinate under the claimed force Fmrv at the end in m");

    std::string notes;
    if (rep.damped) {
        notes += "Damped run (KR or KT not 0): the damping speeds VR and VT are backward differences over one "
                 "step, so the damping force lags the motion by one step. That first-order error dominates as "
                 "h shrinks, and the observed order falls from 4 towards 1.\n";
    } else {
        notes += "Undamped run: classical RK4, order 4 for the state; the energy of an oscillation drifts "
                 "with order 4 to 5.\n";
    }
    // Errors that do not shrink with the step are rounding, whatever the
    // floor estimate says.
    if (rep.stateError[1] < kOrderNoise * rep.stateFloor || !(rep.stateOrder > 0.5))
        notes += "The errors here are rounding, not truncation (they are near the rounding floor or do not "
                 "shrink with the step), so the observed order means nothing: take a larger h "
                 "(--set h=...) or a longer --time.\n";
    notes += "Rounding floor = size * eps * sqrt(steps), eps = " + app::FormatNumber(DBL_EPSILON, t.sep) +
             "; the size of a quantity is the largest sum of the magnitudes of its terms over the run "
             "(for Yc the bodies' |Y| plus |VY|*T, since rounding of the momenta integrates into the "
             "positions). Momenta and Yc are linear in the state and RK4 keeps them exactly; Lz is "
             "quadratic, so its reference adds the part of its deviation that shrinks with the step.\n";
    std::string verdict;
    if (rep.noLateralForce) {
        verdict = "no lateral force within rounding: max|Yc| = " + t.Num(rep.maxAbsYc) + " m, Ymrv = " +
                  t.Num(rep.ymrvEnd) + " m\n";
    } else {
        verdict = "a lateral force acts: max|Yc| = " + t.Num(rep.maxAbsYc) + " m is beyond the rounding floor " +
                  t.Num(rep.ledger[3].floor) + " m (Ymrv = " + t.Num(rep.ymrvEnd) + " m)\n";
    }
    std::fputs(t.out.c_str(), stdout);
    if (csv) {
        std::fputs(notes.c_str(), stderr);
        std::fputs(verdict.c_str(), stderr);
    } else {
        std::fputs("\n", stdout);
        std::fputs(notes.c_str(), stdout);
        std::fputs(verdict.c_str(), stdout);
    }
    std::fflush(stdout);
}

}  // namespace cli
