#include "core/point_evaluation.h"

#include "core/checked_math.h"
#include "core/number_text.h"
#include "core/working_polynomial.h"

namespace valdrex {

InputNumber ParseInputNumber(std::string_view text) {
    const auto slash = text.find('/');
    const std::string_view numerator =
        slash == std::string_view::npos ? text : text.substr(0, slash);
    const std::string_view denominator =
        slash == std::string_view::npos ? std::string_view("1") : text.substr(slash + 1);
    const double n = TextToNumber(numerator);
    const double d = TextToNumber(denominator);
    if (d == 0)
        return {0, true};
    return {Finite(n / d), false};
}

std::optional<int> ReadTestCoefficients(const CoefficientTexts& texts, TestCoefficients& coef) {
    for (int i = 0; i < kCoefficientCount; ++i) {
        const std::string& t = texts[i];
        const auto slash = t.find('/');
        if (slash == std::string::npos) {
            coef[i] = TextToNumber(t);
            continue;
        }
        const int n = RoundToInt32(TextToNumber(std::string_view(t).substr(0, slash)));
        const int d = RoundToInt32(TextToNumber(std::string_view(t).substr(slash + 1)));
        if (d == 0)
            return i;
        coef[i] = static_cast<double>(n) / d;
    }
    return std::nullopt;
}

double EvaluateTest(const TestCoefficients& coef, double x) {
    // The typed coefficients are summed exactly as the working polynomial is.
    return EvaluateP(coef, x);
}

} // namespace valdrex
