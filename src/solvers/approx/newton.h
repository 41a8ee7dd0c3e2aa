#pragma once

#include "solvers/approx/method_options.h"
#include "solvers/exact/solution_list.h"

namespace valdrex {

// One real root by Newton's method with a central difference quotient, from X0.
void SolveNewton(SolveContext& ctx, const MethodOptions& options);

} // namespace valdrex
