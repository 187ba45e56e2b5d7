// The main window and the help window through their controls, offscreen: a
// session scripted on one window, presses that reach a run between two of
// its slices, a paced run, the surfaces at the screen's pixel ratio, and the
// help window.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

#include "app/numtext.h"
#include "app/presets.h"
#include "tests/support.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/help_text.h"
#include "ui/picture_box.h"
#include "ui/scheme_view.h"

using app::Button;
using app::Field;
using app::Series;
using namespace Qt::Literals::StringLiterals;

namespace {

// The main window, shown, its messages recorded instead of boxed.
struct Window {
    ui::Form1 form;
    QStringList messages;
    Window() {
        form.SetMessageSink([this](const QString& text) { messages << text; });
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) qFatal("the main window did not show");
    }
    const sim::Model& M() { return form.Controller().Model(); }
    QString Text(Field f) const { return form.Widget(f)->text(); }
    void Press(Button b) const { form.Widget(b)->click(); }
    // Presses Start and calls `round` between the run's slices, where a
    // user's presses come in, until it returns false; true when every run
    // has ended.
    bool Run(const std::function<bool()>& round) {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] { if (!round()) poll.stop(); });
        poll.start(0);
        Press(Button::Start);
        return Finished();
    }
    // A signal spy waits in an event loop; QTest's waits sleep between rounds.
    bool Finished() {
        QSignalSpy finished(&form, &ui::Form1::runFinished);
        return !form.Controller().Running() || finished.wait(20000);
    }
};

QString Number(double v, char sep = ',') { return QString::fromStdString(app::FormatNumber(v, sep)); }
QString Text(app::Message m) { return QString::fromUtf8(app::MessageText(m)); }
QRgb At(ui::PictureBox* p, double x, double y) {
    return p->image().pixel(p->DevicePixel(static_cast<float>(x), static_cast<float>(y)));
}

