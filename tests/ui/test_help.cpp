// The help window and its text.

#include <QApplication>
#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QStringList>
#include <QTest>
#include <QWindow>

#include <string>
#include <string_view>
#include <vector>

#include "ui/form2.h"
#include "ui/help_text.h"

namespace {

constexpr std::string_view kSeparator = "\r\n\r\n";

// What the main window shows on its buttons, check boxes and labels, trimmed
// of leading and trailing blanks. The check boxes of the plot column are only
// as wide as their box, so their captions never show and are left out.
const QStringList kButtonCaptions = {
    "Начать",     "Остановить", "Продолжить", "Выход",  "Очистить  рисунки",
    "About",      "схема",      "вар.1",      "вар.2",  "Сделать NC0 шагов",
};
const QStringList kCheckBoxCaptions = {
    "10^10 * (E-E0)/E0", "FT1", "FT2", "+ тест с fi0=", "+ траектории",
};
const QStringList kLabelCaptions = {
    // inputs and their units
    "m0", "кг", "m1", "R0", "м", "R1", "V0", "м/с", "w0", "рад/с", "CT", "н*м/рад", "KR",
    "н*с/м", "KT", "н*м*с/рад",
    // derived values
    "Fmrv = V0 * (J0 * w0 + 2 * m1 * R1^2 * w0) * w0^2 / 2 / Vsv^2 =", "н", "J0=0,5*m0*R0^2",
    "кг*м^2", "CR=m1*w0^2", "н/м",
    // readouts
    "X0", "Y0", "Ymrv", "E0", "E", "FR1", "FR2", "R2", "FT1", "FT2", "fi1", "fi2",
    // scales
    "MT, с/см", "ML, м/см", "MV, (м/с)/см", "MF, н/см",
    // run settings; the time label starts with a Latin T
    "NC0", "шаг, с", "T, с",
    // plot column
    "VX1", "VX2", "VY1", "VY2", "FX1", "FX2", "FY1", "FY2", "FX0", "FY0",
    // axis numbers of the plot
    "4", "3", "2", "1", "0", "-1", "-2", "-3", "-4", "6", "8", "10", "12", "14", "T/MT, см",
};

QSet<QString> MainWindowCaptions() {
    QSet<QString> captions;
    for (const QStringList* list : {&kButtonCaptions, &kCheckBoxCaptions, &kLabelCaptions}) {
        for (const QString& caption : *list) {
            captions.insert(caption);
        }
    }
    return captions;
}

// The pieces of the help text in order, or an empty list when the text does
// not end with the separator.
std::vector<std::string> SplitPieces(const std::string& text) {
    std::vector<std::string> pieces;
    if (!text.ends_with(kSeparator)) {
        return pieces;
    }
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = text.find(kSeparator, begin);
        pieces.push_back(text.substr(begin, end - begin));
        begin = end + kSeparator.size();
    }
    return pieces;
}

// Characters as the user sees them: every byte that does not continue a
// UTF-8 sequence starts a new code point.
std::size_t CodePoints(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

QStringList QuotedCaptions(const QString& text) {
    static const QRegularExpression quoted(QStringLiteral("<([^<>]*)>"));
    QStringList captions;
    for (const QRegularExpressionMatch& match : quoted.globalMatch(text)) {
        // "< NC0>" keeps the blank the text has always had.
        captions << match.captured(1).trimmed();
    }
    return captions;
}

// What the text field must show: the built text with each CR LF pair read as
// one line break.
QString ShownText() {
    return QString::fromStdString(ui::BuildHelpText()).replace(QStringLiteral("\r\n"),
                                                                QStringLiteral("\n"));
}

QPlainTextEdit* Text1Of(ui::Form2* window) {
    return window->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
}

QPushButton* Command1Of(ui::Form2* window) {
    return window->findChild<QPushButton*>(QStringLiteral("Command1"));
}

bool AnyHelpWindowAlive() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<ui::Form2*>(widget) != nullptr) {
            return true;
        }
    }
    return false;
}

}  // namespace

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void textIsSixteenPiecesEachFollowedByAnEmptyLine();
    void onlyTheFirstPieceStartsWithBlanks();
    void formulaLinesStandAlone_data();
    void formulaLinesStandAlone();
    void sentencesRunAcrossTheFormulas_data();
    void sentencesRunAcrossTheFormulas();
    void lengthIsAboutEightThousandCharacters();
    void quotedCaptionsAreThoseOfTheMainWindow();
    void piecesQuoteTheirCaptions_data();
    void piecesQuoteTheirCaptions();

    void windowLayout_data();
    void windowLayout();
    void windowIsAnUnownedNonBlockingWindow();
    void textFieldShowsTheHelpFromItsBeginning();
    void textFieldHasFocusThenTheCloseButton();
    void closeButtonUnloadsAndDiscardsEdits();
    void titleBarCloseUnloads();
    void aboutWhileOpenKeepsEditAndScrollPosition();
    void unloadHelpWindow();
};

