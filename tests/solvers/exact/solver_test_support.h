#pragma once

#include "solvers/exact/solution_list.h"

#include <complex>
#include <initializer_list>
#include <string>
#include <vector>

namespace valdrex::testing {

// A solve context whose working polynomial holds `lowToHigh` from a(0) upward, the other
// coefficients 0, as after reading the grid.
SolveContext MakeContext(std::initializer_list<double> lowToHigh, bool symbolic = true);
SolveContext MakeContext(const std::vector<double>& lowToHigh, bool symbolic = true);

// The value of a numeric root text: a real text (" 2", "-1.5E-05") or a pair text
// ("-1+ 2i", "- 2i", "2.5i", "0.5+ 1i"), whose imaginary part follows the last sign that is not
// an exponent's.
std::complex<double> ParseRootText(const std::string& text);

} // namespace valdrex::testing
