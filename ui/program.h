// The program as a whole: what main() does between creating the application
// object and returning its exit status. Tests of the window's life call it
// too, so that they run exactly the program's code.
#pragma once

class QApplication;

namespace ui {

// Sets the style, creates and shows the main window and runs the event loop
// until the program ends; returns the event loop's exit status.
int RunProgram(QApplication& app);

}  // namespace ui
