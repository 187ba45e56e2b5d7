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

constexpr int kWidth = 960, kHeight = 640;
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

// Where an axis runs: decades for a logarithmic one, 0 to the data (or to
// hi) for a linear one.
struct Range {
    bool log;
    double lo, hi;  // decades (log) or values

    double Fraction(double v) const { return log ? (std::log10(v) - lo) / (hi - lo) : (v - lo) / (hi - lo); }
};

Range RangeOf(const Figure::Axis& axis, const std::vector<double>& data) {
    if (axis.log && axis.lo < axis.hi) return {true, axis.lo, axis.hi};
    if (!axis.log) {
        if (axis.hi > 0) return {false, 0, axis.hi};
        double hi = 0;
        for (double v : data)
            if (std::isfinite(v)) hi = std::max(hi, v);
        return {false, 0, hi > 0 ? hi : 1};
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

QString Decade(int d) { return QStringLiteral("1E%1%2").arg(d < 0 ? "-" : "+").arg(std::abs(d), 2, 10, QLatin1Char('0')); }

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
    }
}

void Paint(QPainter& p, const Figure& f) {
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, kWidth, kHeight), Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    QFont title = font;
    title.setPixelSize(18);
    title.setBold(true);

    p.setPen(Qt::black);
    // A title that says much gets a smaller type, and is cut only beyond that.
    const QRectF titleBox(20, 10, kWidth - 40, 26);
    while (title.pixelSize() > 13 && QFontMetricsF(title).horizontalAdvance(f.title) > titleBox.width())
        title.setPixelSize(title.pixelSize() - 1);
    p.setFont(title);
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetricsF(title).elidedText(f.title, Qt::ElideRight, titleBox.width()));
    p.setFont(font);
    p.drawText(QRectF(20, 38, kWidth - 40, 20), Qt::AlignLeft | Qt::AlignVCenter, f.details);

    std::vector<double> xs, ys;
    for (const Figure::Line& l : f.lines)
        for (const QPointF& pt : l.points) xs.push_back(pt.x()), ys.push_back(pt.y());
    for (const Figure::Marks& m : f.marks)
        for (const QPointF& pt : m.points) xs.push_back(pt.x()), ys.push_back(pt.y());
    const Range rx = RangeOf(f.x, xs), ry = RangeOf(f.y, ys);

    const int entries = static_cast<int>(f.lines.size() + f.marks.size());
    const QRectF area(100, 74, kWidth - 130, kHeight - 74 - 60 - 22 * entries);
    auto X = [&](double v) { return area.left() + rx.Fraction(v) * area.width(); };
    auto Y = [&](double v) { return area.bottom() - ry.Fraction(v) * area.height(); };

    // Decades or ticks on the left, and below.
    const int every = static_cast<int>(std::ceil((ry.hi - ry.lo) / 12));
    for (int d = static_cast<int>(ry.lo); d <= static_cast<int>(ry.hi); ++d) {
        // Up to 24 decades a line each; beyond, only the labelled ones.
        if (ry.hi - ry.lo > 24 && (d - static_cast<int>(ry.hi)) % every != 0) continue;
        const double y = Y(std::pow(10.0, d));
        p.setPen(QPen(QColor(225, 225, 225), 1));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        if ((d - static_cast<int>(ry.hi)) % every != 0) continue;
        p.setPen(Qt::black);
        p.drawText(QRectF(0, y - 10, area.left() - 8, 20), Qt::AlignRight | Qt::AlignVCenter, Decade(d));
    }
    auto tick = [&](double x, const QString& label) {
        p.setPen(QPen(QColor(225, 225, 225), 1));
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        p.setPen(Qt::black);
        p.drawText(QRectF(x - 50, area.bottom() + 4, 100, 18), Qt::AlignHCenter | Qt::AlignTop, label);
    };
    if (rx.log) {
        const int everyX = static_cast<int>(std::ceil((rx.hi - rx.lo) / 10));
        for (int d = static_cast<int>(rx.lo); d <= static_cast<int>(rx.hi); ++d) {
            const bool labelled = (d - static_cast<int>(rx.lo)) % everyX == 0;
            if (rx.hi - rx.lo > 24 && !labelled) continue;
            tick(X(std::pow(10.0, d)), labelled ? Decade(d) : QString());
        }
    } else {
        const double step = TickStep(rx.hi);
        for (double t = 0; t <= rx.hi * (1 + 1e-9); t += step) tick(X(t), FigureNumber(t));
    }
    p.setPen(Qt::black);
    p.drawRect(area);
    p.drawText(QRectF(area.left(), area.bottom() + 22, area.width(), 18), Qt::AlignHCenter | Qt::AlignTop, f.x.label);
    p.save();
    p.translate(18, area.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-area.height() / 2, -10, area.height(), 20), Qt::AlignCenter, f.y.label);
    p.restore();

    // Zero cannot stand on a logarithmic axis: a line breaks there, and a
    // mark is not drawn.
    auto drawable = [&](const QPointF& pt) { return Drawable(pt.x(), rx.log) && Drawable(pt.y(), ry.log); };
    p.save();
    p.setClipRect(area);
    for (const Figure::Line& l : f.lines) {
        QPainterPath path;
        bool open = false;
        for (const QPointF& pt : l.points) {
            if (!drawable(pt)) {
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
    for (const Figure::Marks& m : f.marks) {
        p.setPen(QPen(m.colour, 2));
        p.setBrush(Qt::NoBrush);
        for (const QPointF& pt : m.points)
            if (drawable(pt)) DrawMark(p, m.shape, QPointF(X(pt.x()), Y(pt.y())));
    }
    p.restore();

    double y = area.bottom() + 50;
    for (const Figure::Line& l : f.lines) {
        p.setPen(QPen(l.colour, 2, l.style));
        p.drawLine(QPointF(area.left(), y + 9), QPointF(area.left() + 36, y + 9));
        p.setPen(Qt::black);
        p.drawText(QRectF(area.left() + 46, y, area.width() - 46, 18), Qt::AlignLeft | Qt::AlignVCenter, l.label);
        y += 22;
    }
    for (const Figure::Marks& m : f.marks) {
        p.setPen(QPen(m.colour, 2));
        DrawMark(p, m.shape, QPointF(area.left() + 18, y + 9));
        p.setPen(Qt::black);
        p.drawText(QRectF(area.left() + 46, y, area.width() - 46, 18), Qt::AlignLeft | Qt::AlignVCenter, m.label);
        y += 22;
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
        svg.setSize(QSize(kWidth, kHeight));
        svg.setViewBox(QRect(0, 0, kWidth, kHeight));
        svg.setTitle(figure.title);
        QPainter painter(&svg);
        Paint(painter, figure);
        painter.end();
    } else {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
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
