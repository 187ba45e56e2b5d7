// A figure that answers one question: a title that states the answer, a
// line of the numbers behind it, two axes (linear or logarithmic), lines
// and marks, and a legend. Drawn with Qt's painter on the offscreen
// platform, so it needs no display; written as PNG or SVG.
#pragma once

#include <QColor>
#include <QPointF>
#include <QString>

#include <string>
#include <vector>

namespace cli {

struct Figure {
    struct Axis {
        QString label;
        bool log = false;
        // Logarithmic axes may be given their decades (lo < hi); otherwise
        // the data choose them. A linear axis runs from 0 to its data.
        double lo = 0, hi = 0;
    };
    struct Line {
        QString label;
        QColor colour;
        Qt::PenStyle style;
        std::vector<QPointF> points;
    };
    enum class Shape { kCircle, kCross, kTriangle };
    struct Marks {
        QString label;
        QColor colour;
        Shape shape;
        std::vector<QPointF> points;
    };

    QString title, details;
    Axis x, y;
    std::vector<Line> lines;
    std::vector<Marks> marks;
};

// A value to three significant digits, as the figures label them.
QString FigureNumber(double v);

// Writes the figure, PNG or SVG by the file's suffix. Returns false, with
// the reason, when the file cannot be written whole.
bool SaveFigure(const Figure& figure, const std::string& path, std::string& reason);

}  // namespace cli
