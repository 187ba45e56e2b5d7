// The program as a whole: what main() does between creating the application
// object and returning its exit status. Tests of the window's life call it
// too, so that they run exactly the program's code.
#pragma once

#include "ui/command_line.h"

class QApplication;

namespace ui {

// Sets the style, the program's icon, its desktop id and its language,
// creates and shows the main window, whose runs go at most at the options'
// rate, and runs the event loop until the program ends; returns the loop's
// exit status.
int RunProgram(QApplication& application, const ProgramOptions& options = {});

}  // namespace ui
