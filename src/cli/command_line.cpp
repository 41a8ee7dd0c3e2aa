#include "cli/command_line.h"

#include "cli/output_text.h"
#include "core/coefficient_text.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "model/method_table.h"
#include "solvers/typed_equation/typed_equation.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

namespace valdrex::cli {
namespace {

// More steps than this make a bisection scan run for minutes, so they need --long-scans.
constexpr double kLongScanSteps = 1e8;

// The text a number box would hold after `keys` were typed into it from empty, one key at a
// time with the caret at the end, under the box's key rule (Backspace erases); nothing when the
// rule drops a key.
std::optional<std::string> TypedText(KeyRule rule, std::string_view keys) {
    std::string text;
    for (const char c : keys) {
        const char32_t key = static_cast<unsigned char>(c);
        if (!FilterNumericKey(rule, key, text, static_cast<int>(text.size())))
            return std::nullopt;
        if (key == kBackspace) {
            if (!text.empty())
                text.pop_back();
        } else {
            text += c;
        }
    }
    return text;
}

// The option texts of every method's options form, each once.
const std::vector<OptionText> kOptionTexts = [] {
    std::vector<OptionText> texts;
    for (const MethodRow& row : MethodTable())
        for (const OptionText* option : row.cliOptions)
            if (std::none_of(texts.begin(), texts.end(),
                             [option](const OptionText& t) { return t.name == option->name; }))
                texts.push_back(*option);
    return texts;
}();

bool TakesValue(std::string_view name) {
    for (const OptionText& option : kOptionTexts)
        if (option.name == name)
            return true;
    return name == "--method" || name == "--test" || name == "--save" || name == "--jobs" ||
           name == "--equation";
}

// An option value must be a number, not merely keys its box lets through ("", "-", ".").
bool HasDigit(std::string_view text) {
    return text.find_first_of("0123456789") != std::string_view::npos;
}

constexpr int kMostJobs = 1024;

std::optional<int> JobCount(std::string_view text) {
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != text.npos)
        return std::nullopt;
    const int jobs = std::stoi(std::string(text));
    return jobs >= 1 && jobs <= kMostJobs ? std::optional(jobs) : std::nullopt;
}

// A spin box's value: digits only, from 1 to `highest`.
bool IsWholeInRange(std::string_view text, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= 1 &&
           value <= highest;
}

// Applies one option that carries a value; returns the usage error, if any.
std::string ApplyValue(std::string_view name, const std::string& value, CliOptions& options) {
    if (name == "--method") {
        const std::optional<SolveMethod> method = MethodFromName(value);
        if (!method)
            return "unknown method " + QuotedForMessage(value) + " (choose " + MethodNames(" or ") +
                   ")";
        options.method = *method;
        return {};
    }
    if (name == "--test") {
        if (!IsPastableNumber(value, PasteTarget::Input) || !HasDigit(value))
            return "invalid test number " + QuotedForMessage(value);
        options.testPoint = value;
        return {};
    }
    if (name == "--equation") {
        options.equation = value;
        return {};
    }
    if (name == "--save") {
        if (value.empty())
            return "--save needs a file name";
        options.saveFile = value;
        return {};
    }
    if (name == "--jobs") {
        const std::optional<int> jobs = JobCount(value);
        if (!jobs)
            return "invalid value " + QuotedForMessage(value) +
                   " for --jobs (a whole number, 1 to " + std::to_string(kMostJobs) + ")";
        options.jobs = *jobs;
        return {};
    }
    for (const OptionText& option : kOptionTexts) {
        if (option.name != name)
            continue;
        if (option.wholeUpTo > 0) {
            if (!IsWholeInRange(value, option.wholeUpTo))
                return "invalid value " + QuotedForMessage(value) + " for " + std::string(name) +
                       " (a whole number, 1 to " + std::to_string(option.wholeUpTo) + ")";
            options.methodOptions.*option.field = value;
            return {};
        }
        const std::optional<std::string> typed = TypedText(option.rule, value);
        // The accuracy box holds one character.
        if (!typed || !HasDigit(*typed) ||
            (option.rule == KeyRule::AccuracyDigit && typed->size() > 1))
            return "invalid value " + QuotedForMessage(value) + " for " + std::string(name) +
                   (option.rule == KeyRule::AccuracyDigit ? " (one digit, 0 to 8)"
                                                          : " (a signed decimal number)");
        options.methodOptions.*option.field = *typed;
        return {};
    }
    return "unknown option " + QuotedForMessage(name);
}

// Sets the switch named `arg`; false when no switch has that name.
bool ApplySwitch(std::string_view arg, CliOptions& options) {
    static constexpr std::pair<std::string_view, bool CliOptions::*> kSwitches[] = {
        {"--numeric", &CliOptions::numeric},     {"--json", &CliOptions::json},
        {"--batch", &CliOptions::batch},         {"--long-scans", &CliOptions::longScans},
        {"--overwrite", &CliOptions::overwrite},
    };
    for (const auto& [name, field] : kSwitches) {
        if (arg == name) {
            options.*field = true;
            return true;
        }
    }
    return false;
}

// "-x^2 + 1" is an equation, not an option.
bool LooksLikeOption(std::string_view arg) {
    return arg.size() >= 2 && arg[0] == '-' && arg[1] != 'x' && arg[1] != 'X' &&
           (arg[1] == '-' || (arg[1] >= 'a' && arg[1] <= 'z') || (arg[1] >= 'A' && arg[1] <= 'Z'));
}

// "--method" and each method's name and note, one a line, the default marked.
std::string MethodLines() {
    std::string help = "  --method M      how to solve, one of:\n";
    for (const MethodRow& row : MethodTable()) {
        std::string name(row.cliName);
        name.resize(std::max<std::size_t>(name.size() + 2, 12), ' ');
        help += "                    " + name + std::string(row.helpNote);
        help += row.id == CliOptions{}.method ? " (the default)\n" : "\n";
    }
    return help;
}

// The help of each method option, once, in the table's order.
std::string MethodOptionsHelp() {
    std::string help;
    std::vector<const OptionText*> shown;
    for (const MethodRow& row : MethodTable())
        for (const OptionText* option : row.cliOptions)
            if (std::find(shown.begin(), shown.end(), option) == shown.end()) {
                shown.push_back(option);
                help += option->help;
            }
    return help;
}

} // namespace

