// Printing of a verification: a table of rows, then notes and the verdict.
#pragma once

#include <string>

#include "verify/verify.h"
#include "cli/exit_status.h"
#include "cli/output.h"

namespace cli {

// TSV: the table, an empty line, the notes and the verdict on out. CSV:
// only the table on out (header row, decimal points); the notes and the
// verdict on err, so the file reads straight into a spreadsheet. requested
// is the --time asked for, which the runs round to whole steps of h.
void PrintVerifyReport(const verify::VerifyReport& rep, double requested, bool csv, char sep, Output& out,
                       Output& err);

// The verdict in a few words, for a title.
std::string VerdictHeadline(const verify::VerifyReport& rep);
// The numbers behind it in one line.
std::string VerdictDetails(const verify::VerifyReport& rep, char sep);

// v to so many significant digits, as the readouts write numbers.
std::string Rounded(double v, int digits, char sep);

ExitStatus VerdictStatus(verify::Verdict verdict);

}  // namespace cli
