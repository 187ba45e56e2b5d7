// The controls of the main window as data: one row per control, from which
// Form1 builds its widgets. This table is the one place that ties a control
// to its position, caption, kind and Qt object name.
#pragma once

#include <QString>

#include <span>

#include "app/controls.h"

namespace ui {

enum class ControlKind { kButton, kCheckBox, kTextField, kLabel, kPicture };

struct ControlSpec {
    ControlKind kind;
    int number;                    // the form's number: Text60, Command7, Label85 ...
    int left, top, width, height;  // twips from the client area's top left
    const char* text;              // caption (UTF-8); empty for a text field
    bool ticked = false;           // check boxes: ticked when the window opens
};

// All 144 controls, grouped as the window is read: inputs, derived values,
// readouts, scales, run settings, options, buttons, pictures, the plot
// column and the plot's axis numbers.
std::span<const ControlSpec> Form1Controls();

// The Qt object name: "Command", "Check", "Text", "Label" or "Picture" and
// the number.
QString ControlName(const ControlSpec& control);

}  // namespace ui
