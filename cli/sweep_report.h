// The sweep's answer as a table (one row per point, in grid order), the
// line that counts the answers, the sweep's exit status, and the rows read
// back from saved tables for the figure.
#pragma once

#include <string>
#include <vector>

#include "cli/exit_status.h"
#include "verify/sweep.h"

namespace cli {

// The table's first line: "# sweep", what makes every point of the sweep
// the one it is (the swept inputs with their ends and spacing, the points
// along each, every other input of the motion, the twist, each point's
// step and length, the injected force), and the part of it that the table
// holds: "# sweep V0=0.001:1e+05:log points=9 m0=... part=1/4". Numbers
// are written to read back as the same doubles. Parts of one sweep differ
// only in the part.
std::string SweepIdentityLine(const verify::Grid& grid, const verify::Scaling& scaling, const sim::Parameters& inputs,
                              double fi0, double injectedForceY0, verify::PrecisionChoice precision);

// The header and one row per point: its inputs and scale, its numbers,
// and its verdict's word and exit status, those a single --verify of the
// same inputs, h and time gives. delim between the cells, sep the decimal
// separator of the numbers.
std::string SweepTable(const verify::Grid& grid, const std::vector<verify::PointResult>& points, char delim,
                       char sep);

// What the figure needs of a point.
struct SweepRow {
    long long point{};
    std::vector<double> values;  // the swept inputs, one per axis
    double fmrv{};               // the claimed force [N]
    double forceBound{};         // the largest force the run allows [N]
    ExitStatus status = ExitStatus::kInconclusive;
    verify::Precision precision = verify::Precision::kDouble;  // the number type that answered
    bool diverged = false;  // its runs did not converge: no verdict at all, not a claim too small to tell
};
std::vector<SweepRow> RowsOf(const std::vector<verify::PointResult>& points);

struct SweepCounts {
    long long points = 0, noForce = 0, acts = 0, inconclusive = 0, failed = 0;
};
SweepCounts CountAnswers(const std::vector<SweepRow>& rows);
// "81 points: 81 no lateral force, 0 a lateral force acts, 0 inconclusive, 0 failed"
std::string SweepSummary(const SweepCounts& counts);
// 0 when every point says no lateral force, 1 when any says a force acts,
// 4 otherwise.
ExitStatus SweepStatus(const SweepCounts& counts);

// Reads the rows of saved sweep tables (TSV or CSV, decimal point or
// comma), merged in grid order. Only regular files of a sane size are read.
// Returns false, with the reason, when a file cannot be read as a table,
// the tables are not parts of one sweep (their identity lines differ, or
// one of several lacks its line), two tables give the same point, or a
// point lies beyond the sweep's grid.
// axes gets the names of the swept inputs, in the order of the values;
// gridSize the points of the whole sweep, 0 for a table without its
// identity line (made by hand: it is taken alone, as a whole).
bool ReadSweepTables(const std::vector<std::string>& paths, std::vector<SweepRow>& rows,
                     std::vector<std::string>& axes, long long& gridSize, std::string& error);

}  // namespace cli
