// The sweep's figure: every point on the map, only bounded ones on the claims; every text within the width.
#include <gtest/gtest.h>

#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QXmlStreamReader>

#include <cmath>
#include <string>
#include <vector>

#include "cli/sweep_plot.h"

namespace {

using cli::ExitStatus;
using cli::Figure;
using verify::Precision;

// The mark a point (x, y) has in a panel: its shape, ring and note.
const Figure::Point* Find(const Figure::Panel& panel, double x, double y, Figure::Shape& shape) {
    for (const Figure::Marks& m : panel.marks)
        for (const Figure::Point& p : m.points)
            if (p.x == x && p.y == y) return shape = m.shape, &p;
    return nullptr;
}

TEST(SweepFigure, TheMapShowsEveryPointTheClaimsOnlyThoseWithABound) {
    // |Fmrv| / bound = 1E-3 / 1E-6: refuted by 3 decades.
    struct Case {
        cli::SweepRow row;
        Figure::Shape shape;
        const char* note;  // beside it on the map: only an answer's margin
        bool claimed;      // on the claims' panel
    } cases[] = {
        {{1, {1, 10}, -1e-3, 1e-6, ExitStatus::kDone, Precision::kDouble}, Figure::Shape::kCircle, "3", true},
        {{2, {2, 10}, 1e-3, 1e-4, ExitStatus::kDone, Precision::kExtended}, Figure::Shape::kCircle, "1", true},
        {{3, {3, 10}, 1e-3, 1e-2, ExitStatus::kLedgerFails, Precision::kDouble}, Figure::Shape::kCross, "-1", true},
        {{4, {1, 20}, 1e-9, 1e-6, ExitStatus::kInconclusive, Precision::kExtended}, Figure::Shape::kTriangle, "", true},
        {{5, {2, 20}, 1e-3, NAN, ExitStatus::kInconclusive, Precision::kDouble}, Figure::Shape::kTriangle, "", false},
        {{6, {3, 20}, 1e-3, NAN, ExitStatus::kRunFailed, Precision::kDouble}, Figure::Shape::kSquare, "", false},
        {{7, {4, 20}, 0, 1e-6, ExitStatus::kInconclusive, Precision::kDouble}, Figure::Shape::kTriangle, "", false},
        {{8, {4, 10}, 1e-3, NAN, ExitStatus::kInconclusive, Precision::kDouble, true}, Figure::Shape::kDiamond, "", false},
    };
    std::vector<cli::SweepRow> rows;
    for (const Case& c : cases) rows.push_back(c.row);
    const Figure f = cli::SweepFigure(rows, {"V0", "w0"});
    ASSERT_EQ(f.panels.size(), 2u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row.point);
        Figure::Shape shape{};
        const Figure::Point* onMap = Find(f.panels[0], c.row.values[0], c.row.values[1], shape);
        ASSERT_TRUE(onMap);
        EXPECT_EQ(shape, c.shape);
        EXPECT_EQ(onMap->note, c.note);
        EXPECT_EQ(onMap->ringed, c.row.precision == Precision::kExtended);
        const Figure::Point* claim = Find(f.panels[1], std::fabs(c.row.fmrv), c.row.forceBound, shape);
        EXPECT_EQ(claim != nullptr, c.claimed);
        if (claim) {
            EXPECT_EQ(claim->ringed, onMap->ringed);
        }
    }
    // Positive inputs on logarithmic axes; one input, the margins against it.
    EXPECT_TRUE(f.panels[0].x.log && f.panels[0].y.log);
    Figure::Shape shape{};
    EXPECT_TRUE(Find(cli::SweepFigure(rows, {"KR"}).panels[0], 2, 1, shape));  // point 2: 1 decade
    EXPECT_EQ(cli::SweepHeadline({rows[0]}), "No lateral force at all 1 point; claims refuted by 3 decades");
    // Every mark inside its panel, where an input reaches 0, spans -3..3 or is one value below 0.
    rows[0].values = {0, 10};
    cli::SweepRow alone = rows[4], across = rows[5];
    alone.values = {-3, 10}, across.values = {3, 20};
    auto inside = [](const Figure::Axis& a, double v) {
        const double at = a.log ? std::log10(v) : v;
        return a.lo < at && at < a.hi;
    };
    for (const Figure& g : {f, cli::SweepFigure(rows, {"KR", "w0"}), cli::SweepFigure(rows, {"KR"}),
                            cli::SweepFigure({alone}, {"KR", "w0"}),
                            cli::SweepFigure({alone, across}, {"KR", "w0"})})
        for (const Figure::Panel& panel : g.panels)
            for (const Figure::Marks& m : panel.marks)
                for (const Figure::Point& p : m.points)
                    EXPECT_TRUE(inside(panel.x, p.x) && inside(panel.y, p.y)) << panel.heading.toStdString() << p.x;
}

TEST(Figure, EveryTextFitsItsWidth) {
    static int argc = 3;
    static char name[] = "test", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    static QGuiApplication app(argc, argv);
    std::vector<cli::SweepRow> many;
    for (long long k = 1; k <= 12345; ++k)
        many.push_back({k, {double(k), 1.0 / double(k)}, 1e-3, k % 2 ? NAN : 1e-9 * double(k % 1000),
                        k % 2 ? ExitStatus::kInconclusive : ExitStatus::kDone, Precision::kDouble});
    Figure wordy;
    wordy.title = QString("A title that says far more than one line holds; ").repeated(5);
    wordy.details = QString("and details that say more still, ").repeated(12);
    wordy.panels.resize(1);
    for (const Figure& f : {cli::SweepFigure(many, {"V0", "w0"}), cli::SweepFigure(many, {"V0"}), wordy}) {
        SCOPED_TRACE(f.title.toStdString());
        const std::string path = testing::TempDir() + "figure.svg";
        std::string reason;
        ASSERT_TRUE(cli::SaveFigure(f, path, reason)) << reason;
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader svg(&file);
        QString drawn;
        while (svg.readNextStartElement() || !svg.atEnd()) {
            if (svg.name() != QLatin1String("text")) continue;
            const QXmlStreamAttributes a = svg.attributes();
            QFont font(a.value("font-family").toString());
            font.setPixelSize(a.value("font-size").toInt());
            font.setBold(a.value("font-weight").toInt() > 400);
            const QString text = svg.readElementText();
            EXPECT_LE(a.value("x").toDouble() + QFontMetricsF(font).horizontalAdvance(text), f.width) << text.toStdString();
            drawn += text + ' ';
        }
        // Nothing cut: the title and the details are there, word for word.
        EXPECT_TRUE(drawn.contains(f.title.simplified())) << drawn.toStdString();
        EXPECT_TRUE(drawn.contains(f.details.simplified()));
    }
}

}  // namespace
