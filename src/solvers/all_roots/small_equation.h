#pragma once

#include "solvers/all_roots/all_roots.h"

namespace valdrex {

// The usual small case without big numbers: a grid of plain integers below 2^26 whose equation,
// once the root 0 is taken out, has degree 1 or 2. Fills the degree and the roots (unsorted) as
// the general path would; false, with `result` untouched, for any other grid.
bool SolveSmallLowDegree(const CoefficientTexts& texts, AllRootsResult& result);

} // namespace valdrex
