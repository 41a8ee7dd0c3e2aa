#include "model/method_table.h"

#include "core/failure.h"
#include "core/number_text.h"
#include "model/all_roots_method.h"
#include "solvers/approx/bairstow.h"
#include "solvers/approx/bisection.h"
#include "solvers/approx/newton.h"
#include "solvers/approx/rational.h"
#include "solvers/exact/exact_solver.h"

#include <array>

namespace valdrex {
namespace {

constexpr OptionText kAccuracy{
    "--accuracy", KeyRule::AccuracyDigit, &MethodOptions::AccuracyText,
    "  --accuracy D    accuracy digits of the approximate methods, one digit 0 to 8 (default 8)\n"};
constexpr OptionText kBairstowP{"--p", KeyRule::SignedDecimal, &MethodOptions::BairstowPText,
                                "  --p P, --q Q    Bairstow start values (default 0, 0)\n"};
constexpr OptionText kBairstowQ{"--q", KeyRule::SignedDecimal, &MethodOptions::BairstowQText, {}};
constexpr OptionText kBisectionMin{
    "--min", KeyRule::SignedDecimal, &MethodOptions::BisectionMinText,
    "  --min A, --max B, --inc H\n"
    "                  bisection interval and increment (default -10, 10, .1)\n"};
constexpr OptionText kBisectionMax{
    "--max", KeyRule::SignedDecimal, &MethodOptions::BisectionMaxText, {}};
constexpr OptionText kBisectionInc{
    "--inc", KeyRule::SignedDecimal, &MethodOptions::BisectionIncText, {}};
constexpr OptionText kNewtonX0{"--x0", KeyRule::SignedDecimal, &MethodOptions::NewtonX0Text,
                               "  --x0 X          Newton start point (default 0)\n"};

constexpr OptionText kDigits{
    "--digits", KeyRule::AccuracyDigit, &MethodOptions::DigitsText,
    "  --digits N      significant digits of the all-roots method, 1 to 30 (default 15)\n", 30};

constexpr OptionBox kBairstowBoxes[] = {
    {.option = &kBairstowP, .boxName = "txtBwCfP", .labelName = "lblBw_1", .caption = "Coef. P"},
    {.option = &kBairstowQ, .boxName = "txtBwCfQ", .labelName = "lblBw_2", .caption = "Coef. Q"},
};
constexpr OptionsForm kBairstowForm{.objectName = "frmBwOpt",
                                    .title = "Baristow method",
                                    .explanationName = "lblBwTh",
                                    .explanation = "You should define the calculus accuracy\n"
                                                   "and two parameters P,Q so that: \n"
                                                   "F(X) = G(X) * (X ^ 2 + PX + Q) + R",
                                    .spinnerName = "vscBw",
                                    .accuracy = {&kAccuracy, "txtBwAc", "lblBw_0", "Accuracy"},
                                    .boxes = kBairstowBoxes,
                                    .okName = "cmdBwOK",
                                    .cancelName = "cmdBWCancel"};

constexpr OptionBox kBisectionBoxes[] = {
    {.option = &kBisectionInc,
     .boxName = "txtDicInc",
     .labelName = "lblDic_3",
     .caption = "Increment",
     .reachedLast = true},
    {.option = &kBisectionMin, .boxName = "txtDicMin", .labelName = "lblDic_1", .caption = "Min"},
    {.option = &kBisectionMax, .boxName = "txtDicMax", .labelName = "lblDic_2", .caption = "Max"},
};
constexpr OptionsForm kBisectionForm{.objectName = "frmDicOpt",
                                     .title = "Dicotomic method",
                                     .explanationName = "lblDicTh",
                                     .explanation = "You should define the calculus accuracy\n"
                                                    "and the interval in which to search\n"
                                                    "the solutions",
                                     .spinnerName = "vscDic",
                                     .accuracy = {&kAccuracy, "txtDicAc", "lblDic_0", "Accuracy"},
                                     .boxes = kBisectionBoxes,
                                     .okName = "cmdDicOK",
                                     .cancelName = "cmdDicCancel"};

constexpr OptionBox kNewtonBoxes[] = {
    {.option = &kNewtonX0,
     .boxName = "txtNtX0",
     .labelName = "lblNt_1",
     .caption = "X",
     .subscriptName = "lblNt_2",
     .subscript = "0"},
};
constexpr OptionsForm kNewtonForm{.objectName = "frmNtOpt",
                                  .title = "Newton method",
                                  .explanationName = "lblNtTh",
                                  .explanation = "You should define the calculus accuracy\n"
                                                 "and a point X0",
                                  .spinnerName = "vscNt",
                                  .accuracy = {&kAccuracy, "txtNtAc", "lblNt_0", "Accuracy"},
                                  .boxes = kNewtonBoxes,
                                  .okName = "cmdNtOK",
                                  .cancelName = "cmdNtCancel"};

constexpr OptionBox kAllRootsBoxes[] = {
    {.option = &kDigits, .boxName = "spnArDigits", .labelName = "lblAr_0", .caption = "&Digits"},
};
constexpr OptionsForm kAllRootsForm{.objectName = "frmArOpt",
                                    .title = "All roots",
                                    .explanationName = "lblArTh",
                                    .explanation = "You should define how many significant\n"
                                                   "digits the roots are shown with",
                                    .boxes = kAllRootsBoxes,
                                    .okName = "cmdArOK",
                                    .cancelName = "cmdArCancel"};

constexpr std::array<const OptionText*, 3> kBairstowOptions{&kAccuracy, &kBairstowP, &kBairstowQ};
constexpr std::array<const OptionText*, 4> kBisectionOptions{&kAccuracy, &kBisectionMin,
                                                             &kBisectionMax, &kBisectionInc};
constexpr std::array<const OptionText*, 2> kNewtonOptions{&kAccuracy, &kNewtonX0};
constexpr std::array<const OptionText*, 1> kAllRootsOptions{&kDigits};

// The formulas go up to x^4; the approximate methods need x^3 or above.
constexpr bool UpToQuartic(int degree) {
    return degree <= 4;
}
constexpr bool AnyGrid(int) {
    return true;
}
constexpr bool CubicOrAbove(int degree) {
    return degree >= 3;
}
constexpr bool AnyEquation(int) {
    return true; // degree 0 answers as the exact method does
}
constexpr char kApproximateReason[] =
    "the approximate methods need a non-zero coefficient of x^3 or above";

// In the order of SolveMethod, so that a method's row is found by its number.
constexpr std::array<MethodRow, 6> kMethods{{
    {.id = SolveMethod::Exact,
     .cliName = "exact",
     .helpNote = "the formulas, degree 4 at most",
     .caption = "&Solve",
     .objectName = "mnuSolveFind",
     .ctrlKey = 'F',
     .menuPlace = MenuPlace::AboveApproximate,
     .offered = UpToQuartic,
     .notOfferedReason =
         "the formulas solve degree 4 at most, and a coefficient of x^5 or above is not zero",
     .solve = [](SolveContext& ctx, const SolveRequest&) { SolveExact(ctx); }},
    {.id = SolveMethod::Rational,
     .cliName = "rational",
     .helpNote = "every rational root, and the factor they leave",
     .caption = "&Rationals roots",
     .objectName = "mnuSolveRuffini",
     .ctrlKey = 'R',
     .menuPlace = MenuPlace::BelowApproximate,
     .offered = AnyGrid,
     .notOfferedReason = "the Maths menu does not offer it",
     .solve = [](SolveContext& ctx, const SolveRequest&) { SolveRational(ctx); },
     .leavesFactorCoefficients = true},
    {.id = SolveMethod::Bairstow,
     .cliName = "bairstow",
     .helpNote = "real and complex roots by Bairstow's method",
     .caption = "&Baristow...",
     .objectName = "mnuSolveBaristow",
     .menuPlace = MenuPlace::Approximate,
     .offered = CubicOrAbove,
     .notOfferedReason = kApproximateReason,
     .optionsForm = &kBairstowForm,
     .cliOptions = kBairstowOptions,
     .solve = [](SolveContext& ctx,
                 const SolveRequest& request) { SolveBairstow(ctx, request.options); }},
    {.id = SolveMethod::Bisection,
     .cliName = "bisection",
     .helpNote = "real roots found in a scanned interval",
     .caption = "&Dicotomic...",
     .objectName = "mnuSolveDicotomic",
     .menuPlace = MenuPlace::Approximate,
     .offered = CubicOrAbove,
     .notOfferedReason = kApproximateReason,
     .optionsForm = &kBisectionForm,
     .cliOptions = kBisectionOptions,
     .solve =
         [](SolveContext& ctx, const SolveRequest& request) {
             SolveBisection(ctx, request.options, request.progress);
         }},
    {.id = SolveMethod::Newton,
     .cliName = "newton",
     .helpNote = "one real root by Newton's method",
     .caption = "&Newton...",
     .objectName = "mnuSolveNewton",
     .menuPlace = MenuPlace::Approximate,
     .offered = CubicOrAbove,
     .notOfferedReason = kApproximateReason,
     .optionsForm = &kNewtonForm,
     .cliOptions = kNewtonOptions,
     .solve = [](SolveContext& ctx,
                 const SolveRequest& request) { SolveNewton(ctx, request.options); }},
    {.id = SolveMethod::AllRoots,
     .cliName = "all",
     .helpNote = "every root, correctly rounded",
     .caption = "A&ll roots...",
     .objectName = "mnuSolveAll",
     .menuPlace = MenuPlace::BelowApproximate,
     .offered = AnyEquation,
     .notOfferedReason = "the Maths menu does not offer it",
     .optionsForm = &kAllRootsForm,
     .cliOptions = kAllRootsOptions,
     .solve = SolveAllRoots,
     .readsTextsExactly = true},
}};

constexpr bool InMethodOrder() {
    for (std::size_t i = 0; i < kMethods.size(); ++i)
        if (static_cast<std::size_t>(kMethods[i].id) != i)
            return false;
    return true;
}
static_assert(InMethodOrder());

// The command line offers the texts of a method's options form, each box once.
constexpr bool FormsMatchCliOptions() {
    for (const MethodRow& row : kMethods) {
        const OptionsForm* form = row.optionsForm;
        const bool accuracy = form && !form->spinnerName.empty();
        const std::size_t boxes = form ? form->boxes.size() + (accuracy ? 1 : 0) : 0;
        if (boxes != row.cliOptions.size())
            return false;
        for (const OptionText* option : row.cliOptions) {
            bool found = accuracy && form->accuracy.option == option;
            for (const OptionBox& box : form->boxes)
                found = found || box.option == option;
            if (!found)
                return false;
        }
    }
    return true;
}
static_assert(FormsMatchCliOptions());

bool HasNonZeroValue(const std::string& text) {
    if (text.size() == 1 && text[0] == '0')
        return false;
    try {
        return TextToNumber(text) != 0;
    } catch (const RuntimeFailure&) {
        return true; // too large to read is certainly not zero
    }
}

} // namespace

std::span<const MethodRow> MethodTable() {
    return kMethods;
}

const MethodRow& MethodRowOf(SolveMethod method) {
    return kMethods[static_cast<std::size_t>(method)];
}

MathsMenuState MathsMenuEnabling(const CoefficientTexts& coefficients) {
    MathsMenuState menu;
    for (int i = kCoefficientCount - 1; i > 0; --i)
        if (HasNonZeroValue(coefficients[i])) {
            menu.degree = i;
            break;
        }
    return menu;
}

} // namespace valdrex
