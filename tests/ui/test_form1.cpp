// The main window: its controls, how it opens, and runs driven through its
// buttons, offscreen and under a decimal-comma locale.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>
#include <string>

#include "app/drawing.h"
#include "app/messages.h"
#include "app/numtext.h"
#include "sim/model.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/picture_box.h"
#include "tests/ui/test_images.h"

using testing_support::GifDeclaring;

namespace {

// A window that records its messages instead of showing them.
struct Window {
    Window() : form(std::make_unique<ui::Form1>()) {
        form->SetMessageSink([this](const QString& text) {
            messages << text;
            // What the fields show at the moment the message appears.
            readoutAtMessage = form->TextField(60)->text();
        });
        // A run that should have ended but goes on is stopped here, so that
        // the test fails instead of hanging.
        QTimer::singleShot(20000, form.get(), [this] {
            runaway = true;
            form->Controller().Command2_Click();
            form->CloseWindows();
        });
    }
    QLineEdit* Field(int n) const { return form->TextField(n); }
    void Type(int textNo, const QString& text) const {
        QLineEdit* field = Field(textNo);
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    void Click(int commandNo) const { form->Button(commandNo)->click(); }
    const sim::Model& Model() const { return form->Controller().Model(); }

    std::unique_ptr<ui::Form1> form;
    QStringList messages;
    QString readoutAtMessage;
    bool runaway = false;
};

QString Formatted(double v) { return QString::fromStdString(app::FormatNumber(v, ',')); }

int Px(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

// Runs "схема" with the given file as shema.gif in the working directory
// (no such file unless it exists) and returns the messages it gave.
QStringList PressScheme(Window& w, const QByteArray& content, bool exists = true) {
    QTemporaryDir dir;
    const QString oldCurrent = QDir::currentPath();
    if (!dir.isValid() || !QDir::setCurrent(dir.path())) return {QStringLiteral("no working directory")};
    if (exists) {
        QFile f(QStringLiteral("shema.gif"));
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            return {QStringLiteral("cannot write shema.gif")};
    }
    w.Click(7);
    QDir::setCurrent(oldCurrent);
    return w.messages;
}

}  // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void windowHasItsCaptionAndSize();
    void controlsByKind();
    void controlNamesAreUniqueAndMatchTheirKind();
    void controlsSpotCheck_data();
    void controlsSpotCheck();
    void onlyFyBoxesStartTicked();
    void opensWithPreset1_data();
    void opensWithPreset1();
    void readoutsShowTheirNamesUntilTheFirstStart();
    void presetButtonShowsItsTextsAtOnce();
    void writesShowAtPresent();
    void doNc0StepsAfterAStoppedRun();
    void pressesOfOneRoundKeepTheirOrder_data();
    void pressesOfOneRoundKeepTheirOrder();
    void refusedStartShowsTheInputMessage();
    void messageFindsTheReadoutsPresented();
    void exitDuringARunEndsIt();
    void closingTheWindowDuringARunEndsIt();
    void decimalSeparatorFollowsTheLocale();
    void schemeButtonRefusesABadFile_data();
    void schemeButtonRefusesABadFile();
    void schemeButtonShowsAGoodFile();
};

void TestForm1::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // The tests close windows and go on; the program would end there.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestForm1::cleanup() { ui::UnloadHelpWindow(); }

void TestForm1::windowHasItsCaptionAndSize() {
    Window w;
    QCOMPARE(w.form->windowTitle(), QStringLiteral("Morvane1"));
    // 11925 x 8370 twips at 15 twips a pixel, and it cannot be resized.
    QCOMPARE(w.form->size(), QSize(795, 558));
    QCOMPARE(w.form->minimumSize(), QSize(795, 558));
    QCOMPARE(w.form->maximumSize(), QSize(795, 558));
}

void TestForm1::controlsByKind() {
    Window w;
    const auto children = w.form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    int buttons = 0, checks = 0, fields = 0, labels = 0, pictures = 0, other = 0;
    for (QWidget* c : children) {
        if (qobject_cast<QPushButton*>(c))
            ++buttons;
        else if (qobject_cast<QCheckBox*>(c))
            ++checks;
        else if (qobject_cast<QLineEdit*>(c))
            ++fields;
        else if (qobject_cast<QLabel*>(c))
            ++labels;
        else if (qobject_cast<ui::PictureBox*>(c))
            ++pictures;
        else
            ++other;
    }
    QCOMPARE(buttons, 10);
    QCOMPARE(checks, 15);
    QCOMPARE(fields, 44);
    QCOMPARE(labels, 73);
    QCOMPARE(pictures, 2);
    QCOMPARE(other, 0);
}

void TestForm1::controlNamesAreUniqueAndMatchTheirKind() {
    Window w;
    QSet<QString> names;
    static const QRegularExpression pattern(QStringLiteral("^(Command|Check|Text|Label|Picture)([1-9][0-9]*)$"));
    for (QWidget* c : w.form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QString name = c->objectName();
        const auto m = pattern.match(name);
        QVERIFY2(m.hasMatch(), qPrintable(name));
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.insert(name);
        const QString prefix = m.captured(1);
        const bool kindMatches = (prefix == "Command" && qobject_cast<QPushButton*>(c)) ||
                                 (prefix == "Check" && qobject_cast<QCheckBox*>(c)) ||
                                 (prefix == "Text" && qobject_cast<QLineEdit*>(c)) ||
                                 (prefix == "Label" && qobject_cast<QLabel*>(c)) ||
                                 (prefix == "Picture" && qobject_cast<ui::PictureBox*>(c));
        QVERIFY2(kindMatches, qPrintable(name));
    }
    QCOMPARE(names.size(), 144);
    // The numbered families: buttons 1..10, check boxes 1..16 but 14.
    for (int i = 1; i <= 10; ++i) QVERIFY(names.contains(QStringLiteral("Command%1").arg(i)));
    for (int i = 1; i <= 16; ++i) QCOMPARE(names.contains(QStringLiteral("Check%1").arg(i)), i != 14);
}

void TestForm1::controlsSpotCheck_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    // Caption, or the text a field shows when the window has opened.
    QTest::addColumn<QString>("text");
    auto row = [](const char* name, int l, int t, int w, int h, const char* text) {
        QTest::newRow(name) << QString::fromLatin1(name) << QRect(l, t, w, h) << QString::fromUtf8(text);
    };
    row("Command1", 4200, 3360, 975, 300, " Начать");
    row("Command2", 3480, 3720, 1215, 300, "Остановить");
    row("Command5", 8640, 8040, 1605, 300, "Очистить  рисунки");
    row("Command6", 10320, 8040, 735, 280, "About");
    row("Command4", 11160, 8040, 735, 280, "Выход");
    row("Command10", 1080, 4080, 1725, 300, "Сделать NC0 шагов");
    row("Check13", 1320, 2880, 1695, 195, "10^10 * (E-E0)/E0");
    row("Check16", 5280, 3420, 1335, 195, "+ тест с fi0=");
    row("Check1", 9120, 4440, 255, 255, "");
    row("Check8", 9120, 6960, 255, 195, "Check8");
    row("Label38", 120, 3090, 4575, 255, "Fmrv = V0 * (J0 * w0 + 2 * m1 * R1^2 * w0) * w0^2 / 2 / Vsv^2 =");
    row("Label30", 2760, 2260, 1065, 300, "MV, (м/с)/см");
    row("Label77", 5160, 4120, 375, 255, "T, с");
    row("Label71", 5520, 8100, 735, 255, "T/MT, см");
    row("Label46", 9480, 6600, 495, 255, "FY1");
    row("Label62", 120, 6480, 255, 255, "-1");
    row("Label7", 1800, 2560, 855, 255, "н*м*с/рад");
    row("Text26", 3600, 2520, 1335, 285, "100");
    row("Text21", 6480, 3360, 855, 285, "0,2");
    row("Text18", 4800, 3020, 1935, 285, "Text18");
    row("Text40", 9960, 7680, 1935, 285, "Text40");
    row("Text60", 5520, 4080, 1935, 285, "Text60");
    row("Picture1", 7440, 0, 4395, 4395, "");
    row("Picture2", 360, 4440, 8655, 3615, "");
}

