#pragma once

#include <flint/fmpq.h>

#include <string_view>

namespace valdrex {

inline constexpr int kMaxExactDigits = 200;

enum class ExactReading { Read, ZeroDenominator, TooLong };

// Reads a coefficient text as an exact rational, with the same characters the approximate
// reading accepts: blanks, tabs and line feeds skipped, a sign, digits, one ".", an exponent
// ("E" or "D"), reading stopping at the first character that does not fit; a "/" anywhere makes
// the leading number after it the denominator. "1.5E3" is 1500 and "2.5/0.5" is 5. A number
// with more than kMaxExactDigits digits or an exponent beyond ±kMaxExactDigits is too long.
ExactReading ReadExactNumber(std::string_view text, fmpq_t value);

} // namespace valdrex
