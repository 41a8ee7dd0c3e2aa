#include "model/main_model.h"

#include "core/equation_text.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/working_polynomial.h"
#include "database/database_file.h"
#include "database/record.h"
#include "solvers/typed_equation/typed_equation.h"

#include <algorithm>
#include <cstdint>

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

// Whether the grid's own equation text shows the texts' exact values: each text is a plain
// number between blanks.
bool DrawnExactly(const CoefficientTexts& texts) {
    for (const std::string& text : texts) {
        if (text.size() == 1 && text[0] == '0')
            continue; // the most common box
        const auto first = text.find_first_not_of(' ');
        if (first == std::string::npos)
            return false;
        const auto last = text.find_last_not_of(' ');
        if (!IsPlainNumber(std::string_view(text).substr(first, last - first + 1)))
            return false;
    }
    return true;
}

// Storage kept from one equation to the next; a long line's is given back, or it would stay
// beside the next long line's.
constexpr std::size_t kKeptCapacity = 1 << 12;

void Reset(std::string& text, std::string_view to) {
    if (text.capacity() > kKeptCapacity) {
        std::string(to).swap(text);
    } else {
        text.resize(to.size());
        for (std::size_t i = 0; i < to.size(); ++i) // a few characters: no call to copy them
            text[i] = to[i];
    }
}

// FNV-1a over the texts' bytes, each text ended by a byte no text holds: taken at each first
// edit after a solve, so kept cheaper than a library hash per text.
std::size_t Fingerprint(const CoefficientTexts& texts) {
    std::uint64_t print = 14695981039346656037u;
    const auto mix = [&print](unsigned char byte) { print = (print ^ byte) * 1099511628211u; };
    for (const std::string& text : texts) {
        for (const char c : text)
            mix(static_cast<unsigned char>(c));
        mix(0);
    }
    return static_cast<std::size_t>(print);
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
            Reset(box, "0");
    Reset(equation_, "0 = 0");
    if (equationDraft_.capacity() > kKeptCapacity) // only its storage matters
        std::string().swap(equationDraft_);
    equationStale_ = false;
    equationShowsTexts_ = false;
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
    errors_.clear();
    recordToSave_ = false;
    unread_.reset();
    NoResultsShown();
}

void MainModel::NoResultsShown() {
    resultsFor_.reset();
    resultsForThisGrid_ = false;
}

void MainModel::ResultsOfThisGridShown() {
    resultsFor_.reset();
    resultsForThisGrid_ = true;
}

void MainModel::TieResultsToGrid() const {
    if (resultsForThisGrid_) {
        resultsFor_ = Fingerprint(coefficients_);
        resultsForThisGrid_ = false;
    }
}

bool MainModel::resultsOutdated() const {
    return !resultsForThisGrid_ && resultsFor_ && *resultsFor_ != Fingerprint(coefficients_);
}

ErrorBoxes MainModel::SetCoefficient(int power, std::string text) {
    if (coefficients_[power] == text)
        return {};
    TieResultsToGrid();
    coefficients_[power] = std::move(text); // a long text is not held twice
    equationShowsTexts_ = false;
    input_.clear();
    output_.clear();
    try {
        equation_ = EquationText(coefficients_);
        equationStale_ = false;
    } catch (const RuntimeFailure& f) {
        state_.ErrorFlag = true;
        equationStale_ = true;
        return {PlainErrorBox(f)};
    }
    return {};
}

void MainModel::SetInput(const std::string& text) {
    if (input_ == text)
        return;
    input_ = text;
    output_.clear();
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
    TieResultsToGrid();
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
        equationShowsTexts_ = WriteEquationText(coefficients_, equationDraft_);
        equation_.swap(equationDraft_);
        equationStale_ = false;
        return {};
    } catch (const RuntimeFailure&) {
        for (std::string& box : coefficients_)
            Reset(box, "0");
        return typeOneByOne();
    }
}