void TestForm1::controlsSpotCheck() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, text);
    Window w;
    auto* c = w.form->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    QVERIFY(c);
    QCOMPARE(c->geometry(), QRect(Px(twips.x()), Px(twips.y()), Px(twips.width()), Px(twips.height())));
    if (auto* b = qobject_cast<QPushButton*>(c)) QCOMPARE(b->text(), text);
    if (auto* b = qobject_cast<QCheckBox*>(c)) QCOMPARE(b->text(), text);
    if (auto* l = qobject_cast<QLabel*>(c)) QCOMPARE(l->text(), text);
    if (auto* f = qobject_cast<QLineEdit*>(c)) QCOMPARE(f->text(), text);
}

void TestForm1::onlyFyBoxesStartTicked() {
    Window w;
    for (int i = 1; i <= 16; ++i) {
        if (i == 14) continue;
        const bool ticked = i == 7 || i == 8;
        QCOMPARE(w.form->CheckBox(i)->checkState(), ticked ? Qt::Checked : Qt::Unchecked);
        QCOMPARE(w.form->CheckValue(i), ticked ? 1 : 0);
    }
}

void TestForm1::opensWithPreset1_data() {
    QTest::addColumn<int>("textNo");
    QTest::addColumn<QString>("text");
    // вар.1 under a decimal comma.
    const std::pair<int, const char*> preset1[] = {
        {1, "10"}, {11, "1"}, {2, "0,5"}, {3, "1"}, {4, "10"}, {5, "20"}, {6, "10"}, {7, "1"},
        {8, "0,1"}, {55, "1"}, {54, "0,0001"}, {51, "0,1"}, {29, "0,25"}, {30, "10"}, {26, "100"},
    };
    for (auto [n, t] : preset1) QTest::addRow("Text%d", n) << n << QString::fromUtf8(t);
}

