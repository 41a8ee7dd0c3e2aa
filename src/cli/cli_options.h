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
std::string_view MethodName(SolveMethod method);

} // namespace valdrex::cli