EnterEquationResult MainModel::EnterEquation(std::string_view utf8Text) {
    TypedEquation typed = ParseTypedEquation(utf8Text);
    if (!typed.error.empty())
        return {false, std::move(typed.error), typed.column};
    if (typed.coefficients != coefficients_) {
        TieResultsToGrid();
        coefficients_.swap(typed.coefficients);
        input_.clear();
        output_.clear();
    }
    // Exact whatever the size of the numbers, where the grid's own drawing would overflow.
    equation_.swap(typed.equation);
    equationStale_ = false;
    equationShowsTexts_ = false;
    return {true, {}, 0};
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
    NoResultsShown();
    equationStale_ = false;
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

TestResult MainModel::Test() {
    TestResult result;
    try {
        const InputNumber x = ParseInputNumber(input_);
        if (x.zeroDenominator) {
            message_ = kDivisionByZeroMessage;
            result.unread = UnreadBox{UnreadBox::Box::Input};
        }
        const std::optional<int> zero = ReadTestCoefficients(coefficients_, state_.TestCoef);
        if (zero) {
            message_ = kDivisionByZeroMessage;
            result.unread = UnreadBox{UnreadBox::Box::Coefficient, *zero};
        }
        if (result.unread)
            DropResults();
        else
            output_ = NumberToStr(EvaluateTest(state_.TestCoef, x.value));
    } catch (const RuntimeFailure& f) {
        result.errors.push_back(SolverErrorBox(f));
    }
    return result;
}

TestResult MainModel::PrepareTestMany() {
    TestResult result;
    try {
        if (const std::optional<int> zero = ReadTestCoefficients(coefficients_, state_.TestCoef)) {
            message_ = kDivisionByZeroMessage;
            result.unread = UnreadBox{UnreadBox::Box::Coefficient, *zero};
            DropResults();
        }
    } catch (const RuntimeFailure& f) {
        result.errors.push_back(SolverErrorBox(f));
    }
    return result;
}

SolveResult MainModel::Solve(SolveMethod method, const MethodOptions& options,
                             const ScanProgress& progress, const std::atomic<bool>* stop) {
    if (!ReadForSolve(method))
        return Result();
    return FinishSolve(options, progress, stop);
}

SolveResult MainModel::StartSolve(SolveMethod method) {
    ReadForSolve(method);
    return Result();
}

bool MainModel::ReadForSolve(SolveMethod method) {
    method_ = &MethodRowOf(method);
    errors_.clear();
    recordToSave_ = false;
    unread_.reset();
    solve_.cancelled = false;
    message_.clear();
    info_.clear();
    factor_.clear();
    ResultsOfThisGridShown();

    if (method_->readsTextsExactly) {
        solve_.a = {};
    } else {
        ReadFault why{};
        if (const std::optional<int> power = ReadCoefficients(coefficients_, solve_.a, &why)) {
            message_ = kDivisionByZeroMessage;
            unread_ = UnreadBox{UnreadBox::Box::Coefficient, *power, why};
            DropResults();
            return false;
        }
    }
    solve_.SetAsideLines();
    for (std::string& text : solve_.SolText)
        text.clear();
    solve_.SetAsideAllRoots();
    return true;
}

SolveResult MainModel::FinishSolve(const MethodOptions& options, const ScanProgress& progress,
                                   const std::atomic<bool>* stop) {
    // The solver works on the polynomial just read and the values of the last run, and writes
    // into the emptied list and texts, keeping their storage.
    const MethodRow& row = *method_;
    SolveContext& ctx = solve_;
    ctx.lines.reserve(kMaxRoots); // one allocation instead of one per doubling
    ctx.status.clear();
    ctx.errors.clear();
    ctx.factorText.clear();
    ctx.zeroDenominator.reset();
    ctx.EvSimbTmp = state_.EvaluateSymbolically;
    row.solve(ctx, SolveRequest{coefficients_, options, progress, stop});
    // Taken over rather than copied: the next run empties what the context is left with.
    message_.swap(ctx.status);
    errors_.swap(ctx.errors);
    if (ctx.zeroDenominator) {
        unread_ = UnreadBox{UnreadBox::Box::Coefficient, *ctx.zeroDenominator};
        return Result();
    }
    factor_.swap(ctx.factorText);
    // What the method read exactly is what the equation text shows and the record keeps, even
    // where the grid's own drawing could not show it.
    if (row.readsTextsExactly && !equationShowsTexts_ &&
        (equationStale_ || !DrawnExactly(coefficients_)))
        if (std::optional<std::string> exact = ExactEquationText(coefficients_)) {
            equation_.swap(*exact);
            equationStale_ = false;
        }
    if (row.leavesFactorCoefficients)
        factorCoefficients_ = ctx.a;

    // A cancelled solve did not finish (a scan did not look at the whole interval): its roots
    // are no record.
    if (state_.SaveEquations && !ctx.cancelled) {
        BuildRecord();
        recordToSave_ = true;
        if (appendLine_) {
            const ErrorBoxes more = WriteRecord();
            errors_.insert(errors_.end(), more.begin(), more.end());
        }
    }
    return Result();
}

SolveResult MainModel::Result() const {
    SolveResult result;
    result.coefficients = coefficients_;
    result.equation = equation_;
    result.status = message_;
    result.lines = solve_.lines;
    result.rootTexts = std::span<const std::string>(solve_.SolText).subspan(1);
    result.allRoots = solve_.allRoots;
    result.factor = factor_;
    if (method_->leavesFactorCoefficients)
        result.factorCoefficients = &factorCoefficients_;
    if (recordToSave_)
        result.record = RecordLine{equation_, recordTail_};
    result.errors = errors_;
    result.unread = unread_;
    result.cancelled = solve_.cancelled;
    return result;
}

void MainModel::BuildRecord() {
    recordTail_.clear();
    AppendRecordTail(recordTail_, {equation_, solve_.SolText, input_, output_, factor_});
}

ErrorBoxes MainModel::WriteRecord() {
    try {
        appendLine_(state_.DatabaseFile, RecordLine{equation_, recordTail_}.Text(),
                    state_.OverwriteFile);
    } catch (const RuntimeFailure& f) {
        state_.ErrorFlag = true;
        return {PlainErrorBox(f)};
    }
    info_ = "The equation and the solutions are saved in the file " + state_.DatabaseFile;
    return {};
}

// The historic commands kept the previous equation's roots beside "Division by 0"; a failed
// command leaves none, so that nothing on screen belongs to another equation.
void MainModel::DropResults() {
    solve_.SetAsideLines();
    for (std::string& text : solve_.SolText)
        text.clear();
    solve_.SetAsideAllRoots();
    factor_.clear();
    ResultsOfThisGridShown();
}

ErrorBoxes MainModel::ExportToFile() {
    BuildRecord();
    return WriteRecord();
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

} // namespace valdrex
