// A figure that answers one question: a title that states the answer, the
// numbers behind it, one or more panels side by side, each with two axes
// (linear or logarithmic), lines and marks, and one legend below them.
// Drawn with Qt's painter on the offscreen platform, so it needs no
// display; written as PNG or SVG. Long titles and details wrap; nothing is
// cut.
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
        // The axis's ends, lo < hi: decades on a logarithmic axis, values on
        // a linear one. Otherwise the data choose them; a linear axis then
        // runs from 0 (or its least value, if negative) to its data.
        double lo = 0, hi = 0;
    };
    struct Line {
        QString label;
        QColor colour;
        Qt::PenStyle style;
        std::vector<QPointF> points;
    };
    enum class Shape { kCircle, kCross, kTriangle, kSquare, kDiamond };
    struct Point {
        double x = 0, y = 0;
        QString note;        // written beside the mark
        bool ringed = false; // a ring around the mark
    };
    struct Marks {
        QString label;  // in the legend; the same label in two panels is one entry
        QColor colour;
        Shape shape;
        std::vector<Point> points;
    };
    struct Panel {
        QString heading;  // above the panel
        Axis x, y;
        std::vector<Line> lines;
        std::vector<Marks> marks;
    };

    QString title, details;
    std::vector<Panel> panels;  // side by side
    // Legend lines that say what a ring or a note means, with a sample of
    // the note, or a ring.
    struct Remark {
        QString text, sample;
        bool ring = false;
    };
    std::vector<Remark> remarks;
    int width = 960, height = 640;
};

// A value to three significant digits, as the figures label them.
QString FigureNumber(double v);

// Writes the figure, PNG or SVG by the file's suffix. Returns false, with
// the reason, when the file cannot be written whole.
bool SaveFigure(const Figure& figure, const std::string& path, std::string& reason);

}  // namespace cli
