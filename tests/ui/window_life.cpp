// The end of the program's life, driven through the program itself: the
// driver creates the application, schedules one scenario on the main window
// and hands over to ui::RunProgram, the code main() runs. The scenario ends
// the program in one of the ways a user can while runs are going on, and the
// driver's exit status is the program's, made non-zero when the window did
// not behave as it should on the way out.
//
//   window_life_driver <action>_depth<N>
//
// action: exit         "Выход" pressed while N runs are in progress
//         close        the main window's title-bar close (its close event)
//         destroyed    another X client destroys the main window's X window
//                      (needs an X server: the xcb platform under xvfb-run)
//         helpclose    the help window's title-bar close; the runs go on,
//                      then "Выход" ends them
//         msgbox_exit  a run fails and its message box is up; "Выход" is
//                      pressed on the main window, then the box is accepted
//         msgbox_close the same with the main window's title-bar close
// N is the number of run levels: Start makes the first, and each press of
// "Продолжить" during a run opens one more.
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
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/messages.h"
#include "sim/model.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/program.h"

namespace {

enum class Action { kExit, kClose, kDestroyed, kHelpClose, kMessageExit, kMessageClose };

struct Scenario {
    Action action = Action::kExit;
    int depth = 1;
};

bool ParseScenario(std::string_view name, Scenario& out) {
    static constexpr std::pair<std::string_view, Action> kActions[] = {
        {"exit", Action::kExit},
        {"close", Action::kClose},
        {"destroyed", Action::kDestroyed},
        {"helpclose", Action::kHelpClose},
        {"msgbox_exit", Action::kMessageExit},
        {"msgbox_close", Action::kMessageClose},
    };
    const auto at = name.rfind("_depth");
    if (at == std::string_view::npos) return false;
    const std::string_view action = name.substr(0, at);
    const std::string depth(name.substr(at + 6));
    if (depth.empty() || depth.size() > 3 || depth.find_first_not_of("0123456789") != std::string::npos)
        return false;
    out.depth = std::atoi(depth.c_str());
    if (out.depth < 1) return false;
    for (const auto& [word, a] : kActions) {
        if (word == action) {
            out.action = a;
            return true;
        }
    }
    return false;
}

bool EndsWithMessage(Action a) { return a == Action::kMessageExit || a == Action::kMessageClose; }

// What xdotool windowclose does: XDestroyWindow from a connection of its own.
bool DestroyFromAnotherClient(WId window) {
    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    xcb_generic_error_t* error = nullptr;
    const bool connected = xcb_connection_has_error(other) == 0;
    if (connected)
        error = xcb_request_check(other, xcb_destroy_window_checked(other, static_cast<xcb_window_t>(window)));
    std::free(error);
    xcb_disconnect(other);
    return connected && error == nullptr;
}

QMessageBox* VisibleMessageBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
    return nullptr;
}

// The scenario as a small state machine, advanced by a poll timer. During a
// run the timer fires only inside the run's rounds of event processing, as a
// user's clicks would arrive.
class Life : public QObject {
public:
    explicit Life(Scenario s) : s_(s) {
        poll_.setInterval(1);
        connect(&poll_, &QTimer::timeout, this, &Life::Tick);
        poll_.start();
    }

    // Whether every step was taken and every check held.
    bool Passed() const { return stage_ == Stage::kDone && failures_.empty(); }

    void Report(int status) const {
        for (const std::string& f : failures_) std::fprintf(stderr, "FAIL: %s\n", f.c_str());
        std::fprintf(stderr,
                     "reached %s, deepest run level %d, T at the end %.9g, message boxes seen %d "
                     "(accepted by the driver %d), exit status %d\n",
                     StageName(), deepest_, tEnd_, boxesSeen_, boxesAccepted_, status);
    }

    // After the event loop has returned and the window is gone.
    void CheckAfterProgram() {
        if (!form_.isNull()) Fail("the main window outlived the program");
        if (!help_.isNull()) Fail("the help window outlived the program");
        if (VisibleMessageBox()) Fail("a message box outlived the program");
    }

private:
    enum class Stage { kFind, kStarting, kRaising, kAtDepth, kHelpClosed, kAwaitBox, kBoxUp, kEnding, kDone };

    const char* StageName() const {
        static constexpr const char* kNames[] = {"find", "starting", "raising", "at depth", "help closed",
                                                 "await box", "box up", "ending", "done"};
        return kNames[static_cast<int>(stage_)];
    }

