// Every answer of a verification, one row each: the exit status the runner
// ends with, the headline of its figure, its word in a sweep's table, the
// mark of a sweep's figure, and the line of the report that explains it
// with its numbers. A new verdict is a row here and its rule in
// verify::Judge; without its row the build fails.
#pragma once

#include <span>
#include <string>

#include "cli/exit_status.h"
#include "verify/verify.h"

namespace cli {

// How a sweep's figure marks a point: one kind of mark, with its legend,
// for each of its answers.
enum class Mark { kNoForce, kForce, kCannotTell };
inline constexpr int kMarks = 3;

struct VerdictRow {
    verify::Verdict verdict;
    ExitStatus status;     // of --verify, and of the point in a sweep's table
    const char* headline;  // the title of the verification's figure
    const char* word;      // the verdict column of a sweep's table
    Mark mark;             // in a sweep's figure
    // The report's last line: the verdict with the numbers behind it, and
    // what would tell where the run cannot.
    std::string (*explain)(const verify::VerifyReport& rep, char sep);
};

// The row of a verdict; every verdict has one.
const VerdictRow& RowOf(verify::Verdict verdict);
// All of them, in the order of the verdicts.
std::span<const VerdictRow> VerdictRows();

// The exit statuses a verification or a sweep's point may end with, in
// words: "0, 1, 3 or 4".
std::string PointStatuses();
// Whether a verification or a sweep's point may end with this status (as
// read from a table: not a number, or not a whole one, is none).
bool IsPointStatus(double status);
// The mark of the answers that end with this status (the first row's).
Mark MarkOf(ExitStatus status);

}  // namespace cli
