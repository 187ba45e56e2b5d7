// Printing of a verification: a table of rows, then notes and the verdict.
#pragma once

#include <string>

#include "verify/verify.h"
#include "cli/output.h"

namespace cli {

// TSV: the table, an empty line, the notes and the verdict on out. CSV:
// only the table on out (header row, decimal points); the notes and the
// verdict on err, so the file reads straight into a spreadsheet. requested
// is the --time asked for, which the runs round to whole steps of h.
void PrintVerifyReport(const verify::VerifyReport& rep, double requested, bool csv, char sep, Output& out,
                       Output& err);

// The numbers behind the verdict in one line, for a figure.
std::string VerdictDetails(const verify::VerifyReport& rep, char sep);

// A value as the reports write it: 15 significant digits, "-" for none.
std::string Num(double v, char sep);
// v to so many significant digits, as the readouts write numbers.
std::string Rounded(double v, int digits, char sep);
// A factor to two significant digits: "40", "3.1", "0.052".
std::string Factor(double v, char sep);
// "Px", "Py", "Lz", "Yc".
const char* LedgerName(verify::LedgerRow row);

}  // namespace cli
