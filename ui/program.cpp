#include "ui/program.h"

#include <QApplication>

#include "ui/form1.h"

namespace ui {

int RunProgram(QApplication& app) {
    ApplyProgramStyle();
    // The window outlives the event loop: a run that is still unwinding when
    // the loop ends may touch it to the last.
    Form1 form;
    form.show();
    return app.exec();
}

}  // namespace ui
