// The program's end at run depth DEPTH, through ui::RunProgram:
//   window_life_driver {exit|close|destroyed|helpclose|msgbox_exit|msgbox_close} DEPTH [program options]
// Status 0 only if the window fits its screen, and no window, box or run level is left, nor a step after the close.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <unistd.h>
#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/command_line.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/program.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QMessageBox* VisibleBox() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }

// As xdotool windowclose does: from a connection of its own.
#if __has_include(<xcb/xcb.h>)
bool DestroyFromAnotherClient(WId window) {
    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    auto* error = xcb_request_check(other, xcb_destroy_window_checked(other, static_cast<xcb_window_t>(window)));
    const bool destroyed = !xcb_connection_has_error(other) && !error;
    std::free(error), xcb_disconnect(other);
    return destroyed;
}
#else
bool DestroyFromAnotherClient(WId) { return false; }  // no X client here
#endif

}  // namespace

int main(int argc, char** argv) {
    const std::string action = argc >= 3 ? argv[1] : "";
    const int depth = argc >= 3 ? std::atoi(argv[2]) : 0;
    if (std::string(" exit close destroyed helpclose msgbox_exit msgbox_close ").find(' ' + action + ' ') ==
            std::string::npos || depth < 1)
        return std::fprintf(stderr, "usage: %s ACTION DEPTH\n", argv[0]), 64;
    const bool box = action.starts_with("msgbox"), help = action == "helpclose" || action == "destroyed";
    alarm(50);  // a run that never returns to the event loop cannot be ended from it
    QApplication app(argc, argv);
    ui::ProgramOptions options;
    if (ui::ReadCommandLine(QStringList{argv[0]} + QApplication::arguments().mid(3), ui::Arguments::kAll, options))
        return 64;
    QPointer<ui::Form1> form;
    QPointer<ui::Form2> helpWindow;
    enum { kRaise, kHelpClosed, kAwaitBox, kEnding, kEnded } stage = kRaise;
    int deepest = 0, rounds = 0, boxes = 0;
    double lastT = 0, tClosed = -1;
    bool wrong = false;
    auto fail = [&](const char* what) {
        std::fprintf(stderr, "FAIL: %s\n", what);
        wrong = true;
        if (form) form->CloseWindows();
        if (QMessageBox* up = VisibleBox()) up->done(0);
        QCoreApplication::exit(3);
    };
    auto T = [&] { return form->Controller().Model().s.T; };
    auto levels = [&] { return form->Controller().RunDepth(); };
    auto press = [&](app::Button b) { form->Widget(b)->click(); };
    // As a user clicks: with xdotool at the button's screen pixel on X, else through the window.
    auto click = [&](app::Button b) {
        QPushButton* button = form->Widget(b);
        form->findChild<QScrollArea*>()->ensureWidgetVisible(button);
        if (button->visibleRegion() != QRegion(button->rect())) return fail("the button cannot be seen whole");
        const QPoint at = button->mapTo(form, button->rect().center());
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, at);
        const QPoint pixel = form->mapToGlobal(at) * form->devicePixelRatio();
        const QStringList xdotool{u"mousemove"_s, QString::number(pixel.x()), QString::number(pixel.y()), u"click"_s, u"1"_s};
        if (QProcess::execute(u"xdotool"_s, xdotool) != 0) fail("xdotool could not click");
    };
    QTimer poll;  // fires between the runs' slices, where a user's presses come in
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<ui::Form1*>(w)) form = f;
        if (!form || !QTest::qWaitForWindowExposed(form)) return fail("the main window did not show");
        if (!form->screen()->availableGeometry().contains(form->frameGeometry()))
            return fail("the window does not fit its screen");
        QObject::connect(form->windowHandle(), &QWindow::visibleChanged, [&](bool shown) {
            if (!shown) tClosed = T();
        });
        if (help) press(app::Button::About), helpWindow = ui::HelpWindow();
        if (help && (!helpWindow || !helpWindow->isVisible())) return fail("About opened no help window");
        poll.start(1);
        press(app::Button::Start);
    });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&] {
        if (!form) return fail("the main window was destroyed in a run");
        std::fprintf(stderr, "%s: %d run levels, %d left; T %.9g, %.9g at the close; %d window(s) open, %d box(es)\n",
                     argv[1], deepest, levels(), T(), tClosed, form->OpenWindowCount(), boxes);
        if (stage != kEnding || deepest != depth || levels() != 0 || T() != tClosed || form->isVisible() ||
            form->OpenWindowCount() != 0 || ui::HelpWindow() || VisibleBox() || boxes != int(box))
            return fail("the program did not end as it should");
        stage = kEnded;
    });
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!form || stage >= kEnding) return;
        QMessageBox* up = VisibleBox();
        const QString expected = QString::fromUtf8(app::MessageText(app::Message::kSolveError));
        if (up && (stage != kAwaitBox || up->text() != expected)) return fail(qPrintable("message: " + up->text()));
        if (stage == kAwaitBox) {
            if (!up) return;
            ++boxes, stage = kEnding;
            if (action == "msgbox_exit") press(app::Button::Exit);
            else form->close();
            return up->button(QMessageBox::Ok)->click();
        }
        // One move per round of the innermost run, once it has stepped.
        if (levels() < 1 || !(T() > lastT)) return;
        lastT = T(), deepest = std::max(deepest, levels());
        if (deepest < depth) return press(app::Button::Continue);
        if (++rounds < 3 || (stage == kHelpClosed && rounds < 6)) return;
        if (levels() != depth) return fail("a run level ended by itself");
        if (action == "helpclose" && stage == kRaise) {
            helpWindow->close(), stage = kHelpClosed;
            if (ui::HelpWindow() || form->OpenWindowCount() != 1) fail("the closed help window still counts");
        } else if (box) {
            form->Widget(app::Field::ML)->setText(QStringLiteral("0"));  // the next display cycle cannot draw
            stage = kAwaitBox;
        } else {
            stage = kEnding;
            if (action == "close") form->close();
            else if (action != "destroyed") click(app::Button::Exit);
            else if (!DestroyFromAnotherClient(form->winId())) fail("could not destroy the X window");
        }
    });
    const int status = ui::RunProgram(app, options);
    if (form || helpWindow || VisibleBox()) fail("a window outlived the program");
    if (stage != kEnded) fail("the scenario did not finish");
    return status != 0 ? status : wrong ? 1 : 0;
}
