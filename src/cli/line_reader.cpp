#include "cli/line_reader.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace valdrex::cli {

LineReader::LineReader(int fd, std::size_t chunkSize, bool (*waitForInput)(int fd))
    : fd_(fd), chunkSize_(chunkSize), waitForInput_(waitForInput) {}

bool LineReader::Fill(const std::function<void()>& beforeRead) {
    // Drop the lines handed out already, keeping the partial one.
    buffer_.erase(0, start_);
    start_ = 0;
    const std::size_t kept = buffer_.size();
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
        const void* found =
            std::memchr(buffer_.data() + searchFrom, '\n', buffer_.size() - searchFrom);
        if (found) {
            const auto end =
                static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data());
            line = std::string_view(buffer_.data() + start_, end - start_);
            start_ = end + 1;
            return true;
        }
        if (atEnd_) {
            if (start_ == buffer_.size())
                return false;
            line = std::string_view(buffer_.data() + start_, buffer_.size() - start_);
            start_ = buffer_.size();
            return true;
        }
        const std::size_t partial = buffer_.size() - start_;
        Fill(beforeRead);
        searchFrom = partial; // the partial line now starts at 0
    }
}

} // namespace valdrex::cli