bool IsTypedEquation(std::string_view text) {
    // A table, as every batch line is looked at byte by byte.
    static constexpr std::array<bool, 256> kInCoefficients = [] {
        std::array<bool, 256> in{};
        for (const char c : std::string_view("0123456789 \t+-./eE"))
            in[static_cast<unsigned char>(c)] = true;
        return in;
    }();
    for (const char c : text)
        if (!kInCoefficients[static_cast<unsigned char>(c)])
            return true;
    return false;
}

CoefficientArgument ReadCoefficientArgument(std::string_view text) {
    CoefficientArgument argument;
    if (IsPlainNumber(text))
        return argument; // the grid reads it as typed, and the exact reading's module stays out
    // Only the exact reader's grammar is left; a text without a digit is never in it.
    if (HasDigit(text) && text.find_first_not_of("0123456789+-./eE") == std::string_view::npos) {
        CoefficientReading reading = ReadCoefficientText(text);
        if (!reading.text.empty()) {
            argument.gridText = std::move(reading.text);
            return argument;
        }
        if (!reading.limit.empty()) {
            argument.error = InvalidCoefficientMessage(text) + ": " + reading.limit;
            return argument;
        }
    }
    argument.error = InvalidCoefficientMessage(text);
    return argument;
}

std::optional<std::string> ReadCoefficientList(std::span<const std::string_view> texts,
                                               std::vector<std::string>& gridTexts) {
    if (texts.empty())
        return "no coefficients";
    gridTexts.clear();
    for (const std::string_view text : texts) {
        CoefficientArgument argument = ReadCoefficientArgument(text);
        if (!argument.error.empty())
            return text.find_first_of("xX") != std::string_view::npos
                       ? argument.error + " (an equation goes alone, in quotes)"
                       : argument.error;
        gridTexts.push_back(argument.gridText.empty() ? std::string(text)
                                                      : std::move(argument.gridText));
    }
    if (texts.size() > kMaxCoefficients)
        return TooManyCoefficientsMessage(static_cast<int>(texts.size()), kMaxCoefficients);
    return std::nullopt;
}

