// The controls of the main window as data: one row per control, from which
// Form1 builds its widgets. This table is the one place that ties a control
// the engine knows by what it is (app::Field, Button ...) to the form's
// number, its position, caption, kind and Qt object name.
#pragma once

#include <QString>

#include <cstddef>
#include <span>

#include "app/controls.h"

namespace ui {

// A check box is a series of the plot or one of the other two boxes.
enum class ControlKind { kButton, kSeries, kBox, kTextField, kLabel, kPicture };

struct ControlSpec {
    ControlKind kind;
    int number;                    // the form's number: Text60, Command7, Label85 ...
    std::size_t slot;              // app::Slot of its app::Field, Series, Box, Button or Picture
    int left, top, width, height;  // twips from the client area's top left
    const char* text;              // caption (UTF-8, the program's own); a text field's first text, empty for its name
    bool ticked = false;           // check boxes: ticked when the window opens
};

// All 144 controls, grouped as the window is read: inputs, derived values,
// readouts, scales, run settings, options, buttons, pictures, the plot
// column and the plot's axis numbers.
std::span<const ControlSpec> Form1Controls();

// The Qt object name: "Command", "Check", "Text", "Label" or "Picture" and
// the number.
QString ControlName(const ControlSpec& control);

// What a text field shows until the program first writes it: a readout its
// own name, the twist test's angle "0,2" (the inputs get preset 1 at once).
QString FirstText(const ControlSpec& control);

}  // namespace ui
