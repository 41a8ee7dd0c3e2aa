#include "plot/plot_input.h"

#include "core/coefficient_text.h"
#include "core/failure.h"

#include <algorithm>

namespace valdrex {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A blank box counts as zero; otherwise a digit must stand before any "/" and after it.
bool IsComplete(const std::string& text) {
    const std::string t = TrimBlanks(text);
    if (t.empty())
        return true;
    const auto slash = t.find('/');
    const auto numerator = std::string_view(t).substr(0, slash);
    if (std::none_of(numerator.begin(), numerator.end(), IsDigit))
        return false;
    return slash == std::string::npos || std::any_of(t.begin() + slash + 1, t.end(), IsDigit);
}

} // namespace

PlotInput ReadPlotInput(const CoefficientTexts& texts) {
    PlotInput input;
    for (int power = kCoefficientCount - 1; power >= 0; --power)
        if (!IsComplete(texts[power])) {
            input.message = "Finish typing " + CoefficientName(power) + " to see the plot.";
            return input;
        }
    AllRootsResult found;
    try {
        found = FindAllRoots(texts, kPlotRootDigits);
    } catch (const RuntimeFailure& failure) {
        input.message = "The roots cannot be found: " + failure.description();
        return input;
    }
    switch (found.status) {
    case AllRootsResult::Status::ZeroDenominator:
        input.message =
            "The plot waits: " + CoefficientName(found.power) + " has a zero denominator.";
        return input;
    case AllRootsResult::Status::NotANumber:
        input.message = "The plot waits: " + CoefficientName(found.power) + " is not a number.";
        return input;
    case AllRootsResult::Status::TooLong:
        input.message = "The plot waits: " + CoefficientName(found.power) + " is too long to read.";
        return input;
    case AllRootsResult::Status::ConstantOnly:
        input.message = "P(x) is a constant: there is no curve or root to show.";
        return input;
    case AllRootsResult::Status::Stopped:
        return input;
    case AllRootsResult::Status::Solved:
        break;
    }
    if (const std::optional<int> power = ReadCoefficients(texts, input.a)) {
        input.message = "The plot waits: " + CoefficientName(*power) + " is out of range.";
        return input;
    }
    input.roots = found.roots;
    return input;
}

} // namespace valdrex
