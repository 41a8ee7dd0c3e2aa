#include "run_program.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

namespace valdrex::cli::testing {
namespace {

void SetNonBlocking(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

} // namespace

ProgramResult RunSolve(const std::vector<std::string>& args, const std::string& input,
                       std::chrono::seconds timeout) {
    int in[2], out[2], err[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0)
        return {};
    std::vector<char*> argv;
    std::string program = VALDREX_SOLVE_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            ::close(fd);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    for (int fd : {in[1], out[0], err[0]})
        SetNonBlocking(fd);
    // The child may stop reading early; its closed pipe must not kill the test.
    std::signal(SIGPIPE, SIG_IGN);

    ProgramResult result;
    std::size_t written = 0;
    int inFd = in[1];
    if (input.empty()) {
        ::close(inFd);
        inFd = -1;
    }
    int outFd = out[0], errFd = err[0];
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    char buffer[1 << 16];
    while (outFd >= 0 || errFd >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            ::kill(pid, SIGKILL);
            break;
        }
        pollfd fds[3] = {{inFd, POLLOUT, 0}, {outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
        if (::poll(fds, 3, static_cast<int>(left.count())) < 0 && errno != EINTR)
            break;
        if (inFd >= 0 && (fds[0].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t n = ::write(inFd, input.data() + written, input.size() - written);
            if (n > 0)
                written += static_cast<std::size_t>(n);
            if (n < 0 && errno != EAGAIN)
                written = input.size();
            if (written == input.size()) {
                ::close(inFd);
                inFd = -1;
            }
        }
        for (const auto& [index, fd, text] :
             {std::tuple{1, &outFd, &result.out}, std::tuple{2, &errFd, &result.err}}) {
            if (*fd < 0 || !(fds[index].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t n = ::read(*fd, buffer, sizeof buffer);
            if (n > 0) {
                text->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EAGAIN) {
                ::close(*fd);
                *fd = -1;
            }
        }
    }
    for (int fd : {inFd, outFd, errFd})
        if (fd >= 0)
            ::close(fd);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!result.timedOut && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    return result;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace valdrex::cli::testing
