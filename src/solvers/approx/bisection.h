#pragma once

#include "solvers/approx/method_options.h"
#include "solvers/exact/solution_list.h"

namespace valdrex {

// The status shown when the user cancels a long scan.
inline constexpr char kScanCancelledStatus[] = "The scan was cancelled";

// Real roots in [Min, Max] by a scan in steps of the increment and halving of each bracket.
void SolveBisection(SolveContext& ctx, const MethodOptions& options,
                    const ScanProgress& progress = {});

} // namespace valdrex
