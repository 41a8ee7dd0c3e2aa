#include "cli/scan_progress_line.h"

#include "cli/output_buffers.h"

#include <mutex>
#include <string>
#include <unistd.h>

namespace valdrex::cli {
namespace {

std::mutex& TerminalLock() {
    static std::mutex lock; // batch workers scan at the same time
    return lock;
}

} // namespace

bool ProgressShown() {
    static const bool terminal = ::isatty(STDERR_FILENO) == 1;
    return terminal;
}

void ShowScanProgress(int line, int percent) {
    std::string text = "\rvaldrex-solve: ";
    if (line > 0)
        text += "line " + std::to_string(line) + ": ";
    text += "scanning, " + std::to_string(percent) + "%\x1B[K";
    const std::lock_guard hold(TerminalLock());
    WriteAll(STDERR_FILENO, text);
}

void ClearScanProgress() {
    const std::lock_guard hold(TerminalLock());
    WriteAll(STDERR_FILENO, "\r\x1B[K");
}

} // namespace valdrex::cli