std::optional<SolveMethod> MethodFromName(std::string_view name) {
    for (const MethodRow& row : MethodTable())
        if (row.cliName == name)
            return row.id;
    return std::nullopt;
}

std::string MethodNames(std::string_view lastSeparator, const MathsMenuState* offeredBy) {
    std::vector<std::string_view> names;
    for (const MethodRow& row : MethodTable())
        if (offeredBy == nullptr || offeredBy->offers(row.id))
            names.push_back(row.cliName);
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            list += i + 1 == names.size() ? lastSeparator : ", ";
        list += names[i];
    }
    return list;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    CliOptions& options = parsed.options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || IsPastableNumber(arg, PasteTarget::Coefficient) ||
            !LooksLikeOption(arg)) {
            options.coefficients.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            parsed.action = CliAction::Help;
            return parsed;
        }
        if (arg == "--version") {
            parsed.action = CliAction::Version;
            return parsed;
        }
        const auto equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        std::string error;
        if (TakesValue(name)) {
            if (equals != std::string::npos) {
                error = ApplyValue(name, arg.substr(equals + 1), options);
            } else if (i + 1 < args.size()) {
                error = ApplyValue(name, args[++i], options);
            } else {
                error = name + " needs a value";
            }
        } else if (equals != std::string::npos || !ApplySwitch(arg, options)) {
            error = "unknown option " + QuotedForMessage(arg);
        }
        if (!error.empty()) {
            parsed.error = std::move(error);
            return parsed;
        }
    }

    options.methodOptions.PartDecimals = options.json; // the JSON shows them
    if (options.overwrite && !options.saveFile) {
        parsed.error = "--overwrite needs --save FILE";
    } else if (options.jobs != 0 && !options.batch) {
        parsed.error = "--jobs needs --batch";
    } else if (options.batch && (!options.coefficients.empty() || options.equation)) {
        parsed.error =
            "--batch reads the equations from standard input, not from the command "
            "line (found " +
            QuotedForMessage(options.equation ? *options.equation : options.coefficients.front()) +
            ")";
    } else if (options.equation && !options.coefficients.empty()) {
        parsed.error = "--equation takes the whole equation (found " +
                       QuotedForMessage(options.coefficients.front()) + ")";
    } else if (options.coefficients.size() == 1 && IsTypedEquation(options.coefficients[0])) {
        options.equation = std::move(options.coefficients[0]);
        options.coefficients.clear();
    } else if (!options.batch && !options.equation) {
        const std::vector<std::string> typed = std::move(options.coefficients);
        const std::vector<std::string_view> texts(typed.begin(), typed.end());
        if (std::optional<std::string> error = ReadCoefficientList(texts, options.coefficients))
            parsed.error = std::move(*error);
    }
    return parsed;
}

double ScanStepCount(double min, double max, double inc) {
    if (!(inc != 0))
        return 0;
    if (inc < 0) {
        min = -min;
        max = -max;
        inc = -inc;
    }
    const double lost = std::ldexp(inc, 53);
    const double stop = std::min(max - inc, lost);
    if (!(min <= stop) || min <= -lost)
        return 0;
    return std::floor((stop - min) / inc) + 1;
}

std::optional<std::string> LongScanMessage(const MethodOptions& options) {
    double steps = 0;
    try {
        steps = ScanStepCount(TextToNumber(options.BisectionMinText),
                              TextToNumber(options.BisectionMaxText),
                              TextToNumber(options.BisectionIncText));
    } catch (const RuntimeFailure&) {
        return std::nullopt;
    }
    if (steps <= kLongScanSteps)
        return std::nullopt;
    char count[32];
    std::snprintf(count, sizeof count, steps < 1e15 ? "%.0f" : "%.3g", steps);
    return std::string("the bisection scan would take ") + count +
           " steps; more than 100000000 need --long-scans";
}

std::optional<std::string> MethodNotOfferedMessage(SolveMethod method, const MathsMenuState& menu) {
    if (menu.offers(method))
        return std::nullopt;
    const MethodRow& row = MethodRowOf(method);
    return "the " + std::string(row.cliName) +
           " method is not offered for this equation: " + std::string(row.notOfferedReason) +
           "; offered: " + MethodNames(" and ", &menu);
}