    void Fail(std::string what) {
        failures_.push_back(std::move(what));
        // A scenario gone wrong must still end: no window, no run, no loop.
        if (!form_.isNull()) form_->CloseWindows();
        if (QMessageBox* box = VisibleMessageBox()) box->done(0);
        QCoreApplication::exit(3);
    }

    double T() const { return form_->Controller().Model().T; }
    int Depth() const { return form_->Controller().RunDepth(); }

    void Tick() {
        if (form_.isNull() && stage_ != Stage::kFind) return;
        // Only the scenarios that provoke it may see a message box.
        if (!EndsWithMessage(s_.action) && VisibleMessageBox()) {
            Fail("unexpected message: " + VisibleMessageBox()->text().toStdString());
            return;
        }
        switch (stage_) {
            case Stage::kFind: Find(); break;
            case Stage::kStarting: break;
            case Stage::kRaising: Raise(); break;
            case Stage::kAtDepth: AtDepth(); break;
            case Stage::kHelpClosed: HelpClosed(); break;
            case Stage::kAwaitBox: AwaitBox(); break;
            case Stage::kBoxUp: BoxUp(); break;
            case Stage::kEnding: break;
            case Stage::kDone: break;
        }
    }

    void Find() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<ui::Form1*>(w)) form_ = f;
        if (form_.isNull() || !form_->windowHandle() || !form_->windowHandle()->isExposed()) return;
        form_->installEventFilter(this);
        if (s_.action == Action::kDestroyed && QGuiApplication::platformName() != QLatin1String("xcb")) {
            Fail("an X window can be destroyed only on the xcb platform");
            return;
        }
        if (s_.action == Action::kHelpClose || s_.action == Action::kDestroyed) {
            form_->Button(6)->click();  // About
            help_ = ui::HelpWindow();
            if (help_.isNull() || !help_->isVisible() || form_->OpenWindowCount() != 2) {
                Fail("About did not open the help window");
                return;
            }
        }
        stage_ = Stage::kStarting;
        // Start from its own timer: the poll timer must stay free to fire
        // inside the run.
        QTimer::singleShot(0, this, &Life::Start);
    }

    void Start() {
        stage_ = Stage::kRaising;
        lastT_ = 0;
        form_->Button(1)->click();  // " Начать": returns when every run has ended
        if (form_.isNull()) {
            Fail("the main window was destroyed during the run");
            return;
        }
        AfterRuns();
    }

    // One more run level per round, each once the run has gone on since
    // the previous press.
    void Raise() {
        const int depth = Depth();
        deepest_ = std::max(deepest_, depth);
        if (depth < 1 || !(T() > lastT_)) return;
        lastT_ = T();
        if (depth < s_.depth) {
            form_->Button(3)->click();  // "Продолжить"
            if (Depth() != depth + 1) Fail("Continue during a run did not open a run level");
            deepest_ = std::max(deepest_, Depth());
            return;
        }
        stage_ = Stage::kAtDepth;
        roundsAtDepth_ = 0;
    }

    void AtDepth() {
        // A few rounds at the full depth with the run going on.
        if (Depth() != s_.depth) {
            Fail("the run level changed by itself");
            return;
        }
        if (!(T() > lastT_)) return;
        lastT_ = T();
        if (++roundsAtDepth_ < 3) return;
        switch (s_.action) {
            case Action::kExit:
                EndNow([this] { form_->Button(4)->click(); });  // "Выход"
                break;
            case Action::kClose:
                EndNow([this] { form_->close(); });
                break;
            case Action::kDestroyed:
                EndNow([this] {
                    if (!DestroyFromAnotherClient(form_->winId())) Fail("could not destroy the X window");
                });
                QTimer::singleShot(5000, this, [this] {
                    if (!form_.isNull() && form_->isVisible()) Fail("the window destroyed by X was never closed");
                });
                break;
            case Action::kHelpClose:
                help_->close();
                if (ui::HelpWindow() != nullptr) Fail("the closed help window still counts as loaded");
                if (form_->OpenWindowCount() != 1) Fail("the closed help window still counts as open");
                tHelpClosed_ = T();
                roundsAfterHelp_ = 0;
                stage_ = Stage::kHelpClosed;
                break;
            case Action::kMessageExit:
            case Action::kMessageClose:
                // ML = 0: the next display cycle cannot draw the view and the
                // innermost run ends with its message.
                form_->TextField(29)->setText(QStringLiteral("0"));
                stage_ = Stage::kAwaitBox;
                break;
        }
    }

    // The run must take no step once the main window is closed, however the
    // close came about; an X window destroyed elsewhere closes a little
    // later, so T is taken again as the close arrives.
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The type first: the window's own destruction passes through here,
        // and form_ must not be looked at then.
        if (event->type() == QEvent::Close && watched == form_) tEnd_ = T();
        return false;
    }

    template <class Close>
    void EndNow(Close close) {
        tEnd_ = T();
        stage_ = Stage::kEnding;
        close();
    }

    void HelpClosed() {
        // The runs go on without the help window.
        if (Depth() != s_.depth) {
            Fail("closing the help window ended a run");
            return;
        }
        if (!(T() > lastT_)) return;
        lastT_ = T();
        if (++roundsAfterHelp_ < 3) return;
        if (!(T() > tHelpClosed_)) {
            Fail("the run stopped with the help window");
            return;
        }
        EndNow([this] { form_->Button(4)->click(); });
    }

    void AwaitBox() {
        QMessageBox* box = VisibleMessageBox();
        if (!box) return;
        ++boxesSeen_;
        const auto expected = QString::fromUtf8(app::kSolveErrorText.data(),
                                                static_cast<qsizetype>(app::kSolveErrorText.size()));
        if (box->text() != expected) Fail("the message box says " + box->text().toStdString());
        box_ = box;
        // The main window goes while the box is still up; a user would need
        // the window manager for this, the program must cope all the same.
        EndNow([this] {
            if (s_.action == Action::kMessageExit)
                form_->Button(4)->click();
            else
                form_->close();
        });
        if (form_->OpenWindowCount() != 0) Fail("the main window still counts as open");
        stage_ = Stage::kBoxUp;
        // Then OK, before the box's own event loop has seen the program
        // quitting (which would take the box down by itself).
        BoxUp();
    }

    void BoxUp() {
        if (box_.isNull() || !box_->isVisible()) return;
        if (QAbstractButton* ok = box_->button(QMessageBox::Ok)) {
            ++boxesAccepted_;
            ok->click();
        } else {
            Fail("the message box has no OK button");
        }
    }

    void AfterRuns() {
        if (stage_ != Stage::kEnding && stage_ != Stage::kBoxUp) {
            if (failures_.empty()) Fail("the run ended before the scenario did");
            return;
        }
        if (deepest_ != s_.depth) Fail("the runs reached " + std::to_string(deepest_) + " levels");
        if (Depth() != 0) Fail("runs were left in progress: " + std::to_string(Depth()));
        // No step after the last window went: the rounds that follow see no
        // window open and end their runs at once.
        if (T() != tEnd_) Fail("the run went on after the window was closed");
        if (form_->isVisible()) Fail("the main window is still shown");
        if (form_->OpenWindowCount() != 0) Fail("windows still count as open");
        if (ui::HelpWindow() != nullptr) Fail("the help window is still loaded");
        if (VisibleMessageBox()) Fail("a message box is still up");
        if (EndsWithMessage(s_.action) && boxesSeen_ != 1) Fail("the message box never came");
        if (!failures_.empty()) return;
        stage_ = Stage::kDone;
        poll_.stop();
        // The event loop must end by itself now: the last window is closed.
        QTimer::singleShot(10000, this, [this] { Fail("the event loop did not end after the last window"); });
    }

    Scenario s_;
    QTimer poll_;
    Stage stage_ = Stage::kFind;
    QPointer<ui::Form1> form_;
    QPointer<ui::Form2> help_;
    QPointer<QMessageBox> box_;
    std::vector<std::string> failures_;
    double lastT_ = 0;
    double tEnd_ = -1;
    double tHelpClosed_ = 0;
    int deepest_ = 0;
    int roundsAtDepth_ = 0;
    int roundsAfterHelp_ = 0;
    int boxesSeen_ = 0;
    int boxesAccepted_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    Scenario scenario;
    if (argc != 2 || !ParseScenario(argv[1], scenario)) {
        std::fprintf(stderr, "usage: %s {exit|close|destroyed|helpclose|msgbox_exit|msgbox_close}_depth<N>\n",
                     argv[0]);
        return 64;
    }
    // A run that never returns to the event loop cannot be stopped from it;
    // the alarm's default action ends the process with a failing status.
    alarm(50);
    QApplication app(argc, argv);
    int status = 0;
    {
        Life life(scenario);
        status = ui::RunProgram(app);
        life.CheckAfterProgram();
        life.Report(status);
        if (status == 0 && !life.Passed()) status = 1;
    }
    return status;
}
