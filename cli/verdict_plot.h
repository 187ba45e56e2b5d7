// The answer of a verification as a picture: the computed ordinates of the
// disk centre and the centre of mass against where the claimed force would
// have moved them, on a logarithmic axis, with the rounding threshold and
// the detection limit, and the verdict as the title.
#pragma once

#include <string>

#include "verify/verify.h"

namespace cli {

// Draws without a display (Qt's offscreen platform). Returns false, with
// the reason, when the file cannot be written whole.
bool DrawVerdictPlot(const verify::VerifyReport& rep, const std::string& path, std::string& reason);

}  // namespace cli
