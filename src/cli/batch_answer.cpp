#include "cli/batch_answer.h"

namespace valdrex::cli {
namespace {

constexpr int kExitFailed = 1;

} // namespace

LineAnswerer::LineAnswerer(const CliOptions& options) : options_(options), runner_(options) {}

LineOutcome LineAnswerer::Answer(std::string_view line, int lineNumber, std::string& out,
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
    if (const std::optional<std::string> error = runner_.Solve(coefficients, report_)) {
        Invalid(lineNumber, *error, out, err);
        outcome.invalid = true;
        return outcome;
    }
    AppendReport(out, err, options_.json, report_);
    if (!options_.json)
        out += '\n';
    outcome.errorBox = !report_.errors.empty();
    outcome.hasRecord = !runner_.recordToSave().empty();
    return outcome;
}

void LineAnswerer::Invalid(int lineNumber, const std::string& error, std::string& out,
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

bool Collector::Take(const LineOutcome& outcome, std::string_view record, int lineNumber) {
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

} // namespace valdrex::cli
