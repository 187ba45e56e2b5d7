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
    // Creating the window loads it: the help text is built here.
    Form2();

    QPlainTextEdit* HelpText() const { return text_; }
    QPushButton* CloseButton() const { return close_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void LoadText();

    QPlainTextEdit* text_;
    QPushButton* close_;
};

// The main window's "About": loads and shows the help window, or, when it is
// already open, brings it to the front without touching its text.
void OpenHelpWindow();

// The loaded help window, or nullptr when it is not loaded. A window that has
// been closed counts as unloaded at once, even before its deferred deletion.
Form2* HelpWindow();

// Closes and destroys the help window if it is loaded. Meant for the main
// window (for instance on exit); not to be called from the help window's own
// handlers.
void UnloadHelpWindow();

}  // namespace ui
