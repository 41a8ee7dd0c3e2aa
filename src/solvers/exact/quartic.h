#pragma once

#include "solvers/exact/solution_list.h"

namespace valdrex {

// a(4)x^4 + ... + a(0) = 0: biquadratic, zero roots split off, or Descartes' method.
// Traps its own failures (solver error box) and ends.
void SolveQuartic(SolveContext& ctx);

} // namespace valdrex
