// The runner's exit statuses, one per kind of ending. --help, the man page
// and the README list the same.
#pragma once

namespace cli {

enum class ExitStatus : int {
    kDone = 0,            // the run finished; --verify: no lateral force
    kLedgerFails = 1,     // --verify: a lateral force acts, or the ledger does not hold
    kInputRefused = 2,    // an input value refused
    kRunFailed = 3,       // the run stopped on an error of the equations or the plot
    kInconclusive = 4,    // --verify: this run cannot tell (says what would)
    kUsage = 64,          // the command line itself is wrong
    kWriteFailed = 74,    // the output could not be written (a full disk; a closed pipe is SIGPIPE)
};

}  // namespace cli
