#include "model/main_model.h"

#include "core/equation_text.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/working_polynomial.h"
#include "database/database_file.h"
#include "database/record.h"
#include "solvers/approx/bisection.h"

#include <algorithm>

namespace valdrex {
namespace {

constexpr char kDivisionByZeroMessage[] = "Division by 0";

// The annotation box's line breaks become the file's CR LF.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

} // namespace

// Every box starts as "0", built in place.
MainModel::MainModel(ModuleState& state, DatabaseLineWriter appendLine)
    : state_(state), appendLine_(appendLine), coefficients_{"0", "0", "0", "0", "0", "0", "0",
                                                            "0", "0", "0", "0", "0", "0"} {}

MainModel::MainModel(ModuleState& state) : MainModel(state, AppendLine) {}

void MainModel::Renew() {
    for (std::string& box : coefficients_)
        if (box.size() != 1 || box[0] != '0')
            box.assign(1, '0');
    equation_.assign("0 = 0");
    solve_.SetAsideLines();
    for (std::string& text : solve_.SolText)
        text.clear();
    solve_.SetAsideAllRoots();
    message_.clear();
    info_.clear();
    input_.clear();
    output_.clear();
    note_.clear();
    factor_.clear();
    solve_.a = {};
    factorCoefficients_ = {};
    solve_.w = {};
    focus_.reset();
}

ErrorBoxes MainModel::SetCoefficient(int power, const std::string& text) {
    if (coefficients_[power] == text)
        return {};
    coefficients_[power] = text;
    input_.clear();
    output_.clear();
    try {
        equation_ = EquationText(coefficients_);
    } catch (const RuntimeFailure& f) {
        state_.ErrorFlag = true;
        return {PlainErrorBox(f)};
    }
    return {};
}

ErrorBoxes MainModel::SetCoefficients(std::span<const std::string_view> highestFirst) {
    const int count = static_cast<int>(highestFirst.size());
    const auto typeOneByOne = [&] {
        ErrorBoxes errors;
        for (int k = 0; k < count; ++k) {
            const ErrorBoxes more = SetCoefficient(count - 1 - k, std::string(highestFirst[k]));
            errors.insert(errors.end(), more.begin(), more.end());
        }
        return errors;
    };
    const auto isZero = [](const std::string& text) { return text == "0"; };
    if (!std::all_of(coefficients_.begin(), coefficients_.end(), isZero))
        return typeOneByOne();
    // From an empty grid, each step's equation holds a subset of the final terms, and a term
    // fails to draw by its own text alone: when the final equation draws, every step's did, and
    // drawing it once gives the same texts.
    bool changed = false;
    for (int k = 0; k < count; ++k) {
        std::string& box = coefficients_[count - 1 - k];
        if (box != highestFirst[k]) {
            box.assign(highestFirst[k]);
            changed = true;
        }
    }
    if (!changed)
        return {};
    input_.clear();
    output_.clear();
    try {
        WriteEquationText(coefficients_, equationDraft_);
        equation_.swap(equationDraft_);
        return {};
    } catch (const RuntimeFailure&) {
        for (std::string& box : coefficients_)
            box = "0";
        return typeOneByOne();
    }
}

ErrorBoxes MainModel::ClearAll() {
    ErrorBoxes errors = SetCoefficient(kCoefficientCount - 1, "0");
    for (int i = 0; i < kCoefficientCount - 1; ++i) {
        const ErrorBoxes more = SetCoefficient(i, "0");
        errors.insert(errors.end(), more.begin(), more.end());
    }
    solve_.SetAsideLines();
    message_.clear();
    info_.clear();
    note_.clear();
    input_.clear();
    output_.clear();
    factor_.clear();
    equation_ = "0 = 0";
    return errors;
}

ErrorBoxes MainModel::Put() {
    ErrorBoxes errors = ClearAll();
    for (int i = 0; i < kCoefficientCount; ++i) {
        const ErrorBoxes more = SetCoefficient(i, NumberToStr(factorCoefficients_[i]));
        errors.insert(errors.end(), more.begin(), more.end());
    }
    message_ = "Coefficients transferred";
    return errors;
}

ErrorBoxes MainModel::Test() {
    try {
        const InputNumber x = ParseInputNumber(input_);
        if (x.zeroDenominator) {
            message_ = kDivisionByZeroMessage;
            focus_ = FocusRequest{FocusRequest::Box::Input};
        }
        const std::optional<int> zero = ReadTestCoefficients(coefficients_, state_.TestCoef);
        if (zero) {
            message_ = kDivisionByZeroMessage;
            focus_ = FocusRequest{FocusRequest::Box::Coefficient, *zero};
        }
        if (x.zeroDenominator || zero)
            return {};
        output_ = NumberToStr(EvaluateTest(state_.TestCoef, x.value));
    } catch (const RuntimeFailure& f) {
        return {SolverErrorBox(f)};
    }
    return {};
}

ErrorBoxes MainModel::PrepareTestMany(bool& canOpen) {
    canOpen = false;
    try {
        const std::optional<int> zero = ReadTestCoefficients(coefficients_, state_.TestCoef);
        if (zero) {
            message_ = kDivisionByZeroMessage;
            focus_ = FocusRequest{FocusRequest::Box::Coefficient, *zero};
            return {};
        }
    } catch (const RuntimeFailure& f) {
        return {SolverErrorBox(f)};
    }
    canOpen = true;
    return {};
}

ErrorBoxes MainModel::Solve(SolveMethod method, const OptionsDialog& optionsDialog,
                            const ScanProgress& progress) {
    message_.clear();
    info_.clear();
    factor_.clear();

    const MethodRow& row = MethodRowOf(method);
    if (row.readsTextsExactly) {
        solve_.a = {};
    } else if (const std::optional<int> zero = ReadCoefficients(coefficients_, solve_.a)) {
        message_ = kDivisionByZeroMessage;
        focus_ = FocusRequest{FocusRequest::Box::Coefficient, *zero};
        return {};
    }
    solve_.SetAsideLines();
    for (std::string& text : solve_.SolText)
        text.clear();
    solve_.SetAsideAllRoots();
    if (row.optionsForm != nullptr && optionsDialog) {
        optionsDialog(row, state_.Options);
        if (!state_.Options.OptionsConfirmed)
            return {};
    }

    // The solver works on the polynomial just read and the values of the last run, and writes
    // into the emptied list and texts, keeping their storage.
    SolveContext& ctx = solve_;
    ctx.lines.reserve(kMaxRoots); // one allocation instead of one per doubling
    ctx.status.clear();
    ctx.errors.clear();
    ctx.factorText.clear();
    ctx.zeroDenominator.reset();
    ctx.EvSimbTmp = state_.EvaluateSymbolically;
    row.solve(ctx, SolveRequest{coefficients_, state_.Options, progress});
    message_ = ctx.status;
    if (ctx.zeroDenominator) {
        focus_ = FocusRequest{FocusRequest::Box::Coefficient, *ctx.zeroDenominator};
        return ctx.errors;
    }
    factor_ = ctx.factorText;
    if (row.leavesFactorCoefficients)
        factorCoefficients_ = ctx.a;

    ErrorBoxes errors = ctx.errors;
    // A cancelled scan did not look at the whole interval: its roots are no record.
    const bool cancelled = ctx.status == kScanCancelledStatus;
    if (state_.SaveEquations && !cancelled) {
        const ErrorBoxes more = ExportToFile();
        errors.insert(errors.end(), more.begin(), more.end());
    }
    return errors;
}

ErrorBoxes MainModel::ExportToFile() {
    const RecordFields fields{equation_, solve_.SolText, input_, output_, factor_};
    try {
        appendLine_(state_.DatabaseFile, RecordText(fields), state_.OverwriteFile);
    } catch (const RuntimeFailure& f) {
        state_.ErrorFlag = true;
        return {PlainErrorBox(f)};
    }
    info_ = "The equation and the solutions are saved in the file " + state_.DatabaseFile;
    return {};
}

std::string MainModel::CopyAllText() {
    const RecordFields fields{equation_, solve_.SolText, input_, output_, factor_};
    info_ = "Copy all texts in the clipboard: done!";
    return ClipboardText(fields, WithCrLf(note_));
}

ErrorBoxes MainModel::Update() {
    state_.ErrorFlag = false;
    ErrorBoxes errors;
    if (!state_.SaveEquations)
        errors = ExportToFile();
    if (state_.ErrorFlag)
        return errors;
    try {
        appendLine_(state_.DatabaseFile, WithCrLf(note_), false);
    } catch (const RuntimeFailure& f) {
        errors.push_back(PlainErrorBox(f));
        return errors;
    }
    info_ = "File " + state_.DatabaseFile + " updated.";
    return errors;
}

std::optional<FocusRequest> MainModel::TakeFocusRequest() {
    std::optional<FocusRequest> request = focus_;
    focus_.reset();
    return request;
}

} // namespace valdrex
