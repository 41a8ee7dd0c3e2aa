#pragma once

#include "model/main_model.h"
#include "solvers/approx/method_options.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace valdrex::cli {

// Everything the command line asks for.
struct CliOptions {
    SolveMethod method = SolveMethod::Exact;
    bool numeric = false;
    // The option texts as the method dialogs would hand them over, with their defaults.
    MethodOptions methodOptions;
    std::optional<std::string> testPoint;
    std::optional<std::string> saveFile;
    bool overwrite = false;
    bool json = false;
    bool batch = false;
    int jobs = 0;           // batch workers; 0: one for each core this process may use
    bool longScans = false; // a bisection scan may take more than 10^8 steps
    std::vector<std::string> coefficients; // highest power first
};

enum class CliAction { Run, Help, Version };

struct ParsedCommandLine {
    CliAction action = CliAction::Run;
    CliOptions options;
    std::string error; // not empty: a usage error (exit status 2)
};

// Reads the arguments that follow the program name. An argument that has the shape of a number
// ("-5" included) is a coefficient; "--" ends the options.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::optional<SolveMethod> MethodFromName(std::string_view name);
// The command-line names of the methods, or of those `offeredBy` offers, in the table's order:
// "a, b" then `lastSeparator` then "c".
std::string MethodNames(std::string_view lastSeparator, const MathsMenuState* offeredBy = nullptr);

} // namespace valdrex::cli
