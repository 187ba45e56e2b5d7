// The sweep's answer as one figure: each point's claimed force against the
// largest force its run allows, both logarithmic, with the diagonal where
// the two are equal; a point far below it is a claim refuted by that many
// decades.
#pragma once

#include <string>
#include <vector>

#include "cli/sweep_report.h"

namespace cli {

// The title, stated in words from the rows.
std::string SweepHeadline(const std::vector<SweepRow>& rows);

// Draws without a display. Returns false, with the reason, when the file
// cannot be written whole.
bool DrawSweepPlot(const std::vector<SweepRow>& rows, const std::string& path, std::string& reason);

}  // namespace cli
