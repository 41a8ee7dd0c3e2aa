#include "core/working_polynomial.h"

#include "core/checked_math.h"
#include "core/failure.h"
#include "core/number_text.h"

#include <algorithm>

namespace valdrex {
namespace {

struct Fraction {
    int numerator;
    int denominator;
};

// A short whole number such as "-17" (at most nine digits), read digit by digit.
bool ReadShortWhole(const std::string& text, int& n) {
    const bool negative = text.size() > 1 && text[0] == '-';
    if (text.empty() || text.size() - negative > 9)
        return false;
    n = 0;
    for (std::size_t i = negative; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        n = n * 10 + (text[i] - '0');
    }
    if (negative)
        n = -n;
    return true;
}

Fraction ReadFraction(const std::string& text) {
    if (int n = 0; ReadShortWhole(text, n))
        return {n, 1}; // exactly the value the general reading gives
    // Normalising a text without "/" and "." only trims it, and the reading skips blanks anyway.
    bool plain = true;
    for (const char c : text)
        plain = plain && c != '/' && c != '.';
    if (plain)
        return {RoundToInt32(TextToNumber(text)), 1};
    const std::string t = NormalizeCoefficient(text);
    const auto slash = t.find('/');
    const std::string numerator = slash == std::string::npos ? t : t.substr(0, slash);
    const std::string denominator = slash == std::string::npos ? "1" : t.substr(slash + 1);
    return {RoundToInt32(TextToNumber(numerator)), RoundToInt32(TextToNumber(denominator))};
}

// Whether the text's denominator reads as zero: "99999999999/0" has a zero denominator before
// a numerator beyond 32 bits.
bool DenominatorReadsZero(std::string_view text) {
    const auto slash = text.find('/');
    try {
        return slash != std::string_view::npos &&
               RoundToInt32(TextToNumber(text.substr(slash + 1))) == 0;
    } catch (const RuntimeFailure&) {
        return false;
    }
}

} // namespace

std::optional<int> ReadCoefficients(const CoefficientTexts& texts, Polynomial& a, ReadFault* why) {
    const auto fault = [why](int index, ReadFault reason) {
        if (why)
            *why = reason;
        return index;
    };
    // A grid of short whole numbers, the usual one, keeps its values as they are.
    Polynomial whole;
    int n = 0;
    bool allWhole = true;
    for (int i = 0; i < kCoefficientCount && allWhole; ++i) {
        const std::string& text = texts[i];
        if (text.size() == 1 && text[0] >= '0' && text[0] <= '9')
            n = text[0] - '0'; // the most common box, "0"
        else
            allWhole = ReadShortWhole(text, n);
        whole[i] = n;
    }
    if (allWhole) {
        a = whole;
        return std::nullopt;
    }
    std::array<Fraction, kCoefficientCount> f{};
    for (int i = 0; i < kCoefficientCount; ++i) {
        try {
            f[i] = ReadFraction(texts[i]);
        } catch (const RuntimeFailure&) {
            return fault(i, DenominatorReadsZero(texts[i]) ? ReadFault::ZeroDenominator
                                                           : ReadFault::BeyondRange);
        }
        if (f[i].denominator == 0)
            return fault(i, ReadFault::ZeroDenominator);
    }
    // Whole coefficients, the usual case, keep their values: the scale would be 1.
    if (std::all_of(f.begin(), f.end(), [](Fraction c) { return c.denominator == 1; })) {
        for (int i = 0; i < kCoefficientCount; ++i)
            a[i] = f[i].numerator;
        return std::nullopt;
    }
    int scale = 0;
    int scaleIndex = 1;
    try {
        scale = RoundToInt32(Lcm(f[0].denominator, f[1].denominator));
        for (scaleIndex = 1; scaleIndex < kCoefficientCount; ++scaleIndex)
            if (f[scaleIndex].denominator != 1) // Lcm(scale, 1) is the scale itself
                scale = RoundToInt32(Lcm(scale, f[scaleIndex].denominator));
    } catch (const RuntimeFailure&) {
        return fault(scaleIndex, ReadFault::CommonDenominatorBeyondRange);
    }
    Polynomial result{};
    for (int i = 0; i < kCoefficientCount; ++i) {
        const long long product = static_cast<long long>(f[i].numerator) * scale;
        if (product < -2147483648LL || product > 2147483647LL)
            return fault(i, ReadFault::CommonDenominatorBeyondRange);
        const double numerator = static_cast<double>(product);
        result[i] = f[i].denominator == 1 ? numerator : numerator / f[i].denominator;
    }
    a = result;
    return std::nullopt;
}

double EvaluateP(const Polynomial& a, double x) {
    double s = 0;
    for (int i = 0; i < kCoefficientCount; ++i)
        s = Finite(CheckedPow(x, i) * a[i] + s);
    return s;
}

InputNumber ParseInputNumber(std::string_view text) {
    // The numerator is the text's leading number, which a "/" ends.
    const auto slash = text.find('/');
    const double n = TextToNumber(text);
    const double d = slash == std::string_view::npos ? 1 : TextToNumber(text.substr(slash + 1));
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
        const int n = RoundToInt32(TextToNumber(t));
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
