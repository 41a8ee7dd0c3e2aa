#pragma once

#include <string>
#include <string_view>

namespace valdrex {

// A text that is only an optional sign and 1 to 18 digits, the usual box, read without big
// numbers.
bool ReadPlainInteger(std::string_view text, long& value);

// A decimal number ±digits·10^exponent; no digits means 0.
struct DecimalNumber {
    bool negative = false;
    std::string digits; // without leading zeros
    long exponent = 0;
};

enum class ExactReading { Read, ZeroDenominator, NotANumber, TooManyDigits, PowerTooLarge };

// A coefficient text as the exact value numerator / denominator. Blanks, tabs and line feeds are
// skipped wherever they stand; a number is an optional sign, digits with at most one ".", and an
// optional exponent ("E", "e", "D" or "d", an optional sign, digits); reading stops at the
// first character that does not continue it, and a text without a number is 0. A "/" makes the
// number after it the denominator (1 without one). Not a number: a sign or a point without
// digits ("+", "-."), an exponent without digits before or after it ("e5", "1e"), a number
// followed by a point or an exponent ("1.2.3"). Beyond the limits: more than
// kMaxSignificantDigits digits after the leading zeros, or a first significant digit standing
// beyond 10^±kMaxDecimalExponent.
ExactReading ScanExactNumber(std::string_view text, DecimalNumber& numerator,
                             DecimalNumber& denominator);

} // namespace valdrex
