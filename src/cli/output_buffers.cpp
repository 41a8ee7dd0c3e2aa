#include "cli/output_buffers.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace valdrex::cli {

int WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

void OutputBuffers::Flush() {
    if (!out.empty() && outError_ == 0)
        outError_ = WriteAll(STDOUT_FILENO, out);
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
