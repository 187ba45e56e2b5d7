// The main and help windows through their controls, offscreen: a session, each cycle's pictures, paced waits.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <vector>

#include "app/drawing.h"
#include "app/numtext.h"
#include "ui/form1.h"
#include "ui/form2.h"
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
    double Value(Field f) const { return app::ParseNumber(Text(f).toStdString(), ',').value_or(NAN); }
    void Press(Button b) const { form.Widget(b)->click(); }
    // Presses Start, calls `round` between slices until it returns false; true once every run has ended.
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

constexpr QRgb kOutside = 0;  // no pixel of a picture: its colours are opaque

QString Number(double v, char sep = ',') { return QString::fromStdString(app::FormatNumber(v, sep)); }
QString Text(app::Message m) { return QString::fromUtf8(app::MessageText(m)); }

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

// The captions cut by the room the style leaves them (the plot column's boxes show no caption).
QStringList Clipped(const QWidget& form) {
    QStringList clipped;
    for (QAbstractButton* b : form.findChildren<QAbstractButton*>()) {
        QStyleOptionButton o;
        o.initFrom(b), o.text = b->text();
        const bool box = qobject_cast<QCheckBox*>(b);
        const int room = b->style()->subElementRect(box ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &o, b).width();
        if (b->fontMetrics().horizontalAdvance(o.text) > room && (!box || room > 0)) clipped << o.text;
    }
    for (QLabel* l : form.findChildren<QLabel*>())
        if (l->fontMetrics().horizontalAdvance(l->text()) > l->contentsRect().width()) clipped << l->text();
    return clipped;
}

// The captions a help text quotes in angle brackets that the window does not show.
QStringList QuotedNotShown(const QString& help, const QWidget& form) {
    QStringList captions, missing;
    for (QAbstractButton* b : form.findChildren<QAbstractButton*>()) captions << b->text().trimmed();
    for (QLabel* l : form.findChildren<QLabel*>()) captions << l->text().trimmed();
    for (const QRegularExpressionMatch& q : QRegularExpression(u"<([^<>]*)>"_s).globalMatch(help))
        if (!captions.contains(q.captured(1).trimmed())) missing << q.captured(1);
    return missing;
}

}  // namespace

class TestWindow : public QObject {
    Q_OBJECT

private slots:  // test_window_scale2 in tests/ui/window.cmake names one
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void cleanup() { ui::UnloadHelpWindow(); }

    void session() {
        Window w;
        // Opened: preset 1, each readout its control name, only FY1 and FY2 ticked.
        QCOMPARE(w.Text(Field::Step), u"0,0001"_s);
        for (const auto& [f, v] : Shown(w.form.Controller().State())) QCOMPARE(w.Text(f), w.form.Widget(f)->objectName());
        for (QCheckBox* box : w.form.findChildren<QCheckBox*>())
            QCOMPARE(box->isChecked(), box == w.form.Widget(Series::FY1) || box == w.form.Widget(Series::FY2));

        // Cleared at 0.03 s, Stop at 0.06 s: one more display cycle.
        double cleared = -1;
        QVERIFY(w.Run([&] {
            if (cleared < 0 && w.M().s.T >= 0.03) w.Press(Button::ClearPictures), cleared = w.M().s.T;
            return w.M().s.T < 0.06 || (w.Press(Button::Stop), false);
        }));
        const sim::State& m = w.M().s;
        QVERIFY(w.messages.isEmpty() && w.form.Controller().RunDepth() == 0 && m.T > 0.06);
        for (const auto& [f, v] : Shown(w.form.Controller().State())) QCOMPARE(w.Text(f), Number(v));
        ui::PictureBox* view = w.form.Widget(app::Picture::ConstructionView);
        ui::PictureBox* plot = w.form.Widget(app::Picture::Plot);
        // The trace goes on after the clearing: its first point is one step (NC0 = 1) after it.
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

        // "схема" where no folder has shema.gif: both folders named, the view kept.
        QTemporaryDir dir;
        const QString home = QDir::currentPath();
        const QImage drawn = view->image().copy();
        QVERIFY(QDir::setCurrent(dir.path()));
        const QString here = QDir::currentPath();
        w.Press(Button::Scheme);
        QVERIFY(QDir::setCurrent(home) && view->image() == drawn);
        QCOMPARE(w.messages, QStringList{Text(app::Message::kSchemeMissing) + u":\r\n"_s + here + u"\r\n"_s + ui::InstalledDataFolder()});
    }