std::string HelpText() {
    return R"help(Usage: valdrex-solve [OPTIONS] COEFFICIENT...   one equation, highest power first
       valdrex-solve [OPTIONS] EQUATION         one equation as text
       valdrex-solve [OPTIONS] --batch          one equation per line of standard input

Solves P(x) = 0 the way the Valdrex main window does and prints what it would show.
COEFFICIENT: 1 to 13 numbers, the last one the constant term, each an integer, a decimal or a
fraction, with an exponent or a "+" if wanted: "1 -3 2" is x^2 - 3x + 2; "-0.5", "3/4" and
"+2.5e-3" are fine. "--" ends the options.
EQUATION: one argument holding anything else than such numbers, such as "(x-1)^2(x+3)" or
"x^2 = 2x + 1": sums, products ("*", "·", "×" or side by side), quotients by numbers, whole
powers ("^", "**" or "x²"), parentheses and one "=", expanded exactly. An error names the
column where the text stops making sense.

Options:
)help" + MethodLines() +
           R"help(                  (the approximate methods need degree 3 or more)
  --equation E    the equation as text, also one that starts with "-" or holds only numbers
  --numeric       quadratic roots as numbers instead of the symbolic form
)help" + MethodOptionsHelp() +
           R"help(                  (other option values are signed decimals, as typed in the method dialogs)
  --test X        also evaluate P at X (a signed decimal); it goes into the record
  --save FILE     append each record to FILE (Windows-1252, CR LF), like the database
  --overwrite     with --save: empty FILE before the first record, then append
  --json          one JSON object per line for each equation (see below)
  --batch         read the equations from standard input, one a line: coefficients separated
                  by blanks or tabs, or an equation as text; blank lines and lines starting
                  with "#" are skipped
  --jobs N        with --batch: solve on N threads (default: one for each core); the output
                  and the records are the same, in input order, whatever N
  --long-scans    allow a bisection scan of more than 100000000 steps ((max - min) / inc)
  -h, --help      show this help
  --version       show the version

Plain output: the equation solved, the solution lines, the status text (if any), "Irreducible
factor: ..." (if any) and "P(X) = value" (with --test), one per line; in batch mode every result
ends with an empty line. Error message texts go to standard error, and so do the messages of
records that could not be saved. On a terminal, a bisection scan that takes more than a second
shows its progress there; Ctrl+C ends the run, keeping what was written.

JSON output, one object per equation, every field always there (docs/json.md has examples):
  schema               the version of this layout, now 2
  equation             the equation text
  lines                the solution lines, in order
  roots                the root texts as stored for the record, in order
  status               the status text ("" when none)
  factor               the irreducible factor ("" when none)
  factor_coefficients  the factor's 13 coefficients, index = power of x; null without a factor
  all_roots            with --method all only: each distinct root as {"re", "im" (the nearest
                       doubles), "re_decimal", "im_decimal" (the parts as decimal numbers in
                       strings, correctly rounded to the digits asked), "multiplicity",
                       "radius" (bounds the distance to the true root, 0 when exact), "exact"
                       (the exact form or null), "text"}
  test                 {"x": text, "value": text or null} with --test, otherwise null
  errors               the error messages, in order: [{"number", "description", "text",
                       "title", "icon"}], icon "none" or "critical"
  record               the database record line, without CR LF
In batch mode each object has "line" (the input line number) after "schema", and an invalid
line gives {"schema": 2, "line": N, "error": "..."}.

Exit status:
  0    success (a status such as "No solution found" is not a failure)
  1    an error message (such as "Overflow"), an invalid batch line, a record that could not be
       saved, or a failure to write standard output or read standard input
  2    invalid arguments or option values, an invalid coefficient or equation, a zero
       denominator, a coefficient beyond the method's 32 bits, a method not offered for the
       equation, or a bisection scan too long without --long-scans
  130  ended by Ctrl+C
)help";
}

std::string VersionText() {
    return std::string("valdrex-solve ") + VALDREX_VERSION;
}

} // namespace valdrex::cli
