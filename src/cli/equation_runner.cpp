#include "cli/equation_runner.h"

#include "cli/message_text.h"
#include "cli/method_offer.h"

namespace valdrex::cli {
namespace {

void Append(ErrorBoxes& to, const ErrorBoxes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

} // namespace

EquationRunner::EquationRunner(const CliOptions& options) : options_(options), model_(state_) {
    state_.SaveEquations = options.saveFile ? 1 : 0;
    state_.DatabaseFile = options.saveFile.value_or("");
    state_.OverwriteFile = options.overwrite ? 1 : 0;
    state_.EvaluateSymbolically = options.numeric ? 0 : 1;
    // The dialog resets its texts and the user confirms what the command line typed.
    optionsDialog_ = [this](OptionsForm, MethodOptions& methodOptions) {
        methodOptions = options_.methodOptions;
        methodOptions.OptionsConfirmed = true;
    };
}

std::optional<std::string> EquationRunner::Solve(std::span<const std::string_view> coefficients,
                                                 EquationReport& report) {
    MainModel& model = model_;
    model.Renew();
    errors_ = model.SetCoefficients(coefficients);
    const int count = static_cast<int>(coefficients.size());

    if (std::optional<std::string> notOffered =
            MethodNotOfferedMessage(options_.method, MathsMenuEnabling(model.coefficients())))
        return notOffered;

    if (options_.testPoint) {
        model.SetInput(*options_.testPoint);
        Append(errors_, model.Test());
        model.TakeFocusRequest(); // a zero denominator shows again when solving
    }

    Append(errors_, model.Solve(options_.method, optionsDialog_));
    if (const std::optional<FocusRequest> focus = model.TakeFocusRequest();
        focus && focus->box == FocusRequest::Box::Coefficient) {
        const int power = focus->index;
        const std::string_view text = power < count ? coefficients[count - 1 - power] : "0";
        return ZeroDenominatorMessage(power, text);
    }
    if (state_.SaveEquations == 1) {
        // The model reports a written record in its information label, and only then.
        if (model.info().empty())
            saveFailed_ = true;
        else
            state_.OverwriteFile = 0; // emptied once; later records are appended
    }

    report.equation = model.equation();
    report.lines = model.solutionLines();
    report.solText = std::span<const std::string>(model.solText()).subspan(1);
    report.status = model.message();
    report.factor = model.factor();
    report.factorCoefficients = MethodRowOf(options_.method).leavesFactorCoefficients
                                    ? &model.factorCoefficients()
                                    : nullptr;
    report.allRoots = options_.method == SolveMethod::AllRoots ? &model.allRoots() : nullptr;
    report.testInput = options_.testPoint ? &*options_.testPoint : nullptr;
    report.testOutput = model.output();
    report.errors = errors_;
    if (options_.json) {
        fields_.equation = model.equation();
        fields_.SolText = model.solText();
        fields_.input = model.input();
        fields_.output = model.output();
        fields_.factor = model.factor();
        record_.clear();
        AppendRecordText(record_, fields_);
        report.record = record_;
    }
    return std::nullopt;
}

} // namespace valdrex::cli
