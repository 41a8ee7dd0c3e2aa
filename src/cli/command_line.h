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

// Whether a text given for one equation is a typed equation ("x^2 - 1", "(2)") rather than
// coefficients: it holds a character no coefficient has, anything but digits, blanks, tabs,
// signs, points, slashes, "e" and "E".
bool IsTypedEquation(std::string_view text);

// One coefficient as the command line and batch lines take it: a number in the exact reader's
// grammar ("-3", "2/3", "1.5e-3", "+7"), or why it is none ("invalid coefficient '-'", or the
// limit it goes beyond).
struct CoefficientArgument {
    std::string error; // empty when it is a coefficient
    // For a number the grid would not read as written (an exponent, a "+", a "." and a "/"):
    // the grid text of its value, which the grid and the exact reader read alike. Empty when
    // the text itself goes into the grid.
    std::string gridText;
};
CoefficientArgument ReadCoefficientArgument(std::string_view text);

// The grid texts of a list of coefficients (highest power first), or why they are none: each
// must be a coefficient, and there are 1 to 13 of them.
std::optional<std::string> ReadCoefficientList(std::span<const std::string_view> texts,
                                               std::vector<std::string>& gridTexts);

// Everything the command line asks for.
struct CliOptions {
    SolveMethod method = SolveMethod::AllRoots;
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
    std::vector<std::string> coefficients; // the grid texts, highest power first
    std::optional<std::string> equation;   // or a typed equation
};

enum class CliAction { Run, Help, Version };

struct ParsedCommandLine {
    CliAction action = CliAction::Run;
    CliOptions options;
    std::string error; // not empty: a usage error (exit status 2)
};

// Reads the arguments that follow the program name. An argument that has the shape of a number
// ("-5" included) or starts with "-x" is a coefficient or an equation; "--" ends the options.
// A lone such argument that IsTypedEquation is the equation.
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
