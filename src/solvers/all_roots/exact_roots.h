#pragma once

#include "solvers/all_roots/all_roots.h"

#include <flint/fmpq.h>
#include <flint/fmpz.h>

#include <vector>

namespace valdrex {

// A rational root: " 3", "-1/ 3" as the rational method writes it; exact "-1/3".
FoundRoot RationalRoot(const fmpq_t r);

// The roots of A·x² + B·x + C (A > 0): one rational root when the discriminant is 0, two
// rational roots when it is a square, else the pair written with "Sqr(" as the symbolic quadratic
// writes it, the root with "+" first (the larger real root, or the one with positive imaginary
// part).
// Returns how many roots were added to `out`.
int AddQuadraticRoots(const fmpz_t a, const fmpz_t b, const fmpz_t c, std::vector<FoundRoot>& out);

} // namespace valdrex
