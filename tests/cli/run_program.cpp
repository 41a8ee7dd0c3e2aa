#include "run_program.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace valdrex::cli::testing {

ProgramResult RunSolve(const std::vector<std::string>& args, const std::string& input,
                       std::chrono::seconds timeout) {
    // The answers go to files, so that the program never waits for the test to read them
    // while the test is still writing its input.
    const std::string base = "/tmp/valdrex-solve-test-" + std::to_string(::getpid());
    const std::string paths[2] = {base + ".out", base + ".err"};
    int in[2];
    if (::pipe(in) != 0)
        return {};
    std::vector<std::string> words = args;
    words.insert(words.begin(), VALDREX_SOLVE_PATH);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], STDIN_FILENO);
        for (int fd : {STDOUT_FILENO, STDERR_FILENO})
            ::dup2(::open(paths[fd - 1].c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), fd);
        ::close(in[1]);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    std::signal(SIGPIPE, SIG_IGN); // the program may stop reading early
    std::thread writer([&] {
        for (std::size_t done = 0; done < input.size();) {
            const ssize_t n = ::write(in[1], input.data() + done, input.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::close(in[1]);
    });
    ProgramResult result;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    writer.join();
    if (!result.timedOut && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    std::string* texts[2] = {&result.out, &result.err};
    for (int k = 0; k < 2; ++k) {
        std::ostringstream text;
        text << std::ifstream(paths[k], std::ios::binary).rdbuf();
        *texts[k] = text.str();
        std::remove(paths[k].c_str());
    }
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
