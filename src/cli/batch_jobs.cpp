#include "cli/batch.h"

#include "cli/standard_streams.h"
#include "solvers/all_roots/all_roots.h"

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <poll.h>
#include <pthread.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace valdrex::cli {

namespace {

// Lines handed to a worker at a time: enough to make the hand-over cheap, few enough that
// the workers finish close together.
constexpr std::size_t kChunkLines = 256;
// A line this long is answered on the reading thread, its answer written out in pieces: a
// worker would need a copy of the line and would hold the whole answer.
constexpr std::size_t kLongLine = OutputBuffers::kFlushSize;

// Lines read on this thread and answered by a worker: the texts go in, the answers come out.
struct Chunk {
    struct Entry {
        std::size_t begin = 0, end = 0; // the line in `text`
        bool flushBefore = false;       // where one job would write its buffers first
    };
    struct Answer {
        LineOutcome outcome;
        std::size_t outEnd = 0, errEnd = 0, recordEnd = 0;
    };

    int firstLine = 0;
    std::string text;
    std::vector<Entry> entries;
    std::string out, err, records;
    std::vector<Answer> answers; // fewer than the entries after Ctrl+C
    bool answered = false;       // guarded by the pool's lock
    bool outOfMemory = false;    // even for the message of an invalid line

    void Reset(int first) {
        firstLine = first;
        text.clear();
        entries.clear();
        out.clear();
        err.clear();
        records.clear();
        answers.clear();
        answered = false;
        outOfMemory = false;
    }

    // Answers the lines until all are answered, Ctrl+C, or `stop`.
    void AnswerWith(LineAnswerer& answerer, const std::atomic<bool>& stop) try {
        for (std::size_t i = 0; i < entries.size() && !Interrupted() && !stop; ++i) {
            const std::string_view line(text.data() + entries[i].begin,
                                        entries[i].end - entries[i].begin);
            Answer answer;
            answer.outcome = answerer.Answer(line, firstLine + static_cast<int>(i), out, err);
            if (answer.outcome.interrupted)
                break;
            if (answer.outcome.hasRecord) {
                const RecordLine record = answerer.record();
                records += record.equation;
                records += record.tail;
            }
            answer.outEnd = out.size();
            answer.errEnd = err.size();
            answer.recordEnd = records.size();
            answers.push_back(answer);
        }
    } catch (const std::bad_alloc&) {
        outOfMemory = true; // for the reading thread to report: no exception leaves a worker
    }

    // Hands the answers over in order; false when the run must stop.
    bool Deliver(Collector& collector) const {
        Answer previous;
        for (std::size_t i = 0; i < answers.size(); ++i) {
            const Answer& answer = answers[i];
            if (entries[i].flushBefore)
                collector.io.Flush();
            collector.io.out.append(out, previous.outEnd, answer.outEnd - previous.outEnd);
            collector.io.err.append(err, previous.errEnd, answer.errEnd - previous.errEnd);
            const std::string_view record = std::string_view(records).substr(
                previous.recordEnd, answer.recordEnd - previous.recordEnd);
            if (!collector.Take(answer.outcome, {record, {}}, firstLine + static_cast<int>(i)))
                return false;
            previous = answer;
        }
        if (outOfMemory)
            throw std::bad_alloc();
        return answers.size() == entries.size();
    }
};

// Worker threads, each with its own model (the model is not thread-safe).
class WorkerPool {
  public:
    WorkerPool(const CliOptions& options, int jobs) {
        // Ctrl+C must reach the reading thread, so that a read waiting for input returns.
        sigset_t interrupt, previous;
        sigemptyset(&interrupt);
        sigaddset(&interrupt, SIGINT);
        pthread_sigmask(SIG_BLOCK, &interrupt, &previous);
        // Under a memory limit there may be no room for every thread's stack: as many work
        // as could start.
        try {
            for (int k = 0; k < jobs; ++k)
                threads_.emplace_back([this, &options] {
                    Work(options);
                    EndAllRootsThread();
                });
        } catch (const std::system_error&) {
            if (threads_.empty())
                throw std::bad_alloc();
        }
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }

