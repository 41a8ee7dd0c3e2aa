#include "cli/equation_runner.h"

#include "cli/coefficient_fault.h"
#include "cli/interrupt.h"
#include "cli/method_offer.h"
#include "cli/scan_progress_line.h"

namespace valdrex::cli {
namespace {

void Append(ErrorBoxes& to, const ErrorBoxes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// The model hands its record to this writer, which keeps it for the runner: the records of all
// workers reach the file in input order through one writer.
thread_local std::string* keptRecord = nullptr;

void KeepRecord(const std::string&, std::string_view utf8Line, bool) {
    keptRecord->assign(utf8Line);
}

constexpr auto kQuietScanTime = std::chrono::seconds(1);

} // namespace

EquationRunner::EquationRunner(const CliOptions& options)
    : options_(options), model_(state_, KeepRecord) {
    state_.SaveEquations = options.saveFile.has_value();
    state_.DatabaseFile = options.saveFile.value_or("");
    state_.EvaluateSymbolically = !options.numeric;
    // The dialog resets its texts and the user confirms what the command line typed. Only this
    // dialog writes the model's options, so once they hold the typed texts they keep them.
    optionsDialog_ = [this](const MethodRow&, MethodOptions& methodOptions) {
        if (optionsApplied_)
            return;
        methodOptions = options_.methodOptions;
        methodOptions.OptionsConfirmed = true;
        optionsApplied_ = true;
    };
    scanProgress_ = [this](double share) { return OnScanProgress(share); };
}

bool EquationRunner::OnScanProgress(double shareScanned) {
    if (Interrupted())
        return false;
    const int percent = static_cast<int>(shareScanned * 100);
    if (percent != shownPercent_ && ProgressShown() &&
        std::chrono::steady_clock::now() - scanStart_ > kQuietScanTime) {
        ShowScanProgress(line_, percent);
        shownPercent_ = percent;
    }
    return true;
}

std::optional<std::string> EquationRunner::Solve(std::span<const std::string_view> coefficients,
                                                 EquationReport& report) {
    MainModel& model = model_;
    model.Renew();
    recordToSave_.clear();
    keptRecord = &recordToSave_;
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

    line_ = report.line;
    if (options_.method == SolveMethod::Bisection)
        scanStart_ = std::chrono::steady_clock::now();
    Append(errors_, model.Solve(options_.method, optionsDialog_, scanProgress_));
    if (shownPercent_ >= 0) {
        ClearScanProgress();
        shownPercent_ = -1;
    }
    if (const std::optional<FocusRequest> focus = model.TakeFocusRequest();
        focus && focus->box == FocusRequest::Box::Coefficient) {
        const int power = focus->index;
        const std::string_view text = power < count ? coefficients[count - 1 - power] : "0";
        return CoefficientFaultMessage(power, text);
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