void TestForm1::opensWithPreset1() {
    QFETCH(int, textNo);
    QFETCH(QString, text);
    Window w;
    QCOMPARE(w.Field(textNo)->text(), text);
    QCOMPARE(QString::fromStdString(w.form->GetText(textNo)), text);
}

void TestForm1::readoutsShowTheirNamesUntilTheFirstStart() {
    Window w;
    for (int n : {12, 60, 31, 13, 20, 9, 18, 40}) QCOMPARE(w.Field(n)->text(), QStringLiteral("Text%1").arg(n));
    // Form_Load drew both grids.
    const QImage& plot = w.form->PictureWidget(2)->image();
    QCOMPARE(plot.pixel(0, 0), qRgb(1, 0, 0));
    QCOMPARE(plot.pixel(100, 120), qRgb(200, 200, 200));
}

void TestForm1::presetButtonShowsItsTextsAtOnce() {
    Window w;
    w.Click(9);  // вар.2
    QCOMPARE(w.Field(4)->text(), QStringLiteral("100000"));
    QCOMPARE(w.Field(54)->text(), Formatted(1e-9));
    QCOMPARE(w.Field(55)->text(), QStringLiteral("100"));
    w.Click(8);  // вар.1
    QCOMPARE(w.Field(4)->text(), QStringLiteral("10"));
    QCOMPARE(w.Field(54)->text(), QStringLiteral("0,0001"));
}

void TestForm1::writesShowAtPresent() {
    // Between two presentations the port answers with what was written,
    // while the widgets still show the older state.
    Window w;
    w.form->SetText(54, "0,5");
    w.form->SetText(60, "12,25");
    QCOMPARE(w.form->GetText(54), std::string("0,5"));
    QCOMPARE(w.Field(54)->text(), QStringLiteral("0,0001"));
    QCOMPARE(w.Field(60)->text(), QStringLiteral("Text60"));
    ui::PictureBox* plot = w.form->PictureWidget(2);
    plot->Flush();
    w.form->Picture(2).PSet(12.5f, 2.5f, app::kLoad1Colour);
    QVERIFY(!plot->DirtyRect().isEmpty());

    w.form->Present();
    QCOMPARE(w.Field(54)->text(), QStringLiteral("0,5"));
    QCOMPARE(w.Field(60)->text(), QStringLiteral("12,25"));
    QCOMPARE(w.form->GetText(54), std::string("0,5"));
    QVERIFY(plot->DirtyRect().isEmpty());
    // Typing goes straight to the widget and is read from there.
    w.Type(54, QStringLiteral("0,25"));
    QCOMPARE(w.form->GetText(54), std::string("0,25"));
}

