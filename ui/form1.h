// Form1: the main window. It builds its 144 controls from the one table of
// them, holds the run controller and is its window port; a run driver
// advances the runs from the window's event loop.
#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "app/controller.h"
#include "app/pace.h"
#include "app/port.h"
#include "ui/field_texts.h"
#include "ui/run_driver.h"

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
    const RunDriver& Driver() const { return driver_; }
    void SetMessageSink(MessageSink sink);
    double Rate() const { return driver_.Rate(); }
    // A rate that app::Pace::Valid refuses changes nothing. The title shows
    // the rate, and the rate a run reaches when it falls short of it;
    // Ctrl+Up, Ctrl+Down and Ctrl+0 change it too.
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

signals:
    // Every run has ended.
    void runFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void CreateControls();
    // The window's size: the page's, fixed, where the screen has room for
    // it; else as much as the screen holds, resizable.
    void FitScreen();
    void OnButton(app::Button button);
    void ReadLocale();
    void ShowPace();

    // The widgets by what they are (app::Slot).
    std::array<QLineEdit*, app::kFieldCount> fields_{};
    std::array<QCheckBox*, app::kSeriesCount> seriesBoxes_{};
    std::array<QCheckBox*, app::kBoxCount> boxes_{};
    std::array<QPushButton*, app::kButtonCount> buttons_{};
    std::array<PictureBox*, app::kPictureCount> pictures_{};
    FieldTexts texts_;
    QWidget* page_ = nullptr;  // holds the controls, in a scroll area

    MessageSink messageSink_;
    char separator_ = '.';
    bool closed_ = false;
    [[maybe_unused]] bool x11_ = false;  // the window is an X client's (the "xcb" platform)
    app::Controller controller_{*this};
    RunDriver driver_;
};

}  // namespace ui
