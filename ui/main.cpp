// Morvane1: the main window, shown until it is closed or "Выход" is pressed.
#include <QApplication>

#include "ui/program.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return ui::RunProgram(app);
}