void TestForm1::doNc0StepsAfterAStoppedRun() {
    Window w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    // While the preset-1 run goes on, NC0 becomes 100 and Stop is pressed;
    // the run ends after its next display cycle, which reads NC0.
    bool stopped = false;
    QTimer::singleShot(150, w.form.get(), [&] {
        w.Type(55, QStringLiteral("100"));
        w.Click(2);
        stopped = true;
    });
    w.Click(1);
    QVERIFY(!w.runaway);
    QVERIFY(stopped);
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(w.form->Controller().RunDepth(), 0);
    QCOMPARE(w.Model().NC0, 100);
    QCOMPARE(w.Model().NC, 0);
    QVERIFY(w.Model().T > 0);
    // What the run's last display cycle wrote is on screen.
    QCOMPARE(w.Field(60)->text(), Formatted(w.Model().T));
    QCOMPARE(w.Field(12)->text(), Formatted(w.Model().X[0]));

    const double h = w.Model().h;
    QCOMPARE(h, 0.0001);
    double expected = w.Model().T;
    for (int i = 0; i < 100; ++i) expected += h;
    const QString before = w.Field(60)->text();
    w.Click(10);  // Сделать NC0 шагов: returns by itself
    QCOMPARE(w.form->Controller().RunDepth(), 0);
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(w.Model().T, expected);
    QCOMPARE(w.Field(60)->text(), Formatted(expected));
    QVERIFY(w.Field(60)->text() != before);
    QCOMPARE(w.form->OpenWindowCount(), 1);
}

void TestForm1::pressesOfOneRoundKeepTheirOrder_data() {
    QTest::addColumn<QList<int>>("round");  // buttons after Start, reaching its first event round
    QTest::addColumn<int>("steps");         // made since the last Start
    // NC0 = N = 50, counted as in the controller tests: 3N, 4N and 3N.
    QTest::newRow("Start, Start, Stop") << QList<int>{1, 2} << 150;
    QTest::newRow("Start, Continue, Stop") << QList<int>{3, 2} << 200;
    QTest::newRow("Start, Do NC0 steps") << QList<int>{10} << 150;
}

void TestForm1::pressesOfOneRoundKeepTheirOrder() {
    QFETCH(QList<int>, round);
    QFETCH(int, steps);
    Window w;
    w.Type(55, QStringLiteral("50"));
    // Past the pacing interval counted from the window's creation, the run's
    // first display cycle really processes events, and the clicks posted
    // before Start all arrive in that one round.
    QTest::qWait(static_cast<int>(2 * ui::Form1::kPresentIntervalNs / 1'000'000));
    for (int no : round) QMetaObject::invokeMethod(w.form->Button(no), "click", Qt::QueuedConnection);
    w.Click(1);
    QVERIFY(!w.runaway);
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(w.form->Controller().RunDepth(), 0);
    double t = 0;
    for (int i = 0; i < steps; ++i) t += 0.0001;
    QCOMPARE(w.Model().T, t);
}

void TestForm1::refusedStartShowsTheInputMessage() {
    Window w;
    w.Type(1, QStringLiteral("abc"));
    w.Click(1);
    QCOMPARE(w.messages, QStringList{QString::fromUtf8(app::kInputErrorText.data(),
                                                        static_cast<qsizetype>(app::kInputErrorText.size()))});
    QCOMPARE(w.form->Controller().RunDepth(), 0);
    // Nothing ran: the readouts still show their names.
    QCOMPARE(w.Field(60)->text(), QStringLiteral("Text60"));
    QCOMPARE(w.Field(20)->text(), QStringLiteral("Text20"));
}

void TestForm1::messageFindsTheReadoutsPresented() {
    // ML = 0 makes the view step fail in the display cycle after the time
    // readout was written; the message must find it on screen although the
    // run presents only every few milliseconds.
    Window w;
    QTimer::singleShot(100, w.form.get(), [&] { w.Type(29, QStringLiteral("0")); });
    w.Click(1);
    QVERIFY(!w.runaway);
    QCOMPARE(w.messages.size(), 1);
    QCOMPARE(w.messages.front(), QString::fromUtf8(app::kSolveErrorText.data(),
                                                   static_cast<qsizetype>(app::kSolveErrorText.size())));
    QVERIFY(w.Model().T > 0);
    QCOMPARE(w.readoutAtMessage, Formatted(w.Model().T));
}

