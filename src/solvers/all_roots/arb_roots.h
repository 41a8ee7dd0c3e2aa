#pragma once

#include "solvers/all_roots/all_roots.h"

#include <flint/fmpz_poly.h>

#include <vector>

namespace valdrex {

// The roots of a square-free integer polynomial of degree >= 1, isolated by Arb and refined
// until each prints with `digits` digits that are all proved.
std::vector<FoundRoot> ArbRoots(const fmpz_poly_t p, int digits);

} // namespace valdrex
