// Morvane1: the main window, shown until it is closed or "Выход" is pressed.
#include <QApplication>

#include "ui/form1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::ApplyProgramStyle();
    // The window outlives the event loop: a run that is still unwinding when
    // the loop ends may touch it to the last.
    ui::Form1 form;
    form.show();
    return app.exec();
}
