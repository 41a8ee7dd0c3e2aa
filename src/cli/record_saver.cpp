#include "cli/record_saver.h"

#include "cli/message_text.h"
#include "core/failure.h"

#include <utility>

namespace valdrex::cli {

RecordSaver::RecordSaver(std::string path, bool overwrite, LineWriter writer)
    : path_(std::move(path)), truncateNext_(overwrite), writer_(writer) {}

void RecordSaver::Save(std::string_view record, int line, std::string& err) {
    try {
        writer_(path_, record, truncateNext_);
    } catch (const RuntimeFailure& failure) {
        anyFailed_ = true;
        std::string reason = failure.description();
        if (failure_ && failure_->reason == reason) {
            failure_->lastLine = line;
            return;
        }
        Finish(err);
        failure_ = Failure{std::move(reason), line, line};
        return;
    }
    truncateNext_ = false; // emptied once; later records are appended
    Finish(err);
}

void RecordSaver::Finish(std::string& err) {
    if (!failure_)
        return;
    AppendSaveFailure(err, path_, failure_->reason, failure_->firstLine, failure_->lastLine);
    failure_.reset();
}

void AppendSaveFailure(std::string& err, std::string_view path, std::string_view reason,
                       int firstLine, int lastLine) {
    err += "valdrex-solve: cannot save to " + QuotedWhole(path) + ": ";
    err += reason;
    if (firstLine == lastLine && firstLine > 0)
        err += " (line " + std::to_string(firstLine) + " not saved)";
    else if (firstLine > 0)
        err +=
            " (lines " + std::to_string(firstLine) + "-" + std::to_string(lastLine) + " not saved)";
    err += '\n';
}

} // namespace valdrex::cli
