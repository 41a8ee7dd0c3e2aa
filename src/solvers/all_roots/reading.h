#pragma once

#include <string>
#include <string_view>

namespace valdrex {

inline constexpr int kMaxExactDigits = 200;

// A text that is only an optional sign and 1 to 18 digits, the usual box, read without big
// numbers.
bool ReadPlainInteger(std::string_view text, long& value);

// A decimal number ±digits·10^exponent; no digits means 0.
struct DecimalNumber {
    bool negative = false;
    std::string digits;
    long exponent = 0;
};

enum class ExactReading { Read, ZeroDenominator, TooLong };

// A coefficient text as the exact value numerator / denominator, with the same characters the
// approximate reading accepts: blanks, tabs and line feeds skipped, a sign, digits, one ".", an
// exponent ("E" or "D"), reading stopping at the first character that does not fit; a "/"
// anywhere makes the leading number after it the denominator (1 without one). "1.5E3" is 1500
// and "2.5/0.5" is 5. A number with more than kMaxExactDigits digits or an exponent beyond
// ±kMaxExactDigits is too long.
ExactReading ScanExactNumber(std::string_view text, DecimalNumber& numerator,
                             DecimalNumber& denominator);

} // namespace valdrex
