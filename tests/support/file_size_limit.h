#pragma once

// A full disk, simulated: the action runs in a child process whose files cannot grow beyond
// `limit` bytes (RLIMIT_FSIZE). The child ignores SIGXFSZ, so a write past the limit fails with
// EFBIG instead of killing it. Returns the text the action reported, or why there is none.

#include <csignal>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace valdrex {

inline std::string WithFileSizeLimit(rlim_t limit, const std::function<std::string()>& action) {
    int channel[2];
    if (::pipe(channel) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        const std::string report = ::setrlimit(RLIMIT_FSIZE, &rl) == 0 ? action() : "no limit";
        const ssize_t written = ::write(channel[1], report.data(), report.size());
        ::_exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string report;
    char buffer[512];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return "no child";
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child ended abnormally, status " + std::to_string(status);
    return report;
}

} // namespace valdrex
