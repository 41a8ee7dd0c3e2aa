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
namespace {

std::string Contents(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

} // namespace

ProgramResult RunSolve(const std::vector<std::string>& args, const std::string& input,
                       std::chrono::seconds timeout) {
    // Standard input, output and error are files, so that no pipe can fill up and stall.
    const std::string base = "/tmp/valdrex-solve-test-" + std::to_string(::getpid());
    const std::string paths[3] = {base + ".in", base + ".out", base + ".err"};
    std::ofstream(paths[0], std::ios::binary) << input;
    std::vector<std::string> words = args;
    words.insert(words.begin(), VALDREX_SOLVE_PATH);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
            ::dup2(::open(paths[fd].c_str(), fd ? O_WRONLY | O_CREAT | O_TRUNC : O_RDONLY, 0600),
                   fd);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
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
    if (!result.timedOut && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = Contents(paths[1]);
    result.err = Contents(paths[2]);
    for (const std::string& path : paths)
        std::remove(path.c_str());
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
