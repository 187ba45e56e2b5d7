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
    const std::string range =
        Decades(least) == Decades(most) ? Decades(least) : Decades(least) + " to " + Decades(most);
    const std::string refuted = least <= most ? "; claims refuted by " + range + " decades" : "";
    if (c.noForce == 0) return "No answer at any of " + points + ": the runs cannot tell";
    if (c.noForce == c.points) return "No lateral force at all " + points + refuted;
    return "No lateral force at " + std::to_string(c.noForce) + " of " + points + ", " +
           std::to_string(c.inconclusive + c.failed) + " cannot tell" + refuted;
}

namespace {

// The margin of a point with a claim and a bound, in decades: how far its
// claim stands above what its run allows.
QString Margin(const SweepRow& r) { return QString::fromStdString(Decades(DecadesAbove(r))); }

// A verdict that says whether a force acts, as against one that cannot tell.
bool Answered(const SweepRow& r) { return MarkOf(r.status) != Mark::kCannotTell; }

// One kind of mark for each of cli::Mark, in its order, and one each for a
// run that failed and runs that did not converge: they cannot tell either,
// but for want of a run or of a step that follows the motion.
std::vector<Figure::Marks> AnswerMarks() {
    static_assert(kMarks == 3, "a legend for every mark");
    return {
        {QStringLiteral("no lateral force (exit 0): a claim would have shown"), QColor(20, 150, 20),
         Figure::Shape::kCircle, {}},
        {QStringLiteral("a lateral force acts (exit 1)"), QColor(208, 32, 32), Figure::Shape::kCross, {}},
        {QStringLiteral("inconclusive (exit 4): the run cannot tell"), QColor(224, 128, 0), Figure::Shape::kTriangle,
         {}},
        {QStringLiteral("the run failed (exit 3): no answer"), QColor(110, 110, 110), Figure::Shape::kSquare, {}},
        {QStringLiteral("the runs did not converge (exit 4): no verdict"), QColor(150, 60, 170),
         Figure::Shape::kDiamond, {}},
    };
}
std::size_t MarksOf(const SweepRow& r) {
    if (r.status == ExitStatus::kRunFailed) return kMarks;
    if (r.diverged) return kMarks + 1;
    return static_cast<std::size_t>(MarkOf(r.status));
}

double ValueOf(const SweepRow& r, std::size_t axis) { return axis < r.values.size() ? r.values[axis] : NAN; }

// A swept input's axis: logarithmic where all its values are positive,
// with room around the marks and, on the right and above, for their notes.
Figure::Axis InputAxis(const std::vector<SweepRow>& rows, const std::vector<std::string>& axes, std::size_t axis) {
    double lo = INFINITY, hi = -INFINITY;
    for (const SweepRow& r : rows)
        if (std::isfinite(ValueOf(r, axis))) lo = std::min(lo, ValueOf(r, axis)), hi = std::max(hi, ValueOf(r, axis));
    const QString name = QString::fromStdString(axes[axis]);
    if (lo > 0 && lo <= hi)
        return {name + QStringLiteral(" (logarithmic)"), true, std::floor(std::log10(lo) - 0.3),
                std::ceil(std::log10(hi) + 0.6)};
    if (!(lo <= hi)) lo = hi = 0;
    const double span = hi > lo ? hi - lo : 1;
    return {name + QStringLiteral(" (linear: its values reach 0 or below)"), false, lo - 0.08 * span,
            hi + 0.15 * span};
}

}  // namespace

