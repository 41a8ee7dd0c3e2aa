#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace valdrex::cli::testing {

struct ProgramResult {
    int exitCode = -1; // -1 when the program did not exit normally (killed, timed out)
    std::string out;
    std::string err;
    bool timedOut = false;
};

// Runs valdrex-solve with the arguments, feeding `input` to its standard input; kills it after
// `timeout`.
ProgramResult RunSolve(const std::vector<std::string>& args, const std::string& input = "",
                       std::chrono::seconds timeout = std::chrono::seconds(60));

// The lines of a program's output, without their line ends.
std::vector<std::string> Lines(const std::string& text);

} // namespace valdrex::cli::testing
