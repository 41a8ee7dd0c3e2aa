#include "run_program.h"

#include "child_process.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace valdrex::cli::testing {

ProgramResult RunSolve(const std::vector<std::string>& args, const std::string& input,
                       const RunSetup& setup) {
    using Clock = std::chrono::steady_clock;
    // Standard input, output and error are files, so that no pipe can fill up and stall.
    const std::string base = "/tmp/valdrex-solve-test-" + std::to_string(::getpid());
    const std::string paths[3] = {base + ".in", setup.outputPath.empty() ? base + ".out" : "",
                                  base + ".err"};
    const std::string& outputPath = setup.outputPath.empty() ? paths[1] : setup.outputPath;
    Put(paths[0], input);
    int inputPipe[2] = {-1, -1};
    if (setup.keepInputOpen && ::pipe(inputPipe) != 0)
        return {};
    std::vector<std::string> words = args;
    words.insert(words.begin(), setup.program.empty() ? VALDREX_SOLVE_PATH : setup.program);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    // A program that cannot start leaves its child to end with no output, which no test expects.
    const pid_t pid = SpawnChild([&] {
        if (setup.keepInputOpen) {
            ::dup2(inputPipe[0], STDIN_FILENO);
            ::close(inputPipe[1]);
        } else {
            ::dup2(::open(paths[0].c_str(), O_RDONLY), STDIN_FILENO);
        }
        ::dup2(::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
        ::dup2(::open(paths[2].c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
        const rlimit limit{setup.memoryLimit, setup.memoryLimit};
        if (setup.memoryLimit > 0 && ::setrlimit(RLIMIT_AS, &limit) != 0)
            ::_exit(126);
        ::execv(argv[0], argv.data());
    });
    if (setup.keepInputOpen) {
        ::close(inputPipe[0]);
        if (::write(inputPipe[1], input.data(), input.size()) < 0)
            std::perror("write");
    }
    ProgramResult result;
    int status = 0;
    const auto start = Clock::now();
    std::optional<Clock::time_point> interrupted;
    const auto wantsInterrupt = [&] {
        return (setup.interruptAtOutput > 0 && FileSize(outputPath) >= setup.interruptAtOutput) ||
               (setup.interruptAfter.count() > 0 && Clock::now() - start >= setup.interruptAfter);
    };
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() - start > std::chrono::minutes(2)) {
            result.timedOut = true;
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        if (!interrupted && wantsInterrupt()) {
            ::kill(pid, SIGINT);
            interrupted = Clock::now();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (interrupted)
        result.exitAfterInterrupt =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - *interrupted);
    if (setup.keepInputOpen)
        ::close(inputPipe[1]);
    if (!result.timedOut && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    if (setup.outputPath.empty())
        result.out = Bytes(paths[1]);
    result.err = Bytes(paths[2]);
    for (const std::string& path : paths)
        if (!path.empty())
            std::remove(path.c_str());
    return result;
}

} // namespace valdrex::cli::testing