    // The pictures worked out from the readouts: each box's point at readout / scale in its colour, alone and
    // all together (later over earlier, greyed draws nothing); the view is the last cycle's over the grid.
    void picturesOfEachCycle() {
        Window w;
        // 0,1 s a cycle (2,3 plot pixels at MT = 1); at ML = 1 the paths stay on the plot.
        w.form.Widget(Field::NC0)->setText(u"1000"_s);
        w.form.Widget(Field::MT)->setText(u"1"_s);
        w.form.Widget(Field::ML)->setText(u"1"_s);
        QVERIFY(w.Run([&] { return w.Press(Button::Stop), false; }));
        struct Point { QCheckBox* box; QPointF at; QRgb colour; };
        const auto points = [&] {
            const auto v = [&](Field f) { return w.Value(f); };
            const double t = v(Field::T), mv = v(Field::MV), mf = v(Field::MF), ml = v(Field::ML);
            const auto load = [&](Field r, Field fi, QRgb c) {
                const double a = v(fi) * std::numbers::pi / 180;
                return Point{w.form.Widget(app::Box::Trajectories),
                             QPointF(v(Field::X0) + v(r) * std::cos(a), v(Field::Y0) + v(r) * std::sin(a)) / ml, c};
            };
            const auto at = [&](Series s, double y, QRgb c) { return Point{w.form.Widget(s), {t, y}, c}; };
            const QRgb blue = qRgb(0, 0, 200), red = qRgb(200, 0, 0), green = qRgb(0, 200, 0);
            return std::vector<Point>{
                at(Series::VX1, v(Field::VX1) / mv, qRgb(0, 0, 250)), at(Series::VX2, v(Field::VX2) / mv, qRgb(255, 0, 0)),
                at(Series::VY1, v(Field::VY1) / mv, qRgb(0, 0, 250)), at(Series::VY2, v(Field::VY2) / mv, qRgb(255, 0, 0)),
                at(Series::FX1, v(Field::FX1) / mf, blue), at(Series::FX2, v(Field::FX2) / mf, red),
                at(Series::FY1, v(Field::FY1) / mf, blue), at(Series::FY2, v(Field::FY2) / mf, red),
                at(Series::FX0, -(v(Field::FX1) + v(Field::FX2)) / mf, green),
                at(Series::FY0, -(v(Field::FY1) + v(Field::FY2)) / mf, green),
                load(Field::R1Now, Field::Fi1, qRgb(0, 0, 250)), load(Field::R2Now, Field::Fi2, qRgb(250, 0, 0)),
                at(Series::FT1, v(Field::FT1) / mf, blue), at(Series::FT2, v(Field::FT2) / mf, red),
                at(Series::EnergyError, 1e10 * (v(Field::E) - v(Field::E0)) / v(Field::E0), green)};
        };
        ui::PictureBox* plot = w.form.Widget(app::Picture::Plot);
        const auto shows = [&](QPointF p) {
            const QPoint at = plot->DevicePixel(static_cast<float>(p.x()), static_cast<float>(p.y()));
            return std::pair{at, plot->image().rect().contains(at) ? plot->image().pixel(at) : kOutside};
        };
        // One more cycle with only this box ticked, or all but VX2 (greyed) and the energy error.
        const auto cycle = [&](QCheckBox* only) {
            for (const Point& p : points()) p.box->setCheckState(!only || p.box == only ? Qt::Checked : Qt::Unchecked);
            if (!only) w.form.Widget(Series::VX2)->setCheckState(Qt::PartiallyChecked);
            if (!only) w.form.Widget(Series::EnergyError)->setChecked(false);
            w.Press(Button::StepNC0);
            return w.Finished() && !w.form.Driver().SliceScheduled();
        };
        for (const Point& each : points()) {
            QVERIFY(cycle(each.box));
            for (const Point& p : points())
                if (p.box == each.box) QCOMPARE(shows(p.at).second, p.colour);
        }
        QVERIFY(cycle(nullptr));
        std::map<std::pair<int, int>, QRgb> last;  // later points over earlier ones
        for (const Point& p : points())
            if (const auto [at, now] = shows(p.at); p.box->checkState() == Qt::Checked && now != kOutside)
                last[{at.x(), at.y()}] = p.colour;
        for (const auto& [at, colour] : last) QCOMPARE(plot->image().pixel(at.first, at.second), colour);
        const auto [vx2, colour] = shows(points()[1].at);
        QVERIFY(last.count({vx2.x(), vx2.y()}) || colour != qRgb(255, 0, 0));
        // 25 * MT 1551 steps on: two cycles later the plot restarts there, <= 15 points 449 steps from the left.
        const double mt = (w.Value(Field::T) + 0.155) / 25;
        w.form.Widget(Field::MT)->setText(Number(mt));
        QVERIFY(cycle(nullptr) && cycle(nullptr));
        ui::PictureBox fresh(QRect(QPoint(), plot->size()));
        app::DrawPlotAxes(fresh);
        QList<int> changed;  // the columns of the pixels changed
        for (int y = 0; y < fresh.image().height(); ++y)
            for (int x = 0; x < fresh.image().width(); ++x)
                if (plot->image().pixel(x, y) != fresh.image().pixel(x, y)) changed << x;
        QVERIFY(!changed.isEmpty() && changed.size() <= 15);
        QCOMPARE(*std::min_element(changed.begin(), changed.end()), shows({449 * 0.0001 / mt, 0}).first.x());

        ui::PictureBox* view = w.form.Widget(app::Picture::ConstructionView);
        ui::PictureBox expected(QRect(QPoint(), view->size()));
        app::DrawViewAxes(expected);
        const QImage grid = expected.image().copy();
        const sim::Model& m = w.M();
        const double ml = 1, mx = std::cos(m.s.fi0()) * m.p.R0 / ml, my = std::sin(m.s.fi0()) * m.p.R0 / ml;
        const auto f = [](double v) { return static_cast<float>(v); };
        expected.Circle(0, 0, f(m.p.R0 / ml), {1, 0, 0});
        expected.Line(f(mx), f(my), f(-mx), f(-my), {1, 0, 0});
        const app::Rgb load[] = {{0, 0, 250}, {250, 0, 0}};
        for (int i : {1, 2})
            expected.Circle(f((m.s.X(i) - m.s.X(0)) / ml), f((m.s.Y(i) - m.s.Y(0)) / ml), f(m.p.R0 / 2 / ml), load[i - 1]);
        for (int i : {1, 2}) expected.Line(f((m.s.X(i) - m.s.X(0)) / ml), f((m.s.Y(i) - m.s.Y(0)) / ml), 0, 0, load[i - 1]);
        for (int y = 0; y < grid.height(); ++y)
            for (int x = 0; x < grid.width(); ++x) {
                const QRgb is = view->image().pixel(x, y), want = expected.image().pixel(x, y);
                if (is != want && !(is == qRgb(250, 250, 250) && want == grid.pixel(x, y)))
                    QFAIL(qPrintable(u"(%1, %2) is %3, not %4"_s.arg(x).arg(y).arg(is, 0, 16).arg(want, 0, 16)));
            }
    }

