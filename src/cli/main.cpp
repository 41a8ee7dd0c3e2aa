#include "cli/batch.h"

#include <malloc.h>
#include <new>
#include <optional>
#include <unistd.h>
#include <vector>

namespace valdrex::cli {
namespace {

constexpr int kExitUsage = 2;

int UsageError(const std::string& error, bool withHint) {
    std::string text = "valdrex-solve: " + error + "\n";
    if (withHint)
        text += "Try 'valdrex-solve --help'.\n";
    WriteAll(STDERR_FILENO, text);
    return kExitUsage;
}

int RunOne(const CliOptions& options) {
    std::optional<RecordWriterProcess> saver; // before the solver could start a thread
    if (options.saveFile)
        saver.emplace(*options.saveFile, options.overwrite);
    EquationRunner runner(options);
    const std::vector<std::string_view> coefficients(options.coefficients.begin(),
                                                     options.coefficients.end());
    EquationReport report;
    if (const std::optional<std::string> error = options.equation
                                                     ? runner.SolveTyped(*options.equation, report)
                                                     : runner.Solve(coefficients, report))
        return UsageError(*error, false);
    if (report.result.cancelled || Interrupted())
        return kExitInterrupted; // a solve cut short has no answer to give
    OutputBuffers io;
    AppendReport(io, io.err, options.json, report);
    bool failed = !report.errors.empty();
    if (saver) {
        if (!runner.recordToSave().empty())
            saver->Save(runner.recordToSave(), 0);
        failed = saver->Finish(io.err) || failed;
    }
    io.Flush();
    return ReportOutputError(io.outError()) || failed ? kExitFailed : 0;
}

int Print(const std::string& text) {
    return ReportOutputError(WriteAll(STDOUT_FILENO, text)) ? kExitFailed : 0;
}

int Main(int argc, char** argv) {
    const ParsedCommandLine parsed =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty())
        return UsageError(parsed.error, true);
    switch (parsed.action) {
    case CliAction::Help:
        return Print(HelpText());
    case CliAction::Version:
        return Print(VersionText() + "\n");
    case CliAction::Run:
        break;
    }
    const CliOptions& options = parsed.options;
    if (options.method == SolveMethod::Bisection && !options.longScans)
        if (const std::optional<std::string> tooLong = LongScanMessage(options.methodOptions))
            return UsageError(*tooLong, false);
    CatchInterrupt();
    if (!options.batch)
        return RunOne(options);
    return RunBatch(options, options.jobs > 0 ? options.jobs : CoreCount());
}

} // namespace
} // namespace valdrex::cli

int main(int argc, char** argv) {
    // A fixed threshold: every buffer of a long line is mapped and unmapped on its own, so what a
    // line took is given back whatever the order of the frees (the allocator's own threshold
    // rises after each such free and leaves the next long line's buffers in the heap).
    mallopt(M_MMAP_THRESHOLD, 256 << 10);
    try {
        return valdrex::cli::Main(argc, argv);
    } catch (const std::bad_alloc&) {
        // Where no line can take the blame, such as a worker thread that could not start.
        valdrex::WriteAll(STDERR_FILENO, "valdrex-solve: out of memory\n");
        return valdrex::cli::kExitFailed;
    }
}
