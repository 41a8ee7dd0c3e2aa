#pragma once

#include <string>
#include <string_view>

namespace valdrex::cli {

// The text between quotes in a message: printable ASCII stays, a backslash is doubled and every
// other byte (controls, NUL, anything beyond ASCII) is written as \xNN, so that random bytes
// reach a terminal or a JSON string harmlessly.
std::string QuotedForMessage(std::string_view text);

// "invalid coefficient '1e5'".
std::string InvalidCoefficientMessage(std::string_view text);

// "too many coefficients (14; at most 13)".
std::string TooManyCoefficientsMessage(int count, int limit);

// "Division by 0 in the coefficient of x^1 ('5/0')".
std::string ZeroDenominatorMessage(int power, std::string_view text);

} // namespace valdrex::cli
