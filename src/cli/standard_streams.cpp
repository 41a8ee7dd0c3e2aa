#include "cli/standard_streams.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace valdrex::cli {
namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void OnInterrupt(int) {
    interrupted.store(true, std::memory_order_relaxed);
}

} // namespace

void CatchInterrupt() {
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a waiting read returns EINTR
    sigaction(SIGINT, &action, nullptr);
}

bool Interrupted() {
    return interrupted.load(std::memory_order_relaxed);
}

const std::atomic<bool>* InterruptFlag() {
    return &interrupted;
}

bool WaitForInput(int fd) {
    // Ctrl+C is held back while the flag is read, and let through only inside ppoll, which
    // returns at once for a press held back.
    sigset_t interrupt, previous;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interrupt, &previous);
    sigset_t waiting = previous;
    sigdelset(&waiting, SIGINT);
    pollfd input{fd, POLLIN, 0};
    while (!Interrupted() && ::ppoll(&input, 1, nullptr, &waiting) < 0 && errno == EINTR) {
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return !Interrupted();
}

LineReader::LineReader(int fd, std::size_t chunkSize, bool (*waitForInput)(int fd),
                       std::size_t maxLineLength)
    : fd_(fd), chunkSize_(chunkSize), waitForInput_(waitForInput), maxLineLength_(maxLineLength) {}

bool LineReader::Fill(const std::function<void()>& beforeRead) {
    // Drop the lines handed out already, keeping the partial one.
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
    const std::size_t kept = buffer_.size();
    // One chunk more, not twice as much: a long line costs little more than its length.
    buffer_.reserve(kept + chunkSize_);
    buffer_.resize(kept + chunkSize_);
    if (beforeRead)
        beforeRead();
    ssize_t got = 0;
    do {
        if (waitForInput_ && !waitForInput_(fd_)) {
            got = 0; // the input ends here
            break;
        }
        got = ::read(fd_, buffer_.data() + kept, chunkSize_);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        buffer_.resize(kept);
        atEnd_ = true;
        if (got < 0)
            error_ = errno;
        return false;
    }
    buffer_.resize(kept + static_cast<std::size_t>(got));
    return true;
}

bool LineReader::Next(std::string_view& line, const std::function<void()>& beforeRead) {
    std::size_t searchFrom = start_;
    for (;;) {
        // An empty vector may have no storage at all, and memchr takes no null pointer.
        const void* found =
            searchFrom < buffer_.size()
                ? std::memchr(buffer_.data() + searchFrom, '\n', buffer_.size() - searchFrom)
                : nullptr;
        if (found || atEnd_) {
            const std::size_t end =
                found ? static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data())
                      : buffer_.size();
            if (!found && start_ == end)
                return false;
            line = std::string_view(buffer_.data() + start_,
                                    std::min(end - start_, maxLineLength_ + 1));
            start_ = found ? end + 1 : end;
            return true;
        }
        const std::size_t partial = buffer_.size() - start_;
        if (partial > maxLineLength_ + 1)
            buffer_.resize(start_ + maxLineLength_ + 1); // the rest of a line too long to take
        Fill(beforeRead);
        searchFrom = std::min(partial, maxLineLength_ + 1); // the partial line now starts at 0
    }
}

void OutputBuffers::WriteOut(std::string_view bytes) {
    if (!bytes.empty() && outError_ == 0)
        outError_ = WriteAll(STDOUT_FILENO, bytes);
    handedOn_ += bytes.size();
}

void OutputBuffers::WriteThrough(std::string_view piece) {
    Flush();
    WriteOut(piece);
}

void OutputBuffers::Flush() {
    WriteOut(out);
    out.clear();
    // Nothing is left to tell of a failure to write standard error.
    if (!err.empty())
        WriteAll(STDERR_FILENO, err);
    err.clear();
}

bool ReportOutputError(int error) {
    if (error == 0)
        return false;
    WriteAll(STDERR_FILENO,
             std::string("valdrex-solve: write error: ") + std::strerror(error) + "\n");
    return true;
}

} // namespace valdrex::cli