void TestHelp::cleanup() {
    ui::UnloadHelpWindow();
    QVERIFY(ui::HelpWindow() == nullptr);
    QTRY_VERIFY(!AnyHelpWindowAlive());
}

void TestHelp::textIsSixteenPiecesEachFollowedByAnEmptyLine() {
    const std::string text = ui::BuildHelpText();
    QVERIFY(text.ends_with(kSeparator));
    const std::vector<std::string> pieces = SplitPieces(text);
    QCOMPARE(pieces.size(), std::size_t{16});
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        QVERIFY2(!pieces[i].empty(), qPrintable(QStringLiteral("piece %1").arg(i + 1)));
        // Every piece is one line; the field wraps it.
        QVERIFY2(pieces[i].find_first_of("\r\n") == std::string::npos,
                 qPrintable(QStringLiteral("piece %1").arg(i + 1)));
    }
}

void TestHelp::onlyTheFirstPieceStartsWithBlanks() {
    const std::vector<std::string> pieces = SplitPieces(ui::BuildHelpText());
    QCOMPARE(pieces.size(), std::size_t{16});
    QVERIFY(pieces[0].starts_with("   "));
    QVERIFY(pieces[0][3] != ' ');
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        QVERIFY2(pieces[i][0] != ' ', qPrintable(QStringLiteral("piece %1").arg(i + 1)));
    }
}

void TestHelp::formulaLinesStandAlone_data() {
    QTest::addColumn<int>("piece");
    QTest::addColumn<QString>("line");
    QTest::newRow("radial force") << 4 << QStringLiteral("FR = CR * R + KR * VR");
    QTest::newRow("tangential force") << 7 << QStringLiteral("FT = (CT * Dfi + KT * VT) / R");
}

void TestHelp::formulaLinesStandAlone() {
    QFETCH(int, piece);
    QFETCH(QString, line);
    const std::string text = ui::BuildHelpText();
    const std::vector<std::string> pieces = SplitPieces(text);
    QCOMPARE(pieces.size(), std::size_t{16});
    QCOMPARE(QString::fromStdString(pieces[piece - 1]), line);
    const std::string framed =
        std::string(kSeparator) + line.toStdString() + std::string(kSeparator);
    QVERIFY(text.find(framed) != std::string::npos);
}

void TestHelp::sentencesRunAcrossTheFormulas_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("continuation");
    QTest::newRow("radial force") << 3 << 5 << QStringLiteral("где ");
    QTest::newRow("tangential force") << 6 << 8 << QStringLiteral("находим ");
}

void TestHelp::sentencesRunAcrossTheFormulas() {
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(QString, continuation);
    const std::vector<std::string> pieces = SplitPieces(ui::BuildHelpText());
    QCOMPARE(pieces.size(), std::size_t{16});
    QVERIFY(QString::fromStdString(pieces[before - 1]).endsWith(QStringLiteral(" по формуле")));
    QVERIFY(QString::fromStdString(pieces[after - 1]).startsWith(continuation));
}

void TestHelp::lengthIsAboutEightThousandCharacters() {
    const std::string text = ui::BuildHelpText();
    const std::size_t characters = CodePoints(text);
    QVERIFY2(characters >= 7000 && characters <= 9000,
             qPrintable(QStringLiteral("%1 characters").arg(characters)));
    // Cyrillic takes two bytes a letter, so bytes and characters must differ.
    QVERIFY(characters < text.size());
    QCOMPARE(static_cast<qsizetype>(characters),
             QString::fromStdString(text).toUcs4().size());
}

void TestHelp::quotedCaptionsAreThoseOfTheMainWindow() {
    const QString text = QString::fromStdString(ui::BuildHelpText());
    const QStringList quoted = QuotedCaptions(text);
    QVERIFY(!quoted.isEmpty());
    // No angle bracket outside a quoted caption.
    QCOMPARE(text.count(QLatin1Char('<')), quoted.size());
    QCOMPARE(text.count(QLatin1Char('>')), quoted.size());
    const QSet<QString> captions = MainWindowCaptions();
    for (const QString& caption : quoted) {
        QVERIFY2(captions.contains(caption), qPrintable(QLatin1Char('<') + caption + '>'));
    }
}

