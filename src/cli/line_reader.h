#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace valdrex::cli {

// Reads lines from a file descriptor in large chunks. Lines may hold any byte, NUL included;
// the last line needs no line feed.
class LineReader {
  public:
    // Before each read, `waitForInput` (when given) waits for input; its false ends the input.
    explicit LineReader(int fd, std::size_t chunkSize = 1 << 16,
                        bool (*waitForInput)(int fd) = nullptr);

    // The next line without its line feed, valid until the next call; false at the end of the
    // input. `beforeRead` runs before every read, which may wait for more input, so that output
    // can be flushed while the reader waits.
    bool Next(std::string_view& line, const std::function<void()>& beforeRead);

    // errno of a failed read, 0 when reading ended normally.
    int error() const { return error_; }

  private:
    bool Fill(const std::function<void()>& beforeRead);

    int fd_;
    std::size_t chunkSize_;
    bool (*waitForInput_)(int fd);
    std::string buffer_;
    std::size_t start_ = 0; // first byte not yet handed out
    bool atEnd_ = false;
    int error_ = 0;
};

} // namespace valdrex::cli
