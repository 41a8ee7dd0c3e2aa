#pragma once

// Actions that must not change the test process itself run in a child process: one whose files
// may not grow beyond a limit (a full disk, simulated), or one that has given up the superuser's
// rights (permission bits do not bind root, and CI runs as root). Each returns the text the
// action reported, or why there is none.

#include <csignal>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace valdrex {

// All that can be read from fd until its end, which it closes.
inline std::string ReadToEnd(int fd) {
    std::string text;
    char buffer[512];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    ::close(fd);
    return text;
}

// Runs `action` in a child process, which exits 0 once it returns, 1 when it throws.
inline pid_t SpawnChild(const std::function<void()>& action) {
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            action();
        } catch (const std::exception&) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    return child;
}

// The exit status of the child once it ends; -1 when it did not exit normally.
inline int ExitStatus(pid_t child) {
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Runs `action` in a child after `prepare` (in the child) succeeded; returns its report.
inline std::string ReportFromChild(const std::function<bool()>& prepare,
                                   const std::function<std::string()>& action) {
    int channel[2];
    if (::pipe(channel) != 0)
        return "no pipe";
    const pid_t child = SpawnChild([&] {
        ::close(channel[0]);
        const std::string report = prepare() ? action() : "not prepared";
        if (::write(channel[1], report.data(), report.size()) != ssize_t(report.size()))
            throw std::runtime_error("report not written");
    });
    ::close(channel[1]);
    const std::string report = ReadToEnd(channel[0]);
    const int status = child < 0 ? -1 : ExitStatus(child);
    return status == 0 ? report : "child ended abnormally, exit status " + std::to_string(status);
}

// Files cannot grow beyond `limit` bytes (RLIMIT_FSIZE). SIGXFSZ is ignored, so a write past the
// limit fails with EFBIG instead of killing the child.
inline std::string WithFileSizeLimit(rlim_t limit, const std::function<std::string()>& action) {
    return ReportFromChild(
        [limit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit rl{limit, limit};
            return ::setrlimit(RLIMIT_FSIZE, &rl) == 0;
        },
        action);
}

inline constexpr uid_t kNobody = 65534;

// In a child: gives up the superuser's rights for those of the user nobody (true when there
// were none to give up).
inline bool BecomeNobody() {
    return ::geteuid() != 0 ||
           (::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0);
}

// As an ordinary user, bound by permission bits. When the tests run as root, the child becomes
// the user nobody, and `folder` with all it holds is first given to that user, so that the
// owner's permission bits set by the test apply to it.
inline std::string AsOrdinaryUser(const std::string& folder,
                                  const std::function<std::string()>& action) {
    if (::geteuid() == 0) {
        namespace fs = std::filesystem;
        if (::lchown(folder.c_str(), kNobody, kNobody) != 0)
            return "folder not given away";
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (::lchown(entry.path().c_str(), kNobody, kNobody) != 0)
                return "file not given away";
    }
    return ReportFromChild(BecomeNobody, action);
}

} // namespace valdrex
