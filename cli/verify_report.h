// Printing of a verification: a table of rows, then notes and the verdict.
#pragma once

#include "app/verify.h"

namespace cli {

// TSV: the table, an empty line, the notes and the verdict on stdout. CSV:
// only the table on stdout (header row, decimal points); the notes and the
// verdict on stderr, so the file reads straight into a spreadsheet.
void PrintVerifyReport(const app::VerifyReport& rep, bool csv, char sep);

}  // namespace cli
