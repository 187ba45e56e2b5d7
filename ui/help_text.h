// The Russian help text shown by the help window.
#pragma once

#include <string>

namespace ui {

// The whole help text: the sixteen pieces in their fixed order, each followed
// by two CR LF pairs, so that an empty line separates every two pieces and the
// text ends with an empty line.
std::string BuildHelpText();

}  // namespace ui
