#pragma once

#include "core/coefficient_text.h"

#include <string>
#include <string_view>

namespace valdrex {

// The multiplication sign between a coefficient and its power of x.
inline constexpr std::string_view kMiddleDot = "\xC2\xB7";

// The equation line for the 13 coefficient texts, e.g. "x^3 - 6·x^2 + 11·x - 6 = 0".
// Fails as NormalizeCoefficient does.
std::string EquationText(const CoefficientTexts& coefficients);
// The same text written over `out`, reusing its storage; true when every text is a whole number
// of at most 15 characters, whose value the text then shows as typed. On a failure what `out`
// holds is unspecified.
bool WriteEquationText(const CoefficientTexts& coefficients, std::string& out);

// The equation line for texts already in canonical form, exact readings of any size: "0", or a
// whole number or reduced fraction "n/d" with "-" only first ("1E30/7" too: no sign inside).
void WriteCanonicalEquationText(const CoefficientTexts& canonical, std::string& out);

// Writes every "+" or "-" after the first character as blank, sign, blank.
std::string SpaceSigns(std::string_view text);
// Drops every blank (code 32); other characters stay.
std::string RemoveSpaces(std::string_view text);

} // namespace valdrex
