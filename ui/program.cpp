#include "ui/program.h"

#include <QApplication>

#include "ui/form1.h"

namespace ui {

int RunProgram(QApplication& application, double rate) {
    ApplyProgramStyle();
    // The window outlives the event loop, which drives its runs.
    Form1 form(rate);
    form.show();
    return application.exec();
}

}  // namespace ui
