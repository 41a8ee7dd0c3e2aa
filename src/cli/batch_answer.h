#pragma once

#include "cli/batch_line.h"
#include "cli/cli_options.h"
#include "cli/equation_report.h"
#include "cli/equation_runner.h"
#include "cli/output_buffers.h"
#include "cli/record_writer_process.h"

#include <optional>
#include <string>
#include <string_view>

namespace valdrex::cli {

// What answering one batch line gave, besides its texts.
struct LineOutcome {
    bool invalid = false;
    bool errorBox = false;
    bool hasRecord = false;
};

// Answers batch lines with a model of its own: the results to `out`, the messages to `err`,
// the record kept for the one writer of the --save file.
class LineAnswerer {
  public:
    explicit LineAnswerer(const CliOptions& options);

    LineOutcome Answer(std::string_view line, int lineNumber, std::string& out, std::string& err);
    std::string_view record() const { return runner_.recordToSave(); }

  private:
    void Invalid(int lineNumber, const std::string& error, std::string& out, std::string& err);

    const CliOptions& options_;
    EquationRunner runner_;
    BatchLine parsed_;
    EquationReport report_;
};

// Where the answers meet, in input order: the output, the one writer of the --save file, and
// the exit status. Construct it before any worker thread starts: the writer is a child process.
class Collector {
  public:
    explicit Collector(const CliOptions& options);

    OutputBuffers io;

    // Takes one answered line whose texts are in `io` already; false when the run must stop
    // (standard output failed).
    bool Take(const LineOutcome& outcome, std::string_view record, int lineNumber);
    // Writes what is left; returns the exit status, the failures of reading left out.
    int Finish();

  private:
    std::optional<RecordWriterProcess> saver_;
    bool anyFailed_ = false;
};

} // namespace valdrex::cli
