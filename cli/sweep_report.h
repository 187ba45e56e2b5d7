// The sweep's answer as a table (one row per point, in grid order), the
// line that counts the answers, the sweep's exit status, and the rows read
// back from saved tables for the figure.
#pragma once

#include <string>
#include <vector>

#include "cli/exit_status.h"
#include "verify/sweep.h"

namespace cli {

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
// or two tables give the same point.
// axes gets the names of the swept inputs, in the order of the values.
bool ReadSweepTables(const std::vector<std::string>& paths, std::vector<SweepRow>& rows,
                     std::vector<std::string>& axes, std::string& error);

}  // namespace cli
