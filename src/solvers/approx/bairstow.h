#pragma once

#include "solvers/approx/method_options.h"
#include "solvers/exact/solution_list.h"

namespace valdrex {

// Real roots by Bairstow's quadratic factors; degree 3 or more.
void SolveBairstow(SolveContext& ctx, const MethodOptions& options);

} // namespace valdrex
