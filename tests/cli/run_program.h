#pragma once

#include "file_bytes.h"

#include <chrono>
#include <string>
#include <sys/resource.h>
#include <utility>
#include <vector>

namespace valdrex::cli::testing {

struct ProgramResult {
    int exitCode = -1; // -1 when the program did not exit normally (killed, timed out)
    std::string out;
    std::string err;
    bool timedOut = false;
    std::chrono::milliseconds exitAfterInterrupt{0};
};

// How the program runs, besides its arguments and input.
struct RunSetup {
    std::string program{};    // another copy of valdrex-solve than the build's
    std::string outputPath{}; // standard output to this file, not read back (such as /dev/full)
    // Standard input is a pipe left open after the input, so that the program waits for more.
    bool keepInputOpen = false;
    // SIGINT once standard output holds this many bytes, or after this long (when not 0).
    std::size_t interruptAtOutput = 0;
    std::chrono::milliseconds interruptAfter{0};
    rlim_t memoryLimit = 0; // bytes of address space (RLIMIT_AS), when not 0
};

// Runs valdrex-solve with the arguments, feeding `input` to its standard input; kills it after
// two minutes.
ProgramResult RunSolve(const std::vector<std::string>& args, const std::string& input = "",
                       const RunSetup& setup = {});

} // namespace valdrex::cli::testing
