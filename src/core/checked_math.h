#pragma once

// Arithmetic that raises a RuntimeFailure where an unchecked operation would produce an
// infinity or NaN, so that no such value ever reaches a text.

namespace valdrex {

// Returns v, or fails with Overflow when v is infinite or NaN.
double Finite(double v);
// a / b; Division by zero when b is 0, Overflow when the quotient is not finite.
double CheckedDiv(double a, double b);
// Square root; Invalid argument for a negative value.
double CheckedSqrt(double v);
// General power a^b (0^0 = 1); Overflow when the result is not finite.
double CheckedPow(double a, double b);
// Nearest 32-bit signed integer, halves to even; Overflow outside the range.
int RoundToInt32(double v);
// Nearest single-precision value; Overflow beyond its range.
float ToSingle(double v);

} // namespace valdrex
