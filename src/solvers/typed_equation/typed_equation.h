#pragma once

// Equations typed as text, such as "x^3 - 6x^2 + 11x - 6 = 0" or "(x-1)^2(x+3)", expanded
// exactly into the thirteen coefficient texts of the grid.

#include "core/coefficient_text.h"

#include <optional>
#include <string>
#include <string_view>

namespace valdrex {

// A typed equation expanded, or why the text is none.
//
// How a coefficient is written: "0" for no term; a whole number as its digits; a value that is a
// terminating decimal and to which a decimal number of the text contributed ("0.5", "2.5e-3") as
// a decimal, unless more than 20 zeros follow its point; anything else as a reduced fraction
// "n/d". A whole number (or a numerator or denominator) ending in more than 20 zeros has them
// written as a power of ten ("3E25", "1/1E40"). The grid's reading and the exact reading give
// each text the same value, where the grid's 32 bits hold it at all.
struct TypedEquation {
    CoefficientTexts coefficients{"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"};
    std::string equation; // the equation line of the coefficients, "x^2 - 3·x + 2 = 0"
    // Why the text is no equation, with where: "expected a number or x at column 7"; empty when
    // the text was read.
    std::string error;
    int column = 0; // the error's column, 1-based, in characters
};

// Reads a typed equation: sums, differences, products (written "*", "·", "×" or by putting
// factors side by side before "x" or "("), quotients by a number, whole powers ("^", "**" or
// superscript digits), parentheses, numbers as the exact reader reads them, and one "=" whose
// sides are moved to one side. Blanks may stand anywhere between the parts; "−" and "–" are
// minus signs. The degree is at most 12.
TypedEquation ParseTypedEquation(std::string_view utf8);

// One coefficient as the command line takes it: an optional sign and a number as the exact
// reader reads it, optionally followed by "/" and a second such number.
struct CoefficientReading {
    // The grid text of its value, written as above ("1/0" for a zero divisor); empty when the
    // text is no such number.
    std::string text;
    std::string limit; // or the limit it goes beyond: "more than 10000 significant digits"
};
CoefficientReading ReadCoefficientText(std::string_view text);

// The equation line of the coefficient texts as the exact reader reads them, each coefficient
// a whole number or a reduced fraction of any size (long runs of zeros as powers of ten), so
// that ParseTypedEquation reads it back to the same values. Nothing when a text cannot be read
// exactly.
std::optional<std::string> ExactEquationText(const CoefficientTexts& texts);

} // namespace valdrex
