#include "cli/verdict_plot.h"

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QSvgGenerator>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <memory>
#include <vector>

#include "app/numtext.h"
#include "cli/options.h"
#include "cli/verify_report.h"

namespace cli {
namespace {

constexpr int kWidth = 960, kHeight = 640;
constexpr double kMostDecades = 24;

struct Series {
    QString label;
    QColor colour;
    Qt::PenStyle style;
    std::vector<QPointF> points;  // (t [s], |ordinate| [m])
};

QString Num(double v) { return QString::fromStdString(Rounded(v, 3, '.')); }

std::vector<Series> BuildSeries(const app::VerifyReport& rep) {
    const double twoM = 2 * rep.totalMass;
    Series claim{"|Ymrv|: where the claimed force Fmrv = " + Num(rep.fmrv) + " N would have moved the system",
                 QColor(208, 32, 32), Qt::SolidLine, {}};
    Series limit{"detection limit: where " + Num(rep.detectionLimit) +
                     " N, the least force this run is sure to show, would have moved it",
                 QColor(224, 128, 0), Qt::DashLine, {}};
    Series threshold{"rounding threshold of Yc: " + Num(app::kLedgerFactor[int(app::LedgerRow::kYc)]) + " rounding floors; beyond it a force acts",
                     QColor(128, 128, 128), Qt::DotLine, {}};
    Series yc{"|Yc|: the centre of mass, as computed", QColor(20, 150, 20), Qt::SolidLine, {}};
    Series y0{"|Y0|: the disk centre, as computed", QColor(30, 80, 210), Qt::SolidLine, {}};
    for (const app::TraceSample& s : rep.trace) {
        const double tt = s.t * s.t;
        claim.points.emplace_back(s.t, std::fabs(rep.fmrv) * tt / twoM);
        limit.points.emplace_back(s.t, rep.detectionLimit * tt / twoM);
        threshold.points.emplace_back(s.t, app::kLedgerFactor[int(app::LedgerRow::kYc)] * s.floorYc);
        yc.points.emplace_back(s.t, s.absYc);
        y0.points.emplace_back(s.t, s.absY0);
    }
    return {claim, limit, threshold, yc, y0};
}

// A step of 1, 2 or 5 times a power of ten giving four to eight ticks.
double TickStep(double span) {
    const double raw = span / 6;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * decade >= raw) return m * decade;
    return 10 * decade;
}

void Paint(QPainter& p, const app::VerifyReport& rep) {
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, kWidth, kHeight), Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    QFont title = font;
    title.setPixelSize(18);
    title.setBold(true);

    p.setPen(Qt::black);
    p.setFont(title);
    p.drawText(QRectF(20, 10, kWidth - 40, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(VerdictHeadline(rep)));
    p.setFont(font);
    p.drawText(QRectF(20, 38, kWidth - 40, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(VerdictDetails(rep, '.')));

    const std::vector<Series> series = BuildSeries(rep);
    double lowest = INFINITY, highest = 0;
    for (const Series& s : series)
        for (const QPointF& pt : s.points)
            if (pt.y() > 0 && std::isfinite(pt.y())) {
                lowest = std::min(lowest, pt.y());
                highest = std::max(highest, pt.y());
            }
    double top = highest > 0 ? std::ceil(std::log10(highest)) : 0;
    double bottom = highest > 0 ? std::floor(std::log10(lowest)) : -20;
    bottom = std::max(bottom, top - kMostDecades);
    if (top <= bottom) top = bottom + 1;
    const double tEnd = rep.time;  // at least ten steps

    const QRectF area(100, 74, kWidth - 130, kHeight - 74 - 170);
    auto X = [&](double t) { return area.left() + t / tEnd * area.width(); };
    auto Y = [&](double v) { return area.bottom() - (std::log10(v) - bottom) / (top - bottom) * area.height(); };

    // Decades on the left, times below.
    p.setPen(QPen(QColor(225, 225, 225), 1));
    const int every = static_cast<int>(std::ceil((top - bottom) / 12));
    for (int d = static_cast<int>(bottom); d <= static_cast<int>(top); ++d) {
        const double y = Y(std::pow(10.0, d));
        p.setPen(QPen(QColor(225, 225, 225), 1));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        if ((d - static_cast<int>(top)) % every != 0) continue;
        p.setPen(Qt::black);
        p.drawText(QRectF(0, y - 10, area.left() - 8, 20), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("1E%1%2").arg(d < 0 ? "-" : "+").arg(std::abs(d), 2, 10, QLatin1Char('0')));
    }
    const double step = TickStep(tEnd);
    for (double t = 0; t <= tEnd * (1 + 1e-9); t += step) {
        const double x = X(t);
        p.setPen(QPen(QColor(225, 225, 225), 1));
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        p.setPen(Qt::black);
        p.drawText(QRectF(x - 50, area.bottom() + 4, 100, 18), Qt::AlignHCenter | Qt::AlignTop, Num(t));
    }
    p.setPen(Qt::black);
    p.drawRect(area);
    p.drawText(QRectF(area.left(), area.bottom() + 22, area.width(), 18), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("simulated time t, s"));
    p.save();
    p.translate(18, area.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-area.height() / 2, -10, area.height(), 20), Qt::AlignCenter,
               QStringLiteral("|ordinate|, m (logarithmic)"));
    p.restore();

    // Zero cannot stand on a logarithmic axis: a line breaks there.
    p.save();
    p.setClipRect(area);
    for (const Series& s : series) {
        QPainterPath path;
        bool open = false;
        for (const QPointF& pt : s.points) {
            if (!(pt.y() > 0 && std::isfinite(pt.y()))) {
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
        p.setPen(QPen(s.colour, 2, s.style));
        p.drawPath(path);
    }
    p.restore();

    double y = area.bottom() + 50;
    for (const Series& s : series) {
        p.setPen(QPen(s.colour, 2, s.style));
        p.drawLine(QPointF(area.left(), y + 9), QPointF(area.left() + 36, y + 9));
        p.setPen(Qt::black);
        p.drawText(QRectF(area.left() + 46, y, area.width() - 46, 18), Qt::AlignLeft | Qt::AlignVCenter, s.label);
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

bool DrawVerdictPlot(const app::VerifyReport& rep, const std::string& path, std::string& reason) {
    qInstallMessageHandler(QuietNotes);
    // Fonts need a GUI application; the offscreen platform needs no display.
    static int argc = 3;
    static char name[] = "morvane1-cli", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);

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
        svg.setTitle(QString::fromStdString(VerdictHeadline(rep)));
        QPainter painter(&svg);
        Paint(painter, rep);
        painter.end();
    } else {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        QPainter painter(&image);
        Paint(painter, rep);
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
