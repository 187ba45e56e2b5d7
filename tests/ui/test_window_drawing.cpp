// The real window's pictures through whole runs, the help window during a
// run, and the layout at any device pixel ratio (the same test runs once at
// scale 1 and once with QT_SCALE_FACTOR=2).

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>

#include "app/drawing.h"
#include "sim/model.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/picture_box.h"

namespace {

struct Window {
    Window() : form(std::make_unique<ui::Form1>()) {
        form->SetMessageSink([this](const QString& text) { messages << text; });
        // A run that should have ended but goes on fails the test instead of
        // hanging it.
        QTimer::singleShot(60000, form.get(), [this] {
            runaway = true;
            form->Controller().Command2_Click();
            form->CloseWindows();
        });
    }
    const sim::Model& Model() const { return form->Controller().Model(); }
    ui::PictureBox* Picture(int n) const { return form->PictureWidget(n); }
    // Starts a run and presses Stop once T has reached `time`; the run ends
    // after one more display cycle.
    void RunUntil(double time, int startButton = 1) {
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, form.get(), [&] {
            if (Model().T >= time) {
                form->Controller().Command2_Click();
                poll.stop();
            }
        });
        poll.start();
        form->Button(startButton)->click();
    }

    std::unique_ptr<ui::Form1> form;
    QStringList messages;
    bool runaway = false;
};

QRgb Rgb(int r, int g, int b) { return qRgb(r, g, b); }

// Every colour in the image, as opaque RGB.
QSet<QRgb> ColoursOf(const QImage& image) {
    QSet<QRgb> colours;
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) colours.insert(row[x] | 0xff000000u);
    }
    return colours;
}

QString Describe(const QSet<QRgb>& colours) {
    QStringList out;
    for (QRgb c : colours) out << QStringLiteral("(%1,%2,%3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
    return out.join(' ');
}

int Px(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

}  // namespace

class TestWindowDrawing : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void cleanup() { ui::UnloadHelpWindow(); }

    void wholeRunDrawsOnlyItsColours();
    void secondCycleErasesAndKeepsTheDiskWhole();
    void clearPicturesDuringARunKeepsTheTraceX();
    void helpWindowOpensDuringARun();
    void layoutScalesWithTheDevicePixelRatio();
};

void TestWindowDrawing::wholeRunDrawsOnlyItsColours() {
    Window w;
    for (int c : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15}) w.form->CheckBox(c)->setChecked(true);
    w.RunUntil(2000 * 0.0001);
    QVERIFY(!w.runaway);
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join('|')));
    QVERIFY(w.Model().T >= 0.2);

    // The plot: white background, the grid in colour value 1, the grey zero
    // line, and the series colours; nothing else (no blending, no smoothing).
    const QSet<QRgb> plotAllowed = {Rgb(255, 255, 255), Rgb(1, 0, 0),   Rgb(200, 200, 200), Rgb(0, 0, 250),
                                    Rgb(255, 0, 0),     Rgb(0, 0, 200), Rgb(200, 0, 0),     Rgb(0, 200, 0),
                                    Rgb(250, 0, 0)};
    const QSet<QRgb> plot = ColoursOf(w.Picture(2)->image());
    QVERIFY2(plot - plotAllowed == QSet<QRgb>{}, qPrintable(Describe(plot - plotAllowed)));
    // Within +-5 units at these scales: the velocities and forces of both
    // loads and the energy error all leave points.
    for (QRgb c : {Rgb(1, 0, 0), Rgb(200, 200, 200), Rgb(0, 0, 250), Rgb(255, 0, 0), Rgb(0, 0, 200),
                   Rgb(200, 0, 0), Rgb(0, 200, 0)})
        QVERIFY2(plot.contains(c), qPrintable(Describe({c})));

    // The construction view: grid, axes, erase marks, the two loads.
    const QSet<QRgb> viewAllowed = {Rgb(255, 255, 255), Rgb(1, 0, 0), Rgb(200, 200, 200),
                                    Rgb(250, 250, 250), Rgb(0, 0, 250), Rgb(250, 0, 0)};
    const QSet<QRgb> view = ColoursOf(w.Picture(1)->image());
    QVERIFY2(view - viewAllowed == QSet<QRgb>{}, qPrintable(Describe(view - viewAllowed)));
    // The grey axes may be erased away entirely by then; everything else shows.
    for (QRgb c : {Rgb(1, 0, 0), Rgb(250, 250, 250), Rgb(0, 0, 250), Rgb(250, 0, 0)})
        QVERIFY2(view.contains(c), qPrintable(Describe({c})));
}

