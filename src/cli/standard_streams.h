#pragma once

// Standard input and output: Ctrl+C, lines read in large chunks, answers written in large
// chunks.

#include "core/platform_files.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace valdrex::cli {

// Ctrl+C asks the run to end cleanly: the handler only sets a flag, which the batch loop, the
// line reader and a long solve read. A wait for input returns at once.
void CatchInterrupt();

bool Interrupted();
// The flag Ctrl+C sets, for a long solve to read between its steps.
const std::atomic<bool>* InterruptFlag();

// Waits until `fd` can be read without waiting. False once Ctrl+C was pressed, even just before
// the wait began: a press between a look at the flag and a plain read would be lost, and the
// read would wait for input that may never come.
bool WaitForInput(int fd);

// The exit status of a run that met a failure: an error box, an invalid batch line, a record
// not saved, a failed read or write.
inline constexpr int kExitFailed = 1;
// The customary exit status of a program ended by SIGINT.
inline constexpr int kExitInterrupted = 130;

// Reads lines from a file descriptor in large chunks. Lines may hold any byte, NUL included;
// the last line needs no line feed.
class LineReader {
  public:
    static constexpr std::size_t kAnyLength = std::numeric_limits<std::size_t>::max() / 2;

    // Before each read, `waitForInput` (when given) waits for input; its false ends the input.
    // A line longer than `maxLineLength` bytes is never held whole: only its first
    // maxLineLength + 1 bytes are kept, enough to tell that it is too long.
    explicit LineReader(int fd, std::size_t chunkSize = 1 << 16,
                        bool (*waitForInput)(int fd) = nullptr,
                        std::size_t maxLineLength = kAnyLength);

    // The next line without its line feed (cut as above), valid until the next call; false at
    // the end of the input. `beforeRead` runs before every read, which may wait for more
    // input, so that output can be flushed while the reader waits.
    bool Next(std::string_view& line, const std::function<void()>& beforeRead);

    // errno of a failed read, 0 when reading ended normally.
    int error() const { return error_; }

  private:
    bool Fill(const std::function<void()>& beforeRead);

    int fd_;
    std::size_t chunkSize_;
    bool (*waitForInput_)(int fd);
    std::size_t maxLineLength_;
    std::vector<char> buffer_; // grown to exactly what it must hold, unlike a string
    std::size_t start_ = 0;    // first byte not yet handed out
    bool atEnd_ = false;
    int error_ = 0;
};

// Standard output and standard error collected in memory and written in large chunks.
class OutputBuffers {
  public:
    static constexpr std::size_t kFlushSize = 1 << 16;

    std::string out;
    std::string err;

    // Writes both when standard output holds a large chunk.
    void FlushIfFull() {
        if (out.size() >= kFlushSize)
            Flush();
    }
    // Writes standard output, then standard error. After a failed write to standard output,
    // what is meant for it is dropped.
    void Flush();
    // Flush, then `piece` to standard output, without copying it into `out`.
    void WriteThrough(std::string_view piece);
    // The bytes of standard output handed to the system (or dropped after a failure) so far.
    std::uint64_t handedOn() const { return handedOn_; }

    // errno of the first failed write to standard output, 0 while every write succeeded.
    int outError() const { return outError_; }

  private:
    void WriteOut(std::string_view bytes);

    int outError_ = 0;
    std::uint64_t handedOn_ = 0;
};

// "valdrex-solve: write error: <reason>" on standard error when standard output failed; returns
// whether it did.
bool ReportOutputError(int error);

} // namespace valdrex::cli
