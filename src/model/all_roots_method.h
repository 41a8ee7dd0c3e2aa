#pragma once

#include "model/method_table.h"

namespace valdrex {

// The all-roots method: every root of the typed equation, read exactly from the coefficient
// texts, with the number of significant digits the options hold. Degree 0 answers as the exact
// method does.
void SolveAllRoots(SolveContext& ctx, const SolveRequest& request);

} // namespace valdrex
