#include "cli/equation.h"

#include "cli/standard_streams.h"

#include <chrono>
#include <mutex>
#include <unistd.h>

namespace valdrex::cli {
namespace {

std::mutex& TerminalLock() {
    static std::mutex lock; // batch workers scan at the same time
    return lock;
}

// Whether standard error is a terminal, where long scans show how far they have got.
bool ProgressShown() {
    static const bool terminal = ::isatty(STDERR_FILENO) == 1;
    return terminal;
}

// "valdrex-solve: line 12: scanning, 42%" over the terminal's last line (no "line" for 0).
void ShowScanProgress(int line, int percent) {
    std::string text = "\rvaldrex-solve: ";
    if (line > 0)
        text += "line " + std::to_string(line) + ": ";
    text += "scanning, " + std::to_string(percent) + "%\x1B[K";
    const std::lock_guard hold(TerminalLock());
    WriteAll(STDERR_FILENO, text);
}

// Erases the progress line.
void ClearScanProgress() {
    const std::lock_guard hold(TerminalLock());
    WriteAll(STDERR_FILENO, "\r\x1B[K");
}

void Append(ErrorBoxes& to, std::span<const ErrorBox> more) {
    if (!more.empty()) // rarely: most equations meet no failure
        to.insert(to.end(), more.begin(), more.end());
}

constexpr auto kQuietScanTime = std::chrono::seconds(1);

} // namespace

// The model writes no file: the records come out in the results, and the one writer of the
// --save file takes them in input order whatever the number of workers.
EquationRunner::EquationRunner(const CliOptions& options)
    : options_(options), model_(state_, nullptr) {
    // Solves give their records: --save writes them and --json shows them.
    state_.SaveEquations = options.saveFile.has_value() || options.json;
    state_.EvaluateSymbolically = !options.numeric;
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
    model_.Renew();
    errors_ = model_.SetCoefficients(coefficients);
    // A method that reads the texts exactly shows the equation it read, which the grid's own
    // drawing may fail to show.
    if (MethodRowOf(options_.method).readsTextsExactly)
        errors_.clear();
    return SolveGrid(report);
}

std::optional<std::string> EquationRunner::SolveTyped(std::string_view equation,
                                                      EquationReport& report) {
    model_.Renew();
    errors_.clear();
    EnterEquationResult entered = model_.EnterEquation(equation);
    if (!entered.entered)
        return std::move(entered.error);
    return SolveGrid(report);
}

std::optional<std::string> EquationRunner::SolveGrid(EquationReport& report) {
    MainModel& model = model_;
    recordToSave_ = {};
    if (std::optional<std::string> notOffered =
            MethodNotOfferedMessage(options_.method, MathsMenuEnabling(model.coefficients())))
        return notOffered;

    // A zero denominator the test meets is told by the solve.
    if (options_.testPoint) {
        model.SetInput(*options_.testPoint);
        Append(errors_, model.Test().errors);
    }

    line_ = report.line;
    if (options_.method == SolveMethod::Bisection)
        scanStart_ = std::chrono::steady_clock::now();
    report.result =
        model.Solve(options_.method, options_.methodOptions, scanProgress_, InterruptFlag());
    const SolveResult& result = report.result;
    if (shownPercent_ >= 0) {
        ClearScanProgress();
        shownPercent_ = -1;
    }
    if (const std::optional<UnreadBox> unread = result.unread)
        return UnreadCoefficientMessage(unread->power, result.coefficients[unread->power],
                                        unread->why);
    Append(errors_, result.errors);

    report.listsAllRoots = options_.method == SolveMethod::AllRoots;
    report.testInput = options_.testPoint ? &*options_.testPoint : nullptr;
    report.testOutput = model.output();
    report.errors = errors_;
    if (options_.saveFile && result.record)
        recordToSave_ = *result.record;
    return std::nullopt;
}

} // namespace valdrex::cli