void TestWindowDrawing::secondCycleErasesAndKeepsTheDiskWhole() {
    Window w;
    w.form->Controller().Command10_Click();  // no run yet: the first step fails
    QCOMPARE(w.messages.size(), 1);
    w.messages.clear();
    // Two display cycles: Start, then Stop at the first event processing.
    QTimer::singleShot(0, w.form.get(), [&] { w.form->Controller().Command2_Click(); });
    w.form->Button(1)->click();
    QVERIFY(w.messages.isEmpty());
    ui::PictureBox* view = w.Picture(1);
    const QImage& img = view->image();
    // The disk: radius R0/ML = 2 units about the centre, drawn after all
    // erasing, so every ray from the centre meets it in colour value 1.
    const QPoint centre = view->DevicePixel(0, 0);
    const QPoint rim = view->DevicePixel(2, 0);
    const double radius = rim.x() - centre.x();
    QVERIFY(radius > 10);
    for (int deg = 0; deg < 360; deg += 3) {
        const double a = deg * M_PI / 180;
        const int cx = static_cast<int>(std::lround(centre.x() + radius * std::cos(a)));
        const int cy = static_cast<int>(std::lround(centre.y() - radius * std::sin(a)));
        bool found = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) found = found || img.pixel(cx + dx, cy + dy) == Rgb(1, 0, 0);
        QVERIFY2(found, qPrintable(QStringLiteral("gap in the disk outline at %1 degrees").arg(deg)));
    }
    // The loads 4 units out, and the first erase left its marks.
    const QPoint load1 = view->DevicePixel(static_cast<float>(w.Model().DX[1] / 0.25),
                                           static_cast<float>(w.Model().DY[1] / 0.25));
    QVERIFY(std::abs(std::hypot(load1.x() - centre.x(), load1.y() - centre.y()) - 2 * radius) <= 2);
    QVERIFY(ColoursOf(img).contains(Rgb(250, 250, 250)));
}

void TestWindowDrawing::clearPicturesDuringARunKeepsTheTraceX() {
    Window w;
    w.RunUntil(0.05);  // FY1 and FY2 plotted from x = 0 up to about 0.5 unit
    const double tplot = w.Model().TPlot;
    QVERIFY(tplot > 0.04);
    w.form->Button(5)->click();  // Очистить  рисунки
    ui::PictureBox* plot = w.Picture(2);
    const QSet<QRgb> cleared = ColoursOf(plot->image());
    QVERIFY(!cleared.contains(Rgb(0, 0, 200)));
    QVERIFY(!cleared.contains(Rgb(200, 0, 0)));
    w.form->Controller().Command10_Click();  // one more cycle
    // The new points lie at the trace's x, not back at 0.
    const QPoint p = plot->DevicePixel(static_cast<float>(w.Model().TPlot / w.Model().MT),
                                       static_cast<float>(w.Model().FY[1] / w.Model().MF));
    QCOMPARE(plot->image().pixel(p), Rgb(0, 0, 200));
    QVERIFY(p.x() > plot->DevicePixel(0, 0).x() + 5);
}

void TestWindowDrawing::helpWindowOpensDuringARun() {
    Window w;
    double tAtOpen = -1;
    bool helpVisibleWhileRunning = false;
    QTimer::singleShot(30, w.form.get(), [&] {
        w.form->Button(6)->click();  // About
        tAtOpen = w.Model().T;
    });
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, w.form.get(), [&] {
        if (tAtOpen < 0) return;
        ui::Form2* help = ui::HelpWindow();
        // The run goes on with the help window open.
        if (help && help->isVisible() && w.Model().T > tAtOpen + 0.01) {
            helpVisibleWhileRunning = true;
            w.form->Controller().Command2_Click();
            poll.stop();
        }
    });
    poll.start();
    w.form->Button(1)->click();
    QVERIFY(!w.runaway);
    QVERIFY(helpVisibleWhileRunning);
    QCOMPARE(w.form->OpenWindowCount(), 2);
    // The readout shows the time the run reached, past the moment "About" was pressed.
    QVERIFY(w.form->TextField(60)->text() != QStringLiteral("Text60"));
}

void TestWindowDrawing::layoutScalesWithTheDevicePixelRatio() {
    const double expected = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                                ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                                : 1.0;
    Window w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    const qreal dpr = w.form->devicePixelRatioF();
    QCOMPARE(dpr, expected);
    // Twips to logical pixels never changes; the screen's device pixels are
    // the ratio times that.
    QCOMPARE(w.form->size() * dpr, QSize(Px(11925), Px(8370)) * expected);
    struct Control {
        const char* name;
        int left, top, width, height;
    };
    const Control controls[] = {{"Text54", 3360, 4080, 1695, 285}, {"Command1", 4200, 3360, 975, 300},
                                {"Picture1", 7440, 0, 4395, 4395}, {"Picture2", 360, 4440, 8655, 3615},
                                {"Check15", 6120, 3760, 1335, 195}, {"Label38", 120, 3090, 4575, 255}};
    for (const Control& c : controls) {
        QWidget* widget = w.form->findChild<QWidget*>(QString::fromLatin1(c.name));
        QVERIFY2(widget, c.name);
        QCOMPARE(QRectF(widget->geometry()).size() * dpr,
                 QSizeF(Px(c.width), Px(c.height)) * expected);
        QCOMPARE(QPointF(widget->geometry().topLeft()) * dpr, QPointF(Px(c.left), Px(c.top)) * expected);
    }
    // The surfaces draw at device resolution, and their frames still span
    // them exactly: the plot's corners land on the image's corners.
    for (int n : {1, 2}) {
        ui::PictureBox* pic = w.Picture(n);
        QCOMPARE(QSizeF(pic->image().size()), QSizeF(pic->size()) * dpr);
    }
    ui::PictureBox* plot = w.Picture(2);
    QCOMPARE(plot->DevicePixel(0, 5), QPoint(0, 0));
    QCOMPARE(plot->DevicePixel(25, -5), QPoint(plot->image().width() - 1, plot->image().height() - 1));
    // Text is rendered at the device resolution, not scaled up afterwards.
    const QPixmap label = w.form->findChild<QLabel*>(QStringLiteral("Label38"))->grab();
    QCOMPARE(label.devicePixelRatio(), dpr);
}

QTEST_MAIN(TestWindowDrawing)
#include "test_window_drawing.moc"
