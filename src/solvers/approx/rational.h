#pragma once

#include "core/working_polynomial.h"
#include "solvers/exact/solution_list.h"

#include <string>
#include <vector>

namespace valdrex {

// Every rational root by the rational root theorem and Ruffini's division. Leaves the
// irreducible factor in ctx.a (and its text in ctx.factorText when one remains).
void SolveRational(SolveContext& ctx);

// The positive divisors of n (n >= 1) in ascending order. Found from n's prime factors, so a
// number near 2^31 costs a trial division up to its square root, not a walk up to n.
std::vector<int> Divisors(int n);

// The irreducible factor of the given degree as one line, each term (an empty one included)
// followed by one blank: "2·x^2 + 3·x - 1 ", "x^2  + 1 ", "x^2 -x + 1 ". Coefficients are read
// through their 32-bit integer values.
std::string FactorText(const Polynomial& a, int degree);

// 32-bit signed integer arithmetic that fails with Overflow where the result does not fit.

// |v|; the magnitude of -2147483648 does not fit.
int CheckedAbs(int v);
// base^exponent (exponent >= 0) as a product of 32-bit integers; base^0 = 1.
int CheckedIntPower(int base, int exponent);

} // namespace valdrex
