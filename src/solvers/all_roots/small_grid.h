#pragma once

#include "solvers/all_roots/all_roots.h"

namespace valdrex {

// The usual case without big numbers: a grid of plain integers of at most 18 digits. Once the
// root 0 is taken out, degree 1 and 2 are written exactly (coefficients below 2^26 for degree
// 2), higher degrees go through the double path with its exact questions answered in 128-bit
// integers. Fills `result` as FindAllRoots would, with the same texts; false, with no roots
// in `result`, when these means do not settle the equation.
bool FindSmallGridRoots(const CoefficientTexts& texts, int digits, AllRootsResult& result);

} // namespace valdrex
