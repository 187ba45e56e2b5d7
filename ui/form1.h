// Form1: the main window. It holds the 144 controls and the run controller,
// is the controller's window port, and drives a run from its event loop:
// a timer calls one slice of the run at a time, paced to the chosen rate.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "app/controller.h"
#include "app/pace.h"
#include "app/port.h"

class QCheckBox;
class QCloseEvent;
class QLineEdit;
class QPushButton;
class QShowEvent;

namespace ui {

class PictureBox;

// The look the window was drawn for: the classic "Windows" style of the
// Qt build, whose plain bevelled fields fit the old layout and repaint
// quickly. The program calls it once, before creating any window.
void ApplyProgramStyle();

class Form1 : public QWidget, public app::WindowPort {
    Q_OBJECT

public:
    // Receives every message the program shows; the default one opens the
    // modal message box.
    using MessageSink = std::function<void(const QString&)>;

    // Creating the window loads it: the controls exist, then Load runs,
    // all before it is first shown. Runs go at most at `rate` simulated
    // seconds per real second, 0 for as fast as possible.
    explicit Form1(double rate = app::Pace::kDefaultRate);
    ~Form1() override;

    app::Controller& Controller() { return controller_; }
    void SetMessageSink(MessageSink sink);
    double Rate() const { return pace_.Rate(); }
    // A rate that app::Pace::Valid refuses changes nothing. The title shows
    // the rate; Ctrl+Up, Ctrl+Down and Ctrl+0 change it too.
    void SetRate(double rate);

    QLineEdit* Widget(app::Field f) const;
    QCheckBox* Widget(app::Series s) const;
    QCheckBox* Widget(app::Box b) const;
    QPushButton* Widget(app::Button b) const;
    PictureBox* Widget(app::Picture p) const;

    // app::WindowPort
    std::string GetText(app::Field f) override;
    void SetText(app::Field f, std::string_view text) override;
    int CheckValue(app::Series s) override;
    int CheckValue(app::Box b) override;
    app::Surface& Picture(app::Picture p) override;
    void MessageBox(app::Message message) override;
    int OpenWindowCount() override;
    void CloseWindows() override;
    void ShowHelp() override;
    void Present() override;
    char DecimalSeparator() override;

    // The longest slice of a run before the window takes its events again;
    // painting and polling thousands of times a second would cost more than
    // the run itself, and every ~10 ms is as often as anyone can see.
    static constexpr qint64 kPresentIntervalNs = 10'000'000;
    // A display that takes long to repaint stretches the slices up to this.
    static constexpr qint64 kLongestPresentIntervalNs = 100'000'000;

signals:
    // Every run has ended.
    void runFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void CreateControls();
    void OnButton(app::Button button);
    void ReadLocale();
    // One slice of the run, when the pace says it is due.
    void RunSlice();
    // After anything that may start or end a run: the next slice is
    // scheduled, or runFinished is emitted.
    void FollowRun();
    void RateChanged();
    qint64 Now() const { return clock_.nsecsElapsed(); }

    // The widgets by what they are (app::Slot).
    std::array<QLineEdit*, app::kFieldCount> texts_{};
    std::array<QCheckBox*, app::kSeriesCount> seriesBoxes_{};
    std::array<QCheckBox*, app::kBoxCount> boxes_{};
    std::array<QPushButton*, app::kButtonCount> buttons_{};
    std::array<PictureBox*, app::kPictureCount> pictures_{};

    // What each field shows, kept in step with the widget, so that a run
    // reading its settings every display cycle does not convert them anew.
    std::array<std::string, app::kFieldCount> shown_;
    // Texts the program wrote and the widgets do not show yet.
    std::array<std::string, app::kFieldCount> pending_;
    std::array<bool, app::kFieldCount> pendingSet_{};
    bool anyPending_ = false;

    QTimer sliceTimer_;
    QElapsedTimer clock_;
    app::Pace pace_;
    qint64 sliceLimitNs_ = kPresentIntervalNs;
    qint64 roundStart_ = -1;  // when a slice due at once gave the window its turn
    bool running_ = false;
    bool slicing_ = false;
    int boxesUp_ = 0;
    MessageSink messageSink_;
    char separator_ = '.';
    bool closed_ = false;
    app::Controller controller_{*this};
};

}  // namespace ui
