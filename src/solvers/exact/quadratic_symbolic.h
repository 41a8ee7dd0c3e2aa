#pragma once

#include "solvers/exact/solution_list.h"

namespace valdrex {

// Writes the two roots of a(2)x^2 + a(1)x + a(0) (a(2) > 0, discriminant `delta`) as reduced
// fractions with square roots written "Sqr(...)". Sets ctx.w.D; may reduce a(1) in place.
// Fails like the arithmetic it performs.
void AddSymbolicRoots(SolveContext& ctx, double delta);

// The radicand split as k²·R with every square factor i² (2 <= i <= Int(√R)) taken out.
struct SquareFactor {
    double radicand;
    double factor;
};
// Fails with Overflow for a radicand of 1073676289 (32767²) or more, whose scan would
// overflow the 16-bit loop counter.
SquareFactor ExtractSquareFactor(double radicand);

} // namespace valdrex
