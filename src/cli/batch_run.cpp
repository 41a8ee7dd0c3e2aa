#include "cli/batch_run.h"

#include "cli/batch_answer.h"
#include "cli/batch_workers.h"
#include "cli/interrupt.h"
#include "cli/line_reader.h"

#include <algorithm>
#include <cstring>
#include <sched.h>
#include <thread>
#include <unistd.h>

namespace valdrex::cli {
namespace {

constexpr int kExitFailed = 1;

// Reads and answers on this thread: one job costs no thread.
void AnswerHere(const CliOptions& options, LineReader& reader, Collector& collector) {
    LineAnswerer answerer(options);
    OutputBuffers& io = collector.io;
    std::string_view line;
    int lineNumber = 0;
    const auto flush = [&io] { io.Flush(); };
    while (!Interrupted() && reader.Next(line, flush)) {
        ++lineNumber;
        const std::size_t outSize = io.out.size(), errSize = io.err.size();
        const LineOutcome outcome = answerer.Answer(line, lineNumber, io.out, io.err);
        if (Interrupted()) {
            io.out.resize(outSize); // a scan cut short has no answer to give
            io.err.resize(errSize);
            break;
        }
        if (!collector.Take(outcome, answerer.record(), lineNumber))
            break;
    }
}

} // namespace

int CoreCount() {
    cpu_set_t cores;
    if (sched_getaffinity(0, sizeof cores, &cores) == 0)
        return std::max(1, CPU_COUNT(&cores));
    return std::max(1u, std::thread::hardware_concurrency());
}

int RunBatch(const CliOptions& options, int jobs) {
    LineReader reader(STDIN_FILENO, 1 << 16, WaitForInput);
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
