#pragma once

#include "solvers/all_roots/all_roots.h"

namespace valdrex {

// FindAllRoots without the machine-integer shortcut: every equation read and solved with big
// numbers. Wherever the shortcut answers, it must give this result.
AllRootsResult FindAllRootsWithBigNumbers(const CoefficientTexts& coefficients, int digits);

} // namespace valdrex
