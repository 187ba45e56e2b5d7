#include "cli/figure.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/options.h"
#include "cli/verify_report.h"

namespace cli {
namespace {

constexpr double kMostDecades = 24;

// A step of 1, 2 or 5 times a power of ten giving four to eight ticks.
double TickStep(double span) {
    const double raw = span / 6;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * decade >= raw) return m * decade;
    return 10 * decade;
}

bool Drawable(double v, bool log) { return std::isfinite(v) && (!log || v > 0); }

// Where an axis runs: decades for a logarithmic one, values for a linear one.
struct Range {
    bool log;
    double lo, hi;  // decades (log) or values

    double Fraction(double v) const { return log ? (std::log10(v) - lo) / (hi - lo) : (v - lo) / (hi - lo); }
};

Range RangeOf(const Figure::Axis& axis, const std::vector<double>& data) {
    if (axis.lo < axis.hi) return {axis.log, axis.lo, axis.hi};
    if (!axis.log) {
        double lo = 0, hi = 0;
        for (double v : data)
            if (std::isfinite(v)) lo = std::min(lo, v), hi = std::max(hi, v);
        return {false, lo, hi > lo ? hi : lo + 1};
    }
    double lowest = INFINITY, highest = 0;
    for (double v : data)
        if (Drawable(v, true)) lowest = std::min(lowest, v), highest = std::max(highest, v);
    double top = highest > 0 ? std::ceil(std::log10(highest)) : 0;
    double bottom = highest > 0 ? std::floor(std::log10(lowest)) : -20;
    bottom = std::max(bottom, top - kMostDecades);
    if (top <= bottom) top = bottom + 1;
    return {true, bottom, top};
}

// How many decades apart a logarithmic axis labels its decades, 1, 2, 5
// or 10, for at most that many labels; the labelled ones are multiples.
int DecadesApart(const Range& r, double most) {
    int every = 1;
    for (int wider : {2, 5, 10})
        if (every * std::max(1.0, most) < r.hi - r.lo) every = wider;
    return every;
}

QString Decade(int d) { return QStringLiteral("1E%1%2").arg(d < 0 ? "-" : "+").arg(std::abs(d), 2, 10, QLatin1Char('0')); }

// The ticks of a linear axis: round values from its lower end to its upper.
std::vector<double> LinearTicks(const Range& r) {
    const double step = TickStep(r.hi - r.lo), first = std::ceil(r.lo / step) * step;
    std::vector<double> ticks;
    for (int k = 0; first + k * step <= r.hi + (r.hi - r.lo) * 1e-9; ++k) ticks.push_back(first + k * step + 0.0);
    return ticks;
}

QFont FontOf(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// The lines a text takes within a width, broken between words; a word
// wider than the line stands alone on its own.
QStringList Wrapped(const QString& text, const QFont& font, double width) {
    const QFontMetricsF metrics(font);
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty()) lines << line;
    return lines;
}

void DrawMark(QPainter& p, Figure::Shape shape, QPointF at) {
    constexpr double r = 5;
    switch (shape) {
        case Figure::Shape::kCircle: p.drawEllipse(at, r, r); break;
        case Figure::Shape::kCross:
            p.drawLine(at + QPointF(-r, -r), at + QPointF(r, r));
            p.drawLine(at + QPointF(-r, r), at + QPointF(r, -r));
            break;
        case Figure::Shape::kTriangle: {
            const QPointF corners[] = {at + QPointF(0, -r), at + QPointF(r, r * 0.8), at + QPointF(-r, r * 0.8)};
            p.drawPolygon(corners, 3);
            break;
        }
        case Figure::Shape::kSquare: p.drawRect(QRectF(at - QPointF(r, r) * 0.85, at + QPointF(r, r) * 0.85)); break;
        case Figure::Shape::kDiamond: {
            const QPointF corners[] = {at + QPointF(0, -r), at + QPointF(r, 0), at + QPointF(0, r), at + QPointF(-r, 0)};
            p.drawPolygon(corners, 4);
            break;
        }
    }
}

void DrawRing(QPainter& p, QPointF at) {
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(at, 9.0, 9.0);
}

// One panel in its area; its y label goes in the margin left of it,
// from x = left.
void DrawPanel(QPainter& p, const Figure::Panel& panel, const QRectF& area, double left) {
    std::vector<double> xs, ys;
    for (const Figure::Line& l : panel.lines)
        for (const QPointF& pt : l.points) xs.push_back(pt.x()), ys.push_back(pt.y());
    for (const Figure::Marks& m : panel.marks)
        for (const Figure::Point& pt : m.points) xs.push_back(pt.x), ys.push_back(pt.y);
    const Range rx = RangeOf(panel.x, xs), ry = RangeOf(panel.y, ys);
    auto X = [&](double v) { return area.left() + rx.Fraction(v) * area.width(); };
    auto Y = [&](double v) { return area.bottom() - ry.Fraction(v) * area.height(); };

    if (!panel.heading.isEmpty()) {
        p.setPen(Qt::black);
        p.setFont(FontOf(13, true));
        p.drawText(QRectF(area.left(), area.top() - 22, area.width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
                   panel.heading);
        p.setFont(FontOf(13));
    }
    // Decades or ticks on the left, and below.
    auto across = [&](double y, const QString& label) {
        p.setPen(QPen(QColor(225, 225, 225), 1));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        if (label.isEmpty()) return;
        p.setPen(Qt::black);
        p.drawText(QRectF(left, y - 10, area.left() - left - 8, 20), Qt::AlignRight | Qt::AlignVCenter, label);
    };
    // The lines of an axis: a decade each (up to 24 of them; beyond, only
    // the labelled ones, at most `labels` of them) or its linear ticks.
    auto lines = [](const Range& r, double labels, auto&& at, auto&& draw) {
        if (!r.log) {
            for (double t : LinearTicks(r)) draw(at(t), FigureNumber(t));
            return;
        }
        const int every = DecadesApart(r, labels);
        for (int d = static_cast<int>(r.lo); d <= static_cast<int>(r.hi); ++d) {
            const bool labelled = d % every == 0;
            if (r.hi - r.lo > 24 && !labelled) continue;
            draw(at(std::pow(10.0, d)), labelled ? Decade(d) : QString());
        }
    };
    lines(ry, 12, Y, across);
    auto tick = [&](double x, const QString& label) {
        p.setPen(QPen(QColor(225, 225, 225), 1));
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        p.setPen(Qt::black);
        p.drawText(QRectF(x - 50, area.bottom() + 4, 100, 18), Qt::AlignHCenter | Qt::AlignTop, label);
    };
    lines(rx, std::floor(area.width() / 83), X, tick);  // a label every 83 pixels at most
    p.setPen(Qt::black);
    p.drawRect(area);
    p.drawText(QRectF(area.left(), area.bottom() + 22, area.width(), 18), Qt::AlignHCenter | Qt::AlignTop,
               panel.x.label);
    p.save();
    p.translate(left + 18, area.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-area.height() / 2, -10, area.height(), 20), Qt::AlignCenter, panel.y.label);
    p.restore();

    // Zero cannot stand on a logarithmic axis: a line breaks there, and a
    // mark is not drawn.
    auto drawable = [&](double x, double y) { return Drawable(x, rx.log) && Drawable(y, ry.log); };
    p.save();
    p.setClipRect(area);
    for (const Figure::Line& l : panel.lines) {
        QPainterPath path;
        bool open = false;
        for (const QPointF& pt : l.points) {
            if (!drawable(pt.x(), pt.y())) {
                open = false;
                continue;
            }
            const QPointF at(X(pt.x()), Y(pt.y()));
            if (open)
                path.lineTo(at);
            else
                path.moveTo(at);
            open = true;
        }
        p.setPen(QPen(l.colour, 2, l.style));
        p.drawPath(path);
    }
    for (const Figure::Marks& m : panel.marks)
        for (const Figure::Point& pt : m.points) {
            if (!drawable(pt.x, pt.y)) continue;
            const QPointF at(X(pt.x), Y(pt.y));
            if (pt.ringed) DrawRing(p, at);
            p.setPen(QPen(m.colour, 2));
            p.setBrush(Qt::NoBrush);
            DrawMark(p, m.shape, at);
            if (pt.note.isEmpty()) continue;
            p.setFont(FontOf(11));
            p.setPen(QColor(60, 60, 60));
            p.drawText(QRectF(at.x() + 9, at.y() - 19, 60, 14), Qt::AlignLeft | Qt::AlignVCenter, pt.note);
            p.setFont(FontOf(13));
        }
    p.restore();
}

void Paint(QPainter& p, const Figure& f) {
    const double width = f.width, height = f.height;
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, width, height), Qt::white);
    const QFont font = FontOf(13), title = FontOf(18, true);

    // The title and the details, each wrapped to the figure's width.
    p.setPen(Qt::black);
    p.setFont(title);
    double top = 10;
    for (const QString& line : Wrapped(f.title, title, width - 40)) {
        p.drawText(QRectF(20, top, width - 40, 26), Qt::AlignLeft | Qt::AlignVCenter, line);
        top += 26;
    }
    p.setFont(font);
    top += 2;
    for (const QString& line : Wrapped(f.details, font, width - 40)) {
        p.drawText(QRectF(20, top, width - 40, 20), Qt::AlignLeft | Qt::AlignVCenter, line);
        top += 18;
    }
    top += 18;
    if (std::any_of(f.panels.begin(), f.panels.end(), [](const Figure::Panel& p) { return !p.heading.isEmpty(); }))
        top += 22;

    // One legend for all panels: each label once, in columns under them;
    // the marks first, as the panels on the left are mostly of marks.
    struct Entry {
        const Figure::Line* line;
        const Figure::Marks* marks;
        const Figure::Remark* remark;
        QString label;
    };
    std::vector<Entry> legend;
    auto add = [&](const Entry& entry) {
        if (entry.label.isEmpty()) return;
        for (const Entry& e : legend)
            if (e.label == entry.label) return;
        legend.push_back(entry);
    };
    for (const Figure::Panel& panel : f.panels)
        for (const Figure::Marks& m : panel.marks) add({nullptr, &m, nullptr, m.label});
    for (const Figure::Panel& panel : f.panels)
        for (const Figure::Line& l : panel.lines) add({&l, nullptr, nullptr, l.label});
    for (const Figure::Remark& r : f.remarks) add({nullptr, nullptr, &r, r.text});
    const std::size_t columns = std::max<std::size_t>(1, f.panels.size());
    const std::size_t rows = (legend.size() + columns - 1) / columns;

    const double slot = width / static_cast<double>(columns);
    const double areaHeight = height - top - 60 - 22 * static_cast<double>(rows);
    auto areaOf = [&](std::size_t i) {
        return QRectF(slot * static_cast<double>(i) + 100, top, slot - 130, areaHeight);
    };
    for (std::size_t i = 0; i < f.panels.size(); ++i) {
        p.setFont(font);
        DrawPanel(p, f.panels[i], areaOf(i), slot * static_cast<double>(i));
    }

    p.setFont(font);
    for (std::size_t k = 0; k < legend.size(); ++k) {
        const Entry& e = legend[k];
        const QRectF area = areaOf(k / rows);
        const double y = area.bottom() + 50 + 22 * static_cast<double>(k % rows);
        const QPointF sample(area.left() + 18, y + 9);
        if (e.line) {
            p.setPen(QPen(e.line->colour, 2, e.line->style));
            p.drawLine(QPointF(area.left(), y + 9), QPointF(area.left() + 36, y + 9));
        } else if (e.marks) {
            p.setPen(QPen(e.marks->colour, 2));
            p.setBrush(Qt::NoBrush);
            DrawMark(p, e.marks->shape, sample);
        } else if (e.remark->ring) {
            DrawRing(p, sample);
        } else {
            p.setPen(QColor(60, 60, 60));
            p.setFont(FontOf(11));
            p.drawText(QRectF(area.left(), y, 36, 18), Qt::AlignCenter, e.remark->sample);
            p.setFont(font);
        }
        p.setPen(Qt::black);
        p.drawText(QRectF(area.left() + 46, y, area.width() - 46, 18), Qt::AlignLeft | Qt::AlignVCenter, e.label);
    }
}

