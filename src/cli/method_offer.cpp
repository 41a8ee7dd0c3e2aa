#include "cli/method_offer.h"

#include "cli/cli_options.h"

#include <vector>

namespace valdrex::cli {
namespace {

bool IsOffered(SolveMethod method, const MathsMenuState& menu) {
    switch (method) {
    case SolveMethod::Exact:
        return menu.solve;
    case SolveMethod::Rational:
        return menu.rationals;
    case SolveMethod::Bairstow:
    case SolveMethod::Bisection:
    case SolveMethod::Newton:
        return menu.approximate;
    }
    return false;
}

} // namespace

std::optional<std::string> MethodNotOfferedMessage(SolveMethod method, const MathsMenuState& menu) {
    if (IsOffered(method, menu))
        return std::nullopt;
    std::string message = "the " + std::string(MethodName(method)) + " method is not offered for " +
                          "this equation: ";
    if (method == SolveMethod::Exact)
        message += "the formulas solve degree 4 at most, and a coefficient of x^5 or above is "
                   "not zero";
    else if (method == SolveMethod::Rational)
        message += "the Maths menu does not offer it";
    else
        message += "the approximate methods need a non-zero coefficient of x^3 or above";
    std::vector<std::string_view> offered;
    for (const SolveMethod m : {SolveMethod::Exact, SolveMethod::Rational, SolveMethod::Bairstow,
                                SolveMethod::Bisection, SolveMethod::Newton})
        if (IsOffered(m, menu))
            offered.push_back(MethodName(m));
    message += "; offered: ";
    for (std::size_t i = 0; i < offered.size(); ++i) {
        if (i > 0)
            message += i + 1 == offered.size() ? " and " : ", ";
        message += offered[i];
    }
    return message;
}

} // namespace valdrex::cli
