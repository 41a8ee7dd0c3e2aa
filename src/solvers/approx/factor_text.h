#pragma once

#include "core/working_polynomial.h"

#include <string>

namespace valdrex {

// The irreducible factor of the given degree as one line, each term (an empty one included)
// followed by one blank: "2·x^2 + 3·x - 1 ", "x^2  + 1 ", "x^2 -x + 1 ". Coefficients are read
// through their 32-bit integer values.
std::string FactorText(const Polynomial& a, int degree);

} // namespace valdrex
