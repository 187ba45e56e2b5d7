// The end of the program with runs in progress, through the program itself:
// the driver schedules one scenario on the main window and hands over to
// ui::RunProgram, the code main() runs. Its exit status is the program's,
// made non-zero unless the program really ended: no window and no message
// box left, every run level unwound, no step made after the window closed.
//
//   window_life_driver ACTION DEPTH
//
// Start opens the first run level and each "Продолжить" during a run one
// more, up to DEPTH; a few rounds later ACTION ends the program:
//   exit          "Выход"
//   close         the main window's title-bar close (its close event)
//   destroyed     another X client destroys the main window's X window, as
//                 xdotool windowclose does (needs the xcb platform)
//   helpclose     the help window's close; the runs go on, then "Выход"
//   msgbox_exit   a run fails and its message box is up: "Выход" on the
//                 main window, then OK on the box
//   msgbox_close  the same with the main window's title-bar close
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/program.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QMessageBox* VisibleBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
    return nullptr;
}

bool DestroyFromAnotherClient(WId window) {
    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    xcb_generic_error_t* error = nullptr;
    const bool connected = xcb_connection_has_error(other) == 0;
    if (connected) error = xcb_request_check(other, xcb_destroy_window_checked(other, xcb_window_t(window)));
    std::free(error);
    xcb_disconnect(other);
    return connected && !error;
}

// Calls back when the watched window gets its close event.
struct CloseWatch : QObject {
    std::function<void()> closed;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) closed();
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return std::fprintf(stderr, "usage: %s ACTION DEPTH\n", argv[0]), 64;
    const std::string action = argv[1];
    const int depth = std::atoi(argv[2]);
    const bool box = action.starts_with("msgbox"), help = action == "helpclose" || action == "destroyed";
    // A run that never returns to the event loop cannot be ended from it.
    alarm(50);
    QApplication app(argc, argv);
    QPointer<ui::Form1> form;
    QPointer<ui::Form2> helpWindow;
    QStringList failures;
    enum { kFind, kRaise, kHelpClosed, kAwaitBox, kEnding, kDone } stage = kFind;
    int deepest = 0, rounds = 0, boxes = 0;
    double lastT = 0, tClosed = -1;
    auto fail = [&](const QString& what) {
        failures << what;
        // A scenario gone wrong must still end: no window, no run, no loop.
        if (form) form->CloseWindows();
        if (QMessageBox* up = VisibleBox()) up->done(0);
        QCoreApplication::exit(3);
    };
    auto T = [&] { return form->Controller().Model().T; };
    auto press = [&](app::Button b) { form->Widget(b)->click(); };
    CloseWatch watch;
    watch.closed = [&] { tClosed = T(); };
    // Once Start has returned, every run level has ended.
    auto afterRuns = [&] {
        if (!form || stage != kEnding) return fail(u"the runs ended before the scenario did"_s);
        if (deepest != depth) fail(QString(u"the runs reached %1 levels"_s).arg(deepest));
        if (form->Controller().RunDepth() != 0) fail(u"run levels are left in progress"_s);
        if (T() != tClosed) fail(u"the run went on after the window was closed"_s);
        if (form->isVisible() || form->OpenWindowCount() != 0 || ui::HelpWindow()) fail(u"a window is left"_s);
        if (VisibleBox() || boxes != (box ? 1 : 0)) fail(QString(u"%1 message boxes came"_s).arg(boxes));
        stage = kDone;
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (stage == kFind) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* f = qobject_cast<ui::Form1*>(w)) form = f;
            if (!form || !form->windowHandle() || !form->windowHandle()->isExposed()) return;
            form->installEventFilter(&watch);
            if (help) press(app::Button::About), helpWindow = ui::HelpWindow();
            if (help && (!helpWindow || !helpWindow->isVisible())) return fail(u"About opened no help window"_s);
            stage = kRaise;
            // Start on a timer of its own: this one fires inside the runs.
            QTimer::singleShot(0, [&] { press(app::Button::Start), afterRuns(); });
            return;
        }
        if (!form || stage >= kEnding) return;
        QMessageBox* up = VisibleBox();
        if (up && stage != kAwaitBox) return fail(u"unexpected message: "_s + up->text());
        if (stage == kAwaitBox) {
            if (!up) return;
            ++boxes;
            if (up->text() != QString::fromUtf8(app::MessageText(app::Message::kSolveError)))
                fail(u"the message box says "_s + up->text());
            // The main window goes while the box is up; then OK.
            stage = kEnding;
            if (action == "msgbox_exit") press(app::Button::Exit);
            else form->close();
            return up->button(QMessageBox::Ok)->click();
        }
        // One move per round of the innermost run, once it has stepped.
        if (form->Controller().RunDepth() < 1 || !(T() > lastT)) return;
        lastT = T();
        deepest = std::max(deepest, form->Controller().RunDepth());
        if (deepest < depth) return press(app::Button::Continue);
        if (++rounds < 3 || (stage == kHelpClosed && rounds < 6)) return;
        if (form->Controller().RunDepth() != depth) return fail(u"a run level ended by itself"_s);
        if (action == "helpclose" && stage == kRaise) {
            helpWindow->close();
            if (ui::HelpWindow() || form->OpenWindowCount() != 1) fail(u"the closed help window still counts"_s);
            stage = kHelpClosed;
        } else if (box) {
            // ML = 0: the next display cycle cannot draw the view.
            form->Widget(app::Field::ML)->setText(u"0"_s);
            stage = kAwaitBox;
        } else {
            stage = kEnding;
            if (action == "close") form->close();
            else if (action != "destroyed") press(app::Button::Exit);
            else if (!DestroyFromAnotherClient(form->winId())) fail(u"could not destroy the X window"_s);
        }
    });
    poll.start(1);
    const int status = ui::RunProgram(app);
    if (form || helpWindow || VisibleBox()) failures << u"a window outlived the program"_s;
    if (stage != kDone) failures << u"the scenario did not finish"_s;
    for (const QString& f : failures) std::fprintf(stderr, "FAIL: %s\n", qPrintable(f));
    std::fprintf(stderr, "%s: %d run levels, T %.9g at the close, exit status %d\n", argv[1], deepest, tClosed,
                 status);
    return status != 0 ? status : failures.isEmpty() ? 0 : 1;
}
