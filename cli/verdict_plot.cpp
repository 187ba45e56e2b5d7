#include "cli/verdict_plot.h"

#include <cmath>

#include "cli/figure.h"
#include "cli/verdicts.h"
#include "cli/verify_report.h"
#include "sim/energy.h"

namespace cli {

bool DrawVerdictPlot(const verify::VerifyReport& rep, const std::string& path, std::string& reason) {
    Figure f;
    f.title = QString::fromUtf8(RowOf(rep.verdict).headline);
    f.details = QString::fromStdString(VerdictDetails(rep, '.'));
    Figure::Panel panel;
    panel.x = {QStringLiteral("simulated time t, s"), false, 0, rep.time};  // at least ten steps
    panel.y = {QStringLiteral("|ordinate|, m (logarithmic)"), true};
    const double factor = verify::kLedgerFactor[int(verify::LedgerRow::kYc)];
    Figure::Line claim{"|Ymrv|: where the claimed force Fmrv = " + FigureNumber(rep.fmrv) + " N would have moved the system",
                       QColor(208, 32, 32), Qt::SolidLine, {}};
    Figure::Line limit{verify::LimitKnown(rep.detectionLimit)
                           ? "detection limit: where " + FigureNumber(rep.detectionLimit) +
                                 " N, the least force this run is sure to show, would have moved it"
                           : QStringLiteral("detection limit: none in this run"),
                       QColor(224, 128, 0), Qt::DashLine, {}};
    Figure::Line threshold{"rounding threshold of Yc: " + FigureNumber(factor) + " rounding floors; beyond it a force acts",
                           QColor(128, 128, 128), Qt::DotLine, {}};
    Figure::Line yc{QStringLiteral("|Yc|: the centre of mass, as computed"), QColor(20, 150, 20), Qt::SolidLine, {}};
    Figure::Line y0{QStringLiteral("|Y0|: the disk centre, as computed"), QColor(30, 80, 210), Qt::SolidLine, {}};
    for (const verify::TraceSample& s : rep.trace) {
        claim.points.emplace_back(s.t, sim::ShiftUnderForce(std::fabs(rep.fmrv), s.t, rep.totalMass));
        limit.points.emplace_back(s.t, sim::ShiftUnderForce(rep.detectionLimit, s.t, rep.totalMass));
        threshold.points.emplace_back(s.t, factor * s.floorYc);
        yc.points.emplace_back(s.t, s.absYc);
        y0.points.emplace_back(s.t, s.absY0);
    }
    panel.lines = {claim, limit, threshold, yc, y0};
    f.panels = {panel};
    return SaveFigure(f, path, reason);
}

}  // namespace cli
