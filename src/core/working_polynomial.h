#pragma once

#include "core/coefficient_text.h"

#include <array>
#include <optional>
#include <string_view>

namespace valdrex {

// The working polynomial: a[i] is the coefficient of x^i, whole numbers after reading.
using Polynomial = std::array<double, kCoefficientCount>;

// Why a coefficient could not be read.
enum class ReadFault {
    ZeroDenominator,              // "5/0", "0/0", "3/"
    BeyondRange,                  // the value itself passes the 32-bit limits
    CommonDenominatorBeyondRange, // the common denominator, or a value multiplied by it, does
};

// Reads the grid into `a`: every coefficient made a reduced fraction, the whole polynomial
// multiplied by the least common multiple of the denominators. Returns the index of the first
// coefficient (lowest power) that cannot be read, in which case `a` is left untouched and `why`
// (when given) says why.
std::optional<int> ReadCoefficients(const CoefficientTexts& texts, Polynomial& a,
                                    ReadFault* why = nullptr);

// The value of the polynomial at x, summed from the constant term upward with the general
// power function. Fails with Overflow where an intermediate value leaves the Double range.
double EvaluateP(const Polynomial& a, double x);

// The coefficients as typed (fractions divided out, nothing scaled), for testing numbers.
using TestCoefficients = std::array<double, kCoefficientCount>;

struct InputNumber {
    double value = 0;
    bool zeroDenominator = false;
};

// The number typed for a test: a decimal, or a quotient when the text holds "/".
InputNumber ParseInputNumber(std::string_view text);

// Reads the grid into `coef` from the lowest power up. Returns the index of a coefficient with
// a zero denominator; the entries from that index on then keep their previous values.
std::optional<int> ReadTestCoefficients(const CoefficientTexts& texts, TestCoefficients& coef);

// P(x) with the typed coefficients, summed from the constant term upward.
// Fails with Overflow where an intermediate value leaves the Double range.
double EvaluateTest(const TestCoefficients& coef, double x);

} // namespace valdrex