    // Wait 1E-4 s / rate less the slice, at most a minute; a message box holds the run; Stop does not wait.
    void pacedRunsWaitForTheirRate() {
        Window w;
        const ui::RunDriver& driver = w.form.Driver();
        const auto cycles = [&] { return std::llround(w.M().s.T / 1e-4); };
        w.form.SetRate(0.5);
        QVERIFY(!driver.SliceScheduled());
        w.Press(Button::Start);
        const struct { double rate; int waitMs; } rows[] = {{1e-5, 10000}, {2e-5, 5000}, {4e-5, 2500}, {1e-9, 60000}};
        for (const auto& [rate, waitMs] : rows) {
            const long long before = cycles();
            w.form.SetRate(rate);
            QTRY_VERIFY_WITH_TIMEOUT(cycles() > before && driver.SliceScheduled() && driver.WaitMs() > 1000, 2000);
            QVERIFY2(driver.WaitMs() <= waitMs && driver.WaitMs() >= 0.9 * waitMs,
                     qPrintable(u"%1 ms at %2"_s.arg(driver.WaitMs()).arg(rate)));
        }
        bool scheduledInBox = true;
        w.form.SetMessageSink([&](const QString&) { scheduledInBox = driver.SliceScheduled(); });
        w.form.Widget(Field::M0)->setText(u"abc"_s), w.Press(Button::Start);
        QVERIFY(!scheduledInBox && driver.SliceScheduled());
        const long long before = cycles();
        w.Press(Button::Stop);
        QTRY_VERIFY_WITH_TIMEOUT(!w.form.Controller().Running(), 2000);
        QVERIFY(cycles() == before + 1 && !driver.SliceScheduled());
    }

