// The help text shown by the help window: the program's own Russian, or its
// translation when the program has one (--lang en).
#pragma once

#include <QString>

namespace ui {

// The whole help text: the sixteen pieces in their fixed order, each followed
// by two CR LF pairs, so that an empty line separates every two pieces and the
// text ends with an empty line. A translation adds a piece on the pace keys.
QString BuildHelpText();

}  // namespace ui
