#pragma once

#include "core/coefficient_text.h"

#include <array>
#include <optional>

namespace valdrex {

// The working polynomial: a[i] is the coefficient of x^i, whole numbers after reading.
using Polynomial = std::array<double, kCoefficientCount>;

// Reads the grid into `a`: every coefficient made a reduced fraction, the whole polynomial
// multiplied by the least common multiple of the denominators. Returns the index of the first
// coefficient (lowest power) with a zero denominator, in which case `a` is left untouched.
// A 0/0 coefficient and a value beyond the 32-bit limits are reported the same way.
std::optional<int> ReadCoefficients(const CoefficientTexts& texts, Polynomial& a);

// The value of the polynomial at x, summed from the constant term upward with the general
// power function. Fails with Overflow where an intermediate value leaves the Double range.
double EvaluateP(const Polynomial& a, double x);

} // namespace valdrex