    // The keys change the rate from inside a field, typing nothing; the title follows.
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

    // Preset 2 cannot keep real time: the title tells the pace reached in two digits, then the rate alone.
    void titleTellsThePaceReached() {
        Window w;
        w.Press(Button::Preset2);
        QString reached;
        QVERIFY(w.Run([&] {
            reached = QRegularExpression(u"^Morvane1 — темп ×1, идёт ×(.*)$"_s).match(w.form.windowTitle()).captured(1);
            return reached.isEmpty() || (w.Press(Button::Stop), false);
        }));
        const double v = app::ParseNumber(reached.toStdString(), ',').value_or(NAN);
        QVERIFY2(v > 0 && v < 0.95 && Number(app::TwoDigits(v)) == reached, qPrintable(reached));
        QCOMPARE(w.form.windowTitle(), u"Morvane1 — темп ×1"_s);
    }

    void surfacesAtDeviceResolution() {
        Window w;
        const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", u"1"_s).toDouble();
        QCOMPARE(w.form.devicePixelRatioF(), ratio);
        // A pixel a device pixel; the corner grid lines land on the corner pixels.
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
        double opened = -1;
        QVERIFY(w.Run([&] {
            if (opened < 0) w.Press(Button::About), opened = w.M().s.T;
            return w.M().s.T < opened + 0.01 || (w.Press(Button::Stop), false);
        }));
        QPointer<ui::Form2> help = ui::HelpWindow();
        QVERIFY(help && help->isVisible() && !QApplication::activeModalWidget());
        QPlainTextEdit* shown = help->HelpText();
        const QString text = shown->toPlainText();
        // Sixteen one-line pieces, blank-line separated; the formulas stand alone mid-sentence.
        const QStringList pieces = text.chopped(2).split(u"\n\n"_s);
        QVERIFY(text.endsWith(u"\n\n"_s) && pieces.size() == 16 && pieces[0].startsWith(u"   Основное"_s));
        for (int i = 1; i < 16; ++i) QVERIFY(!pieces[i].isEmpty() && !pieces[i][0].isSpace() && !pieces[i].contains(u'\n'));
        QVERIFY(pieces[3] == u"FR = CR * R + KR * VR"_s && pieces[6] == u"FT = (CT * Dfi + KT * VT) / R"_s);
        QVERIFY(pieces[2].endsWith(u"по формуле"_s) && pieces[4].startsWith(u"где "_s));
        QVERIFY(pieces[5].endsWith(u"по формуле"_s) && pieces[7].startsWith(u"находим "_s));
        // Sixteen captions quoted in angle brackets, each as the window shows it.
        QVERIFY(text.count(QRegularExpression(u"<[^<>]*>"_s)) == 16 && QuotedNotShown(text, w.form).isEmpty());
        // Edit and scroll stay while open, About raises it; "Закрыть" discards it, reopened it starts afresh.
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

    // --lang en: no Cyrillic, no caption cut, the locale's numbers, the help quoting this window's captions.
    void englishWindow() {
        QCOMPARE(Clipped(Window().form), QStringList());  // the Russian fits too
        QTranslator english;
        QVERIFY(english.load(u":/i18n/morvane1_en.qm"_s) && QCoreApplication::installTranslator(&english));
        Window w;
        QCOMPARE(Clipped(w.form), QStringList());
        w.Press(Button::About);
        const QString help = ui::HelpWindow()->HelpText()->toPlainText();
        QStringList texts{w.form.windowTitle(), help, ui::HelpWindow()->CloseButton()->text()};
        for (QAbstractButton* b : w.form.findChildren<QAbstractButton*>()) texts << b->text();
        for (QLabel* l : w.form.findChildren<QLabel*>()) texts << l->text();
        for (int m = 0; m <= int(app::Message::kSchemeUnusable); ++m)
            texts << static_cast<ui::SchemeView*>(w.form.Widget(app::Picture::ConstructionView))->MessageText(app::Message(m));
        for (const QString& t : texts) QVERIFY2(!t.contains(QRegularExpression(u"\\p{Cyrillic}"_s)), qPrintable(t));
        QVERIFY(help.contains(u"Ctrl+Up"_s) && help.contains(u"Ctrl+Down"_s) && help.contains(u"Ctrl+0"_s));
        QCOMPARE(QuotedNotShown(help, w.form), QStringList());
        QCOMPARE(w.Text(Field::Step), u"0,0001"_s);
        QCoreApplication::removeTranslator(&english);
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
