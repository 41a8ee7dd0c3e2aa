#pragma once

#include "core/working_polynomial.h"

#include <string>
#include <string_view>

namespace valdrex::cli {

// The most of an offending token a message echoes: a line of megabytes must not come back
// whole on standard error.
inline constexpr std::size_t kEchoedTokenLength = 40;

// The text between quotes in a message: printable ASCII stays, a backslash is doubled and every
// other byte (controls, NUL, anything beyond ASCII) is written as \xNN, so that random bytes
// reach a terminal or a JSON string harmlessly. Only the first 40 bytes are echoed, then "…".
std::string QuotedForMessage(std::string_view text);

// QuotedForMessage without the cut, for a file name the user needs whole.
std::string QuotedWhole(std::string_view text);

// "invalid coefficient '1e5'".
std::string InvalidCoefficientMessage(std::string_view text);

// "too many coefficients (14; at most 13)".
std::string TooManyCoefficientsMessage(int count, int limit);

// Why the coefficient of x^power, typed as `text`, could not be read: "Division by 0 in the
// coefficient of x^1 ('5/0')", or the value (or the common denominator of all the
// coefficients) beyond the 32 bits the methods use.
std::string UnreadCoefficientMessage(int power, std::string_view text, ReadFault why);

} // namespace valdrex::cli
