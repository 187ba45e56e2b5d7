// Form2: the help window opened by the main window's "About" button.
#pragma once

#include <QWidget>

class QCloseEvent;
class QPlainTextEdit;
class QPushButton;

namespace ui {

// A top-level window without an owner; it never blocks the main window, so a
// run goes on while the help is read. Closing it unloads it: the object is
// destroyed and whatever the user typed into the text is lost.
class Form2 : public QWidget {
    Q_OBJECT

public:
    // Creating the window loads it: Form_Load runs here.
    Form2();

    QPlainTextEdit* Text1() const { return text1_; }
    QPushButton* Command1() const { return command1_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Command1_Click();

    QPlainTextEdit* text1_;
    QPushButton* command1_;
};

// The main window's "About": loads and shows the help window, or, when it is
// already open, brings it to the front without touching its text.
void Command6_Click();

// The loaded help window, or nullptr when it is not loaded. A window that has
// been closed counts as unloaded at once, even before its deferred deletion.
Form2* HelpWindow();

// Closes and destroys the help window if it is loaded. Meant for the main
// window (for instance on exit); not to be called from the help window's own
// handlers.
void UnloadHelpWindow();

}  // namespace ui
