#include "cli/cli_options.h"

#include "cli/coefficient_list.h"
#include "cli/message_text.h"
#include "cli/typed_text.h"
#include "core/coefficient_text.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace valdrex::cli {
namespace {

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
    return name == "--method" || name == "--test" || name == "--save" || name == "--jobs";
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

bool LooksLikeOption(std::string_view arg) {
    return arg.size() >= 2 && arg[0] == '-' &&
           (arg[1] == '-' || (arg[1] >= 'a' && arg[1] <= 'z') || (arg[1] >= 'A' && arg[1] <= 'Z'));
}

} // namespace

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

    if (options.overwrite && !options.saveFile) {
        parsed.error = "--overwrite needs --save FILE";
    } else if (options.jobs != 0 && !options.batch) {
        parsed.error = "--jobs needs --batch";
    } else if (options.batch && !options.coefficients.empty()) {
        parsed.error = "--batch reads the coefficients from standard input, not from the "
                       "command line (found " +
                       QuotedForMessage(options.coefficients.front()) + ")";
    } else if (!options.batch) {
        const std::vector<std::string_view> texts(options.coefficients.begin(),
                                                  options.coefficients.end());
        if (std::optional<std::string> error = CoefficientListError(texts))
            parsed.error = std::move(*error);
    }
    return parsed;
}

} // namespace valdrex::cli
