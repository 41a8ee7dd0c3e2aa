#pragma once

#include "cli/cli_options.h"

namespace valdrex::cli {

// --batch: answers every line of standard input in input order with `jobs` workers (the lines
// answered on this thread when 1), the same bytes on standard output, standard error and in the
// --save file whatever the number of jobs. Returns the exit status.
int RunBatch(const CliOptions& options, int jobs);

// One job for each core this process may run on.
int CoreCount();

} // namespace valdrex::cli