// What each readout and derived value must show, from the model record.
std::vector<std::pair<Field, double>> Shown(const app::Record& r) {
    const sim::Model& m = r.model;
    const sim::State& s = m.s;
    const sim::DisplayValues& v = r.view.now;
    return {{Field::T, s.T}, {Field::W0Now, s.w0()}, {Field::X0, s.X(0)}, {Field::Y0, s.Y(0)}, {Field::Ymrv, v.Ymrv},
            {Field::E, v.E}, {Field::E0, m.start.E0}, {Field::J0, m.start.J0}, {Field::CR, m.start.CR},
            {Field::Fmrv, m.start.Fmrv}, {Field::FR1, m.forces.FR[0]}, {Field::FR2, m.forces.FR[1]},
            {Field::R1Now, m.geo.R[0]}, {Field::R2Now, m.geo.R[1]}, {Field::FT1, m.forces.FT[0]},
            {Field::FT2, m.forces.FT[1]}, {Field::VX1, s.VX(1)}, {Field::VX2, s.VX(2)}, {Field::VY1, s.VY(1)},
            {Field::VY2, s.VY(2)}, {Field::FX1, v.FX[0]}, {Field::FX2, v.FX[1]}, {Field::FY1, v.FY[0]},
            {Field::FY2, v.FY[1]}, {Field::Fi1, m.geo.fi[0] * sim::DegPerRad}, {Field::Fi2, m.geo.fi[1] * sim::DegPerRad},
            {Field::FX0, -(v.FX[0] + v.FX[1])}, {Field::FY0, -(v.FY[0] + v.FY[1])}};
}

}  // namespace

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void cleanup() { ui::UnloadHelpWindow(); }

    void session() {
        Window w;
        // Opened: preset 1 in the inputs, each readout its own control name,
        // only FY1 and FY2 ticked.
        for (const app::PresetEntry& e : app::PresetTable(1)) QCOMPARE(w.Text(e.field), Number(e.value));
        QCOMPARE(w.Text(Field::Step), u"0,0001"_s);
        for (const auto& [f, v] : Shown(w.form.Controller().State())) QCOMPARE(w.Text(f), w.form.Widget(f)->objectName());
        for (QCheckBox* box : w.form.findChildren<QCheckBox*>())
            QCOMPARE(box->isChecked(), box == w.form.Widget(Series::FY1) || box == w.form.Widget(Series::FY2));
        // A refused Start runs nothing and says why.
        w.form.Widget(Field::M0)->setText(u"abc"_s);
        w.Press(Button::Start);
        QCOMPARE(w.messages, QStringList{Text(app::Message::kInputError)});
        QCOMPARE(w.Text(Field::T), w.form.Widget(Field::T)->objectName());
        w.Press(Button::Preset1), w.messages.clear();

        // A run: the pictures cleared at 0.03 s, Stop at 0.06 s; the run ends
        // after the display cycle that follows.
        double cleared = -1;
        QVERIFY(w.Run([&] {
            if (cleared < 0 && w.M().s.T >= 0.03) w.Press(Button::ClearPictures), cleared = w.M().s.T;
            return w.M().s.T < 0.06 || (w.Press(Button::Stop), false);
        }));
        const sim::State& m = w.M().s;
        QVERIFY(w.messages.isEmpty() && w.form.Controller().RunDepth() == 0 && m.T > 0.06);
        for (const auto& [f, v] : Shown(w.form.Controller().State())) QCOMPARE(w.Text(f), Number(v));
        // Each load's element line starts at its centre, (X - X0) / ML off the
        // disk's with ML = 0.25 m/cm; the plot has FY1 blue and FY2 red at
        // (T / MT, FY / MF) with MT = 0.1 s/cm and MF = 100 N/cm.
        ui::PictureBox* view = w.form.Widget(app::Picture::ConstructionView);
        ui::PictureBox* plot = w.form.Widget(app::Picture::Plot);
        QCOMPARE(At(view, (m.X(1) - m.X(0)) / 0.25, (m.Y(1) - m.Y(0)) / 0.25), qRgb(0, 0, 250));
        QCOMPARE(At(view, (m.X(2) - m.X(0)) / 0.25, (m.Y(2) - m.Y(0)) / 0.25), qRgb(250, 0, 0));
        const double* fy = w.form.Controller().State().view.now.FY;
        QCOMPARE(At(plot, m.T / 0.1, fy[0] / 100), qRgb(0, 0, 200));
        QCOMPARE(At(plot, m.T / 0.1, fy[1] / 100), qRgb(200, 0, 0));
        // Cleared during the run, the trace goes on from the x it had reached:
        // its first point is one step (NC0 = 1) after the press.
        const QImage& traced = plot->image();
        int left = traced.width();
        for (int y = 0; y < traced.height(); ++y)
            for (int x = 0; x < left; ++x)
                if (traced.pixel(x, y) == qRgb(0, 0, 200) || traced.pixel(x, y) == qRgb(200, 0, 0)) left = x;
        QCOMPARE(left, plot->DevicePixel(static_cast<float>((cleared + 0.0001) / 0.1), 0).x());

        // The decimal separator follows the locale as it is at each press.
        QLocale::setDefault(QLocale::c());
        w.Press(Button::Preset1);
        QCOMPARE(w.Text(Field::Step), u"0.0001"_s);
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));

        // "схема" in a working folder without shema.gif, then with it. The
        // message names both folders looked in.
        QTemporaryDir dir;
        const QString home = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const QImage drawn = view->image().copy();
        w.Press(Button::Scheme);
        QCOMPARE(w.messages, QStringList{Text(app::Message::kSchemeMissing) + u":\r\n"_s + QDir::currentPath() +
                                         u"\r\n"_s + ui::InstalledDataFolder()});
        QVERIFY(view->image() == drawn && QFile::copy(QStringLiteral(MORVANE1_SHEMA_GIF), u"shema.gif"_s));
        w.Press(Button::Scheme);
        QDir::setCurrent(home);
        QCOMPARE(w.messages.size(), 1);
        const QImage gif = QImage(dir.filePath(u"shema.gif"_s)).convertToFormat(QImage::Format_RGB32);
        const QRect r = gif.rect() & view->image().rect();
        QVERIFY(view->image().copy(r).convertToFormat(QImage::Format_RGB32) == gif.copy(r));
    }

    void pressesOfOneRoundKeepTheirOrder_data() {
        QTest::addColumn<QList<int>>("round");  // pressed after Start, before its first round
        QTest::addColumn<int>("steps");         // made since the last Start
        // NC0 = 50, cycles counted by hand. Start, Stop: the new level handles
        // Stop at its first cycle and ends at its second, the first level at its
        // next: 3 x 50. Continue keeps T: 4 x 50. Do NC0 steps: the new level
        // ends at its first cycle, the first level at its next: 3 x 50.
        QTest::newRow("Start, Start, Stop") << QList<int>{int(Button::Start), int(Button::Stop)} << 150;
        QTest::newRow("Start, Continue, Stop") << QList<int>{int(Button::Continue), int(Button::Stop)} << 200;
        QTest::newRow("Start, Do NC0 steps") << QList<int>{int(Button::StepNC0)} << 150;
    }

    void pressesOfOneRoundKeepTheirOrder() {
        QFETCH(QList<int>, round);
        QFETCH(int, steps);
        Window w;
        w.form.Widget(Field::NC0)->setText(u"50"_s);
        // The presses posted before Start arrive before the run's first event
        // round, and wait for it.
        for (int b : round) QMetaObject::invokeMethod(w.form.Widget(Button(b)), "click", Qt::QueuedConnection);
        w.Press(Button::Start);
        QVERIFY(w.Finished() && w.messages.isEmpty());
        QCOMPARE(w.M().s.T, testing_support::SumOfSteps(0.0001, steps));
    }

    // T reaches three seconds times the rate after three real seconds, give or
    // take 15 %, and Stop does not wait for the pace.
    void pacedRun() {
        for (const double rate : {1.0, 0.25}) {
            Window w;
            w.form.SetRate(rate);
            QElapsedTimer clock;
            clock.start();
            w.Press(Button::Start);
            QTRY_VERIFY_WITH_TIMEOUT(w.M().s.T >= 3 * rate, 6000);
            const double took = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
            QVERIFY2(took > 2.55 && took < 3.45, qPrintable(u"%1 s at %2"_s.arg(took).arg(rate)));
            // After a cycle at the slowest rate the next is due in days.
            const double t = w.M().s.T;
            w.form.SetRate(1e-9);
            QTRY_VERIFY(w.M().s.T > t);
            w.Press(Button::Stop);
            QTRY_VERIFY_WITH_TIMEOUT(!w.form.Controller().Running(), 1000);
        }
    }

    // As fast as it can go, a run lets the window in every ~10 ms (waiting
    // with QTest would sleep 10 ms a turn and stretch the slices); a message
    // box up between two slices (a refused Start's) holds the run until it
    // is closed.
    void theWindowHasItsTurns() {
        Window w;
        w.form.SetRate(0);
        double held = -1;  // simulated seconds made while the box was up
        w.form.SetMessageSink([&](const QString&) {
            const double t = w.M().s.T;
            QEventLoop box;
            QTimer::singleShot(100, &box, &QEventLoop::quit);
            box.exec();
            held = w.M().s.T - t;
        });
        QElapsedTimer clock;
        int turns = 0, before = -1;
        QVERIFY(w.Run([&] {
            if (turns++ == 0) clock.start();
            if (before < 0 && clock.elapsed() >= 1000)
                before = turns, w.form.Widget(Field::M0)->setText(u"abc"_s), w.Press(Button::Start);
            return held < 0 || (w.Press(Button::Stop), false);
        }));
        // ~100 turns in a second (~20 under ASan), 10 with 100-ms slices.
        QVERIFY2(before >= 15 && held == 0, qPrintable(u"%1 turns, %2 s held"_s.arg(before).arg(held)));
    }

    // The keys change the rate even with the cursor in a field, and type
    // nothing there; the title follows.
    void rateKeys() {
        Window w;
        QLineEdit* field = w.form.Widget(Field::NC0);
        field->setFocus();
        const struct { Qt::Key key; double rate; QString title; } presses[] = {
            {Qt::Key_Up, 2, u" ×2"_s}, {Qt::Key_Down, 1, u" ×1"_s}, {Qt::Key_Down, 0.5, u" ×0,5"_s},
            {Qt::Key_0, 0, u": максимальный"_s}, {Qt::Key_Up, 0, u": максимальный"_s}, {Qt::Key_Down, 0.5, u" ×0,5"_s}};
        for (const auto& p : presses) {
            QTest::keyClick(field, p.key, Qt::ControlModifier);
            QVERIFY2(w.form.Rate() == p.rate && w.form.windowTitle() == u"Morvane1 — темп"_s + p.title, qPrintable(p.title));
        }
        QCOMPARE(field->text(), u"1"_s);
    }

    void surfacesAtDeviceResolution() {
        Window w;
        const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", u"1"_s).toDouble();
        QCOMPARE(w.form.devicePixelRatioF(), ratio);
        // A pixel for each device pixel, and each frame spans them: the grid
        // lines at its corners (left, 5) and (right, -5) land on the corner pixels.
        const struct { app::Picture p; float left, right; } frames[] = {{app::Picture::ConstructionView, -5, 5},
                                                                       {app::Picture::Plot, 0, 25}};
        for (const auto& [p, left, right] : frames) {
            ui::PictureBox* pic = w.form.Widget(p);
            const QImage& image = pic->image();
            const QPoint last(image.width() - 1, image.height() - 1);
            QCOMPARE(QSizeF(image.size()), QSizeF(pic->size()) * ratio);
            QVERIFY(pic->DevicePixel(left, 5) == QPoint(0, 0) && pic->DevicePixel(right, -5) == last);
            QVERIFY(image.pixel(0, 0) == qRgb(1, 0, 0) && image.pixel(last) == qRgb(1, 0, 0));
        }
    }

    void helpWindow() {
        Window w;
        // "About" during a run opens the help window, and the run goes on.
        double opened = -1;
        QVERIFY(w.Run([&] {
            if (opened < 0) w.Press(Button::About), opened = w.M().s.T;
            return w.M().s.T < opened + 0.01 || (w.Press(Button::Stop), false);
        }));
        QPointer<ui::Form2> help = ui::HelpWindow();
        QVERIFY(help && help->isVisible() && !QApplication::activeModalWidget());
        const QString text = QString::fromStdString(ui::BuildHelpText()).replace(u"\r\n"_s, u"\n"_s);
        QPlainTextEdit* shown = help->HelpText();
        QCOMPARE(shown->toPlainText(), text);
        for (const QString& formula : {u"FR = CR * R + KR * VR"_s, u"FT = (CT * Dfi + KT * VT) / R"_s})
            QVERIFY(text.contains(u"\n\n"_s + formula + u"\n\n"_s));  // alone between empty lines
        // Each caption quoted in angle brackets is one the main window shows.
        QStringList captions;
        for (QAbstractButton* b : w.form.findChildren<QAbstractButton*>()) captions << b->text().trimmed();
        for (QLabel* l : w.form.findChildren<QLabel*>()) captions << l->text().trimmed();
        for (const QRegularExpressionMatch& q : QRegularExpression(u"<([^<>]*)>"_s).globalMatch(text))
            QVERIFY2(captions.contains(q.captured(1).trimmed()), qPrintable(q.captured()));
        // An edit and the scroll position stay while it is open; "About" again
        // brings the same window to the front. "Закрыть" discards it; opened
        // again, it shows the text from its beginning.
        QTest::keyClicks(shown, u"EDIT"_s);
        QScrollBar* bar = shown->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        const int scrolled = bar->value();
        w.form.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &w.form);
        w.Press(Button::About);
        QTRY_COMPARE(QApplication::activeWindow(), help.data());
        QVERIFY(shown->toPlainText() == u"EDIT"_s + text && scrolled > 0 && bar->value() == scrolled);
        QTest::mouseClick(help->CloseButton(), Qt::LeftButton);
        QTRY_VERIFY(!ui::HelpWindow() && !help);
        w.Press(Button::About);
        shown = ui::HelpWindow()->HelpText();
        QVERIFY(shown->toPlainText() == text && shown->verticalScrollBar()->value() == 0);
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
