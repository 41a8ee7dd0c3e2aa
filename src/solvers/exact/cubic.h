#pragma once

#include "solvers/exact/solution_list.h"

namespace valdrex {

// a(3)x^3 + ... + a(0) = 0 by Cardano's formulas and the trigonometric form. Traps its own
// failures (solver error box) and ends; a caller goes on after it.
void SolveCubic(SolveContext& ctx);
// pi/2 - Atn(x / Sqr(1 - x*x)) with pi = 3.14159265358979; fails at |x| >= 1.
double ArcCos(double x);
// Sgn(x) * |x|^(1/3).
double CubeRoot(double x);

} // namespace valdrex
