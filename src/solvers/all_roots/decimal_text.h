#pragma once

#include <string>
#include <string_view>

namespace valdrex {

// The text of ±0.d1d2d3…·10^(exponent + 1), that is, of the value whose first significant digit
// `digits[0]` (nonzero) stands at the power `exponent`, written as %G writes it with as many
// significant digits as `digits` holds: trailing zeros dropped, no "0" before the point, a blank
// in place of the sign of a positive value, exponents "E+05" / "E-07".
std::string DecimalText(bool negative, std::string_view digits, long exponent);
void AppendDecimalText(std::string& text, bool negative, std::string_view digits, long exponent);

// Appends `value` printed with `digits` significant digits when every value within `radius` of
// it prints the same way to within one unit in the last place; otherwise false, with nothing
// appended.
bool AppendCertifiedDouble(std::string& text, double value, double radius, int digits);

} // namespace valdrex
