// The window program's command line: --rate R, --lang L, --help and
// --version; Qt's own options (-platform, -display, -style ...) belong to
// QApplication. It is read twice: before the application object exists, for
// what needs no display (the help, the version, a bad rate or language), and
// afterwards, strictly, for whatever Qt has left.
#pragma once

#include <QStringList>

#include <optional>

#include "app/pace.h"

namespace ui {

struct ProgramOptions {
    double rate = app::Pace::kDefaultRate;  // simulated seconds per real second, 0 unlimited
    bool english = false;                   // the window's texts in English, not the program's own Russian
};

enum class Arguments {
    kOwnOnly,  // this program's options alone; the rest is left to Qt
    kAll,      // besides single-dash words (Qt's), anything else is an error
};

// args[0] is the program. Returns the exit status when the program ends
// here: 0 after the help or the version, 64 after a usage error (one line
// and a pointer to --help on standard error), 74 when the answer could not
// be written; nothing when it goes on.
std::optional<int> ReadCommandLine(const QStringList& args, Arguments which, ProgramOptions& options);

}  // namespace ui
