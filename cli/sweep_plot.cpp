#include "cli/sweep_plot.h"

#include <algorithm>
#include <cmath>

#include "cli/figure.h"
#include "cli/verdicts.h"

namespace cli {
namespace {

bool Drawable(const SweepRow& r) {
    return std::isfinite(r.fmrv) && r.fmrv != 0 && std::isfinite(r.forceBound) && r.forceBound > 0;
}

// How many decades the claim stands above what the run allows.
double DecadesAbove(const SweepRow& r) { return std::log10(std::fabs(r.fmrv) / r.forceBound); }

std::string Decades(double d) {
    const double tenths = std::round(d * 10) / 10;
    return QString::number(tenths, 'f', tenths == std::round(tenths) ? 0 : 1).toStdString();
}

}  // namespace

std::string SweepHeadline(const std::vector<SweepRow>& rows) {
    const SweepCounts c = CountAnswers(rows);
    const std::string points = std::to_string(c.points) + (c.points == 1 ? " point" : " points");
    if (c.acts > 0) return "A lateral force acts at " + std::to_string(c.acts) + " of " + points;
    double least = INFINITY, most = -INFINITY;
    for (const SweepRow& r : rows)
        if (r.status == ExitStatus::kDone && Drawable(r) && std::isfinite(DecadesAbove(r)))
            least = std::min(least, DecadesAbove(r)), most = std::max(most, DecadesAbove(r));
    const std::string refuted =
        least <= most ? "; claims refuted by " + Decades(least) + " to " + Decades(most) + " decades" : "";
    if (c.noForce == 0) return "No answer at any of " + points + ": the runs cannot tell";
    if (c.noForce == c.points) return "No lateral force at all " + points + refuted;
    return "No lateral force at " + std::to_string(c.noForce) + " of " + points + ", " +
           std::to_string(c.inconclusive + c.failed) + " cannot tell" + refuted;
}

bool DrawSweepPlot(const std::vector<SweepRow>& rows, const std::string& path, std::string& reason) {
    Figure f;
    f.title = QString::fromStdString(SweepHeadline(rows));
    // One scale of decades on both axes, so the diagonal is at 45 degrees.
    double lo = INFINITY, hi = -INFINITY;
    long long hidden = 0;
    for (const SweepRow& r : rows) {
        if (!Drawable(r)) {
            ++hidden;
            continue;
        }
        for (double v : {std::fabs(r.fmrv), r.forceBound})
            lo = std::min(lo, std::log10(v)), hi = std::max(hi, std::log10(v));
    }
    // Whole decades, with room for a mark that sits on one.
    if (!(lo <= hi)) lo = hi = 0;
    lo = std::floor(lo - 0.25), hi = std::ceil(hi + 0.25);
    f.details = QStringLiteral("claimed |Fmrv| against the largest constant force the computed Yc allows, "
                               "2 M (max|Yc| + threshold) / t^2");
    if (hidden > 0)
        f.details += QStringLiteral("; %1 point%2 without a claim or a bound not drawn")
                         .arg(hidden)
                         .arg(hidden == 1 ? "" : "s");
    f.x = {QStringLiteral("claimed lateral force |Fmrv|, N"), true, lo, hi};
    f.y = {QStringLiteral("largest force the run allows, N"), true, lo, hi};
    const double a = std::pow(10.0, lo), b = std::pow(10.0, hi);
    f.lines = {{QStringLiteral("the claim just allowed: bound = |Fmrv|; below it a claim is refuted"),
                QColor(128, 128, 128), Qt::DashLine, {QPointF(a, a), QPointF(b, b)}}};
    // One kind of mark for each of cli::Mark, in its order; a point's is
    // that of its verdict's row.
    f.marks = {
        {QStringLiteral("no lateral force (exit 0): the claim would have shown, and none did"), QColor(20, 150, 20),
         Figure::Shape::kCircle, {}},
        {QStringLiteral("a lateral force acts (exit 1)"), QColor(208, 32, 32), Figure::Shape::kCross, {}},
        {QStringLiteral("inconclusive (exit 4) or failed (exit 3): the run cannot tell"), QColor(224, 128, 0),
         Figure::Shape::kTriangle, {}},
    };
    static_assert(kMarks == 3, "a legend for every mark");
    for (const SweepRow& r : rows)
        f.marks[static_cast<std::size_t>(MarkOf(r.status))].points.emplace_back(std::fabs(r.fmrv), r.forceBound);
    return SaveFigure(f, path, reason);
}

}  // namespace cli
