#include "cli/batch.h"

#include "cli/output_text.h"
#include "cli/standard_streams.h"
#include "core/coefficient_text.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <sched.h>
#include <thread>
#include <unistd.h>

namespace valdrex::cli {
namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t';
}

// Reads and answers on this thread: one job costs no thread.
void AnswerHere(const CliOptions& options, LineReader& reader, Collector& collector) {
    LineAnswerer answerer(options);
    OutputBuffers& io = collector.io;
    std::string_view line;
    int lineNumber = 0;
    const auto flush = [&io] { io.Flush(); };
    while (!Interrupted() && reader.Next(line, flush)) {
        ++lineNumber;
        const LineOutcome outcome = answerer.Answer(line, lineNumber, io, io.err);
        if (outcome.interrupted || !collector.Take(outcome, answerer.record(), lineNumber))
            break;
    }
}

} // namespace

void ParseBatchLine(std::string_view line, BatchLine& out) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    out.count = 0;
    out.typed = {};
    out.error.clear();
    if (line.size() > kMaxBatchLineBytes) {
        out.kind = BatchLine::Kind::Invalid;
        out.error = "longer than 1 MiB";
        return;
    }

    std::size_t i = 0;
    while (i < line.size() && IsSeparator(line[i]))
        ++i;
    if (i == line.size() || line[i] == '#') {
        out.kind = BatchLine::Kind::Skip;
        return;
    }

    int total = 0;
    while (i < line.size()) {
        const std::size_t start = i;
        while (i < line.size() && !IsSeparator(line[i]))
            ++i;
        const std::string_view token = line.substr(start, i - start);
        if (total < kMaxCoefficients)
            out.coefficients[total] = token;
        if (!IsPlainNumber(token)) { // seldom: the usual number goes into the grid as it is
            // Only a token that is no plain number can hold what makes a typed equation.
            if (IsTypedEquation(line)) {
                out.kind = BatchLine::Kind::Equation;
                out.typed = line;
                return;
            }
            CoefficientArgument argument = ReadCoefficientArgument(token);
            if (!argument.error.empty()) {
                out.kind = BatchLine::Kind::Invalid;
                out.error = std::move(argument.error);
                return;
            }
            if (total < kMaxCoefficients) {
                out.converted[total] = std::move(argument.gridText);
                out.coefficients[total] = out.converted[total];
            }
        }
        ++total;
        while (i < line.size() && IsSeparator(line[i]))
            ++i;
    }
    if (total > kMaxCoefficients) {
        out.kind = BatchLine::Kind::Invalid;
        out.error = TooManyCoefficientsMessage(total, kMaxCoefficients);
        return;
    }
    out.kind = BatchLine::Kind::Equation;
    out.count = total;
}

LineAnswerer::LineAnswerer(const CliOptions& options) : options_(options), runner_(options) {}

LineOutcome LineAnswerer::Answer(std::string_view line, int lineNumber, OutputText out,
                                 std::string& err) {
    const std::uint64_t outSize = out.size();
    const std::size_t errSize = err.size();
    try {
        return AnswerLine(line, lineNumber, out, err);
    } catch (const std::bad_alloc&) {
        // What the line took is free again: the run goes on with the next one.
        out.TakeBack(outSize);
        err.resize(errSize);
        Invalid(lineNumber, "out of memory", out, err);
        return {.invalid = true};
    }
}

LineOutcome LineAnswerer::AnswerLine(std::string_view line, int lineNumber, OutputText out,
                                     std::string& err) {
    LineOutcome outcome;
    ParseBatchLine(line, parsed_);
    if (parsed_.kind == BatchLine::Kind::Skip)
        return outcome;
    if (parsed_.kind == BatchLine::Kind::Invalid) {
        Invalid(lineNumber, parsed_.error, out, err);
        outcome.invalid = true;
        return outcome;
    }
    report_.line = lineNumber;
    const std::span<const std::string_view> coefficients(parsed_.coefficients.data(),
                                                         parsed_.count);
    if (const std::optional<std::string> error = parsed_.typed.empty()
                                                     ? runner_.Solve(coefficients, report_)
                                                     : runner_.SolveTyped(parsed_.typed, report_)) {
        Invalid(lineNumber, *error, out, err);
        outcome.invalid = true;
        return outcome;
    }
    if (report_.result.cancelled) {
        outcome.interrupted = true; // a solve cut short has no answer to give
        return outcome;
    }
    AppendReport(out, err, options_.json, report_);
    if (!options_.json)
        out += '\n';
    outcome.errorBox = !report_.errors.empty();
    outcome.hasRecord = !runner_.recordToSave().empty();
    return outcome;
}

void LineAnswerer::Invalid(int lineNumber, const std::string& error, OutputText out,
                           std::string& err) {
    if (options_.json) {
        AppendJsonInvalidLine(out, lineNumber, error);
    } else {
        err += "valdrex-solve: line ";
        err += std::to_string(lineNumber);
        err += ": " + error + "\n";
    }
}

Collector::Collector(const CliOptions& options) {
    if (options.saveFile)
        saver_.emplace(*options.saveFile, options.overwrite);
}

bool Collector::Take(const LineOutcome& outcome, const RecordLine& record, int lineNumber) {
    anyFailed_ = anyFailed_ || outcome.invalid || outcome.errorBox;
    if (outcome.hasRecord && saver_)
        saver_->Save(record, lineNumber);
    io.FlushIfFull();
    return io.outError() == 0;
}

int Collector::Finish() {
    if (saver_)
        anyFailed_ = saver_->Finish(io.err) || anyFailed_;
    io.Flush();
    return ReportOutputError(io.outError()) || anyFailed_ ? kExitFailed : 0;
}

int CoreCount() {
    cpu_set_t cores;
    if (sched_getaffinity(0, sizeof cores, &cores) == 0)
        return CPU_COUNT(&cores); // at least the one this runs on
    return std::max(1u, std::thread::hardware_concurrency());
}

int RunBatch(const CliOptions& options, int jobs) {
    // Room for the carriage return of a CR LF line end.
    LineReader reader(STDIN_FILENO, 1 << 16, WaitForInput, kMaxBatchLineBytes + 1);
    Collector collector(options);
    if (jobs <= 1)
        AnswerHere(options, reader, collector);
    else
        AnswerInWorkers(options, jobs, reader, collector);
    int status = collector.Finish();
    if (reader.error() != 0) {
        WriteAll(STDERR_FILENO, std::string("valdrex-solve: reading standard input: ") +
                                    std::strerror(reader.error()) + "\n");
        status = kExitFailed;
    }
    return Interrupted() ? kExitInterrupted : status;
}

} // namespace valdrex::cli
