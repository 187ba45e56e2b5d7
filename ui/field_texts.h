// The texts of the window's fields as the run controller reads and writes
// them: what each field shows, kept in step with its widget, and what the
// program wrote that the widget does not show yet. A run writes some thirty
// readouts a display cycle and reads its settings back, thousands of times
// between two repaints, without converting a widget's text.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "app/controls.h"

class QLineEdit;

namespace ui {

class FieldTexts {
public:
    // What the field shows or, once written, will show.
    const std::string& Get(app::Field f) const;
    // Written now, shown at the next Show.
    void Set(app::Field f, std::string_view text);
    // Keeps the field's text in step with its widget, from now on.
    void Follow(app::Field f, QLineEdit* widget);
    // Puts the texts written since the last call into their widgets.
    void Show();

private:
    std::array<QLineEdit*, app::kFieldCount> widgets_{};
    std::array<std::string, app::kFieldCount> shown_;
    std::array<std::string, app::kFieldCount> pending_;
    std::array<bool, app::kFieldCount> pendingSet_{};
    bool anyPending_ = false;
};

}  // namespace ui
