#pragma once

#include "solvers/exact/solution_list.h"

namespace valdrex {

// a(2)x^2 + a(1)x + a(0) = 0, numeric or symbolic by ctx.EvSimbTmp. Traps its own failures
// (plain error box) and ends; a caller goes on after it.
void SolveQuadratic(SolveContext& ctx);

} // namespace valdrex
