#include "ui/program.h"

#include <QApplication>
#include <QIcon>
#include <QTranslator>

#include <cstdio>

#include "ui/form1.h"

namespace ui {

int RunProgram(QApplication& application, const ProgramOptions& options) {
    ApplyProgramStyle();
    // The launcher's id names the program to the desktop: Wayland takes it as
    // the window's app id; under X11 the launcher's StartupWMClass names the
    // window's class, which Qt takes from the application's name (by default
    // the file's, which a copy or a link may change). The icon is compiled
    // in, so the window shows it wherever the program lies.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.morvane1.morvane1"));
    QCoreApplication::setApplicationName(QStringLiteral("morvane1"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/morvane1/morvane1.png")));
    // The English texts are compiled in, from ui/translations/.
    QTranslator english;
    if (options.english) {
        if (!english.load(QStringLiteral(":/i18n/morvane1_en.qm"))) {
            std::fputs("morvane1: this build has no English texts\n", stderr);
            return 70;
        }
        QCoreApplication::installTranslator(&english);
    }
    // The window outlives the event loop, which drives its runs.
    Form1 form(options.rate);
    form.show();
    return application.exec();
}

}  // namespace ui
