#pragma once

#include "solvers/exact/solution_list.h"

namespace valdrex {

// Picks the closed-formula solver by the highest non-zero coefficient among a(0)..a(4);
// answers degrees 0 and 1 itself.
void SolveExact(SolveContext& ctx);
// x = -a(0) / a(1), listed in single precision.
void SolveLinear(SolveContext& ctx);

} // namespace valdrex
