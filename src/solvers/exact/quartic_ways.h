#pragma once

#include "solvers/exact/solution_list.h"

namespace valdrex {

// x^4 + F·x^2 + H = 0 (ctx.w.E = ctx.w.G = 0) as a quadratic in x^2. `d4` is the discriminant
// a(2)² − 4·a(0)·a(4) of the unnormalised coefficients, whose exact zero decides a double y.
void SolveBiquadratic(SolveContext& ctx, double d4);

// x^4 + E·x^3 + F·x^2 + G·x + H = 0 by Descartes' method, through the resolvent cubic.
void SolveDescartes(SolveContext& ctx);

} // namespace valdrex