bool Finish(QFile& file, std::string& reason) {
    if (file.error() == QFileDevice::NoError) file.flush();
    file.close();
    if (file.error() == QFileDevice::NoError) return true;
    reason = file.errorString().toStdString();
    return false;
}

// Qt's own notes (a missing runtime folder, say) are no concern of the
// runner's reader; its failures are reported by what it returns.
void QuietNotes(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "morvane1-cli: %s\n", qPrintable(text));
}

}  // namespace

QString FigureNumber(double v) { return QString::fromStdString(Rounded(v, 3, '.')); }

bool SaveFigure(const Figure& figure, const std::string& path, std::string& reason) {
    qInstallMessageHandler(QuietNotes);
    // Fonts need a GUI application; the offscreen platform needs no display.
    static int argc = 3;
    static char name[] = "morvane1-cli", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);

    // A FIFO would hold the runner until someone reads it, a device takes
    // what it likes: a picture goes into a regular file, new or not.
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        reason = "not a regular file";
        return false;
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        reason = file.errorString().toStdString();
        return false;
    }
    if (PlotFormatOf(path) == PlotFormat::kSvg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(QSize(figure.width, figure.height));
        svg.setViewBox(QRect(0, 0, figure.width, figure.height));
        svg.setTitle(figure.title);
        QPainter painter(&svg);
        Paint(painter, figure);
        painter.end();
    } else {
        QImage image(figure.width, figure.height, QImage::Format_RGB32);
        QPainter painter(&image);
        Paint(painter, figure);
        painter.end();
        if (!image.save(&file, "PNG")) {
            reason = file.error() != QFileDevice::NoError ? file.errorString().toStdString()
                                                          : std::string("the PNG writer failed");
            file.close();
            return false;
        }
    }
    return Finish(file, reason);
}

}  // namespace cli
