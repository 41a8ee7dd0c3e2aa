#pragma once

// --batch: the equations of standard input answered on this thread or by workers, the answers
// and records kept in input order.

#include "cli/command_line.h"
#include "cli/equation.h"
#include "cli/output_text.h"
#include "cli/records.h"
#include "cli/standard_streams.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace valdrex::cli {

// One line of batch input, read: skipped, an equation, or invalid.
struct BatchLine {
    enum class Kind { Skip, Equation, Invalid } kind = Kind::Skip;
    // For an equation: its grid texts, highest power first (views into the line, or into
    // `converted` for numbers the grid would not read as written)...
    std::array<std::string_view, kMaxCoefficients> coefficients;
    int count = 0;
    std::string_view typed; // ...or the line itself, a typed equation (then `count` is 0)
    std::string error;      // for an invalid line
    std::array<std::string, kMaxCoefficients> converted;
};

// The longest batch line taken, line end aside: a longer one is refused unread, so that no line
// can take the memory the run needs.
inline constexpr std::size_t kMaxBatchLineBytes = 1 << 20;

// Reads a line (without its line feed; a trailing carriage return is dropped): a typed equation
// when IsTypedEquation, otherwise coefficients separated by blanks or tabs. Blank lines and lines
// whose first non-blank character is "#" are skipped; a line longer than kMaxBatchLineBytes is
// invalid.
void ParseBatchLine(std::string_view line, BatchLine& out);

// What answering one batch line gave, besides its texts.
struct LineOutcome {
    bool invalid = false;
    bool errorBox = false;
    bool hasRecord = false;
    bool interrupted = false; // Ctrl+C stopped the solve: no answer, nothing written
};

// Answers batch lines with a model of its own: the results to `out`, the messages to `err`,
// the record kept for the one writer of the --save file.
class LineAnswerer {
  public:
    explicit LineAnswerer(const CliOptions& options);

    // A line that runs out of memory is invalid, with nothing of it in `out` or `err` (unless a
    // long piece of it was written already).
    LineOutcome Answer(std::string_view line, int lineNumber, OutputText out, std::string& err);
    RecordLine record() const { return runner_.recordToSave(); }

  private:
    LineOutcome AnswerLine(std::string_view line, int lineNumber, OutputText out, std::string& err);
    void Invalid(int lineNumber, const std::string& error, OutputText out, std::string& err);

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
    bool Take(const LineOutcome& outcome, const RecordLine& record, int lineNumber);
    // Writes what is left; returns the exit status, the failures of reading left out.
    int Finish();

  private:
    std::optional<RecordWriterProcess> saver_;
    bool anyFailed_ = false;
};

// Reads the lines on this thread and has `jobs` worker threads answer them, a chunk of lines at
// a time; hands the answers to the collector in input order, with the same flushes as one job.
void AnswerInWorkers(const CliOptions& options, int jobs, LineReader& reader, Collector& collector);

// --batch: answers every line of standard input in input order with `jobs` workers (the lines
// answered on this thread when 1), the same bytes on standard output, standard error and in the
// --save file whatever the number of jobs. Returns the exit status.
int RunBatch(const CliOptions& options, int jobs);

// One job for each core this process may run on.
int CoreCount();

} // namespace valdrex::cli