void TestHelp::piecesQuoteTheirCaptions_data() {
    QTest::addColumn<int>("piece");
    QTest::addColumn<QStringList>("captions");
    const QStringList none;
    QTest::newRow("1 purpose") << 1 << none;
    QTest::newRow("2 model") << 2 << none;
    QTest::newRow("3 scheme") << 3 << QStringList{"схема"};
    QTest::newRow("4 radial force") << 4 << none;
    QTest::newRow("5 radial damping") << 5 << none;
    QTest::newRow("6 twist angles") << 6 << none;
    QTest::newRow("7 tangential force") << 7 << none;
    QTest::newRow("8 tangential damping") << 8 << none;
    QTest::newRow("9 equations") << 9 << QStringList{"шаг, с", "NC0"};
    QTest::newRow("10 presets") << 10 << QStringList{"вар.1", "вар.2"};
    QTest::newRow("11 editing") << 11
                                << QStringList{"Начать", "Остановить", "Продолжить",
                                               "Сделать NC0 шагов", "+ траектории"};
    QTest::newRow("12 readouts") << 12 << QStringList{"T, с", "Ymrv"};
    QTest::newRow("13 twist test") << 13 << QStringList{"+ тест с fi0="};
    QTest::newRow("14 precision") << 14 << none;
    QTest::newRow("15 energy error") << 15 << QStringList{"10^10 * (E-E0)/E0"};
    QTest::newRow("16 word length") << 16 << QStringList{"FT1", "FT2"};
}

void TestHelp::piecesQuoteTheirCaptions() {
    QFETCH(int, piece);
    QFETCH(QStringList, captions);
    const std::vector<std::string> pieces = SplitPieces(ui::BuildHelpText());
    QCOMPARE(pieces.size(), std::size_t{16});
    QCOMPARE(QuotedCaptions(QString::fromStdString(pieces[piece - 1])), captions);
}

void TestHelp::windowLayout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    // Twips over 15: logical pixels at 96 dots per inch.
    QTest::newRow("Text1") << QStringLiteral("Text1") << QRect(0, 0, 6315 / 15, 2895 / 15);
    QTest::newRow("Command1") << QStringLiteral("Command1")
                              << QRect(5040 / 15, 3150 / 15, 1215 / 15, 300 / 15);
}

void TestHelp::windowLayout() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    ui::Command6_Click();
    ui::Form2* window = ui::HelpWindow();
    QVERIFY(window != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->windowTitle(), QStringLiteral("About"));
    const QSize client(6345 / 15, 3495 / 15);
    QCOMPARE(window->size(), client);
    QCOMPARE(window->minimumSize(), client);
    QCOMPARE(window->maximumSize(), client);
    QWidget* control = window->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->parentWidget(), window);
    QCOMPARE(control->geometry(), geometry);
    QVERIFY(control->isVisible());
}

