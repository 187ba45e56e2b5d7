// The runner's sweep: every point of the grid verified at its own scales on
// every core, one row per point, the count of the answers and the figure;
// and the figure drawn again from saved tables.
#pragma once

#include "cli/exit_status.h"
#include "cli/options.h"
#include "cli/output.h"

namespace cli {

ExitStatus RunSweep(const Options& opt, Output& out);
ExitStatus PlotFrom(const Options& opt, Output& out);

}  // namespace cli
