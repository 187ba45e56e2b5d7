#include "ui/form2.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QString>

#include "ui/help_text.h"
#include "ui/twips.h"

namespace ui {
namespace {

QPointer<Form2>& LoadedHelpWindow() {
    static QPointer<Form2> window;
    return window;
}

}  // namespace

Form2::Form2()
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                  Qt::WindowCloseButtonHint),
      text_(new QPlainTextEdit(this)),
      close_(new QPushButton(tr("Закрыть"), this)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("About"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The help alone must not keep the program running once the main window
    // has gone.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(TwipsToPx(6345), TwipsToPx(3495));

    text_->setObjectName(QStringLiteral("helpText"));
    text_->setGeometry(TwipsRect(0, 0, 6315, 2895));
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setReadOnly(false);

    close_->setObjectName(QStringLiteral("closeButton"));
    close_->setGeometry(TwipsRect(5040, 3150, 1215, 300));
    connect(close_, &QPushButton::clicked, this, &QWidget::close);

    setTabOrder(text_, close_);
    text_->setFocus();

    LoadText();
}

void Form2::LoadText() {
    // The help text keeps the CR LF pairs of its pieces; the text field
    // breaks lines at LF alone.
    QString text = BuildHelpText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text_->setPlainText(text);
}

void Form2::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    // WA_DeleteOnClose deletes the window only when control returns to the
    // event loop; from now on "About" must build a fresh one.
    if (event->isAccepted() && LoadedHelpWindow() == this) {
        LoadedHelpWindow() = nullptr;
    }
}

void OpenHelpWindow() {
    QPointer<Form2>& window = LoadedHelpWindow();
    if (window.isNull()) {
        window = new Form2;
        window->show();
    } else {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
    }
    window->activateWindow();
}

Form2* HelpWindow() { return LoadedHelpWindow().data(); }

void UnloadHelpWindow() {
    QPointer<Form2> window = LoadedHelpWindow();
    if (window.isNull()) {
        return;
    }
    window->close();
    // Destroy it now rather than at the next pass of the event loop, which
    // may never come when the program is ending; deleting the object also
    // drops its pending deferred deletion.
    if (!window.isNull()) {
        delete window.data();
    }
}

}  // namespace ui
