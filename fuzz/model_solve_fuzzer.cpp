// Arbitrary coefficient and option texts through the main window's model: every solving
// method, then Test and Put. Nothing is written to disk. The input format is in model_input.h.

#include "core/coefficient_text.h"
#include "core/equation_text.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/working_polynomial.h"
#include "database/cp1252.h"
#include "database/record.h"
#include "fuzz_check.h"
#include "model/main_model.h"
#include "model_input.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace valdrex::fuzz {
namespace {

constexpr SolveMethod kMethods[] = {SolveMethod::Exact,    SolveMethod::Rational,
                                    SolveMethod::Bairstow, SolveMethod::Bisection,
                                    SolveMethod::Newton,   SolveMethod::AllRoots};

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

// Each line is "x<k> =" and root k's text; the texts match SolText and are never empty.
void CheckSolutions(const MainModel& model, SolveMethod method) {
    const auto& lines = model.solutionLines();
    const auto& solText = model.solText();
    Require(lines.size() <= static_cast<std::size_t>(kMaxRoots));
    std::vector<bool> listed(kMaxRoots + 1, false);
    int previous = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t equals = line.find(" =");
        Require(line.size() > 1 && line[0] == 'x' && equals != std::string::npos);
        const std::string number = line.substr(1, equals - 1);
        Require(!number.empty() && number.size() <= 2 && number[0] != '0' &&
                number.find_first_not_of("0123456789") == std::string::npos);
        const int k = std::stoi(number);
        // The exact solvers may skip a number when a sub-solver failed; the others never do.
        Require(k > previous && k <= kMaxRoots);
        if (method != SolveMethod::Exact)
            Require(k == static_cast<int>(i) + 1);
        previous = k;
        const std::string text = line.substr(equals + 2);
        Require(!text.empty() && text == solText[k] && !ShowsNonFinite(text));
        listed[k] = true;
    }
    for (int k = 1; k <= kMaxRoots; ++k)
        Require(listed[k] || solText[k].empty());
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

// x^k * y^(n-k) * c in 128 bits, or nothing when it does not fit.
std::optional<__int128> Term(__int128 c, __int128 x, __int128 y, int k, int n) {
    __int128 t = c;
    for (int i = 0; i < n; ++i)
        if (__builtin_mul_overflow(t, i < k ? x : y, &t))
            return std::nullopt;
    return t;
}

// The polynomial the grid describes and its degree, or nothing when the grid cannot be read.
struct GridPolynomial {
    Polynomial a{};
    int degree = 0;
};
std::optional<GridPolynomial> ReadGrid(const MainModel& model) {
    GridPolynomial g;
    if (ReadCoefficients(model.coefficients(), g.a))
        return std::nullopt;
    g.degree = kCoefficientCount - 1;
    while (g.degree > 0 && g.a[g.degree] == 0)
        --g.degree;
    return g;
}

// A listed rational root p/q is an exact root of the polynomial the grid describes:
// q^n * P(p/q) = 0, checked in 128-bit integers wherever they suffice.
void CheckRationalRoots(const MainModel& model, const GridPolynomial& grid) {
    const Polynomial& a = grid.a;
    const int n = grid.degree;
    for (const std::string& text : model.solText()) {
        if (text.empty())
            continue;
        const std::size_t slash = text.find('/');
        const double p = TextToNumber(text.substr(0, slash));
        const double q = slash == std::string::npos ? 1 : TextToNumber(text.substr(slash + 1));
        Require(q >= 1);
        __int128 sum = 0;
        for (int k = 0; k <= n; ++k) {
            const auto t = Term(static_cast<__int128>(a[k]), static_cast<__int128>(p),
                                static_cast<__int128>(q), k, n);
            if (!t || __builtin_add_overflow(sum, *t, &sum))
                return;
        }
        Require(sum == 0);
    }
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
    CheckResult(model, method, result, ReadGrid(model).has_value());
    CheckBoxes(errors, method);
    CheckSolutions(model, method);
    CheckModel(model);
    CheckTexts(model);
    if (method != SolveMethod::Rational)
        Require(model.factor().empty());
    if (const std::optional<GridPolynomial> grid = ReadGrid(model)) {
        CheckCounts(model, method, errors, grid->degree);
        if (method == SolveMethod::Rational)
            CheckRationalRoots(model, *grid);
    }
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

    for (const SolveMethod method : kMethods)
        SolveWith(model, method);

    // The factor the rational solve left goes back into the grid and is solved in turn.
    model.Solve(SolveMethod::Rational, state.Options);
    for (const ErrorBox& box : model.Put())
        Require(box.icon == BoxIcon::None && !ShowsNonFinite(box.text));
    Require(!ShowsNonFinite(model.equation()));
    model.SetInput(in.testInput);
    for (const ErrorBox& box : model.Test().errors)
        Require(box.icon == BoxIcon::Critical && !ShowsNonFinite(box.text));
    CheckModel(model);
    for (const SolveMethod method : kMethods)
        SolveWith(model, method);
    return 0;
}
