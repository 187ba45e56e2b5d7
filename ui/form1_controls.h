// The controls of the main window as data: one row per control, from which
// Form1 builds its widgets.
#pragma once

#include <QString>

#include <span>

namespace ui {

enum class ControlKind { kButton, kCheckBox, kTextField, kLabel, kPicture };

struct ControlSpec {
    ControlKind kind;
    int number;                      // Command10 -> 10, Check16 -> 16, ...
    int left, top, width, height;    // twips from the client area's top left
    const char* text;                // caption, or a text field's default text (UTF-8)
    bool ticked = false;             // check boxes: ticked when the window opens
};

// All 144 controls, grouped as the window is read: inputs, derived values,
// readouts, scales, run settings, options, buttons, pictures, the plot
// column and the plot's axis numbers.
std::span<const ControlSpec> Form1Controls();

// "Command", "Check", "Text", "Label" or "Picture" followed by the number.
QString ControlName(const ControlSpec& control);

}  // namespace ui
