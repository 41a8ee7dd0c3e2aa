#pragma once

#include "solvers/exact/solution_list.h"

namespace valdrex {

// Every rational root by the rational root theorem and Ruffini's division. Leaves the
// irreducible factor in ctx.a (and its text in ctx.factorText when one remains).
void SolveRational(SolveContext& ctx);

} // namespace valdrex