void TestForm1::exitDuringARunEndsIt() {
    Window w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    w.Click(6);  // About: the help window is open too
    QVERIFY(ui::HelpWindow());
    QCOMPARE(w.form->OpenWindowCount(), 2);
    double tAtExit = -1;
    QTimer::singleShot(100, w.form.get(), [&] {
        tAtExit = w.Model().T;
        w.Click(4);  // Выход
    });
    w.Click(1);
    QVERIFY(!w.runaway);
    QVERIFY(tAtExit > 0);
    QCOMPARE(w.form->Controller().RunDepth(), 0);
    QCOMPARE(w.form->OpenWindowCount(), 0);
    QVERIFY(!w.form->isVisible());
    QVERIFY(!ui::HelpWindow());
    // No window is left, so the run ended right in that round of events.
    QCOMPARE(w.Model().T, tAtExit);
    QVERIFY(w.messages.isEmpty());
}

void TestForm1::closingTheWindowDuringARunEndsIt() {
    Window w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    w.Click(6);
    QVERIFY(ui::HelpWindow());
    QTimer::singleShot(100, w.form.get(), [&] { w.form->close(); });
    w.Click(1);
    QVERIFY(!w.runaway);
    QCOMPARE(w.form->Controller().RunDepth(), 0);
    QCOMPARE(w.form->OpenWindowCount(), 0);
    QVERIFY(!ui::HelpWindow());
    QVERIFY(w.Model().T > 0);
}

void TestForm1::decimalSeparatorFollowsTheLocale() {
    {
        Window w;
        QCOMPARE(w.form->DecimalSeparator(), ',');
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    {
        Window w;
        QCOMPARE(w.form->DecimalSeparator(), '.');
        QCOMPARE(w.Field(2)->text(), QStringLiteral("0.5"));
        QCOMPARE(w.Field(54)->text(), QStringLiteral("0.0001"));
    }
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

void TestForm1::schemeButtonRefusesABadFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("zero bytes") << QByteArray() << true;
    QTest::newRow("text") << QByteArray("this is not a picture\n") << true;
    QTest::newRow("truncated") << GifDeclaring(16, 16).chopped(3) << true;
    QTest::newRow("declares 60000 x 60000") << GifDeclaring(60000, 60000) << true;
}

void TestForm1::schemeButtonRefusesABadFile() {
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    Window w;
    // Something drawn over the grid, as a run leaves it.
    w.form->Picture(1).Circle(1, 1, 2, app::kLoad1Colour);
    w.form->Present();
    const QImage view = w.form->PictureWidget(1)->image().copy();
    const QImage plot = w.form->PictureWidget(2)->image().copy();
    const QStringList messages = PressScheme(w, content, exists);
    // No file, and a file that is no picture, are told apart.
    const std::string_view text = exists ? app::kSchemeUnusableText : app::kSchemeMissingText;
    QCOMPARE(messages, QStringList{QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))});
    QVERIFY(messages.front().contains(QStringLiteral("shema.gif")));
    QVERIFY(w.form->PictureWidget(1)->image() == view);
    QVERIFY(w.form->PictureWidget(2)->image() == plot);
}

void TestForm1::schemeButtonShowsAGoodFile() {
    // The same press with a picture it can take: no message, and the view
    // shows the picture instead of the drawing; so the refusals above are
    // the files' doing.
    Window w;
    w.form->Picture(1).Circle(1, 1, 2, app::kLoad1Colour);
    const QImage view = w.form->PictureWidget(1)->image().copy();
    QVERIFY(PressScheme(w, GifDeclaring(16, 16)).isEmpty());
    const QImage& shown = w.form->PictureWidget(1)->image();
    QVERIFY(shown != view);
    // The frame's first pixels are the colour table's black; beyond the
    // 16 x 16 picture the background is white, the grid gone.
    QCOMPARE(shown.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(shown.pixel(100, 146), qRgb(255, 255, 255));
}

QTEST_MAIN(TestForm1)

#include "test_form1.moc"