    ~WorkerPool() {
        {
            const std::lock_guard hold(lock_);
            queue_.clear(); // after a stop, no answer is needed any more
            closing_ = true;
        }
        work_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }

    void Submit(Chunk* chunk) {
        {
            const std::lock_guard hold(lock_);
            queue_.push_back(chunk);
        }
        work_.notify_one();
    }

    void WaitFor(const Chunk* chunk) {
        std::unique_lock hold(lock_);
        answered_.wait(hold, [chunk] { return chunk->answered; });
    }

  private:
    void Work(const CliOptions& options) {
        LineAnswerer answerer(options);
        for (;;) {
            Chunk* chunk = nullptr;
            {
                std::unique_lock hold(lock_);
                work_.wait(hold, [this] { return closing_ || !queue_.empty(); });
                if (queue_.empty())
                    return;
                chunk = queue_.front();
                queue_.pop_front();
            }
            chunk->AnswerWith(answerer, closing_);
            {
                const std::lock_guard hold(lock_);
                chunk->answered = true;
            }
            answered_.notify_all();
        }
    }

    std::mutex lock_;
    std::condition_variable work_, answered_;
    std::deque<Chunk*> queue_;
    std::atomic<bool> closing_{false};
    std::vector<std::thread> threads_;
};

// Whether a read of standard input would return without waiting.
bool InputWaiting() {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    return ::poll(&input, 1, 0) > 0;
}

} // namespace

void AnswerInWorkers(const CliOptions& options, int jobs, LineReader& reader,
                     Collector& collector) {
    std::deque<std::unique_ptr<Chunk>> inFlight; // submitted, in input order
    std::vector<std::unique_ptr<Chunk>> spare;
    WorkerPool pool(options, jobs); // after the chunks, so that it ends first
    const std::size_t mostInFlight = 4 * static_cast<std::size_t>(jobs);
    auto current = std::make_unique<Chunk>();
    current->Reset(1);
    int lineNumber = 0;
    bool going = true;
    bool flushPending = false;

    const auto deliverOldest = [&] {
        pool.WaitFor(inFlight.front().get());
        going = going && inFlight.front()->Deliver(collector);
        spare.push_back(std::move(inFlight.front()));
        inFlight.pop_front();
    };
    const auto submit = [&] {
        if (current->entries.empty())
            return;
        pool.Submit(current.get());
        inFlight.push_back(std::move(current));
        if (spare.empty()) {
            current = std::make_unique<Chunk>();
        } else {
            current = std::move(spare.back());
            spare.pop_back();
        }
        current->Reset(lineNumber + 1);
        while (going && inFlight.size() > mostInFlight)
            deliverOldest();
    };
    // Before a read: one job flushes here; and when the read would wait for input, everything
    // read so far is answered first, as one job would.
    const auto beforeRead = [&] {
        flushPending = true;
        if (InputWaiting())
            return;
        submit();
        while (going && !inFlight.empty())
            deliverOldest();
        collector.io.Flush();
    };

    std::optional<LineAnswerer> here; // for the long lines
    const auto answerHere = [&](std::string_view line) {
        submit();
        while (going && !inFlight.empty())
            deliverOldest();
        current->Reset(lineNumber + 1);
        if (!going)
            return;
        if (std::exchange(flushPending, false))
            collector.io.Flush();
        if (!here)
            here.emplace(options);
        const LineOutcome outcome = here->Answer(line, lineNumber, collector.io, collector.io.err);
        going = !outcome.interrupted && collector.Take(outcome, here->record(), lineNumber);
    };

    std::string_view line;
    while (going && !Interrupted() && reader.Next(line, beforeRead)) {
        ++lineNumber;
        if (line.size() >= kLongLine) {
            answerHere(line);
            continue;
        }
        Chunk::Entry entry;
        entry.begin = current->text.size();
        current->text += line;
        entry.end = current->text.size();
        entry.flushBefore = std::exchange(flushPending, false);
        current->entries.push_back(entry);
        if (current->entries.size() == kChunkLines)
            submit();
    }
    if (going)
        submit();
    while (going && !inFlight.empty())
        deliverOldest();
}

} // namespace valdrex::cli
