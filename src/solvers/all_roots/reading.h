#pragma once

#include "core/number_text.h"

#include <string_view>

namespace valdrex {

// A text that is only an optional sign and 1 to 18 digits, the usual box, read without big
// numbers.
bool ReadPlainInteger(std::string_view text, long& value);

enum class ExactReading { Read, ZeroDenominator, NotANumber, TooManyDigits, PowerTooLarge };

// A coefficient text as the exact value numerator / denominator: the leading number as
// ReadLeadingNumber reads it, a text cut short being no number, and after a "/" the
// denominator (1 without one); a text without a number is 0. Beyond the limits: more than
// kMaxSignificantDigits digits after the leading zeros, or a first significant digit standing
// beyond 10^±kMaxDecimalExponent.
ExactReading ScanExactNumber(std::string_view text, LeadingNumber& numerator,
                             LeadingNumber& denominator);

// The limit a text beyond the limits went beyond: "more than 10,000 significant digits" or "a
// power of ten beyond ±100,000"; empty for the other readings.
std::string_view ReadingLimitText(ExactReading reading);

} // namespace valdrex