void TestHelp::windowIsAnUnownedNonBlockingWindow() {
    QVERIFY(ui::HelpWindow() == nullptr);
    ui::Command6_Click();
    ui::Form2* window = ui::HelpWindow();
    QVERIFY(window != nullptr);
    QVERIFY(window->isWindow());
    QVERIFY(window->parentWidget() == nullptr);
    QCOMPARE(window->windowModality(), Qt::NonModal);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    QTRY_VERIFY(window->isVisible());

    QPushButton* close = Command1Of(window);
    QVERIFY(close != nullptr);
    QCOMPARE(close->text(), QStringLiteral("Закрыть"));

    QPlainTextEdit* text = Text1Of(window);
    QVERIFY(text != nullptr);
    QVERIFY(!text->isReadOnly());
    QCOMPARE(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void TestHelp::textFieldShowsTheHelpFromItsBeginning() {
    ui::Command6_Click();
    ui::Form2* window = ui::HelpWindow();
    QVERIFY(window != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QPlainTextEdit* text = Text1Of(window);
    QVERIFY(text != nullptr);
    const QString shown = text->toPlainText();
    QCOMPARE(shown, ShownText());
    QVERIFY(!shown.contains(QLatin1Char('\r')));
    QVERIFY(shown.startsWith(QStringLiteral("   ")));
    // Sixteen pieces, each followed by an empty line: 32 lines, and the text
    // ends on an empty one.
    QCOMPARE(text->document()->blockCount(), 33);
    QCOMPARE(text->textCursor().position(), 0);
    QCOMPARE(text->verticalScrollBar()->value(), 0);
    // The text is far longer than the field, so there is something to scroll.
    QTRY_VERIFY(text->verticalScrollBar()->maximum() > 0);
}

void TestHelp::textFieldHasFocusThenTheCloseButton() {
    ui::Command6_Click();
    ui::Form2* window = ui::HelpWindow();
    QVERIFY(window != nullptr);
    QPlainTextEdit* text = Text1Of(window);
    QPushButton* close = Command1Of(window);
    QVERIFY(text != nullptr && close != nullptr);
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(text));

    // The next control that Tab can reach after the text field.
    QWidget* next = text->nextInFocusChain();
    while (next != text && !((next->focusPolicy() & Qt::TabFocus) && next->isVisible())) {
        next = next->nextInFocusChain();
    }
    QCOMPARE(next, static_cast<QWidget*>(close));
}

void TestHelp::closeButtonUnloadsAndDiscardsEdits() {
    ui::Command6_Click();
    QPointer<ui::Form2> first = ui::HelpWindow();
    QVERIFY(!first.isNull());
    QVERIFY(QTest::qWaitForWindowExposed(first.data()));
    QPlainTextEdit* text = Text1Of(first.data());
    QVERIFY(text != nullptr);
    QTest::keyClicks(text, QStringLiteral("EDIT"));
    QCOMPARE(text->toPlainText(), QStringLiteral("EDIT") + ShownText());

    QTest::mouseClick(Command1Of(first.data()), Qt::LeftButton);
    QVERIFY(ui::HelpWindow() == nullptr);
    QTRY_VERIFY(first.isNull());

    ui::Command6_Click();
    ui::Form2* second = ui::HelpWindow();
    QVERIFY(second != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(second));
    QPlainTextEdit* fresh = Text1Of(second);
    QVERIFY(fresh != nullptr);
    QCOMPARE(fresh->toPlainText(), ShownText());
    QCOMPARE(fresh->textCursor().position(), 0);
    QCOMPARE(fresh->verticalScrollBar()->value(), 0);
}

void TestHelp::titleBarCloseUnloads() {
    ui::Command6_Click();
    QPointer<ui::Form2> window = ui::HelpWindow();
    QVERIFY(!window.isNull());
    QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    QTest::keyClicks(Text1Of(window.data()), QStringLiteral("EDIT"));
    QWindow* handle = window->windowHandle();
    QVERIFY(handle != nullptr);
    // The system's close control asks the platform window to close.
    QVERIFY(handle->close());
    QVERIFY(ui::HelpWindow() == nullptr);
    QTRY_VERIFY(window.isNull());

    ui::Command6_Click();
    QVERIFY(ui::HelpWindow() != nullptr);
    QCOMPARE(Text1Of(ui::HelpWindow())->toPlainText(), ShownText());
}

void TestHelp::aboutWhileOpenKeepsEditAndScrollPosition() {
    ui::Command6_Click();
    ui::Form2* window = ui::HelpWindow();
    QVERIFY(window != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QPlainTextEdit* text = Text1Of(window);
    QVERIFY(text != nullptr);
    QTest::keyClicks(text, QStringLiteral("EDIT"));
    const QString edited = text->toPlainText();
    QVERIFY(edited != ShownText());

    QScrollBar* bar = text->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 2);
    bar->setValue(bar->maximum() / 2);
    const int position = bar->value();
    QVERIFY(position > 0);

    ui::Command6_Click();
    QCoreApplication::processEvents();
    QCOMPARE(ui::HelpWindow(), window);
    QCOMPARE(Text1Of(window), text);
    QVERIFY(window->isVisible());
    QCOMPARE(text->toPlainText(), edited);
    QCOMPARE(bar->value(), position);
}

void TestHelp::unloadHelpWindow() {
    // Nothing loaded: nothing happens.
    QVERIFY(ui::HelpWindow() == nullptr);
    ui::UnloadHelpWindow();
    QVERIFY(ui::HelpWindow() == nullptr);
    QVERIFY(!AnyHelpWindowAlive());

    ui::Command6_Click();
    QPointer<ui::Form2> window = ui::HelpWindow();
    QVERIFY(!window.isNull());
    ui::UnloadHelpWindow();
    QVERIFY(window.isNull());
    QVERIFY(ui::HelpWindow() == nullptr);
}

QTEST_MAIN(TestHelp)

#include "test_help.moc"
