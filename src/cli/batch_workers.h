#pragma once

#include "cli/batch_answer.h"
#include "cli/cli_options.h"
#include "cli/line_reader.h"

namespace valdrex::cli {

// Reads the lines on this thread and has `jobs` worker threads answer them, a chunk of lines at
// a time; hands the answers to the collector in input order, with the same flushes as one job.
void AnswerInWorkers(const CliOptions& options, int jobs, LineReader& reader, Collector& collector);

} // namespace valdrex::cli
