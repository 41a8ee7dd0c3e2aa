#include "cli/output_buffers.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace valdrex::cli {

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
