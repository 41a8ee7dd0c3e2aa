#pragma once

#include "solvers/all_roots/double_polynomial.h"

#include <array>

namespace valdrex {

using RootApproximations = std::array<Complex, kMaxDegree>;

// Approximations of all roots of p (degree >= 1, nonzero constant term) by the Aberth–Ehrlich
// iteration in doubles, started from the formulas for cubics and quartics, otherwise on circles
// from the Newton polygon of the coefficients.
RootApproximations AberthRoots(const DoublePolynomial& p);

} // namespace valdrex