Figure SweepFigure(const std::vector<SweepRow>& rows, const std::vector<std::string>& axes) {
    Figure f;
    f.title = QString::fromStdString(SweepHeadline(rows));
    f.width = 1280, f.height = 760;
    const bool map = axes.size() >= 2;

    // The inputs: a map of the two, or the margin against the one.
    Figure::Panel inputs;
    inputs.marks = AnswerMarks();
    if (!axes.empty()) inputs.x = InputAxis(rows, axes, 0);
    double least = -0.5, most = 0.5;
    for (const SweepRow& r : rows)
        if (Drawable(r)) least = std::min(least, DecadesAbove(r) - 0.5), most = std::max(most, DecadesAbove(r) + 0.5);
    if (map) {
        inputs.heading = QStringLiteral("Each point at its inputs, by its answer");
        inputs.y = InputAxis(rows, axes, 1);
    } else {
        inputs.heading = QStringLiteral("Each point's margin at its input");
        // Room below for the points without a margin.
        inputs.y = {QStringLiteral("margin log10(|Fmrv| / bound), decades"), false, std::floor(least) - 1,
                    std::ceil(most)};
        const double a = inputs.x.log ? std::pow(10.0, inputs.x.lo) : inputs.x.lo;
        const double b = inputs.x.log ? std::pow(10.0, inputs.x.hi) : inputs.x.hi;
        inputs.lines = {{QString(), QColor(128, 128, 128), Qt::DashLine, {QPointF(a, 0), QPointF(b, 0)}}};
    }
    long long unbounded = 0;
    for (const SweepRow& r : rows) {
        unbounded += !Drawable(r);
        Figure::Point at{ValueOf(r, 0), 0, QString(), r.precision == verify::Precision::kExtended};
        if (map) {
            at.y = ValueOf(r, 1);
            if (Answered(r) && Drawable(r)) at.note = Margin(r);
        } else if (Drawable(r)) {
            at.y = DecadesAbove(r);
        } else {
            // No margin: below every margin, and said so.
            at.y = inputs.y.lo + 0.5, at.note = QStringLiteral("no bound");
        }
        if (!axes.empty()) inputs.marks[MarksOf(r)].points.push_back(at);
    }

    // The claims against their bounds: one scale of decades on both axes,
    // so the diagonal is at 45 degrees.
    Figure::Panel claims;
    claims.heading = QStringLiteral("Each claim against the largest force its run allows");
    double lo = INFINITY, hi = -INFINITY;
    for (const SweepRow& r : rows)
        if (Drawable(r))
            for (double v : {std::fabs(r.fmrv), r.forceBound})
                lo = std::min(lo, std::log10(v)), hi = std::max(hi, std::log10(v));
    // Whole decades, with room for a mark that sits on one.
    if (!(lo <= hi)) lo = hi = 0;
    lo = std::floor(lo - 0.25), hi = std::ceil(hi + 0.25);
    claims.x = {QStringLiteral("claimed lateral force |Fmrv|, N"), true, lo, hi};
    claims.y = {QStringLiteral("largest force the run allows, N"), true, lo, hi};
    const double a = std::pow(10.0, lo), b = std::pow(10.0, hi);
    claims.lines = {{QStringLiteral("bound = |Fmrv|: a point below it is a claim refuted"), QColor(128, 128, 128),
                     Qt::DashLine, {QPointF(a, a), QPointF(b, b)}}};
    claims.marks = AnswerMarks();
    for (const SweepRow& r : rows)
        if (Drawable(r))
            claims.marks[MarksOf(r)].points.push_back(
                {std::fabs(r.fmrv), r.forceBound, QString(), r.precision == verify::Precision::kExtended});

    f.details = map ? QStringLiteral("Left, each point at its two swept inputs")
                    : QStringLiteral("Left, each point's margin log10(|Fmrv| / bound) at its swept input");
    f.details += QStringLiteral("; right, its claimed |Fmrv| against the largest constant force the computed Yc "
                                "allows, 2 M (max|Yc| + threshold) / t^2.");
    if (unbounded > 0)
        f.details += QStringLiteral(" %1 point%2 without a claim or a bound: not on the right.")
                         .arg(unbounded)
                         .arg(unbounded == 1 ? "" : "s");
    if (!axes.empty()) f.panels.push_back(inputs);
    f.panels.push_back(claims);
    f.remarks.push_back({QStringLiteral("ringed: answered in extended precision; plain: in double"), {}, true});
    if (map)
        f.remarks.push_back({QStringLiteral("beside a point: its margin log10(|Fmrv| / bound), decades"),
                             QStringLiteral("1.4")});
    return f;
}

bool DrawSweepPlot(const std::vector<SweepRow>& rows, const std::vector<std::string>& axes, const std::string& path,
                   std::string& reason) {
    return SaveFigure(SweepFigure(rows, axes), path, reason);
}

}  // namespace cli
