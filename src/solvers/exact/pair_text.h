#pragma once

#include "core/root_text.h"
#include "solvers/exact/solution_list.h"

#include <string>

namespace valdrex {

// Adds roots k and k + 1 as the pair re ± im·i, both parts in single precision; the real part
// is left out when re is 0.
void AddSinglePair(SolveContext& ctx, int k, double re, double im);

} // namespace valdrex
