// Arbitrary coefficient and option texts through the main window's model: every solving
// method, then Test and Put. Nothing is written to disk. The input format is in model_input.h.

#include "core/coefficient_text.h"
#include "core/equation_text.h"
#include "core/failure.h"
#include "core/working_polynomial.h"
#include "database/cp1252.h"
#include "database/record.h"
#include "fuzz_check.h"
#include "model/main_model.h"
#include "model_input.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace valdrex::fuzz {
namespace {

void CheckBoxes(const ErrorBoxes& errors, SolveMethod method) {
    for (const ErrorBox& box : errors) {
        Require(!box.text.empty() && !ShowsNonFinite(box.text));
        const bool plain = box.icon == BoxIcon::None && box.title == kAppTitle;
        const bool critical = box.icon == BoxIcon::Critical && box.title == "Error";
        // Only the quadratic solver (inside the exact one) reports in the plain style.
        Require(critical || (plain && method == SolveMethod::Exact));
        if (method == SolveMethod::Rational)
            Require(box.text.rfind("Error", 0) != 0);
        else if (critical)
            Require(box.text.rfind("Error ", 0) == 0);
    }
    // Every solver but the exact one (whose sub-solvers each trap) ends at its first failure.
    if (method != SolveMethod::Exact)
        Require(errors.size() <= 1);
}

// Each line is "x<k> =" and root k's text, k rising (the exact solvers may skip a number when a
// sub-solver failed; the others never do); every root text is listed, and none is empty.
void CheckSolutions(const MainModel& model, SolveMethod method) {
    const auto& solText = model.solText();
    int previous = 0, listed = 0;
    for (const std::string_view line : model.solutionLines()) {
        Require(line.size() > 1 && line[0] == 'x' && line[1] != '0');
        int k = 0;
        const auto [end, fault] = std::from_chars(line.data() + 1, line.data() + line.size(), k);
        const std::string_view rest = line.substr(static_cast<std::size_t>(end - line.data()));
        Require(fault == std::errc{} && k > previous && k <= kMaxRoots && rest.starts_with(" ="));
        Require(method == SolveMethod::Exact || k == previous + 1);
        Require(rest.size() > 2 && rest.substr(2) == solText[k] && !ShowsNonFinite(rest));
        previous = k;
        ++listed;
    }
    Require(std::count_if(solText.begin() + 1, solText.end(),
                          [](const std::string& text) { return !text.empty(); }) == listed);
}

void CheckModel(const MainModel& model) {
    Require(!ShowsNonFinite(model.message()));
    Require(!ShowsNonFinite(model.factor()));
    Require(!ShowsNonFinite(model.output()));
    Require(model.info().empty()); // nothing saved, nothing copied
}

// Everything a solve shows, to compare two runs.
std::string Outcome(const MainModel& model, const ErrorBoxes& errors) {
    std::string text = model.message() + "|" + model.factor() + "|";
    for (const std::string& line : model.solutionLines())
        text += line + "|";
    for (const ErrorBox& box : errors)
        text += box.text + "|";
    return text;
}

// The degree of the polynomial the grid describes, or nothing when the grid cannot be read.
std::optional<int> GridDegree(const MainModel& model) {
    Polynomial a{};
    if (ReadCoefficients(model.coefficients(), a))
        return std::nullopt;
    int degree = kCoefficientCount - 1;
    while (degree > 0 && a[degree] == 0)
        --degree;
    return degree;
}

// Whether every box holds a text that typing, pasting or the command line can put there.
// (Put writes a blank before non-negative numbers; the readings ignore it.)
bool NumberShapedBoxes(const MainModel& model) {
    return std::all_of(model.coefficients().begin(), model.coefficients().end(),
                       [](const std::string& box) {
                           return IsPastableNumber(TrimBlanks(box), PasteTarget::Coefficient);
                       });
}

// The equation text of number-shaped boxes keeps to its alphabet, and a record stays one line
// of the file's code page. (Texts of any other shape are echoed into the record as they are.)
void CheckTexts(const MainModel& model) {
    if (!NumberShapedBoxes(model) || !IsPastableNumber(model.input(), PasteTarget::Input))
        return;
    std::string equation = model.equation();
    for (std::size_t at; (at = equation.find(kMiddleDot)) != std::string::npos;)
        equation.erase(at, kMiddleDot.size());
    // "E": a coefficient read exactly is written with a power of ten for its run of zeros.
    Require(equation.find_first_not_of("0123456789-+/E x^=") == std::string::npos);
    const std::string record = RecordText(
        {model.equation(), model.solText(), model.input(), model.output(), model.factor()});
    Require(record.find_first_of("\r\n") == std::string::npos);
    Require(DecodeCp1252(EncodeCp1252(record)) == record);
}

// How many roots each method lists, and what a failure leaves in the labels.
void CheckCounts(const MainModel& model, SolveMethod method, const ErrorBoxes& errors, int n) {
    const std::size_t lines = model.solutionLines().size();
    switch (method) {
    case SolveMethod::Exact:
        // Every root of a degree up to 4, complex ones included, unless a solver failed.
        if (n <= 4 && errors.empty())
            Require(lines == static_cast<std::size_t>(n));
        return;
    case SolveMethod::Newton:
        Require(lines <= 1);
        break;
    case SolveMethod::Bairstow:
    case SolveMethod::Rational:
        Require(lines <= static_cast<std::size_t>(n));
        break;
    case SolveMethod::Bisection:
        break;
    case SolveMethod::AllRoots: {
        // Every root once, at most twelve counted with their multiplicities. Its exact reading
        // keeps digits the grid's reading rounds away, so on number-shaped boxes its degree may
        // exceed n but never fall below it. (On other texts the two readings part: the grid's
        // takes "1.1=" as 11/100.)
        Require(lines == model.allRoots().size());
        int count = 0;
        for (const FoundRoot& root : model.allRoots())
            count += root.multiplicity;
        const int least = NumberShapedBoxes(model) ? n : 0;
        Require(model.message() == "Solutions found" ? count >= least && count <= kMaxRoots
                                                     : count == 0);
        break;
    }
    }
    // A failure ends the solver at once: no status and, for the rational roots, no factor.
    if (!errors.empty())
        Require(model.message().empty() && model.factor().empty());
    if (method == SolveMethod::Rational && !model.factor().empty())
        Require(model.message() ==
                (lines == 0 ? "There aren't rational roots" : "Solutions found"));
}

// The result is what the model shows: the same texts, the box that stopped the grid's reading
// and a cancelled scan's own word. Nothing is saved, so no result holds a record.
void CheckResult(const MainModel& model, SolveMethod method, const SolveResult& result,
                 bool gridRead) {
    Require(result.equation == model.equation() && result.status == model.message());
    Require(std::equal(result.lines.begin(), result.lines.end(), model.solutionLines().begin(),
                       model.solutionLines().end()));
    Require(!result.record);
    Require(result.cancelled == (model.message() == "The scan was cancelled"));
    if (!MethodRowOf(method).readsTextsExactly)
        Require(result.unread.has_value() == !gridRead);
    if (result.unread)
        Require(model.message() == "Division by 0" && result.errors.empty());
}

void SolveWith(MainModel& model, SolveMethod method) {
    const SolveResult result = model.Solve(method, model.state().Options, CancelScan);
    const ErrorBoxes errors(result.errors.begin(), result.errors.end());
    const std::optional<int> degree = GridDegree(model);
    CheckResult(model, method, result, degree.has_value());
    CheckBoxes(errors, method);
    CheckSolutions(model, method);
    CheckModel(model);
    CheckTexts(model);
    if (method != SolveMethod::Rational)
        Require(model.factor().empty());
    if (degree)
        CheckCounts(model, method, errors, *degree);
    // Nothing of one solve leaks into the next: the same command shows the same again.
    const std::string first = Outcome(model, errors);
    const SolveResult again = model.Solve(method, model.state().Options, CancelScan);
    Require(Outcome(model, ErrorBoxes(again.errors.begin(), again.errors.end())) == first);
}

} // namespace
} // namespace valdrex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace valdrex;
    using namespace valdrex::fuzz;
    const ModelInput in =
        ReadModelInput(std::string_view(reinterpret_cast<const char*>(data), size));
    ModuleState state;
    ApplySettings(in, state);
    MainModel model(state);
    for (const ErrorBox& box : TypeBoxes(in, model))
        Require(box.icon == BoxIcon::None && !ShowsNonFinite(box.text));

    for (const MethodRow& row : MethodTable())
        SolveWith(model, row.id);

    // The factor the rational solve left goes back into the grid and is solved in turn.
    model.Solve(SolveMethod::Rational, state.Options);
    for (const ErrorBox& box : model.Put())
        Require(box.icon == BoxIcon::None && !ShowsNonFinite(box.text));
    Require(!ShowsNonFinite(model.equation()));
    model.SetInput(in.testInput);
    for (const ErrorBox& box : model.Test().errors)
        Require(box.icon == BoxIcon::Critical && !ShowsNonFinite(box.text));
    CheckModel(model);
    for (const MethodRow& row : MethodTable())
        SolveWith(model, row.id);
    return 0;
}
