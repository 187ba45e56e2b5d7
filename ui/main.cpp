// Morvane1: the main window, shown until it is closed or "Выход" is pressed.
#include <QApplication>

#include "ui/command_line.h"
#include "ui/program.h"

int main(int argc, char** argv) {
    ui::ProgramOptions options;
    // Before the application object: --help, --version, a bad --rate or
    // --lang need no display.
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    if (const auto status = ui::ReadCommandLine(args, ui::Arguments::kOwnOnly, options)) return *status;
    QApplication app(argc, argv);
    if (const auto status = ui::ReadCommandLine(QApplication::arguments(), ui::Arguments::kAll, options))
        return *status;
    return ui::RunProgram(app, options);
}
