#pragma once

// What valdrex-solve is asked to do: its arguments and option values, the coefficient texts
// they give, and the help that describes them.

#include "model/main_model.h"
#include "solvers/approx/method_options.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace valdrex::cli {

inline constexpr int kMaxCoefficients = 13;

// Why a list of coefficient texts (highest power first) cannot be typed into the grid, or
// nothing when it can: each text must pass the Paste command's number check, and there are at
// most 13 of them.
std::optional<std::string> CoefficientListError(std::span<const std::string_view> texts);

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

// How many steps the bisection scan takes from min by inc while it stays at or below max - inc
// (at or above, for a negative increment). The scan also stops where the increment is lost
// against x, near |x| = |inc| * 2^53.
double ScanStepCount(double min, double max, double inc);

// Why the bisection options ask for too long a scan, or nothing (also when a text cannot be
// read: the solver reports that).
std::optional<std::string> LongScanMessage(const MethodOptions& options);

// Nothing when the Maths menu offers `method` for the equation; otherwise the sentence that says
// why not and which methods it offers.
std::optional<std::string> MethodNotOfferedMessage(SolveMethod method, const MathsMenuState& menu);

std::string HelpText();
// "valdrex-solve 1.3.0".
std::string VersionText();

} // namespace valdrex::cli
