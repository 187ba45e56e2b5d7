// The sweep's answer as one figure of two panels. For two swept inputs, a
// map: each point at its inputs, marked by its answer and ringed when
// extended precision gave it, with its margin beside it; for one input,
// each point's margin against that input. Beside it, each point's claimed
// force against the largest force its run allows, both logarithmic, with
// the diagonal where the two are equal; a point far below it is a claim
// refuted by that many decades. Only points with a bound are on that panel.
#pragma once

#include <string>
#include <vector>

#include "cli/figure.h"
#include "cli/sweep_report.h"

namespace cli {

// The title, stated in words from the rows.
std::string SweepHeadline(const std::vector<SweepRow>& rows);

// The figure of the rows; axes names their swept inputs, in the order of
// their values.
Figure SweepFigure(const std::vector<SweepRow>& rows, const std::vector<std::string>& axes);

// Draws without a display. Returns false, with the reason, when the file
// cannot be written whole.
bool DrawSweepPlot(const std::vector<SweepRow>& rows, const std::vector<std::string>& axes, const std::string& path,
                   std::string& reason);

}  // namespace cli
