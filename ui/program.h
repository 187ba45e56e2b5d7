// The program as a whole: what main() does between creating the application
// object and returning its exit status. Tests of the window's life call it
// too, so that they run exactly the program's code.
#pragma once

#include "app/pace.h"

class QApplication;

namespace ui {

// Sets the style, the program's icon and its desktop id, creates and shows
// the main window, whose runs go at most at `rate` simulated seconds per
// real second (0: as fast as possible), and runs the event loop until the
// program ends; returns the loop's exit status.
int RunProgram(QApplication& application, double rate = app::Pace::kDefaultRate);

}  // namespace ui
