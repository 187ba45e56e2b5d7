#include "ui/field_texts.h"

#include <QLineEdit>
#include <QObject>

namespace ui {

const std::string& FieldTexts::Get(app::Field f) const {
    const std::size_t at = app::Slot(f);
    return pendingSet_.at(at) ? pending_[at] : shown_[at];
}

void FieldTexts::Set(app::Field f, std::string_view text) {
    const std::size_t at = app::Slot(f);
    pending_.at(at).assign(text);
    pendingSet_[at] = true;
    anyPending_ = true;
}

void FieldTexts::Follow(app::Field f, QLineEdit* widget) {
    const std::size_t at = app::Slot(f);
    widgets_.at(at) = widget;
    shown_[at] = widget->text().toStdString();
    QObject::connect(widget, &QLineEdit::textChanged, widget,
                     [this, at](const QString& now) { shown_[at] = now.toStdString(); });
}

void FieldTexts::Show() {
    if (!anyPending_) return;
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        if (!pendingSet_[i]) continue;
        pendingSet_[i] = false;
        QLineEdit* field = widgets_[i];
        field->setText(QString::fromStdString(pending_[i]));
        // Like the old text boxes, show a long number from its first digit.
        field->setCursorPosition(0);
    }
    anyPending_ = false;
}

}  // namespace ui
